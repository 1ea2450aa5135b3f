#include "focusframe.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include "accessibility.h"
#include "pictures/focusring.h"

namespace qv {

namespace {

constexpr char kOwnRingProperty[] = "qvDrawsOwnFocusRing";

}  // namespace

FocusFrame::FocusFrame(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("focusframe"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    markDecorative(*this);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusFrame::drawnByControl(QWidget& control) {
    control.setProperty(kOwnRingProperty, true);
}

void FocusFrame::follow(QWidget* now) {
    if (control_)
        control_->removeEventFilter(this);
    control_ = nullptr;
    if (!now || now == window() || now->window() != window() ||
        now->property(kOwnRingProperty).toBool()) {
        hide();
        return;
    }
    control_ = now;
    control_->installEventFilter(this);
    place();
}

void FocusFrame::place() {
    if (!control_ || !control_->isVisible()) {
        hide();
        return;
    }
    const QRect around(control_->mapTo(window(), QPoint(0, 0)), control_->size());
    setGeometry(around.adjusted(-kOutside, -kOutside, kOutside, kOutside));
    show();
    raise();
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
                place();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFocusRing(painter, rect(), kThickness);
}

}  // namespace qv

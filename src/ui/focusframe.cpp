#include "focusframe.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QPainter>
#include <QRadioButton>

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

int FocusFrame::sideOutside(const QWidget& control) {
    // A check box or option button draws its box or circle right at its left
    // edge, and its caption may reach its right edge: the ring's sides stand
    // wholly outside it.
    if (qobject_cast<const QCheckBox*>(&control) || qobject_cast<const QRadioButton*>(&control))
        return kThickness;
    return kOutside;
}

void FocusFrame::place() {
    if (!control_ || !control_->isVisible()) {
        hide();
        return;
    }
    const QRect around(control_->mapTo(window(), QPoint(0, 0)), control_->size());
    const int side = sideOutside(*control_);
    setGeometry(around.adjusted(-side, -kOutside, side, kOutside));
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

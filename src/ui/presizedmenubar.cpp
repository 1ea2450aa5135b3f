#include "presizedmenubar.h"

#include <QEvent>
#include <QResizeEvent>
#include <QTimer>

namespace qv {

PresizedMenuBar::PresizedMenuBar(QWidget* parent) : QMenuBar(parent) {}

void PresizedMenuBar::setExpectedHeight(int height) {
    expectedHeight_ = height;
    updateGeometry();
}

bool PresizedMenuBar::presized() const {
    return !measured_ && expectedHeight_ > 0 && !isNativeMenuBar();
}

QSize PresizedMenuBar::sizeHint() const {
    return presized() ? QSize(0, expectedHeight_) : QMenuBar::sizeHint();
}

QSize PresizedMenuBar::minimumSizeHint() const {
    return presized() ? QSize(0, expectedHeight_) : QMenuBar::minimumSizeHint();
}

int PresizedMenuBar::heightForWidth(int width) const {
    return presized() ? expectedHeight_ : QMenuBar::heightForWidth(width);
}

bool PresizedMenuBar::event(QEvent* event) {
    if (event->type() == QEvent::Show && !measurePosted_) {
        // The bar is shown before its window is mapped; it measures itself
        // from the event loop, once the window is on its way.
        measurePosted_ = true;
        QTimer::singleShot(0, this, &PresizedMenuBar::measure);
    }
    if (presized()) {
        switch (event->type()) {
            case QEvent::Show:
                // A plain menu bar lays its items out here.
                return QWidget::event(event);
            case QEvent::Paint:
            case QEvent::MouseButtonPress:
            case QEvent::MouseMove:
            case QEvent::KeyPress:
            case QEvent::Shortcut:
                measure();
                break;
            default:
                break;
        }
    }
    return QMenuBar::event(event);
}

void PresizedMenuBar::resizeEvent(QResizeEvent* event) {
    // Laying the items out is measuring them; that waits for measure().
    if (!presized())
        QMenuBar::resizeEvent(event);
}

void PresizedMenuBar::changeEvent(QEvent* event) {
    // A new font or style makes the remembered height meaningless.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::ApplicationFontChange)
        measured_ = true;
    QMenuBar::changeEvent(event);
}

void PresizedMenuBar::measure() {
    if (measured_)
        return;
    const bool wasPresized = presized();
    measured_ = true;
    if (wasPresized) {
        QResizeEvent resize(size(), size());
        QMenuBar::resizeEvent(&resize);
        updateGeometry();
    }
    emit measured(QMenuBar::heightForWidth(width()));
}

}  // namespace qv

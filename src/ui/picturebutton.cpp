#include "picturebutton.h"

#include <QKeyEvent>
#include <QPainter>

namespace qv {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

QSize PictureButton::sizeHint() const {
    return picture_.isNull() ? QSize(32, 32) : shownSize() + QSize(6, 6);
}

QSize PictureButton::shownSize() const {
    return picture_.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull()) {
        // At its own size on the screen: on a screen with more pixels, a
        // picture that has them is drawn pixel for pixel.
        QRect target(QPoint(0, 0), shownSize().boundedTo(size()));
        target.moveCenter(rect().center());
        // A pressed button sinks by a pixel, as a real one would.
        if (isDown())
            target.translate(1, 1);
        painter.drawImage(target, picture_);
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    // Return presses the button with the focus, as Space does; holding it
    // down presses it once.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (!event->isAutoRepeat())
            click();
        return;
    }
    // The arrows go from button to button, as Tab and Shift+Tab do.
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Right ||
        event->key() == Qt::Key_Up || event->key() == Qt::Key_Left) {
        event->accept();
        focusNextPrevChild(event->key() == Qt::Key_Down || event->key() == Qt::Key_Right);
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PictureButton::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    emit focusGained();
}

void PictureButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    emit focusLost();
}

void PictureButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    emit pointerEntered();
}

void PictureButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    emit pointerLeft();
}

}  // namespace qv

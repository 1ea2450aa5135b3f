#include "picturebutton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

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
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
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

#include "stretchpicture.h"

#include <QPainter>

namespace qv {

StretchPicture::StretchPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void StretchPicture::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void StretchPicture::resizeEvent(QResizeEvent*) {
    scaled_ = QPixmap();
}

void StretchPicture::paintEvent(QPaintEvent*) {
    if (picture_.isNull() || width() <= 0 || height() <= 0)
        return;
    if (scaled_.size() != size())
        scaled_ = QPixmap::fromImage(
            picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QPainter painter(this);
    painter.drawPixmap(0, 0, scaled_);
}

}  // namespace qv

#include "menubar.h"

#include <QPainter>

namespace qv {

MenuBar::MenuBar(QWidget* parent) : QMenuBar(parent) {}

void MenuBar::paintEvent(QPaintEvent* event) {
    QMenuBar::paintEvent(event);
    // Drawn again in one piece, over the pieces, with the same pen on the
    // same row, so that it covers them exactly; it runs past the last pixel,
    // which the widget clips.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Window).darker(112)));
    const int bottom = height() - 1;
    painter.drawLine(QPoint(0, bottom), QPoint(width(), bottom));
}

}  // namespace qv

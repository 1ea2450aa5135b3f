#include "focusring.h"

#include <QPainter>

#include <algorithm>

namespace qv {

namespace {

const QColor kRingEdge(0, 0, 0);
const QColor kRingBand(255, 214, 0);

// Fills the band `width` wide just inside `outer`.
void fillBand(QPainter& painter, const QRect& outer, int width, const QColor& colour) {
    const QRect inner = outer.adjusted(width, width, -width, -width);
    if (inner.isEmpty()) {
        painter.fillRect(outer, colour);
        return;
    }
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), inner.bottom() + 1, outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), inner.top(), width, inner.height()), colour);
    painter.fillRect(QRect(inner.right() + 1, inner.top(), width, inner.height()), colour);
}

}  // namespace

void drawFocusRing(QPainter& painter, const QRect& outer, int thickness) {
    if (outer.isEmpty() || thickness <= 0)
        return;
    const int edge = std::max(1, thickness / 4);
    const int band = std::max(1, thickness - 2 * edge);
    painter.save();
    fillBand(painter, outer, edge, kRingEdge);
    const QRect middle = outer.adjusted(edge, edge, -edge, -edge);
    fillBand(painter, middle, band, kRingBand);
    fillBand(painter, middle.adjusted(band, band, -band, -band), edge, kRingEdge);
    painter.restore();
}

int focusRingThickness(QSize control) {
    return std::clamp(std::min(control.width(), control.height()) / 24, 6, 24);
}

}  // namespace qv

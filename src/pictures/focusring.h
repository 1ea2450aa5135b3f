#pragma once

#include <QRect>

class QPainter;

namespace qv {

// The keyboard focus as the program shows it everywhere: a thick band of
// bright yellow between two black lines, which stands out on a white card, a
// dark picture and a coloured page alike. `outer` is the ring's outside edge;
// the ring is `thickness` wide inside it.
void drawFocusRing(QPainter& painter, const QRect& outer, int thickness);

// The thickness of the ring for a control of the given size: it grows with
// the control, so that a child sees it on a large picture too.
int focusRingThickness(QSize control);

}  // namespace qv

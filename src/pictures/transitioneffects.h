#pragma once

#include <QImage>
#include <QRect>

#include <span>

class QPainter;

namespace qv {

// The effect numbers that have a look of their own. Any other number is drawn
// as a cross-fade.
std::span<const int> transitionEffectNumbers();

// A short English name of the effect's look ("wipe from left", "iris circle"),
// for benchmarks and test messages; "cross-fade" for an unknown number.
const char* transitionEffectName(int effect);

// The number an effect is actually drawn as: the number itself if it has a
// look of its own, otherwise the cross-fade's.
int effectiveTransitionEffect(int effect);

// Draws one frame of a transition from `from` to `to` into `target`.
//
// progress runs from 0 (only `from` is seen) to 1 (only `to` is seen); values
// outside are clamped. Both pictures are expected at target's size already
// (callers keep scaled copies so that a frame costs only a few blits); a
// picture of another size is stretched on the fly, which is slower. A null
// picture stands for "nothing": that part of the frame is left untouched, so
// whatever lies behind the painter's device shows through.
//
// The function is pure: the same arguments always draw the same pixels (the
// random dissolve uses a fixed block order), and the painter's state is
// restored on return.
void renderTransitionFrame(QPainter& painter, QRect target, const QImage& from, const QImage& to,
                           int effect, double progress);

}  // namespace qv

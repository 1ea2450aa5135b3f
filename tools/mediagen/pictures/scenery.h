#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <initializer_list>

#include "common/prng.h"

namespace mediagen {

// The pieces the game window's backgrounds are made of. The window stretches a
// background to its own shape, anywhere from a tall 9:16 to a wide 21:9, so
// every piece is something that still looks right when it is squeezed or
// widened: bands, slopes, waves, blades and streaks, never a round or angular
// figure whose proportions a child would see change.

// A curve across the whole picture: its height at each x.
using Skyline = std::function<double(double x)>;

struct ColourStop {
    double at;
    QColor colour;
};

// The whole canvas, top to bottom through the colours.
void verticalWash(QPainter& p, const QRectF& area, std::initializer_list<ColourStop> stops);

// A gentle swell: amplitude in pixels, wavelength in pixels, phase in radians.
struct Swell {
    double amplitude;
    double wavelength;
    double phase;
};

// base plus the sum of the swells at x.
Skyline rolling(double base, std::initializer_list<Swell> swells);

// The area below a skyline down to bottom, reaching a little past both sides of
// a picture width wide so that no edge shows a seam.
QPainterPath landBelow(const Skyline& top, double width, double bottom);

// A line drawn along a skyline from one side to the other: foam on a wave, the
// lit crest of a dune.
void lineAcross(QPainter& p, const Skyline& line, double width, const QColor& colour,
                double thickness);

// A band of land below a skyline, lighter at its top than at its bottom.
void landBand(QPainter& p, const Skyline& top, double width, double bottom, const QColor& upper,
              const QColor& lower);

// A long flat cloud: its bumps are much wider than high, so it reads as a cloud
// at any stretch. base is the middle of its flat underside.
void flatCloud(QPainter& p, QPointF base, double length, double height, Prng& random,
               const QColor& tint = QColor(255, 255, 255));

// Blades of grass standing on ground, from x = 0 to width; each blade is thin
// and tall, so a squeezed window only makes it thinner.
struct Blades {
    int count;
    double shortest;
    double tallest;
    double width;  // at the foot
};
void grass(QPainter& p, const Skyline& ground, double width, const Blades& blades,
           std::initializer_list<QColor> colours, Prng& random);

// A ribbon that flows across the picture from left to right around a centre line,
// swelling and thinning as if it turned in the air.
void ribbon(QPainter& p, const Skyline& centre, double width, double thickness,
            double turnWavelength, double turnPhase, const QColor& colour);

}  // namespace mediagen

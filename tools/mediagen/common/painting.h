#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace mediagen {

// A blank canvas with antialiasing wanted everywhere we draw. With a scale,
// it has scale times the pixels in each direction and that device pixel
// ratio, so that a painter on it still draws in width × height units.
QImage canvas(int width, int height, QColor fill = Qt::white, int scale = 1);
void prepare(QPainter& painter);

// The one font family of all lettering, sized in pixels so that the output does
// not depend on the screen's resolution.
QFont letteringFont(int pixelSize, bool bold = true);

// a towards b by t (0 gives a, 1 gives b).
QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(QColor colour, int alpha);

// Text as a path, centred in box, filled and outlined (outline under the fill).
void drawLettering(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                   const QColor& fill, const QColor& outline = Qt::transparent,
                   double outlineWidth = 0.0);

// Box blur repeated three times, close to a Gaussian; image is ARGB32 premultiplied.
void blur(QImage& image, int radius);

// A soft shadow of path, drawn at low resolution and smoothed, then laid under
// whatever is painted next.
void softShadow(QPainter& painter, const QPainterPath& path, const QPointF& offset, double softness,
                const QColor& colour);

// Fine grain of light and dark dots (a texture for plastic), clipped to path.
void grain(QPainter& painter, const QPainterPath& path, std::uint32_t seed, int strength,
           int grainSize);

// A lighter copy of the colour with low contrast: the pastel look of backgrounds.
QColor pastel(const QColor& colour, double amount = 0.6);

}  // namespace mediagen

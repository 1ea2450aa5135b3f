#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QString>

namespace mediagen {

// The outline of a shape stem ("cir", "dia", ...), centred on centre. unit is the
// size of the design frame: at 1.0 a circle is 640 pixels across, which fills a
// 900 × 800 picture with room for its shadow. Unknown stems give an empty path.
QPainterPath shapePath(const QString& stem, const QPointF& centre, double unit);

// A regular polygon or star: corners on a circle of radius, first corner straight up
// (rotated by startDegrees), and an inner radius for stars (0 for none).
QPainterPath regularPolygon(const QPointF& centre, double radius, int corners,
                            double startDegrees = 0.0, double innerRadius = 0.0);

// The heart that stands in width × height with its top-left at topLeft.
QPainterPath heartPath(const QPointF& topLeft, double width, double height);

}  // namespace mediagen

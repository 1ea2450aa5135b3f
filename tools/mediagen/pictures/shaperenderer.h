#pragma once

#include <QImage>
#include <QPainterPath>
#include <QSize>
#include <QString>

#include "pictures/shapecolours.h"

namespace mediagen {

enum class ShapeFinish {
    Glossy,   // the standard set: smooth, bright, soft highlight and soft shadow
    Plastic,  // the plastic set: raised rim and a grained toy surface
};

// Paints one coloured shape on a white field of the given size. The geometry is
// designed for 900 × 800 and scales with the picture; fill enlarges it further
// (small pictures such as the options hearts want less margin).
QImage renderShape(const QString& stem, const ShapeColour& colour, ShapeFinish finish, QSize size,
                   double fill = 1.0);

// Paints an already placed outline in one of the two finishes, onto painter.
// unit is the drawing's scale relative to the 900 × 800 design (for widths of rims
// and blur); seed feeds the plastic grain.
void paintFinishedShape(QPainter& painter, const QPainterPath& path, const ShapeColour& colour,
                        ShapeFinish finish, double unit, unsigned seed);

}  // namespace mediagen

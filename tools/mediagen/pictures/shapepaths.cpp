#include "pictures/shapepaths.h"

#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace mediagen {

QPainterPath regularPolygon(const QPointF& centre, double radius, int corners, double startDegrees,
                            double innerRadius) {
    QPolygonF polygon;
    const int points = innerRadius > 0 ? corners * 2 : corners;
    for (int i = 0; i < points; ++i) {
        const double r = (innerRadius > 0 && i % 2 == 1) ? innerRadius : radius;
        const double angle = (startDegrees - 90.0 + 360.0 * i / points) * std::numbers::pi / 180.0;
        polygon << QPointF(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
    }
    polygon << polygon.first();
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

QPainterPath heartPath(const QPointF& topLeft, double width, double height) {
    auto at = [&](double x, double y) {
        return QPointF(topLeft.x() + x * width, topLeft.y() + y * height);
    };
    // Two round lobes and a soft point, drawn in a unit box.
    QPainterPath path;
    path.moveTo(at(0.5, 0.22));
    path.cubicTo(at(0.44, 0.06), at(0.30, 0.0), at(0.22, 0.0));
    path.cubicTo(at(0.08, 0.0), at(0.0, 0.12), at(0.0, 0.30));
    path.cubicTo(at(0.0, 0.56), at(0.22, 0.72), at(0.5, 1.0));
    path.cubicTo(at(0.78, 0.72), at(1.0, 0.56), at(1.0, 0.30));
    path.cubicTo(at(1.0, 0.12), at(0.92, 0.0), at(0.78, 0.0));
    path.cubicTo(at(0.70, 0.0), at(0.56, 0.06), at(0.5, 0.22));
    path.closeSubpath();
    return path;
}

QPainterPath shapePath(const QString& stem, const QPointF& centre, double unit) {
    QPainterPath path;
    const double cx = centre.x();
    const double cy = centre.y();
    auto box = [&](double w, double h) {
        return QRectF(cx - w * unit / 2, cy - h * unit / 2, w * unit, h * unit);
    };
    // Point-up polygons are taller above the centre than below; move them down by
    // half the difference so that they look centred.
    auto pointUp = [&](double radius, int corners, double inner = 0.0) {
        const double below = radius * std::cos(std::numbers::pi / corners);
        const double shift = (radius - below) / 2.0;
        return regularPolygon(QPointF(cx, cy + shift * unit), radius * unit, corners, 0.0,
                              inner * unit);
    };
    if (stem == "cir") {
        path.addEllipse(box(640, 640));
    } else if (stem == "dia") {
        const QRectF b = box(520, 680);
        path.moveTo(b.center().x(), b.top());
        path.lineTo(b.right(), b.center().y());
        path.lineTo(b.center().x(), b.bottom());
        path.lineTo(b.left(), b.center().y());
        path.closeSubpath();
    } else if (stem == "hea") {
        const QRectF b = box(700, 620);
        path = heartPath(b.topLeft(), b.width(), b.height());
    } else if (stem == "oct") {
        path = regularPolygon(centre, 345 * unit, 8, 22.5);
    } else if (stem == "oval") {
        path.addEllipse(box(740, 480));
    } else if (stem == "pen") {
        path = pointUp(360, 5);
    } else if (stem == "rec") {
        path.addRect(box(760, 440));
    } else if (stem == "squ") {
        path.addRect(box(580, 580));
    } else if (stem == "sta") {
        path = pointUp(375, 5, 170);
    } else if (stem == "tri") {
        path = pointUp(405, 3);
    }
    return path;
}

}  // namespace mediagen

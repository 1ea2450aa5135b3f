#include "pictures/shaperenderer.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

#include "common/painting.h"
#include "pictures/shapepaths.h"

namespace mediagen {
namespace {

bool isWhite(const ShapeColour& colour) {
    return colour.body.lightness() > 245;
}

QColor highlightOf(const ShapeColour& colour) {
    return isWhite(colour) ? QColor(255, 255, 255) : mix(colour.body, Qt::white, 0.45);
}

QColor shadeOf(const ShapeColour& colour) {
    return isWhite(colour) ? QColor(222, 224, 232) : mix(colour.body, colour.edge, 0.55);
}

// Everything inside the path that lies more than width from its edge.
QPainterPath insetPath(const QPainterPath& path, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(2 * width);
    stroker.setJoinStyle(Qt::RoundJoin);
    return path.subtracted(stroker.createStroke(path));
}

void paintGlossy(QPainter& p, const QPainterPath& path, const ShapeColour& colour, double unit) {
    const QRectF b = path.boundingRect();
    softShadow(p, path, QPointF(12 * unit, 20 * unit), 34 * unit, QColor(40, 40, 60, 80));

    // The light comes from the upper left; the colour itself fills most of the body
    // so that the shape reads as one clear colour.
    QRadialGradient body(b.left() + 0.32 * b.width(), b.top() + 0.28 * b.height(),
                         0.95 * std::max(b.width(), b.height()));
    body.setColorAt(0.0, highlightOf(colour));
    body.setColorAt(0.30, colour.body);
    body.setColorAt(0.72, colour.body);
    body.setColorAt(1.0, shadeOf(colour));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(path);

    p.save();
    p.setClipPath(path);
    // Darken just inside the rim for roundness.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(colour.edge, isWhite(colour) ? 40 : 70), 30 * unit));
    p.drawPath(path);

    // The glossy reflection: a band across the top that fades downwards.
    QPainterPath sheen;
    sheen.addEllipse(QRectF(b.left() + 0.10 * b.width(), b.top() - 0.30 * b.height(),
                            0.80 * b.width(), 0.72 * b.height()));
    QLinearGradient fade(0, b.top(), 0, b.top() + 0.42 * b.height());
    fade.setColorAt(0.0, QColor(255, 255, 255, 170));
    fade.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    p.drawPath(sheen.intersected(path));

    // A small bright spot where the light hits.
    const QPointF spot(b.left() + 0.30 * b.width(), b.top() + 0.26 * b.height());
    QRadialGradient glint(spot, 0.09 * std::min(b.width(), b.height()) + 1);
    glint.setColorAt(0.0, QColor(255, 255, 255, 220));
    glint.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(glint);
    p.drawEllipse(spot, 0.09 * std::min(b.width(), b.height()) + 1,
                  0.09 * std::min(b.width(), b.height()) + 1);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.edge, std::max(1.0, (isWhite(colour) ? 7 : 4) * unit), Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

void paintPlastic(QPainter& p, const QPainterPath& path, const ShapeColour& colour, double unit,
                  unsigned seed) {
    const QRectF b = path.boundingRect();
    softShadow(p, path, QPointF(10 * unit, 14 * unit), 14 * unit, QColor(30, 30, 50, 110));

    const double rim = 36 * unit;
    const QPainterPath face = insetPath(path, rim);
    const QColor light =
        isWhite(colour) ? QColor(255, 255, 255) : mix(colour.body, Qt::white, 0.55);
    const QColor dark =
        isWhite(colour) ? QColor(190, 192, 206) : mix(colour.body, colour.edge, 0.85);

    // The rim is a raised lip: lit on the upper left, in shade on the lower right.
    QLinearGradient lip(b.topLeft(), b.bottomRight());
    lip.setColorAt(0.0, light);
    lip.setColorAt(0.45, colour.body);
    lip.setColorAt(1.0, dark);
    p.setPen(Qt::NoPen);
    p.setBrush(lip);
    p.drawPath(path);

    // The face sits lower than the lip, so its light falls the other way round.
    QLinearGradient sunk(b.topLeft(), b.bottomRight());
    sunk.setColorAt(0.0, mix(colour.body, dark, 0.35));
    sunk.setColorAt(0.5, colour.body);
    sunk.setColorAt(1.0, mix(colour.body, light, 0.25));
    p.setBrush(sunk);
    p.drawPath(face);

    // The step from lip down to face.
    p.save();
    p.setClipPath(path);
    QLinearGradient step(b.topLeft(), b.bottomRight());
    step.setColorAt(0.0, withAlpha(colour.edge, isWhite(colour) ? 90 : 150));
    step.setColorAt(1.0, withAlpha(light, 200));
    p.setBrush(Qt::NoBrush);
    p.setPen(
        QPen(QBrush(step), std::max(1.0, 5 * unit), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(face);
    p.restore();

    // Moulded plastic: a fine even grain over the whole piece.
    grain(p, path, seed, isWhite(colour) ? 22 : 30,
          std::max(1, static_cast<int>(std::lround(2 * unit))));

    // A soft satin sheen, duller than the glossy set, fading out before its edge.
    p.save();
    p.setClipPath(face);
    const QPointF spot(b.left() + 0.34 * b.width(), b.top() + 0.28 * b.height());
    const double spread = 0.30 * std::min(b.width(), b.height());
    QRadialGradient satin(spot, spread);
    satin.setColorAt(0.0, QColor(255, 255, 255, 110));
    satin.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(satin);
    p.drawEllipse(spot, spread, spread);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.edge, std::max(1.0, (isWhite(colour) ? 7 : 4) * unit), Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

}  // namespace

void paintFinishedShape(QPainter& painter, const QPainterPath& path, const ShapeColour& colour,
                        ShapeFinish finish, double unit, unsigned seed) {
    if (finish == ShapeFinish::Glossy) {
        paintGlossy(painter, path, colour, unit);
    } else {
        paintPlastic(painter, path, colour, unit, seed);
    }
}

QImage renderShape(const QString& stem, const ShapeColour& colour, ShapeFinish finish, QSize size,
                   double fill) {
    QImage image = canvas(size.width(), size.height());
    QPainter painter(&image);
    prepare(painter);
    const double unit = std::min(size.width() / 900.0, size.height() / 800.0) * fill;
    // A touch above the middle: the shadow below then balances the picture.
    const QPointF centre(size.width() / 2.0, size.height() / 2.0 - 8 * unit);
    // The seed depends on the picture only, so each file has its own grain and the
    // same grain on every run.
    unsigned seed = 2166136261u;
    for (QChar c : stem + colour.name)
        seed = (seed ^ c.unicode()) * 16777619u;
    paintFinishedShape(painter, shapePath(stem, centre, unit), colour, finish, unit, seed);
    return image;
}

}  // namespace mediagen

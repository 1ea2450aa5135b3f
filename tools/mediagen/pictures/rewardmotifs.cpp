#include "pictures/rewardmotifs.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

#include "common/painting.h"
#include "pictures/shapepaths.h"

namespace mediagen {
namespace {

constexpr double kPi = std::numbers::pi;

QPointF polar(const QPointF& c, double r, double degrees) {
    const double a = (degrees - 90) * kPi / 180;
    return c + QPointF(r * std::cos(a), r * std::sin(a));
}

// A shiny fill for round things: lighter at the upper left, outlined darker.
void shinyPath(QPainter& p, const QPainterPath& path, const QColor& colour, double outline) {
    const QRectF b = path.boundingRect();
    QRadialGradient g(b.left() + 0.35 * b.width(), b.top() + 0.3 * b.height(),
                      0.9 * std::max(b.width(), b.height()));
    g.setColorAt(0.0, mix(colour, Qt::white, 0.5));
    g.setColorAt(0.45, colour);
    g.setColorAt(1.0, mix(colour, Qt::black, 0.25));
    p.setPen(
        QPen(mix(colour, Qt::black, 0.45), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(path);
}

// Two eyes with glints, rosy cheeks and a wide smile.
void happyFace(QPainter& p, const QPointF& c, double s) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 30));
    for (double side : {-1.0, 1.0}) {
        const QPointF eye = c + QPointF(side * 0.16 * s, -0.08 * s);
        p.setBrush(QColor(40, 30, 30));
        p.drawEllipse(eye, 0.055 * s, 0.075 * s);
        p.setBrush(Qt::white);
        p.drawEllipse(eye + QPointF(-0.018 * s, -0.03 * s), 0.02 * s, 0.02 * s);
        p.setBrush(QColor(255, 110, 130, 130));
        p.drawEllipse(c + QPointF(side * 0.27 * s, 0.07 * s), 0.07 * s, 0.045 * s);
    }
    QPainterPath smile;
    smile.moveTo(c + QPointF(-0.16 * s, 0.08 * s));
    smile.quadTo(c + QPointF(0, 0.3 * s), c + QPointF(0.16 * s, 0.08 * s));
    p.setPen(QPen(QColor(40, 30, 30), 0.035 * s, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(smile);
}

void smilingStar(QPainter& p, const QPointF& c, double s, const MotifColours& k) {
    const double r = s / 2;
    const QPainterPath star = regularPolygon(c + QPointF(0, 0.08 * r), r, 5, 0.0, 0.52 * r);
    softShadow(p, star, QPointF(0.03 * s, 0.05 * s), 0.05 * s, QColor(0, 0, 0, 70));
    shinyPath(p, star, k.main, 0.02 * s);
    happyFace(p, c + QPointF(0, 0.08 * r), 0.8 * s);
}

void balloonBunch(QPainter& p, const QPointF& c, double s, const MotifColours& k) {
    const QPointF knot = c + QPointF(0, 0.46 * s);
    const QColor colours[] = {k.accent, k.third, k.main};
    const QPointF spots[] = {c + QPointF(-0.26 * s, -0.16 * s), c + QPointF(0.26 * s, -0.16 * s),
                             c + QPointF(0, -0.28 * s)};
    for (int i = 0; i < 3; ++i) {
        const QPointF at = spots[i];
        QPainterPath string;
        string.moveTo(at + QPointF(0, 0.2 * s));
        string.quadTo(at + QPointF(0, 0.42 * s), knot);
        p.setPen(QPen(QColor(90, 90, 90), 0.008 * s));
        p.setBrush(Qt::NoBrush);
        p.drawPath(string);
        QPainterPath balloon;
        balloon.addEllipse(at, 0.17 * s, 0.2 * s);
        balloon.addPolygon(QPolygonF({at + QPointF(0, 0.19 * s), at + QPointF(-0.03 * s, 0.23 * s),
                                      at + QPointF(0.03 * s, 0.23 * s)}));
        balloon.setFillRule(Qt::WindingFill);
        shinyPath(p, balloon.simplified(), colours[i], 0.01 * s);
    }
    // The bow that ties the strings.
    p.setPen(QPen(mix(k.accent, Qt::black, 0.4), 0.008 * s));
    p.setBrush(k.accent);
    p.drawPolygon(QPolygonF(
        {knot, knot + QPointF(-0.08 * s, -0.04 * s), knot + QPointF(-0.08 * s, 0.05 * s)}));
    p.drawPolygon(
        QPolygonF({knot, knot + QPointF(0.08 * s, -0.04 * s), knot + QPointF(0.08 * s, 0.05 * s)}));
}

void smilingSun(QPainter& p, const QPointF& c, double s, const MotifColours& k) {
    const double r = 0.3 * s;
    QPainterPath rays;
    for (int i = 0; i < 12; ++i) {
        const double a = i * 30.0;
        rays.addPolygon(QPolygonF({polar(c, 0.5 * s, a), polar(c, 0.9 * r, a - 11),
                                   polar(c, 0.9 * r, a + 11), polar(c, 0.5 * s, a)}));
    }
    rays.setFillRule(Qt::WindingFill);
    shinyPath(p, rays, k.main == QColor(255, 200, 0) ? QColor(255, 150, 0) : k.main, 0.012 * s);
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    shinyPath(p, disc, QColor(255, 214, 40), 0.015 * s);
    happyFace(p, c, 0.95 * s);
}

void rainbow(QPainter& p, const QPointF& c, double s, const MotifColours&) {
    const QColor bands[] = {QColor(235, 40, 40), QColor(255, 140, 0),  QColor(255, 215, 0),
                            QColor(50, 180, 70), QColor(40, 110, 230), QColor(140, 60, 200)};
    const QPointF foot = c + QPointF(0, 0.28 * s);
    const double width = 0.075 * s;
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        const double r = 0.62 * s - i * width;
        p.setPen(QPen(bands[i], width + 1, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(foot.x() - r, foot.y() - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    for (double side : {-1.0, 1.0}) {
        const QPointF at = foot + QPointF(side * 0.43 * s, 0.02 * s);
        QPainterPath cloud;
        cloud.addEllipse(at + QPointF(-0.12 * s, 0), 0.12 * s, 0.09 * s);
        cloud.addEllipse(at + QPointF(0.0, -0.07 * s), 0.13 * s, 0.12 * s);
        cloud.addEllipse(at + QPointF(0.13 * s, 0), 0.12 * s, 0.09 * s);
        cloud.setFillRule(Qt::WindingFill);
        p.setPen(QPen(QColor(170, 190, 220), 0.008 * s));
        p.setBrush(Qt::white);
        p.drawPath(cloud.simplified());
    }
}

void fireworks(QPainter& p, const QPointF& c, double s, const MotifColours& k) {
    const QColor colours[] = {k.main, k.accent, k.third, mix(k.main, Qt::white, 0.4)};
    const QPointF spots[] = {c + QPointF(-0.24 * s, -0.18 * s), c + QPointF(0.3 * s, -0.22 * s),
                             c + QPointF(0.12 * s, 0.26 * s), c + QPointF(-0.34 * s, 0.32 * s)};
    const double sizes[] = {0.34, 0.28, 0.32, 0.2};
    for (int b = 0; b < 4; ++b) {
        const double r = sizes[b] * s;
        const int rays = 14 + 2 * b;
        for (int i = 0; i < rays; ++i) {
            const double a = i * 360.0 / rays + b * 7;
            p.setPen(QPen(colours[b], 0.016 * s, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(polar(spots[b], 0.25 * r, a), polar(spots[b], 0.85 * r, a));
            p.setPen(Qt::NoPen);
            p.setBrush(mix(colours[b], Qt::white, 0.3));
            p.drawEllipse(polar(spots[b], r, a), 0.022 * s, 0.022 * s);
        }
    }
}

void trophy(QPainter& p, const QPointF& c, double s, const MotifColours& k) {
    const QColor gold(255, 196, 20);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mix(gold, Qt::black, 0.2), 0.05 * s, Qt::SolidLine, Qt::RoundCap));
    for (double side : {-1.0, 1.0}) {
        QPainterPath handle;
        handle.moveTo(c + QPointF(side * 0.2 * s, -0.3 * s));
        handle.cubicTo(c + QPointF(side * 0.44 * s, -0.32 * s), c + QPointF(side * 0.4 * s, 0.0),
                       c + QPointF(side * 0.17 * s, 0.02 * s));
        p.drawPath(handle);
    }
    QPainterPath cup;
    cup.moveTo(c + QPointF(-0.26 * s, -0.36 * s));
    cup.lineTo(c + QPointF(0.26 * s, -0.36 * s));
    cup.cubicTo(c + QPointF(0.26 * s, -0.02 * s), c + QPointF(0.12 * s, 0.08 * s),
                c + QPointF(0.05 * s, 0.1 * s));
    cup.lineTo(c + QPointF(0.05 * s, 0.24 * s));
    cup.lineTo(c + QPointF(-0.05 * s, 0.24 * s));
    cup.lineTo(c + QPointF(-0.05 * s, 0.1 * s));
    cup.cubicTo(c + QPointF(-0.12 * s, 0.08 * s), c + QPointF(-0.26 * s, -0.02 * s),
                c + QPointF(-0.26 * s, -0.36 * s));
    cup.closeSubpath();
    shinyPath(p, cup, gold, 0.012 * s);
    QPainterPath base;
    base.addRoundedRect(QRectF(c.x() - 0.2 * s, c.y() + 0.24 * s, 0.4 * s, 0.12 * s), 0.02 * s,
                        0.02 * s);
    shinyPath(p, base, k.accent, 0.01 * s);
    shinyPath(p, regularPolygon(c + QPointF(0, -0.16 * s), 0.1 * s, 5, 0, 0.045 * s), k.third,
              0.008 * s);
}

void flowers(QPainter& p, const QPointF& c, double s, const MotifColours& k) {
    const QColor petals[] = {k.accent, k.main, k.third};
    const QPointF heads[] = {c + QPointF(-0.28 * s, -0.1 * s), c + QPointF(0, -0.26 * s),
                             c + QPointF(0.28 * s, -0.08 * s)};
    for (int f = 0; f < 3; ++f) {
        const QPointF h = heads[f];
        p.setPen(QPen(QColor(60, 150, 60), 0.025 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(h, QPointF(h.x() * 0.7 + c.x() * 0.3, c.y() + 0.45 * s));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 190, 80));
        p.drawEllipse(QPointF(h.x() + 0.05 * s, c.y() + 0.24 * s), 0.06 * s, 0.025 * s);
        QPainterPath bloom;
        for (int i = 0; i < 6; ++i)
            bloom.addEllipse(polar(h, 0.08 * s, i * 60), 0.07 * s, 0.07 * s);
        bloom.setFillRule(Qt::WindingFill);
        shinyPath(p, bloom.simplified(), petals[f], 0.008 * s);
        QPainterPath middle;
        middle.addEllipse(h, 0.055 * s, 0.055 * s);
        shinyPath(p, middle, QColor(255, 210, 40), 0.006 * s);
    }
}

void hearts(QPainter& p, const QPointF& c, double s, const MotifColours& k) {
    auto heart = [&](const QPointF& at, double size, double tilt, const QColor& colour) {
        p.save();
        p.translate(at);
        p.rotate(tilt);
        const QPainterPath path = heartPath(QPointF(-size / 2, -size * 0.45), size, 0.9 * size);
        softShadow(p, path, QPointF(0.02 * size, 0.04 * size), 0.04 * size, QColor(0, 0, 0, 60));
        shinyPath(p, path, colour, 0.02 * size);
        p.restore();
    };
    heart(c + QPointF(-0.3 * s, -0.28 * s), 0.26 * s, -18, k.accent);
    heart(c + QPointF(0.32 * s, -0.24 * s), 0.2 * s, 16, k.third);
    heart(c + QPointF(0.02 * s, 0.05 * s), 0.62 * s, 0, k.main);
}

void rosette(QPainter& p, const QPointF& c, double s, const MotifColours& k) {
    for (double side : {-1.0, 1.0}) {
        QPainterPath tail;
        tail.moveTo(c + QPointF(side * 0.04 * s, 0.1 * s));
        tail.lineTo(c + QPointF(side * 0.2 * s, 0.46 * s));
        tail.lineTo(c + QPointF(side * 0.13 * s, 0.41 * s));
        tail.lineTo(c + QPointF(side * 0.07 * s, 0.48 * s));
        tail.lineTo(c + QPointF(side * -0.05 * s, 0.14 * s));
        tail.closeSubpath();
        shinyPath(p, tail, k.accent, 0.01 * s);
    }
    shinyPath(p, regularPolygon(c - QPointF(0, 0.06 * s), 0.3 * s, 20, 0, 0.26 * s), k.main,
              0.01 * s);
    QPainterPath inner;
    inner.addEllipse(c - QPointF(0, 0.06 * s), 0.2 * s, 0.2 * s);
    shinyPath(p, inner, mix(k.main, Qt::white, 0.35), 0.008 * s);
    shinyPath(p, regularPolygon(c - QPointF(0, 0.05 * s), 0.14 * s, 5, 0, 0.06 * s),
              QColor(255, 205, 0), 0.008 * s);
}

void animalFace(QPainter& p, const QPointF& c, double s, int kind) {
    static const QColor furs[] = {QColor(255, 150, 40), QColor(150, 96, 52), QColor(80, 190, 80)};
    const QColor fur = furs[kind % 3];
    QPainterPath ears;
    if (kind % 3 == 0) {  // cat: pointed ears
        ears.addPolygon(
            QPolygonF({c + QPointF(-0.34 * s, -0.1 * s), c + QPointF(-0.3 * s, -0.44 * s),
                       c + QPointF(-0.08 * s, -0.3 * s)}));
        ears.addPolygon(QPolygonF({c + QPointF(0.34 * s, -0.1 * s), c + QPointF(0.3 * s, -0.44 * s),
                                   c + QPointF(0.08 * s, -0.3 * s)}));
    } else if (kind % 3 == 1) {  // bear: round ears
        ears.addEllipse(c + QPointF(-0.26 * s, -0.3 * s), 0.11 * s, 0.11 * s);
        ears.addEllipse(c + QPointF(0.26 * s, -0.3 * s), 0.11 * s, 0.11 * s);
    } else {  // frog: eyes on top
        ears.addEllipse(c + QPointF(-0.18 * s, -0.3 * s), 0.12 * s, 0.12 * s);
        ears.addEllipse(c + QPointF(0.18 * s, -0.3 * s), 0.12 * s, 0.12 * s);
    }
    shinyPath(p, ears, fur, 0.012 * s);
    QPainterPath head;
    head.addEllipse(c, 0.36 * s, 0.32 * s);
    softShadow(p, head, QPointF(0.02 * s, 0.04 * s), 0.04 * s, QColor(0, 0, 0, 50));
    shinyPath(p, head, fur, 0.012 * s);
    if (kind % 3 == 1) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(226, 196, 160));
        p.drawEllipse(c + QPointF(0, 0.1 * s), 0.15 * s, 0.11 * s);
    }
    if (kind % 3 == 2) {
        for (double side : {-1.0, 1.0}) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(c + QPointF(side * 0.18 * s, -0.31 * s), 0.075 * s, 0.075 * s);
            p.setBrush(QColor(30, 30, 30));
            p.drawEllipse(c + QPointF(side * 0.18 * s, -0.3 * s), 0.04 * s, 0.045 * s);
        }
        QPainterPath grin;
        grin.moveTo(c + QPointF(-0.22 * s, 0.04 * s));
        grin.quadTo(c + QPointF(0, 0.26 * s), c + QPointF(0.22 * s, 0.04 * s));
        p.setPen(QPen(QColor(30, 80, 30), 0.03 * s, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(grin);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 120, 140, 120));
        p.drawEllipse(c + QPointF(-0.25 * s, -0.02 * s), 0.06 * s, 0.04 * s);
        p.drawEllipse(c + QPointF(0.25 * s, -0.02 * s), 0.06 * s, 0.04 * s);
        return;
    }
    happyFace(p, c + QPointF(0, -0.02 * s), 0.9 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 40, 40));
    p.drawEllipse(c + QPointF(0, 0.06 * s), 0.04 * s, 0.03 * s);
    if (kind % 3 == 0) {
        p.setPen(QPen(QColor(80, 60, 50), 0.008 * s, Qt::SolidLine, Qt::RoundCap));
        for (double side : {-1.0, 1.0}) {
            for (double dy : {-0.03, 0.02}) {
                p.drawLine(c + QPointF(side * 0.12 * s, 0.08 * s),
                           c + QPointF(side * 0.34 * s, (0.06 + dy * 2) * s));
            }
        }
    }
}

}  // namespace

void paintSparkle(QPainter& painter, const QPointF& centre, double radius, const QColor& colour) {
    painter.setPen(QPen(mix(colour, Qt::black, 0.3), std::max(1.0, radius * 0.08)));
    painter.setBrush(colour);
    painter.drawPath(regularPolygon(centre, radius, 5, 0, 0.45 * radius));
}

void paintMotif(QPainter& painter, int motif, const QPointF& centre, double size,
                const MotifColours& colours, int variant) {
    painter.save();
    switch (motif % kMotifCount) {
        case 0:
            smilingStar(painter, centre, size, colours);
            break;
        case 1:
            balloonBunch(painter, centre, size, colours);
            break;
        case 2:
            smilingSun(painter, centre, size, colours);
            break;
        case 3:
            rainbow(painter, centre, size, colours);
            break;
        case 4:
            fireworks(painter, centre, size, colours);
            break;
        case 5:
            trophy(painter, centre, size, colours);
            break;
        case 6:
            flowers(painter, centre, size, colours);
            break;
        case 7:
            hearts(painter, centre, size, colours);
            break;
        case 8:
            rosette(painter, centre, size, colours);
            break;
        default:
            animalFace(painter, centre, size, variant);
            break;
    }
    painter.restore();
}

}  // namespace mediagen

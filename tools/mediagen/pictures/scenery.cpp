#include "pictures/scenery.h"

#include <QLinearGradient>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "common/painting.h"

namespace mediagen {
namespace {

constexpr double kTau = 2 * std::numbers::pi;
// Curves are sampled this often and run this far past the picture's sides.
constexpr double kStep = 6;
constexpr double kOverhang = 24;

double highestPoint(const Skyline& line, double width) {
    double top = line(-kOverhang);
    for (double x = -kOverhang; x <= width + kOverhang; x += kStep)
        top = std::min(top, line(x));
    return top;
}

QPainterPath lineAlong(const Skyline& top, double width) {
    QPainterPath line;
    line.moveTo(-kOverhang, top(-kOverhang));
    for (double x = -kOverhang + kStep; x <= width + kOverhang; x += kStep)
        line.lineTo(x, top(x));
    return line;
}

}  // namespace

void verticalWash(QPainter& p, const QRectF& area, std::initializer_list<ColourStop> stops) {
    QLinearGradient wash(area.topLeft(), area.bottomLeft());
    for (const ColourStop& stop : stops)
        wash.setColorAt(stop.at, stop.colour);
    p.fillRect(area, wash);
}

Skyline rolling(double base, std::initializer_list<Swell> swells) {
    return [base, list = std::vector<Swell>(swells)](double x) {
        double y = base;
        for (const Swell& s : list)
            y += s.amplitude * std::sin(kTau * x / s.wavelength + s.phase);
        return y;
    };
}

QPainterPath landBelow(const Skyline& top, double width, double bottom) {
    QPainterPath land = lineAlong(top, width);
    land.lineTo(width + kOverhang, bottom + kOverhang);
    land.lineTo(-kOverhang, bottom + kOverhang);
    land.closeSubpath();
    return land;
}

void lineAcross(QPainter& p, const Skyline& line, double width, const QColor& colour,
                double thickness) {
    p.setPen(QPen(colour, thickness, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(lineAlong(line, width));
}

void landBand(QPainter& p, const Skyline& top, double width, double bottom, const QColor& upper,
              const QColor& lower) {
    QLinearGradient shade(0, highestPoint(top, width), 0, bottom);
    shade.setColorAt(0.0, upper);
    shade.setColorAt(1.0, lower);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(landBelow(top, width, bottom));
}

void flatCloud(QPainter& p, QPointF base, double length, double height, Prng& random,
               const QColor& tint) {
    // Three or four puffs along the top, each a full-topped arch: rounded on
    // top with a notch between two. Smaller puffs would turn to spikes in a
    // tall window, which squeezes a cloud to a third of its width.
    const double puffCount = std::floor(random.range(3.0, 4.99));
    const double phase = random.range(0, std::numbers::pi);
    const double swellPhase = random.range(0, kTau);
    const int points = 96;
    QPolygonF outline;
    for (int i = 0; i <= points; ++i) {
        const double t = static_cast<double>(i) / points;
        const double envelope = std::pow(std::sin(std::numbers::pi * t), 0.45);
        const double swell = 0.75 + 0.25 * std::sin(kTau * t + swellPhase);
        const double puffs =
            0.5 + 0.5 * swell *
                      std::pow(std::abs(std::sin(std::numbers::pi * puffCount * t + phase)), 0.6);
        outline << QPointF(base.x() - length / 2 + t * length,
                           base.y() - height * envelope * puffs);
    }
    for (int i = points - 1; i > 0; --i) {
        const double t = static_cast<double>(i) / points;
        outline << QPointF(base.x() - length / 2 + t * length,
                           base.y() + 0.12 * height * std::sin(std::numbers::pi * t));
    }
    QPainterPath cloud;
    cloud.addPolygon(outline);
    cloud.closeSubpath();
    const QColor shadow = mix(tint, QColor(170, 190, 225), 0.5);
    softShadow(p, cloud, QPointF(0, 0.12 * height), 0.35 * height, withAlpha(shadow, 70));
    QLinearGradient body(0, base.y() - height, 0, base.y() + 0.12 * height);
    body.setColorAt(0.0, withAlpha(tint, 245));
    body.setColorAt(0.6, withAlpha(tint, 240));
    body.setColorAt(1.0, withAlpha(mix(tint, QColor(214, 226, 246), 0.55), 235));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(cloud);
}

void grass(QPainter& p, const Skyline& ground, double width, const Blades& blades,
           std::initializer_list<QColor> colours, Prng& random) {
    const std::vector<QColor> palette(colours);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < blades.count; ++i) {
        const double x = random.range(-kOverhang, width + kOverhang);
        const double foot = ground(x);
        const double h = random.range(blades.shortest, blades.tallest);
        const double lean = random.range(-0.3, 0.3) * h;
        const double w = blades.width * random.range(0.7, 1.3);
        const QColor colour = pastel(
            palette[static_cast<std::size_t>(random.below(static_cast<int>(palette.size())))],
            random.range(0.0, 0.15));
        QPainterPath blade;
        blade.moveTo(x - w / 2, foot + 8);
        blade.quadTo(x - 0.2 * w + 0.4 * lean, foot - 0.55 * h, x + lean, foot - h);
        blade.quadTo(x + 0.2 * w + 0.4 * lean, foot - 0.55 * h, x + w / 2, foot + 8);
        blade.closeSubpath();
        p.setBrush(colour);
        p.drawPath(blade);
    }
}

void ribbon(QPainter& p, const Skyline& centre, double width, double thickness,
            double turnWavelength, double turnPhase, const QColor& colour) {
    // Where the ribbon is seen edge-on it is thin, where it faces us it is wide.
    auto facing = [&](double x) { return std::cos(kTau * x / turnWavelength + turnPhase); };
    auto half = [&](double x) { return thickness * (0.12 + 0.88 * std::abs(facing(x))) / 2; };
    // The band between two lines across the ribbon, -1 its upper edge and 1 its
    // lower one; with turning, -1 is the edge that is up while it faces us and
    // down once it has turned, so that a sheen changes edge with every half turn.
    auto band = [&](double from, double to, bool turning) {
        auto side = [&](double x) { return turning && facing(x) < 0 ? -1.0 : 1.0; };
        QPolygonF outline;
        for (double x = -kOverhang; x <= width + kOverhang; x += kStep)
            outline << QPointF(x, centre(x) + side(x) * from * half(x));
        for (double x = width + kOverhang; x >= -kOverhang; x -= kStep)
            outline << QPointF(x, centre(x) + side(x) * to * half(x));
        QPainterPath path;
        path.addPolygon(outline);
        path.closeSubpath();
        return path;
    };
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(band(-1, 1, false));
    // A lighter sheen along one edge gives it its gloss.
    p.setBrush(withAlpha(pastel(colour, 0.55), 150));
    p.drawPath(band(-1, -0.35, true));
}

}  // namespace mediagen

#include "pictures/backgrounds.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <iterator>
#include <numbers>

#include "catalogue/tables.h"
#include "common/painting.h"
#include "common/prng.h"
#include "pictures/scenery.h"

namespace mediagen {
namespace {

constexpr double kW = kBackgroundWidth;
constexpr double kH = kBackgroundHeight;
const QRectF kWhole(0, 0, kW, kH);

// A band of land or water: its skyline swells once across the picture.
struct Layer {
    double base, amplitude, wavelength, phase;
    QColor colour;

    Skyline skyline() const { return rolling(base, {{amplitude, wavelength, phase}}); }
};

// Hills one behind the other, the farthest first; each lighter at its top than
// at its foot, and with a lit crest when crest is not transparent.
struct Hill {
    Skyline top;
    QColor upper, lower;
};

void hills(QPainter& p, std::initializer_list<Hill> farToNear,
           const QColor& crest = Qt::transparent) {
    for (const Hill& h : farToNear) {
        landBand(p, h.top, kW, kH, h.upper, h.lower);
        if (crest.alpha() > 0)
            lineAcross(p, h.top, kW, crest, 6);
    }
}

struct CloudPlace {
    double x, y, length, height;
};

void clouds(QPainter& p, std::initializer_list<CloudPlace> places, std::uint32_t seed,
            const QColor& tint = QColor(255, 255, 255)) {
    Prng random(seed);
    for (const CloudPlace& c : places)
        flatCloud(p, QPointF(c.x, c.y), c.length, c.height, random, tint);
}

void skyWithClouds(QPainter& p) {
    verticalWash(
        p, kWhole,
        {{0.0, QColor(156, 204, 250)}, {0.6, QColor(198, 228, 255)}, {1.0, QColor(234, 246, 255)}});
    // Larger and lower towards the bottom, as clouds seen far away.
    clouds(p,
           {{330, 190, 460, 88},
            {1460, 150, 540, 100},
            {960, 400, 420, 78},
            {240, 620, 560, 110},
            {1660, 560, 520, 105},
            {900, 860, 720, 138},
            {1760, 990, 520, 112},
            {100, 1010, 460, 105}},
           11);
}

void meadow(QPainter& p) {
    verticalWash(p, kWhole, {{0.0, QColor(186, 224, 255)}, {0.55, QColor(236, 248, 255)}});
    clouds(p, {{420, 220, 560, 105}, {1500, 160, 480, 92}}, 23);
    const Skyline far = rolling(600, {{30, 1400, 0.5}, {14, 600, 2.0}});
    landBand(p, far, kW, kH, QColor(204, 234, 190), QColor(186, 224, 172));
    const Skyline near = rolling(730, {{40, 1800, 2.2}, {12, 500, 1.0}});
    landBand(p, near, kW, kH, QColor(182, 228, 156), QColor(154, 212, 134));
    Prng random(29);
    // Short grass along the crest of the near meadow, tall grass in front.
    grass(
        p, [&](double x) { return near(x) + 10; }, kW, {420, 14, 34, 6},
        {QColor(160, 214, 138), QColor(172, 222, 146)}, random);
    grass(
        p, [](double) { return kH; }, kW, {520, 70, 210, 18},
        {QColor(140, 204, 122), QColor(160, 216, 132), QColor(124, 192, 112),
         QColor(186, 228, 142)},
        random);
}

void seaside(QPainter& p) {
    const double horizon = 430;
    verticalWash(p, QRectF(0, 0, kW, horizon),
                 {{0.0, QColor(184, 222, 255)}, {1.0, QColor(232, 246, 255)}});
    clouds(p, {{500, 170, 600, 95}, {1480, 250, 420, 72}}, 31);
    p.fillRect(QRectF(0, horizon, kW, kH - horizon), QColor(184, 230, 242));
    // Nearer waves are higher and longer.
    const Layer waves[] = {{446, 5, 170, 0.3, QColor(176, 226, 240)},
                           {520, 9, 250, 1.9, QColor(160, 218, 236)},
                           {620, 14, 360, 0.8, QColor(144, 208, 232)},
                           {756, 21, 500, 2.6, QColor(128, 198, 226)},
                           {910, 28, 680, 1.2, QColor(114, 190, 222)}};
    for (std::size_t i = 0; i < std::size(waves); ++i) {
        const Layer& w = waves[i];
        const Skyline crest =
            rolling(w.base, {{w.amplitude, w.wavelength, w.phase},
                             {0.3 * w.amplitude, 0.45 * w.wavelength, 2 * w.phase + 1}});
        landBand(p, crest, kW, kH, pastel(w.colour, 0.15), w.colour);
        lineAcross(p, crest, kW, QColor(244, 252, 255, 200), 3 + 1.5 * static_cast<double>(i));
    }
    const Skyline shore = rolling(1010, {{14, 900, 1.0}, {5, 330, 0.2}});
    landBand(p, shore, kW, kH, QColor(252, 238, 204), QColor(246, 226, 184));
    lineAcross(p, shore, kW, QColor(255, 255, 255, 220), 8);
}

void eveningHills(QPainter& p) {
    verticalWash(p, kWhole,
                 {{0.0, QColor(248, 200, 216)},
                  {0.3, QColor(255, 220, 204)},
                  {0.55, QColor(255, 240, 212)}});
    clouds(p, {{400, 180, 600, 82}, {1420, 290, 520, 70}, {1000, 110, 360, 55}}, 37,
           QColor(255, 240, 244));
    hills(p, {{rolling(540, {{50, 1500, 1.0}, {20, 520, 3.0}}), QColor(214, 204, 238),
               QColor(204, 196, 232)},
              {rolling(650, {{60, 1900, 2.6}, {18, 640, 0.4}}), QColor(206, 230, 196),
               QColor(190, 222, 182)},
              {rolling(790, {{70, 2200, 4.4}, {22, 760, 1.7}}), QColor(184, 222, 170),
               QColor(168, 212, 156)},
              {rolling(940, {{60, 2600, 0.9}, {20, 900, 2.9}}), QColor(164, 212, 152),
               QColor(150, 202, 140)}});
}

void rainbow(QPainter& p) {
    verticalWash(p, kWhole, {{0.0, QColor(196, 230, 255)}, {0.8, QColor(240, 250, 255)}});
    const QColor bands[] = {QColor(255, 186, 186), QColor(255, 214, 168), QColor(255, 244, 170),
                            QColor(194, 236, 184), QColor(182, 218, 255), QColor(204, 194, 255),
                            QColor(232, 196, 250)};
    const QPointF centre(kW / 2, 1150);
    const double band = 56;
    p.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < std::size(bands); ++i) {
        p.setPen(QPen(bands[i], band + 1, Qt::SolidLine, Qt::FlatCap));
        const double r = 950 - band / 2 - static_cast<double>(i) * band;
        p.drawEllipse(centre, r, r);
    }
    // The rainbow's feet stand in the meadow, behind low clouds.
    landBand(p, rolling(960, {{24, 1100, 0.4}, {8, 420, 2.0}}), kW, kH, QColor(190, 232, 170),
             QColor(170, 220, 152));
    clouds(p, {{120, 940, 560, 150}, {1800, 950, 560, 145}, {1500, 150, 380, 65}}, 41);
}

void dunes(QPainter& p) {
    verticalWash(p, kWhole,
                 {{0.0, QColor(176, 230, 236)},
                  {0.45, QColor(232, 248, 240)},
                  {0.6, QColor(255, 246, 222)}});
    clouds(p, {{1420, 190, 560, 82}, {360, 300, 380, 60}}, 43);
    // The wind-swept crests catch the light.
    hills(p,
          {{rolling(600, {{40, 900, 0.3}, {18, 380, 2.0}}), QColor(250, 232, 196),
            QColor(244, 222, 184)},
           {rolling(720, {{60, 1300, 2.1}, {20, 500, 0.7}}), QColor(252, 224, 170),
            QColor(244, 210, 156)},
           {rolling(870, {{70, 1700, 4.0}, {25, 600, 1.2}}), QColor(250, 214, 156),
            QColor(242, 200, 142)},
           {rolling(1000, {{34, 1200, 1.5}, {12, 460, 0.1}}), QColor(252, 226, 172),
            QColor(248, 216, 160)}},
          QColor(255, 244, 220, 210));
}

// Seaweed: a strand that waves as it rises and narrows to its tip.
void seaweed(QPainter& p, double foot, double x0, double height, double width, double sway,
             double phase, const QColor& colour) {
    const int steps = 60;
    QPolygonF left, right;
    for (int i = 0; i <= steps; ++i) {
        const double s = static_cast<double>(i) / steps;
        const double y = foot - s * height;
        const double x = x0 + sway * s * std::sin(2 * std::numbers::pi * s * 1.6 + phase);
        const double half = width / 2 * std::sqrt(1 - s) * (0.8 + 0.2 * std::sin(9 * s + phase));
        left << QPointF(x - half, y);
        right.prepend(QPointF(x + half, y));
    }
    QPainterPath strand;
    strand.addPolygon(left + right);
    strand.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(strand);
}

void underwater(QPainter& p) {
    verticalWash(p, kWhole,
                 {{0.0, QColor(200, 246, 238)},
                  {0.55, QColor(162, 224, 222)},
                  {1.0, QColor(140, 208, 212)}});
    // Sunlight falling in slanting shafts, fading with depth.
    const double shafts[][2] = {{140, 120}, {560, 90}, {900, 160}, {1380, 110}, {1700, 80}};
    for (const auto& s : shafts) {
        QPolygonF beam({QPointF(s[0], -10), QPointF(s[0] + s[1], -10),
                        QPointF(s[0] + s[1] * 2.2 + 260, kH), QPointF(s[0] + 260, kH)});
        QLinearGradient fade(0, 0, 0, 0.85 * kH);
        fade.setColorAt(0.0, QColor(255, 255, 255, 80));
        fade.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(fade);
        p.drawPolygon(beam);
    }
    landBand(p, rolling(900, {{20, 800, 1.0}, {10, 330, 2.4}}), kW, kH, QColor(184, 224, 214),
             QColor(176, 218, 208));
    Prng random(47);
    const QColor weeds[] = {QColor(150, 214, 162), QColor(124, 200, 150), QColor(250, 186, 196),
                            QColor(214, 196, 246), QColor(176, 226, 150)};
    for (int i = 0; i < 22; ++i) {
        const double x = random.range(-20, kW + 20);
        seaweed(p, kH + 20, x, random.range(220, 560), random.range(34, 58), random.range(30, 70),
                random.range(0, 6.28), weeds[random.below(static_cast<int>(std::size(weeds)))]);
    }
    landBand(p, rolling(1020, {{16, 700, 2.0}, {8, 300, 0.5}}), kW, kH, QColor(250, 238, 204),
             QColor(244, 228, 190));
}

void flowerFields(QPainter& p) {
    verticalWash(p, kWhole, {{0.0, QColor(194, 226, 255)}, {0.5, QColor(240, 248, 255)}});
    clouds(p, {{380, 160, 480, 75}, {1420, 210, 560, 85}}, 53);
    landBand(p, rolling(470, {{26, 1200, 0.2}, {10, 400, 1.5}}), kW, kH, QColor(200, 228, 206),
             QColor(190, 222, 196));
    // Fields of flowers lie in bands of colour over the rolling land, each
    // edged by a strip of green.
    const Layer fields[] = {{560, 30, 1500, 1.3, QColor(255, 214, 226)},
                            {650, 40, 1700, 2.4, QColor(255, 240, 180)},
                            {760, 50, 2000, 3.5, QColor(226, 214, 250)},
                            {890, 56, 2300, 4.6, QColor(255, 222, 196)},
                            {990, 26, 2600, 5.7, QColor(255, 208, 222)}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const Layer& f = fields[i];
        const Skyline edge = f.skyline();
        landBand(p, edge, kW, kH, QColor(186, 226, 164), QColor(186, 226, 164));
        const double strip = f.base / 60;
        landBand(
            p, [&](double x) { return edge(x) + strip; }, kW, kH, pastel(f.colour, 0.2), f.colour);
        // Faint rows of flowers following the lie of the land, up to the next
        // field; the nearest field, at the picture's foot, is too close to show
        // rows, which would run along its bottom edge.
        if (i + 1 == std::size(fields))
            break;
        const double depth = fields[i + 1].base - f.base;
        for (int row = 1; row <= 3; ++row) {
            lineAcross(
                p, [&](double x) { return edge(x) + strip + row * depth / 4; }, kW,
                withAlpha(f.colour.darker(112), 150), 2 + depth / 40);
        }
    }
}

void ribbons(QPainter& p) {
    verticalWash(p, kWhole, {{0.0, QColor(255, 248, 230)}, {1.0, QColor(255, 238, 236)}});
    struct Streamer {
        double base, amplitude, wavelength, phase, turn, turnPhase;
        QColor colour;
    };
    const Streamer streamers[] = {
        {170, 50, 1900, 0.4, 1400, 0.3, QColor(255, 196, 212)},
        {390, 60, 2300, 2.2, 1700, 1.4, QColor(255, 228, 150)},
        {620, 50, 2000, 4.1, 1300, 2.1, QColor(180, 232, 200)},
        {850, 60, 2400, 1.1, 1600, 0.9, QColor(186, 214, 255)},
        {1010, 36, 1800, 3.3, 1200, 2.6, QColor(220, 200, 250)},
    };
    for (const Streamer& s : streamers) {
        ribbon(p, rolling(s.base, {{s.amplitude, s.wavelength, s.phase}}), kW, 70, s.turn,
               s.turnPhase, s.colour);
    }
}

void snowyHills(QPainter& p) {
    verticalWash(p, kWhole,
                 {{0.0, QColor(210, 204, 250)},
                  {0.35, QColor(246, 214, 236)},
                  {0.6, QColor(255, 236, 236)}});
    clouds(p, {{360, 170, 520, 80}, {1500, 250, 600, 92}}, 59, QColor(255, 246, 252));
    // Snow is white where the light falls and lilac in the hollows below.
    hills(p, {{rolling(560, {{44, 1300, 0.8}, {16, 470, 2.2}}), QColor(232, 230, 252),
               QColor(200, 198, 240)},
              {rolling(680, {{56, 1700, 3.1}, {18, 560, 0.5}}), QColor(246, 246, 255),
               QColor(206, 210, 244)},
              {rolling(830, {{62, 2100, 5.0}, {20, 700, 1.9}}), QColor(252, 252, 255),
               QColor(212, 220, 248)},
              {rolling(980, {{40, 2400, 2.0}, {14, 820, 3.7}}), QColor(255, 255, 255),
               QColor(226, 232, 252)}});
}

}  // namespace

QImage backgroundPicture(int number) {
    using Painter = void (*)(QPainter&);
    static const Painter painters[] = {skyWithClouds, meadow,    seaside,    eveningHills,
                                       rainbow,       dunes,     underwater, flowerFields,
                                       ribbons,       snowyHills};
    QImage image = canvas(kBackgroundWidth, kBackgroundHeight);
    QPainter p(&image);
    prepare(p);
    static_assert(std::size(painters) == qv::kBackgroundCount, "one painter a background");
    painters[number % qv::kBackgroundCount](p);
    // A thin white veil keeps every background quiet behind the pictures.
    p.fillRect(kWhole, QColor(255, 255, 255, 50));
    return image;
}

}  // namespace mediagen

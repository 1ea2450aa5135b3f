#include "pictures/backgrounds.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <iterator>
#include <numbers>

#include "catalogue/tables.h"
#include "common/painting.h"
#include "common/prng.h"
#include "pictures/shapepaths.h"

namespace mediagen {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

const QColor kPastels[] = {QColor(255, 182, 193), QColor(255, 218, 150), QColor(255, 246, 160),
                           QColor(180, 236, 180), QColor(170, 216, 255), QColor(214, 190, 255),
                           QColor(255, 200, 230), QColor(160, 232, 228)};

QColor somePastel(Prng& random) {
    return kPastels[random.below(8)];
}

void verticalWash(QPainter& p, const QColor& top, const QColor& bottom) {
    QLinearGradient wash(0, 0, 0, kHeight);
    wash.setColorAt(0.0, top);
    wash.setColorAt(1.0, bottom);
    p.fillRect(QRect(0, 0, kWidth, kHeight), wash);
}

void cloud(QPainter& p, QPointF at, double size, int alpha) {
    QPainterPath puff;
    puff.addEllipse(at + QPointF(-0.9 * size, -0.1 * size), 0.55 * size, 0.45 * size);
    puff.addEllipse(at + QPointF(-0.3 * size, -0.45 * size), 0.6 * size, 0.55 * size);
    puff.addEllipse(at + QPointF(0.35 * size, -0.35 * size), 0.55 * size, 0.5 * size);
    puff.addEllipse(at + QPointF(0.9 * size, -0.05 * size), 0.5 * size, 0.42 * size);
    puff.addRoundedRect(QRectF(at.x() - 1.3 * size, at.y() - 0.2 * size, 2.6 * size, 0.55 * size),
                        0.27 * size, 0.27 * size);
    puff.setFillRule(Qt::WindingFill);
    const QPainterPath merged = puff.simplified();
    softShadow(p, merged, QPointF(0, 0.08 * size), 0.1 * size, QColor(120, 150, 200, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, alpha));
    p.drawPath(merged);
}

void skyWithClouds(QPainter& p) {
    verticalWash(p, QColor(170, 214, 255), QColor(228, 244, 255));
    Prng random(11);
    for (int i = 0; i < 7; ++i) {
        cloud(p, QPointF(random.range(100, 1500), random.range(120, 1080)), random.range(90, 160),
              235);
    }
}

void meadow(QPainter& p) {
    verticalWash(p, QColor(196, 230, 255), QColor(240, 250, 255));
    QPainterPath ground;
    ground.moveTo(0, 760);
    ground.cubicTo(400, 680, 1100, 820, 1600, 720);
    ground.lineTo(1600, 1200);
    ground.lineTo(0, 1200);
    QLinearGradient grass(0, 700, 0, 1200);
    grass.setColorAt(0.0, QColor(184, 232, 160));
    grass.setColorAt(1.0, QColor(150, 214, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(grass);
    p.drawPath(ground);
    Prng random(23);
    for (int i = 0; i < 60; ++i) {
        const QPointF at(random.range(20, 1580), random.range(800, 1180));
        const QColor petal = pastel(somePastel(random), 0.2);
        p.setBrush(petal);
        for (int k = 0; k < 5; ++k) {
            const double a = k * 2 * std::numbers::pi / 5;
            p.drawEllipse(at + QPointF(10 * std::cos(a), 10 * std::sin(a)), 8, 8);
        }
        p.setBrush(QColor(255, 236, 150));
        p.drawEllipse(at, 6, 6);
    }
    cloud(p, QPointF(360, 260), 120, 230);
    cloud(p, QPointF(1180, 180), 100, 230);
}

void bubbles(QPainter& p) {
    verticalWash(p, QColor(232, 222, 255), QColor(214, 240, 255));
    Prng random(37);
    for (int i = 0; i < 45; ++i) {
        const QPointF at(random.range(0, 1600), random.range(0, 1200));
        const double r = random.range(30, 130);
        QRadialGradient glass(at + QPointF(-0.35 * r, -0.35 * r), 1.3 * r);
        glass.setColorAt(0.0, QColor(255, 255, 255, 150));
        glass.setColorAt(0.7, withAlpha(somePastel(random), 50));
        glass.setColorAt(1.0, QColor(255, 255, 255, 90));
        p.setBrush(glass);
        p.setPen(QPen(QColor(255, 255, 255, 170), 3));
        p.drawEllipse(at, r, r);
    }
}

void waves(QPainter& p) {
    verticalWash(p, QColor(214, 244, 255), QColor(190, 232, 240));
    const QColor tones[] = {QColor(170, 226, 236), QColor(150, 214, 230), QColor(134, 204, 226),
                            QColor(120, 196, 222)};
    for (int band = 0; band < 4; ++band) {
        const double base = 520 + band * 170;
        QPainterPath crest;
        crest.moveTo(0, base + 30 * std::sin(band * 1.3));
        for (int x = 16; x <= 1600; x += 16) {
            crest.lineTo(x, base + 30 * std::sin(x / 140.0 + band * 1.3));
        }
        QPainterPath water = crest;
        water.lineTo(1600, 1200);
        water.lineTo(0, 1200);
        water.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(tones[band]);
        p.drawPath(water);
        // Only the crest is foamy: outlining the whole band would also run a
        // light line down the picture's edges.
        p.setPen(QPen(QColor(240, 252, 255, 200), 6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(crest);
    }
}

void confetti(QPainter& p) {
    verticalWash(p, QColor(255, 250, 200), QColor(255, 240, 206));
    Prng random(41);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        p.save();
        p.translate(random.range(0, 1600), random.range(0, 1200));
        p.rotate(random.range(0, 180));
        p.setBrush(pastel(somePastel(random), 0.25));
        if (random.below(3) == 0) {
            p.drawEllipse(QPointF(0, 0), 9, 9);
        } else {
            p.drawRoundedRect(QRectF(-14, -6, 28, 12), 3, 3);
        }
        p.restore();
    }
}

void rainbowArcs(QPainter& p) {
    verticalWash(p, QColor(222, 240, 255), QColor(250, 252, 255));
    const QColor bands[] = {QColor(255, 190, 190), QColor(255, 220, 170), QColor(255, 246, 176),
                            QColor(196, 238, 190), QColor(186, 220, 255), QColor(214, 198, 255)};
    const QPointF centre(800, 1250);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(bands[i], 62, Qt::SolidLine, Qt::FlatCap));
        const double r = 900 - i * 62;
        p.drawEllipse(centre, r, r);
    }
    cloud(p, QPointF(230, 1150), 170, 245);
    cloud(p, QPointF(1370, 1150), 170, 245);
}

void softStars(QPainter& p) {
    verticalWash(p, QColor(226, 218, 255), QColor(255, 228, 214));
    Prng random(53);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const QPointF at(random.range(0, 1600), random.range(0, 1200));
        const double r = random.range(14, 48);
        p.setBrush(QColor(255, 255, 255, static_cast<int>(random.range(110, 200))));
        p.drawPath(regularPolygon(at, r, 5, random.range(-20, 20), 0.45 * r));
    }
}

void polkaDots(QPainter& p) {
    p.fillRect(QRect(0, 0, kWidth, kHeight), QColor(214, 244, 226));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(238, 252, 242));
    for (int row = 0; row < 11; ++row) {
        for (int col = 0; col < 15; ++col) {
            const double x = col * 120 + (row % 2 ? 60 : 0) + 20;
            p.drawEllipse(QPointF(x, row * 120 + 20), 30, 30);
        }
    }
}

void hills(QPainter& p) {
    verticalWash(p, QColor(255, 232, 208), QColor(255, 246, 230));
    QRadialGradient sun(QPointF(1260, 260), 170);
    sun.setColorAt(0.0, QColor(255, 244, 170));
    sun.setColorAt(0.7, QColor(255, 232, 150));
    sun.setColorAt(1.0, QColor(255, 232, 150, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(1260, 260), 170, 170);
    const QColor greens[] = {QColor(206, 236, 190), QColor(184, 226, 170), QColor(164, 214, 156)};
    for (int i = 0; i < 3; ++i) {
        QPainterPath hill;
        const double top = 640 + i * 150;
        hill.moveTo(0, top + 80);
        hill.cubicTo(300 + i * 150, top - 160, 700 + i * 100, top + 160, 1000, top);
        hill.cubicTo(1250, top - 100, 1450, top + 40, 1600, top - 20);
        hill.lineTo(1600, 1200);
        hill.lineTo(0, 1200);
        p.setBrush(greens[i]);
        p.drawPath(hill);
    }
}

void balloons(QPainter& p) {
    verticalWash(p, QColor(255, 236, 226), QColor(236, 244, 255));
    Prng random(67);
    for (int i = 0; i < 14; ++i) {
        const QPointF at(random.range(80, 1520), random.range(120, 1000));
        const double r = random.range(50, 85);
        const QColor colour = pastel(somePastel(random), 0.35);
        p.setPen(QPen(QColor(200, 190, 200), 3));
        QPainterPath string;
        string.moveTo(at + QPointF(0, 1.2 * r));
        string.cubicTo(at + QPointF(-20, 1.8 * r), at + QPointF(20, 2.3 * r),
                       at + QPointF(0, 3 * r));
        p.setBrush(Qt::NoBrush);
        p.drawPath(string);
        QRadialGradient skin(at + QPointF(-0.3 * r, -0.4 * r), 1.4 * r);
        skin.setColorAt(0.0, pastel(colour, 0.6));
        skin.setColorAt(1.0, colour);
        p.setPen(Qt::NoPen);
        p.setBrush(skin);
        p.drawEllipse(at, 0.85 * r, 1.05 * r);
        p.drawPolygon(QPolygonF(
            {at + QPointF(0, 1.0 * r), at + QPointF(-10, 1.2 * r), at + QPointF(10, 1.2 * r)}));
    }
}

}  // namespace

QImage backgroundPicture(int number) {
    static const std::function<void(QPainter&)> painters[] = {
        skyWithClouds, meadow,    bubbles,   waves, confetti,
        rainbowArcs,   softStars, polkaDots, hills, balloons};
    QImage image = canvas(kWidth, kHeight);
    QPainter p(&image);
    prepare(p);
    static_assert(std::size(painters) == qv::kBackgroundCount, "one painter a background");
    painters[number % qv::kBackgroundCount](p);
    // A thin white veil keeps every background quiet behind the pictures.
    p.fillRect(QRect(0, 0, kWidth, kHeight), QColor(255, 255, 255, 50));
    return image;
}

}  // namespace mediagen

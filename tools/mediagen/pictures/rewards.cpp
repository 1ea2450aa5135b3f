#include "pictures/rewards.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

#include "common/painting.h"
#include "common/prng.h"
#include "pictures/rewardmotifs.h"
#include "pictures/shapepaths.h"

namespace mediagen {
namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 800;

struct RewardPalette {
    QColor light;  // backdrop
    QColor deep;   // second backdrop tone
    MotifColours motif;
};

const RewardPalette kPalettes[] = {
    {QColor(200, 230, 255),
     QColor(160, 205, 250),
     {QColor(255, 200, 0), QColor(235, 40, 50), QColor(40, 170, 70)}},
    {QColor(255, 214, 232),
     QColor(255, 178, 210),
     {QColor(150, 70, 210), QColor(255, 210, 0), QColor(40, 110, 230)}},
    {QColor(206, 245, 220),
     QColor(160, 230, 190),
     {QColor(255, 130, 0), QColor(255, 100, 170), QColor(40, 110, 230)}},
    {QColor(228, 214, 255),
     QColor(198, 176, 250),
     {QColor(255, 210, 0), QColor(40, 170, 70), QColor(235, 40, 50)}},
    {QColor(255, 226, 200),
     QColor(255, 196, 160),
     {QColor(235, 40, 50), QColor(40, 110, 230), QColor(255, 210, 0)}},
    {QColor(255, 250, 196),
     QColor(255, 236, 140),
     {QColor(40, 110, 230), QColor(255, 130, 0), QColor(150, 70, 210)}},
    {QColor(196, 242, 244),
     QColor(150, 222, 230),
     {QColor(255, 90, 160), QColor(255, 210, 0), QColor(40, 170, 70)}},
    {QColor(40, 50, 110),
     QColor(24, 30, 80),
     {QColor(255, 210, 0), QColor(80, 220, 255), QColor(255, 110, 180)}},
};
constexpr int kPaletteCount = 8;

void sunburst(QPainter& p, const RewardPalette& palette) {
    p.fillRect(QRect(0, 0, kWidth, kHeight), palette.light);
    const QPointF c(kWidth / 2.0, kHeight / 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(palette.deep);
    for (int i = 0; i < 16; ++i) {
        const double a = i * 22.5 * 3.14159265358979 / 180;
        const double b = a + 11.25 * 3.14159265358979 / 180;
        p.drawPolygon(QPolygonF({c, c + QPointF(1000 * std::cos(a), 1000 * std::sin(a)),
                                 c + QPointF(1000 * std::cos(b), 1000 * std::sin(b))}));
    }
}

void glow(QPainter& p, const RewardPalette& palette) {
    QRadialGradient g(QPointF(kWidth / 2.0, kHeight / 2.0), 620);
    g.setColorAt(0.0, mix(palette.light, Qt::white, 0.6));
    g.setColorAt(0.5, palette.light);
    g.setColorAt(1.0, palette.deep);
    p.fillRect(QRect(0, 0, kWidth, kHeight), g);
}

void dots(QPainter& p, const RewardPalette& palette) {
    p.fillRect(QRect(0, 0, kWidth, kHeight), palette.light);
    p.setPen(Qt::NoPen);
    p.setBrush(palette.deep);
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 10; ++col) {
            p.drawEllipse(QPointF(col * 100 + (row % 2) * 50, row * 100), 22, 22);
        }
    }
}

void stripes(QPainter& p, const RewardPalette& palette) {
    p.fillRect(QRect(0, 0, kWidth, kHeight), palette.light);
    p.setPen(QPen(palette.deep, 40));
    for (int x = -kHeight; x < kWidth; x += 110)
        p.drawLine(x, kHeight, x + kHeight, 0);
}

void scatterConfetti(QPainter& p, const MotifColours& colours, Prng& random) {
    const QColor choice[] = {colours.main, colours.accent, colours.third};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const QPointF at(random.range(0, kWidth), random.range(0, kHeight));
        // Keep the middle free for the motif.
        if (std::hypot(at.x() - kWidth / 2.0, at.y() - kHeight / 2.0) < 300)
            continue;
        p.save();
        p.translate(at);
        p.rotate(random.range(0, 180));
        p.setBrush(choice[random.below(3)]);
        p.drawRoundedRect(QRectF(-12, -5, 24, 10), 3, 3);
        p.restore();
    }
}

void ringOfSparkles(QPainter& p, const MotifColours& colours) {
    const QColor choice[] = {colours.main, colours.accent, colours.third};
    for (int i = 0; i < 10; ++i) {
        const double a = i * 36.0 * 3.14159265358979 / 180;
        const QPointF at(kWidth / 2.0 + 380 * std::cos(a), kHeight / 2.0 + 330 * std::sin(a));
        paintSparkle(p, at, i % 2 ? 30 : 22, choice[i % 3]);
    }
}

}  // namespace

QImage rewardPicture(int number) {
    const int motif = number % kMotifCount;
    const int round = number / kMotifCount;  // 0..7: which version of the motif
    const RewardPalette& palette = kPalettes[(round + motif * 3) % kPaletteCount];
    const int backdrop = (round + motif) % 4;
    const int arrangement = round % 3;

    QImage image = canvas(kWidth, kHeight);
    QPainter p(&image);
    prepare(p);
    switch (backdrop) {
        case 0:
            sunburst(p, palette);
            break;
        case 1:
            glow(p, palette);
            break;
        case 2:
            dots(p, palette);
            break;
        default:
            stripes(p, palette);
            break;
    }
    Prng random(1000u + static_cast<unsigned>(number));
    double size = 600;
    if (arrangement == 1)
        scatterConfetti(p, palette.motif, random);
    if (arrangement == 2) {
        ringOfSparkles(p, palette.motif);
        size = 520;
    }
    paintMotif(p, motif, QPointF(kWidth / 2.0, kHeight / 2.0), size, palette.motif, round);
    return image;
}

}  // namespace mediagen

#include "picturematch.h"

#include <algorithm>
#include <cmath>

namespace qvtest {
namespace {

// Grey levels a JPEG of quality 90 may move a pixel's brightness at a sharp
// edge, and a block's mean colour; a colour or brightness that a viewer would
// call different moves both far more.
constexpr double kBrightnessTolerance = 24.0;
constexpr double kBlockColourTolerance = 12.0;
constexpr int kBlock = 8;

double brightness(QRgb c) {
    return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
}

}  // namespace

QString jpegMismatch(const QImage& expected, const QImage& actual) {
    if (expected.size() != actual.size())
        return QStringLiteral("sizes %1x%2 and %3x%4")
            .arg(expected.width())
            .arg(expected.height())
            .arg(actual.width())
            .arg(actual.height());
    const QImage a = expected.convertToFormat(QImage::Format_RGB32);
    const QImage b = actual.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const double d = std::abs(brightness(a.pixel(x, y)) - brightness(b.pixel(x, y)));
            if (d > kBrightnessTolerance)
                return QStringLiteral("pixel %1,%2: brightness differs by %3")
                    .arg(x)
                    .arg(y)
                    .arg(d, 0, 'f', 1);
        }
    }
    // Blocks overlap by half, so that no difference hides across a block edge.
    for (int by = 0; by + kBlock <= a.height(); by += kBlock / 2) {
        for (int bx = 0; bx + kBlock <= a.width(); bx += kBlock / 2) {
            double sums[3] = {0, 0, 0};
            for (int y = by; y < by + kBlock; ++y) {
                for (int x = bx; x < bx + kBlock; ++x) {
                    const QRgb p = a.pixel(x, y);
                    const QRgb q = b.pixel(x, y);
                    sums[0] += qRed(p) - qRed(q);
                    sums[1] += qGreen(p) - qGreen(q);
                    sums[2] += qBlue(p) - qBlue(q);
                }
            }
            const double worst =
                std::max({std::abs(sums[0]), std::abs(sums[1]), std::abs(sums[2])}) /
                (kBlock * kBlock);
            if (worst > kBlockColourTolerance)
                return QStringLiteral("block at %1,%2: mean colour differs by %3")
                    .arg(bx)
                    .arg(by)
                    .arg(worst, 0, 'f', 1);
        }
    }
    return {};
}

}  // namespace qvtest

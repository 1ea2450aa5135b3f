#include "colourjudge.h"

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace colourjudge {
namespace {

struct Lab {
    double l, a, b;
};

Lab toLab(const QColor& c) {
    auto linear = [](int v) {
        const double u = v / 255.0;
        return u <= 0.04045 ? u / 12.92 : std::pow((u + 0.055) / 1.055, 2.4);
    };
    const double r = linear(c.red()), g = linear(c.green()), b = linear(c.blue());
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

struct Named {
    const char* name;
    QColor typical;
};

// What a child is shown as each colour in a picture book: the focal, most typical
// shade of each name.
const std::array<Named, 11> kTypical = {{
    {"black", QColor(20, 20, 20)},
    {"blue", QColor(20, 70, 200)},
    {"brown", QColor(120, 70, 30)},
    {"gray", QColor(128, 128, 128)},
    {"green", QColor(30, 150, 60)},
    {"orange", QColor(250, 130, 0)},
    {"pink", QColor(250, 150, 190)},
    {"purple", QColor(120, 40, 160)},
    {"red", QColor(200, 20, 30)},
    {"white", QColor(250, 250, 250)},
    {"yellow", QColor(250, 220, 0)},
}};

bool nearWhite(QRgb p) {
    return qRed(p) >= 225 && qGreen(p) >= 225 && qBlue(p) >= 225;
}

}  // namespace

QString nearestName(const QColor& colour, double* distance) {
    const Lab c = toLab(colour);
    double best = std::numeric_limits<double>::max();
    QString name;
    for (const Named& n : kTypical) {
        const Lab t = toLab(n.typical);
        const double d = std::hypot(c.l - t.l, c.a - t.a, c.b - t.b);
        if (d < best)
            best = d, name = QString::fromLatin1(n.name);
    }
    if (distance)
        *distance = best;
    return name;
}

QColor dominantNonWhite(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    struct Bin {
        long count = 0;
        long r = 0, g = 0, b = 0;
    };
    std::vector<Bin> bins(8 * 8 * 8);
    for (int y = 0; y < image.height(); y += 2) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb p = row[x];
            if (nearWhite(p))
                continue;
            Bin& bin = bins[static_cast<std::size_t>((qRed(p) / 32) * 64 + (qGreen(p) / 32) * 8 +
                                                     qBlue(p) / 32)];
            ++bin.count, bin.r += qRed(p), bin.g += qGreen(p), bin.b += qBlue(p);
        }
    }
    const Bin* fullest = &bins[0];
    for (const Bin& bin : bins) {
        if (bin.count > fullest->count)
            fullest = &bin;
    }
    if (fullest->count == 0)
        return QColor(Qt::white);
    return QColor(static_cast<int>(fullest->r / fullest->count),
                  static_cast<int>(fullest->g / fullest->count),
                  static_cast<int>(fullest->b / fullest->count));
}

QColor patchMean(const QImage& image, QPoint centre, int halfSide) {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = centre.y() - halfSide; y <= centre.y() + halfSide; ++y) {
        for (int x = centre.x() - halfSide; x <= centre.x() + halfSide; ++x) {
            const QRgb p = image.pixel(x, y);
            r += qRed(p), g += qGreen(p), b += qBlue(p), ++n;
        }
    }
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

double thumbnailDifference(const QImage& a, const QImage& b) {
    const QSize thumb(24, 24);
    const QImage ta = a.scaled(thumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
    const QImage tb = b.scaled(thumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < thumb.height(); ++y) {
        for (int x = 0; x < thumb.width(); ++x) {
            const QRgb p = ta.pixel(x, y), q = tb.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * thumb.width() * thumb.height());
}

}  // namespace colourjudge

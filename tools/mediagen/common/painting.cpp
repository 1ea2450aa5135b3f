#include "common/painting.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/prng.h"

namespace mediagen {

QImage canvas(int width, int height, QColor fill, int scale) {
    QImage image(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    image.setDevicePixelRatio(scale);
    return image;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

QFont letteringFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    auto lerp = [t](double x, double y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

void drawLettering(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                   const QColor& fill, const QColor& outline, double outlineWidth) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    // Centre on the ink, not on the font's line box, so that capitals sit in the middle.
    const QFontMetricsF metrics(font);
    const double inkTop = -metrics.capHeight();
    const double x = box.center().x() - bounds.center().x();
    const double y = box.center().y() - inkTop / 2.0;
    path.translate(x, y);
    painter.save();
    if (outline.alpha() > 0 && outlineWidth > 0) {
        painter.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(path);
    painter.restore();
}

namespace {

// One horizontal and one vertical running-sum pass over premultiplied ARGB.
void boxPass(QImage& image, int radius, bool horizontal) {
    const int w = image.width();
    const int h = image.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    std::vector<int> sums(4);
    std::vector<QRgb> line(static_cast<std::size_t>(length));
    const int window = 2 * radius + 1;
    for (int l = 0; l < lines; ++l) {
        auto at = [&](int i) -> QRgb* {
            return horizontal ? reinterpret_cast<QRgb*>(image.scanLine(l)) + i
                              : reinterpret_cast<QRgb*>(image.scanLine(i)) + l;
        };
        for (int i = 0; i < length; ++i)
            line[static_cast<std::size_t>(i)] = *at(i);
        auto pixel = [&](int i) {
            return line[static_cast<std::size_t>(std::clamp(i, 0, length - 1))];
        };
        int a = 0, r = 0, g = 0, b = 0;
        for (int i = -radius; i <= radius; ++i) {
            const QRgb p = pixel(i);
            a += qAlpha(p), r += qRed(p), g += qGreen(p), b += qBlue(p);
        }
        for (int i = 0; i < length; ++i) {
            *at(i) = qRgba(r / window, g / window, b / window, a / window);
            const QRgb out = pixel(i - radius);
            const QRgb in = pixel(i + radius + 1);
            a += qAlpha(in) - qAlpha(out);
            r += qRed(in) - qRed(out);
            g += qGreen(in) - qGreen(out);
            b += qBlue(in) - qBlue(out);
        }
    }
}

}  // namespace

void blur(QImage& image, int radius) {
    if (radius < 1)
        return;
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(image, radius, true);
        boxPass(image, radius, false);
    }
}

void softShadow(QPainter& painter, const QPainterPath& path, const QPointF& offset, double softness,
                const QColor& colour) {
    // Work at a quarter of the size: a blurred shadow has no fine detail to lose.
    const double scale = 0.25;
    const QRectF area =
        path.boundingRect().adjusted(-3 * softness, -3 * softness, 3 * softness, 3 * softness);
    const int w = std::max(1, static_cast<int>(std::ceil(area.width() * scale)));
    const int h = std::max(1, static_cast<int>(std::ceil(area.height() * scale)));
    QImage small(w, h, QImage::Format_ARGB32_Premultiplied);
    small.fill(Qt::transparent);
    {
        QPainter p(&small);
        prepare(p);
        p.scale(scale, scale);
        p.translate(-area.topLeft());
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(path);
    }
    blur(small, std::max(1, static_cast<int>(std::lround(softness * scale / 2.0))));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(area.translated(offset), small);
    painter.restore();
}

void grain(QPainter& painter, const QPainterPath& path, std::uint32_t seed, int strength,
           int grainSize) {
    const QRectF area = path.boundingRect();
    const int cell = std::max(1, grainSize);
    const int w = std::max(1, static_cast<int>(std::ceil(area.width() / cell)) + 1);
    const int h = std::max(1, static_cast<int>(std::ceil(area.height() / cell)) + 1);
    QImage dots(w, h, QImage::Format_ARGB32_Premultiplied);
    Prng random(seed);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(dots.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // Centred noise: half the dots lighten, half darken, by up to strength.
            const int v = static_cast<int>(random.unit() * 2 * strength) - strength;
            const int alpha = std::abs(v);
            const int level = v > 0 ? alpha : 0;  // premultiplied white or black
            row[x] = qRgba(level, level, level, alpha);
        }
    }
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, cell > 1);
    painter.drawImage(QRectF(area.topLeft(), QSizeF(w * cell, h * cell)), dots);
    painter.restore();
}

QColor pastel(const QColor& colour, double amount) {
    return mix(colour, Qt::white, amount);
}

}  // namespace mediagen

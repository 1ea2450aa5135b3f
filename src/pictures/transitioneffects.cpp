#include "transitioneffects.h"

#include <QBrush>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace qv {

namespace {

enum class Look {
    WipeFromLeft,
    WipeFromRight,
    WipeFromTop,
    WipeFromBottom,
    BarnDoorsSideways,
    BarnDoorsUpDown,
    IrisCircle,
    IrisDiamond,
    HorizontalBlinds,
    VerticalBlinds,
    Checkerboard,
    RandomDissolve,
    CrossFade,
    ZoomIn,
    PushLeft,
    PushUp,
    ClockWipe,
    Spiral,
    DiagonalWipe,
    BoxIn,
    BoxOut,
    CoverFromRight,
};

struct EffectEntry {
    int number;
    Look look;
    const char* name;
};

// One look per number. The numbers are those the game draws its effects from.
constexpr std::array<EffectEntry, 22> kEffects{{
    {5, Look::WipeFromLeft, "wipe from left"},
    {9, Look::WipeFromRight, "wipe from right"},
    {18, Look::WipeFromTop, "wipe from top"},
    {21, Look::WipeFromBottom, "wipe from bottom"},
    {25, Look::BarnDoorsSideways, "barn doors sideways"},
    {27, Look::BarnDoorsUpDown, "barn doors up and down"},
    {29, Look::IrisCircle, "iris circle"},
    {33, Look::IrisDiamond, "iris diamond"},
    {45, Look::HorizontalBlinds, "horizontal blinds"},
    {68, Look::VerticalBlinds, "vertical blinds"},
    {72, Look::Checkerboard, "checkerboard"},
    {74, Look::RandomDissolve, "random dissolve"},
    {76, Look::CrossFade, "cross-fade"},
    {77, Look::ZoomIn, "zoom in"},
    {28, Look::PushLeft, "push left"},
    {78, Look::PushUp, "push up"},
    {95, Look::ClockWipe, "clock wipe"},
    {98, Look::Spiral, "spiral"},
    {104, Look::DiagonalWipe, "diagonal wipe"},
    {107, Look::BoxIn, "box in"},
    {110, Look::BoxOut, "box out"},
    {111, Look::CoverFromRight, "cover from right"},
}};

constexpr int kCrossFadeNumber = 76;

const EffectEntry& entryFor(int effect) {
    for (const EffectEntry& entry : kEffects) {
        if (entry.number == effect)
            return entry;
    }
    for (const EffectEntry& entry : kEffects) {
        if (entry.number == kCrossFadeNumber)
            return entry;
    }
    return kEffects.front();
}

// Both pictures are drawn as unscaled blits of sub-rectangles wherever the
// look allows it: that is by far the cheapest thing the raster engine does.
class FramePainter {
public:
    FramePainter(QPainter& painter, QRect target, const QImage& from, const QImage& to)
        : p_(painter), target_(target), from_(fitted(from)), to_(fitted(to)) {}

    QRect target() const { return target_; }
    int width() const { return target_.width(); }
    int height() const { return target_.height(); }

    // The new picture inside `shown`, the old one everywhere else.
    void split(const QRegion& shown) {
        const QRegion clipped = shown.intersected(target_);
        blitRegion(to_, clipped);
        blitRegion(from_, QRegion(target_).subtracted(clipped));
    }

    // The same for shapes that are not made of rectangles.
    void split(const QPainterPath& shown) {
        if (!to_.isNull())
            p_.fillPath(shown, textureOf(to_));
        if (!from_.isNull()) {
            QPainterPath rest;
            rest.setFillRule(Qt::OddEvenFill);
            rest.addRect(target_);
            rest.addPath(shown);
            p_.fillPath(rest, textureOf(from_));
        }
    }

    // Draws the part of a picture that belongs at `area` (target coordinates).
    void blit(const QImage& image, QRect area) {
        area &= target_;
        if (image.isNull() || area.isEmpty())
            return;
        p_.drawImage(area.topLeft(), image, area.translated(-target_.topLeft()));
    }

    // Draws the picture's part `source` (picture coordinates) at `at`.
    void blitFrom(const QImage& image, QRect source, QPoint at) {
        if (image.isNull() || source.isEmpty())
            return;
        p_.drawImage(at, image, source);
    }

    void blitRegion(const QImage& image, const QRegion& region) {
        if (image.isNull())
            return;
        for (const QRect& r : region)
            blit(image, r);
    }

    QPainter& painter() { return p_; }
    const QImage& from() const { return from_; }
    const QImage& to() const { return to_; }

private:
    QImage fitted(const QImage& image) const {
        if (image.isNull() || image.size() == target_.size())
            return image;
        return image.scaled(target_.size());
    }

    QBrush textureOf(const QImage& image) const {
        QBrush brush(image);
        brush.setTransform(QTransform::fromTranslate(target_.x(), target_.y()));
        return brush;
    }

    QPainter& p_;
    QRect target_;
    QImage from_;
    QImage to_;
};

int scaled(int length, double progress) {
    return static_cast<int>(std::lround(length * progress));
}

QRect centredRect(QRect target, double progress) {
    const int w = scaled(target.width(), progress);
    const int h = scaled(target.height(), progress);
    return QRect(target.x() + (target.width() - w) / 2, target.y() + (target.height() - h) / 2, w,
                 h);
}

void wipe(FramePainter& f, Look look, double progress) {
    const QRect t = f.target();
    const int dx = scaled(t.width(), progress);
    const int dy = scaled(t.height(), progress);
    QRect shown;
    switch (look) {
        case Look::WipeFromLeft:
            shown = QRect(t.x(), t.y(), dx, t.height());
            break;
        case Look::WipeFromRight:
            shown = QRect(t.right() + 1 - dx, t.y(), dx, t.height());
            break;
        case Look::WipeFromTop:
            shown = QRect(t.x(), t.y(), t.width(), dy);
            break;
        default:
            shown = QRect(t.x(), t.bottom() + 1 - dy, t.width(), dy);
            break;
    }
    f.split(QRegion(shown));
}

void barnDoors(FramePainter& f, bool sideways, double progress) {
    const QRect t = f.target();
    QRect shown;
    if (sideways) {
        const int w = scaled(t.width(), progress);
        shown = QRect(t.x() + (t.width() - w) / 2, t.y(), w, t.height());
    } else {
        const int h = scaled(t.height(), progress);
        shown = QRect(t.x(), t.y() + (t.height() - h) / 2, t.width(), h);
    }
    f.split(QRegion(shown));
}

constexpr int kSlats = 10;

void blinds(FramePainter& f, bool horizontal, double progress) {
    const QRect t = f.target();
    const int length = horizontal ? t.height() : t.width();
    QRegion shown;
    for (int i = 0; i < kSlats; ++i) {
        const int start = length * i / kSlats;
        const int end = length * (i + 1) / kSlats;
        const int open = scaled(end - start, progress);
        shown += horizontal ? QRect(t.x(), t.y() + start, t.width(), open)
                            : QRect(t.x() + start, t.y(), open, t.height());
    }
    f.split(shown);
}

void checkerboard(FramePainter& f, double progress) {
    // Squares open from left to right; every other row is shifted by a square,
    // so the opening squares form a checkerboard until they close up.
    constexpr int kColumns = 8;
    constexpr int kRows = 6;
    const QRect t = f.target();
    const double square = double(t.width()) / kColumns;
    QRegion shown;
    for (int row = 0; row < kRows; ++row) {
        const int top = t.y() + t.height() * row / kRows;
        const int bottom = t.y() + t.height() * (row + 1) / kRows;
        const double shift = (row % 2) ? square : 0.0;
        for (int k = -1; k <= kColumns / 2; ++k) {
            const double start = shift + 2 * square * k;
            const int left = t.x() + static_cast<int>(std::lround(start));
            const int right = t.x() + static_cast<int>(std::lround(start + 2 * square * progress));
            shown += QRect(left, top, right - left, bottom - top);
        }
    }
    f.split(shown);
}

// A grid of blocks that turn over one by one in a fixed order.
constexpr int kGridColumns = 24;
constexpr int kGridRows = 18;
constexpr int kGridCells = kGridColumns * kGridRows;

using CellOrder = std::array<int, kGridCells>;

CellOrder makeDissolveOrder() {
    CellOrder order;
    std::iota(order.begin(), order.end(), 0);
    // Fisher-Yates on a fixed-seed xorshift: the same order on every platform
    // and every run, unlike std::shuffle whose algorithm is unspecified.
    quint32 state = 0x2545F491u;
    for (int i = kGridCells - 1; i > 0; --i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        std::swap(order[i], order[state % quint32(i + 1)]);
    }
    return order;
}

CellOrder makeSpiralOrder() {
    // Clockwise from the top-left corner, ring by ring towards the middle.
    CellOrder order;
    int n = 0;
    int left = 0, top = 0, right = kGridColumns - 1, bottom = kGridRows - 1;
    while (left <= right && top <= bottom) {
        for (int c = left; c <= right; ++c)
            order[n++] = top * kGridColumns + c;
        for (int r = top + 1; r <= bottom; ++r)
            order[n++] = r * kGridColumns + right;
        if (top < bottom) {
            for (int c = right - 1; c >= left; --c)
                order[n++] = bottom * kGridColumns + c;
        }
        if (left < right) {
            for (int r = bottom - 1; r > top; --r)
                order[n++] = r * kGridColumns + left;
        }
        ++left, ++top, --right, --bottom;
    }
    return order;
}

void cellsInOrder(FramePainter& f, const CellOrder& order, double progress) {
    const QRect t = f.target();
    const int turned = static_cast<int>(std::lround(kGridCells * progress));
    for (int k = 0; k < kGridCells; ++k) {
        const int column = order[k] % kGridColumns;
        const int row = order[k] / kGridColumns;
        const int left = t.width() * column / kGridColumns;
        const int right = t.width() * (column + 1) / kGridColumns;
        const int top = t.height() * row / kGridRows;
        const int bottom = t.height() * (row + 1) / kGridRows;
        const QRect cell(t.x() + left, t.y() + top, right - left, bottom - top);
        f.blit(k < turned ? f.to() : f.from(), cell);
    }
}

double halfDiagonal(QRect t) {
    return std::hypot(t.width(), t.height()) / 2.0 + 1.0;
}

void irisCircle(FramePainter& f, double progress) {
    const double r = halfDiagonal(f.target()) * progress;
    QPainterPath shown;
    shown.addEllipse(QRectF(f.target()).center(), r, r);
    f.split(shown);
}

void irisDiamond(FramePainter& f, double progress) {
    const QRect t = f.target();
    const QPointF c = QRectF(t).center();
    const double r = (t.width() + t.height()) / 2.0 * progress + 1.0 * (progress > 0);
    QPainterPath shown;
    shown.moveTo(c.x(), c.y() - r);
    shown.lineTo(c.x() + r, c.y());
    shown.lineTo(c.x(), c.y() + r);
    shown.lineTo(c.x() - r, c.y());
    shown.closeSubpath();
    f.split(shown);
}

void clockWipe(FramePainter& f, double progress) {
    const QRect t = f.target();
    const QPointF c = QRectF(t).center();
    const double r = halfDiagonal(t);
    QPainterPath shown;
    if (progress >= 1.0) {
        shown.addRect(t);
    } else if (progress > 0.0) {
        shown.moveTo(c);
        shown.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 90.0, -360.0 * progress);
        shown.closeSubpath();
    }
    f.split(shown);
}

void diagonalWipe(FramePainter& f, double progress) {
    const QRect t = f.target();
    const double d = (t.width() + t.height()) * progress + 1.0 * (progress > 0);
    QPainterPath shown;
    shown.moveTo(t.x(), t.y());
    shown.lineTo(t.x() + d, t.y());
    shown.lineTo(t.x(), t.y() + d);
    shown.closeSubpath();
    f.split(shown);
}

void boxIn(FramePainter& f, double progress) {
    f.split(QRegion(f.target()).subtracted(QRegion(centredRect(f.target(), 1.0 - progress))));
}

void crossFade(FramePainter& f, double progress) {
    QPainter& p = f.painter();
    const QPoint at = f.target().topLeft();
    if (!f.from().isNull()) {
        // Over an old picture the new one only needs to grow opaque; alone, the
        // old one fades out so that what lies behind comes through.
        if (f.to().isNull())
            p.setOpacity(1.0 - progress);
        p.drawImage(at, f.from());
    }
    if (!f.to().isNull()) {
        p.setOpacity(progress);
        p.drawImage(at, f.to());
    }
}

void zoomIn(FramePainter& f, double progress) {
    const QRect grown = centredRect(f.target(), progress);
    f.blitRegion(f.from(), QRegion(f.target()).subtracted(QRegion(grown)));
    if (!f.to().isNull() && !grown.isEmpty())
        f.painter().drawImage(grown, f.to());
}

void push(FramePainter& f, bool left, double progress) {
    const QRect t = f.target();
    const int w = t.width(), h = t.height();
    if (left) {
        const int moved = scaled(w, progress);
        f.blitFrom(f.from(), QRect(moved, 0, w - moved, h), t.topLeft());
        f.blitFrom(f.to(), QRect(0, 0, moved, h), QPoint(t.x() + w - moved, t.y()));
    } else {
        const int moved = scaled(h, progress);
        f.blitFrom(f.from(), QRect(0, moved, w, h - moved), t.topLeft());
        f.blitFrom(f.to(), QRect(0, 0, w, moved), QPoint(t.x(), t.y() + h - moved));
    }
}

void coverFromRight(FramePainter& f, double progress) {
    const QRect t = f.target();
    const int moved = scaled(t.width(), progress);
    f.blit(f.from(), QRect(t.x(), t.y(), t.width() - moved, t.height()));
    f.blitFrom(f.to(), QRect(0, 0, moved, t.height()), QPoint(t.x() + t.width() - moved, t.y()));
}

}  // namespace

std::span<const int> transitionEffectNumbers() {
    static const auto numbers = [] {
        std::array<int, kEffects.size()> n{};
        std::transform(kEffects.begin(), kEffects.end(), n.begin(),
                       [](const EffectEntry& e) { return e.number; });
        return n;
    }();
    return numbers;
}

const char* transitionEffectName(int effect) {
    return entryFor(effect).name;
}

int effectiveTransitionEffect(int effect) {
    return entryFor(effect).number;
}

void renderTransitionFrame(QPainter& painter, QRect target, const QImage& from, const QImage& to,
                           int effect, double progress) {
    if (target.isEmpty())
        return;
    progress = std::clamp(std::isnan(progress) ? 0.0 : progress, 0.0, 1.0);

    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    // Hard edges: anti-aliased shape edges would cost a full extra pass and are
    // gone a moment later anyway.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    FramePainter f(painter, target, from, to);

    static const CellOrder dissolveOrder = makeDissolveOrder();
    static const CellOrder spiralOrder = makeSpiralOrder();

    const Look look = entryFor(effect).look;
    switch (look) {
        case Look::WipeFromLeft:
        case Look::WipeFromRight:
        case Look::WipeFromTop:
        case Look::WipeFromBottom:
            wipe(f, look, progress);
            break;
        case Look::BarnDoorsSideways:
            barnDoors(f, true, progress);
            break;
        case Look::BarnDoorsUpDown:
            barnDoors(f, false, progress);
            break;
        case Look::IrisCircle:
            irisCircle(f, progress);
            break;
        case Look::IrisDiamond:
            irisDiamond(f, progress);
            break;
        case Look::HorizontalBlinds:
            blinds(f, true, progress);
            break;
        case Look::VerticalBlinds:
            blinds(f, false, progress);
            break;
        case Look::Checkerboard:
            checkerboard(f, progress);
            break;
        case Look::RandomDissolve:
            cellsInOrder(f, dissolveOrder, progress);
            break;
        case Look::CrossFade:
            crossFade(f, progress);
            break;
        case Look::ZoomIn:
            zoomIn(f, progress);
            break;
        case Look::PushLeft:
            push(f, true, progress);
            break;
        case Look::PushUp:
            push(f, false, progress);
            break;
        case Look::ClockWipe:
            clockWipe(f, progress);
            break;
        case Look::Spiral:
            cellsInOrder(f, spiralOrder, progress);
            break;
        case Look::DiagonalWipe:
            diagonalWipe(f, progress);
            break;
        case Look::BoxIn:
            boxIn(f, progress);
            break;
        case Look::BoxOut:
            f.split(QRegion(centredRect(target, progress)));
            break;
        case Look::CoverFromRight:
            coverFromRight(f, progress);
            break;
    }
    painter.restore();
}

}  // namespace qv

#include "transitionpicture.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "focusring.h"
#include "timing/clock.h"
#include "transitioneffects.h"

namespace qv {

namespace {

// A picture scaled for an area of the control, kept until the picture or the
// area changes, so that painting a frame never scales. The copy has exactly
// the area's size (in the screen's pixels). A picture that fills the area in
// points fills it in pixels too, whatever the rounding; a picture of other
// proportions (the one a transition starts from may differ from the one it
// brings in) is fitted inside it, centred, with transparent margins.
struct ScaledCopy {
    qint64 sourceKey = 0;
    QSize size;
    bool filled = false;
    QImage image;

    const QImage& of(const QImage& source, QSize wanted, bool fill) {
        if (source.isNull() || wanted.isEmpty()) {
            image = QImage();
            sourceKey = 0;
            size = QSize();
            return image;
        }
        if (sourceKey != source.cacheKey() || size != wanted || filled != fill || image.isNull()) {
            image = scaledInto(source, wanted, fill);
            sourceKey = source.cacheKey();
            size = wanted;
            filled = fill;
        }
        return image;
    }

private:
    static QImage scaledInto(const QImage& source, QSize wanted, bool fill) {
        const QRect fitted = fittedPictureRect(source.size(), QRect(QPoint(0, 0), wanted));
        if (fill || fitted.size() == wanted) {
            // RGB32 (or premultiplied ARGB for pictures with alpha) is what the
            // raster engine blits fastest onto a widget's backing store.
            const QImage::Format format = source.hasAlphaChannel()
                                              ? QImage::Format_ARGB32_Premultiplied
                                              : QImage::Format_RGB32;
            return source.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(format);
        }
        QImage canvas(wanted, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(fitted, source);
        return canvas;
    }
};

// Whether a picture fills an area of the given size in points, which the
// area's own picture always does.
bool fillsArea(const QImage& picture, QSize area) {
    return !picture.isNull() &&
           fittedPictureRect(picture.size(), QRect(QPoint(0, 0), area)).size() == area;
}

}  // namespace

QRect fittedPictureRect(QSize picture, QRect area, Qt::Alignment alignment) {
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const QSize fitted = picture.scaled(area.size(), Qt::KeepAspectRatio);
    const int spareX = area.width() - fitted.width();
    const int spareY = area.height() - fitted.height();
    const int x = alignment & Qt::AlignLeft ? 0 : alignment & Qt::AlignRight ? spareX : spareX / 2;
    const int y = alignment & Qt::AlignTop ? 0 : alignment & Qt::AlignBottom ? spareY : spareY / 2;
    return {area.x() + x, area.y() + y, fitted.width(), fitted.height()};
}

struct TransitionPicture::Private {
    explicit Private(Clock& c) : clock(c) {}

    Clock& clock;
    QImage picture;
    int effect = 0;
    int speed = 10;
    bool armed = false;
    Qt::Alignment alignment = Qt::AlignCenter;

    // The running transition, if any.
    bool running = false;
    QImage previous;  // the picture the transition starts from
    qint64 startMs = 0;
    qint64 durationMs = 0;
    Clock::CallbackId frameCallback = 0;
    // The end of a transition, posted as a window event.
    Clock::CallbackId finishedEvent = 0;

    ScaledCopy scaledPicture;
    ScaledCopy scaledPrevious;

    double progress() const {
        if (durationMs <= 0)
            return 1.0;
        return std::clamp(double(clock.nowMs() - startMs) / double(durationMs), 0.0, 1.0);
    }

    void stop() {
        clock.cancel(frameCallback);
        frameCallback = 0;
        clock.cancel(finishedEvent);
        finishedEvent = 0;
        running = false;
        previous = QImage();
        scaledPrevious = ScaledCopy();
    }
};

TransitionPicture::TransitionPicture(Clock& clock, QWidget* parent)
    : QWidget(parent), d(std::make_unique<Private>(clock)) {}

TransitionPicture::~TransitionPicture() {
    d->stop();
}

QImage TransitionPicture::picture() const {
    return d->picture;
}

void TransitionPicture::setPicture(const QImage& picture) {
    QImage shownBefore = d->picture;
    d->stop();
    d->picture = picture;

    if (d->armed) {
        // The old picture's scaled copy becomes the transition's starting point;
        // swapping it over saves scaling it again.
        d->previous = shownBefore;
        std::swap(d->scaledPrevious, d->scaledPicture);
        d->running = true;
        d->startMs = d->clock.nowMs();
        d->durationMs = durationMs(d->speed);
        d->frameCallback = d->clock.callAfter(
            std::min<qint64>(kFrameMs, d->durationMs), [this] { nextFrame(); },
            Clock::WhileHeld::Run);
    }
    update();
}

void TransitionPicture::nextFrame() {
    d->frameCallback = 0;
    const qint64 elapsed = d->clock.nowMs() - d->startMs;
    if (elapsed < d->durationMs) {
        // The last frame lands exactly on the end, so the event comes after the
        // full duration and no later than one frame beyond it.
        d->frameCallback = d->clock.callAfter(
            std::min<qint64>(kFrameMs, d->durationMs - elapsed), [this] { nextFrame(); },
            Clock::WhileHeld::Run);
        update();
        return;
    }
    d->stop();
    update();
    // Frames run even while a sound is waited on; the end is a window event
    // and waits its turn. A later assignment supersedes it.
    d->finishedEvent = d->clock.post([this] {
        d->finishedEvent = 0;
        emit transitionFinished();
    });
}

int TransitionPicture::effectNumber() const {
    return d->effect;
}
void TransitionPicture::setEffectNumber(int effect) {
    d->effect = effect;
}

int TransitionPicture::effectSpeed() const {
    return d->speed;
}
void TransitionPicture::setEffectSpeed(int speed) {
    d->speed = speed;
}

bool TransitionPicture::armed() const {
    return d->armed;
}
void TransitionPicture::setArmed(bool armed) {
    d->armed = armed;
}

bool TransitionPicture::transitionRunning() const {
    return d->running;
}

Qt::Alignment TransitionPicture::pictureAlignment() const {
    return d->alignment;
}

void TransitionPicture::setPictureAlignment(Qt::Alignment alignment) {
    d->alignment = alignment;
    update();
}

QRect TransitionPicture::pictureArea() const {
    const QImage& shown = d->picture.isNull() && d->running ? d->previous : d->picture;
    return fittedPictureRect(shown.size(), rect(), d->alignment);
}

int TransitionPicture::durationMs(int speed) {
    return std::clamp(speed, kMinSpeed, kMaxSpeed) * kMsPerSpeedUnit;
}

void TransitionPicture::paintEvent(QPaintEvent*) {
    const QRect area = pictureArea();
    QPainter painter(this);
    if (!area.isEmpty()) {
        painter.save();
        paintPicture(painter, area);
        painter.restore();
    }
    if (hasFocus()) {
        const QRect ring = area.isEmpty() ? rect() : area;
        drawFocusRing(painter, ring, focusRingThickness(ring.size()));
    }
}

void TransitionPicture::paintPicture(QPainter& painter, const QRect& area) {
    // On a scaled screen the picture is drawn in the screen's own pixels, so
    // that it is as sharp as the text beside it. The area's edges go to the
    // nearest pixel edge, as the toolkit rounds the edges of the controls
    // themselves: two pictures that meet in points meet in pixels.
    const QTransform toScreen = painter.deviceTransform();
    const bool scaled = toScreen.m11() != 1.0 || toScreen.m22() != 1.0;
    QRect target = area;
    if (scaled) {
        const QRectF exact = toScreen.mapRect(QRectF(area));
        target = QRect(QPoint(int(std::lround(exact.left())), int(std::lround(exact.top()))),
                       QPoint(int(std::lround(exact.right())), int(std::lround(exact.bottom()))) -
                           QPoint(1, 1));
        painter.setWorldTransform(toScreen.inverted(), true);
    }
    const QImage& current =
        d->scaledPicture.of(d->picture, target.size(), fillsArea(d->picture, area.size()));
    if (!d->running) {
        painter.drawImage(target.topLeft(), current);
        return;
    }
    const QImage& previous =
        d->scaledPrevious.of(d->previous, target.size(), fillsArea(d->previous, area.size()));
    renderTransitionFrame(painter, target, previous, current, d->effect, d->progress());
}

void TransitionPicture::mousePressEvent(QMouseEvent* event) {
    // Taking the press makes the matching release come here.
    if (event->button() == Qt::LeftButton) {
        event->accept();
    } else {
        QWidget::mousePressEvent(event);
    }
}

void TransitionPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    // The whole control is what is clicked, not only the picture drawn in it:
    // a child's near miss beside a picture of other proportions than its
    // control still lands on that picture.
    if (isEnabled() && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace qv

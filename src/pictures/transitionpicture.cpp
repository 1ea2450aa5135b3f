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
// the area's size; a picture of other proportions (the one a transition
// starts from may differ from the one it brings in) is fitted inside it,
// centred, with transparent margins.
struct ScaledCopy {
    qint64 sourceKey = 0;
    QSize size;
    QImage image;

    const QImage& of(const QImage& source, QSize wanted) {
        if (source.isNull() || wanted.isEmpty()) {
            image = QImage();
            sourceKey = 0;
            size = QSize();
            return image;
        }
        if (sourceKey != source.cacheKey() || size != wanted || image.isNull()) {
            image = scaledInto(source, wanted);
            sourceKey = source.cacheKey();
            size = wanted;
        }
        return image;
    }

private:
    static QImage scaledInto(const QImage& source, QSize wanted) {
        const QRect fitted = fittedPictureRect(source.size(), QRect(QPoint(0, 0), wanted));
        if (fitted.size() == wanted) {
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

}  // namespace

QRect onScreenPixels(QRect area, qreal ratio) {
    const int left = int(std::lround(area.x() * ratio));
    const int top = int(std::lround(area.y() * ratio));
    const int right = int(std::lround((area.x() + area.width()) * ratio));
    const int bottom = int(std::lround((area.y() + area.height()) * ratio));
    return {left, top, right - left, bottom - top};
}

QRect fittedPictureRect(QSize picture, QRect area) {
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const QSize fitted = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return {area.x() + (area.width() - fitted.width()) / 2,
            area.y() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height()};
}

struct TransitionPicture::Private {
    explicit Private(Clock& c) : clock(c) {}

    Clock& clock;
    QImage picture;
    int effect = 0;
    int speed = 10;
    bool armed = false;

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

QRect TransitionPicture::pictureArea() const {
    const QImage& shown = d->picture.isNull() && d->running ? d->previous : d->picture;
    return fittedPictureRect(shown.size(), rect());
}

int TransitionPicture::durationMs(int speed) {
    return std::clamp(speed, kMinSpeed, kMaxSpeed) * kMsPerSpeedUnit;
}

void TransitionPicture::paintEvent(QPaintEvent*) {
    const QRect area = pictureArea();
    QPainter painter(this);
    if (!area.isEmpty()) {
        // Pictures are scaled for the screen's pixels, not the window's
        // points: on a scaled screen a picture is as sharp as one drawn for it.
        const qreal ratio = devicePixelRatioF();
        const QRect pixels = ratio == 1.0 ? area : onScreenPixels(area, ratio);
        painter.save();
        painter.scale(1.0 / ratio, 1.0 / ratio);
        const QImage& current = d->scaledPicture.of(d->picture, pixels.size());
        if (d->running) {
            const QImage& previous = d->scaledPrevious.of(d->previous, pixels.size());
            renderTransitionFrame(painter, pixels, previous, current, d->effect, d->progress());
        } else {
            painter.drawImage(pixels.topLeft(), current);
        }
        painter.restore();
    }
    if (hasFocus()) {
        const QRect ring = area.isEmpty() ? rect() : area;
        drawFocusRing(painter, ring, focusRingThickness(ring.size()));
    }
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
    // A click beside the picture is a click on whatever lies behind it.
    const QRect target = d->picture.isNull() ? rect() : pictureArea();
    if (isEnabled() && target.contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace qv

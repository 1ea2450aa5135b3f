// Time per frame of every transition look, at the size of a learn picture in
// the design-size window and at a maximised full-HD window. The pictures are
// pre-scaled and in the formats the control keeps, and frames are drawn onto a
// premultiplied ARGB image as a widget's backing store would be.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "pictures/transitioneffects.h"

namespace {

QImage makePicture(QSize size, QColor a, QColor b) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, a);
    gradient.setColorAt(1, b);
    p.fillRect(image.rect(), gradient);
    p.setBrush(Qt::white);
    p.drawEllipse(image.rect().adjusted(size.width() / 4, size.height() / 4, -size.width() / 4,
                                        -size.height() / 4));
    return image;
}

double medianFrameMs(QImage& canvas, const QImage& from, const QImage& to, int effect) {
    constexpr int kFrames = 60;  // one second of animation, progress 0 to 1
    std::vector<double> times;
    times.reserve(kFrames);
    QPainter painter(&canvas);
    for (int i = 0; i < kFrames; ++i) {
        QElapsedTimer timer;
        timer.start();
        qv::renderTransitionFrame(painter, canvas.rect(), from, to, effect,
                                  double(i) / (kFrames - 1));
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + kFrames / 2, times.end());
    return times[kFrames / 2];
}

// Smooth scaling happens once per picture and size, on the first frame of a
// transition; it is timed apart from the frames.
double medianScaleMs(const QImage& source, QSize size) {
    constexpr int kRuns = 9;
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QImage scaled = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_RGB32);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

// With --frames DIR, writes a strip of five frames per look, to look at.
void writeFrameStrips(const QString& dir, const QImage& from, const QImage& to) {
    for (int effect : qv::transitionEffectNumbers()) {
        QImage strip(from.width() * 5 + 16, from.height(), QImage::Format_ARGB32_Premultiplied);
        strip.fill(Qt::transparent);
        QPainter painter(&strip);
        for (int i = 0; i < 5; ++i) {
            const QRect target(i * (from.width() + 4), 0, from.width(), from.height());
            qv::renderTransitionFrame(painter, target, from, to, effect, i / 4.0);
        }
        painter.end();
        strip.save(QStringLiteral("%1/effect%2.png").arg(dir).arg(effect));
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Frames are drawn into images; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QSize sizes[] = {{638, 483}, {1920, 1080}};
    if (argc == 3 && QByteArray(argv[1]) == "--frames") {
        writeFrameStrips(QString::fromLocal8Bit(argv[2]),
                         makePicture({240, 180}, Qt::red, Qt::blue),
                         makePicture({240, 180}, Qt::yellow, Qt::darkGreen));
        return 0;
    }

    std::printf("%-26s %6s %14s %14s\n", "effect", "number", "638x483 ms", "1920x1080 ms");
    std::vector<std::pair<QImage, QImage>> pictures;
    std::vector<QImage> canvases;
    for (QSize size : sizes) {
        pictures.emplace_back(makePicture(size, Qt::red, Qt::blue),
                              makePicture(size, Qt::yellow, Qt::darkGreen));
        canvases.emplace_back(size, QImage::Format_ARGB32_Premultiplied);
        canvases.back().fill(Qt::transparent);
    }
    double worst = 0;
    for (int effect : qv::transitionEffectNumbers()) {
        double ms[2];
        for (int s = 0; s < 2; ++s) {
            ms[s] = medianFrameMs(canvases[s], pictures[s].first, pictures[s].second, effect);
        }
        worst = std::max(worst, ms[1]);
        std::printf("%-26s %6d %14.3f %14.3f\n", qv::transitionEffectName(effect), effect, ms[0],
                    ms[1]);
    }
    std::printf("slowest median frame at 1920x1080: %.3f ms\n", worst);
    // A generated shape picture is 640 x 480; this is the one-off cost of
    // preparing it for a transition.
    const QImage source = makePicture({640, 480}, Qt::red, Qt::blue);
    for (QSize size : sizes) {
        std::printf("smooth scaling 640x480 to %dx%d (once per picture): %.3f ms\n", size.width(),
                    size.height(), medianScaleMs(source, size));
    }
    return 0;
}

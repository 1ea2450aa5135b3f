// The looks of the transition effects, drawn straight through the pure frame
// function: where each begins and ends, that each shows a frame of its own
// half-way, and that nothing is drawn outside the target.

#include <QPainter>
#include <QtTest>

#include <algorithm>

#include "catalogue/tables.h"
#include "pictures/transitioneffects.h"

namespace {

constexpr QSize kSize(96, 72);

// Pictures whose every pixel depends on its place, so that a look that moves
// the picture (push, zoom) cannot pass for one that only uncovers it.
QImage oldPicture() {
    QImage image(kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize.height(); ++y) {
        for (int x = 0; x < kSize.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2, y * 3, 40));
    }
    return image;
}

QImage newPicture() {
    QImage image(kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize.height(); ++y) {
        for (int x = 0; x < kSize.width(); ++x)
            image.setPixel(x, y, qRgb(200, 255 - x, y * 3));
    }
    return image;
}

// What lies behind the control: a colour no picture has.
const QColor kBackground(10, 250, 10);

QImage canvas(QSize size = kSize) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kBackground);
    return image;
}

QImage frame(const QImage& from, const QImage& to, int effect, double progress) {
    QImage image = canvas();
    QPainter painter(&image);
    qv::renderTransitionFrame(painter, image.rect(), from, to, effect, progress);
    return image;
}

// The canvas with a picture drawn plainly over it, or left bare for "nothing".
QImage plain(const QImage& picture) {
    QImage image = canvas();
    QPainter painter(&image);
    if (!picture.isNull())
        painter.drawImage(0, 0, picture);
    return image;
}

enum class Pair { OldToNew, NothingToNew, OldToNothing };

QImage fromOf(Pair pair) {
    return pair == Pair::NothingToNew ? QImage() : oldPicture();
}
QImage toOf(Pair pair) {
    return pair == Pair::OldToNothing ? QImage() : newPicture();
}

}  // namespace

Q_DECLARE_METATYPE(Pair)

class TestTransitionEffects : public QObject {
    Q_OBJECT

private slots:
    // Every effect the game draws has a look of its own, and there is no look
    // for a number it never draws.
    void effectTable() {
        const auto numbers = qv::transitionEffectNumbers();
        QList<int> looks(numbers.begin(), numbers.end());
        QList<int> drawn(qv::kEffectNumbers.begin(), qv::kEffectNumbers.end());
        std::sort(looks.begin(), looks.end());
        std::sort(drawn.begin(), drawn.end());
        QCOMPARE(looks, drawn);
    }

    void startsAtOldEndsAtNew_data() { pairsForEveryEffect(); }
    void startsAtOldEndsAtNew() {
        QFETCH(int, effect);
        QFETCH(Pair, pair);
        QCOMPARE(frame(fromOf(pair), toOf(pair), effect, 0.0), plain(fromOf(pair)));
        QCOMPARE(frame(fromOf(pair), toOf(pair), effect, 1.0), plain(toOf(pair)));
        // Progress outside 0..1 is held at the ends.
        QCOMPARE(frame(fromOf(pair), toOf(pair), effect, -0.5), plain(fromOf(pair)));
        QCOMPARE(frame(fromOf(pair), toOf(pair), effect, 7.0), plain(toOf(pair)));
    }

    void midwayFrameIsNeitherPicture_data() { pairsForEveryEffect(); }
    void midwayFrameIsNeitherPicture() {
        QFETCH(int, effect);
        QFETCH(Pair, pair);
        for (double progress : {0.25, 0.5, 0.75}) {
            const QImage mid = frame(fromOf(pair), toOf(pair), effect, progress);
            QVERIFY2(mid != plain(fromOf(pair)), qPrintable(QString::number(progress)));
            QVERIFY2(mid != plain(toOf(pair)), qPrintable(QString::number(progress)));
        }
    }

    void everyNumberHasALookOfItsOwn() {
        const auto numbers = qv::transitionEffectNumbers();
        QList<QImage> frames;
        for (int effect : numbers) {
            // Two moments, so that looks that meet at one moment still differ.
            QImage both(kSize.width(), kSize.height() * 2, QImage::Format_ARGB32_Premultiplied);
            QPainter painter(&both);
            const QRect top(QPoint(0, 0), kSize);
            const QRect bottom(QPoint(0, kSize.height()), kSize);
            qv::renderTransitionFrame(painter, top, oldPicture(), newPicture(), effect, 0.3);
            qv::renderTransitionFrame(painter, bottom, oldPicture(), newPicture(), effect, 0.6);
            painter.end();
            frames.append(both);
        }
        for (qsizetype i = 0; i < frames.size(); ++i) {
            for (qsizetype j = i + 1; j < frames.size(); ++j) {
                QVERIFY2(frames[i] != frames[j],
                         qPrintable(QStringLiteral("%1 looks like %2")
                                        .arg(qv::transitionEffectName(numbers[i]))
                                        .arg(qv::transitionEffectName(numbers[j]))));
            }
        }
    }

    void unknownNumberIsCrossFade_data() {
        QTest::addColumn<int>("effect");
        QTest::newRow("0") << 0;
        QTest::newRow("negative") << -5;
        QTest::newRow("between known numbers") << 6;
        QTest::newRow("largest 16-bit") << 32767;
    }
    void unknownNumberIsCrossFade() {
        QFETCH(int, effect);
        constexpr int kCrossFade = 76;
        QCOMPARE(qv::effectiveTransitionEffect(effect), kCrossFade);
        QCOMPARE(frame(oldPicture(), newPicture(), effect, 0.4),
                 frame(oldPicture(), newPicture(), kCrossFade, 0.4));
    }

    void drawsOnlyInsideTheTarget_data() { pairsForEveryEffect(); }
    void drawsOnlyInsideTheTarget() {
        QFETCH(int, effect);
        QFETCH(Pair, pair);
        const QRect target(QPoint(13, 7), kSize);
        QImage big = canvas(kSize + QSize(30, 20));
        QPainter painter(&big);
        qv::renderTransitionFrame(painter, target, fromOf(pair), toOf(pair), effect, 0.45);
        painter.end();

        QCOMPARE(big.copy(target), frame(fromOf(pair), toOf(pair), effect, 0.45));
        QImage outside = big;
        QPainter eraser(&outside);
        eraser.fillRect(target, kBackground);
        eraser.end();
        QCOMPARE(outside, canvas(big.size()));
    }

    void pictureOfAnotherSizeIsStretched() {
        // Callers should pass target-sized pictures; a wrong size must still
        // end on the whole new picture, not a corner of it.
        const QImage small = newPicture().scaled(kSize / 2);
        const QImage last = frame(oldPicture(), small, 5, 1.0);
        QCOMPARE(last, plain(small.scaled(kSize)));
    }

private:
    void pairsForEveryEffect() {
        QTest::addColumn<int>("effect");
        QTest::addColumn<Pair>("pair");
        const std::pair<Pair, const char*> pairs[] = {
            {Pair::OldToNew, "old to new"},
            {Pair::NothingToNew, "nothing to new"},
            {Pair::OldToNothing, "old to nothing"},
        };
        for (int effect : qv::transitionEffectNumbers()) {
            for (const auto& [pair, name] : pairs) {
                QTest::addRow("%d %s, %s", effect, qv::transitionEffectName(effect), name)
                    << effect << pair;
            }
        }
    }
};

QTEST_MAIN(TestTransitionEffects)
#include "test_transitioneffects.moc"

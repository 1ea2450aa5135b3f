// The transition picture control on the virtual clock: one transitionFinished
// per armed assignment and never one for an unarmed or superseded assignment,
// the duration of a transition, what the control shows, and its clicks.

#include <QSignalSpy>
#include <QtTest>

#include "pictures/transitioneffects.h"
#include "pictures/transitionpicture.h"
#include "support/virtualclock.h"

using qv::TransitionPicture;

namespace {

constexpr QSize kControlSize(80, 60);

QImage solid(QColor colour, QSize size = QSize(40, 30)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture with a left and a right half, so that a picture stretched into a
// corner or left unscaled shows up.
QImage halves(QColor left, QColor right) {
    QImage image = solid(left);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = image.width() / 2; x < image.width(); ++x)
            image.setPixel(x, y, right.rgb());
    }
    return image;
}

// What the control paints over a transparent background.
QImage shown(TransitionPicture& control) {
    QImage image(control.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    control.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// What the control paints on a screen with `ratio` device pixels to a point.
QImage shownAt(TransitionPicture& control, qreal ratio) {
    QImage image((QSizeF(control.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    control.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// One-pixel black and white columns: a picture scaled through fewer pixels
// than the screen has comes out grey.
QImage stripes(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    return image;
}

// How many neighbouring pixels along row y, from x0 to x1, differ from black
// to white or back.
int stripeEdges(const QImage& image, int y, int x0, int x1) {
    int edges = 0;
    for (int x = x0; x < x1; ++x) {
        if (qAbs(qGray(image.pixel(x, y)) - qGray(image.pixel(x + 1, y))) > 200)
            ++edges;
    }
    return edges;
}

bool allTransparent(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
        }
    }
    return true;
}

// The smallest rectangle holding every pixel the control painted.
QRect paintedArea(const QImage& image) {
    QRect painted;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                painted |= QRect(x, y, 1, 1);
        }
    }
    return painted;
}

struct Fixture {
    qvtest::VirtualClock clock;
    TransitionPicture control{clock};
    QSignalSpy finished{&control, &TransitionPicture::transitionFinished};

    Fixture() { control.resize(kControlSize); }

    void armedAssign(const QImage& picture, int effect = 5, int speed = 10) {
        control.setEffectNumber(effect);
        control.setEffectSpeed(speed);
        control.setArmed(true);
        control.setPicture(picture);
    }
};

}  // namespace

class TestTransitionPicture : public QObject {
    Q_OBJECT

private slots:
    void armedAssignmentFinishesOnceAfterItsDuration_data() {
        QTest::addColumn<int>("effect");
        for (int effect : qv::transitionEffectNumbers()) {
            QTest::addRow("%d %s", effect, qv::transitionEffectName(effect)) << effect;
        }
        QTest::newRow("unknown number") << 3;
    }
    void armedAssignmentFinishesOnceAfterItsDuration() {
        QFETCH(int, effect);
        Fixture f;
        f.control.setPicture(solid(Qt::red));
        f.armedAssign(solid(Qt::blue), effect);

        QCOMPARE(f.finished.count(), 0);  // never from inside setPicture
        QVERIFY(f.control.transitionRunning());
        f.clock.advance(TransitionPicture::durationMs(10) - 1);
        QCOMPARE(f.finished.count(), 0);
        f.clock.advance(1);
        QCOMPARE(f.finished.count(), 1);
        QVERIFY(!f.control.transitionRunning());
        f.clock.advance(60'000);
        QCOMPARE(f.finished.count(), 1);
        QCOMPARE(f.control.picture(), solid(Qt::blue));
    }

    void durationFollowsSpeed_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("expectedMs");
        QTest::newRow("1, fastest in the options") << 1 << 50;
        QTest::newRow("10, the default") << 10 << 500;
        QTest::newRow("40, slowest in the options") << 40 << 2000;
        QTest::newRow("0 counts as 1") << 0 << 50;
        QTest::newRow("negative counts as 1") << -7 << 50;
        QTest::newRow("huge is capped") << 32767 << 3000;
    }
    void durationFollowsSpeed() {
        QFETCH(int, speed);
        QFETCH(int, expectedMs);
        QCOMPARE(TransitionPicture::durationMs(speed), expectedMs);

        Fixture f;
        f.armedAssign(solid(Qt::blue), 29, speed);
        f.clock.advance(expectedMs - 1);
        QCOMPARE(f.finished.count(), 0);
        f.clock.advance(1);
        QCOMPARE(f.finished.count(), 1);
    }

    void lowerSpeedIsFaster() {
        int previous = 0;
        for (int speed : {1, 5, 10, 15, 20, 25, 30, 35, 40}) {
            QVERIFY2(TransitionPicture::durationMs(speed) > previous,
                     qPrintable(QString::number(speed)));
            previous = TransitionPicture::durationMs(speed);
        }
    }

    void unarmedAssignmentShowsAtOnceAndRaisesNothing() {
        Fixture f;
        f.control.setPicture(solid(Qt::red));
        const QImage red = shown(f.control);
        f.control.setPicture(solid(Qt::blue));
        QVERIFY(!f.control.transitionRunning());
        const QImage blue = shown(f.control);
        QVERIFY(blue != red);
        QCOMPARE(blue.pixel(kControlSize.width() - 1, kControlSize.height() - 1), qRgb(0, 0, 255));
        f.clock.advance(60'000);
        QCOMPARE(f.finished.count(), 0);
        QCOMPARE(shown(f.control), blue);
    }

    void laterAssignmentSupersedesRunningTransition_data() {
        QTest::addColumn<bool>("secondArmed");
        QTest::addColumn<bool>("secondIsClear");
        QTest::newRow("unarmed picture") << false << false;
        QTest::newRow("unarmed clear") << false << true;
        QTest::newRow("armed picture") << true << false;
    }
    void laterAssignmentSupersedesRunningTransition() {
        QFETCH(bool, secondArmed);
        QFETCH(bool, secondIsClear);
        Fixture f;
        const int duration = TransitionPicture::durationMs(10);
        f.armedAssign(solid(Qt::red));
        f.clock.advance(duration / 2);

        f.control.setArmed(secondArmed);
        f.control.setPicture(secondIsClear ? QImage() : solid(Qt::blue));
        QCOMPARE(f.control.transitionRunning(), secondArmed);
        // Past the first transition's end: it must never report.
        f.clock.advance(duration - 1);
        QCOMPARE(f.finished.count(), 0);
        f.clock.advance(60'000);
        QCOMPARE(f.finished.count(), secondArmed ? 1 : 0);
        if (secondIsClear)
            QVERIFY(allTransparent(shown(f.control)));
    }

    void supersededArmedTransitionStartsFromTheNewerPicture() {
        // Armed red over nothing, superseded half-way by armed blue: the blue
        // transition starts from red, so no frame shows the empty control.
        Fixture f;
        f.armedAssign(solid(Qt::red), 5);
        f.clock.advance(100);
        f.armedAssign(solid(Qt::blue), 5);
        f.clock.advance(TransitionPicture::durationMs(10) / 2);
        const QImage mid = shown(f.control);
        QCOMPARE(mid.pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(mid.pixel(kControlSize.width() - 1, 0), qRgb(255, 0, 0));
    }

    void runsWhetherOrNotVisible_data() {
        QTest::addColumn<bool>("visibleAtStart");
        QTest::addColumn<bool>("visibleHalfWay");
        QTest::newRow("hidden throughout") << false << false;
        QTest::newRow("visible throughout") << true << true;
        QTest::newRow("hidden, assigned, then shown") << false << true;
        QTest::newRow("hidden half-way") << true << false;
    }
    void runsWhetherOrNotVisible() {
        QFETCH(bool, visibleAtStart);
        QFETCH(bool, visibleHalfWay);
        Fixture f;
        f.control.setVisible(visibleAtStart);
        f.armedAssign(solid(Qt::blue));
        f.clock.advance(200);
        f.control.setVisible(visibleHalfWay);
        f.clock.advance(TransitionPicture::durationMs(10));
        QCOMPARE(f.finished.count(), 1);
    }

    void midwayShowsNeitherPicture_data() {
        QTest::addColumn<int>("effect");
        for (int effect : qv::transitionEffectNumbers()) {
            QTest::addRow("%d %s", effect, qv::transitionEffectName(effect)) << effect;
        }
    }
    void midwayShowsNeitherPicture() {
        QFETCH(int, effect);
        Fixture f;
        f.control.setPicture(halves(Qt::red, Qt::yellow));
        const QImage before = shown(f.control);
        f.armedAssign(halves(Qt::blue, Qt::white), effect);
        f.clock.advance(TransitionPicture::durationMs(10) / 2);
        const QImage mid = shown(f.control);
        f.clock.advance(TransitionPicture::durationMs(10));
        const QImage after = shown(f.control);

        QVERIFY(mid != before);
        QVERIFY(mid != after);
        QCOMPARE(after.pixel(kControlSize.width() - 1, kControlSize.height() - 1),
                 QColor(Qt::white).rgb());
    }

    // A picture keeps its proportions at every shape of the control: as large
    // as fits, centred, with nothing drawn beside it.
    void pictureKeepsItsProportions_data() {
        QTest::addColumn<QSize>("controlSize");
        QTest::addColumn<QRect>("area");
        QTest::newRow("same proportions") << kControlSize << QRect(0, 0, 80, 60);
        QTest::newRow("wide") << QSize(150, 40) << QRect(48, 0, 53, 40);
        QTest::newRow("tall") << QSize(20, 90) << QRect(0, 37, 20, 15);
    }
    void pictureKeepsItsProportions() {
        QFETCH(QSize, controlSize);
        QFETCH(QRect, area);
        Fixture f;
        f.control.resize(controlSize);
        f.control.setPicture(halves(Qt::red, Qt::blue));
        QCOMPARE(f.control.pictureArea(), area);
        const QImage image = shown(f.control);
        QCOMPARE(image.pixel(area.topLeft()), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(area.bottomRight()), qRgb(0, 0, 255));
        QCOMPARE(paintedArea(image), area);
    }

    // A picture of other proportions than its control keeps to the edges its
    // alignment names: the answer cards keep to the edge where they meet.
    void alignedPictureKeepsToItsEdges_data() {
        QTest::addColumn<QSize>("controlSize");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QRect>("area");
        const int bottom = Qt::AlignHCenter | Qt::AlignBottom;
        const int top = Qt::AlignHCenter | Qt::AlignTop;
        QTest::newRow("tall, to the bottom") << QSize(20, 90) << bottom << QRect(0, 75, 20, 15);
        QTest::newRow("tall, to the top") << QSize(20, 90) << top << QRect(0, 0, 20, 15);
        QTest::newRow("wide, to the bottom: across it is centred")
            << QSize(150, 40) << bottom << QRect(48, 0, 53, 40);
        QTest::newRow("wide, to the left")
            << QSize(150, 40) << int(Qt::AlignLeft | Qt::AlignVCenter) << QRect(0, 0, 53, 40);
        QTest::newRow("wide, to the right")
            << QSize(150, 40) << int(Qt::AlignRight | Qt::AlignVCenter) << QRect(97, 0, 53, 40);
    }
    void alignedPictureKeepsToItsEdges() {
        QFETCH(QSize, controlSize);
        QFETCH(int, alignment);
        QFETCH(QRect, area);
        Fixture f;
        f.control.resize(controlSize);
        f.control.setPictureAlignment(Qt::Alignment(alignment));
        f.control.setPicture(halves(Qt::red, Qt::blue));
        QCOMPARE(f.control.pictureArea(), area);
        QCOMPARE(paintedArea(shown(f.control)), area);
    }

    // On a scaled screen a picture is scaled for the screen's pixels, not for
    // the control's points: one-pixel stripes stay stripes, at rest and while
    // a transition brings them in.
    void drawnWithTheScreensPixels_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("comingIn");
        for (qreal ratio : {1.0, 1.5, 2.0}) {
            QTest::addRow("%.1f, at rest", ratio) << ratio << false;
            QTest::addRow("%.1f, coming in", ratio) << ratio << true;
        }
    }
    void drawnWithTheScreensPixels() {
        QFETCH(qreal, ratio);
        QFETCH(bool, comingIn);
        Fixture f;
        const QSize pixels = (QSizeF(kControlSize) * ratio).toSize();
        if (comingIn) {
            // Wiped in from the top: half-way, the top half is the new picture.
            f.armedAssign(stripes(pixels), 18);
            f.clock.advance(TransitionPicture::durationMs(10) / 2);
            QVERIFY(f.control.transitionRunning());
        } else {
            f.control.setPicture(stripes(pixels));
        }
        const QImage image = shownAt(f.control, ratio);
        QCOMPARE(image.size(), pixels);
        const int row = pixels.height() / 5;
        const int edges = stripeEdges(image, row, 0, pixels.width() - 1);
        QVERIFY2(
            edges >= (pixels.width() - 1) * 9 / 10,
            qPrintable(QStringLiteral("%1 stripe edges of %2").arg(edges).arg(pixels.width() - 1)));
    }

    // Every effect stays inside the picture's area at every moment and ends
    // covering all of it, also when it starts from a picture of other
    // proportions.
    void everyEffectCoversExactlyThePictureArea_data() {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QSize>("controlSize");
        QTest::addColumn<QImage>("from");
        for (int effect : qv::transitionEffectNumbers()) {
            const char* name = qv::transitionEffectName(effect);
            QTest::addRow("%d %s, wide, from nothing", effect, name)
                << effect << QSize(200, 60) << QImage();
            QTest::addRow("%d %s, tall, from nothing", effect, name)
                << effect << QSize(60, 200) << QImage();
            QTest::addRow("%d %s, wide, from a tall picture", effect, name)
                << effect << QSize(200, 60) << solid(Qt::green, QSize(30, 40));
        }
    }
    void everyEffectCoversExactlyThePictureArea() {
        QFETCH(int, effect);
        QFETCH(QSize, controlSize);
        QFETCH(QImage, from);
        Fixture f;
        f.control.resize(controlSize);
        f.control.setPicture(from);
        f.armedAssign(solid(Qt::red), effect);
        const QRect area = f.control.pictureArea();
        QCOMPARE(area, qv::fittedPictureRect(QSize(40, 30), QRect(QPoint(0, 0), controlSize)));
        const int duration = TransitionPicture::durationMs(10);
        for (int quarter = 1; quarter <= 4; ++quarter) {
            f.clock.advance(duration / 4);
            const QImage frame = shown(f.control);
            const QRect painted = paintedArea(frame);
            QVERIFY2(
                painted.isEmpty() || area.contains(painted),
                qPrintable(QStringLiteral("quarter %1 painted beside the picture").arg(quarter)));
        }
        QVERIFY(!f.control.transitionRunning());
        QCOMPARE(paintedArea(shown(f.control)), area);
        QCOMPARE(shown(f.control).pixel(area.center()), qRgb(255, 0, 0));
    }

    void nullPictureClears_data() {
        QTest::addColumn<bool>("armed");
        QTest::newRow("unarmed, at once") << false;
        QTest::newRow("armed, through the effect") << true;
    }
    void nullPictureClears() {
        QFETCH(bool, armed);
        Fixture f;
        f.control.setPicture(solid(Qt::red));
        f.control.setArmed(armed);
        f.control.setPicture(QImage());
        f.clock.advance(TransitionPicture::durationMs(10));
        QVERIFY(f.control.picture().isNull());
        QVERIFY(allTransparent(shown(f.control)));
        QCOMPARE(f.finished.count(), armed ? 1 : 0);
    }

    void emptyControlIsTransparent() {
        Fixture f;
        QVERIFY(allTransparent(shown(f.control)));
    }

    void clicks_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<QSize>("controlSize");
        QTest::addColumn<int>("expectedClicks");
        const QPoint inside(10, 10);
        QTest::newRow("enabled, left") << true << Qt::LeftButton << inside << kControlSize << 1;
        QTest::newRow("disabled, left") << false << Qt::LeftButton << inside << kControlSize << 0;
        QTest::newRow("enabled, right") << true << Qt::RightButton << inside << kControlSize << 0;
        QTest::newRow("released outside")
            << true << Qt::LeftButton << QPoint(200, 10) << kControlSize << 0;
        // The picture fills 40 to 120 of a 160-pixel-wide control: a click
        // beside it is still a click on the control.
        QTest::newRow("beside the picture")
            << true << Qt::LeftButton << QPoint(10, 10) << QSize(160, 60) << 1;
        QTest::newRow("beside the picture, disabled")
            << false << Qt::LeftButton << QPoint(10, 10) << QSize(160, 60) << 0;
        QTest::newRow("on the picture in a wide control")
            << true << Qt::LeftButton << QPoint(50, 10) << QSize(160, 60) << 1;
    }
    void clicks() {
        QFETCH(bool, enabled);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        QFETCH(QSize, controlSize);
        QFETCH(int, expectedClicks);
        Fixture f;
        f.control.resize(controlSize);
        f.control.setPicture(solid(Qt::red));
        f.control.setEnabled(enabled);
        f.control.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.control));
        QSignalSpy clicked(&f.control, &TransitionPicture::clicked);
        // Pressed where it is released, or, for a release outside, inside.
        const bool releasedInside = QRect(QPoint(0, 0), controlSize).contains(releaseAt);
        QTest::mousePress(&f.control, button, {}, releasedInside ? releaseAt : QPoint(50, 10));
        QTest::mouseRelease(&f.control, button, {}, releaseAt);
        QCOMPARE(clicked.count(), expectedClicks);
    }

    void destroyedMidTransitionLeavesNothingScheduled() {
        qvtest::VirtualClock clock;
        {
            TransitionPicture control(clock);
            control.setArmed(true);
            control.setPicture(solid(Qt::red));
            clock.advance(100);
        }
        QCOMPARE(clock.pendingCount(), 0);
    }
};

QTEST_MAIN(TestTransitionPicture)
#include "test_transitionpicture.moc"

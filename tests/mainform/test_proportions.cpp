// A circle stays round and a square stays square in every picture of the game
// window, at every window shape, while a picture comes in and once it is in.
// The background alone is stretched to the window.
#include <QMenuBar>
#include <QtTest>

#include <cmath>

#include "app/settings.h"
#include "pictures/pictureloader.h"
#include "pictures/transitionpicture.h"
#include "support/gamerig.h"
#include "ui/mainform/mainform.h"
#include "ui/mainform/stretchpicture.h"

using namespace qv;
using qvtest::GameRig;

namespace {

// The smallest rectangle holding every coloured pixel: the shape with its
// outline, without the white card around it or its grey shadow.
QRect colouredArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int chroma =
                std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            if (chroma > 16)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QImage shapePicture(const QString& stem) {
    const auto picture = loadPicture(QStringLiteral(QUORVEL_PROGRAM_DIR "/shapes/") + stem +
                                     QStringLiteral("red.jpg"));
    return picture.value_or(QImage());
}

}  // namespace

class TestProportions : public QObject {
    Q_OBJECT

private slots:
    void shapesKeepTheirProportions_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<int>("effect");
        QTest::addColumn<double>("progress");
        const QList<QSize> clients{{638, 483}, {1920, 1061}, {700, 1000}};
        // Cross-fade and zoom show the whole shape half-way; the iris circle
        // would make any picture look round, so the square goes through it.
        const QList<std::tuple<QString, int>> shapes{{"cir", 76}, {"squ", 29}, {"cir", 77}};
        for (const QSize& client : clients) {
            for (const char* control : {"Learnimage", "image0", "Image1", "image2", "image3"}) {
                for (const auto& [stem, effect] : shapes) {
                    for (double progress : {0.5, 1.0}) {
                        if (effect == 29 && progress < 1.0)
                            continue;
                        QTest::addRow("%dx%d %s %s effect %d at %.1f", client.width(),
                                      client.height(), control, qPrintable(stem), effect, progress)
                            << client << QString::fromLatin1(control) << stem << effect << progress;
                    }
                }
            }
        }
    }
    void shapesKeepTheirProportions() {
        QFETCH(QSize, client);
        QFETCH(QString, control);
        QFETCH(QString, stem);
        QFETCH(int, effect);
        QFETCH(double, progress);

        GameRig rig;
        mainform& game = rig.open(QStringLiteral("learnshapes"));
        game.showNormal();
        game.resize(client.width(), client.height() + game.menuBar()->height());
        QTRY_COMPARE(game.centralWidget()->size(), client);
        // A plain white window, so that only the shape is red.
        game.mainimage->setPicture(QImage());

        auto* picture = game.findChild<TransitionPicture*>(control);
        QVERIFY(picture);
        picture->setVisible(true);
        const QImage shape = shapePicture(stem);
        QVERIFY(!shape.isNull());
        picture->setEffectNumber(effect);
        picture->setEffectSpeed(10);
        picture->setArmed(true);
        picture->setPicture(shape);
        rig.program.clock.advance(qint64(TransitionPicture::durationMs(10) * progress));
        QCOMPARE(picture->transitionRunning(), progress < 1.0);

        const QImage drawn = game.centralWidget()->grab(picture->geometry()).toImage();
        const QRect area = colouredArea(drawn);
        const QRect fitted = picture->pictureArea();
        QVERIFY2(area.width() > fitted.width() / 4,
                 qPrintable(QStringLiteral("%1 px").arg(area.width())));
        const double ratio = double(area.width()) / double(area.height());
        QVERIFY2(ratio > 0.98 && ratio < 1.02,
                 qPrintable(QStringLiteral("drawn %1x%2 in a control of %3x%4")
                                .arg(area.width())
                                .arg(area.height())
                                .arg(picture->width())
                                .arg(picture->height())));
        // As large as fits, centred across; up and down the learn picture is
        // centred and the answer cards keep to the edge where the two rows meet.
        QVERIFY(fitted.width() == picture->width() || fitted.height() == picture->height());
        QVERIFY(qAbs(fitted.center().x() - picture->rect().center().x()) <= 1);
        if (control == QLatin1String("Learnimage"))
            QVERIFY(qAbs(fitted.center().y() - picture->rect().center().y()) <= 1);
        else if (control == QLatin1String("image0") || control == QLatin1String("Image1"))
            QCOMPARE(fitted.bottom(), picture->rect().bottom());
        else
            QCOMPARE(fitted.top(), 0);
    }

    // The answer cards' two rows meet where their design rectangles meet, at
    // any client size and on any scale of the screen: nothing of what lies
    // behind shows between them. (Across, the design leaves a gap.)
    void cardsMeetWhereTheRowsMeet_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<qreal>("ratio");
        const QList<QSize> clients{{638, 483},  {641, 489},  {1001, 706},
                                   {1283, 687}, {799, 1001}, {700, 1000}};
        for (const QSize& client : clients) {
            for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0})
                QTest::addRow("%dx%d at %.2f", client.width(), client.height(), ratio)
                    << client << ratio;
        }
    }
    void cardsMeetWhereTheRowsMeet() {
        QFETCH(QSize, client);
        QFETCH(qreal, ratio);
        GameRig rig(GameRig::withoutMusic({}));
        mainform& game = rig.open(QStringLiteral("playcolors"));
        game.showNormal();
        game.resize(client.width(), client.height() + game.menuBar()->height());
        QTRY_COMPARE(game.centralWidget()->size(), client);
        // Magenta behind the cards: any of it between them is a seam.
        QImage behind(16, 16, QImage::Format_RGB32);
        behind.fill(Qt::magenta);
        game.mainimage->setPicture(behind);
        // White cards with the proportions of the library's pictures.
        QImage card(900, 800, QImage::Format_RGB32);
        card.fill(Qt::white);
        for (TransitionPicture* picture : rig.answers()) {
            picture->setArmed(false);
            picture->setPicture(card);
            picture->setVisible(true);
        }

        QImage screen((QSizeF(client) * ratio).toSize(), QImage::Format_RGB32);
        screen.setDevicePixelRatio(ratio);
        game.centralWidget()->render(&screen);

        const auto inClient = [&](TransitionPicture* picture) {
            return picture->pictureArea().translated(picture->pos());
        };
        const std::array<std::pair<TransitionPicture*, TransitionPicture*>, 2> columns{
            {{game.image0, game.image2}, {game.Image1, game.image3}}};
        for (const auto& [top, bottom] : columns) {
            const QRect above = inClient(top);
            const QRect below = inClient(bottom);
            QCOMPARE(above.bottom() + 1, below.top());
            // Every screen pixel across both cards, three rows either side of
            // the line where they meet.
            const int left = int(std::ceil(std::max(above.left(), below.left()) * ratio));
            const int right = int(std::floor((std::min(above.right(), below.right()) + 1) * ratio));
            const int meet = int(std::lround(below.top() * ratio));
            for (int y = meet - 3; y < meet + 3; ++y) {
                for (int x = left + 1; x < right - 1; ++x) {
                    const QRgb pixel = screen.pixel(x, y);
                    QVERIFY2(qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245,
                             qPrintable(QStringLiteral("%1 at screen pixel %2,%3 between %4 and %5")
                                            .arg(QColor(pixel).name())
                                            .arg(x)
                                            .arg(y)
                                            .arg(top->objectName(), bottom->objectName())));
                }
            }
        }
    }

    // The background alone takes the window's shape.
    void theBackgroundIsStretched() {
        GameRig rig;
        mainform& game = rig.open(QStringLiteral("playshapes"));
        game.showNormal();
        game.resize(1920, 1061 + game.menuBar()->height());
        QTRY_COMPARE(game.centralWidget()->size(), QSize(1920, 1061));
        QImage quarters(40, 40, QImage::Format_RGB32);
        quarters.fill(Qt::blue);
        game.mainimage->setPicture(quarters);
        const QImage drawn = game.centralWidget()->grab().toImage();
        QCOMPARE(drawn.pixelColor(0, 20).blue(), 255);
        QCOMPARE(drawn.pixelColor(1919, 1040).blue(), 255);
    }
};

QTEST_MAIN(TestProportions)
#include "test_proportions.moc"

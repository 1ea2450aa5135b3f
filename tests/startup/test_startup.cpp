// Start-up: the first-run screen, its OK step, ordinary starts and failures.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>

#include "program/startprogram.h"
#include "support/testprogram.h"
#include "ui/about/aboutform.h"
#include "ui/firstpaint.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::TestProgram;

namespace {

const QStringList kDefaultsInOrder = {"True", "True",  "5",  "\\shapes\\", "True", "False",
                                      "1",    "timer", "10", "False",      "True", "10"};

QStringList storedInOrder(const TestProgram& program) {
    QStringList texts;
    for (const auto& key : kSettingKeys)
        texts << program.storedText(QString::fromLatin1(key.key));
    return texts;
}

// Counts its paints, and what had been painted when the work after the first
// paint ran.
class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void firstRunShowsTheAboutBoxAndWritesNothing() {
        TestProgram program;
        startprogram(*program.forms);
        Aboutform& about = program.forms->about();
        QVERIFY(about.isVisible());
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        QCOMPARE(about.size(), QSize(540, 539));
        QCOMPARE(about.okaybut->geometry(), QRect(208, 384, 131, 68));
        QCOMPARE(about.okaybut->toolTip(), QStringLiteral("Closes about box"));
        QCOMPARE(about.SSPanel1->text(), QStringLiteral("Version 1.0a"));
        QCOMPARE(about.registerpanel->text(), QStringLiteral("Click Here To Donate Money"));
        QVERIFY(about.registerpanel->font().bold() && about.registerpanel->font().underline());
        QCOMPARE(about.Text->font().pointSize(), 12);
        QVERIFY(!program.forms->select().isVisible());
        QCOMPARE(program.storedText("runonce"), QStringLiteral("<missing>"));
        QCOMPARE(program.module1.settings, Settings());
    }

    void firstRunOkStoresDefaultsThanksAndOpensTheSelectionScreen() {
        TestProgram program;
        startprogram(*program.forms);
        Aboutform& about = program.forms->about();
        QTest::mouseClick(about.okaybut, Qt::LeftButton);

        QCOMPARE(storedInOrder(program), kDefaultsInOrder);
        QVERIFY(!about.isVisible());
        QVERIFY(about.okaybut->isVisibleTo(&about));
        QVERIFY(program.forms->select().isVisible());
        QCOMPARE(program.audio.filesPlayed("playdonate"),
                 QStringList{QStringLiteral(QUORVEL_PROGRAM_DIR "/sounds/thanks.wav")});
        QVERIFY(program.audio.isPlaying(QStringLiteral("playdonate")));
        QVERIFY(program.desktop.endedWith.isEmpty());
    }

    void secondStartOpensTheSelectionScreenDirectly() {
        TestProgram program;
        program.storeDefaults();
        startprogram(*program.forms);
        QVERIFY(program.forms->select().isVisible());
        QCOMPARE(program.forms->select().windowTitle(),
                 QStringLiteral("Quorvel Learning Selection"));
        QVERIFY(!program.forms->about().isVisible());
        QCOMPARE(program.module1.settings.backchange, qint16(5));
        QCOMPARE(program.module1.settings.shapedirectory, QStringLiteral("\\shapes\\"));
        QVERIFY(program.audio.filesPlayed("playdonate").isEmpty());
    }

    void storedFalseRunonceTakesTheFirstRunPathEveryTime() {
        TestProgram program;
        program.storeDefaults();
        program.storeText("runonce", "False");
        startprogram(*program.forms);
        QVERIFY(program.forms->about().isVisible());
        QTest::mouseClick(program.forms->about().okaybut, Qt::LeftButton);
        QCOMPARE(program.storedText("runonce"), QStringLiteral("False"));
        QVERIFY(program.forms->select().isVisible());
    }

    void conversionFailureAtStartEndsWithAReport_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("backchange") << "backchange"
                                    << "abc";
        QTest::newRow("runonce") << "runonce"
                                 << "sometimes";
    }
    void conversionFailureAtStartEndsWithAReport() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        TestProgram program;
        program.storeDefaults();
        program.storeText(key, text);
        QVERIFY(!startprogramOrReport(*program.forms));
        QCOMPARE(program.desktop.endedWith, QList<int>{1});
        QCOMPARE(program.desktop.errors.size(), 1);
        const QString report = program.desktop.errors.first();
        QVERIFY2(report.contains(key), qPrintable(report));
        QVERIFY2(report.contains(QLatin1Char('"') + text + QLatin1Char('"')), qPrintable(report));
        QVERIFY2(report.contains(program.store.fileFor(kApplicationName)), qPrintable(report));
        QVERIFY(!program.forms->select().isVisible());
    }

    // A store that cannot be read ends the start with a report naming its
    // file, and the file is left exactly as it was, to be mended by hand.
    void aDamagedStoreIsReportedAndKept_data() {
        QTest::addColumn<QByteArray>("content");  // "<folder>": the file is a folder
        QTest::addColumn<QString>("named");       // what the report names besides the file
        QTest::newRow("unreadable") << QByteArray("<folder>") << "cannot be read";
        QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 16)
                                 << "damaged";
        QTest::newRow("cut in a key")
            << QByteArray("[colors]\nrunonce=True\nchangebackground=True\nback") << "damaged";
        QTest::newRow("cut in a value")
            << QByteArray("[colors]\nrunonce=True\nchangebackground=True\nbackchange=")
            << "backchange";
        QTest::newRow("cut in a header") << QByteArray("[colors]\nrunonce=True\n[col") << "damaged";
    }
    void aDamagedStoreIsReportedAndKept() {
        QFETCH(QByteArray, content);
        QFETCH(QString, named);
        TestProgram program;
        const QString file = program.store.fileFor(kApplicationName);
        QDir().mkpath(QFileInfo(file).path());
        if (content == "<folder>") {
            QVERIFY(QDir().mkpath(file));
        } else {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(content);
        }
        QVERIFY(!startprogramOrReport(*program.forms));
        QCOMPARE(program.desktop.endedWith, QList<int>{1});
        QCOMPARE(program.desktop.errors.size(), 1);
        const QString report = program.desktop.errors.first();
        QVERIFY2(report.contains(file) && report.contains(named), qPrintable(report));
        QVERIFY(!program.forms->select().isVisible());
        QVERIFY(!program.forms->about().isVisible());
        if (content == "<folder>") {
            QVERIFY(QFileInfo(file).isDir());
        } else {
            QFile in(file);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QCOMPARE(in.readAll(), content);
        }
    }

    // A section without keys holds nothing to lose: it is a first run.
    void aSectionWithoutKeysIsAFirstRun() {
        TestProgram program;
        const QString file = program.store.fileFor(kApplicationName);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[colors]\n");
        out.close();
        QVERIFY(startprogramOrReport(*program.forms));
        QVERIFY(program.forms->about().isVisible());
        QTest::mouseClick(program.forms->about().okaybut, Qt::LeftButton);
        QCOMPARE(storedInOrder(program), kDefaultsInOrder);
    }

    void closingTheFirstRunScreenEndsTheProgramAndWritesNothing() {
        TestProgram program;
        startprogram(*program.forms);
        program.forms->about().close();
        QCOMPARE(program.desktop.endedWith, QList<int>{0});
        QCOMPARE(program.storedText("runonce"), QStringLiteral("<missing>"));
    }

    void donationLinkOpensThePageAndTheBoxStays() {
        TestProgram program;
        program.platform.website = QStringLiteral("http://www.maker.test");
        startprogram(*program.forms);
        Aboutform& about = program.forms->about();
        QVERIFY(about.registerpanel->isVisible());
        QTest::mouseClick(about.registerpanel, Qt::LeftButton);
        QCOMPARE(program.desktop.opened.size(), 1);
        QCOMPARE(program.desktop.opened.first().owner, &about);
        QCOMPARE(program.desktop.opened.first().address,
                 QStringLiteral("http://www.maker.test/donations.htm"));
        QVERIFY(about.isVisible());
        QTest::mouseClick(about.okaybut, Qt::LeftButton);
        QCOMPARE(storedInOrder(program), kDefaultsInOrder);
    }

    // Without a web site the box offers no donation line.
    void noWebSiteNoDonationLine() {
        TestProgram program;
        startprogram(*program.forms);
        Aboutform& about = program.forms->about();
        QVERIFY(about.isVisible());
        QVERIFY(!about.registerpanel->isVisible());
    }

    // The sound device and the icons wait for the first window's paint.
    void workAfterTheFirstPaintWaitsForIt() {
        PaintCounter window;
        window.resize(200, 100);
        int runs = 0;
        int paintsAtRun = -1;
        afterFirstWindowPainted(
            [&] {
                ++runs;
                paintsAtRun = window.paints;
            },
            60'000);
        QTest::qWait(200);
        QCOMPARE(runs, 0);
        window.show();
        QTRY_COMPARE(runs, 1);
        QVERIFY(paintsAtRun >= 1);
        // Later windows and paints do not run it again.
        PaintCounter second;
        second.show();
        window.update();
        QTRY_VERIFY(second.paints >= 1);
        QTest::qWait(100);
        QCOMPARE(runs, 1);
    }

    void workAfterTheFirstPaintRunsWhenNoWindowComes() {
        int runs = 0;
        afterFirstWindowPainted([&] { ++runs; }, 50);
        QTRY_COMPARE(runs, 1);
        QTest::qWait(100);
        QCOMPARE(runs, 1);
    }

    // The yellow ring round the box's white centre shows whole: clear of the
    // window's edges (a scaled screen rounds the client area down), and no
    // letter of the title crosses it.
    void theAboutBoxShowsItsRingWhole() {
        TestProgram program;
        Aboutform& about = program.forms->about();
        about.showAsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QImage shown = about.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto isRing = [](QRgb pixel) {
            return qAbs(qRed(pixel) - 255) <= 14 && qAbs(qGreen(pixel) - 230) <= 14 &&
                   qAbs(qBlue(pixel) - 80) <= 14;
        };
        QRect ring;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (isRing(shown.pixel(x, y)))
                    ring |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY(ring.width() > shown.width() / 2);
        const int margin = 4;
        QVERIFY2(
            shown.rect().marginsRemoved(QMargins(margin, margin, margin, margin)).contains(ring),
            qPrintable(QStringLiteral("ring %1,%2 to %3,%4 in %5 x %6")
                           .arg(ring.left())
                           .arg(ring.top())
                           .arg(ring.right())
                           .arg(ring.bottom())
                           .arg(shown.width())
                           .arg(shown.height())));
        // Along the middle of its band, every point is the ring's yellow.
        const QPointF centre = QRectF(ring).center();
        const double middle = (ring.width() + ring.height()) / 4.0 - 4;
        QStringList crossed;
        for (int step = 0; step < 720; ++step) {
            const double angle = step * M_PI / 360;
            const QPoint at =
                (centre + middle * QPointF(std::cos(angle), std::sin(angle))).toPoint();
            if (!isRing(shown.pixel(at)))
                crossed << QStringLiteral("%1,%2").arg(at.x()).arg(at.y());
        }
        QVERIFY2(crossed.isEmpty(), qPrintable(crossed.join(' ')));
    }

    void aboutFromTheGameNeitherReadsNorWritesTheStore() {
        TestProgram program;
        program.storeDefaults();
        startprogram(*program.forms);
        program.storeText("backchange", "25");  // would be read by a load
        Aboutform& about = program.forms->about();
        about.show();
        QTest::mouseClick(about.okaybut, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(program.module1.settings.backchange, qint16(5));
        QCOMPARE(program.storedText("backchange"), QStringLiteral("25"));
        QVERIFY(program.audio.filesPlayed("playdonate").isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"

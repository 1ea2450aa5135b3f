// Start-up: the first-run screen, its OK step, ordinary starts and failures.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include "app/startprogram.h"
#include "support/testprogram.h"
#include "ui/about/aboutform.h"
#include "ui/deferrediconstyle.h"
#include "ui/firstpaint.h"
#include "ui/mainform/mainform.h"
#include "ui/menubarheightmemo.h"
#include "ui/picturebutton.h"
#include "ui/presizedmenubar.h"
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

// A window shaped as the selection screen: a fixed client area under a menu
// bar with one item.
struct MenuWindow {
    explicit MenuWindow(QMenuBar* bar) {
        window.setMenuBar(bar);
        help = bar->addAction(QStringLiteral("Help"));
        auto* client = new QWidget(&window);
        client->setFixedSize(306, 400);
        window.setCentralWidget(client);
        window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    QMainWindow window;
    QAction* help = nullptr;
};

// Counts the icons its base style is asked for.
class CountingStyle : public QProxyStyle {
public:
    mutable int iconsMade = 0;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        ++iconsMade;
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

QImage imageOf(const QIcon& icon, int side) {
    return icon.pixmap(side, side).toImage();
}

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
        startprogram(*program.forms);
        Aboutform& about = program.forms->about();
        QTest::mouseClick(about.registerpanel, Qt::LeftButton);
        QCOMPARE(program.desktop.opened.size(), 1);
        QCOMPARE(program.desktop.opened.first().owner, &about);
        QCOMPARE(program.desktop.opened.first().address,
                 QStringLiteral(QUORVEL_WEBSITE "/donations.htm"));
        QVERIFY(about.isVisible());
        QTest::mouseClick(about.okaybut, Qt::LeftButton);
        QCOMPARE(storedInOrder(program), kDefaultsInOrder);
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

    // Told its height, the bar lets its window be shown at that size before
    // measuring anything; it then ends at its own height whatever it was told.
    void aPresizedMenuBarEndsAtItsOwnHeight_data() {
        QTest::addColumn<int>("told");
        QTest::newRow("nothing known") << 0;
        QTest::newRow("its own height") << -1;
        QTest::newRow("too tall") << 60;
        QTest::newRow("too short") << 3;
    }
    void aPresizedMenuBarEndsAtItsOwnHeight() {
        QFETCH(int, told);
        MenuWindow plain(new QMenuBar);
        plain.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain.window));
        const int height = plain.window.menuBar()->height();
        QVERIFY(height > 5);
        if (told < 0)
            told = height;

        auto* bar = new PresizedMenuBar;
        bar->setExpectedHeight(told);
        MenuWindow presized(bar);
        QSignalSpy measured(bar, &PresizedMenuBar::measured);
        int triggered = 0;
        connect(presized.help, &QAction::triggered, this, [&] { ++triggered; });
        presized.window.show();
        QCOMPARE(presized.window.height(), 400 + (told > 0 ? told : height));

        QTRY_COMPARE(measured.size(), 1);
        QCOMPARE(measured.first().first().toInt(), height);
        QTRY_COMPARE(presized.window.size(), QSize(306, 400 + height));
        QCOMPARE(bar->geometry(), QRect(0, 0, 306, height));
        QCOMPARE(presized.window.centralWidget()->geometry(), QRect(0, height, 306, 400));
        QCOMPARE(bar->grab().toImage(), plain.window.menuBar()->grab().toImage());
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(presized.help).center());
        QCOMPARE(triggered, 1);
        QTest::qWait(50);
        QCOMPARE(measured.size(), 1);
    }

    void theMenuBarMemo_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("remembered");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("recalled");
        const QString a = QStringLiteral("Qt 6; fusion; Sans,9; 96 dpi; x1");
        QTest::newRow("kept") << QByteArray() << 23 << a << 23;
        QTest::newRow("another setup") << QByteArray() << 23 << a + u'2' << 0;
        QTest::newRow("replaced") << QByteArray("19 " + a.toUtf8() + "\n") << 25 << a << 25;
        QTest::newRow("read") << QByteArray("19 " + a.toUtf8() + "\n") << 0 << a << 19;
        QTest::newRow("no file") << QByteArray() << 0 << a << 0;
        QTest::newRow("garbage") << QByteArray("\x00\xff garbage") << 0 << a << 0;
        QTest::newRow("cut short") << QByteArray("19 " + a.toUtf8()) << 0 << a << 0;
        QTest::newRow("no height") << QByteArray(" " + a.toUtf8() + "\n") << 0 << a << 0;
        QTest::newRow("absurd height") << QByteArray("9999 " + a.toUtf8() + "\n") << 0 << a << 0;
        QTest::newRow("negative height") << QByteArray("-19 " + a.toUtf8() + "\n") << 0 << a << 0;
        QTest::newRow("huge file") << QByteArray(100'000, 'x') + '\n' << 0 << a << 0;
        QTest::newRow("absurd height not kept") << QByteArray() << 9999 << a << 0;
    }
    void theMenuBarMemo() {
        QFETCH(QByteArray, file);
        QFETCH(int, remembered);
        QFETCH(QString, asked);
        QFETCH(int, recalled);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("cache/menubar"));
        if (!file.isEmpty()) {
            QDir().mkpath(folder.filePath(QStringLiteral("cache")));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(file);
        }
        const MenuBarHeightMemo memo(path);
        if (remembered != 0)
            memo.remember(QStringLiteral("Qt 6; fusion; Sans,9; 96 dpi; x1"), remembered);
        QCOMPARE(memo.recall(asked), recalled);
    }

    // Only a cache: nowhere to keep it is no harm.
    void aMemoWithNowhereToLiveForgetsQuietly() {
        const MenuBarHeightMemo none{QString()};
        none.remember(QStringLiteral("s"), 20);
        QCOMPARE(none.recall(QStringLiteral("s")), 0);

        QTemporaryDir folder;
        const QString blocker = folder.filePath(QStringLiteral("file"));
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const MenuBarHeightMemo blocked(blocker + QStringLiteral("/menubar"));
        blocked.remember(QStringLiteral("s"), 20);
        QCOMPARE(blocked.recall(QStringLiteral("s")), 0);
    }

    // A start after the first maps the selection screen at the height the
    // last run measured, then settles at its own.
    void theSelectionScreenStartsAtTheRememberedHeight() {
        int height = 0;
        QString setup;
        {
            TestProgram first;
            first.storeDefaults();
            startprogram(*first.forms);
            QMenuBar* bar = first.forms->select().menuBar();
            setup = MenuBarHeightMemo::setupOf(*bar);
            const MenuBarHeightMemo memo(first.platform.cacheFolder +
                                         QStringLiteral("/selectionmenubar"));
            QTRY_VERIFY(memo.recall(setup) > 0);
            height = bar->height();
            QCOMPARE(memo.recall(setup), height);
        }
        TestProgram next;
        next.storeDefaults();
        const MenuBarHeightMemo memo(next.platform.cacheFolder +
                                     QStringLiteral("/selectionmenubar"));
        memo.remember(setup, height + 7);
        startprogram(*next.forms);
        selectform& select = next.forms->select();
        QCOMPARE(select.height(), 400 + height + 7);
        QTRY_COMPARE(select.height(), 400 + height);
        QCOMPARE(select.centralWidget()->geometry(), QRect(0, height, 306, 400));
        // Centred again at its own height.
        QTRY_COMPARE(select.frameGeometry().center(),
                     select.screen()->availableGeometry().center());
        QTRY_COMPARE(memo.recall(setup), height);
    }

    // The style's icons are made when first drawn, and draw as the base
    // style's own.
    void deferredIconsDrawAsTheStylesOwn_data() {
        QTest::addColumn<int>("icon");
        QTest::newRow("menu bar overflow") << int(QStyle::SP_ToolBarHorizontalExtensionButton);
        QTest::newRow("warning") << int(QStyle::SP_MessageBoxWarning);
        QTest::newRow("ok button") << int(QStyle::SP_DialogOkButton);
        QTest::newRow("back") << int(QStyle::SP_ArrowBack);
    }
    void deferredIconsDrawAsTheStylesOwn() {
        QFETCH(int, icon);
        const auto which = QStyle::StandardPixmap(icon);
        auto* base = new CountingStyle;
        DeferredIconStyle style(base);
        const QIcon deferred = style.standardIcon(which);
        QCOMPARE(base->iconsMade, 0);
        const QIcon own = base->QProxyStyle::standardIcon(which, nullptr, nullptr);
        QVERIFY(!own.isNull());
        for (int side : {16, 32})
            QCOMPARE(imageOf(deferred, side), imageOf(own, side));
        QCOMPARE(base->iconsMade, 1);
        QVERIFY(!deferred.isNull());
        QCOMPARE(deferred.availableSizes(), own.availableSizes());
        QCOMPARE(base->iconsMade, 1);
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

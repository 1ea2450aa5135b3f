// The command line's ways to start (an activity at once, full screen, the
// lock), and the lock a toddler cannot open: every way out refused, the
// parent's held Ctrl+Shift+Q, its hint, and an hour of a child at the keys.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QWindow>
#include <QtTest>

#include "pictures/transitionpicture.h"
#include "program/startprogram.h"
#include "support/gamerig.h"
#include "support/scriptedchild.h"
#include "support/windowkeyboard.h"
#include "support/windowwatch.h"
#include "timing/timer.h"
#include "ui/about/aboutform.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"
#include "ui/toddlerlock.h"

using namespace qv;
using qvtest::GameRig;
using qvtest::TestProgram;
using qvtest::WindowKeyboard;
using qvtest::WindowWatch;

namespace {

const QString kWebsite = QStringLiteral("https://quorvel.example");

StartOptions startOptions(const QString& activity, bool fullScreen, bool locked) {
    StartOptions options;
    options.activity = activity;
    options.fullScreen = fullScreen;
    options.locked = locked;
    return options;
}

// The settings store's folder as it lies: every file with its bytes and time stamp.
QStringList storeFolder(const TestProgram& program) {
    const QFileInfo file(program.store.fileFor(kApplicationName));
    QStringList listing;
    for (const QFileInfo& entry :
         QDir(file.path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        QFile in(entry.filePath());
        const QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        listing << QStringLiteral("%1 %2 %3")
                       .arg(entry.fileName(),
                            entry.fileTime(QFileDevice::FileModificationTime)
                                .toString(Qt::ISODateWithMs),
                            QString::fromLatin1(bytes.toHex()));
    }
    return listing;
}

// The visible windows, by name, the backdrop left out.
QStringList visibleWindows() {
    QStringList names;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() != QLatin1String("backdrop") &&
            w->windowType() != Qt::ToolTip)
            names << w->objectName();
    names.sort();
    return names;
}

QWidget* backdrop() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("backdrop"))
            return w;
    return nullptr;
}

Qt::Key keyNamed(const QString& name) {
    static const QMap<QString, Qt::Key> kNamed = {
        {"ctrl", Qt::Key_Control},
        {"shift", Qt::Key_Shift},
        {"alt", Qt::Key_Alt},
        {"meta", Qt::Key_Meta},
        {"escape", Qt::Key_Escape},
        {"return", Qt::Key_Return},
        {"down", Qt::Key_Down},
        {"tab", Qt::Key_Tab},
        {"space", Qt::Key_Space},
        {"delete", Qt::Key_Delete},
        {"backspace", Qt::Key_Backspace},
        {"menu", Qt::Key_Menu},
    };
    if (kNamed.contains(name))
        return kNamed.value(name);
    if (name.size() == 1)
        return Qt::Key(name.at(0).toUpper().unicode());
    if (name.startsWith('f'))
        return Qt::Key(Qt::Key_F1 + name.mid(1).toInt() - 1);
    qFatal("no key named %s", qPrintable(name));
}

// The program started as main() starts it with these options, on the stored
// defaults (music off), with a web site, so that every Help item is there.
class Started {
public:
    Started(const StartOptions& options, const GameRig::Settings& settings = {})
        : rig(GameRig::withoutMusic(settings)) {
        rig.program.platform.website = kWebsite;
        rig.program.startWith(options);
        startprogram(*rig.program.forms);
    }
    TestProgram& program() { return rig.program; }
    mainform& game() { return rig.game(); }
    ToddlerLock& lock() { return *rig.program.forms->toddlerLock(); }

    GameRig rig;
};

// Brings a window to the front as the desktop does, and waits until it has the keyboard.
bool activate(QWidget& window) {
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The off-screen platform has no keyboard to grab, and says so each time the
// lock asks.
QtMessageHandler testlibHandler = nullptr;

void quietAboutGrabs(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message != QLatin1String("This plugin does not support grabbing the keyboard"))
        testlibHandler(type, context, message);
}

}  // namespace

class TestLock : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testlibHandler = qInstallMessageHandler(quietAboutGrabs); }

    // Where each start leads on an ordinary start (settings stored): the
    // first window, the backdrop behind it, full screen and the menus.
    void startsWhereTheCommandLineSays_data() {
        QTest::addColumn<QString>("activity");
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("withBackdrop");
        QTest::newRow("no option") << "" << false << false << "selectform" << false;
        for (const QString& name : activityNames())
            QTest::addRow("--activity %s", qPrintable(name))
                << name << false << false << "mainform" << false;
        QTest::newRow("--fullscreen") << "" << true << false << "selectform" << true;
        QTest::newRow("--lock") << "" << false << true << "selectform" << true;
        QTest::newRow("--fullscreen --activity")
            << "learnshapes" << true << false << "mainform" << false;
        QTest::newRow("--lock --activity") << "playshapes" << false << true << "mainform" << false;
    }
    void startsWhereTheCommandLineSays() {
        QFETCH(QString, activity);
        QFETCH(bool, fullScreen);
        QFETCH(bool, locked);
        QFETCH(QString, first);
        QFETCH(bool, withBackdrop);
        Started started(startOptions(activity, fullScreen, locked));
        TestProgram& program = started.program();
        QCOMPARE(visibleWindows(), QStringList{first});
        QWidget* behind = backdrop();
        QCOMPARE(behind && behind->isVisible(), withBackdrop);
        if (withBackdrop) {
            QVERIFY(behind->isFullScreen());
            // The desktop keeps the selection screen above it.
            QCOMPARE(program.forms->select().windowHandle()->transientParent(),
                     behind->windowHandle());
            // No browser for a locked child: the selection screen's Help goes.
            QCOMPARE(program.forms->select().menuBar()->isVisible(), !locked);
        }
        if (first != QLatin1String("mainform"))
            return;
        mainform& game = started.game();
        QCOMPARE(program.module1.selectedmode, activity);
        QCOMPARE(game.isFullScreen(), fullScreen || locked);
        QCOMPARE(game.isMaximized(), !fullScreen && !locked);
        QCOMPARE(game.menuBar()->isVisible(), !locked);
        // The selection screen never showed: its sound never played.
        QVERIFY(program.audio.filesPlayed("selectform.soundplayer").isEmpty());
        // The activity started as a choice there would have started it.
        QCOMPARE(game.Timer1->enabled(), true);
        if (locked) {
            QVERIFY(activate(game));
            QCOMPARE(started.lock().grabbingWindow(), game.windowHandle());
        }
    }

    // On the very first run the About box still comes first; its OK goes
    // where the start leads, and the backdrop stays until the game window
    // fills the screen itself.
    void firstRunGoesOnFromTheAboutBox_data() {
        QTest::addColumn<QString>("activity");
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("afterOk");
        QTest::newRow("--activity") << "playcolors" << false << false << "mainform";
        QTest::newRow("--lock --activity") << "learncolors" << false << true << "mainform";
        QTest::newRow("--fullscreen") << "" << true << false << "selectform";
        QTest::newRow("--lock") << "" << false << true << "selectform";
    }
    void firstRunGoesOnFromTheAboutBox() {
        QFETCH(QString, activity);
        QFETCH(bool, fullScreen);
        QFETCH(bool, locked);
        QFETCH(QString, afterOk);
        TestProgram program;
        program.startWith(startOptions(activity, fullScreen, locked));
        startprogram(*program.forms);
        Aboutform& about = program.forms->about();
        QCOMPARE(visibleWindows(), QStringList{"Aboutform"});
        const bool fills = fullScreen || locked;
        QCOMPARE(backdrop() && backdrop()->isVisible(), fills);
        // Locked, the first-run screen is left by its OK only.
        QCOMPARE(about.close(), !locked);
        if (!locked) {
            QCOMPARE(program.desktop.endedWith, QList<int>{0});
            return;
        }
        QVERIFY(about.isVisible());
        QVERIFY(!about.registerpanel->isVisible());
        QTest::mouseClick(about.okaybut, Qt::LeftButton);
        QCOMPARE(visibleWindows(), QStringList{afterOk});
        QCOMPARE(program.storedText("runonce"), QStringLiteral("True"));
        if (afterOk == QLatin1String("mainform")) {
            QCOMPARE(program.module1.selectedmode, activity);
            QVERIFY(program.forms->game().isFullScreen());
            QVERIFY(!backdrop() || !backdrop()->isVisible());
        } else {
            QVERIFY(backdrop()->isVisible());
        }
        QVERIFY(program.desktop.endedWith.isEmpty());
    }

    void firstRunWithAnActivitySkipsTheSelectionScreen() {
        TestProgram program;
        program.startWith(startOptions("playshapes", false, false));
        startprogram(*program.forms);
        QTest::mouseClick(program.forms->about().okaybut, Qt::LeftButton);
        QCOMPARE(visibleWindows(), QStringList{"mainform"});
        QCOMPARE(program.module1.selectedmode, QStringLiteral("playshapes"));
        QVERIFY(program.forms->game().isMaximized());
        QVERIFY(program.audio.filesPlayed("selectform.soundplayer").isEmpty());
        // The first run's thanks, as always.
        QCOMPARE(program.audio.filesPlayed("playdonate").size(), 1);
    }

    // A choice on the selection screen over the backdrop opens the game
    // window full screen, and the backdrop goes; New, later, brings the
    // selection screen over the game window itself.
    void choosingOverTheBackdrop_data() {
        QTest::addColumn<bool>("locked");
        QTest::newRow("--fullscreen") << false;
        QTest::newRow("--lock") << true;
    }
    void choosingOverTheBackdrop() {
        QFETCH(bool, locked);
        Started started(startOptions("", !locked, locked));
        TestProgram& program = started.program();
        selectform& screen = program.forms->select();
        QTest::mouseClick(screen.playcbut, Qt::LeftButton);
        QCOMPARE(visibleWindows(), QStringList{"mainform"});
        QVERIFY(!backdrop()->isVisible());
        mainform& game = started.game();
        QVERIFY(game.isFullScreen());
        QCOMPARE(program.module1.selectedmode, QStringLiteral("playcolors"));
        QCOMPARE(screen.windowHandle()->transientParent(), nullptr);
        if (locked)
            return;
        bool shown = false;
        qvtest::whenDialogOpens([&] {
            shown = screen.isVisible() && !backdrop()->isVisible();
            QTest::mouseClick(screen.lsbut, Qt::LeftButton);
        });
        game.newmenu_click();
        QVERIFY(shown);
        QCOMPARE(program.module1.selectedmode, QStringLiteral("learnshapes"));
        QVERIFY(game.isFullScreen());
    }

    // Keys and the window manager's close at the game window, locked and
    // not: what they do unlocked shows that they arrive; locked, nothing.
    // Unlocked rows start full screen, so the menus' keys are tried there.
    // Keys: chords joined by "+", one after the other by " "; "close" is the
    // window manager's close (its button, or Alt+F4 without a keyboard
    // grab); "corner" a click where the close button would be.
    void waysOut_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>(
            "unlockedDoes");  // ends, browser, window: <name>, windowed, nothing
        const QList<QPair<QString, QString>> rows = {
            {"ctrl+e", "ends"},
            {"close", "ends"},
            {"alt+f4", "nothing"},
            {"escape", "nothing"},
            {"corner", "nothing"},
            {"ctrl+n", "window: selectform"},
            {"alt+o", "window: options"},
            {"ctrl+a", "window: Aboutform"},
            {"alt+f", "window: filemenu"},
            {"alt+h", "window: Helpmenu"},
            {"alt+f x", "ends"},
            {"alt+h a", "window: Aboutform"},
            {"alt down return", "window: selectform"},
            {"f10 return", "nothing"},
            {"ctrl+o", "browser"},
            {"ctrl+w", "browser"},
            {"ctrl+r", "browser"},
            {"f11", "windowed"},
            {"ctrl+q", "nothing"},
            {"ctrl+shift+q", "nothing"},
            {"ctrl+alt+delete", "nothing"},
            {"alt+tab", "nothing"},
            {"meta", "nothing"},
            {"menu", "nothing"},
        };
        for (const auto& [keys, does] : rows) {
            QTest::addRow("locked: %s", qPrintable(keys)) << true << keys << does;
            QTest::addRow("unlocked: %s", qPrintable(keys)) << false << keys << does;
        }
    }
    void waysOut() {
        QFETCH(bool, locked);
        QFETCH(QString, keys);
        QFETCH(QString, unlockedDoes);
        Started started(startOptions("playshapes", !locked, locked));
        TestProgram& program = started.program();
        mainform& game = started.game();
        QVERIFY(activate(game));
        program.clock.advance(8000);  // the first question is up
        const QStringList store = storeFolder(program);
        const QString question = game.lastquestion;
        QVERIFY(!question.isEmpty());
        WindowWatch watch({&game});
        WindowKeyboard keyboard(game.windowHandle());
        for (const QString& step : keys.split(' ')) {
            if (step == QLatin1String("close")) {
                game.windowHandle()->close();
            } else if (step == QLatin1String("corner")) {
                QTest::mouseClick(game.windowHandle(), Qt::LeftButton, {},
                                  QPoint(game.width() - 12, 8));
            } else {
                QList<Qt::Key> chord;
                for (const QString& name : step.split('+'))
                    chord << keyNamed(name);
                keyboard.chord(chord);
            }
            program.clock.advance(100);
        }
        program.clock.advance(3000);

        QString did = QStringLiteral("nothing");
        if (!program.desktop.endedWith.isEmpty())
            did = QStringLiteral("ends");
        else if (!program.desktop.opened.isEmpty())
            did = QStringLiteral("browser");
        else if (!watch.opened.isEmpty())
            did = QStringLiteral("window: ") + watch.opened.constLast().section(' ', 0, 0);
        else if (!game.isFullScreen())
            did = QStringLiteral("windowed");
        QCOMPARE(did, locked ? QStringLiteral("nothing") : unlockedDoes);
        if (!locked)
            return;
        QVERIFY(game.isVisible());
        QVERIFY(!game.menuBar()->isVisible());
        QCOMPARE(program.module1.selectedmode, QStringLiteral("playshapes"));
        QVERIFY(!started.lock().holding());
        QCOMPARE(storeFolder(program), store);
        // The game went on meanwhile.
        QVERIFY(program.audio.filesPlayed("mainform.soundplayer").size() > 1);
    }

    // Closing the other windows of a locked start is refused too.
    void otherWindowsRefuseToClose_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("window");
        for (bool locked : {true, false})
            for (const char* window : {"selectform", "backdrop"})
                QTest::addRow("%s: %s", locked ? "locked" : "full screen", window)
                    << locked << QString(window);
    }
    void otherWindowsRefuseToClose() {
        QFETCH(bool, locked);
        QFETCH(QString, window);
        Started started(startOptions("", !locked, locked));
        QWidget* target = window == QLatin1String("backdrop")
                              ? backdrop()
                              : static_cast<QWidget*>(&started.program().forms->select());
        QVERIFY(target && target->isVisible());
        target->windowHandle()->close();
        QCOMPARE(target->isVisible(), locked);
        QCOMPARE(started.program().desktop.endedWith, locked ? QList<int>() : QList<int>{0});
    }

    // A window manager's minimise (the selection screen's button) is undone at
    // once in the lock; unlocked, a minimised window stays so.
    void minimisedWindowsComeBack_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("window");
        for (bool locked : {true, false})
            for (const char* window : {"selectform", "mainform"})
                QTest::addRow("%s: %s", locked ? "locked" : "full screen", window)
                    << locked << QString(window);
    }
    void minimisedWindowsComeBack() {
        QFETCH(bool, locked);
        QFETCH(QString, window);
        const bool game = window == QLatin1String("mainform");
        Started started(startOptions(game ? "learnshapes" : "", !locked, locked));
        QWidget* target = game ? static_cast<QWidget*>(&started.game())
                               : static_cast<QWidget*>(&started.program().forms->select());
        target->setWindowState(target->windowState() | Qt::WindowMinimized);
        QVERIFY(target->isMinimized());
        QCoreApplication::processEvents();
        QCOMPARE(target->isMinimized(), !locked);
        QVERIFY(target->isVisible());
        if (game)
            QVERIFY(target->isFullScreen());
    }

    // A desktop that takes a window out of full screen (a compositor's
    // command, a window manager's key) meets a locked window that asks for
    // it again; unlocked, the window stays as the desktop left it.
    void fullScreenTakenAwayComesBack_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("window");
        for (bool locked : {true, false})
            for (const char* window : {"mainform", "backdrop"})
                QTest::addRow("%s: %s", locked ? "locked" : "full screen", window)
                    << locked << QString(window);
    }
    void fullScreenTakenAwayComesBack() {
        QFETCH(bool, locked);
        QFETCH(QString, window);
        const bool game = window == QLatin1String("mainform");
        Started started(startOptions(game ? "learnshapes" : "", !locked, locked));
        QWidget* target = game ? static_cast<QWidget*>(&started.game()) : backdrop();
        QVERIFY(target && target->isFullScreen());
        target->setWindowState(target->windowState() & ~Qt::WindowFullScreen);
        QVERIFY(!target->isFullScreen());
        started.program().clock.advance(ToddlerLock::kBackInSightMs);
        QCoreApplication::processEvents();
        QCOMPARE(target->isFullScreen(), locked);
        QVERIFY(target->isVisible());
    }

    // Where the keys cannot be held (here: the off-screen platform has no
    // keyboard grab), the parent is told once, over the locked window, after
    // the grab has been tried a few times; later windows tell nothing more.
    void theParentIsToldOnceWhenTheKeysAreNotHeld_data() {
        QTest::addColumn<bool>("locked");
        QTest::newRow("locked") << true;
        QTest::newRow("full screen, not locked") << false;
    }
    void theParentIsToldOnceWhenTheKeysAreNotHeld() {
        QFETCH(bool, locked);
        Started started(startOptions("playshapes", !locked, locked));
        TestProgram& program = started.program();
        mainform& game = started.game();
        QVERIFY(activate(game));
        QVERIFY(program.desktop.notices.isEmpty());
        program.clock.advance(ToddlerLock::kGrabRetryMs * ToddlerLock::kGrabAttempts);
        QCOMPARE(program.desktop.notices.size(), locked ? 1 : 0);
        if (!locked)
            return;
        QCOMPARE(program.desktop.notices.constFirst().owner, &game);
        QVERIFY2(program.desktop.notices.constFirst().text.contains(
                     "The lock cannot hold the keyboard on this desktop: the keyboard grab failed"),
                 qPrintable(program.desktop.notices.constFirst().text));
        QWidget elsewhere;
        elsewhere.show();
        QVERIFY(activate(elsewhere));
        QVERIFY(activate(game));
        program.clock.advance(10000);
        QCOMPARE(program.desktop.notices.size(), 1);
        // Still locked: the program goes on behind the notice.
        QCOMPARE(program.desktop.endedWith, QList<int>());
    }

    // F11 fills the screen and gives it back, locked or not asked for.
    void f11TogglesFullScreen_data() {
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QList<bool>>("afterEach");  // full screen after each F11
        QTest::newRow("no option") << false << false << QList<bool>{true, false, true};
        QTest::newRow("--fullscreen") << true << false << QList<bool>{false, true};
        QTest::newRow("--lock") << false << true << QList<bool>{true, true, true};
    }
    void f11TogglesFullScreen() {
        QFETCH(bool, fullScreen);
        QFETCH(bool, locked);
        QFETCH(QList<bool>, afterEach);
        Started started(startOptions("learncolors", fullScreen, locked));
        mainform& game = started.game();
        QVERIFY(activate(game));
        WindowKeyboard keyboard(game.windowHandle());
        for (bool full : afterEach) {
            keyboard.click(Qt::Key_F11);
            QCOMPARE(game.isFullScreen(), full);
            // Out of full screen it is the maximised window it always was.
            QCOMPARE(game.isMaximized(), !full);
            QVERIFY(game.menuBar()->isVisible() != locked);
        }
    }

    // In keyboard mode every key moves the activity on, locked as not.
    void everyKeyMovesOnInKeyboardMode_data() {
        QTest::addColumn<QString>("keys");
        for (const char* keys : {"a", "space", "escape", "alt+f4", "ctrl+e", "f11", "ctrl+shift+q",
                                 "ctrl+n", "return"})
            QTest::newRow(keys) << QString(keys);
    }
    void everyKeyMovesOnInKeyboardMode() {
        QFETCH(QString, keys);
        Started started(startOptions("learncolors", false, true),
                        {{"howtochangepictures", "keyboard"}});
        mainform& game = started.game();
        QVERIFY(activate(game));
        started.program().clock.advance(3000);
        game.Timer1->setEnabled(false);
        QList<Qt::Key> chord;
        for (const QString& name : keys.split('+'))
            chord << keyNamed(name);
        WindowKeyboard(game.windowHandle()).chord(chord);
        QVERIFY(game.Timer1->enabled());
    }

    // The parent's way out, step by step: "+k" presses a key, "-k" lets it
    // go, "~k:ms" lets a held key repeat for that long, "%k:ms" too but with
    // repeats the toolkit cannot mark, "@ms" waits until then, "away" makes
    // another window active and the game again, "running" checks that the
    // program has not ended yet.
    // leaveAt: when the program ends, -1 for never (looked for until 8 s).
    void heldCtrlShiftQ_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("leaveAt");
        QTest::newRow("held two seconds") << "+ctrl +shift +q" << 2000;
        QTest::newRow("pressed in another order") << "+q @100 +shift @250 +ctrl" << 2250;
        QTest::newRow("Ctrl+Q, then Shift") << "+ctrl +q @500 +shift" << 2500;
        QTest::newRow("Q repeating as it is held") << "+ctrl +shift +q ~q:1990" << 2000;
        QTest::newRow("Q repeating, the repeats unmarked") << "+ctrl +shift +q %q:1990" << 2000;
        QTest::newRow("an unmarked repeat over the two seconds")
            << "+ctrl +shift +q @1990 -q @2020 running +q" << 2020;
        QTest::newRow("Q up for longer than a repeat")
            << "+ctrl +shift +q @1000 -q @1051 +q" << 3051;
        QTest::newRow("Q up past the two seconds") << "+ctrl +shift +q @1990 -q" << -1;
        QTest::newRow("another key, then Q repeating unmarked")
            << "+ctrl +shift +q @1000 +w -w %q:3000" << -1;
        QTest::newRow("let go just before") << "+ctrl +shift +q @1999 -q" << -1;
        QTest::newRow("Shift let go at once") << "+ctrl +shift +q @10 -shift" << -1;
        QTest::newRow("Ctrl let go after a repeat") << "+ctrl +shift +q ~q:1200 -ctrl" << -1;
        QTest::newRow("Shift let go and pressed again")
            << "+ctrl +shift +q @1500 -shift @1600 +shift" << 3600;
        QTest::newRow("another key pressed on the way")
            << "+ctrl +shift +q @1000 +w @1100 -w" << -1;
        QTest::newRow("another key on the way, then Q again")
            << "+ctrl +shift +q @1000 +w @1100 -w @1200 -q @1300 +q" << 3300;
        QTest::newRow("another key down before") << "+w +ctrl +shift +q @2500 -w" << -1;
        QTest::newRow("Alt too") << "+ctrl +alt +shift +q" << -1;
        QTest::newRow("the Super key too") << "+meta +ctrl +shift +q" << -1;
        QTest::newRow("Ctrl+Q only") << "+ctrl +q" << -1;
        QTest::newRow("Shift+Q only") << "+shift +q" << -1;
        QTest::newRow("Ctrl+Shift+W") << "+ctrl +shift +w" << -1;
        QTest::newRow("another window became active") << "+ctrl +shift +q @1000 away" << -1;
        QTest::newRow("another window, then Q again")
            << "+ctrl +shift +q @1000 away -q @1500 +q" << 3500;
    }
    void heldCtrlShiftQ() {
        QFETCH(QString, steps);
        QFETCH(int, leaveAt);
        Started started(startOptions("playcolors", false, true));
        TestProgram& program = started.program();
        mainform& game = started.game();
        ToddlerLock& lock = started.lock();
        QVERIFY(activate(game));
        program.clock.advance(7000);
        WindowKeyboard keyboard(game.windowHandle());
        QWidget elsewhere;
        const qint64 start = program.clock.nowMs();
        for (const QString& step : steps.split(' ')) {
            if (step.startsWith('@')) {
                program.clock.advance(start + step.mid(1).toInt() - program.clock.nowMs());
            } else if (step.startsWith('+')) {
                keyboard.press(keyNamed(step.mid(1)));
            } else if (step.startsWith('-')) {
                keyboard.release(keyNamed(step.mid(1)));
            } else if (step.startsWith('~') || step.startsWith('%')) {
                const Qt::Key key = keyNamed(step.mid(1).section(':', 0, 0));
                const int ms = step.section(':', 1).toInt();
                for (int held = 0; held < ms; held += 33) {
                    program.clock.advance(std::min(33, ms - held));
                    if (step.startsWith('~'))
                        keyboard.repeat(key);
                    else
                        keyboard.unmarkedRepeat(key);
                }
            } else if (step == QLatin1String("running")) {
                QCOMPARE(program.desktop.endedWith, QList<int>());
            } else if (step == QLatin1String("away")) {
                elsewhere.show();
                QVERIFY(activate(elsewhere));
                QVERIFY(activate(game));
            }
            // The hint shows exactly while the time runs.
            QCOMPARE(lock.hint() != nullptr, lock.holding());
        }
        const qint64 elapsed = program.clock.nowMs() - start;
        if (leaveAt < 0) {
            program.clock.advance(8000);
            QCOMPARE(program.desktop.endedWith, QList<int>());
            QVERIFY(!lock.hint());
            return;
        }
        if (elapsed < leaveAt) {
            program.clock.advance(leaveAt - 1 - elapsed);
            QCOMPARE(program.desktop.endedWith, QList<int>());
            QVERIFY(lock.hint());
            program.clock.advance(1);
        }
        // Leaving ends the program as Exit does: the music closed first.
        QCOMPARE(program.desktop.endedWith, QList<int>{0});
        QCOMPARE(program.audio.commandsFor("playbackmusiccontrol").value(0).section(' ', 0, 0),
                 QStringLiteral("close"));
        QVERIFY(!lock.hint());
    }

    // The hint: small, calm, drawn over the game low in the middle, and only
    // while the three keys are held.
    void theHintIsDrawnOverTheGameWhileHeld() {
        Started started(startOptions("learnshapes", false, true));
        TestProgram& program = started.program();
        mainform& game = started.game();
        ToddlerLock& lock = started.lock();
        QVERIFY(activate(game));
        program.clock.advance(4000);
        WindowKeyboard keyboard(game.windowHandle());
        keyboard.press(Qt::Key_Control);
        keyboard.press(Qt::Key_Shift);
        QVERIFY(!lock.hint());
        const QImage before = game.grab().toImage();
        keyboard.press(Qt::Key_Q);
        QLabel* hint = lock.hint();
        QVERIFY(hint);
        QCOMPARE(hint->text(), QStringLiteral("Keep holding to leave"));
        QCOMPARE(hint->window(), &game);
        const QRect area = hint->geometry();
        QVERIFY(game.rect().contains(area));
        QVERIFY(qAbs(area.center().x() - game.width() / 2) <= 1);
        QVERIFY(area.top() > game.height() / 2);
        QVERIFY(area.width() < game.width() / 3 && area.height() < game.height() / 8);
        QVERIFY(hint->testAttribute(Qt::WA_TransparentForMouseEvents));
        const QImage held = game.grab().toImage();
        QVERIFY(held.copy(area) != before.copy(area));
        program.clock.advance(1500);
        keyboard.release(Qt::Key_Q);
        // Up for longer than a repeat would leave it, the key was let go.
        program.clock.advance(ToddlerLock::kRepeatGapMs);
        QVERIFY(!lock.hint());
        QVERIFY(!hint->isVisible());
        // Pressed again, it comes back and the time starts anew.
        program.clock.advance(200);
        keyboard.press(Qt::Key_Q);
        QVERIFY(lock.hint());
        program.clock.advance(1999);
        QVERIFY(program.desktop.endedWith.isEmpty());
        program.clock.advance(1);
        QCOMPARE(program.desktop.endedWith, QList<int>{0});
    }

    // While a sound holds the game the input gate drops every key, let-goes
    // included; the lock still sees Q let go and starts over. And a parent
    // holding through a sound still gets out on time.
    void theLockSeesKeysTheGateDrops_data() {
        QTest::addColumn<bool>("letGo");
        QTest::newRow("let go while held") << true;
        QTest::newRow("held through") << false;
    }
    void theLockSeesKeysTheGateDrops() {
        QFETCH(bool, letGo);
        Started started(startOptions("playcolors", false, true));
        TestProgram& program = started.program();
        mainform& game = started.game();
        QVERIFY(activate(game));
        program.clock.advance(7000);
        WindowKeyboard keyboard(game.windowHandle());
        keyboard.press(Qt::Key_Control);
        keyboard.press(Qt::Key_Shift);
        keyboard.press(Qt::Key_Q);
        // What reaches the game window's controls, after the gate.
        int releasesReachingTheGame = 0;
        struct Counter : QObject {
            int& count;
            explicit Counter(int& c) : count(c) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::KeyRelease)
                    ++count;
                return false;
            }
        } counter(releasesReachingTheGame);
        game.installEventFilter(&counter);
        if (QWidget* focus = QApplication::focusWidget())
            focus->installEventFilter(&counter);
        if (letGo)
            program.clock.callAfter(
                500, [&] { keyboard.release(Qt::Key_Q); }, Clock::WhileHeld::Run);
        program.clock.holdUntil([] { return false; }, 3000);
        QCOMPARE(releasesReachingTheGame, 0);
        program.clock.advance(3000);
        QCOMPARE(program.desktop.endedWith, letGo ? QList<int>() : QList<int>{0});
    }

    // An hour of a child at the locked game: keys, combinations, palms,
    // near misses of the parent's keys, clicks anywhere and the window
    // manager's close, at random but the same way every time. The lock
    // never opens, the program never ends, the activity goes on, and the
    // settings store is not touched.
    void anHourOfAChildAtTheLock_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("how");
        QTest::newRow("play shapes") << "playshapes"
                                     << "timer";
        QTest::newRow("learn colours by keyboard") << "learncolors"
                                                   << "keyboard";
    }
    void anHourOfAChildAtTheLock() {
        QFETCH(QString, mode);
        QFETCH(QString, how);
        const qint64 hourMs = qEnvironmentVariableIntValue("QV_MINUTES") * 60'000 ?: 3'600'000;
        Started started(startOptions(mode, false, true),
                        {{"howtochangepictures", how}, {"fxspeed", "5"}, {"fxplayspeed", "5"}});
        TestProgram& program = started.program();
        program.random.useGenerator(qHash(mode));
        mainform& game = started.game();
        QVERIFY(activate(game));
        const QStringList store = storeFolder(program);
        qvtest::ScriptedChild child(program, game, qHash(mode) + 7);
        // Learn pictures and questions so far, at every ten minutes.
        constexpr qint64 kStretchMs = 600'000;
        QList<int> totals;
        qint64 nextMark = kStretchMs;
        while (program.clock.nowMs() < hourMs && child.problems.isEmpty()) {
            child.stepAtTheLock();
            for (; program.clock.nowMs() >= nextMark && nextMark <= hourMs; nextMark += kStretchMs)
                totals << child.learnPictures() + child.questions();
        }
        QVERIFY2(child.problems.isEmpty(), qPrintable(QStringLiteral("at %1 ms: %2")
                                                          .arg(program.clock.nowMs())
                                                          .arg(child.problems.join('\n'))));
        QCOMPARE(storeFolder(program), store);
        // The child did play, all along.
        qInfo("%d learn pictures, %d questions", child.learnPictures(), child.questions());
        QVERIFY(child.learnPictures() + child.questions() > 0);
        for (int k = 0; k < totals.size(); ++k)
            QVERIFY2(totals[k] > (k > 0 ? totals[k - 1] : 0),
                     qPrintable(QStringLiteral("nothing new in minutes %1 to %2")
                                    .arg(k * 10)
                                    .arg(k * 10 + 10)));
    }
};

QTEST_MAIN(TestLock)
#include "test_lock.moc"

// The windows as an X11 desktop sees them, read from the X server: the real
// program under Xvfb, with openbox and without any window manager (a kiosk
// session started by xinit). The dialogs of the game window are transient
// for it, of dialog type and out of the task bar; a full-screen start fills
// the screen with a window manager or without one.
//
// Needs Xvfb, openbox, xdotool and xprop/xwininfo (x11-utils); every wait is
// bounded.
#include <QtTest>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>
#include <optional>

#include "support/programprocess.h"

using namespace qvtest;

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 800;
constexpr int kWaitMs = 20000;

const QString kGameTitle = QStringLiteral("Learn Colors and Shapes");

// Runs a tool on the display: what it printed, or nothing when it failed or
// took longer than waitMs.
std::optional<QString> run(const QString& display, const QString& tool,
                           const QStringList& arguments, int waitMs = kWaitMs) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    process.setProcessEnvironment(env);
    process.start(tool, arguments);
    if (!process.waitForFinished(waitMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// What the tool printed, empty when it failed.
QString output(const QString& display, const QString& tool, const QStringList& arguments,
               int waitMs = kWaitMs) {
    return run(display, tool, arguments, waitMs).value_or(QString());
}

// An X server of the test's own, with openbox on it or no window manager.
class Desktop {
public:
    explicit Desktop(bool withWindowManager) {
        // Xvfb takes a free display number and says which once it is ready.
        server_.start(
            QStringLiteral("Xvfb"),
            {"-displayfd", "1", "-screen", "0",
             QStringLiteral("%1x%2x24").arg(kScreenWidth).arg(kScreenHeight), "-nolisten", "tcp"});
        if (!waitFor([&] {
                server_.waitForReadyRead(100);
                return server_.canReadLine() || server_.state() == QProcess::NotRunning;
            }) ||
            !server_.canReadLine()) {
            problem_ =
                "Xvfb did not start: " + QString::fromLocal8Bit(server_.readAllStandardError());
            return;
        }
        const QString name = ":" + QString::fromLatin1(server_.readLine()).trimmed();
        if (!withWindowManager) {
            display_ = name;
            return;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", name);
        windowManager_.setProcessEnvironment(env);
        windowManager_.start(QStringLiteral("openbox"), {});
        // Ready once it names its own window on the root window.
        if (windowManager_.waitForStarted() && waitFor([&] {
                return output(name, "xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}, 2000)
                    .contains("window id");
            }))
            display_ = name;
        else
            problem_ = "openbox did not start: " +
                       QString::fromLocal8Bit(windowManager_.readAllStandardError());
    }
    ~Desktop() {
        stop(windowManager_);
        stop(server_);
    }
    const QString& display() const { return display_; }
    const QString& problem() const { return problem_; }

    static bool waitFor(const std::function<bool()>& ready) {
        QElapsedTimer waited;
        waited.start();
        while (!ready()) {
            if (waited.elapsed() > kWaitMs)
                return false;
            QThread::msleep(100);
        }
        return true;
    }

private:
    static void stop(QProcess& process) {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished();
        }
    }

    QProcess server_;
    QProcess windowManager_;
    QString display_;
    QString problem_;
};

// The program on that display, with the settings of a run after the first.
class Program {
public:
    Program(const QString& display, const QStringList& arguments) : display_(display) {
        writeStoreIn(home_.path(), kStoredDefaults);
        QProcessEnvironment env = programEnvironment(home_.path());
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", display);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QStringLiteral(QUORVEL_PROGRAM_DIR "/quorvellearning"), arguments);
        process_.waitForStarted();
    }
    ~Program() {
        process_.kill();
        process_.waitForFinished();
    }
    QString log() { return QString::fromLocal8Bit(process_.readAll()); }

    // The visible window of that title, once it shows.
    QString window(const QString& title) {
        QString found;
        Desktop::waitFor([&] {
            found = output(display_, "xdotool",
                           {"search", "--onlyvisible", "--name",
                            "^" + QRegularExpression::escape(title) + "$"},
                           2000)
                        .section('\n', 0, 0);
            return !found.isEmpty();
        });
        return found;
    }
    // Real key presses to window, brought to the front first.
    bool keys(const QString& window, const QStringList& keys) {
        return run(display_, "xdotool", {"windowactivate", "--sync", window}) &&
               run(display_, "xdotool", QStringList{"key", "--delay", "100"} + keys);
    }
    // "NAME = value" lines of xprop, by NAME.
    QMap<QString, QString> properties(const QString& window) {
        QMap<QString, QString> found;
        const QString text =
            output(display_, "xprop",
                   {"-id", window, "-notype", "WM_TRANSIENT_FOR", "_NET_WM_WINDOW_TYPE",
                    "_NET_WM_STATE", "_NET_WM_ALLOWED_ACTIONS"});
        for (const QString& line : text.split('\n')) {
            static const QRegularExpression property(QStringLiteral("^(\\w+)\\s*[:=]\\s*(.*)$"));
            const QRegularExpressionMatch match = property.match(line);
            if (match.hasMatch())
                found.insert(match.captured(1), match.captured(2));
        }
        return found;
    }
    // The window's place and size on the screen.
    QRect geometry(const QString& window) {
        const QString text = output(display_, "xwininfo", {"-id", window});
        const auto number = [&](const char* label) {
            const QRegularExpression line(QString::fromLatin1(label) + ":\\s*(-?\\d+)");
            return line.match(text).captured(1).toInt();
        };
        return {number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
                number("Height")};
    }

private:
    QString display_;
    QTemporaryDir home_;
    QProcess process_;
};

// A window id as xprop writes it ("0x600006").
QString hex(const QString& decimal) {
    return QStringLiteral("0x%1").arg(decimal.toULongLong(), 0, 16);
}

// The window ids an xprop line lists, in order.
QStringList windowIds(const QString& text) {
    static const QRegularExpression id(QStringLiteral("0x[0-9a-f]+"));
    QStringList ids;
    for (const QRegularExpressionMatch& match : id.globalMatch(text))
        ids << match.captured();
    return ids;
}

}  // namespace

class TestX11Windows : public QObject {
    Q_OBJECT

private slots:
    // About, New and Options opened from the game window, each closed by
    // Escape, under openbox.
    void theGameWindowsDialogsAreItsDialogs() {
        Desktop desktop(true);
        QVERIFY2(!desktop.display().isEmpty(), qPrintable(desktop.problem()));
        Program program(desktop.display(), {"--activity", "playcolors"});
        const QString game = program.window(kGameTitle);
        QVERIFY2(!game.isEmpty(), qPrintable(program.log()));
        const struct {
            const char* key;
            const char* title;
        } dialogs[] = {
            {"ctrl+a", "About"}, {"ctrl+n", "Quorvel Learning Selection"}, {"alt+o", "Options "}};
        for (const auto& [key, title] : dialogs) {
            QVERIFY(program.keys(game, {key}));
            const QString dialog = program.window(title);
            QVERIFY2(!dialog.isEmpty(), title);
            const QMap<QString, QString> seen = program.properties(dialog);
            QVERIFY2(
                windowIds(seen.value("WM_TRANSIENT_FOR")) == QStringList{hex(game)},
                qPrintable(QStringLiteral("%1: %2").arg(title, seen.value("WM_TRANSIENT_FOR"))));
            QVERIFY2(seen.value("_NET_WM_WINDOW_TYPE").startsWith("_NET_WM_WINDOW_TYPE_DIALOG"),
                     title);
            QVERIFY2(seen.value("_NET_WM_STATE").contains("_NET_WM_STATE_SKIP_TASKBAR"), title);
            QVERIFY2(seen.value("_NET_WM_STATE").contains("_NET_WM_STATE_MODAL"), title);
            // openbox offers no maximising. (It offers minimising whatever a
            // window asks; a modal dialog minimised alone comes straight back.)
            const QString actions = seen.value("_NET_WM_ALLOWED_ACTIONS");
            QVERIFY2(actions.contains("_NET_WM_ACTION_CLOSE"), qPrintable(actions));
            QVERIFY2(!actions.contains("_NET_WM_ACTION_MAXIMIZE"), qPrintable(actions));
            QVERIFY(program.keys(dialog, {"Escape"}));
            QVERIFY(Desktop::waitFor([&] {
                return output(desktop.display(), "xdotool",
                              {"search", "--onlyvisible", "--name",
                               "^" + QRegularExpression::escape(title) + "$"},
                              2000)
                    .isEmpty();
            }));
        }
        // The game window itself is an ordinary window in the task bar.
        const QMap<QString, QString> own = program.properties(game);
        QVERIFY(own.value("WM_TRANSIENT_FOR").contains("not found"));
        QVERIFY(!own.value("_NET_WM_STATE").contains("SKIP_TASKBAR"));
    }

    // Full screen, with openbox and without a window manager: the game
    // window, or the backdrop behind the selection screen, covers the screen;
    // the selection screen is the backdrop's dialog, kept above it.
    void fullScreenFillsTheScreen_data() {
        QTest::addColumn<bool>("windowManager");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("covering");
        for (const bool manager : {true, false}) {
            const char* who = manager ? "openbox" : "no window manager";
            QTest::addRow("%s, --fullscreen --activity", who)
                << manager << QStringList{"--fullscreen", "--activity", "playshapes"} << kGameTitle;
            QTest::addRow("%s, --lock --activity", who)
                << manager << QStringList{"--lock", "--activity", "learncolors"} << kGameTitle;
            QTest::addRow("%s, --fullscreen", who)
                << manager << QStringList{"--fullscreen"} << "Quorvel Learning";
        }
    }
    void fullScreenFillsTheScreen() {
        QFETCH(bool, windowManager);
        QFETCH(QStringList, arguments);
        QFETCH(QString, covering);
        Desktop desktop(windowManager);
        QVERIFY2(!desktop.display().isEmpty(), qPrintable(desktop.problem()));
        Program program(desktop.display(), arguments);
        const QString window = program.window(covering);
        QVERIFY2(!window.isEmpty(), qPrintable(program.log()));
        const QRect screen(0, 0, kScreenWidth, kScreenHeight);
        QRect seen;
        QVERIFY2(Desktop::waitFor([&] {
                     seen = program.geometry(window);
                     return seen == screen;
                 }),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(seen.x())
                                .arg(seen.y())
                                .arg(seen.width())
                                .arg(seen.height())));
        if (covering == kGameTitle)
            return;
        const QString front = program.window(QStringLiteral("Quorvel Learning Selection"));
        QVERIFY(!front.isEmpty());
        QCOMPARE(windowIds(program.properties(front).value("WM_TRANSIENT_FOR")),
                 QStringList{hex(window)});
        if (!windowManager)
            return;
        // Stacked above it.
        const QString stacking =
            output(desktop.display(), "xprop", {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"});
        const qsizetype behind = windowIds(stacking).indexOf(hex(window));
        const qsizetype above = windowIds(stacking).indexOf(hex(front));
        QVERIFY2(behind >= 0 && above > behind, qPrintable(stacking));
    }
};

QTEST_GUILESS_MAIN(TestX11Windows)
#include "test_x11windows.moc"

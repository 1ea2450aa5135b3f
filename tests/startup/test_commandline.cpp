// The command line, read in the program: how to start (--activity,
// --fullscreen, --lock), what ends at once (--help, --version, a usage
// error), and the toolkit's own options passed on. The started program's
// answers (without a display) are test_package's.
#include <QtTest>

#include "program/commandline.h"

using namespace qv;

Q_DECLARE_METATYPE(std::optional<int>)

namespace {

const QString kFour = QStringLiteral("learncolors, learnshapes, playcolors or playshapes");

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    // status -1: the program starts, with activity, fullScreen and locked.
    void rows_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("activity");
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("printed");  // stdout when 0, stderr when 2
        const QString none;

        QTest::newRow("nothing") << QStringList{} << -1 << none << false << false << none;
        for (const QString& name : activityNames())
            QTest::addRow("--activity %s", qPrintable(name))
                << QStringList{"--activity", name} << -1 << name << false << false << none;
        QTest::newRow("--activity=")
            << QStringList{"--activity=playshapes"} << -1 << "playshapes" << false << false << none;
        QTest::newRow("-activity, as the toolkit writes its options")
            << QStringList{"-activity", "learnshapes"} << -1 << "learnshapes" << false << false
            << none;
        QTest::newRow("--fullscreen")
            << QStringList{"--fullscreen"} << -1 << none << true << false << none;
        QTest::newRow("--lock") << QStringList{"--lock"} << -1 << none << false << true << none;
        QTest::newRow("--lock --activity") << QStringList{"--lock", "--activity", "playshapes"}
                                           << -1 << "playshapes" << false << true << none;
        QTest::newRow("all three, any order")
            << QStringList{"--activity", "learncolors", "--fullscreen", "--lock"} << -1
            << "learncolors" << true << true << none;
        QTest::newRow("twice the same flag")
            << QStringList{"--fullscreen", "--fullscreen"} << -1 << none << true << false << none;
        QTest::newRow("with the toolkit's options")
            << QStringList{"-platform",  "offscreen",  "--lock",   "-style=fusion",
                           "--activity", "playcolors", "-session", "1a2b"}
            << -1 << "playcolors" << false << true << none;

        // Each option the toolkit takes, as it writes it and with two dashes.
        const QStringList toolkitFlags{"-nograb",      "-dograb", "-reverse", "-testability",
                                       "-widgetcount", "-qdevel", "-qdebug"};
        for (const QString& flag : toolkitFlags) {
            QTest::addRow("toolkit flag %s", qPrintable(flag))
                << QStringList{flag, "--lock"} << -1 << none << false << true << none;
            QTest::addRow("toolkit flag -%s", qPrintable(flag))
                << QStringList{"-" + flag} << -1 << none << false << false << none;
        }
        const QList<QStringList> toolkitValues{
            {"-platform", "xcb"},         {"-platformpluginpath", "/tmp"},
            {"-platformtheme", "gtk3"},   {"-plugin", "evdevtouch"},
            {"-qwindowgeometry", "+0+0"}, {"-qwindowicon", "/tmp/icon.png"},
            {"-qwindowtitle", "Title"},   {"-session", "1a2b"},
            {"-style", "fusion"},         {"-style=fusion"},
            {"-stylesheet", "a.qss"},     {"-stylesheet=a.qss"},
            {"-qmljsdebugger=port:3768"}, {"-display", ":0"},
            {"-name", "kiosk"},           {"-visual", "0x21"},
            {"-geometry", "800x600"},     {"-title", "Title"},
            {"-icon", "/tmp/icon.png"}};
        for (const QStringList& option : toolkitValues)
            QTest::addRow("toolkit option %s", qPrintable(option.join(' ')))
                << option + QStringList{"--activity", "playshapes"} << -1 << "playshapes" << false
                << false << none;
        QTest::newRow("a toolkit option without its value")
            << QStringList{"-display"} << 2 << none << false << false
            << "Missing value after '-display'";

        QTest::newRow("--help names the options") << QStringList{"--help", "--lock"} << 0 << none
                                                  << false << false << "--activity <name>";
        QTest::newRow("--help names the activities")
            << QStringList{"--help"} << 0 << none << false << false << kFour;
        QTest::newRow("--help tells how to leave the lock")
            << QStringList{"-h"} << 0 << none << false << false << "holding Ctrl+Shift+Q";
        QTest::newRow("--help mentions F11")
            << QStringList{"--help"} << 0 << none << false << false << "F11";
        QTest::newRow("--version before the rest")
            << QStringList{"--lock", "--version"} << 0 << none << false << false
            << "quorvellearning " QUORVEL_VERSION "\n";

        QTest::newRow("unknown activity")
            << QStringList{"--activity", "bogus"} << 2 << none << false << false
            << "quorvellearning: unknown activity 'bogus': choose " + kFour + "\n";
        QTest::newRow("an activity's name in capitals")
            << QStringList{"--activity", "PlayShapes"} << 2 << none << false << false
            << "unknown activity 'PlayShapes'";
        QTest::newRow("a button's name, not an activity's")
            << QStringList{"--activity=playcbut"} << 2 << none << false << false
            << "unknown activity 'playcbut'";
        QTest::newRow("empty activity")
            << QStringList{"--activity="} << 2 << none << false << false << "unknown activity ''";
        QTest::newRow("activity without its name")
            << QStringList{"--activity"} << 2 << none << false << false
            << "Missing value after '--activity'";
        QTest::newRow("an option where the name goes")
            << QStringList{"--lock", "--activity", "--fullscreen"} << 2 << none << false << false
            << "unknown activity '--fullscreen'";
        QTest::newRow("two activities")
            << QStringList{"--activity", "playshapes", "--activity", "learncolors"} << 2 << none
            << false << false << "one --activity only, not playshapes, learncolors";
        QTest::newRow("a value for a flag") << QStringList{"--lock=yes"} << 2 << none << false
                                            << false << "Unexpected value after '--lock'";
        QTest::newRow("a misspelt option")
            << QStringList{"--locked"} << 2 << none << false << false << "Unknown option 'locked'";
        QTest::newRow("an activity as an argument")
            << QStringList{"--fullscreen", "playshapes"} << 2 << none << false << false
            << "unexpected argument 'playshapes'";
        QTest::newRow("the usage hint") << QStringList{"--kiosk"} << 2 << none << false << false
                                        << "Try 'quorvellearning --help' for more information.\n";
    }
    void rows() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, activity);
        QFETCH(bool, fullScreen);
        QFETCH(bool, locked);
        QFETCH(QString, printed);
        const CommandLine answer =
            parseCommandLine(QStringList{QStringLiteral("quorvellearning")} + arguments);
        if (status < 0) {
            QVERIFY2(!answer.exitStatus, qPrintable(answer.err));
            QCOMPARE(answer.out, QString());
            QCOMPARE(answer.err, QString());
            QCOMPARE(answer.options.activity, activity);
            QCOMPARE(answer.options.fullScreen, fullScreen);
            QCOMPARE(answer.options.locked, locked);
            // The lock fills the screen without --fullscreen.
            QCOMPARE(answer.options.fillsScreen(), fullScreen || locked);
            return;
        }
        QCOMPARE(answer.exitStatus, std::optional<int>(status));
        const QString& where = status == 0 ? answer.out : answer.err;
        QCOMPARE(status == 0 ? answer.err : answer.out, QString());
        // The help wraps its lines to the terminal.
        QVERIFY2(where.simplified().contains(printed.simplified()), qPrintable(where));
        // Nothing to start with after an answer.
        QCOMPARE(answer.options.activity, QString());
        QVERIFY(!answer.options.fillsScreen());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"

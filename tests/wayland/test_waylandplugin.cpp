// A Wayland-only session without the toolkit's Wayland platform plugin: the
// program says which package is missing and ends with status 1 before the
// toolkit would abort; any other session starts as before.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "program/waylandplugin.h"

using namespace qv;

namespace {

QProcessEnvironment environmentWith(const QStringList& settings) {
    QProcessEnvironment environment;
    for (const QString& setting : settings)
        environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
    return environment;
}

}  // namespace

class TestWaylandPlugin : public QObject {
    Q_OBJECT

private slots:
    void whenTheProgramRefuses_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("pluginInstalled");
        QTest::addColumn<bool>("refused");
        const QStringList program{"quorvellearning"};
        const QStringList waylandOnly{"WAYLAND_DISPLAY=wayland-0"};
        const QStringList both{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"};
        QTest::newRow("Wayland only, no plugin") << program << waylandOnly << false << true;
        QTest::newRow("Wayland only, plugin") << program << waylandOnly << true << false;
        QTest::newRow("session type wayland only")
            << program << QStringList{"XDG_SESSION_TYPE=wayland"} << false << true;
        QTest::newRow("Wayland and X11 (Xwayland), no plugin") << program << both << false << false;
        QTest::newRow("X11 only") << program << QStringList{"DISPLAY=:0"} << false << false;
        QTest::newRow("no display at all: the toolkit's own message")
            << program << QStringList{} << false << false;
        QTest::newRow("QT_QPA_PLATFORM chosen")
            << program << QStringList{"WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=offscreen"}
            << false << false;
        QTest::newRow("QT_QPA_PLATFORM=wayland, no plugin")
            << program << QStringList{"DISPLAY=:0", "QT_QPA_PLATFORM=wayland"} << false << true;
        QTest::newRow("-platform xcb")
            << QStringList{"quorvellearning", "-platform", "xcb"} << waylandOnly << false << false;
        QTest::newRow("--platform=offscreen")
            << QStringList{"quorvellearning", "--platform=offscreen"} << waylandOnly << false
            << false;
        QTest::newRow("-platform wayland over QT_QPA_PLATFORM")
            << QStringList{"quorvellearning", "-platform", "wayland"}
            << QStringList{"QT_QPA_PLATFORM=xcb"} << false << true;
    }
    void whenTheProgramRefuses() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(bool, pluginInstalled);
        QFETCH(bool, refused);
        QTemporaryDir platforms;
        QVERIFY(platforms.isValid());
        // Another platform's plugin is always there.
        QFile(platforms.filePath("libqxcb.so")).open(QIODevice::WriteOnly);
        if (pluginInstalled)
            QFile(platforms.filePath("libqwayland-generic.so")).open(QIODevice::WriteOnly);
        const QString message = missingWaylandPlugin(arguments, environmentWith(environment),
                                                     {"/nonexistent", platforms.path()});
        QCOMPARE(!message.isEmpty(), refused);
        if (refused)
            QVERIFY(message.contains("qt6-wayland"));
    }

    // The real program, where the toolkit finds no platform plugin at all
    // (its qt.conf points elsewhere): the message and status 1, no abort.
    void theProgramSaysWhichPackage() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString program = folder.filePath("quorvellearning");
        QVERIFY(QFile::copy(QStringLiteral(QUORVEL_PROGRAM), program));
        QFile conf(folder.filePath("qt.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[Paths]\nPlugins=" + QFile::encodeName(folder.filePath("no-plugins")) + "\n");
        conf.close();
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM", "QT_PLUGIN_PATH",
                                 "QT_QPA_PLATFORM_PLUGIN_PATH", "XDG_SESSION_TYPE"})
            environment.remove(name);
        environment.insert("WAYLAND_DISPLAY", "wayland-quorvel-test");
        environment.insert("HOME", folder.path());
        run.setProcessEnvironment(environment);
        run.start(program, {"--lock"});
        QVERIFY(run.waitForFinished(30000));
        const QByteArray err = run.readAllStandardError();
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 1);
        QVERIFY2(err.contains("Install the package qt6-wayland"), err.constData());
    }
};

QTEST_GUILESS_MAIN(TestWaylandPlugin)
#include "test_waylandplugin.moc"

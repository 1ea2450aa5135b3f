// Quorvel Learning: wires the real platform to the windows and starts.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>

#include "app/module1.h"
#include "app/settingsstore.h"
#include "catalogue/random.h"
#include "links/qtdesktop.h"
#include "program/commandline.h"
#include "program/startprogram.h"
#include "program/waylandplugin.h"
#include "sound/sdlaudiobackend.h"
#include "timing/eventloopclock.h"
#include "ui/appicon.h"
#include "ui/firstpaint.h"
#include "ui/forms.h"
#include "ui/platform.h"
#include "ui/soundwake.h"

int main(int argc, char** argv) {
    const qv::CommandLine commandLine = qv::answerCommandLine(argc, argv);
    if (commandLine.exitStatus)
        return *commandLine.exitStatus;
    // Before the application: the toolkit aborts where it finds no platform.
    if (const int status = qv::refuseWaylandWithoutPlugin(argc, argv))
        return status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvellearning"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    // Windows are hidden and shown as the child moves between screens; the
    // program ends only where it decides to.
    QApplication::setQuitOnLastWindowClosed(false);

    qv::EventLoopClock clock;
    qv::SdlAudioBackend audio(nullptr, "dummy", qv::kSdlMixerLibraryName,
                              qv::SdlAudioBackend::Opening::WhenAsked);
    qv::QtDesktop desktop;
    qv::ClockSeededRandom random([&clock]() { return clock.wallClockMs(); });
    qv::SettingsStore store = qv::SettingsStore::forCurrentUser();
    qv::Platform platform{clock,
                          audio,
                          desktop,
                          random,
                          store,
                          QDir::cleanPath(QCoreApplication::applicationDirPath()),
                          QStringLiteral(QUORVEL_WEBSITE)};
    qv::Module1 module1;
    qv::Forms forms(platform, module1, commandLine.options);
    // The device, let go while quiet, is ready again before a click's answer.
    qv::SoundWake soundWake(audio, nullptr);

    // The first window needs neither the sound device nor the icons, whose
    // every size is decoded for the window system.
    qv::afterFirstWindowPainted([&audio] {
        QApplication::setWindowIcon(qv::appIcon());
        audio.openDevice();
    });
    if (!qv::startprogramOrReport(forms))
        return 1;
    return app.exec();
}

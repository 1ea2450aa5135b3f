// Frames painted per second while a learn picture comes in, in the real game
// window on the real display: the production clock, SDL audio and the
// generated library, learn colours maximised. Run it under a display of the
// size to measure, e.g. Xvfb at 1920x1080.
//
//   bench_learnframes [pictures] [fxspeed]
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/module1.h"
#include "app/settingsstore.h"
#include "catalogue/random.h"
#include "links/qtdesktop.h"
#include "pictures/transitionpicture.h"
#include "sound/sdlaudiobackend.h"
#include "timing/eventloopclock.h"
#include "ui/forms.h"
#include "ui/mainform/mainform.h"
#include "ui/platform.h"

namespace {

// Counts the paints of the learn picture while its transition runs.
class FrameCounter final : public QObject {
public:
    explicit FrameCounter(qv::TransitionPicture& picture) : picture_(picture) {
        picture.installEventFilter(this);
    }
    struct Run {
        int frames = 0;
        qint64 ms = 0;
        int effect = 0;
    };
    std::vector<Run> runs;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        if (picture_.transitionRunning()) {
            if (!counting_) {
                counting_ = true;
                current_ = Run{0, 0, picture_.effectNumber()};
                clock_.start();
            }
            ++current_.frames;
        } else if (counting_) {
            counting_ = false;
            ++current_.frames;  // the final frame
            current_.ms = clock_.elapsed();
            runs.push_back(current_);
        }
        return false;
    }

private:
    qv::TransitionPicture& picture_;
    bool counting_ = false;
    Run current_;
    QElapsedTimer clock_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int pictures = argc > 1 ? std::max(1, atoi(argv[1])) : 12;
    const int fxspeed = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    QTemporaryDir home;
    qv::EventLoopClock clock;
    qv::SdlAudioBackend audio;
    qv::QtDesktop desktop;
    qv::ClockSeededRandom random([&clock] { return clock.wallClockMs(); });
    qv::SettingsStore store(home.path());
    qv::Platform platform{
        clock, audio, desktop, random, store, QStringLiteral(QUORVEL_PROGRAM_DIR), QString()};
    qv::Module1 module1;
    for (const auto& key : qv::kSettingKeys)
        store.writesetting(qv::kApplicationName, qv::kSettingsSection, QString::fromLatin1(key.key),
                           QString::fromLatin1(key.defaultText));
    store.writesetting(qv::kApplicationName, qv::kSettingsSection, "fxspeed",
                       QString::number(fxspeed));
    store.writesetting(qv::kApplicationName, qv::kSettingsSection, "playmusic", "False");
    qv::loadsettings(module1.settings, store);
    module1.selectedmode = QStringLiteral("learncolors");
    qv::Forms forms(platform, module1);
    qv::mainform& game = forms.game();
    FrameCounter counter(*game.Learnimage);
    game.showAsWindow();
    // Without a window manager nothing maximises the window: fill the screen.
    game.setGeometry(QGuiApplication::primaryScreen()->geometry());

    // Report from inside the event loop: closing the game window, as quitting
    // would, ends the program at once.
    const auto report = [&] {
        std::printf("screen %dx%d, learn picture %dx%d, effect speed %d (%d ms)\n",
                    QGuiApplication::primaryScreen()->size().width(),
                    QGuiApplication::primaryScreen()->size().height(), game.Learnimage->width(),
                    game.Learnimage->height(), fxspeed, qv::TransitionPicture::durationMs(fxspeed));
        std::vector<double> rates;
        for (const auto& run : counter.runs) {
            const double fps = run.ms > 0 ? 1000.0 * run.frames / double(run.ms) : 0;
            rates.push_back(fps);
            std::printf("effect %3d: %3d frames in %4lld ms = %5.1f frames/s\n", run.effect,
                        run.frames, static_cast<long long>(run.ms), fps);
        }
        std::sort(rates.begin(), rates.end());
        std::printf("median %.1f frames/s, lowest %.1f frames/s\n", rates[rates.size() / 2],
                    rates.front());
        std::fflush(stdout);
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (int(counter.runs.size()) < pictures)
            return;
        report();
        std::exit(0);
    });
    poll.start(50);
    return app.exec();
}

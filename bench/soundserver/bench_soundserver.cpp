// The sound back end as the program drives it, with a time stamp for every
// sound it asks for, for soundserver.sh to find in the recording of the
// sink's monitor. It opens the device as the program does once its first
// window is painted, waits while a child chooses, plays the first tune for a
// while and stops it; then, round after round, it waits until the device has
// gone to sleep and the sound server has had time to suspend the sink, plays
// the selection sound ("asleep"), and plays it again right after its end
// ("awake"); then, asleep again, it hears of the pointer moving 150 ms
// before it plays the sound ("pointed"). Each line: <event> <wall clock ms,
// CLOCK_REALTIME> [<ms the call took>].
//
//   bench_soundserver [rounds [choose ms [settle ms]]]    (3, 2000, 8000)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "runevents.h"
#include "sound/sdlaudiobackend.h"
#include "sound/soundplayer.h"
#include "timing/eventloopclock.h"

namespace {

using qvbench::runEventsFor;
using qvbench::runEventsUntil;

const QString kSound = QStringLiteral(QUORVEL_PROGRAM_DIR "/backgrounds/select.wav");
const QString kTune = QStringLiteral(QUORVEL_PROGRAM_DIR "/sounds/1.mid");
// How long the pointer is on its way before a click; a child's is longer.
constexpr int kPointerBeforeClickMs = 150;

double wallMs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// Gives the command and prints the event with the time the call took.
template <typename Command>
void stamped(const char* event, Command command) {
    const double before = wallMs();
    command();
    std::printf("%s %.3f %.3f\n", event, before, wallMs() - before);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int chooseMs = argc > 2 ? std::atoi(argv[2]) : 2000;
    const int settleMs = argc > 3 ? std::atoi(argv[3]) : 8000;

    qv::EventLoopClock clock;
    qv::SdlAudioBackend backend(nullptr, "dummy", qv::kSdlMixerLibraryName,
                                qv::SdlAudioBackend::Opening::WhenAsked);
    qv::SoundPlayer voice(backend, clock, QStringLiteral("soundplayer"));
    qv::SoundPlayer music(backend, clock, QStringLiteral("playbackmusiccontrol"));
    backend.openDevice();
    runEventsFor(chooseMs);
    if (!backend.isAvailable()) {
        std::fprintf(stderr, "bench_soundserver: no sound device\n");
        return 1;
    }
    std::fprintf(stderr, "driver %s\n", qPrintable(backend.driverName()));

    // As the game window starts its music.
    stamped("tune", [&] {
        music.setFileName(kTune);
        music.setDeviceType(QStringLiteral("sequencer"));
        music.setCommand(QStringLiteral("open"));
        music.setCommand(QStringLiteral("prev"));
        music.setCommand(QStringLiteral("play"));
    });
    runEventsFor(1500);
    music.setCommand(QStringLiteral("close"));

    for (int round = 0; round < rounds; ++round) {
        if (!runEventsUntil([&] { return backend.deviceAsleep(); }, 20'000)) {
            std::fprintf(stderr, "bench_soundserver: the device does not go to sleep\n");
            return 1;
        }
        runEventsFor(settleMs);
        voice.setFileName(kSound);
        stamped("asleep", [&] { voice.setCommand(QStringLiteral("sound")); });
        runEventsUntil([&] { return !backend.isPlaying(0); }, 10'000);
        runEventsFor(300);
        stamped("awake", [&] { voice.setCommand(QStringLiteral("sound")); });
        runEventsUntil([&] { return !backend.isPlaying(0); }, 10'000);
        // Asleep again, but the pointer moves over the window for a moment
        // before the click, as it does when a child clicks.
        runEventsUntil([&] { return backend.deviceAsleep(); }, 20'000);
        runEventsFor(settleMs);
        backend.expectSound();
        runEventsFor(kPointerBeforeClickMs);
        stamped("pointed", [&] { voice.setCommand(QStringLiteral("sound")); });
        runEventsUntil([&] { return !backend.isPlaying(0); }, 10'000);
    }
    return 0;
}

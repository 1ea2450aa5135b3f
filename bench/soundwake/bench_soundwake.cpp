// How long a sound takes from the call that plays it to the first buffer it
// is mixed into, with SDL's audio thread awake (a sound has just played) and
// asleep (nothing has sounded for a while). The music's level against the
// voices, which the audio thread sets right after mixing each buffer, shows
// the first buffer with the voice in it. What the device adds after that is
// the same either way. The driver is SDL's choice (SDL_AUDIODRIVER).
//
//   bench_soundwake [rounds]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runevents.h"
#include "sound/musicducking.h"
#include "sound/sdlaudiobackend.h"

namespace {

using qvbench::runEventsUntil;

const QString kSound = QStringLiteral(QUORVEL_PROGRAM_DIR "/backgrounds/select.wav");

// Milliseconds from the call to the first buffer mixed with the sound in it.
double playAndTime(qv::SdlAudioBackend& backend, qv::AudioBackend::PlayerId player) {
    QElapsedTimer elapsed;
    elapsed.start();
    backend.playWave(player, kSound);
    while (backend.musicLevel() >= qv::MusicDucking::kFullLevel)
        QThread::usleep(50);
    return elapsed.nsecsElapsed() / 1e6;
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-7s median %5.1f ms, max %5.1f ms (%zu sounds)\n", what, ms[ms.size() / 2],
                ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    qv::SdlAudioBackend backend;
    if (!backend.isAvailable()) {
        std::fprintf(stderr, "bench_soundwake: no sound device\n");
        return 1;
    }
    const qv::AudioBackend::PlayerId player = backend.createPlayer(QStringLiteral("soundplayer"));
    std::printf("driver %s\n", qPrintable(backend.driverName()));
    std::vector<double> awake, asleep;
    const auto quiet = [&] {
        return !backend.isPlaying(player) && backend.musicLevel() >= qv::MusicDucking::kFullLevel;
    };
    for (int round = 0; round < rounds; ++round) {
        if (!runEventsUntil([&] { return backend.deviceAsleep(); }, 10'000)) {
            std::fprintf(stderr, "bench_soundwake: the audio thread does not sleep here\n");
            return 1;
        }
        asleep.push_back(playAndTime(backend, player));
        // Played to its end and the music's level back up: the thread is
        // still awake, as it is for a second after a sound. A click comes at
        // any point of a buffer.
        if (!runEventsUntil(quiet, 10'000)) {
            std::fprintf(stderr, "bench_soundwake: the sound does not end\n");
            return 1;
        }
        QThread::usleep(QRandomGenerator::global()->bounded(12'000));
        awake.push_back(playAndTime(backend, player));
        runEventsUntil(quiet, 10'000);
    }
    report("awake", awake);
    report("asleep", asleep);
    return 0;
}

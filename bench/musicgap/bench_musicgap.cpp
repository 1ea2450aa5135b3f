// How long the music is silent between two tunes. Two tunes of the library
// (by default the two shortest) play one after the other as the game window
// plays them: the second starts on the first one's done. SDL's "disk" driver
// writes everything the mixer plays to a file, at the pace of a real device;
// the figures come from that file.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "sound/miditiming.h"
#include "sound/sdlaudiobackend.h"
#include "sound/soundplayer.h"
#include "timing/eventloopclock.h"

namespace {

constexpr int kRate = 44100;
constexpr int kWindowFrames = kRate / 200;  // 5 ms
// A tune is heard above this level; below the other there is nothing left.
constexpr double kHeardDb = -60.0;
constexpr double kStoppedDb = -90.0;

QString tunePath(int number) {
    return QStringLiteral(QUORVEL_PROGRAM_DIR "/sounds/%1.mid").arg(number);
}

qv::MidiTiming timingOf(int number) {
    QFile file(tunePath(number));
    return file.open(QIODevice::ReadOnly) ? qv::readMidiTiming(file.readAll()) : qv::MidiTiming{};
}

// A freshly opened tune is at its top: "open" and a notified "play" start it.
void startTune(qv::SoundPlayer& player, int number) {
    player.setDeviceType(QStringLiteral("sequencer"));
    player.setFileName(tunePath(number));
    player.setCommand(QStringLiteral("open"));
    player.setNotify(true);
    player.setCommand(QStringLiteral("play"));
}

// Level of each 5 ms window of interleaved 16-bit stereo, in dB of full scale.
std::vector<double> windowLevels(const QByteArray& raw) {
    const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
    const qsizetype frames = raw.size() / 4;
    std::vector<double> levels;
    for (qsizetype start = 0; start + kWindowFrames <= frames; start += kWindowFrames) {
        double sum = 0;
        for (qsizetype i = start * 2; i < (start + kWindowFrames) * 2; ++i)
            sum += double(samples[i]) * samples[i];
        const double rms = std::sqrt(sum / (kWindowFrames * 2)) / 32768.0;
        levels.push_back(rms > 0 ? 20 * std::log10(rms) : -200.0);
    }
    return levels;
}

double windowMs(qsizetype window) {
    return double(window) * kWindowFrames * 1000.0 / kRate;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int first = -1, second = -1;
    if (argc == 3) {
        first = std::atoi(argv[1]);
        second = std::atoi(argv[2]);
    } else {
        std::vector<std::pair<double, int>> lengths;
        for (int n = 0; n < 11; ++n)
            lengths.emplace_back(timingOf(n).lastNoteEndMs, n);
        std::sort(lengths.begin(), lengths.end());
        first = lengths[0].second;
        second = lengths[1].second;
    }
    const qv::MidiTiming a = timingOf(first);
    const qv::MidiTiming b = timingOf(second);
    if (!a.hasNotes() || !b.hasNotes()) {
        std::fprintf(stderr, "bench_musicgap: tunes %d and %d must exist and hold notes\n", first,
                     second);
        return 1;
    }

    QTemporaryDir dir;
    const QString output = dir.filePath("out.raw");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    {
        qv::EventLoopClock clock;
        auto backend = std::make_unique<qv::SdlAudioBackend>(nullptr, nullptr);
        if (!backend->isAvailable() || backend->driverName() != QLatin1String("disk")) {
            std::fprintf(stderr, "bench_musicgap: SDL's disk audio driver is not available\n");
            return 1;
        }
        qv::SoundPlayer music(*backend, clock, QStringLiteral("playbackmusiccontrol"));
        int ended = 0;
        QObject::connect(&music, &qv::SoundPlayer::done, &app, [&] {
            if (++ended == 1)
                startTune(music, second);
            else
                clock.callAfter(500, [] { QCoreApplication::quit(); });
        });
        std::printf("tunes %d (notes end at %.0f ms) and %d (first note at %.0f ms)\n", first,
                    a.lastNoteEndMs, second, b.firstNoteMs);
        startTune(music, first);
        app.exec();
        music.setCommand(QStringLiteral("close"));
    }

    QFile file(output);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_musicgap: no output written\n");
        return 1;
    }
    const std::vector<double> levels = windowLevels(file.readAll());
    const auto loud = [&](qsizetype w) { return levels[size_t(w)] > kHeardDb; };
    const qsizetype count = qsizetype(levels.size());
    qsizetype startA = 0;
    while (startA < count && !loud(startA))
        ++startA;
    // Where the first tune's last note ends in the output.
    const double lastNoteEnd = windowMs(startA) - a.firstNoteMs + a.lastNoteEndMs;
    const qsizetype endWindow = qsizetype(lastNoteEnd / windowMs(1));
    if (startA >= count || endWindow >= count) {
        std::fprintf(stderr, "bench_musicgap: could not find the first tune in the output\n");
        return 1;
    }
    // The release of the last note only ever falls; the second tune starts
    // where the level jumps well above it.
    qsizetype secondStart = endWindow + 1;
    double tail = levels[size_t(endWindow)];
    while (secondStart < count && levels[size_t(secondStart)] < std::max(tail + 10, kHeardDb)) {
        tail = std::max(levels[size_t(secondStart)], kStoppedDb);
        ++secondStart;
    }
    if (secondStart >= count) {
        std::fprintf(stderr, "bench_musicgap: could not find the second tune in the output\n");
        return 1;
    }
    qsizetype quiet = 0;
    for (qsizetype w = endWindow; w < secondStart; ++w)
        quiet += !loud(w);
    std::printf("levels (dBFS) every 20 ms from 200 ms before the last note's end:\n ");
    for (qsizetype w = std::max<qsizetype>(0, endWindow - 40); w < secondStart + 8 && w < count;
         w += 4)
        std::printf(" %.0f", levels[size_t(w)]);
    std::printf("\n");
    std::printf("first tune heard from %.0f ms; its last note ends at %.0f ms\n", windowMs(startA),
                lastNoteEnd);
    std::printf("second tune heard from %.0f ms\n", windowMs(secondStart));
    std::printf(
        "quiet (below %.0f dBFS) between the last note's end and the second tune: %.0f "
        "ms\n",
        kHeardDb, windowMs(quiet));
    std::printf(
        "last note's end to the second tune's start: %.0f ms (its first note %.0f ms "
        "in)\n",
        windowMs(secondStart) - b.firstNoteMs - lastNoteEnd, b.firstNoteMs);
    return 0;
}

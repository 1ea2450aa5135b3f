// How long the music is silent between tunes. Tunes of the library (by
// default the two shortest) play one after the other as the game window plays
// them: each starts on the done of the one before. SDL's "disk" driver writes
// everything the mixer plays to a file, at the pace of a real device; the
// figures come from that file, one set for every change of tune.
//
//   bench_musicgap [tune tune...]
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
    std::vector<int> tunes;
    for (int i = 1; i < argc; ++i)
        tunes.push_back(std::atoi(argv[i]));
    if (tunes.empty()) {
        std::vector<std::pair<double, int>> lengths;
        for (int n = 0; n < 11; ++n)
            lengths.emplace_back(timingOf(n).lastNoteEndMs, n);
        std::sort(lengths.begin(), lengths.end());
        tunes = {lengths[0].second, lengths[1].second};
    }
    std::vector<qv::MidiTiming> timings;
    for (int tune : tunes) {
        timings.push_back(timingOf(tune));
        if (!timings.back().hasNotes()) {
            std::fprintf(stderr, "bench_musicgap: tune %d must exist and hold notes\n", tune);
            return 1;
        }
    }
    if (tunes.size() < 2) {
        std::fprintf(stderr, "bench_musicgap: two tunes or more, please\n");
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
        size_t ended = 0;
        QObject::connect(&music, &qv::SoundPlayer::done, &app, [&] {
            if (++ended < tunes.size())
                startTune(music, tunes[ended]);
            else
                clock.callAfter(500, [] { QCoreApplication::quit(); });
        });
        std::printf("tunes");
        for (size_t i = 0; i < tunes.size(); ++i)
            std::printf(" %d (%.0f ms)", tunes[i], timings[i].lastNoteEndMs);
        std::printf("\n");
        startTune(music, tunes[0]);
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
    qsizetype start = 0;
    while (start < count && !loud(start))
        ++start;
    double worst = 0;
    for (size_t i = 0; i + 1 < tunes.size(); ++i) {
        const qv::MidiTiming& a = timings[i];
        const qv::MidiTiming& b = timings[i + 1];
        // Where this tune's last note ends in the output.
        const double lastNoteEnd = windowMs(start) - a.firstNoteMs + a.lastNoteEndMs;
        const qsizetype endWindow = qsizetype(lastNoteEnd / windowMs(1));
        if (start >= count || endWindow >= count) {
            std::fprintf(stderr, "bench_musicgap: could not find tune %d in the output\n",
                         tunes[i]);
            return 1;
        }
        // The release of the last note only ever falls; the next tune starts
        // where the level jumps well above it.
        qsizetype next = endWindow + 1;
        double tail = levels[size_t(endWindow)];
        while (next < count && levels[size_t(next)] < std::max(tail + 10, kHeardDb)) {
            tail = std::max(levels[size_t(next)], kStoppedDb);
            ++next;
        }
        if (next >= count) {
            std::fprintf(stderr, "bench_musicgap: could not find tune %d in the output\n",
                         tunes[i + 1]);
            return 1;
        }
        qsizetype quiet = 0;
        for (qsizetype w = endWindow; w < next; ++w)
            quiet += !loud(w);
        const double gap = windowMs(next) - b.firstNoteMs - lastNoteEnd;
        worst = std::max(worst, gap);
        std::printf("\ntune %d to tune %d\n", tunes[i], tunes[i + 1]);
        std::printf("levels (dBFS) every 20 ms from 200 ms before the last note's end:\n ");
        for (qsizetype w = std::max<qsizetype>(0, endWindow - 40); w < next + 8 && w < count;
             w += 4)
            std::printf(" %.0f", levels[size_t(w)]);
        std::printf("\n");
        std::printf("tune %d heard from %.0f ms; its last note ends at %.0f ms\n", tunes[i],
                    windowMs(start), lastNoteEnd);
        std::printf("tune %d heard from %.0f ms\n", tunes[i + 1], windowMs(next));
        std::printf(
            "quiet (below %.0f dBFS) between the last note's end and the next tune: %.0f ms\n",
            kHeardDb, windowMs(quiet));
        std::printf(
            "last note's end to the next tune's start: %.0f ms (its first note %.0f ms in)\n", gap,
            b.firstNoteMs);
        start = next;
    }
    std::printf("\nlongest gap: %.0f ms\n", worst);
    return 0;
}

// The real backend on SDL's silent "dummy" driver, which plays at the pace of
// a real device: these tests take a few seconds of real time by nature.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

#include "sound/musicducking.h"
#include "sound/musicsynth.h"
#include "sound/sdlaudiobackend.h"
#include "sound/sounddevice.h"
#include "sound/soundfiles.h"
#include "sound/soundplayer.h"
#include "timing/eventloopclock.h"
#include "ui/soundwake.h"

using qv::EventLoopClock;
using qv::MusicSynth;
using qv::SdlAudioBackend;
using qv::SoundPlayer;

namespace {

constexpr int kWaveMs = 1500;
constexpr int kMidiMs = 1000;
constexpr int kShortMidiMs = 600;
constexpr int kMidiTimeoutMs = kMidiMs + 10'000;
// The audio thread falls asleep within this time once nothing sounds.
constexpr int kSleepTimeoutMs = qv::SoundDevice::kQuietBeforeSleepMs + 3000;
// The device is closed within this time once nothing sounds.
constexpr int kCloseTimeoutMs = SdlAudioBackend::kQuietBeforeCloseMs + 3000;
// A done that was wrongly kept would come within this time of the sound's end.
constexpr int kQuietPeriodMs = 700;

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

// SDL's "disk" driver for one scope: everything the mixer plays is written
// to a file, at the pace of a real device. Time the audio thread sleeps
// leaves nothing in the file.
class DiskOutput {
public:
    static constexpr int kRate = 44100;
    static constexpr int kWindowFrames = kRate / 200;  // 5 ms

    explicit DiskOutput(const QString& path)
        : path_(path),
          driver_("SDL_AUDIODRIVER", "disk"),
          file_("SDL_DISKAUDIOFILE", path.toUtf8()) {}

    // Whether each 5 ms of what was played, interleaved 16-bit stereo, is
    // heard: its level is above -60 dBFS.
    QList<bool> heardWindows() const {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray raw = file.readAll();
        const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
        const qsizetype frames = raw.size() / 4;
        QList<bool> heard;
        for (qsizetype start = 0; start + kWindowFrames <= frames; start += kWindowFrames) {
            double sum = 0;
            for (qsizetype i = start * 2; i < (start + kWindowFrames) * 2; ++i)
                sum += double(samples[i]) * samples[i];
            heard.append(std::sqrt(sum / (kWindowFrames * 2)) / 32768.0 > 0.001);
        }
        return heard;
    }

private:
    QString path_;
    ScopedEnv driver_;
    ScopedEnv file_;
};

// The first window heard from, the number heard, and the longest run of
// windows not heard between the first heard and the last one.
struct Heard {
    qsizetype first = -1;
    qsizetype count = 0;
    qsizetype longestGap = 0;
};

Heard heardIn(const QList<bool>& windows) {
    Heard heard;
    qsizetype gap = 0;
    for (qsizetype w = 0; w < windows.size(); ++w) {
        if (!windows[w]) {
            ++gap;
            continue;
        }
        if (heard.first < 0)
            heard.first = w;
        else
            heard.longestGap = std::max(heard.longestGap, gap);
        gap = 0;
        ++heard.count;
    }
    return heard;
}

}  // namespace

class SdlAudioBackendTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(dir_.isValid());
        wave_ = dir_.filePath("tone.wav");
        shortWave_ = dir_.filePath("short.wav");
        midi_ = dir_.filePath("tune.mid");
        QVERIFY(qvtest::writeSineWave(wave_, kWaveMs));
        QVERIFY(qvtest::writeSineWave(shortWave_, 300, 44100, 2));
        QVERIFY(qvtest::writeMidiNote(midi_, kMidiMs));
        shortMidi_ = dir_.filePath("short.mid");
        QVERIFY(qvtest::writeMidiNote(shortMidi_, kShortMidiMs));
    }

    void init() {
        backend_ = std::make_unique<SdlAudioBackend>();
        QVERIFY(backend_->isAvailable());
        QCOMPARE(backend_->driverName(), QStringLiteral("dummy"));
    }

    void cleanup() { backend_.reset(); }

    void soundWithWaitLastsAboutItsLength() {
        SoundPlayer player(*backend_, clock_, "soundplayer");
        QSignalSpy done(&player, &SoundPlayer::done);
        player.setFileName(wave_);
        player.setWait(true);
        player.setNotify(true);

        QElapsedTimer elapsed;
        elapsed.start();
        player.setCommand("sound");
        const qint64 waited = elapsed.elapsed();

        QVERIFY2(waited >= kWaveMs * 7 / 10, qPrintable(QString::number(waited)));
        QVERIFY2(waited <= kWaveMs + 2000, qPrintable(QString::number(waited)));
        QTRY_COMPARE(done.count(), 1);
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), 1);
    }

    void soundWithoutWaitReturnsAndNotifiesOnce() {
        SoundPlayer player(*backend_, clock_, "answerplay");
        QSignalSpy done(&player, &SoundPlayer::done);
        player.setFileName(shortWave_);
        player.setNotify(true);
        player.setCommand("sound");
        QVERIFY(backend_->isPlaying(0));
        QCOMPARE(done.count(), 0);
        QTRY_COMPARE(done.count(), 1);
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), 1);
    }

    // SDL reports the halt of a sound as its end, and may report it after the
    // next sound has started: neither report may pass for the end of the sound
    // that plays now.
    void aSoundCutOffGivesNoDone_data() {
        QTest::addColumn<QString>("cutBy");
        QTest::newRow("another sound with notify") << "sound";
        QTest::newRow("close") << "close";
    }

    void aSoundCutOffGivesNoDone() {
        QFETCH(QString, cutBy);
        SoundPlayer player(*backend_, clock_, "answerplay");
        QSignalSpy done(&player, &SoundPlayer::done);
        player.setFileName(wave_);
        player.setNotify(true);
        player.setCommand("sound");
        QTest::qWait(100);

        QElapsedTimer sinceCut;
        sinceCut.start();
        player.setNotify(cutBy == "sound");
        player.setCommand(cutBy);
        if (cutBy == "sound") {
            QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kWaveMs + 3000);
            QVERIFY2(sinceCut.elapsed() >= kWaveMs * 7 / 10,
                     qPrintable(QString::number(sinceCut.elapsed())));
        } else {
            QTest::qWait(kWaveMs);
        }
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), cutBy == "sound" ? 1 : 0);
    }

    void playersOverlap() {
        SoundPlayer first(*backend_, clock_, "soundplayer");
        SoundPlayer second(*backend_, clock_, "answerplay");
        QSignalSpy firstDone(&first, &SoundPlayer::done);
        first.setFileName(wave_);
        first.setNotify(true);
        first.setCommand("sound");
        second.setFileName(shortWave_);
        second.setWait(true);
        second.setCommand("sound");
        // The second waited for its own end while the first played on.
        QCOMPARE(firstDone.count(), 0);
        QTRY_COMPARE(firstDone.count(), 1);
    }

    void musicOpenPrevPlayNotifiesOnceAtTheEnd() {
        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        QSignalSpy done(&music, &SoundPlayer::done);
        music.setFileName(midi_);
        music.setWait(true);
        music.setDeviceType("sequencer");
        music.setCommand("open");
        music.setCommand("prev");
        // The player still holds the tune after its end: each round plays it
        // again from the top, for its whole length.
        for (int round = 1; round <= 2; ++round) {
            QElapsedTimer elapsed;
            elapsed.start();
            music.setNotify(true);
            music.setCommand("play");
            QCOMPARE(done.count(), round - 1);
            QTRY_COMPARE_WITH_TIMEOUT(done.count(), round, kMidiTimeoutMs);
            QVERIFY2(elapsed.elapsed() >= kMidiMs * 7 / 10,
                     qPrintable(QString::number(elapsed.elapsed())));
            music.setCommand("prev");
        }
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), 2);
        music.setCommand("close");
    }

    // FluidSynth would let the tune run on for about two seconds after its
    // last note; it ends at the note's end, and the next tune may load while
    // the release rings out. Where it ended is counted in audio frames, so the
    // machine's speed does not matter.
    void aTuneEndsSoonAfterItsLastNote() {
        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        QSignalSpy done(&music, &SoundPlayer::done);
        music.setDeviceType("sequencer");
        music.setFileName(midi_);
        music.setCommand("open");
        QCOMPARE(backend_->lengthMs(0), qint64(kMidiMs));
        music.setNotify(true);
        music.setCommand("play");
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kMidiTimeoutMs);
        const qint64 endedAt = backend_->lastTuneEndMs();
        QVERIFY2(endedAt >= kMidiMs && endedAt <= kMidiMs + 30,
                 qPrintable(QString::number(endedAt)));
        QVERIFY(!backend_->isPlaying(0));
        // FluidSynth's own, later report of the end gives no second done.
        QTest::qWait(2500);
        QCOMPARE(done.count(), 1);
    }

    // A tune replaced or closed right after it has started gives no done;
    // its successor gives exactly one.
    void aTuneCutOffGivesNoDone_data() {
        QTest::addColumn<QString>("cutBy");
        QTest::newRow("another tune") << "open";
        QTest::newRow("close") << "close";
    }
    void aTuneCutOffGivesNoDone() {
        QFETCH(QString, cutBy);
        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        QSignalSpy done(&music, &SoundPlayer::done);
        music.setDeviceType("sequencer");
        music.setFileName(midi_);
        music.setCommand("open");
        music.setNotify(true);
        music.setCommand("play");
        QVERIFY(backend_->isPlaying(0));
        music.setCommand(cutBy);
        if (cutBy == "open") {
            music.setNotify(true);
            music.setCommand("play");
            QVERIFY(backend_->isPlaying(0));
            QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kMidiTimeoutMs);
        } else {
            QVERIFY(!backend_->isPlaying(0));
            QTest::qWait(kMidiMs + kQuietPeriodMs);
        }
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), cutBy == "open" ? 1 : 0);
    }

    // While a voice sounds the music is lowered in the synthesizer itself,
    // then brought back.
    void theMusicGivesWayToAVoice() {
        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        SoundPlayer voice(*backend_, clock_, "soundplayer");
        // The synthesizer is made ready when the first tune is opened.
        music.setDeviceType("sequencer");
        music.setFileName(midi_);
        music.setCommand("open");
        const auto gainAt = [](double level) {
            return float(std::lround(level * MusicSynth::kFullVolume) * MusicSynth::kFullGain /
                         MusicSynth::kFullVolume);
        };
        QTRY_COMPARE(float(backend_->musicGain()), gainAt(qv::MusicDucking::kFullLevel));
        voice.setFileName(wave_);
        voice.setCommand("sound");
        QTRY_COMPARE(backend_->musicLevel(), qv::MusicDucking::kUnderVoiceLevel);
        QTRY_COMPARE(float(backend_->musicGain()), gainAt(qv::MusicDucking::kUnderVoiceLevel));
        QVERIFY(backend_->isPlaying(1));
        QTRY_COMPARE_WITH_TIMEOUT(backend_->musicLevel(), qv::MusicDucking::kFullLevel,
                                  kWaveMs + 3000);
        QVERIFY(!backend_->isPlaying(1));
        QTRY_COMPARE(float(backend_->musicGain()), gainAt(qv::MusicDucking::kFullLevel));
    }

    // The device is opened on a thread of its own; a sound asked for before
    // it is open plays once it is, to its end, with its done.
    void aSoundAskedForWhileTheDeviceOpensStillPlays() {
        backend_.reset();
        SdlAudioBackend backend;
        SoundPlayer player(backend, clock_, "selectform.soundplayer");
        QSignalSpy done(&player, &SoundPlayer::done);
        // A missing file fails at once, whether the device is open yet or not.
        const SdlAudioBackend::PlayerId other = backend.createPlayer("other");
        QVERIFY(!backend.playWave(other, dir_.filePath("missing.wav")));
        player.setFileName(shortWave_);
        player.setNotify(true);
        player.setCommand("sound");
        QVERIFY(backend.isPlaying(0));
        QTRY_COMPARE(done.count(), 1);
        QVERIFY(backend.isAvailable());
        QVERIFY(!backend.isPlaying(0));
    }

    // The program opens the device after its first window is painted; a
    // sound asked for before then waits for it.
    void aSoundAskedForBeforeTheDeviceIsOpenedWaitsForIt() {
        backend_.reset();
        SdlAudioBackend backend(nullptr, "dummy", qv::kSdlMixerLibraryName,
                                SdlAudioBackend::Opening::WhenAsked);
        SoundPlayer player(backend, clock_, "selectform.soundplayer");
        QSignalSpy done(&player, &SoundPlayer::done);
        player.setFileName(shortWave_);
        player.setNotify(true);
        player.setCommand("sound");
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), 0);
        QVERIFY(backend.isPlaying(0));
        backend.openDevice();
        QTRY_COMPARE(done.count(), 1);
        QVERIFY(!backend.isPlaying(0));
    }

    // A backend never asked to open leaves the device to the next one.
    void aBackendNeverOpenedLeavesTheDeviceFree() {
        backend_.reset();
        {
            SdlAudioBackend unused(nullptr, "dummy", qv::kSdlMixerLibraryName,
                                   SdlAudioBackend::Opening::WhenAsked);
        }
        SdlAudioBackend backend;
        QVERIFY(backend.isAvailable());
    }

    void closingTheMusicWithoutNotifyStopsItForGood() {
        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        QSignalSpy done(&music, &SoundPlayer::done);
        music.setDeviceType("sequencer");
        music.setFileName(midi_);
        music.setCommand("open");
        music.setNotify(true);
        music.setCommand("play");
        QTest::qWait(200);
        music.setNotify(false);
        music.setCommand("close");
        QTest::qWait(kMidiMs + kQuietPeriodMs);
        QCOMPARE(done.count(), 0);
        // Released: nothing left to play.
        music.setNotify(true);
        music.setCommand("play");
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), 0);
    }

    void missingFilesDoNothing_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("sound") << "WaveAudio" << QStringList{"sound"};
        QTest::newRow("music") << "sequencer" << QStringList{"open", "prev", "play", "close"};
    }

    void missingFilesDoNothing() {
        QFETCH(QString, device);
        QFETCH(QStringList, commands);
        SoundPlayer player(*backend_, clock_, "soundplayer");
        QSignalSpy done(&player, &SoundPlayer::done);
        player.setDeviceType(device);
        player.setFileName(dir_.filePath("missing.wav"));
        for (const QString& command : commands) {
            player.setWait(true);
            if (command != "close")
                player.setNotify(true);
            player.setCommand(command);
        }
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), 0);
    }

    void aBrokenMidiFileFailsAndTheStreamStaysUsable() {
        const QString broken = dir_.filePath("broken.mid");
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("MThd this is not a tune");
        file.close();

        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        QSignalSpy done(&music, &SoundPlayer::done);
        music.setDeviceType("sequencer");
        music.setFileName(broken);
        music.setNotify(true);
        music.setCommand("open");
        music.setCommand("prev");
        music.setCommand("play");
        music.setFileName(midi_);
        music.setCommand("open");
        music.setNotify(true);
        music.setCommand("play");
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kMidiTimeoutMs);
    }

    void withoutASoundDeviceTheDummyDriverTakesOver() {
        backend_.reset();
        const ScopedEnv env("SDL_AUDIODRIVER", "nosuchdevice");
        SdlAudioBackend backend;
        QVERIFY(backend.isAvailable());
        QCOMPARE(backend.driverName(), QStringLiteral("dummy"));

        SoundPlayer player(backend, clock_, "soundplayer");
        QSignalSpy done(&player, &SoundPlayer::done);
        player.setFileName(shortWave_);
        player.setNotify(true);
        player.setCommand("sound");
        QTRY_COMPARE(done.count(), 1);
    }

    void withNoAudioAtAllEveryCommandFailsSilently_data() {
        QTest::addColumn<QByteArray>("driver");
        QTest::addColumn<QByteArray>("fallback");
        QTest::addColumn<QByteArray>("library");
        QTest::newRow("no device, no fallback")
            << QByteArray("nosuchdevice") << QByteArray("nosuchfallback")
            << QByteArray(qv::kSdlMixerLibraryName);
        QTest::newRow("no SDL2_mixer") << QByteArray("dummy") << QByteArray("dummy")
                                       << QByteArray("libQuorvelNoSuchMixer.so.0");
    }

    void withNoAudioAtAllEveryCommandFailsSilently() {
        QFETCH(QByteArray, driver);
        QFETCH(QByteArray, fallback);
        QFETCH(QByteArray, library);
        backend_.reset();
        const ScopedEnv env("SDL_AUDIODRIVER", driver);
        SdlAudioBackend backend(nullptr, fallback.constData(), library.constData());
        QVERIFY(!backend.isAvailable());
        QVERIFY(backend.driverName().isEmpty());

        SoundPlayer wave(backend, clock_, "soundplayer");
        SoundPlayer music(backend, clock_, "playbackmusiccontrol");
        QSignalSpy done(&wave, &SoundPlayer::done);
        QSignalSpy musicDone(&music, &SoundPlayer::done);
        wave.setFileName(wave_);
        wave.setWait(true);
        wave.setNotify(true);
        wave.setCommand("sound");
        QVERIFY(!backend.isPlaying(0));
        music.setDeviceType("sequencer");
        music.setFileName(midi_);
        for (const char* command : {"open", "prev", "play"}) {
            music.setWait(true);
            music.setNotify(true);
            music.setCommand(command);
        }
        QTest::qWait(kQuietPeriodMs);
        QCOMPARE(done.count(), 0);
        QCOMPARE(musicDone.count(), 0);
    }

    void aSecondBackendStaysSilentWhileTheFirstLives() {
        SdlAudioBackend second;
        QVERIFY(!second.isAvailable());
        SoundPlayer player(second, clock_, "soundplayer");
        player.setFileName(shortWave_);
        player.setCommand("sound");
        // The first one still works.
        SoundPlayer other(*backend_, clock_, "answerplay");
        QSignalSpy done(&other, &SoundPlayer::done);
        other.setFileName(shortWave_);
        other.setNotify(true);
        other.setCommand("sound");
        QTRY_COMPARE(done.count(), 1);
    }

    // One synthesizer plays every tune. Each starts on the done of the one
    // before, as the game window starts them, and plays from its top for its
    // whole length (counted in frames), heard throughout, with one done.
    void tunesFollowOneAnotherOnOneSynthesizer_data() {
        QTest::addColumn<QList<int>>("lengths");
        QTest::newRow("other tunes") << QList<int>{kMidiMs, kShortMidiMs, kMidiMs};
        QTest::newRow("the same tune again") << QList<int>{kShortMidiMs, kShortMidiMs};
    }

    void tunesFollowOneAnotherOnOneSynthesizer() {
        QFETCH(QList<int>, lengths);
        backend_.reset();
        const DiskOutput output(dir_.filePath("tunes.raw"));
        auto backend = std::make_unique<SdlAudioBackend>();
        QCOMPARE(backend->driverName(), QStringLiteral("disk"));
        QList<qint64> endedAt;
        {
            SoundPlayer music(*backend, clock_, "playbackmusiccontrol");
            music.setDeviceType("sequencer");
            const auto start = [&](int length) {
                music.setFileName(length == kMidiMs ? midi_ : shortMidi_);
                music.setCommand("open");
                music.setCommand("prev");
                music.setNotify(true);
                music.setCommand("play");
            };
            connect(&music, &SoundPlayer::done, this, [&] {
                endedAt.append(backend->lastTuneEndMs());
                if (endedAt.size() < lengths.size())
                    start(lengths[endedAt.size()]);
            });
            start(lengths[0]);
            QTRY_COMPARE_WITH_TIMEOUT(endedAt.size(), lengths.size(),
                                      lengths.size() * kMidiTimeoutMs);
            QTest::qWait(kQuietPeriodMs);
            QCOMPARE(endedAt.size(), lengths.size());
        }
        backend.reset();

        for (int i = 0; i < lengths.size(); ++i)
            QVERIFY2(endedAt[i] >= lengths[i] && endedAt[i] <= lengths[i] + 30,
                     qPrintable(QString("tune %1 ended at %2 ms").arg(i).arg(endedAt[i])));
        // A tune that played silently would leave a quiet stretch as long as it.
        const Heard heard = heardIn(output.heardWindows());
        QVERIFY(heard.first >= 0);
        QVERIFY2(heard.longestGap * 5 < kShortMidiMs / 2,
                 qPrintable(QString("quiet for %1 ms").arg(heard.longestGap * 5)));
        const int total = std::accumulate(lengths.begin(), lengths.end(), 0);
        QVERIFY2(heard.count * 5 >= total, qPrintable(QString::number(heard.count * 5)));
    }

    // SDL's audio thread sleeps once nothing has sounded for a while, and
    // never while a sound or a tune plays.
    void theDeviceSleepsOnlyWhileNothingSounds() {
        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        SoundPlayer voice(*backend_, clock_, "soundplayer");
        QSignalSpy musicDone(&music, &SoundPlayer::done);
        QSignalSpy voiceDone(&voice, &SoundPlayer::done);
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceAsleep(), kSleepTimeoutMs);

        music.setDeviceType("sequencer");
        music.setFileName(midi_);
        music.setCommand("open");
        music.setNotify(true);
        music.setCommand("play");
        voice.setFileName(wave_);
        voice.setNotify(true);
        voice.setCommand("sound");
        QElapsedTimer elapsed;
        elapsed.start();
        while (musicDone.count() + voiceDone.count() < 2 && elapsed.elapsed() < kMidiTimeoutMs) {
            QVERIFY(!backend_->deviceAsleep());
            QTest::qWait(10);
        }
        QCOMPARE(musicDone.count(), 1);
        QCOMPARE(voiceDone.count(), 1);
        // The tune's release and fade, then the quiet: asleep again.
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceAsleep(), kSleepTimeoutMs);
    }

    // The audio thread sleeps holding SDL's audio lock: every command must
    // wake it, or the program would hang on its next sound. Each works as on
    // a device that never slept, and lets the device sleep again.
    // After a longer quiet the device is closed, so that the sound server can
    // suspend its sink; every command works on it as on an open one.
    void everyCommandWakesTheSleepingDevice_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("dones");
        QTest::addColumn<bool>("closed");
        for (const bool closed : {false, true}) {
            const auto row = [closed](const char* name) {
                return &QTest::newRow(
                    qPrintable(QString("%1, device %2").arg(name, closed ? "closed" : "asleep")));
            };
            *row("sound") << "WaveAudio" << QStringList{"sound"} << 1 << closed;
            *row("open, prev, play")
                << "sequencer" << QStringList{"open", "prev", "play"} << 1 << closed;
            *row("prev, play a tune that has ended")
                << "sequencer" << QStringList{"prev", "play"} << 1 << closed;
            *row("open, close") << "sequencer" << QStringList{"open", "close"} << 0 << closed;
            *row("close") << "WaveAudio" << QStringList{"close"} << 0 << closed;
            *row("a new player") << "WaveAudio" << QStringList{"new player"} << 0 << closed;
        }
    }

    void everyCommandWakesTheSleepingDevice() {
        QFETCH(QString, device);
        QFETCH(QStringList, commands);
        QFETCH(int, dones);
        QFETCH(bool, closed);
        SoundPlayer player(*backend_, clock_, "soundplayer");
        QSignalSpy done(&player, &SoundPlayer::done);
        player.setDeviceType(device);
        player.setFileName(device == "sequencer" ? shortMidi_ : shortWave_);
        if (commands.first() == "prev") {
            // A tune that has played to its end.
            player.setCommand("open");
            player.setNotify(true);
            player.setCommand("play");
            QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kMidiTimeoutMs);
            done.clear();
        }
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceAsleep(), kSleepTimeoutMs);
        if (closed)
            QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceClosed(), kCloseTimeoutMs);
        std::unique_ptr<SoundPlayer> other;
        for (const QString& command : commands) {
            if (command == "new player") {
                // A new mixer channel.
                other = std::make_unique<SoundPlayer>(*backend_, clock_, "answerplay");
                continue;
            }
            player.setNotify(command == "play" || command == "sound");
            player.setCommand(command);
        }
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), dones, kMidiTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceAsleep(), kSleepTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceClosed(), kCloseTimeoutMs);
        QCOMPARE(done.count(), dones);
    }

    // The device is never closed while a sound or a tune plays, nor while a
    // tune waits for the synthesizer.
    void theDeviceClosesOnlyWhenNothingSounds() {
        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        SoundPlayer voice(*backend_, clock_, "soundplayer");
        QSignalSpy musicDone(&music, &SoundPlayer::done);
        QSignalSpy voiceDone(&voice, &SoundPlayer::done);
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceClosed(), kCloseTimeoutMs);
        // A tune a little longer than the quiet before closing, from a closed device.
        const QString longMidi = dir_.filePath("long.mid");
        QVERIFY(qvtest::writeMidiNote(longMidi, SdlAudioBackend::kQuietBeforeCloseMs + 500));
        music.setDeviceType("sequencer");
        music.setFileName(longMidi);
        music.setCommand("open");
        music.setNotify(true);
        music.setCommand("play");
        QVERIFY(!backend_->deviceClosed());
        QElapsedTimer elapsed;
        elapsed.start();
        while (musicDone.count() < 1 && elapsed.elapsed() < kMidiTimeoutMs + 5000) {
            QVERIFY(!backend_->deviceClosed());
            QTest::qWait(20);
        }
        QCOMPARE(musicDone.count(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceClosed(), kCloseTimeoutMs);
        voice.setFileName(shortWave_);
        voice.setNotify(true);
        voice.setCommand("sound");
        QVERIFY(!backend_->deviceClosed());
        QTRY_COMPARE(voiceDone.count(), 1);
    }

    // The user at the controls has the device ready before a click asks for a
    // sound: the pointer moving over a window opens a closed device, input
    // that goes on keeps it open, and once it stops the device closes again.
    void inputHasTheDeviceReady_data() {
        QTest::addColumn<QString>("input");
        QTest::newRow("pointer") << "pointer";
        QTest::newRow("key") << "key";
    }
    void inputHasTheDeviceReady() {
        QFETCH(QString, input);
        QWidget window;
        window.resize(200, 150);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        qv::SoundWake wake(*backend_, nullptr);
        int step = 0;
        const auto give = [&] {
            ++step;
            if (input == QLatin1String("pointer"))
                QTest::mouseMove(window.windowHandle(), QPoint(20 + step % 100, 40));
            else
                QTest::keyClick(&window, Qt::Key_Shift);
        };
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceClosed(), kCloseTimeoutMs);
        give();
        QVERIFY(!backend_->deviceClosed());
        // Longer than the quiet before closing, with input every 300 ms.
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < SdlAudioBackend::kQuietBeforeCloseMs + 1500) {
            QTest::qWait(300);
            QVERIFY(!backend_->deviceClosed());
            give();
        }
        QTRY_VERIFY_WITH_TIMEOUT(backend_->deviceClosed(), kCloseTimeoutMs);
    }

    // The synthesizer and its sound font (some 19 MiB) are not loaded for
    // sounds: only the first tune asked for builds them.
    void theSynthesizerIsBuiltForTheFirstTuneOnly() {
        backend_.reset();
        qv::SoundDevice device("dummy", qv::kSdlMixerLibraryName);
        QVERIFY(device.waitOpened());
        QCOMPARE(device.synth(), nullptr);
        int loaded = 0;
        device.startLoadingSynth([&loaded] { ++loaded; });
        QVERIFY(device.synth() != nullptr);
        QCOMPARE(loaded, 1);
        device.close();
    }

    // The UI thread does not wait while the synthesizer is built: the first
    // tune counts as playing at once, starts when it is ready, and is heard
    // to its end with one done.
    void theFirstTuneDoesNotWaitForTheSynthesizer() {
        SoundPlayer music(*backend_, clock_, "playbackmusiccontrol");
        QSignalSpy done(&music, &SoundPlayer::done);
        music.setDeviceType("sequencer");
        music.setFileName(midi_);
        music.setCommand("open");
        music.setCommand("prev");
        music.setNotify(true);
        music.setCommand("play");
        // Not yet handed to the UI thread, which has not waited for it.
        QCOMPARE(backend_->musicGain(), -1.0);
        QVERIFY(backend_->isPlaying(0));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kMidiTimeoutMs);
        const qint64 endedAt = backend_->lastTuneEndMs();
        QVERIFY2(endedAt >= kMidiMs && endedAt <= kMidiMs + 30,
                 qPrintable(QString::number(endedAt)));
    }

    // A sound asked for while the device sleeps, or after it was closed, is
    // heard whole, once. (Opened again, the disk driver starts its file anew.)
    void aSoundAfterSleepIsHeardWhole_data() {
        QTest::addColumn<bool>("closed");
        QTest::newRow("asleep") << false;
        QTest::newRow("closed") << true;
    }

    void aSoundAfterSleepIsHeardWhole() {
        QFETCH(bool, closed);
        backend_.reset();
        const DiskOutput output(dir_.filePath("sound.raw"));
        {
            SdlAudioBackend backend;
            QCOMPARE(backend.driverName(), QStringLiteral("disk"));
            SoundPlayer player(backend, clock_, "soundplayer");
            QSignalSpy done(&player, &SoundPlayer::done);
            QTRY_VERIFY_WITH_TIMEOUT(backend.deviceAsleep(), kSleepTimeoutMs);
            if (closed)
                QTRY_VERIFY_WITH_TIMEOUT(backend.deviceClosed(), kCloseTimeoutMs);
            player.setFileName(shortWave_);
            player.setNotify(true);
            player.setCommand("sound");
            QTRY_COMPARE(done.count(), 1);
            QTRY_VERIFY_WITH_TIMEOUT(backend.deviceAsleep(), kSleepTimeoutMs);
        }
        const Heard heard = heardIn(output.heardWindows());
        // 300 ms: 60 windows, give or take the one each end falls in.
        QVERIFY2(heard.count >= 59 && heard.count <= 61, qPrintable(QString::number(heard.count)));
        QCOMPARE(heard.longestGap, 0);
    }

private:
    QTemporaryDir dir_;
    QString wave_;
    QString shortWave_;
    QString midi_;
    QString shortMidi_;
    EventLoopClock clock_;
    std::unique_ptr<SdlAudioBackend> backend_;
};

QTEST_MAIN(SdlAudioBackendTest)
#include "test_sdlaudiobackend.moc"

// The real backend on SDL's silent "dummy" driver, which plays at the pace of
// a real device: these tests take a few seconds of real time by nature.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

#include "sound/musicducking.h"
#include "sound/musicsynth.h"
#include "sound/sdlaudiobackend.h"
#include "sound/soundfiles.h"
#include "sound/soundplayer.h"
#include "timing/eventloopclock.h"

using qv::EventLoopClock;
using qv::MusicSynth;
using qv::SdlAudioBackend;
using qv::SoundPlayer;

namespace {

constexpr int kWaveMs = 1500;
constexpr int kMidiMs = 1000;
constexpr int kMidiTimeoutMs = kMidiMs + 10'000;
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

    // A tune loads on a thread of its own and plays once loaded. Replaced
    // or closed before it has even started, it gives no done; its successor
    // gives exactly one.
    void aTuneCutOffWhileLoadingGivesNoDone_data() {
        QTest::addColumn<QString>("cutBy");
        QTest::newRow("another tune") << "open";
        QTest::newRow("close") << "close";
    }
    void aTuneCutOffWhileLoadingGivesNoDone() {
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

private:
    QTemporaryDir dir_;
    QString wave_;
    QString shortWave_;
    QString midi_;
    EventLoopClock clock_;
    std::unique_ptr<SdlAudioBackend> backend_;
};

QTEST_MAIN(SdlAudioBackendTest)
#include "test_sdlaudiobackend.moc"

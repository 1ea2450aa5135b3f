// The sound player's contract, heard through the recording backend in virtual
// time: when a command returns, which done events come, and what plays.
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

#include "sound/soundfiles.h"
#include "sound/soundplayer.h"
#include "support/recordingaudio.h"
#include "support/virtualclock.h"
#include "timing/timer.h"

using qv::SoundPlayer;
using qvtest::RecordingAudio;
using qvtest::VirtualClock;

namespace {

constexpr qint64 kTuneMs = 60'000;  // the recording backend's default

// One player on the recording backend, with its done events counted.
struct Rig {
    VirtualClock clock;
    RecordingAudio audio{clock};
    SoundPlayer player{audio, clock, "soundplayer"};
    QSignalSpy done{&player, &SoundPlayer::done};
};

// What the game window does to start a tune.
void startTune(SoundPlayer& music, const QString& file) {
    music.setNotify(false);
    music.setFileName(file);
    music.setWait(true);
    music.setDeviceType("sequencer");
    music.setCommand("open");
    music.setCommand("prev");
    music.setNotify(true);
    music.setCommand("play");
}

// A device that never reports an end, as a stalled sound card would.
class StalledAudio final : public qv::AudioBackend {
public:
    explicit StalledAudio(qint64 lengthMs) : lengthMs_(lengthMs) {}
    PlayerId createPlayer(const QString&) override { return 0; }
    void destroyPlayer(PlayerId) override {}
    bool playWave(PlayerId, const QString&) override { return true; }
    bool openMusic(PlayerId, const QString&) override { return true; }
    bool rewindMusic(PlayerId) override { return true; }
    bool playMusic(PlayerId) override { return true; }
    void close(PlayerId) override {}
    bool isPlaying(PlayerId) const override { return true; }
    qint64 lengthMs(PlayerId) const override { return lengthMs_; }

private:
    qint64 lengthMs_;
};

}  // namespace

class SoundPlayerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        for (int ms : {40, 480, 500, 1200}) {
            QVERIFY(qvtest::writeSineWave(wave(ms), ms));
        }
        QVERIFY(qvtest::writeMidiNote(tune(0), 1000));
        QVERIFY(qvtest::writeMidiNote(tune(1), 1000));
        QVERIFY(qvtest::writeMidiNote(tune(2), 1000));
        QFile text(dir_.filePath("text.wav"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a sound");
        text.close();
        QVERIFY(QFile::copy(dir_.filePath("text.wav"), dir_.filePath("text.mid")));
    }

    void waitHoldsUntilTheSoundEnds_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("command");
        QTest::addColumn<qint64>("returnsAtMs");
        QTest::newRow("sound") << "WaveAudio" << wave(1200) << "sound" << qint64{1200};
        QTest::newRow("short sound") << "WaveAudio" << wave(40) << "sound" << qint64{40};
        QTest::newRow("tune") << "sequencer" << tune(0) << "play" << kTuneMs;
        QTest::newRow("open holds no sound") << "sequencer" << tune(0) << "open" << qint64{0};
    }

    void waitHoldsUntilTheSoundEnds() {
        QFETCH(QString, device);
        QFETCH(QString, file);
        QFETCH(QString, command);
        QFETCH(qint64, returnsAtMs);
        Rig rig;
        rig.player.setDeviceType(device);
        rig.player.setFileName(file);
        if (command == "play")
            rig.player.setCommand("open");
        // A timer that falls due meanwhile is held: it ticks after the wait.
        qint64 tickedAt = -1;
        rig.clock.callAfter(20, [&] { tickedAt = rig.clock.nowMs(); });

        rig.player.setWait(true);
        rig.player.setCommand(command);

        QCOMPARE(rig.clock.nowMs(), returnsAtMs);
        QVERIFY(!rig.audio.isPlaying("soundplayer"));
        QCOMPARE(tickedAt, qint64{-1});
        rig.clock.advance(20);
        QCOMPARE(tickedAt, qMax(returnsAtMs, qint64{20}));
    }

    // A waited sound holds the game: a timer tick, another player's done event
    // and a transition's end that fall due inside the wait run after it, in
    // their order; one cancelled meanwhile never runs.
    void windowEventsWaitForTheEndOfAWaitedSound() {
        Rig rig;
        qv::Timer timer(rig.clock);
        timer.setInterval(1000);
        timer.setEnabled(true);
        QStringList order;
        QObject::connect(&timer, &qv::Timer::tick, [&] {
            order << QString("tick %1").arg(rig.clock.nowMs());
            timer.setEnabled(false);
        });
        SoundPlayer other(rig.audio, rig.clock, "other");
        QObject::connect(&other, &SoundPlayer::done,
                         [&] { order << QString("done %1").arg(rig.clock.nowMs()); });
        const auto cancelled = rig.clock.callAfter(1100, [&] { order << "cancelled"; });
        rig.clock.callAfter(1150, [&] { order << QString("event %1").arg(rig.clock.nowMs()); });

        rig.clock.advance(800);
        other.setFileName(wave(40));
        other.setNotify(true);
        other.setCommand("sound");  // ends at 840, inside the wait below
        rig.clock.callAfter(
            100, [&] { rig.clock.cancel(cancelled); }, qv::Clock::WhileHeld::Run);
        rig.player.setFileName(wave(480));
        rig.player.setWait(true);
        rig.player.setCommand("sound");

        QCOMPARE(rig.clock.nowMs(), qint64{1280});
        QVERIFY(order.isEmpty());
        rig.clock.advance(0);
        QCOMPARE(order, QStringList({"done 1280", "tick 1280", "event 1280"}));
        rig.clock.advance(5000);
        QCOMPARE(order.size(), 3);
    }

    // Whatever happens to the player while it waits, the wait ends then.
    void aWaitEndsWhenThePlayerIsInterrupted_data() {
        QTest::addColumn<QString>("interruption");
        QTest::newRow("close") << "close";
        QTest::newRow("another sound") << "sound";
        QTest::newRow("player deleted") << "delete";
    }

    void aWaitEndsWhenThePlayerIsInterrupted() {
        QFETCH(QString, interruption);
        VirtualClock clock;
        RecordingAudio audio(clock);
        auto* player = new SoundPlayer(audio, clock, "answerplay");
        // Background work (painting, the back end's news) still runs in a wait.
        clock.callAfter(
            300,
            [&] {
                if (interruption == "delete") {
                    delete player;
                    return;
                }
                player->setFileName(wave(40));
                player->setCommand(interruption);
            },
            qv::Clock::WhileHeld::Run);
        player->setFileName(wave(1200));
        player->setWait(true);
        player->setCommand("sound");
        QCOMPARE(clock.nowMs(), qint64{300});
        if (interruption != "delete")
            delete player;
    }

    void aStalledDeviceCannotHoldTheWaitForever_data() {
        QTest::addColumn<qint64>("lengthMs");
        QTest::addColumn<qint64>("atMostMs");
        QTest::newRow("short sound") << qint64{1000} << qint64{5000};
        QTest::newRow("long tune") << qint64{120'000} << qint64{300'000};
        QTest::newRow("unknown length") << qint64{-1} << qint64{15 * 60'000};
    }

    void aStalledDeviceCannotHoldTheWaitForever() {
        QFETCH(qint64, lengthMs);
        QFETCH(qint64, atMostMs);
        VirtualClock clock;
        StalledAudio audio(lengthMs);
        SoundPlayer player(audio, clock, "soundplayer");
        player.setFileName(wave(1200));
        player.setWait(true);
        player.setCommand("sound");
        QVERIFY2(clock.nowMs() >= lengthMs && clock.nowMs() <= atMostMs,
                 qPrintable(QString::number(clock.nowMs())));
    }

    void notifyGivesOneDoneAtTheEnd_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<bool>("wait");
        QTest::addColumn<qint64>("endMs");
        QTest::newRow("sound") << "WaveAudio" << wave(1200) << QStringList{"sound"} << false
                               << qint64{1200};
        QTest::newRow("sound with wait")
            << "WaveAudio" << wave(1200) << QStringList{"sound"} << true << qint64{1200};
        QTest::newRow("tune") << "sequencer" << tune(0) << QStringList{"open", "prev", "play"}
                              << false << kTuneMs;
        QTest::newRow("wave device opened and played")
            << "WaveAudio" << wave(500) << QStringList{"open", "play"} << false << qint64{500};
    }

    void notifyGivesOneDoneAtTheEnd() {
        QFETCH(QString, device);
        QFETCH(QString, file);
        QFETCH(QStringList, commands);
        QFETCH(bool, wait);
        QFETCH(qint64, endMs);
        Rig rig;
        rig.player.setDeviceType(device);
        rig.player.setFileName(file);
        const QString last = commands.takeLast();
        for (const QString& command : commands)
            rig.player.setCommand(command);
        rig.player.setNotify(true);
        rig.player.setWait(wait);
        rig.player.setCommand(last);

        if (!wait) {
            rig.clock.advance(endMs - 1);
            QCOMPARE(rig.done.count(), 0);
        }
        rig.clock.advance(endMs - rig.clock.nowMs());
        QCOMPARE(rig.done.count(), 1);
        rig.clock.advance(10 * endMs);
        QCOMPARE(rig.done.count(), 1);
    }

    // open, prev and close complete at once; their done still comes as an
    // event of its own, after the command has returned.
    void instantCommandsNotifyAsAnEvent_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("open") << "open";
        QTest::newRow("prev") << "prev";
        QTest::newRow("close") << "close";
    }

    void instantCommandsNotifyAsAnEvent() {
        QFETCH(QString, command);
        Rig rig;
        rig.player.setDeviceType("sequencer");
        rig.player.setFileName(tune(0));
        if (command != "open")
            rig.player.setCommand("open");
        rig.player.setNotify(true);
        rig.player.setCommand(command);
        QCOMPARE(rig.done.count(), 0);
        rig.clock.advance(0);
        QCOMPARE(rig.done.count(), 1);
        rig.clock.advance(2 * kTuneMs);
        QCOMPARE(rig.done.count(), 1);
    }

    void flagsGovernTheNextCommandOnly() {
        Rig rig;
        rig.player.setFileName(wave(1200));
        rig.player.setWait(true);
        rig.player.setNotify(true);
        rig.player.setCommand("sound");
        QCOMPARE(rig.clock.nowMs(), qint64{1200});
        QVERIFY(!rig.player.wait());
        QVERIFY(!rig.player.notify());
        rig.clock.advance(0);
        QCOMPARE(rig.done.count(), 1);

        rig.player.setFileName(wave(500));
        rig.player.setCommand("sound");
        QCOMPARE(rig.clock.nowMs(), qint64{1200});
        QVERIFY(rig.audio.isPlaying("soundplayer"));
        rig.clock.advance(1000);
        QCOMPARE(rig.done.count(), 1);
    }

    void aSoundThatIsCutOffGivesNoDone_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("cutBy");
        QTest::addColumn<QString>("file");
        QTest::newRow("another sound") << "WaveAudio"
                                       << "sound" << wave(40);
        QTest::newRow("a sound that cannot play") << "WaveAudio"
                                                  << "sound" << missing("a.wav");
        QTest::newRow("close") << "WaveAudio"
                               << "close" << QString();
        QTest::newRow("tune closed") << "sequencer"
                                     << "close" << QString();
        QTest::newRow("tune restarted") << "sequencer"
                                        << "prev" << QString();
        QTest::newRow("another tune opened") << "sequencer"
                                             << "open" << tune(1);
    }

    void aSoundThatIsCutOffGivesNoDone() {
        QFETCH(QString, device);
        QFETCH(QString, cutBy);
        QFETCH(QString, file);
        Rig rig;
        rig.player.setDeviceType(device);
        if (device == "sequencer") {
            rig.player.setFileName(tune(0));
            rig.player.setCommand("open");
            rig.player.setNotify(true);
            rig.player.setCommand("play");
        } else {
            rig.player.setFileName(wave(1200));
            rig.player.setNotify(true);
            rig.player.setCommand("sound");
        }
        rig.clock.advance(300);
        if (!file.isEmpty())
            rig.player.setFileName(file);
        rig.player.setCommand(cutBy);
        rig.clock.advance(3 * kTuneMs);
        QCOMPARE(rig.done.count(), 0);
    }

    void aMissingOrBrokenFileIsSilent_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("commands");
        const QStringList music{"open", "prev", "play"};
        QTest::newRow("missing wave") << "WaveAudio" << missing("a.wav") << QStringList{"sound"};
        QTest::newRow("not a wave")
            << "WaveAudio" << dir_.filePath("text.wav") << QStringList{"sound"};
        QTest::newRow("missing tune") << "sequencer" << missing("0.mid") << music;
        QTest::newRow("not a tune") << "sequencer" << dir_.filePath("text.mid") << music;
        QTest::newRow("missing wave opened") << "WaveAudio" << missing("a.wav") << music;
    }

    void aMissingOrBrokenFileIsSilent() {
        QFETCH(QString, device);
        QFETCH(QString, file);
        QFETCH(QStringList, commands);
        Rig rig;
        rig.player.setDeviceType(device);
        rig.player.setFileName(file);
        for (const QString& command : commands) {
            rig.player.setWait(true);
            rig.player.setNotify(true);
            rig.player.setCommand(command);
            QCOMPARE(rig.clock.nowMs(), qint64{0});
        }
        QVERIFY(!rig.audio.isPlaying("soundplayer"));
        rig.clock.advance(3 * kTuneMs);
        QCOMPARE(rig.done.count(), 0);
        QVERIFY(rig.audio.filesPlayed("soundplayer").isEmpty());
    }

    // After a failed open, prev and play act on the tune the player still holds.
    void aFailedOpenReplaysTheTuneHeld() {
        Rig rig;
        startTune(rig.player, tune(0));
        rig.clock.advance(kTuneMs);
        QCOMPARE(rig.done.count(), 1);
        startTune(rig.player, missing("5.mid"));
        rig.clock.advance(kTuneMs);
        QCOMPARE(rig.done.count(), 2);
        QCOMPARE(rig.audio.filesPlayed("soundplayer"), QStringList({tune(0), tune(0)}));
    }

    // The music loop of the game window: each done starts the next tune, until
    // the music is switched off with notify cleared and "close".
    void tunesFollowOneAnotherUntilSwitchedOff() {
        Rig rig;
        bool musicOn = true;
        int next = 1;
        connect(&rig.player, &SoundPlayer::done, &rig.player, [&] {
            if (musicOn)
                startTune(rig.player, tune(next++ % 3));
        });
        startTune(rig.player, tune(0));
        rig.clock.advance(3 * kTuneMs);
        QCOMPARE(rig.audio.filesPlayed("soundplayer"),
                 QStringList({tune(0), tune(1), tune(2), tune(0)}));
        QList<qint64> playedAt;
        for (const auto& entry : rig.audio.entriesFor("soundplayer")) {
            if (entry.command == "play")
                playedAt.append(entry.timeMs);
        }
        QCOMPARE(playedAt, QList<qint64>({0, kTuneMs, 2 * kTuneMs, 3 * kTuneMs}));

        rig.clock.advance(kTuneMs / 2);
        musicOn = false;
        rig.player.setNotify(false);
        rig.player.setCommand("close");
        const auto entriesWhenClosed = rig.audio.entries().size();
        rig.clock.advance(3 * kTuneMs);
        QCOMPARE(rig.audio.entries().size(), entriesWhenClosed);
        QVERIFY(!rig.audio.isPlaying("soundplayer"));
        QCOMPARE(rig.done.count(), 3);
    }

    // At the end of the program the backend may go before the windows' players.
    void aPlayerOutlivingItsBackendIsMute() {
        VirtualClock clock;
        auto audio = std::make_unique<RecordingAudio>(clock);
        SoundPlayer player(*audio, clock, "soundplayer");
        QSignalSpy done(&player, &SoundPlayer::done);
        audio.reset();
        player.setFileName(wave(500));
        player.setWait(true);
        player.setNotify(true);
        player.setCommand("sound");
        QCOMPARE(clock.nowMs(), qint64{0});
        clock.advance(1000);
        QCOMPARE(done.count(), 0);
    }

    void playersOverlap() {
        VirtualClock clock;
        RecordingAudio audio(clock);
        SoundPlayer question(audio, clock, "soundplayer");
        SoundPlayer answer(audio, clock, "answerplay");
        QSignalSpy questionDone(&question, &SoundPlayer::done);
        question.setFileName(wave(1200));
        question.setNotify(true);
        question.setCommand("sound");
        clock.advance(200);

        answer.setFileName(wave(500));
        answer.setWait(true);
        answer.setCommand("sound");

        QCOMPARE(clock.nowMs(), qint64{700});
        QVERIFY(audio.isPlaying("soundplayer"));
        QCOMPARE(questionDone.count(), 0);
        clock.advance(500);
        QCOMPARE(questionDone.count(), 1);
        QCOMPARE(audio.filesPlayed("soundplayer"), QStringList{wave(1200)});
        QCOMPARE(audio.filesPlayed("answerplay"), QStringList{wave(500)});
    }

private:
    QString wave(int ms) const { return dir_.filePath(QStringLiteral("tone%1.wav").arg(ms)); }
    QString tune(int n) const { return dir_.filePath(QStringLiteral("%1.mid").arg(n)); }
    QString missing(const QString& name) const { return dir_.filePath("gone/" + name); }

    QTemporaryDir dir_;
};

QTEST_MAIN(SoundPlayerTest)
#include "test_soundplayer.moc"

// The game window's background music: when it starts, how one tune follows
// another, switching it off and on, what leaves it alone, and how it gives
// way to the voices.
#include <QSignalSpy>
#include <QtTest>

#include "catalogue/tables.h"
#include "sound/musicducking.h"
#include "sound/soundplayer.h"
#include "support/gamerig.h"
#include "timing/timer.h"
#include "ui/about/aboutform.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::GameRig;
using qvtest::RecordingAudio;
using qvtest::TestProgram;
using qvtest::whenDialogOpens;

namespace {

const QString kLibrary = QStringLiteral(QUORVEL_PROGRAM_DIR);
const QString kMusic = QStringLiteral("playbackmusiccontrol");

QString tune(int number) {
    return kLibrary + QStringLiteral("/sounds/%1.mid").arg(number);
}

// The three commands that start a tune, as commandsFor() writes them.
QStringList tuneStart(int number) {
    return {"open " + tune(number), "prev " + tune(number), "play " + tune(number)};
}

int countOf(const QStringList& commands, const QString& verb) {
    int count = 0;
    for (const QString& c : commands)
        count += c.startsWith(verb + ' ') || c == verb;
    return count;
}

}  // namespace

class TestMusic : public QObject {
    Q_OBJECT

private slots:
    // The background draw, the activity's own draw and the introduction come
    // first; the tune is drawn after them, at the first layout.
    void startsAtTheFirstLayoutAfterTheIntroduction_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("introduction");
        QTest::addColumn<int>("activityDraws");
        QTest::newRow("learn colours") << "learncolors"
                                       << "letsgocolors.wav" << 11;
        QTest::newRow("learn shapes") << "learnshapes"
                                      << "letsgoshapes.wav" << 10;
        QTest::newRow("play colours") << "playcolors"
                                      << "letsplaycolor.wav" << 0;
    }
    void startsAtTheFirstLayoutAfterTheIntroduction() {
        QFETCH(QString, mode);
        QFETCH(QString, introduction);
        QFETCH(int, activityDraws);
        GameRig rig;
        TestProgram& program = rig.program;
        program.random.scriptDraw(3, kBackgroundCount);  // background
        if (activityDraws > 0)
            program.random.scriptDraw(6, activityDraws);
        program.random.scriptDraw(9, 11);  // the tune

        mainform& game = rig.game();
        int entriesAtFirstLayout = -1;
        bool activityRunningAtFirstLayout = false;
        connect(&game, &mainform::laidOut, this, [&] {
            if (entriesAtFirstLayout >= 0)
                return;
            entriesAtFirstLayout = int(program.audio.entries().size());
            activityRunningAtFirstLayout = game.Timer1->enabled();
        });
        QVERIFY(program.audio.commandsFor(kMusic).isEmpty());
        rig.open(mode);

        QCOMPARE(game.pick.randomnumber, qint16(3));
        if (mode == "learncolors")
            QCOMPARE(game.pick.colorcounter, qint16(6));
        if (mode == "learnshapes")
            QCOMPARE(game.pick.shapecounter, qint16(6));
        // The first notification comes once the activity runs, and starts the
        // tune: the introduction and the tune's three commands, nothing more.
        QVERIFY(activityRunningAtFirstLayout);
        QCOMPARE(entriesAtFirstLayout, 4);
        const QList<RecordingAudio::Entry>& log = program.audio.entries();
        QCOMPARE(log.size(), 4);
        QCOMPARE(log[0].player, QStringLiteral("mainform.soundplayer"));
        QCOMPARE(log[0].path, kLibrary + "/sounds/" + introduction);
        QCOMPARE(program.audio.commandsFor(kMusic), tuneStart(9));
        // The background and the tune each seed from the clock.
        QCOMPARE(program.random.seedings, 2);
        QVERIFY(game.musicstarted);
        QVERIFY(program.audio.isPlaying(kMusic));
        QVERIFY(game.playbackmusiccontrol->autoEnable());
        QVERIFY(game.playbackmusiccontrol->playEnabled());
        QCOMPARE(game.playbackmusiccontrol->deviceType(), QStringLiteral("sequencer"));

        // Later layouts leave the tune alone.
        game.showNormal();
        game.resize(900, 700);
        game.centralWidget()->resize(800, 600);
        QCOMPARE(program.audio.commandsFor(kMusic).size(), 3);
    }

    void eachTuneIsFollowedByANewOneUntilSwitchedOff() {
        GameRig rig;
        TestProgram& program = rig.program;
        program.audio.setMusicLengthMs(20'000);
        mainform& game = rig.open("learncolors");
        QSignalSpy done(game.playbackmusiccontrol, &SoundPlayer::done);
        program.random.fallback = 4.5 / 11;  // every later draw gives 4

        program.clock.advance(45'000);
        QList<qint64> opens;
        for (const RecordingAudio::Entry& e : program.audio.entriesFor(kMusic))
            if (e.command == "open")
                opens << e.timeMs;
        // Each tune starts the moment the one before it ends.
        QCOMPARE(opens, (QList<qint64>{0, 20'000, 40'000}));
        QCOMPARE(done.count(), 2);
        QCOMPARE(program.audio.filesPlayed(kMusic).last(), tune(4));
        // Between two tunes nothing closes the player.
        QCOMPARE(countOf(program.audio.commandsFor(kMusic), "close"), 0);

        // Switched off as the options dialog does it: no done, no next tune.
        program.module1.settings.playmusic = false;
        game.playbackmusiccontrol->setNotify(false);
        game.playbackmusiccontrol->setCommand("close");
        QVERIFY(!program.audio.isPlaying(kMusic));
        program.clock.advance(100'000);
        QCOMPARE(done.count(), 2);
        QCOMPARE(countOf(program.audio.commandsFor(kMusic), "open"), 3);
    }

    // A done that comes with playmusic off (the setting changed while a tune
    // played on) starts nothing.
    void doneWithMusicOffStartsNothing() {
        GameRig rig;
        TestProgram& program = rig.program;
        program.audio.setMusicLengthMs(5'000);
        mainform& game = rig.open("learnshapes");
        program.module1.settings.playmusic = false;
        program.clock.advance(6'000);
        QCOMPARE(countOf(program.audio.commandsFor(kMusic), "open"), 1);
        QVERIFY(!program.audio.isPlaying(kMusic));
        QVERIFY(game.musicstarted);
    }

    void offAtStartThenSwitchedOnThenResized() {
        GameRig rig(GameRig::withoutMusic({}));
        TestProgram& program = rig.program;
        program.random.fallback = 2.5 / 11;
        mainform& game = rig.open("playshapes");
        game.showNormal();
        game.centralWidget()->resize(700, 500);
        QVERIFY(program.audio.commandsFor(kMusic).isEmpty());
        QVERIFY(!game.musicstarted);

        // The options dialog switches it on: it starts at once...
        program.module1.settings.playmusic = true;
        game.playmusicsub();
        QCOMPARE(program.audio.commandsFor(kMusic), tuneStart(2));
        QVERIFY(!game.musicstarted);
        // ...and the next layout still finds musicstarted False: one more tune.
        game.centralWidget()->resize(720, 520);
        QCOMPARE(program.audio.commandsFor(kMusic), tuneStart(2) + tuneStart(2));
        QVERIFY(game.musicstarted);
        game.centralWidget()->resize(740, 540);
        QCOMPARE(program.audio.commandsFor(kMusic).size(), 6);
    }

    // A missing tune makes "open" fail; "prev" and "play" act on the tune the
    // player still holds, which plays again.
    void aMissingTuneReplaysTheOneHeld() {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("sounds"));
        QVERIFY(QFile::copy(tune(5), dir.filePath("sounds/5.mid")));
        GameRig rig({}, dir.path());
        TestProgram& program = rig.program;
        program.audio.setMusicLengthMs(10'000);
        program.random.fallback = 5.5 / 11;
        mainform& game = rig.open("something else");
        QCOMPARE(program.audio.filesPlayed(kMusic), QStringList{dir.filePath("sounds/5.mid")});
        program.random.fallback = 7.5 / 11;  // 7.mid is missing
        program.clock.advance(10'000);
        const QStringList commands = program.audio.commandsFor(kMusic);
        QCOMPARE(commands.mid(3), (QStringList{"open! " + dir.filePath("sounds/7.mid"),
                                               "prev " + dir.filePath("sounds/5.mid"),
                                               "play " + dir.filePath("sounds/5.mid")}));
        QVERIFY(program.audio.isPlaying(kMusic));
        QVERIFY(game.musicstarted);
    }

    void restartingAnActivityKeepsTheTune_data() {
        QTest::addColumn<bool>("viaNew");
        QTest::newRow("New") << true;
        QTest::newRow("About") << false;
    }
    void restartingAnActivityKeepsTheTune() {
        QFETCH(bool, viaNew);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("playcolors");
        program.clock.advance(1'000);
        const QStringList before = program.audio.commandsFor(kMusic);
        QCOMPARE(before.size(), 3);
        if (viaNew) {
            selectform& screen = program.forms->select();
            whenDialogOpens([&] {
                QTest::mouseClick(screen.findChild<PictureButton*>("lsbut"), Qt::LeftButton);
            });
            game.newmenu_click();
            QCOMPARE(program.module1.selectedmode, QStringLiteral("learnshapes"));
        } else {
            Aboutform& about = program.forms->about();
            whenDialogOpens([&] { QTest::mouseClick(about.okaybut, Qt::LeftButton); });
            game.aboutmenu_click();
        }
        QVERIFY(game.Timer1->enabled());
        QCOMPARE(program.audio.commandsFor(kMusic), before);
        QVERIFY(program.audio.isPlaying(kMusic));
    }

    void theWindowGoingAwayClosesTheMusic_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit") << "exit";
        QTest::newRow("close box") << "close";
        QTest::newRow("destruction") << "destroy";
    }
    void theWindowGoingAwayClosesTheMusic() {
        QFETCH(QString, how);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("learncolors");
        QVERIFY(program.audio.isPlaying(kMusic));
        QSignalSpy done(game.playbackmusiccontrol, &SoundPlayer::done);
        if (how == "exit")
            game.eitmenu_click();
        else if (how == "close")
            game.close();
        else
            program.forms.reset();
        QCOMPARE(program.audio.commandsFor(kMusic).last(), "close " + tune(0));
        QVERIFY(!program.audio.isPlaying(kMusic));
        if (how != "destroy") {
            QCOMPARE(program.desktop.endedWith, QList<int>{0});
            program.clock.advance(120'000);
            QCOMPARE(done.count(), 0);
        }
    }

    // Every voice lowers the music while it sounds; after it the music comes
    // back up, along ramps and not in a step.
    void musicGivesWayToEveryVoice_data() {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("sound");
        QTest::newRow("introduction") << "soundplayer"
                                      << "letsgocolors.wav";
        QTest::newRow("feedback") << "answerplay"
                                  << "a2.wav";
    }
    void musicGivesWayToEveryVoice() {
        QFETCH(QString, player);
        QFETCH(QString, sound);
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("something else");
        const double full = MusicDucking::kFullLevel;
        const double under = MusicDucking::kUnderVoiceLevel;
        program.clock.advance(1'000);
        QCOMPARE(program.audio.musicLevel(), full);

        SoundPlayer* voice = player == "answerplay" ? game.answerplay : game.soundplayer;
        const QString path = kLibrary + "/sounds/" + sound;
        const qint64 length = RecordingAudio::waveLengthMs(path);
        QVERIFY(length > MusicDucking::kDownMs + 100);
        voice->setFileName(path);
        voice->setCommand("sound");
        QCOMPARE(program.audio.musicLevel(), full);
        program.clock.advance(qint64(MusicDucking::kDownMs / 2));
        const double halfway = program.audio.musicLevel();
        QVERIFY2(halfway < full && halfway > under, qPrintable(QString::number(halfway)));
        program.clock.advance(qint64(MusicDucking::kDownMs));
        QCOMPARE(program.audio.musicLevel(), under);
        // Still under the voice near its end.
        program.clock.advance(length - qint64(MusicDucking::kDownMs * 1.5) - 1);
        QVERIFY(program.audio.isPlaying(voice->name()));
        QCOMPARE(program.audio.musicLevel(), under);

        program.clock.advance(1 + qint64(MusicDucking::kUpMs / 2));
        QVERIFY(!program.audio.isPlaying(voice->name()));
        const double rising = program.audio.musicLevel();
        QVERIFY2(rising > under && rising < full, qPrintable(QString::number(rising)));
        program.clock.advance(qint64(MusicDucking::kUpMs));
        QCOMPARE(program.audio.musicLevel(), full);
        QVERIFY(program.audio.isPlaying(kMusic));
    }

    // Under the introduction at the window's start, as the game runs.
    void theIntroductionPlaysOverTheFirstTune() {
        GameRig rig;
        TestProgram& program = rig.program;
        mainform& game = rig.open("playcolors");
        const qint64 length = RecordingAudio::waveLengthMs(kLibrary + "/sounds/letsplaycolor.wav");
        program.clock.advance(200);
        QVERIFY(program.audio.isPlaying(kMusic));
        QCOMPARE(program.audio.musicLevel(), MusicDucking::kUnderVoiceLevel);
        game.Timer1->setEnabled(false);  // no question, so no other voice
        program.clock.advance(length + qint64(MusicDucking::kUpMs));
        QCOMPARE(program.audio.musicLevel(), MusicDucking::kFullLevel);
    }
};

QTEST_MAIN(TestMusic)
#include "test_music.moc"

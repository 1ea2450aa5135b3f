// Learn colours and learn shapes through the real game window, in virtual
// time: the order of the pictures, the repeat count, the hold rules, the names
// spoken after each transition, the keyboard cycle and missing files.
#include <QSignalSpy>
#include <QtTest>

#include "catalogue/tables.h"
#include "pictures/transitionpicture.h"
#include "sound/soundplayer.h"
#include "support/gamerig.h"
#include "timing/timer.h"
#include "ui/about/aboutform.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

using namespace qv;
using qvtest::BackgroundModel;
using Damage = qvtest::FixtureLibrary::Damage;
using qvtest::GameRig;
using qvtest::TestProgram;

namespace {

constexpr int kTransitionMs = 500;  // the default effect speed of 10

// One learn picture as the step left it.
struct Shown {
    QString shape;
    QString colour;
    qint16 timesshown = 0;
    qint64 atMs = 0;
    int effect = 0;  // the effect it comes in through
};

const QString kVoice = QStringLiteral("mainform.soundplayer");

// The game window on the fixture library, with every learn step recorded.
struct LearnRig : GameRig {
    explicit LearnRig(const Settings& settings = {})
        : GameRig(withoutMusic(settings), Library::Fixture) {}

    // Opens the window in mode; the background draw and the start place come first.
    mainform& open(const QString& mode, int startPlace) {
        program.random.scriptDraw(0, kBackgroundCount);
        program.random.scriptDraw(startPlace, mode == "learncolors" ? 11 : 10);
        program.random.useGenerator(7);
        mainform& game = GameRig::open(mode);
        // Connected after the window's own handler, so it sees what the step did.
        QObject::connect(game.Timer1, &Timer::tick, [this, &game] {
            shown << Shown{game.pick.currentshape, game.pick.currentcolor, game.timesshown,
                           program.clock.nowMs(), game.Learnimage->effectNumber()};
        });
        return game;
    }

    void runPictures(int count) {
        while (shown.size() < count && program.clock.nextDue() >= 0)
            program.clock.advance(program.clock.nextDue() - program.clock.nowMs());
    }

    QString picturePath(const Shown& s) const {
        return program.platform.programFolder +
               QString(program.module1.settings.shapedirectory).replace('\\', '/') + s.shape +
               s.colour + ".jpg";
    }

    QList<Shown> shown;
};

int colourIndex(const QString& name) {
    return int(std::find(kColorNames.begin(), kColorNames.end(), name) - kColorNames.begin());
}
int shapeIndex(const QString& stem) {
    return int(std::find(kShapeStems.begin(), kShapeStems.end(), stem) - kShapeStems.begin());
}

// Restarts the activity through File > New, choosing button on the selection screen.
void restartWithNew(TestProgram& program, mainform& game, const char* button) {
    qvtest::whenDialogOpens([&program, button] {
        QTest::mouseClick(program.forms->select().findChild<PictureButton*>(button),
                          Qt::LeftButton);
    });
    game.newmenu_click();
}

}  // namespace

class TestLearn : public QObject {
    Q_OBJECT

private slots:
    // The taught attribute follows its table, each value on howmanytimes
    // pictures in a row; the other is drawn anew, or held with sameobject.
    void picturesFollowTheTable_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("howmanytimes");
        QTest::addColumn<bool>("sameobject");
        for (const char* mode : {"learncolors", "learnshapes"})
            for (int times : {1, 3})
                for (bool same : {false, true})
                    QTest::addRow("%s x%d%s", mode, times, same ? " same" : "")
                        << QString(mode) << times << same;
    }
    void picturesFollowTheTable() {
        QFETCH(QString, mode);
        QFETCH(int, howmanytimes);
        QFETCH(bool, sameobject);
        LearnRig rig({{"howmanytimes", QString::number(howmanytimes)},
                      {"sameobject", sameobject ? "True" : "False"}});
        const bool colours = mode == "learncolors";
        const int start = 9;
        mainform& game = rig.open(mode, start);
        rig.runPictures(25);
        QCOMPARE(rig.shown.size(), 25);

        QSet<QString> others;
        for (int n = 0; n < rig.shown.size(); ++n) {
            const Shown& s = rig.shown[n];
            const int expected = (start + n / howmanytimes) % (colours ? 11 : 10);
            QCOMPARE(colours ? colourIndex(s.colour) : shapeIndex(s.shape), expected);
            others << (colours ? s.shape : s.colour);
        }
        if (sameobject)
            QCOMPARE(others.size(), 1);
        else
            QVERIFY(others.size() > 3);
        // Each picture is the file of its shape and colour, shape stem first.
        rig.program.clock.advance(kTransitionMs);
        QCOMPARE(game.Learnimage->picture(), QImage(rig.picturePath(rig.shown.last())));
    }

    // The name comes when the picture has arrived, never when it starts; the
    // next picture follows 3000 ms later.
    void theNameFollowsTheTransition() {
        LearnRig rig;
        mainform& game = rig.open("learncolors", 4);
        rig.program.clock.advance(3000);
        QCOMPARE(rig.shown.size(), 1);
        QVERIFY(game.Learnimage->isVisible());
        QVERIFY(!game.Timer1->enabled());
        rig.program.clock.advance(kTransitionMs - 1);
        QVERIFY(rig.heard(kVoice).isEmpty());
        rig.program.clock.advance(1);
        QCOMPARE(rig.heard(kVoice), QStringList{"3500 green"});
        QVERIFY(!game.Learnimage->armed());
        QVERIFY(game.Timer1->enabled());
        QCOMPARE(game.Timer1->interval(), 3000);
        rig.program.clock.advance(2999);
        QCOMPARE(rig.shown.size(), 1);
        rig.program.clock.advance(1);
        QCOMPARE(rig.shown.size(), 2);
        QCOMPARE(rig.shown[1].colour, QStringLiteral("orange"));
    }

    // Each learn picture comes in through the effect of its own draw of 22,
    // taken after the draw of what is not taught. Scripted through every
    // place of the effect table, in an order of its own, the top (21) among
    // them: a draw of any other range would give another effect somewhere.
    void eachPictureDrawsItsEffect_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("colours") << "learncolors";
        QTest::newRow("shapes") << "learnshapes";
    }
    void eachPictureDrawsItsEffect() {
        QFETCH(QString, mode);
        const bool colours = mode == "learncolors";
        LearnRig rig({{"changebackground", "False"}});
        rig.open(mode, 0);
        const int kPictures = int(kEffectNumbers.size());
        const auto place = [](int n) { return n * 5 % 22; };
        for (int n = 0; n < kPictures; ++n) {
            rig.program.random.scriptDraw(n % 10, colours ? 10 : 11);
            rig.program.random.scriptDraw(place(n), 22);
        }
        rig.runPictures(kPictures);
        QCOMPARE(rig.shown.size(), kPictures);
        for (int n = 0; n < kPictures; ++n) {
            const Shown& s = rig.shown[n];
            QCOMPARE(colours ? s.shape : s.colour,
                     colours ? kShapeStems[n % 10] : kColorNames[n % 10]);
            QCOMPARE(s.effect, int(kEffectNumbers[place(n)]));
        }
    }

    // After a restart the first howmanytimes pictures keep what the last
    // learn picture of the window showed; the drawn place follows.
    void aRestartHoldsTheLastPicture_data() {
        QTest::addColumn<QString>("secondMode");
        QTest::addColumn<int>("howmanytimes");
        QTest::addColumn<bool>("sameobject");
        QTest::addColumn<int>("firstStart");
        QTest::newRow("colours again") << "learncolors" << 2 << false << 3;
        QTest::newRow("colours to shapes") << "learnshapes" << 1 << false << 3;
        QTest::newRow("colours to shapes, same colour") << "learnshapes" << 2 << true << 3;
        // After "yellow" the colour counter stands at 11, so the hold ends.
        QTest::newRow("colours to shapes after yellow") << "learnshapes" << 1 << true << 10;
    }
    void aRestartHoldsTheLastPicture() {
        QFETCH(QString, secondMode);
        QFETCH(int, howmanytimes);
        QFETCH(bool, sameobject);
        QFETCH(int, firstStart);
        LearnRig rig({{"howmanytimes", QString::number(howmanytimes)},
                      {"sameobject", sameobject ? "True" : "False"}});
        mainform& game = rig.open("learncolors", firstStart);
        rig.runPictures(1);
        rig.program.clock.advance(kTransitionMs);
        const Shown last = rig.shown.last();
        QCOMPARE(last.colour, kColorNames[firstStart]);

        const bool toShapes = secondMode == "learnshapes";
        // New draws a background, then userselection the new start place.
        rig.program.random.scriptDraw(5, kBackgroundCount);
        rig.program.random.scriptDraw(6, toShapes ? 10 : 11);
        restartWithNew(rig.program, game, toShapes ? "lsbut" : "lcbut");
        QCOMPARE(rig.program.module1.selectedmode, secondMode);
        QCOMPARE(game.timesshown, qint16(0));
        rig.shown.clear();
        rig.runPictures(howmanytimes + 2);

        for (int n = 0; n < rig.shown.size(); ++n) {
            const Shown& s = rig.shown[n];
            if (toShapes) {
                const QString expectedShape =
                    n < howmanytimes ? last.shape
                                     : kShapeStems[(6 + (n - howmanytimes) / howmanytimes) % 10];
                QCOMPARE(s.shape, expectedShape);
                if (sameobject && firstStart != 10)
                    QCOMPARE(s.colour, last.colour);
            } else {
                const QString expectedColour =
                    n < howmanytimes ? last.colour
                                     : kColorNames[(6 + (n - howmanytimes) / howmanytimes) % 11];
                QCOMPARE(s.colour, expectedColour);
            }
        }
        if (sameobject && firstStart == 10) {
            // A new colour was drawn and is held from then on.
            QSet<QString> colours;
            for (const Shown& s : rig.shown)
                colours << s.colour;
            QCOMPARE(colours.size(), 1);
            QCOMPARE(game.pick.colorcounter, qint16(1));
        }
    }

    // With "keyboard" a picture stays until a key is pressed; a key while a
    // picture is still coming in brings the next one over it.
    void theKeyboardCycle() {
        LearnRig rig({{"howtochangepictures", "keyboard"}});
        mainform& game = rig.open("learncolors", 0);
        TestProgram& p = rig.program;
        // A key during the introduction changes nothing: the first picture waits 3000 ms.
        p.clock.advance(1000);
        QTest::keyClick(&game, Qt::Key_Space);
        p.clock.advance(1999);
        QCOMPARE(rig.shown.size(), 0);
        p.clock.advance(1 + kTransitionMs);
        QCOMPARE(rig.heard(kVoice), QStringList{"3500 black"});
        QVERIFY(!game.Timer1->enabled());
        QCOMPARE(game.Timer1->interval(), 1);
        p.clock.advance(60'000);
        QCOMPARE(rig.shown.size(), 1);

        QTest::keyClick(&game, Qt::Key_A);
        p.clock.advance(1);
        QCOMPARE(rig.shown.size(), 2);
        // A key while "blue" comes in: "brown" replaces it 1 ms later, and only
        // the picture that arrives is named.
        p.clock.advance(100);
        QTest::keyClick(&game, Qt::Key_B);
        p.clock.advance(1);
        QCOMPARE(rig.shown.size(), 3);
        p.clock.advance(kTransitionMs);
        QCOMPARE(rig.heard(kVoice), QStringList({"3500 black", "64102 brown"}));
        QCOMPARE(game.Learnimage->picture(), QImage(rig.picturePath(rig.shown.last())));
    }

    // A missing picture brings no transition and no name: with the timer the
    // activity rests until it is restarted, with the keyboard a key goes on.
    // A missing sound only silences the name.
    void missingFiles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("picturesAfterAMinute");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("rests");  // stopped, with no learn picture
        QTest::newRow("picture, timer")
            << "shapes/cirblack.jpg" << Damage::Removed << "timer" << 1 << QStringList() << true;
        QTest::newRow("picture, keyboard") << "shapes/cirblack.jpg" << Damage::Removed << "keyboard"
                                           << 2 << QStringList{"7000 blue"} << false;
        QTest::newRow("sound, timer") << "sounds/black.wav" << Damage::Removed << "timer" << 18
                                      << QStringList{"3500 black!", "7000 blue"} << false;
        QTest::newRow("broken picture")
            << "shapes/cirblack.jpg" << Damage::Corrupt << "timer" << 1 << QStringList() << true;
    }
    void missingFiles() {
        QFETCH(QString, file);
        QFETCH(Damage, damage);
        QFETCH(QString, change);
        QFETCH(int, picturesAfterAMinute);
        QFETCH(QStringList, names);
        QFETCH(bool, rests);
        LearnRig rig({{"howtochangepictures", change}});
        rig.fixture().damage(file, damage);
        TestProgram& p = rig.program;
        p.random.scriptDraw(0, kBackgroundCount);
        p.random.scriptDraw(0, 11);
        p.random.scriptDraw(0, 10);  // the first shape: "cir"
        mainform& game = rig.open("learncolors", 0);
        p.clock.advance(3000 + kTransitionMs);
        if (change == "keyboard") {
            QVERIFY(!game.Timer1->enabled());
            QTest::keyClick(&game, Qt::Key_Space);
        }
        p.clock.advance(60'000);
        QCOMPARE(rig.shown.size(), picturesAfterAMinute);
        QCOMPARE(rig.heard(kVoice).mid(0, 2), names);
        if (rests) {
            QVERIFY(!game.Timer1->enabled());
            QVERIFY(game.Learnimage->picture().isNull());
        }
        // Clicking the learn picture does nothing.
        const int entries = p.audio.entries().size();
        QTest::mouseClick(game.Learnimage, Qt::LeftButton);
        QCOMPARE(p.audio.entries().size(), entries);
    }

    // A scripted child watches ten thousand pictures per activity and change
    // mode; every invariant of the learn cycle is checked at every picture.
    void tenThousandPictures_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("howmanytimes");
        QTest::addColumn<bool>("sameobject");
        QTest::addColumn<int>("backchange");
        QTest::newRow("colours, timer") << "learncolors"
                                        << "timer" << 3 << false << 5;
        QTest::newRow("colours, keyboard") << "learncolors"
                                           << "keyboard" << 1 << true << 1;
        QTest::newRow("shapes, timer") << "learnshapes"
                                       << "timer" << 2 << true << 10;
        QTest::newRow("shapes, keyboard") << "learnshapes"
                                          << "keyboard" << 4 << false << 30;
    }
    void tenThousandPictures() {
        QFETCH(QString, mode);
        QFETCH(QString, change);
        QFETCH(int, howmanytimes);
        QFETCH(bool, sameobject);
        QFETCH(int, backchange);
        const int kPictures = qEnvironmentVariableIntValue("QV_PICTURES") ?: 10'000;
        const int kFxMs = 50;
        LearnRig rig({{"howtochangepictures", change},
                      {"howmanytimes", QString::number(howmanytimes)},
                      {"sameobject", sameobject ? "True" : "False"},
                      {"backchange", QString::number(backchange)},
                      {"fxspeed", "1"}});
        const bool colours = mode == "learncolors";
        const bool keyboard = change == "keyboard";
        const int tableSize = colours ? 11 : 10;
        mainform& game = rig.open(mode, 2);
        TestProgram& p = rig.program;
        // A small window paints quickly; the layout scales, the logic is the same.
        game.showNormal();
        game.resize(96, 96);
        std::mt19937 child(11);

        int checked = 0;
        BackgroundModel background(backchange, p.random.seedings);
        bool named = true;
        QString heldOther;
        p.audio.clear();
        while (checked < kPictures) {
            p.clock.advance(p.clock.nextDue() - p.clock.nowMs());
            if (rig.shown.size() > checked) {
                QCOMPARE(rig.shown.size(), checked + 1);
                // The picture before was named once; this one is not yet.
                QVERIFY(named);
                QVERIFY(rig.heard(kVoice).isEmpty());
                named = false;
                const Shown& s = rig.shown[checked];
                const QString taught = colours ? s.colour : s.shape;
                const QString other = colours ? s.shape : s.colour;
                // Table order, howmanytimes pictures in a row.
                const int index = colours ? colourIndex(taught) : shapeIndex(taught);
                QCOMPARE(index, (2 + checked / howmanytimes) % tableSize);
                QCOMPARE(int(s.timesshown), checked % howmanytimes + 1);
                if (sameobject) {
                    if (checked == 0)
                        heldOther = other;
                    QCOMPARE(other, heldOther);
                }
                // The background changes with every backchange-th counted picture.
                background.step();
                QCOMPARE(int(p.module1.backgroundcount), background.count());
                QCOMPARE(p.random.seedings, background.seedings());
                ++checked;
            }
            // Exactly one name once the picture has arrived, and it is its own.
            if (!named && !game.Learnimage->transitionRunning() && !rig.heard(kVoice).isEmpty()) {
                const Shown& s = rig.shown[checked - 1];
                QCOMPARE(
                    rig.heard(kVoice),
                    QStringList{
                        QString("%1 %2").arg(s.atMs + kFxMs).arg(colours ? s.colour : s.shape)});
                QCOMPARE(p.audio.entries().last().timeMs, s.atMs + kFxMs);
                named = true;
                p.audio.clear();
                if (keyboard) {
                    QVERIFY(!game.Timer1->enabled());
                    p.clock.advance(std::uniform_int_distribution<int>(0, 5000)(child));
                    QCOMPARE(rig.shown.size(), checked);
                    QVERIFY(rig.heard(kVoice).isEmpty());
                    QTest::keyClick(&game, Qt::Key_Space);
                }
            }
        }
        // The last picture's name too.
        p.clock.advance(kFxMs);
        QCOMPARE(rig.heard(kVoice).size(), 1);
        QCOMPARE(p.desktop.endedWith.size(), 0);
    }
};

QTEST_MAIN(TestLearn)
#include "test_learn.moc"

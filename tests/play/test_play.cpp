// Play colours and play shapes through the real game window, in virtual time:
// building a question, asking it, judging clicks, rewards and feedback, the
// keyboard, missing files, and a scripted child answering ten thousand times.
#include <QMenuBar>
#include <QtTest>

#include <random>

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
using qvtest::RecordingAudio;
using qvtest::ScriptedRandom;
using qvtest::TestProgram;

namespace {

constexpr int kTransitionMs = 500;         // the default effect speed of 10
constexpr qint64 kFirstQuestionMs = 5000;  // the first play start waits for the introduction
constexpr qint64 kArrivedMs = 5000 + 4 * kTransitionMs;  // the fourth picture is in

// The game window in a play mode on the fixture library.
struct PlayRig : GameRig {
    explicit PlayRig(const Settings& settings = {})
        : GameRig(withoutMusic(settings), Library::Fixture) {}

    // Scripts the draws up to the first colour question: the background, the
    // shapes ("cir"), the four colours, the right picture.
    void scriptFirstColourQuestion(const QList<int>& colours, int right) {
        program.random.scriptDraw(0, kBackgroundCount);
        for (int k = 0; k < (program.module1.settings.playsameobj ? 1 : 4); ++k)
            program.random.scriptDraw(0, 10);
        for (int c : colours)
            program.random.scriptDraw(c, 11);
        program.random.scriptDraw(right, 4);
    }

    QImage shapePicture(int k) {
        const mainform& window = game();
        return QImage(file("shapes/" + window.pictureshapes[k] + window.picturecolors[k] + ".jpg"));
    }
    qint64 lengthOf(const QString& sound) const {
        return RecordingAudio::waveLengthMs(file("sounds/" + sound + ".wav"));
    }
    int effectSounds() const {
        int n = 0;
        for (const auto& e : program.audio.entriesFor("mainform.soundplayer"))
            n += QFileInfo(e.path).completeBaseName().startsWith('e');
        return n;
    }
};

// Which picture answers, and one that does not.
int wrongPicture(const mainform& game) {
    return (game.rightpicture + 1) % 4;
}

void click(PlayRig& rig, int k) {
    QTest::mouseClick(rig.answers()[k], Qt::LeftButton);
}

// Runs fn when the game window next lets its pending events run: inside a
// right answer, once the reward has been shown and before the praise.
void atThePendingEvents(PlayRig& rig, std::function<void()> fn) {
    QMetaObject::invokeMethod(&rig.game(), std::move(fn), Qt::QueuedConnection);
}

}  // namespace

class TestPlay : public QObject {
    Q_OBJECT

private slots:
    // The four pictures come in one after the other, each with an effect
    // sound as it arrives; clicks count only once all four are in.
    void theFourPicturesArrive_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("playsameobj");
        QTest::newRow("colours") << "playcolors" << false;
        QTest::newRow("colours, same shape") << "playcolors" << true;
        QTest::newRow("shapes") << "playshapes" << false;
        QTest::newRow("shapes, same colour") << "playshapes" << true;
    }
    void theFourPicturesArrive() {
        QFETCH(QString, mode);
        QFETCH(bool, playsameobj);
        PlayRig rig({{"playsameobj", playsameobj ? "True" : "False"}});
        rig.program.random.useGenerator(3);
        mainform& game = rig.open(mode);
        TestProgram& p = rig.program;
        p.clock.advance(kFirstQuestionMs - 1);
        QCOMPARE(game.lastquestion, QString());
        p.clock.advance(1);
        QVERIFY(!game.Timer1->enabled());
        QCOMPARE(game.playgametimer->interval(), 1000);
        QVERIFY(game.image0->transitionRunning());

        const bool colours = mode == "playcolors";
        const auto& distinct = colours ? game.picturecolors : game.pictureshapes;
        const auto& shared = colours ? game.pictureshapes : game.picturecolors;
        QCOMPARE(QSet<QString>(distinct.begin(), distinct.end()).size(), 4);
        if (playsameobj)
            QCOMPARE(QSet<QString>(shared.begin(), shared.end()).size(), 1);
        QCOMPARE(colours ? game.rightcolor : game.rightshape, distinct[game.rightpicture]);
        QCOMPARE(game.lastquestion, distinct[game.rightpicture]);

        for (int k = 0; k < 4; ++k) {
            QCOMPARE(rig.effectSounds(), k);
            // A click before the fourth picture has arrived does nothing.
            click(rig, game.rightpicture);
            QCOMPARE(p.audio.entriesFor("answerplay").size(), 0);
            p.clock.advance(kTransitionMs);
            QCOMPARE(rig.answers()[k]->picture(), rig.shapePicture(k));
            QVERIFY(!rig.answers()[k]->armed());
        }
        QCOMPARE(rig.effectSounds(), 4);
        QCOMPARE(p.audio.entriesFor("mainform.soundplayer").last().timeMs, kArrivedMs);
        for (TransitionPicture* picture : rig.answers())
            QVERIFY(picture->isEnabled());
        QVERIFY(game.playgametimer->enabled());
        QVERIFY(rig.heard("answerplay").isEmpty());
    }

    // The question comes 1000 ms after the fourth picture, then every 15000 ms
    // with "repeat", and only after wrong answers without it.
    void theQuestionIsAsked_data() {
        QTest::addColumn<bool>("repeat");
        QTest::newRow("repeat") << true;
        QTest::newRow("once") << false;
    }
    void theQuestionIsAsked() {
        QFETCH(bool, repeat);
        PlayRig rig({{"repeatquestion", repeat ? "True" : "False"}});
        rig.scriptFirstColourQuestion({8, 1, 2, 3}, 0);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs);
        p.audio.clear();
        p.clock.advance(60'000);
        const QStringList asked = rig.heard("mainform.soundplayer");
        if (repeat)
            QCOMPARE(asked,
                     QStringList({"8000 selred", "23000 selred", "38000 selred", "53000 selred"}));
        else
            QCOMPARE(asked, QStringList{"8000 selred"});
        QCOMPARE(game.playgametimer->enabled(), repeat);
    }

    // A wrong answer: the lead-in heard to its end, then the name of what was
    // clicked, then the question again; the question stays open.
    void aWrongAnswer_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("repeat");
        QTest::newRow("colours, repeat") << "playcolors" << true;
        QTest::newRow("colours, once") << "playcolors" << false;
        QTest::newRow("shapes, repeat") << "playshapes" << true;
    }
    void aWrongAnswer() {
        QFETCH(QString, mode);
        QFETCH(bool, repeat);
        PlayRig rig({{"repeatquestion", repeat ? "True" : "False"}});
        rig.program.random.useGenerator(5);
        mainform& game = rig.open(mode);
        TestProgram& p = rig.program;
        const bool colours = mode == "playcolors";
        p.clock.advance(kArrivedMs + 3000);
        p.audio.clear();
        const auto before = colours ? game.picturecolors : game.pictureshapes;
        const QString asked = colours ? game.rightcolor : game.rightshape;
        const int wrong = wrongPicture(game);
        const QString name = before[wrong];
        const QString leadIn = colours ? "thatis" : "thisisa";

        const qint64 t = p.clock.nowMs();
        qint64 lastAskedAt = 0;
        // Clicking the same wrong picture twice gives the same feedback twice.
        for (int time = 0; time < 2; ++time) {
            p.audio.clear();
            const qint64 start = p.clock.nowMs();
            click(rig, wrong);
            const qint64 nameAt = start + rig.lengthOf(leadIn);
            const qint64 askedAt = nameAt + rig.lengthOf(name);
            QCOMPARE(rig.heard("answerplay"),
                     QStringList({QString("%1 %2").arg(start).arg(leadIn),
                                  QString("%1 %2").arg(nameAt).arg(name)}));
            QCOMPARE(rig.heard("mainform.soundplayer"),
                     QStringList{QString("%1 sel%2").arg(askedAt).arg(asked)});
            // The game is held until the question asked again has been heard.
            QCOMPARE(p.clock.nowMs(), askedAt + rig.lengthOf("sel" + asked));
            lastAskedAt = askedAt;
        }
        QVERIFY(p.clock.nowMs() > t);
        // The same four pictures stay, enabled, and the question goes on.
        QCOMPARE(colours ? game.picturecolors : game.pictureshapes, before);
        QCOMPARE(colours ? game.rightcolor : game.rightshape, asked);
        for (TransitionPicture* picture : rig.answers())
            QVERIFY(picture->isEnabled());
        // With "repeat" the next repetition comes 15000 ms after the question
        // was asked again.
        p.audio.clear();
        p.clock.advance(15'000);
        QCOMPARE(rig.heard("mainform.soundplayer"),
                 repeat ? QStringList{QString("%1 sel%2").arg(lastAskedAt + 15'000).arg(asked)}
                        : QStringList());
        // The right picture is still rewarded after that.
        const int rightBefore = game.rightpicture;
        p.audio.clear();
        click(rig, rightBefore);
        QVERIFY(rig.heard("answerplay").value(0).contains(" a"));
    }

    // A right answer, step by step: the reward on the clicked picture alone,
    // painted before anything else; then the praise, which nothing waits
    // for: the next question is built at once, its first picture comes in
    // and sounds while the praise goes on, and the praise is heard to its
    // end. A wrong answer before it changes none of this: the wait it asked
    // for governed its own sounds only.
    void aRightAnswer_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("wrongFirst");
        QTest::newRow("colours") << "playcolors" << false;
        QTest::newRow("shapes") << "playshapes" << false;
        QTest::newRow("colours, after a wrong answer") << "playcolors" << true;
        QTest::newRow("shapes, after a wrong answer") << "playshapes" << true;
    }
    void aRightAnswer() {
        QFETCH(QString, mode);
        QFETCH(bool, wrongFirst);
        PlayRig rig;
        rig.program.random.useGenerator(9);
        mainform& game = rig.open(mode);
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + 500);
        if (wrongFirst) {
            click(rig, wrongPicture(game));
            p.clock.advance(500);
        }
        p.audio.clear();
        const int right = game.rightpicture;
        const QString asked = game.lastquestion;
        std::array<QImage, 4> shownBefore;
        for (int k = 0; k < 4; ++k)
            shownBefore[k] = rig.answers()[k]->picture();

        // What the window shows when it handles its pending events, before
        // the praise.
        std::array<QImage, 4> shownAtReward;
        QStringList praisedAtReward{"not yet"};
        atThePendingEvents(rig, [&] {
            for (int k = 0; k < 4; ++k)
                shownAtReward[k] = rig.answers()[k]->picture();
            praisedAtReward = rig.heard("answerplay");
        });
        // What the window shows when the praise ends.
        QImage rewardAtPraiseEnd;
        std::array<QImage, 4> othersAtPraiseEnd;
        QObject::connect(&p.audio, &RecordingAudio::finished, [&] {
            if (!rewardAtPraiseEnd.isNull() || rig.heard("answerplay").isEmpty() ||
                p.audio.isPlaying("answerplay"))
                return;
            rewardAtPraiseEnd = rig.answers()[right]->picture();
            for (int k = 0; k < 4; ++k)
                othersAtPraiseEnd[k] = rig.answers()[k]->picture();
        });
        const qint64 start = p.clock.nowMs();
        click(rig, right);

        // The reward, alone and before the praise.
        QCOMPARE(praisedAtReward, QStringList());
        bool isReward = false;
        for (int n = 0; n < kRewardCount && !isReward; ++n)
            isReward =
                shownAtReward[right] == QImage(rig.file(QString("backgrounds/c%1.jpg").arg(n)));
        QVERIFY(isReward);
        for (int k = 0; k < 4; ++k)
            if (k != right)
                QCOMPARE(shownAtReward[k], shownBefore[k]);
        // The praise starts at the click. It is heard to its end before the
        // next question is built: the reward stays on screen all that time,
        // the other three pictures as they were, and no effect sound talks
        // over the praise.
        const QStringList praise = rig.heard("answerplay");
        QCOMPARE(praise.size(), 1);
        QVERIFY(QRegularExpression(QString("^%1 a[0-5]$").arg(start)).match(praise[0]).hasMatch());
        const qint64 praiseMs = rig.lengthOf(praise[0].section(' ', 1));
        QVERIFY(praiseMs > kTransitionMs);
        QVERIFY(!rewardAtPraiseEnd.isNull());
        QCOMPARE(rewardAtPraiseEnd, shownAtReward[right]);
        for (int k = 0; k < 4; ++k)
            if (k != right)
                QCOMPARE(othersAtPraiseEnd[k], shownBefore[k]);
        QCOMPARE(p.clock.nowMs(), start + praiseMs);
        QVERIFY(!p.clock.holding());
        // Then the next question is being built: cleared, disabled, image0 coming in.
        for (TransitionPicture* picture : rig.answers()) {
            QVERIFY(!picture->isEnabled());
            if (picture != game.image0)
                QVERIFY(picture->picture().isNull());
        }
        QVERIFY(game.image0->transitionRunning());
        QVERIFY(game.lastquestion != asked);
        // Its first picture arrives with its effect sound after the praise.
        p.clock.advance(kTransitionMs);
        const QStringList effects =
            rig.heard("mainform.soundplayer").filter(QRegularExpression(" e\\d+$"));
        QCOMPARE(effects.size(), 1);
        QCOMPARE(effects.first().section(' ', 0, 0).toLongLong(), start + praiseMs + kTransitionMs);
        QCOMPARE(rig.heard("answerplay"), praise);
    }

    // A near miss: a click in an answer picture's control beside the picture
    // drawn in it (to its side in a wide window, above or below it in a tall
    // one) is a click on that picture.
    void aNearMissIsAClickOnThePicture_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("picture");
        QTest::addColumn<bool>("right");  // the right picture, or a wrong one
        for (const QSize client : {QSize(1920, 1061), QSize(1024, 600), QSize(560, 1000)}) {
            for (int k = 0; k < 4; ++k) {
                for (bool right : {true, false})
                    QTest::addRow("%dx%d, picture %d, %s", client.width(), client.height(), k,
                                  right ? "right" : "wrong")
                        << client << k << right;
            }
        }
    }
    void aNearMissIsAClickOnThePicture() {
        QFETCH(QSize, client);
        QFETCH(int, picture);
        QFETCH(bool, right);
        PlayRig rig;
        rig.program.random.useGenerator(13);
        mainform& game = rig.open("playcolors");
        game.showNormal();
        game.resize(client.width(), client.height() + game.menuBar()->height());
        QTRY_COMPARE(game.centralWidget()->size(), client);
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + 500);
        // The question is asked of the chosen picture, or of another.
        for (int draws = 0; (game.rightpicture == picture) != right && draws < 100; ++draws) {
            game.playcolors();
            p.clock.advance(4 * kTransitionMs + 500);
        }
        QCOMPARE(game.rightpicture == picture, right);
        TransitionPicture* control = rig.answers()[size_t(picture)];
        const QRect drawn = control->pictureArea();
        const QRect area = control->rect();
        // Half-way between the picture's edge and the control's, on the side
        // where the window's shape leaves room.
        const bool wide = drawn.height() == area.height();
        QPoint beside;
        if (wide)
            beside = QPoint((area.left() + drawn.left()) / 2, drawn.center().y());
        else if (picture < 2)
            beside = QPoint(drawn.center().x(), (area.top() + drawn.top()) / 2);
        else
            beside = QPoint(drawn.center().x(), (drawn.bottom() + area.bottom()) / 2);
        QVERIFY2(!drawn.contains(beside) && area.contains(beside),
                 qPrintable(QString("picture %1,%2 %3x%4 in a control of %5x%6")
                                .arg(drawn.x())
                                .arg(drawn.y())
                                .arg(drawn.width())
                                .arg(drawn.height())
                                .arg(area.width())
                                .arg(area.height())));
        p.audio.clear();
        game.pickedpicture = -1;
        QTest::mouseClick(control, Qt::LeftButton, {}, beside);
        QCOMPARE(game.pickedpicture, qint16(picture));
        const QString answer = rig.heard("answerplay").value(0).section(' ', 1);
        if (right)
            QVERIFY2(QRegularExpression("^a[0-5]$").match(answer).hasMatch(), qPrintable(answer));
        else
            QCOMPARE(answer, QString("thatis"));
    }

    // The next question is asked a second after its fourth picture, however
    // the question before it ended.
    void aQuestionIsNeverAskedBeforeItsPicturesAreIn_data() {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<qint64>("after");
        QTest::newRow("right answer before the first asking, once") << false << "right" << 500LL;
        QTest::newRow("right answer before the first asking, repeat") << true << "right" << 500LL;
        QTest::newRow("right answer after the asking, once") << false << "right" << 3000LL;
        QTest::newRow("a key while the question repeats") << true << "key" << 17'000LL;
        QTest::newRow("a key before the first asking") << false << "key" << 500LL;
    }
    void aQuestionIsNeverAskedBeforeItsPicturesAreIn() {
        QFETCH(bool, repeat);
        QFETCH(QString, ending);
        QFETCH(qint64, after);
        PlayRig rig({{"repeatquestion", repeat ? "True" : "False"},
                     {"howtochangepictures", ending == "key" ? "keyboard" : "timer"}});
        rig.program.random.useGenerator(9);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + after);
        QVERIFY(game.image3->isEnabled());
        if (ending == "right")
            click(rig, game.rightpicture);
        else
            QTest::keyClick(&game, Qt::Key_Space);
        p.audio.clear();
        // The next question is being built once the pictures take no clicks,
        // and is in when the last of them takes clicks again.
        bool building = !game.image3->isEnabled();
        qint64 fourthAt = -1;
        qint64 askedAt = -1;
        for (int step = 0; step < 20'000 && askedAt < 0; step += 5) {
            p.clock.advance(5);
            if (!building && !game.image3->isEnabled()) {
                // Until now the question before it was still on, and may be asked.
                building = true;
                p.audio.clear();
            }
            if (building && fourthAt < 0 && game.image3->isEnabled())
                fourthAt = p.clock.nowMs();
            if (building && !rig.heard("mainform.soundplayer").filter(" sel").isEmpty())
                askedAt = p.clock.nowMs();
        }
        QVERIFY2(fourthAt > 0,
                 qPrintable(QString("asked at %1 before the fourth picture").arg(askedAt)));
        QVERIFY2(
            askedAt >= fourthAt + 1000,
            qPrintable(QString("asked at %1, fourth picture in at %2").arg(askedAt).arg(fourthAt)));
    }

    // A child who clicks fast: clicks that arrive while the game answers are
    // dropped, not answered one after the other afterwards. The clicks come
    // at their own times, also while a sound holds the game.
    void aBurstOfClicksOnAWrongPictureIsAnsweredOnce_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("colours") << "playcolors";
        QTest::newRow("shapes") << "playshapes";
    }
    void aBurstOfClicksOnAWrongPictureIsAnsweredOnce() {
        QFETCH(QString, mode);
        PlayRig rig;
        rig.program.random.useGenerator(7);
        mainform& game = rig.open(mode);
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + 3000);
        p.audio.clear();
        const int wrong = wrongPicture(game);
        const bool colours = mode == "playcolors";
        const QString asked = colours ? game.rightcolor : game.rightshape;
        const QString name = (colours ? game.picturecolors : game.pictureshapes)[wrong];
        const QString leadIn = colours ? "thatis" : "thisisa";
        const qint64 start = p.clock.nowMs();
        for (int i = 0; i < 10; ++i)
            p.clock.callAfter(
                i * 150, [&rig, wrong] { click(rig, wrong); }, Clock::WhileHeld::Run);
        p.clock.advance(5000);

        const qint64 nameAt = start + rig.lengthOf(leadIn);
        const qint64 askedAt = nameAt + rig.lengthOf(name);
        QCOMPARE(rig.heard("answerplay"), QStringList({QString("%1 %2").arg(start).arg(leadIn),
                                                       QString("%1 %2").arg(nameAt).arg(name)}));
        QCOMPARE(rig.heard("mainform.soundplayer"),
                 QStringList{QString("%1 sel%2").arg(askedAt).arg(asked)});
        QVERIFY(!p.clock.holding());
        // The question goes on, and the next click is answered at once.
        p.audio.clear();
        click(rig, game.rightpicture);
        QVERIFY(rig.heard("answerplay").value(0).contains(" a"));
    }

    // While the game is held, a key is dropped too, but closing the window
    // and Exit still end the program at once.
    void whileTheGameIsHeld_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("endings");
        QTest::newRow("a key in keyboard mode") << "key" << 0;
        QTest::newRow("Exit's shortcut") << "exit" << 1;
        QTest::newRow("New's shortcut") << "new" << 0;
        QTest::newRow("closing the window") << "close" << 1;
    }
    void whileTheGameIsHeld() {
        QFETCH(QString, action);
        QFETCH(int, endings);
        PlayRig rig({{"howtochangepictures", "keyboard"}});
        rig.program.random.useGenerator(3);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + 3000);
        const auto before = game.picturecolors;
        int heldEndings = -1;
        p.clock.callAfter(
            300,
            [&] {
                QVERIFY(p.clock.holding());
                if (action == "key")
                    QTest::keyClick(&game, Qt::Key_Space);
                else if (action == "exit")
                    QTest::keyClick(&game, Qt::Key_E, Qt::ControlModifier);
                else if (action == "new")
                    QTest::keyClick(&game, Qt::Key_N, Qt::ControlModifier);
                else
                    game.close();
                // Let a queued menu action run, as the hold does.
                QCoreApplication::processEvents();
                heldEndings = int(p.desktop.endedWith.size());
            },
            Clock::WhileHeld::Run);
        click(rig, wrongPicture(game));
        QCOMPARE(heldEndings, endings);
        if (endings > 0)
            return;
        // Nothing was kept for after the hold either.
        p.clock.advance(3000);
        QVERIFY(!game.Timer1->enabled());
        QCOMPARE(game.picturecolors, before);
        QVERIFY(game.isVisible());
    }

    // A hundred and twenty clicks anywhere in twenty seconds: once they stop,
    // nothing goes on but the answer to the last click that was heard, and
    // then the open question.
    void randomClicksLeaveNothingRunningOnceTheyStop() {
        PlayRig rig;
        rig.program.random.useGenerator(11);
        mainform& game = rig.open("playshapes");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + 1500);
        QWidget* client = game.centralWidget();
        std::mt19937 child(2026);
        std::uniform_int_distribution<int> when(0, 19'999);
        std::uniform_int_distribution<int> x(0, client->width() - 1);
        std::uniform_int_distribution<int> y(0, client->height() - 1);
        const qint64 start = p.clock.nowMs();
        qint64 last = start;
        for (int i = 0; i < 120; ++i) {
            const int at = when(child);
            last = std::max(last, start + at);
            const QPoint point(x(child), y(child));
            p.clock.callAfter(
                at,
                [client, point] {
                    QWidget* target = client->childAt(point);
                    if (!target)
                        target = client;
                    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(client, point));
                },
                Clock::WhileHeld::Run);
        }
        p.audio.clear();
        p.clock.advance(last - start);
        // The longest answer to a click: a right one (praise, the next question
        // built in four transitions, asked a second later) or a wrong one (lead-in,
        // name, the question again).
        p.clock.advance(6000);
        QVERIFY(!p.clock.holding());
        QVERIFY(!game.Timer1->enabled());
        for (TransitionPicture* picture : rig.answers())
            QVERIFY(picture->isEnabled());
        const qint64 settled = p.clock.nowMs();
        for (const auto& e : p.audio.entriesFor("answerplay"))
            QVERIFY2(e.timeMs <= last + 1500, qPrintable(QString("%1 at %2, last click at %3")
                                                             .arg(QFileInfo(e.path).fileName())
                                                             .arg(e.timeMs)
                                                             .arg(last)));
        // From now on only the question, every fifteen seconds.
        p.audio.clear();
        p.clock.advance(45'000);
        QVERIFY(p.audio.entriesFor("answerplay").isEmpty());
        const QStringList asked = rig.heard("mainform.soundplayer");
        QVERIFY2(asked.size() == 3, qPrintable(asked.join(", ")));
        for (const QString& question : asked)
            QVERIFY2(question.section(' ', 1) == "sel" + game.rightshape &&
                         question.section(' ', 0, 0).toLongLong() > settled,
                     qPrintable(question));
    }

    // A right answer stops the question timer at once: the next question is
    // asked 1000 ms after its own fourth picture, never while its pictures
    // are still coming in, and then as the setting says.
    void aRightAnswerStopsTheQuestionTimer_data() {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<int>("answeredAfterMs");  // after the fourth picture
        QTest::newRow("repeat, before the question") << true << 500;
        QTest::newRow("repeat, after the question") << true << 3000;
        QTest::newRow("once, after the question") << false << 3000;
    }
    void aRightAnswerStopsTheQuestionTimer() {
        QFETCH(bool, repeat);
        QFETCH(int, answeredAfterMs);
        PlayRig rig({{"repeatquestion", repeat ? "True" : "False"}});
        rig.program.random.useGenerator(6);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + answeredAfterMs);
        p.audio.clear();
        click(rig, game.rightpicture);
        QVERIFY(!game.playgametimer->enabled());
        const qint64 built = p.clock.nowMs();  // the next question starts at once
        const qint64 asked = built + 4 * kTransitionMs + 1000;
        p.clock.advance(4 * kTransitionMs + 31'000);
        QStringList expected{QString("%1 sel%2").arg(asked).arg(game.lastquestion)};
        if (repeat)
            for (qint64 again : {asked + 15'000, asked + 30'000})
                expected << QString("%1 sel%2").arg(again).arg(game.lastquestion);
        QCOMPARE(rig.heard("mainform.soundplayer").filter(" sel"), expected);
    }

    // The answer pictures take no click before a question has been built: not
    // during the window's first introduction, and not after a restart, even
    // when the question before was open.
    void aClickBeforeTheQuestionDoesNothing_data() {
        QTest::addColumn<QString>("restart");
        QTest::newRow("the window opens") << QString();
        QTest::newRow("New") << "New";
        QTest::newRow("About") << "About";
        QTest::newRow("Options") << "Options";
    }
    void aClickBeforeTheQuestionDoesNothing() {
        QFETCH(QString, restart);
        PlayRig rig;
        rig.program.random.useGenerator(8);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        if (restart.isEmpty()) {
            p.clock.advance(kFirstQuestionMs / 2);
        } else {
            p.clock.advance(kArrivedMs + 500);
            QVERIFY(game.image0->isEnabled());
            qvtest::whenDialogOpens([&] {
                if (restart == "New")
                    QTest::mouseClick(p.forms->select().playcbut, Qt::LeftButton);
                else if (restart == "About")
                    QTest::mouseClick(p.forms->about().okaybut, Qt::LeftButton);
                else if (QWidget* dialog = QApplication::activeModalWidget())
                    dialog->close();
            });
            if (restart == "New")
                game.newmenu_click();
            else if (restart == "About")
                game.aboutmenu_click();
            else
                game.optionsmenu_click();
            QCOMPARE(p.module1.selectedmode, QStringLiteral("playcolors"));
        }
        p.audio.clear();
        const int draws = p.random.taken;
        for (TransitionPicture* picture : rig.answers()) {
            QVERIFY(picture->isVisible());
            QVERIFY(!picture->isEnabled());
            QTest::mouseClick(picture, Qt::LeftButton);
        }
        QVERIFY(rig.heard("answerplay").isEmpty());
        QCOMPARE(p.random.taken, draws);
    }

    // A click the child makes while a right answer is being handled waits in
    // the queue; it is judged once the reward shows, before the praise, while
    // the question it was meant for is still open.
    void aQueuedClickIsJudgedBeforeThePraise() {
        PlayRig rig({{"repeatquestion", "False"}});
        rig.scriptFirstColourQuestion({8, 1, 2, 3}, 0);
        rig.program.random.useGenerator(10);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + 2000);
        p.audio.clear();
        const qint64 start = p.clock.nowMs();
        const QPoint centre = game.image2->rect().center();  // "brown"
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                game.image2,
                new QMouseEvent(type, centre, game.image2->mapToGlobal(centre), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
        click(rig, 0);  // "red", the right one

        const qint64 nameAt = start + rig.lengthOf("thatis");
        const qint64 askedAt = nameAt + rig.lengthOf("brown");
        // The question asked again is heard before the praise.
        const qint64 praiseAt = askedAt + rig.lengthOf("selred");
        const QStringList feedback = rig.heard("answerplay");
        QCOMPARE(feedback.size(), 3);
        QCOMPARE(feedback.mid(0, 2),
                 QStringList({QString("%1 thatis").arg(start), QString("%1 brown").arg(nameAt)}));
        QVERIFY2(
            QRegularExpression(QString("^%1 a[0-5]$").arg(praiseAt)).match(feedback[2]).hasMatch(),
            qPrintable(feedback[2]));
        QCOMPARE(rig.heard("mainform.soundplayer").filter(" sel"),
                 QStringList{QString("%1 selred").arg(askedAt)});
        QVERIFY(game.lastquestion != "red");
    }

    // The draws of a question, scripted one by one: each answer picture comes
    // in through the effect of its own draw of 22, taken just before it is
    // loaded; each arrival sounds a draw of 11 effect sounds, a right answer
    // shows a draw of 76 rewards and plays a draw of 6 praises. A draw
    // scripted at the top of its range (n - 1) gives n - 1 only to a draw of
    // exactly n, so the top row checks every range.
    void theDrawsOfAQuestion_data() {
        QTest::addColumn<QList<int>>("effects");
        QTest::addColumn<QList<int>>("sounds");
        QTest::addColumn<int>("reward");
        QTest::addColumn<int>("praise");
        QTest::newRow("bottom of every range")
            << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0} << 0 << 0;
        QTest::newRow("top of every range")
            << QList<int>{21, 21, 21, 21} << QList<int>{10, 10, 10, 10} << 75 << 5;
        QTest::newRow("each picture its own")
            << QList<int>{3, 17, 0, 21} << QList<int>{10, 0, 4, 7} << 40 << 2;
    }
    void theDrawsOfAQuestion() {
        QFETCH(QList<int>, effects);
        QFETCH(QList<int>, sounds);
        QFETCH(int, reward);
        QFETCH(int, praise);
        PlayRig rig;
        ScriptedRandom& random = rig.program.random;
        rig.scriptFirstColourQuestion({8, 1, 2, 3}, 0);
        random.scriptDraw(effects[0], 22);
        for (int k = 1; k < 4; ++k) {
            random.scriptDraw(effects[k], 22);
            random.scriptDraw(sounds[k - 1], 11);
        }
        random.scriptDraw(sounds[3], 11);
        random.scriptDraw(reward, kRewardCount);
        random.scriptDraw(praise, 6);
        random.useGenerator(12);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs);
        QStringList effectSounds;
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(rig.answers()[k]->effectNumber(), int(kEffectNumbers[effects[k]]));
            effectSounds
                << QString("%1 e%2").arg(kArrivedMs - (3 - k) * kTransitionMs).arg(sounds[k]);
        }
        QCOMPARE(rig.heard("mainform.soundplayer"), effectSounds);

        p.clock.advance(500);
        QImage rewardShown;
        atThePendingEvents(rig, [&] { rewardShown = game.image0->picture(); });
        const qint64 start = p.clock.nowMs();
        click(rig, 0);
        QCOMPARE(rig.heard("answerplay"), QStringList{QString("%1 a%2").arg(start).arg(praise)});
        int rewardShownNumber = -1;
        for (int n = 0; n < kRewardCount && rewardShownNumber < 0; ++n)
            if (rewardShown == QImage(rig.file(QString("backgrounds/c%1.jpg").arg(n))))
                rewardShownNumber = n;
        QCOMPARE(rewardShownNumber, reward);
    }

    // "keyboard": a key press builds a new question in place of the current
    // one, also while that one is still coming in.
    void aKeyBuildsANewQuestion() {
        // Slow transitions, so that the 5000 ms of the window's first play
        // start end while a question is still coming in.
        const int fx = 2000;
        PlayRig rig({{"howtochangepictures", "keyboard"}, {"fxplayspeed", "40"}});
        rig.program.random.useGenerator(4);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kFirstQuestionMs + 4 * fx + 100);
        QVERIFY(game.image3->isEnabled());
        const QString first = game.lastquestion;
        QTest::keyClick(&game, Qt::Key_Space);
        p.clock.advance(kFirstQuestionMs);
        QVERIFY(game.lastquestion != first);
        QVERIFY(!game.image3->isEnabled());
        // A key while the second picture comes in: 5000 ms later, with the
        // fourth one coming in, a new question replaces it, and the old chain
        // stops there.
        p.clock.advance(fx + 100);
        QVERIFY(game.Image1->transitionRunning());
        const QString second = game.lastquestion;
        QTest::keyClick(&game, Qt::Key_Space);
        p.clock.advance(kFirstQuestionMs - 1);
        QVERIFY(game.image3->transitionRunning());
        p.audio.clear();
        p.clock.advance(1);
        QVERIFY(game.lastquestion != second);
        // Nothing of the cleared question carries on: the four pictures come
        // in one after the other, each with its effect sound, and none takes
        // a click before the fourth has arrived.
        for (int k = 0; k < 4; ++k) {
            p.clock.advance(fx - 1);
            QVERIFY(rig.answers()[k]->transitionRunning());
            QCOMPARE(rig.effectSounds(), k);
            for (TransitionPicture* picture : rig.answers())
                QVERIFY(!picture->isEnabled());
            click(rig, game.rightpicture);
            QVERIFY(rig.heard("answerplay").isEmpty());
            p.clock.advance(1);
            QCOMPARE(rig.effectSounds(), k + 1);
        }
        for (int k = 0; k < 4; ++k)
            QCOMPARE(rig.answers()[k]->picture(), rig.shapePicture(k));
        for (TransitionPicture* picture : rig.answers())
            QVERIFY(picture->isEnabled());
        QVERIFY(game.playgametimer->enabled());
    }

    // A wrong click inside the second before the question: the lead-in is
    // heard alone, and the question comes once, after the name.
    void aWaitedLeadInHoldsTheQuestionTimer() {
        PlayRig rig({{"repeatquestion", "False"}});
        rig.scriptFirstColourQuestion({8, 1, 2, 3}, 0);
        rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + 600);
        p.audio.clear();
        click(rig, 2);  // "brown"
        const qint64 nameAt = kArrivedMs + 600 + rig.lengthOf("thatis");
        QVERIFY(nameAt > kArrivedMs + 1000);
        p.clock.advance(60'000);
        QCOMPARE(rig.heard("mainform.soundplayer"),
                 QStringList{QString("%1 selred").arg(nameAt + rig.lengthOf("brown"))});
    }

    // Missing files: the first picture stops the question there; a later one
    // is passed over and the question opens as usual; a missing reward keeps
    // the picture; a missing question is silent and the game goes on.
    void missingFiles_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<int>("effectSounds");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("asked");  // the question, as heard()
        QTest::addColumn<bool>("rewarded");
        QStringList rewards;
        for (int n = 0; n < kRewardCount; ++n)
            rewards << QString("backgrounds/c%1.jpg").arg(n);
        QTest::newRow("picture 0") << QStringList{"shapes/cirblack.jpg"} << Damage::Removed << 0
                                   << false << QString() << false;
        QTest::newRow("picture 2") << QStringList{"shapes/cirbrown.jpg"} << Damage::Removed << 3
                                   << true << "selblack" << true;
        QTest::newRow("picture 3") << QStringList{"shapes/cirgray.jpg"} << Damage::Removed << 3
                                   << true << "selblack" << true;
        QTest::newRow("broken picture 1") << QStringList{"shapes/cirblue.jpg"} << Damage::Corrupt
                                          << 3 << true << "selblack" << true;
        QTest::newRow("question sound") << QStringList{"sounds/selblack.wav"} << Damage::Removed
                                        << 4 << true << "selblack!" << true;
        QTest::newRow("every reward")
            << rewards << Damage::Removed << 4 << true << "selblack" << false;
    }
    void missingFiles() {
        QFETCH(QStringList, files);
        QFETCH(Damage, damage);
        QFETCH(int, effectSounds);
        QFETCH(bool, open);
        QFETCH(QString, asked);
        QFETCH(bool, rewarded);
        PlayRig rig({{"playsameobj", "True"}});
        for (const QString& file : files)
            rig.fixture().damage(file, damage);
        rig.scriptFirstColourQuestion({0, 1, 2, 3}, 0);
        rig.program.random.useGenerator(1);
        mainform& game = rig.open("playcolors");
        TestProgram& p = rig.program;
        p.clock.advance(kArrivedMs + 2000);
        QCOMPARE(rig.effectSounds(), effectSounds);
        for (TransitionPicture* picture : rig.answers())
            QCOMPARE(picture->isEnabled(), open);
        QCOMPARE(game.playgametimer->interval(), open ? 15000 : 1000);
        if (!open) {
            QVERIFY(game.image0->picture().isNull());
            QVERIFY(!game.playgametimer->enabled());
            return;
        }
        QCOMPARE(
            rig.heard("mainform.soundplayer").filter(QRegularExpression(" " + asked + "$")).size(),
            1);
        const QImage before = game.image0->picture();
        // A right answer: the reward shows before the praise; with no reward
        // the picture stays as it was.
        QImage duringPraise;
        atThePendingEvents(rig, [&] { duringPraise = game.image0->picture(); });
        click(rig, 0);
        QVERIFY(!duringPraise.isNull());
        QCOMPARE(duringPraise == before, !rewarded);
        QVERIFY(game.lastquestion != "black");
        QVERIFY(game.image0->transitionRunning());
    }

    // A scripted child answers ten thousand questions in each game, right and
    // wrong at random, and every invariant of a question is checked each time.
    void tenThousandQuestions_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("playsameobj");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<int>("backchange");
        QTest::newRow("colours") << "playcolors" << false << true << 5;
        QTest::newRow("shapes") << "playshapes" << true << false << 1;
    }
    void tenThousandQuestions() {
        QFETCH(QString, mode);
        QFETCH(bool, playsameobj);
        QFETCH(bool, repeat);
        QFETCH(int, backchange);
        const int kQuestions = qEnvironmentVariableIntValue("QV_QUESTIONS") ?: 10'000;
        PlayRig rig({{"playsameobj", playsameobj ? "True" : "False"},
                     {"repeatquestion", repeat ? "True" : "False"},
                     {"backchange", QString::number(backchange)},
                     {"fxplayspeed", "1"}});
        rig.program.random.useGenerator(21);
        mainform& game = rig.open(mode);
        game.showNormal();
        game.resize(96, 96);
        TestProgram& p = rig.program;
        const bool colours = mode == "playcolors";
        std::mt19937 child(5);
        std::array<QImage, kRewardCount> rewards;
        for (int n = 0; n < kRewardCount; ++n)
            rewards[n] = QImage(rig.file(QString("backgrounds/c%1.jpg").arg(n)));

        QString previous;
        BackgroundModel background(backchange, p.random.seedings);
        int questions = 0;
        int wrongAnswers = 0;
        const auto checkNewQuestion = [&] {
            const auto& distinct = colours ? game.picturecolors : game.pictureshapes;
            const auto& shared = colours ? game.pictureshapes : game.picturecolors;
            const QString asked = colours ? game.rightcolor : game.rightshape;
            QCOMPARE(QSet<QString>(distinct.begin(), distinct.end()).size(), 4);
            QCOMPARE(distinct[game.rightpicture], asked);
            QCOMPARE(game.lastquestion, asked);
            QVERIFY(asked != previous);
            if (playsameobj)
                QCOMPARE(QSet<QString>(shared.begin(), shared.end()).size(), 1);
            background.step();
            QCOMPARE(int(p.module1.backgroundcount), background.count());
            QCOMPARE(p.random.seedings, background.seedings());
            previous = asked;
            ++questions;
        };

        p.clock.advance(kFirstQuestionMs);
        checkNewQuestion();
        while (questions < kQuestions) {
            // Wait for the question to open, sometimes for it to be asked too.
            while (!game.image3->isEnabled())
                p.clock.advance(p.clock.nextDue() - p.clock.nowMs());
            p.clock.advance(std::uniform_int_distribution<int>(0, 2500)(child));
            p.audio.clear();
            const bool answerRight = std::bernoulli_distribution(0.5)(child);
            const int k =
                answerRight
                    ? game.rightpicture
                    : (game.rightpicture + 1 + std::uniform_int_distribution<int>(0, 2)(child)) % 4;
            const QString askedBefore = game.lastquestion;
            bool rewarded = false;
            atThePendingEvents(rig, [&] {
                rewarded = game.lastquestion == askedBefore &&
                           std::find(rewards.begin(), rewards.end(), rig.answers()[k]->picture()) !=
                               rewards.end();
            });
            click(rig, k);
            // A wrong answer may have let no events run.
            QCoreApplication::processEvents();
            const QStringList feedback = rig.heard("answerplay");
            if (answerRight) {
                // A reward and praise, then the next question at once.
                QVERIFY(rewarded);
                QCOMPARE(feedback.size(), 1);
                QVERIFY(feedback[0].contains(" a"));
                checkNewQuestion();
            } else {
                QVERIFY(!rewarded);
                QCOMPARE(feedback.size(), 2);
                QCOMPARE(game.lastquestion, askedBefore);
                ++wrongAnswers;
            }
        }
        QVERIFY(wrongAnswers > kQuestions / 2);
        QVERIFY(p.desktop.endedWith.isEmpty());
    }
};

QTEST_MAIN(TestPlay)
#include "test_play.moc"

#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

#include "fixturelibrary.h"
#include "testprogram.h"

namespace qv {
class mainform;
class TransitionPicture;
}  // namespace qv

namespace qvtest {

// Runs fn once the next modal window is up. Call it just before the menu
// command that opens the dialog: the dialog's own event loop runs fn first.
void whenDialogOpens(std::function<void()> fn);

// The game window on the fakes of a TestProgram, opened the way the selection
// screen opens it.
//
//   GameRig rig(GameRig::withoutMusic({{"repeatquestion", "False"}}),
//               GameRig::Library::Fixture);
//   mainform& game = rig.open("playcolors");
//   rig.program.clock.advance(8000);  // introduction, four pictures, a second
//   QCOMPARE(rig.heard("mainform.soundplayer").last(), "8000 sel" + game.lastquestion);
//
// The program, its clock, audio, draws and settings are rig.program's.
class GameRig {
public:
    // Settings keys and the texts stored for them ("howmanytimes" -> "3").
    using Settings = QMap<QString, QString>;
    // Generated: the media library the build made, the real files.
    // Fixture: a FixtureLibrary of the rig's own (tiny pictures, quick to
    // load); fixture() takes files away or damages them.
    enum class Library { Generated, Fixture };

    // The stored defaults, with the keys in settings stored otherwise, loaded
    // as a run after the first one starts. Nothing is drawn yet.
    explicit GameRig(const Settings& settings = {}, Library library = Library::Generated);
    // The same on a media folder of the test's own.
    GameRig(const Settings& settings, const QString& folder);
    ~GameRig();

    // settings with the music off, for tests of other things: the tune would
    // add to the log and take a draw at the first layout.
    static Settings withoutMusic(Settings settings);

    // The game window, made on first use and not shown, so that a test can
    // watch it before it opens.
    qv::mainform& game();
    // Sets the mode and shows the game window as a choice on the selection
    // screen does. The first showing runs the load step: a background draw,
    // the introduction, and the activity timer (learn modes draw their start
    // place too).
    qv::mainform& open(const QString& mode);

    // image0, Image1, image2, image3.
    std::array<qv::TransitionPicture*, 4> answers();

    // What a player was told to play, in order, as "<ms> <name>": the virtual
    // time and the file name without folder or extension; "!" marks a file
    // that could not be played ("5500 black!"). The introductions (letsgo...,
    // letsplay...) are left out. Players: "mainform.soundplayer" (names,
    // questions, effect sounds), "answerplay" (feedback).
    QStringList heard(const QString& player) const;

    // The path of a file of the media folder ("sounds/red.wav").
    QString file(const QString& relative) const;

    // The rig's fixture library (Library::Fixture only).
    FixtureLibrary& fixture();

private:
    std::unique_ptr<FixtureLibrary> fixture_;

public:
    TestProgram program;
};

// The background count as checkbackground() keeps it from an activity's start
// (count 0): every counted step (a learn picture, a question) adds one, and the
// step after backchange of them changes the background instead, which seeds
// the random source once more, and counts 1 again.
class BackgroundModel {
public:
    // seedings: the random source's seedings at the activity's start.
    BackgroundModel(int backchange, int seedings) : backchange_(backchange), seedings_(seedings) {}

    // One counted step.
    void step();

    int count() const { return count_; }
    int seedings() const { return seedings_; }

private:
    int backchange_;
    int count_ = 0;
    int seedings_;
};

}  // namespace qvtest

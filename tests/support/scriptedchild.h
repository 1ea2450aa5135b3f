#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <random>

namespace qv {
class mainform;
}

namespace qvtest {

class TestProgram;
class WindowKeyboard;
class WindowWatch;

// A child at the game window, in virtual time: waits a little, then clicks a
// picture, presses a key, or opens and closes New, About or Options (choosing,
// changing settings and storing them, or not), at random but the same way for
// the same seed. What every activity promises whatever the files are is
// checked along the way; what breaks it is collected in problems.
class ScriptedChild {
public:
    ScriptedChild(TestProgram& program, qv::mainform& game, quint32 seed);
    ~ScriptedChild();

    // One pause and one action.
    void step();
    // One pause and one thing a child's hands can do at a locked game window
    // (--lock), where no menu is left to use: keys, combinations and palms
    // through the window system, held keys repeating; clicks anywhere; the
    // window manager's close. Checks that the program goes on, locked, on
    // the same activity, with no other window opened and nothing opened in
    // the browser.
    void stepAtTheLock();

    int learnPictures() const { return learnPictures_; }
    int questions() const { return questions_; }
    QStringList problems;

private:
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    int upTo(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    void checkQuestion();
    void useNew();
    void useAbout();
    void useOptions();
    void tapKeys();
    void pressCombination();
    void palm();
    void nearMiss();
    void clickAnywhere();
    void holdFor(int ms);
    void checkStillLocked();

    TestProgram& program_;
    qv::mainform& game_;
    std::mt19937 random_;
    QString previousQuestion_;
    int learnPictures_ = 0;
    int questions_ = 0;
    QString lockedMode_;
    std::unique_ptr<WindowKeyboard> keys_;
    std::unique_ptr<WindowWatch> watch_;
};

}  // namespace qvtest

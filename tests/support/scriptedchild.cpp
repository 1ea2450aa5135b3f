#include "scriptedchild.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSet>
#include <QTest>

#include "gamerig.h"
#include "pictures/transitionpicture.h"
#include "testprogram.h"
#include "timing/timer.h"
#include "ui/about/aboutform.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"

namespace qvtest {

namespace {

QWidget* openWindowNamed(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

}  // namespace

ScriptedChild::ScriptedChild(TestProgram& program, qv::mainform& game, quint32 seed)
    : program_(program), game_(game), random_(seed) {
    QObject::connect(game.Timer1, &qv::Timer::tick, &game, [this] {
        if (!program_.module1.selectedmode.startsWith(QLatin1String("learn")))
            return;
        ++learnPictures_;
        if (game_.pick.currentcolor.isEmpty() || game_.pick.currentshape.isEmpty())
            problems << QStringLiteral("a learn picture without a colour or a shape");
    });
}

ScriptedChild::~ScriptedChild() {
    game_.Timer1->disconnect(&game_);
}

// A built question has four different answers and asks for one of them,
// never for the one asked just before.
void ScriptedChild::checkQuestion() {
    const QString& mode = program_.module1.selectedmode;
    if (!mode.startsWith(QLatin1String("play")) || game_.lastquestion.isEmpty() ||
        game_.lastquestion == previousQuestion_)
        return;
    const bool colours = mode == QLatin1String("playcolors");
    const auto& distinct = colours ? game_.picturecolors : game_.pictureshapes;
    if (QSet<QString>(distinct.begin(), distinct.end()).size() != 4)
        problems << QStringLiteral("a question with two answers alike");
    if (distinct[size_t(game_.rightpicture)] != game_.lastquestion)
        problems << QStringLiteral("a question whose answer is not among the pictures");
    previousQuestion_ = game_.lastquestion;
    ++questions_;
}

void ScriptedChild::step() {
    const qint64 before = program_.clock.nowMs();
    program_.clock.advance(upTo(4000));
    checkQuestion();
    const int action = upTo(100);
    if (action < 45) {
        const std::array<qv::TransitionPicture*, 4> answers{game_.image0, game_.Image1,
                                                            game_.image2, game_.image3};
        QTest::mouseClick(answers[size_t(upTo(4))], Qt::LeftButton);
    } else if (action < 75) {
        QTest::mouseClick(game_.Learnimage, Qt::LeftButton);
        QTest::keyClick(&game_, Qt::Key(Qt::Key_A + upTo(26)));
    } else if (action < 82) {
        useNew();
    } else if (action < 88) {
        useAbout();
    } else if (action < 96) {
        useOptions();
    } else {
        game_.SSResizer1_resize();
    }
    // Every wait is bounded: no single action holds the game for long.
    const qint64 took = program_.clock.nowMs() - before;
    if (took > 60'000)
        problems << QStringLiteral("one action held the game for %1 ms").arg(took);
    if (!program_.desktop.endedWith.isEmpty() || !program_.desktop.errors.isEmpty())
        problems << QStringLiteral("the program ended or reported a failure");
    // The recording only matters to tests that read it; keep it small.
    if (program_.audio.entries().size() > 2000)
        program_.audio.clear();
}

void ScriptedChild::useNew() {
    static const char* const kButtons[] = {"lcbut", "lsbut", "playcbut", "playshapes"};
    const bool choose = chance(0.8);
    const char* button = kButtons[upTo(4)];
    whenDialogOpens([this, choose, button] {
        qv::selectform& screen = program_.forms->select();
        if (choose)
            QTest::mouseClick(screen.findChild<qv::PictureButton*>(button), Qt::LeftButton);
        else
            screen.close();
    });
    game_.newmenu_click();
    previousQuestion_.clear();
}

void ScriptedChild::useAbout() {
    whenDialogOpens([this] { program_.forms->about().okaybut->click(); });
    game_.aboutmenu_click();
    previousQuestion_.clear();
}

void ScriptedChild::useOptions() {
    const int okay = upTo(4);  // 3: the close command, which stores nothing
    const int pick = upTo(1000);
    whenDialogOpens([this, okay, pick] {
        QWidget* dialog = openWindowNamed(QStringLiteral("options"));
        if (!dialog) {
            problems << QStringLiteral("the options dialog did not open");
            return;
        }
        const auto lists = dialog->findChildren<QComboBox*>();
        QComboBox* list = lists[pick % lists.size()];
        list->setCurrentIndex(pick % list->count());
        const auto boxes = dialog->findChildren<QCheckBox*>();
        boxes[pick % boxes.size()]->click();
        const auto buttons = dialog->findChildren<QRadioButton*>();
        buttons[pick % buttons.size()]->click();
        if (okay == 3) {
            dialog->close();
            return;
        }
        const char* const kOkays[] = {"okaybutglobal", "okayclose2", "okayclose3"};
        dialog->findChild<QAbstractButton*>(kOkays[okay])->click();
    });
    game_.optionsmenu_click();
    previousQuestion_.clear();
}

}  // namespace qvtest

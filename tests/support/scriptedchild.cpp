#include "scriptedchild.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <vector>

#include "gamerig.h"
#include "pictures/transitionpicture.h"
#include "testprogram.h"
#include "timing/timer.h"
#include "ui/about/aboutform.h"
#include "ui/mainform/mainform.h"
#include "ui/picturebutton.h"
#include "ui/selectform/selectform.h"
#include "windowkeyboard.h"
#include "windowwatch.h"

namespace qvtest {

namespace {

// The keys of a keyboard, by rows as they lie (a US layout), for palms.
struct KeyAt {
    Qt::Key key;
    double row;
    double column;
};

const std::vector<KeyAt>& keyboardKeys() {
    static const std::vector<KeyAt> keys = [] {
        std::vector<KeyAt> all;
        auto row = [&all](double r, double start, std::initializer_list<Qt::Key> keys) {
            double c = start;
            for (Qt::Key key : keys)
                all.push_back({key, r, c++});
        };
        row(0, 0,
            {Qt::Key_Escape, Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6,
             Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12});
        row(1, 0,
            {Qt::Key_QuoteLeft, Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6,
             Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0, Qt::Key_Minus, Qt::Key_Equal,
             Qt::Key_Backspace});
        row(2, 0,
            {Qt::Key_Tab, Qt::Key_Q, Qt::Key_W, Qt::Key_E, Qt::Key_R, Qt::Key_T, Qt::Key_Y,
             Qt::Key_U, Qt::Key_I, Qt::Key_O, Qt::Key_P, Qt::Key_BracketLeft,
             Qt::Key_BracketRight});
        row(3, 0,
            {Qt::Key_CapsLock, Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_F, Qt::Key_G, Qt::Key_H,
             Qt::Key_J, Qt::Key_K, Qt::Key_L, Qt::Key_Semicolon, Qt::Key_Apostrophe,
             Qt::Key_Return});
        row(4, 0,
            {Qt::Key_Shift, Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_B, Qt::Key_N,
             Qt::Key_M, Qt::Key_Comma, Qt::Key_Period, Qt::Key_Slash});
        row(5, 0, {Qt::Key_Control, Qt::Key_Meta, Qt::Key_Alt, Qt::Key_Space});
        row(5, 8, {Qt::Key_Menu, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right});
        row(4, 12, {Qt::Key_Up, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Delete});
        return all;
    }();
    return keys;
}

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

void ScriptedChild::stepAtTheLock() {
    if (!keys_) {
        keys_ = std::make_unique<WindowKeyboard>(game_.windowHandle());
        watch_ = std::make_unique<WindowWatch>(QList<QWidget*>{&game_});
        lockedMode_ = program_.module1.selectedmode;
    }
    program_.clock.advance(upTo(3000));
    checkQuestion();
    const int action = upTo(100);
    const qint64 actionStart = program_.clock.nowMs();
    keys_->log.clear();
    if (action < 30)
        tapKeys();
    else if (action < 50)
        pressCombination();
    else if (action < 65)
        palm();
    else if (action < 72)
        nearMiss();
    else if (action < 97)
        clickAnywhere();
    else
        game_.windowHandle()->close();  // the window manager's close (its button, Alt+F4)
    keys_->releaseAll();
    checkStillLocked();
    if (!problems.isEmpty())
        problems << QStringLiteral("the action (%1) from %2 ms: %3")
                        .arg(action)
                        .arg(actionStart)
                        .arg(keys_->log.join(' '));
    if (program_.audio.entries().size() > 2000)
        program_.audio.clear();
}

// Lets time pass with the keys down, the last one repeating as a held key does.
void ScriptedChild::holdFor(int ms) {
    constexpr int kRepeatMs = 33;
    static const QList<Qt::Key> kModifiers{Qt::Key_Control, Qt::Key_Shift, Qt::Key_Alt,
                                           Qt::Key_Meta};
    const QList<Qt::Key>& down = keys_->down();
    const bool repeats = !down.isEmpty() && !kModifiers.contains(down.constLast());
    // Some X servers' repeats reach the program as plain let-goes and presses.
    const bool marked = chance(0.5);
    for (int held = 0; held < ms; held += kRepeatMs) {
        program_.clock.advance(std::min(kRepeatMs, ms - held));
        if (!repeats || held < 500 || keys_->down().isEmpty())
            continue;
        if (marked)
            keys_->repeat(keys_->down().constLast());
        else
            keys_->unmarkedRepeat(keys_->down().constLast());
    }
}

void ScriptedChild::tapKeys() {
    const auto& keys = keyboardKeys();
    const int taps = 1 + upTo(8);
    for (int k = 0; k < taps; ++k) {
        const Qt::Key key = keys[size_t(upTo(int(keys.size())))].key;
        keys_->press(key);
        holdFor(chance(0.2) ? upTo(3000) : upTo(150));
        keys_->release(key);
        program_.clock.advance(upTo(300));
    }
}

void ScriptedChild::pressCombination() {
    // The ways out a child finds first, and then anything with modifiers.
    static const QList<QList<Qt::Key>> kKnown = {
        {Qt::Key_Alt, Qt::Key_F4},
        {Qt::Key_Control, Qt::Key_E},
        {Qt::Key_Control, Qt::Key_N},
        {Qt::Key_Control, Qt::Key_O},
        {Qt::Key_Control, Qt::Key_A},
        {Qt::Key_Control, Qt::Key_W},
        {Qt::Key_Control, Qt::Key_R},
        {Qt::Key_Control, Qt::Key_Q},
        {Qt::Key_Alt, Qt::Key_F},
        {Qt::Key_Alt, Qt::Key_O},
        {Qt::Key_Alt, Qt::Key_H},
        {Qt::Key_Alt, Qt::Key_Tab},
        {Qt::Key_Alt, Qt::Key_Space},
        {Qt::Key_Control, Qt::Key_Alt, Qt::Key_Delete},
        {Qt::Key_Control, Qt::Key_Alt, Qt::Key_Backspace},
        {Qt::Key_Control, Qt::Key_Shift, Qt::Key_E},
        {Qt::Key_Control, Qt::Key_Shift, Qt::Key_W},
        {Qt::Key_Meta},
        {Qt::Key_Meta, Qt::Key_D},
        {Qt::Key_F11},
        {Qt::Key_Escape},
        {Qt::Key_F10},
        {Qt::Key_Menu},
    };
    QList<Qt::Key> keys;
    if (chance(0.5)) {
        keys = kKnown[upTo(int(kKnown.size()))];
    } else {
        const Qt::Key modifiers[] = {Qt::Key_Control, Qt::Key_Shift, Qt::Key_Alt, Qt::Key_Meta};
        for (Qt::Key modifier : modifiers)
            if (chance(0.4))
                keys << modifier;
        const auto& all = keyboardKeys();
        keys << all[size_t(upTo(int(all.size())))].key;
    }
    for (Qt::Key key : keys) {
        keys_->press(key);
        program_.clock.advance(upTo(200));
    }
    holdFor(upTo(2500));
    // Let go in any order.
    while (!keys_->down().isEmpty())
        keys_->release(keys_->down()[upTo(int(keys_->down().size()))]);
}

void ScriptedChild::palm() {
    // A hand or an arm on the keyboard: every key under it, those at its
    // edge now and then.
    const auto& all = keyboardKeys();
    const double row = upTo(600) / 100.0;
    const double column = upTo(1500) / 100.0;
    const double radius = 0.8 + upTo(120) / 100.0;
    QList<Qt::Key> under;
    for (const KeyAt& k : all) {
        const double distance = std::hypot(k.row - row, (k.column - column) * 0.8);
        if (distance <= radius * 0.6 || (distance <= radius && chance(0.7)))
            under << k.key;
    }
    std::shuffle(under.begin(), under.end(), random_);
    for (Qt::Key key : under) {
        keys_->press(key);
        program_.clock.advance(upTo(60));
    }
    holdFor(200 + upTo(3000));
    while (!keys_->down().isEmpty())
        keys_->release(keys_->down()[upTo(int(keys_->down().size()))]);
}

void ScriptedChild::nearMiss() {
    // The parent's own keys, as a child copies them: let go too soon, or
    // with another key pressed on the way.
    QList<Qt::Key> three{Qt::Key_Control, Qt::Key_Shift, Qt::Key_Q};
    std::shuffle(three.begin(), three.end(), random_);
    for (Qt::Key key : three) {
        if (key != three.constFirst())
            program_.clock.advance(upTo(150));
        keys_->press(key);
    }
    // The time counts from the third key.
    if (chance(0.5)) {
        holdFor(upTo(1990));
    } else {
        holdFor(upTo(1900));
        const auto& all = keyboardKeys();
        const Qt::Key other = all[size_t(upTo(int(all.size())))].key;
        if (!three.contains(other))
            keys_->click(other);
        else
            keys_->release(other);
        holdFor(upTo(4000));
    }
    while (!keys_->down().isEmpty())
        keys_->release(keys_->down()[upTo(int(keys_->down().size()))]);
}

void ScriptedChild::clickAnywhere() {
    QWindow* window = game_.windowHandle();
    QPoint where(upTo(game_.width()), upTo(game_.height()));
    const std::array<qv::TransitionPicture*, 4> answers{game_.image0, game_.Image1, game_.image2,
                                                        game_.image3};
    qv::TransitionPicture* aim = answers[size_t(upTo(4))];
    if (chance(0.2))  // the corner where a close button would be
        where = QPoint(game_.width() - 1 - upTo(40), upTo(30));
    else if (chance(0.6) && aim->isVisible())  // a picture, the game's own invitation
        where = aim->mapTo(&game_, aim->rect().center());
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton,
                                       Qt::RightButton, Qt::MiddleButton};
    const Qt::MouseButton button = buttons[upTo(5)];
    if (chance(0.15))
        QTest::mouseDClick(window, button, keys_->modifiers(), where);
    else
        QTest::mouseClick(window, button, keys_->modifiers(), where);
}

void ScriptedChild::checkStillLocked() {
    if (!program_.desktop.endedWith.isEmpty())
        problems << QStringLiteral("the program ended");
    if (!program_.desktop.errors.isEmpty())
        problems << QStringLiteral("a failure was reported");
    if (!program_.desktop.opened.isEmpty())
        problems << QStringLiteral("something opened in the browser: %1")
                        .arg(program_.desktop.opened.constFirst().address);
    if (!watch_->opened.isEmpty())
        problems << QStringLiteral("a window opened: %1").arg(watch_->opened.join(", "));
    if (!game_.isVisible() || !game_.isFullScreen())
        problems << QStringLiteral("the game window left full screen");
    if (game_.menuBar()->isVisible())
        problems << QStringLiteral("the menus showed");
    if (program_.module1.selectedmode != lockedMode_)
        problems << QStringLiteral("the activity changed to %1").arg(program_.module1.selectedmode);
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

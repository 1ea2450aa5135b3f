// The keys of the play activities. Any key moves an activity paced by the
// keyboard on (Form_KeyPress). With the timer the keys answer a question as a
// click does, and only while a click would be taken (the question is open):
// the arrows and Tab move the focus ring between the four pictures, Space and
// Return answer with the picture that has it, and 1 to 4 answer with the top
// left, top right, bottom left and bottom right picture.
//
// Only these keys place the ring. The pictures take no focus of their own
// accord, so a child who only clicks never sees a ring, nor answers with
// Space or Return, however often the window becomes active again.
#include <QKeyEvent>

#include <algorithm>

#include "app/module1.h"
#include "mainform.h"
#include "pictures/transitionpicture.h"

namespace qv {

bool mainform::keysAnswer() const {
    return module1_.settings.howtochangepictures != QLatin1String("keyboard");
}

bool mainform::questionOpen() const {
    for (const TransitionPicture* picture : answerPictures()) {
        if (!picture->isVisible() || !picture->isEnabled())
            return false;
    }
    return true;
}

int mainform::focusedAnswer() const {
    const auto pictures = answerPictures();
    for (size_t k = 0; k < pictures.size(); ++k) {
        if (pictures[k]->hasFocus())
            return int(k);
    }
    return -1;
}

bool mainform::answerKey(const QKeyEvent& key) {
    if (!keysAnswer() || !questionOpen())
        return false;
    switch (key.key()) {
        case Qt::Key_1:
        case Qt::Key_2:
        case Qt::Key_3:
        case Qt::Key_4:
            // A digit held down answers once.
            if (!key.isAutoRepeat())
                answerWith(key.key() - Qt::Key_1);
            return true;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const int focused = focusedAnswer();
            if (focused < 0)
                return false;
            if (!key.isAutoRepeat())
                answerWith(focused);
            return true;
        }
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // Ctrl+Tab and the like are not the tab key.
            if (key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
                return false;
            moveAnswerFocus(key.key());
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            moveAnswerFocus(key.key());
            return true;
        default:
            return false;
    }
}

// The pictures stand in two rows of two: index = row * 2 + column. The first
// arrow or Tab shows the ring on the first picture (Shift+Tab on the last);
// the arrows then move it within the grid, Tab and Shift+Tab round it in
// reading order.
void mainform::moveAnswerFocus(int key) {
    int index = focusedAnswer();
    if (key == Qt::Key_Tab) {
        index = (index + 1) % 4;
    } else if (key == Qt::Key_Backtab) {
        index = index < 0 ? 3 : (index + 3) % 4;
    } else if (index < 0) {
        index = 0;
    } else {
        int row = index / 2;
        int column = index % 2;
        if (key == Qt::Key_Left)
            column = 0;
        else if (key == Qt::Key_Right)
            column = 1;
        else if (key == Qt::Key_Up)
            row = 0;
        else if (key == Qt::Key_Down)
            row = 1;
        index = row * 2 + column;
    }
    answerPictures()[size_t(index)]->setFocus(Qt::TabFocusReason);
}

void mainform::answerWith(int index) {
    static constexpr std::array<void (mainform::*)(), 4> kClickHandlers{
        &mainform::image0_click, &mainform::Image1_click, &mainform::image2_click,
        &mainform::image3_click};
    // The answer goes exactly as a click on the picture does, and the ring
    // shows the picture answered with. A right answer takes the pictures
    // away at once: the ring then comes to that place in the next question,
    // and a screen reader is never told of a picture being taken away.
    const bool right = index == rightpicture;
    if (!right)
        answerPictures()[size_t(index)]->setFocus(Qt::OtherFocusReason);
    (this->*kClickHandlers[size_t(index)])();
    if (right)
        answerFocus_ = index;
}

// While the pictures are away (a question being built, a dialog over the
// window) the focus rests on the window itself. Left on a picture, it would
// sit on a grey, nameless button, and the toolkit would walk it through the
// other pictures as each is disabled, a screen reader reading every step;
// taken off to nothing, the toolkit reports the picture it leaves as focused
// once more, and a screen reader, asking after it a moment later, finds it
// grey and nameless all the same. The window keeps its name meanwhile.
void mainform::putAnswerFocusAside() {
    const auto pictures = answerPictures();
    // The window's focus widget, also while another window is active.
    const auto had = std::find(pictures.begin(), pictures.end(), focusWidget());
    if (questionOpen())
        answerFocus_ = had == pictures.end() ? -1 : int(had - pictures.begin());
    if (had != pictures.end())
        setFocus(Qt::OtherFocusReason);
}

void mainform::giveBackAnswerFocus() {
    if (answerFocus_ >= 0 && keysAnswer() && questionOpen())
        answerPictures()[size_t(answerFocus_)]->setFocus(Qt::OtherFocusReason);
}

}  // namespace qv

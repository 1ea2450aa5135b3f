// The keys of the play activities. Any key moves an activity paced by the
// keyboard on (Form_KeyPress). With the timer the keys answer a question as a
// click does, and only while a click would be taken (the question is open):
// the arrows and Tab move the focus ring between the four pictures, Space and
// Return answer with the picture that has it, and 1 to 4 answer with the top
// left, top right, bottom left and bottom right picture.
#include <QKeyEvent>

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
// arrow shows the ring on the first picture; the next ones move it within
// the grid.
void mainform::moveAnswerFocus(int key) {
    int index = focusedAnswer();
    if (index < 0) {
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
    // The ring shows the picture answered with; then the answer goes exactly
    // as a click on it does.
    answerPictures()[size_t(index)]->setFocus(Qt::OtherFocusReason);
    (this->*kClickHandlers[size_t(index)])();
}

void mainform::rememberAnswerFocus() {
    if (questionOpen())
        answerFocus_ = focusedAnswer();
}

void mainform::giveBackAnswerFocus() {
    if (answerFocus_ >= 0 && keysAnswer() && questionOpen())
        answerPictures()[size_t(answerFocus_)]->setFocus(Qt::OtherFocusReason);
}

}  // namespace qv

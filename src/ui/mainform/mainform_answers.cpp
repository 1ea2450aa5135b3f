// The play activities: asking the question and judging the answers.
#include <QApplication>

#include "app/module1.h"
#include "catalogue/random.h"
#include "catalogue/tables.h"
#include "mainform.h"
#include "pictures/pictureloader.h"
#include "pictures/transitionpicture.h"
#include "sound/soundplayer.h"
#include "timing/timer.h"
#include "ui/platform.h"

namespace qv {

void mainform::image0_click() {
    answerClicked(0);
}

void mainform::Image1_click() {
    answerClicked(1);
}

void mainform::image2_click() {
    answerClicked(2);
}

void mainform::image3_click() {
    answerClicked(3);
}

void mainform::answerClicked(int index) {
    pickedpicture = static_cast<qint16>(index);
    if (module1_.selectedmode == QLatin1String("playcolors"))
        checkcolorcorrect();
    else
        checkshapecorrect();
}

void mainform::checkcolorcorrect() {
    judgeAnswer(true);
}

void mainform::checkshapecorrect() {
    judgeAnswer(false);
}

void mainform::judgeAnswer(bool colours) {
    const bool repeat = module1_.settings.repeatquestion;
    if (repeat)
        playgametimer->setEnabled(false);

    if (pickedpicture == rightpicture) {
        TransitionPicture* clicked = answerPictures()[static_cast<size_t>(rightpicture)];
        const int reward = platform_.random.draw(kRewardCount);
        // The reward comes at once, without a transition; a missing one
        // leaves the picture as it was.
        clicked->setArmed(false);
        if (const auto picture =
                loadPicture(mediaPath(QStringLiteral("\\backgrounds\\c%1.jpg").arg(reward))))
            showNamed(clicked, *picture, QStringLiteral("reward picture"));
        // Paint the reward now; a click already queued is handled here too.
        QApplication::processEvents();
        // The praise is heard to its end while the reward shows. Building the
        // next question clears all four pictures as its first step, so without
        // this wait the reward would be on screen for a single frame, and the
        // next question's effect sounds would talk over the praise.
        answerplay->setWait(true);
        answerplay->setFileName(mediaPath(
            QStringLiteral("\\sounds\\a%1.wav").arg(platform_.random.draw(kPraiseCount))));
        answerplay->setCommand(QStringLiteral("sound"));
        if (colours)
            playcolors();
        else
            playshapes();
        return;
    }

    // The lead-in and then the name of what was clicked are each heard to
    // their end, so that the question asked again never talks over them.
    answerplay->setWait(true);
    answerplay->setFileName(mediaPath(colours ? QStringLiteral("\\sounds\\thatis.wav")
                                              : QStringLiteral("\\sounds\\thisisa.wav")));
    answerplay->setCommand(QStringLiteral("sound"));
    const size_t picked = static_cast<size_t>(pickedpicture);
    answerplay->setWait(true);
    answerplay->setFileName(mediaPath(QStringLiteral("\\sounds\\") +
                                      (colours ? picturecolors[picked] : pictureshapes[picked]) +
                                      QStringLiteral(".wav")));
    answerplay->setCommand(QStringLiteral("sound"));
    playgametimer_tick();
    if (repeat)
        playgametimer->setEnabled(true);
    // The question asked again belongs to the answer: the game is held until
    // it has been heard, so that a child clicking on meanwhile neither talks
    // over it nor piles up answers. The next repetition still counts from here.
    soundplayer->holdUntilEnd();
}

void mainform::playgametimer_tick() {
    const QString& mode = module1_.selectedmode;
    const bool colours = mode == QLatin1String("playcolors");
    if (!colours && mode != QLatin1String("playshapes"))
        return;
    soundplayer->setFileName(mediaPath(QStringLiteral("\\sounds\\sel") +
                                       (colours ? rightcolor : rightshape) +
                                       QStringLiteral(".wav")));
    soundplayer->setCommand(QStringLiteral("sound"));
    if (!module1_.settings.repeatquestion)
        playgametimer->setEnabled(false);
    playgametimer->setInterval(15000);
}

}  // namespace qv

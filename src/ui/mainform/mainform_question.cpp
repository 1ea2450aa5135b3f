// The play activities: building a question of four answer pictures that
// arrive one after the other, each with an effect sound.
#include <algorithm>

#include "app/module1.h"
#include "catalogue/pickers.h"
#include "catalogue/random.h"
#include "catalogue/tables.h"
#include "mainform.h"
#include "pictures/pictureloader.h"
#include "pictures/transitionpicture.h"
#include "sound/soundplayer.h"
#include "timing/timer.h"
#include "ui/platform.h"

namespace qv {

namespace {

// Redraws the real generator would make before an entry is new are a handful;
// past this many the first unused entry is taken, so that a broken random
// source can never hang the game.
constexpr int kMaxRedraws = 1000;

template <size_t N>
QString firstUnused(const std::array<QString, N>& table, const std::array<QString, 4>& used,
                    int count, const QString& avoid = QString()) {
    for (const QString& entry : table) {
        if (entry != avoid &&
            std::find(used.begin(), used.begin() + count, entry) == used.begin() + count)
            return entry;
    }
    return table.front();
}

}  // namespace

void mainform::playcolors() {
    buildQuestion(true);
}

void mainform::playshapes() {
    buildQuestion(false);
}

std::array<TransitionPicture*, 4> mainform::answerPictures() const {
    return {image0, Image1, image2, image3};
}

// The colour game asks for a colour: the four colours differ, the shapes are
// drawn freely (or shared). The shape game is its mirror image.
void mainform::buildQuestion(bool askColours) {
    const Settings& settings = module1_.settings;
    Random& random = platform_.random;
    const auto pictures = answerPictures();
    putAnswerFocusAside();
    for (TransitionPicture* picture : pictures)
        picture->setEnabled(false);
    // Disarmed first: an armed picture cleared in the middle of an earlier
    // question (a key press rebuilds it) would carry the old chain on.
    for (TransitionPicture* picture : pictures) {
        picture->setArmed(false);
        clearPicture(picture);
    }
    Timer1->setEnabled(false);
    // A question is never asked before its four pictures are in: the last of
    // them starts the question timer. A timer left running (a right answer
    // before the question was first asked with "repeat" off, a key pressed
    // while it repeats) would ask the new question mid-build.
    playgametimer->setEnabled(false);
    playgametimer->setInterval(1000);
    if (settings.changebackground)
        checkbackground();

    std::array<QString, 4>& shared = askColours ? pictureshapes : picturecolors;
    std::array<QString, 4>& distinct = askColours ? picturecolors : pictureshapes;
    QString& asked = askColours ? rightcolor : rightshape;
    const auto drawShared = [&] {
        return askColours ? randomshape(pick, random) : randomcolor(pick, random);
    };
    const auto drawDistinct = [&] {
        return askColours ? randomcolor(pick, random) : randomshape(pick, random);
    };
    const auto unusedDistinct = [&](int count, const QString& avoid) {
        return askColours ? firstUnused(kColorNames, distinct, count, avoid)
                          : firstUnused(kShapeStems, distinct, count, avoid);
    };

    shared[0] = drawShared();
    for (size_t i = 1; i < shared.size(); ++i)
        shared[i] = settings.playsameobj ? shared[0] : drawShared();

    int passes = 0;
    while (lastquestion == asked) {
        distinct[0] = drawDistinct();
        for (int i = 1; i < 4; ++i) {
            distinct[i] = drawDistinct();
            // Any match with an earlier picture draws again and scans from the start.
            int redraws = 0;
            for (int j = 0; j < i;) {
                if (distinct[j] != distinct[i]) {
                    ++j;
                    continue;
                }
                distinct[i] = ++redraws < kMaxRedraws ? drawDistinct() : unusedDistinct(i, {});
                j = 0;
            }
        }
        for (TransitionPicture* picture : pictures)
            picture->setArmed(true);
        rightpicture = static_cast<qint16>(random.draw(4));
        asked = distinct[static_cast<size_t>(rightpicture)];
        if (++passes >= kMaxRedraws && lastquestion == asked) {
            distinct[static_cast<size_t>(rightpicture)] = unusedDistinct(4, lastquestion);
            asked = distinct[static_cast<size_t>(rightpicture)];
        }
    }
    lastquestion = asked;

    effectnumber = randomeffect(pick, random);
    image0->setEffectNumber(effectnumber);
    // Without the first picture the question ends here: the chain of
    // transitions that builds it never starts.
    if (const auto picture = loadPicture(shapePicturePath(pictureshapes[0], picturecolors[0])))
        showNamed(image0, *picture, pictureWords(picturecolors[0], pictureshapes[0]));
}

void mainform::image0_transitionFinished() {
    answerArrived(0, true);
}

void mainform::Image1_transitionFinished() {
    answerArrived(1, true);
}

void mainform::image2_transitionFinished() {
    answerArrived(2, true);
}

void mainform::image3_transitionFinished() {
    answerArrived(3, true);
}

// Picture index has come in (or, when it could not be loaded, has been given
// up): the next one follows, and after the last the question is open.
void mainform::answerArrived(int index, bool arrived) {
    const auto pictures = answerPictures();
    pictures[static_cast<size_t>(index)]->setArmed(false);
    if (index < 3) {
        bringInAnswer(index + 1);
        if (arrived)
            playEffectSound();
        return;
    }
    if (arrived)
        playEffectSound();
    for (TransitionPicture* picture : pictures)
        picture->setEnabled(true);
    giveBackAnswerFocus();
    playgametimer->setEnabled(true);
}

void mainform::bringInAnswer(int index) {
    const size_t k = static_cast<size_t>(index);
    TransitionPicture* picture = answerPictures()[k];
    effectnumber = randomeffect(pick, platform_.random);
    picture->setEffectNumber(effectnumber);
    if (const auto loaded = loadPicture(shapePicturePath(pictureshapes[k], picturecolors[k]))) {
        showNamed(picture, *loaded, pictureWords(picturecolors[k], pictureshapes[k]));
        return;
    }
    // A picture that cannot be loaded must not leave the question half-built:
    // carry on with the next one.
    answerArrived(index, false);
}

void mainform::playEffectSound() {
    pick.randomnumber = static_cast<qint16>(platform_.random.draw(kEffectSoundCount));
    soundplayer->setFileName(mediaPath(QStringLiteral("\\sounds\\e%1.wav").arg(pick.randomnumber)));
    soundplayer->setCommand(QStringLiteral("sound"));
}

}  // namespace qv

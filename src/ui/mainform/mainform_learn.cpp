// The learn activities: one large picture at a time, named when it has arrived.
#include <limits>

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

void mainform::learncollorssub() {
    learnStep(true);
}

void mainform::learnshapessub() {
    learnStep(false);
}

// Learn colours teaches the colour in table order on shapes drawn at random;
// learn shapes is its mirror image.
void mainform::learnStep(bool teachColours) {
    const Settings& settings = module1_.settings;
    Random& random = platform_.random;
    if (settings.changebackground)
        checkbackground();
    Learnimage->setVisible(false);
    if (timesshown < std::numeric_limits<qint16>::max())
        ++timesshown;

    // Something is held once a learn picture has been shown in this window,
    // whichever learn activity showed it.
    const bool held = !(teachColours ? pick.currentshape : pick.currentcolor).isEmpty();
    const auto drawOther = [&] {
        if (teachColours)
            pick.currentshape = randomorsameshape(pick, random, settings.sameobject);
        else
            pick.currentcolor = randomorsamecolor(pick, random, settings.sameobject);
    };
    const auto nextTaught = [&] {
        if (teachColours)
            pick.currentcolor = nextcolor(pick);
        else
            pick.currentshape = nextshape(pick);
    };
    if (held && timesshown <= settings.howmanytimes) {
        drawOther();
    } else if (held && timesshown >= settings.howmanytimes) {
        drawOther();
        nextTaught();
        timesshown = 1;
    } else {
        drawOther();
        nextTaught();
    }

    effectnumber = randomeffect(pick, random);
    Learnimage->setEffectNumber(effectnumber);
    Learnimage->setArmed(true);
    // A missing picture brings no transition, so no name and, with the timer,
    // no next picture until the activity is restarted.
    if (const auto picture = loadPicture(shapePicturePath(pick.currentshape, pick.currentcolor)))
        showNamed(Learnimage, *picture, pictureWords(pick.currentcolor, pick.currentshape));
    Learnimage->setVisible(true);
    Timer1->setEnabled(false);
}

void mainform::Learnimage_transitionFinished() {
    Learnimage->setArmed(false);
    const QString& mode = module1_.selectedmode;
    if (mode == QLatin1String("learncolors") || mode == QLatin1String("learnshapes")) {
        const QString& name =
            mode == QLatin1String("learncolors") ? pick.currentcolor : pick.currentshape;
        soundplayer->setFileName(mediaPath(QStringLiteral("\\sounds\\") + name + ".wav"));
        soundplayer->setCommand(QStringLiteral("sound"));
    }
    const bool keyboard = module1_.settings.howtochangepictures == QLatin1String("keyboard");
    Timer1->setInterval(keyboard ? 1 : 3000);
    if (!keyboard)
        Timer1->setEnabled(true);
}

QString mainform::shapePicturePath(const QString& stem, const QString& colour) const {
    return mediaPath(module1_.settings.shapedirectory + stem + colour + QStringLiteral(".jpg"));
}

}  // namespace qv

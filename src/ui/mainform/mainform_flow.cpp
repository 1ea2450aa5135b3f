// The game window's activity flow: loading, starting and restarting an
// activity, the activity timer, key presses and the File and About menus.
#include <QApplication>
#include <QCloseEvent>

#include "app/module1.h"
#include "catalogue/random.h"
#include "catalogue/tables.h"
#include "links/desktop.h"
#include "mainform.h"
#include "pictures/transitionpicture.h"
#include "sound/soundplayer.h"
#include "timing/timer.h"
#include "ui/about/aboutform.h"
#include "ui/forms.h"
#include "ui/platform.h"
#include "ui/selectform/selectform.h"

namespace qv {

namespace {

struct ActivityStart {
    const char* mode;
    const char* introduction;
    bool learn;
};

constexpr ActivityStart kActivities[] = {
    {"learncolors", "\\sounds\\letsgocolors.wav", true},
    {"learnshapes", "\\sounds\\letsgoshapes.wav", true},
    {"playcolors", "\\sounds\\letsplaycolor.wav", false},
    {"playshapes", "\\sounds\\letsplayshape.wav", false},
};

}  // namespace

void mainform::Form_Load() {
    getbackgrounpicture();
    mmcsetup();
    userselection();
}

void mainform::mmcsetup() {
    soundplayer->setNotify(false);
    soundplayer->setWait(false);
    soundplayer->setShareable(true);
    soundplayer->setDeviceType(QStringLiteral("WaveAudio"));
}

void mainform::userselection() {
    timesshown = 0;
    module1_.backgroundcount = 0;
    lastquestion.clear();
    rightshape.clear();
    rightcolor.clear();
    const Settings& settings = module1_.settings;
    Learnimage->setEffectSpeed(settings.fxspeed);
    // The toolkit never gives an answer picture the focus of its own accord
    // (the window becoming active, a click): only the keys place the ring
    // (mainform_keys.cpp).
    for (TransitionPicture* picture : {image0, Image1, image2, image3}) {
        picture->setEffectSpeed(settings.fxplayspeed);
        picture->setFocusPolicy(Qt::NoFocus);
    }

    const QString& mode = module1_.selectedmode;
    for (const ActivityStart& activity : kActivities) {
        if (mode != QLatin1String(activity.mode))
            continue;
        soundplayer->setFileName(mediaPath(QString::fromLatin1(activity.introduction)));
        soundplayer->setCommand(QStringLiteral("sound"));
        if (activity.learn) {
            if (mode == QLatin1String("learncolors"))
                pick.colorcounter =
                    static_cast<qint16>(platform_.random.draw(int(kColorNames.size())));
            else
                pick.shapecounter =
                    static_cast<qint16>(platform_.random.draw(int(kShapeStems.size())));
            Learnimage->setVisible(true);
            Timer1->setEnabled(true);
            Timer1->setInterval(3000);
        } else {
            soundplayer->setWait(false);
            for (TransitionPicture* picture : {image0, Image1, image2, image3})
                picture->setVisible(true);
            // The very first question of the window waits for the introduction;
            // later starts build their first question at once.
            Timer1->setInterval(playstarted ? 1 : 5000);
            Timer1->setEnabled(true);
            playstarted = true;
        }
        return;
    }
}

void mainform::Timer1_tick() {
    // Each activity's step disables Timer1 itself, so every enabling yields one step.
    const QString& mode = module1_.selectedmode;
    if (mode == QLatin1String("learncolors"))
        learncollorssub();
    else if (mode == QLatin1String("learnshapes"))
        learnshapessub();
    else if (mode == QLatin1String("playcolors"))
        playcolors();
    else if (mode == QLatin1String("playshapes"))
        playshapes();
}

void mainform::Form_KeyPress() {
    if (module1_.settings.howtochangepictures == QLatin1String("keyboard"))
        Timer1->setEnabled(true);
}

void mainform::hideAndClearPictures() {
    putAnswerFocusAside();
    for (TransitionPicture* picture : {image0, Image1, image2, image3, Learnimage})
        picture->setVisible(false);
    for (TransitionPicture* picture : {Learnimage, image0, Image1, image2, image3}) {
        picture->setArmed(false);
        clearPicture(picture);
    }
    // Empty answer pictures take no clicks until a question has been built.
    for (TransitionPicture* picture : answerPictures())
        picture->setEnabled(false);
}

void mainform::newmenu_click() {
    Timer1->setEnabled(false);
    playgametimer->setEnabled(false);
    hideAndClearPictures();
    forms_.select().showAsDialog(this);
    repaint();
    getbackgrounpicture();
    QApplication::processEvents();
    userselection();
}

void mainform::aboutmenu_click() {
    // The question timer keeps its state: a question may still be asked
    // while the box is open. The background stays.
    Timer1->setEnabled(false);
    hideAndClearPictures();
    forms_.about().showAsDialog(this);
    repaint();
    QApplication::processEvents();
    userselection();
}

void mainform::eitmenu_click() {
    playbackmusiccontrol->setCommand(QStringLiteral("close"));
    platform_.desktop.endProgram(0);
}

void mainform::closeEvent(QCloseEvent* event) {
    // Locked, the window stays whatever the desktop asks (its close button,
    // Alt+F4 through the window manager); a parent leaves by ToddlerLock.
    if (forms_.locked()) {
        event->ignore();
        return;
    }
    event->accept();
    playbackmusiccontrol->setCommand(QStringLiteral("close"));
    platform_.desktop.endProgram(0);
}

}  // namespace qv

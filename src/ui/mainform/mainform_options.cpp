// The Options menu: the options dialog, then a restart of the activity.
#include <QApplication>

#include <exception>

#include "app/module1.h"
#include "mainform.h"
#include "sound/soundplayer.h"
#include "timing/timer.h"
#include "ui/options/options.h"
#include "ui/platform.h"

namespace qv {

namespace {

// Whatever goes wrong in one step, the game window goes on to the next: a
// store that cannot be read back must not end the program from here.
template <typename Step>
void skippingFailure(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

void mainform::optionsmenu_click() {
    const bool musicBefore = module1_.settings.playmusic;
    skippingFailure([&] {
        Timer1->setEnabled(false);
        playgametimer->setEnabled(false);
    });
    skippingFailure([&] { hideAndClearPictures(); });
    skippingFailure([&] {
        options dialog(forms_);
        dialog.showAsDialog(this);
    });
    skippingFailure([&] {
        repaint();
        QApplication::processEvents();
    });
    skippingFailure([&] { loadsettings(module1_.settings, platform_.store); });
    skippingFailure([&] {
        const bool music = module1_.settings.playmusic;
        if (music == musicBefore)
            return;
        if (music) {
            playmusicsub();
        } else {
            // Without notify, closing raises no done event that would start another tune.
            playbackmusiccontrol->setNotify(false);
            playbackmusiccontrol->setCommand(QStringLiteral("close"));
        }
    });
    skippingFailure([&] { userselection(); });
}

}  // namespace qv

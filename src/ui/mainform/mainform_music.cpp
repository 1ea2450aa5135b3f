// Background music: random tunes, one after another, behind every activity.
#include "app/module1.h"
#include "catalogue/random.h"
#include "catalogue/tables.h"
#include "mainform.h"
#include "sound/soundplayer.h"
#include "ui/platform.h"

namespace qv {

void mainform::playmusicsub() {
    Random& random = platform_.random;
    random.seedFromClock();
    const int tune = random.draw(kTuneCount);
    SoundPlayer& player = *playbackmusiccontrol;
    player.setNotify(false);
    player.setAutoEnable(true);
    player.setPlayEnabled(true);
    player.setFileName(mediaPath(QStringLiteral("\\sounds\\%1.mid").arg(tune)));
    // "open" has finished before "prev" is given.
    player.setWait(true);
    player.setDeviceType(QStringLiteral("sequencer"));
    player.setCommand(QStringLiteral("open"));
    player.setCommand(QStringLiteral("prev"));
    // The end of the tune raises done, which draws the next one; the tune
    // itself plays on while the window goes on.
    player.setNotify(true);
    player.setCommand(QStringLiteral("play"));
}

void mainform::playbackmusiccontrol_done(int) {
    if (module1_.settings.playmusic)
        playmusicsub();
}

void mainform::SSResizer1_resize() {
    // The toolkit lays a window out before it shows it; the music begins
    // after the load step has drawn the background and started the activity.
    if (!loadStepDone_)
        return;
    if (!musicstarted && module1_.settings.playmusic) {
        playmusicsub();
        musicstarted = true;
    }
    emit laidOut();
}

}  // namespace qv

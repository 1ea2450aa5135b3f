// Background music: random tunes, one after another, behind every activity.
#include "mainform.h"

namespace qv {

void mainform::playmusicsub() {}

void mainform::playbackmusiccontrol_done(int) {}

void mainform::SSResizer1_resize() {
    emit laidOut();
}

}  // namespace qv

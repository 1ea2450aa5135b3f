#include "fontwarmup.h"

#include <fontconfig/fontconfig.h>

namespace qv {

FontConfigWarmUp::FontConfigWarmUp() : thread_([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() {
    wait();
}

void FontConfigWarmUp::wait() {
    if (thread_.joinable())
        thread_.join();
}

}  // namespace qv

#include "musicducking.h"

#include <algorithm>

namespace qv {

double MusicDucking::advance(double elapsedMs, bool voiceSounding) {
    constexpr double kSpan = kFullLevel - kUnderVoiceLevel;
    if (elapsedMs <= 0)
        return level_;
    if (voiceSounding)
        level_ = std::max(kUnderVoiceLevel, level_ - kSpan * elapsedMs / kDownMs);
    else
        level_ = std::min(kFullLevel, level_ + kSpan * elapsedMs / kUpMs);
    return level_;
}

}  // namespace qv

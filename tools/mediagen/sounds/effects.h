#pragma once

#include <vector>

namespace mediagen {

// The eleven short sounds that greet each answer picture, e0 to e10, and the
// selection screen's chime. Samples at kSampleRate, peak at about -1.5 dBFS.
std::vector<std::vector<float>> effectSounds();
std::vector<float> selectionChime();

}  // namespace mediagen

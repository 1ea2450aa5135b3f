#pragma once

#include <vector>

namespace speechgen {

// Every phrase is brought to this RMS level so that no word is louder than
// another; the limiter keeps the odd plosive below the ceiling.
inline constexpr double kTargetRms = 0.1;      // -20 dBFS
inline constexpr double kPeakCeiling = 0.891;  // -1 dBFS

double rmsOf(const std::vector<float>& samples);

// The gain that brings the phrase to kTargetRms once applyLevel has limited
// its peaks.
double levelGain(const std::vector<float>& samples);

// Scales by gain, softly limiting peaks above the ceiling.
std::vector<float> applyLevel(const std::vector<float>& samples, double gain);

}  // namespace speechgen

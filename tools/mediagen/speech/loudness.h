#pragma once

#include <vector>

namespace speechgen {

// Every phrase is brought to this RMS level so that no word is louder than
// another; the limiter keeps the odd plosive below the ceiling.
inline constexpr double kTargetRms = 0.1;      // -20 dBFS
inline constexpr double kPeakCeiling = 0.891;  // -1 dBFS

// Short fades at both ends, so that the cut made by trimming never clicks.
std::vector<float> fadeEnds(std::vector<float> samples);

double rmsOf(const std::vector<float>& samples);

// Scales the phrase to kTargetRms, softly limiting peaks above the ceiling,
// and returns the result.
std::vector<float> levelPhrase(const std::vector<float>& samples);

}  // namespace speechgen

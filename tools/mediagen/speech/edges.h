#pragma once

#include <cstddef>
#include <vector>

namespace speechgen {

// Where the voice says the speech lies in its render, in seconds: the end of
// its leading pause and the start of its trailing one.
struct SpeechTimes {
    double start = 0.0;
    double end = 0.0;
};

// Where the phrase lies in the voice's untrimmed render, in samples.
struct PhraseEdges {
    std::size_t begin = 0;       // first sample kept
    std::size_t firstSound = 0;  // start of the first sound
    std::size_t lastSound = 0;   // end of the last sound
    std::size_t end = 0;         // one past the last sample kept
};

// Within the speech, a sound is any 5 ms stretch whose level comes within
// this much of the render's peak. The faint start of a plosive's burst lies
// about 40 dB below the peak, the voice's noise floor 55 to 80 dB below, so a
// cut before the first sound lands in the quiet ahead of the first consonant
// (a stop's silent closure counts as quiet) rather than inside it.
inline constexpr double kSoundBelowPeakDb = -55.0;

// The voice's timings are those of its model; the sound may begin a little
// before the speech and dies away a little after it.
inline constexpr double kBeforeSpeechSeconds = 0.010;
inline constexpr double kAfterSpeechSeconds = 0.040;

// Quiet kept before the first sound and after the last, so that a player
// starting the file never swallows the onset and the last sound dies away.
inline constexpr double kLeadSeconds = 0.025;
inline constexpr double kTailSeconds = 0.030;

// Finds the phrase in an untrimmed render: the first and last sound near the
// voice's speech times, with the quiet margins around them. Where no sound
// comes up to the threshold, the speech times themselves count.
PhraseEdges findPhraseEdges(const std::vector<float>& render, int rate, SpeechTimes speech);

// Cuts the phrase out of its render. The short fades at both ends lie inside
// the quiet margins, so they never touch the speech itself.
std::vector<float> cutPhrase(const std::vector<float>& render, const PhraseEdges& edges, int rate);

}  // namespace speechgen

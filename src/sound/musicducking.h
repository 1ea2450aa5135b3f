#pragma once

namespace qv {

// How loud the music plays against the voices. Alone it plays at full level;
// while any voice (speech or an effect) sounds it is lowered, so that a child
// hears every word over the tune, and afterwards it is brought back. The level
// moves along straight ramps, never in a step that would click: down quickly,
// so the first word is clear, and up slowly, so the tune swells back in.
//
// Pure arithmetic on elapsed time, so the audio thread can run it per buffer
// and a test backend on a virtual clock.
class MusicDucking {
public:
    static constexpr double kFullLevel = 1.0;
    // About -9 dB: still heard, well below the voice.
    static constexpr double kUnderVoiceLevel = 0.35;
    // Times for the whole way down and the whole way up.
    static constexpr double kDownMs = 150.0;
    static constexpr double kUpMs = 500.0;

    // Lets elapsedMs pass with or without a voice sounding; returns the level
    // reached, a gain from kUnderVoiceLevel to kFullLevel.
    double advance(double elapsedMs, bool voiceSounding);

    double level() const { return level_; }

private:
    double level_ = kFullLevel;
};

}  // namespace qv

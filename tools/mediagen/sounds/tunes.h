#pragma once

#include <vector>

namespace mediagen {

// One children's melody, written as text so that it reads like a lead sheet.
// Melody tokens are a note name with octave and an optional length in
// quarter notes ("E4", "G4:2", "C5:.5", "Bb3:1.5", "r:1" for a rest); the
// default length is one quarter. Chords are names ("C", "G7", "Am", "F"),
// each lasting chordBeats quarters.
struct Tune {
    const char* title;
    int quarterBpm;
    bool compoundMetre;  // 6/8 instead of 4/4
    double chordBeats;
    int melodyTranspose;  // semitones, to lift the melody into the melody instrument's sweet spot
    const char* melody;
    const char* chords;
};

// The eleven background tunes, 0.mid to 10.mid, in file order.
const std::vector<Tune>& backgroundTunes();

}  // namespace mediagen

#pragma once

#include <QByteArray>

namespace qv {

// Where the notes of a Standard MIDI File lie in time, with every tempo
// change taken into account.
struct MidiTiming {
    // Start of the first note and end of the last one, in milliseconds from
    // the top of the file; -1 when the file holds no complete note or cannot
    // be read.
    double firstNoteMs = -1;
    double lastNoteEndMs = -1;

    bool hasNotes() const { return lastNoteEndMs >= 0; }
};

MidiTiming readMidiTiming(const QByteArray& file);

}  // namespace qv

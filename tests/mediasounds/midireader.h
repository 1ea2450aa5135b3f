#pragma once

#include <QString>

// Walks a Standard MIDI File chunk by chunk and event by event.
struct MidiSummary {
    QString problem;  // empty when the file is well formed
    int format = -1;
    int declaredTracks = 0;
    int tracksFound = 0;
    int noteOns = 0;
    int tempoEvents = 0;
};

MidiSummary readMidiFile(const QString& path);

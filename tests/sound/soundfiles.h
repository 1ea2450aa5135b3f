#pragma once

#include <QString>

namespace qvtest {

// Writes a 16-bit PCM WAV holding a sine tone of the given length. Returns
// false when the file cannot be written.
bool writeSineWave(const QString& path, int lengthMs, int sampleRate = 22050, int channels = 1);

// Writes a one-track MIDI file: a single note held for lengthMs at the default
// tempo. Returns false when the file cannot be written.
bool writeMidiNote(const QString& path, int lengthMs);

}  // namespace qvtest

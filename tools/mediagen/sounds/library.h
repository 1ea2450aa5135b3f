#pragma once

#include <QString>

namespace mediagen {

// Writes the effect sounds, the selection chime and the MIDI tunes under programDir.
bool writeSoundLibrary(const QString& programDir);

}  // namespace mediagen

#pragma once

#include <QByteArray>
#include <QString>

#include "sounds/tunes.h"

namespace mediagen {

// Arranges a tune for melody, soft chords and bass, repeating the verse with
// a change of instruments until it lasts about a minute, and returns the
// Standard MIDI File. An empty result means the tune text is malformed; the
// reason is put in *error.
QByteArray arrangeTune(const Tune& tune, int tuneIndex, QString* error);

}  // namespace mediagen

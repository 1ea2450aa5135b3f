#pragma once

#include <QString>

namespace mediagen {

// Writes shapes/, shapes1/ and the pictures of backgrounds/ under programDir.
bool writePictureLibrary(const QString& programDir);

// Writes only the game window's backgrounds, backgrounds/back*.jpg, under
// programDir: for looking them over without drawing the whole library.
bool writeBackgrounds(const QString& programDir);

}  // namespace mediagen

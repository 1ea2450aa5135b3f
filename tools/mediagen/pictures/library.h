#pragma once

#include <QString>

namespace mediagen {

// Writes shapes/, shapes1/ and the pictures of backgrounds/ under programDir.
bool writePictureLibrary(const QString& programDir);

}  // namespace mediagen

#pragma once

#include <QString>

namespace mediagen {

// Writes every picture that the program compiles in, as PNG files in dir.
bool writeArt(const QString& dir);

}  // namespace mediagen

#pragma once

#include <QString>
#include <QStringList>

namespace mediagen {

// Writes every picture that the program compiles in, into dir: as name.png,
// and also as name.argb (raw pixels) where files names it so. files are the
// file names the build compiles in; a name it gives that is not drawn here,
// or a picture drawn here that it does not name as PNG, is an error and
// nothing is written.
bool writeArt(const QString& dir, const QStringList& files);

}  // namespace mediagen

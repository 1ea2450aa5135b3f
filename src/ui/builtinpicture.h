#pragma once

#include <QImage>
#include <QString>

namespace qv {

// One of the pictures built into the program, by its name without suffix:
// its raw pixels (see rawpicture.h) when they are built in, otherwise its PNG.
QImage builtInPicture(const QString& name);

}  // namespace qv

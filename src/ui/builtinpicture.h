#pragma once

#include <QImage>
#include <QString>

namespace qv {

// The windows' built-in pictures have this many times the pixels of their
// size on the screen, in each direction, so that they stay sharp on a screen
// scaled to 200 %; on a plain screen Qt shows them smoothly scaled down. The
// media generator draws them at this scale.
inline constexpr int kBuiltInPictureScale = 2;

// One of the pictures built into the program, by its name without suffix:
// its raw pixels (see rawpicture.h) when they are built in, otherwise its PNG.
// Its device pixel ratio is kBuiltInPictureScale, so that its
// deviceIndependentSize() is its size on the screen.
QImage builtInPicture(const QString& name);

}  // namespace qv

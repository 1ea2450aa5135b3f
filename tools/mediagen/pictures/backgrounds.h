#pragma once

#include <QImage>

namespace mediagen {

// The game window's background number 0 to qv::kBackgroundCount - 1: soft, pastel, low contrast, so
// that the shape pictures in front of it stay the thing a child looks at.
QImage backgroundPicture(int number);

}  // namespace mediagen

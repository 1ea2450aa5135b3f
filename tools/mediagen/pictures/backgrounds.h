#pragma once

#include <QImage>

namespace mediagen {

constexpr int kBackgroundCount = 10;

// The game window's background number 0 to 9: soft, pastel, low contrast, so
// that the shape pictures in front of it stay the thing a child looks at.
QImage backgroundPicture(int number);

}  // namespace mediagen

#pragma once

#include <QImage>

namespace mediagen {

// The game window stretches its background over its whole client area without
// keeping proportions. The backgrounds are drawn for the most common shape of
// a maximised window, 16:9, where they show as drawn; narrower and wider
// windows squeeze or widen them, which their motifs (see scenery.h) bear.
inline constexpr int kBackgroundWidth = 1920;
inline constexpr int kBackgroundHeight = 1080;

// The game window's background number 0 to qv::kBackgroundCount - 1: soft, pastel, low contrast, so
// that the shape pictures in front of it stay the thing a child looks at.
QImage backgroundPicture(int number);

}  // namespace mediagen

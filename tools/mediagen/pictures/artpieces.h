#pragma once

#include <QImage>

namespace mediagen {

// The pictures the program's windows carry inside the executable. The sizes
// are the windows' own; the pictures have scale times the pixels (see
// ui/builtinpicture.h).

QImage aboutBackground(int scale);      // 540 × 540: green frame, round white centre, title
QImage aboutOkayButton(int scale);      // 127 × 64: green oval reading "Okay"
QImage selectionBackground(int scale);  // 305 × 402: bevelled green frame, yellow title plate
QImage optionsOkayButton(int scale);    // 80 × 48: turquoise, "OKAY" in yellow capitals

QImage aquaGradient();         // 450 × 550
QImage yellowGreenGradient();  // 200 × 120
QImage greenGradient();        // 500 × 500

// The program icon at size × size: three solid shapes on black.
QImage programIcon(int size);

}  // namespace mediagen

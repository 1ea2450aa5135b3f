#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <array>

namespace mediagen {

// A selection button's two looks: plain, and lit up while it has the focus
// or the pointer.
enum class ButtonLook { Plain, Lit };

// A 202 × 44 glossy bar, at scale times the pixels: a yellow triangle
// pointing right at its left end and the words in black. Lit up, the same bar
// is lighter and ringed in gold.
QImage buttonBar(const QColor& barColour, const QString& words, ButtonLook look, int scale);

// The selection screen's four buttons. The program carries each plain picture
// built in, for the screen's first showing; the media library holds both looks
// (backgrounds/<stem>w.jpg plain, <stem>y.jpg lit), which the screen loads once
// the focus or the pointer has moved. Both are drawn from this one table, at
// the built-in pictures' scale, so that the library's plain picture is the
// built-in one, pixel for pixel before JPEG.
struct SelectionButton {
    const char* builtInName;
    const char* libraryStem;
    QColor colour;
    const char* words;
};
const std::array<SelectionButton, 4>& selectionButtons();
QImage selectionButtonPicture(const SelectionButton& button, ButtonLook look);

}  // namespace mediagen

#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace mediagen {

// A 202 × 44 glossy bar: a yellow triangle pointing right at its left end and
// the words in black. The selection screen's buttons are made of these.
QImage buttonBar(const QColor& barColour, const QString& words);

}  // namespace mediagen

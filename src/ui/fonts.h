#pragma once

#include <QFont>
#include <QString>

namespace qv {

// The windows' sans-serif face at a size in points.
QFont sansSerif(double points, bool bold = false);

// Narrows a font just enough for the text to fit the width, so a wide
// sans-serif face never cuts a caption off. Stops at 70 % of its width.
QFont narrowedToFit(QFont font, const QString& text, int width);

}  // namespace qv

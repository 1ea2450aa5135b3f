#include "fonts.h"

#include <QFontMetrics>

namespace qv {

QFont sansSerif(double points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Set, so that a control keeps its width when its parent's font is narrowed.
    font.setStretch(QFont::Unstretched);
    return font;
}

QFont narrowedToFit(QFont font, const QString& text, int width) {
    for (int stretch = 100; stretch >= 70; stretch -= 2) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            break;
    }
    return font;
}

}  // namespace qv

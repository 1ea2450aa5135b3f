#pragma once

#include <QString>

class QWidget;

namespace qv {

// Remembers, in a small file, the height a menu bar measured on an earlier
// run, together with what decided it: Qt's version, the style, the font and
// the screen's resolution. A window can then be mapped at its final size
// before any font is loaded. It is only a cache: a missing, damaged or
// unwritable file, or a changed setup, just means the bar measures itself.
class MenuBarHeightMemo {
public:
    // An empty file name remembers nothing.
    explicit MenuBarHeightMemo(QString file);

    // The remembered height for this setup, or 0 when there is none.
    int recall(const QString& setup) const;
    // Keeps the height for this setup, replacing whatever was kept.
    void remember(const QString& setup, int height) const;

    // What decides the height of this menu bar, as one line of text.
    static QString setupOf(const QWidget& menuBar);

private:
    QString file_;
};

}  // namespace qv

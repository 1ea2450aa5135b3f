#include "pictures/art.h"

#include <QDir>
#include <QImage>

namespace mediagen {
bool writeArt(const QString& dir) {
    QDir().mkpath(dir);
    const char* names[] = {"aboutback", "aboutokay", "selectback", "lcbut", "lsbut", "playcbut",
                           "playshapes", "optionsokay", "heartstandard", "heartplastic",
                           "gradientaqua", "gradientyellowgreen", "gradientgreen", "icon16",
                           "icon24", "icon32", "icon48", "icon64", "icon128", "icon256"};
    for (const char* n : names) {
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(Qt::green);
        if (!img.save(dir + "/" + n + ".png")) return false;
    }
    return true;
}
}  // namespace mediagen

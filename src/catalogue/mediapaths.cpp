#include "mediapaths.h"

namespace qv {

QString nativeMediaPath(const QString& programFolder, const QString& relativePath) {
    QString relative = relativePath;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return programFolder + relative;
}

}  // namespace qv

#include "common/imagefiles.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace mediagen {
namespace {

bool save(const QImage& image, const QString& path, const char* format, int quality) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "quorvel-mediagen: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

bool saveJpeg(const QImage& image, const QString& path, int quality) {
    // JPEG has no alpha; flatten first so that transparent corners never turn black.
    return save(image.convertToFormat(QImage::Format_RGB32), path, "JPEG", quality);
}

bool savePng(const QImage& image, const QString& path) {
    return save(image, path, "PNG", -1);
}

}  // namespace mediagen

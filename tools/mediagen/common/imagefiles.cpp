#include "common/imagefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

#include "pictures/rawpicture.h"

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

bool saveRawPicture(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(qv::encodeRawPicture(image)) >= 0 &&
        file.commit())
        return true;
    std::fprintf(stderr, "quorvel-mediagen: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace mediagen

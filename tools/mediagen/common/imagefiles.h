#pragma once

#include <QImage>
#include <QString>

namespace mediagen {

// Both create the folder of path when needed and report failures on stderr.
bool saveJpeg(const QImage& image, const QString& path, int quality = 90);
bool savePng(const QImage& image, const QString& path);
// Raw pixels the program shows without decoding (see pictures/rawpicture.h).
bool saveRawPicture(const QImage& image, const QString& path);

}  // namespace mediagen

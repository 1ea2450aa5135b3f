#pragma once

#include <QImage>
#include <QString>

namespace qvtest {

// Whether two pictures of the same size look the same once one of them has
// been through JPEG: JPEG keeps the brightness of every pixel, so that must
// match pixel by pixel, but it keeps colour only for small blocks, so colour
// must match as the mean of every 8 × 8 block. Returns an empty text when
// they match, otherwise where and by how much they differ.
QString jpegMismatch(const QImage& expected, const QImage& actual);

}  // namespace qvtest

#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstring>

namespace qv {

// A picture kept as its pixels, ready to be shown: "QVPX", then width and
// height as 32-bit numbers, then the rows of premultiplied ARGB32 pixels, all
// in the byte order of the machine. The pictures of the program's first
// window are built in this way, uncompressed, so that showing them takes no
// decoding at all; PNG decoding took longer than the rest of building the
// window. The media generator writes them on the machine the program is built
// for; both sides share this header.
inline constexpr char kRawPictureMagic[4] = {'Q', 'V', 'P', 'X'};
inline constexpr qint64 kRawPictureHeaderBytes = 12;

inline QByteArray encodeRawPicture(const QImage& picture) {
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const std::uint32_t size[2] = {std::uint32_t(pixels.width()), std::uint32_t(pixels.height())};
    QByteArray bytes(kRawPictureMagic, sizeof kRawPictureMagic);
    bytes.append(reinterpret_cast<const char*>(size), sizeof size);
    for (int y = 0; y < pixels.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), pixels.width() * 4);
    return bytes;
}

// A picture over the pixels in data, which must outlive it (and any copy that
// is never written to); a null picture when data holds no whole raw picture.
inline QImage viewRawPicture(const uchar* data, qint64 size) {
    if (data == nullptr || size < kRawPictureHeaderBytes ||
        std::memcmp(data, kRawPictureMagic, sizeof kRawPictureMagic) != 0)
        return {};
    std::uint32_t dimensions[2];
    std::memcpy(dimensions, data + sizeof kRawPictureMagic, sizeof dimensions);
    const qint64 width = dimensions[0];
    const qint64 height = dimensions[1];
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
        size != kRawPictureHeaderBytes + width * height * 4)
        return {};
    return QImage(data + kRawPictureHeaderBytes, int(width), int(height), int(width * 4),
                  QImage::Format_ARGB32_Premultiplied);
}

}  // namespace qv

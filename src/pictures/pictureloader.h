#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace qv {

// Reads a picture file (JPEG, GIF, BMP, ICO or PNG; the format is found from
// the content when the name's extension does not fit). A missing, empty or
// undecodable file gives nullopt; nothing is thrown or reported, the caller
// decides what a missing picture means.
std::optional<QImage> loadPicture(const QString& nativePath);

}  // namespace qv

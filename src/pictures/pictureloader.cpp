#include "pictureloader.h"

#include <QImageReader>

namespace qv {

std::optional<QImage> loadPicture(const QString& nativePath) {
    QImageReader reader(nativePath);
    // A file whose extension lies about its content still loads.
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

}  // namespace qv

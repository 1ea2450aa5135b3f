#include "builtinpicture.h"

#include <QResource>

#include "pictures/rawpicture.h"

namespace qv {

QImage builtInPicture(const QString& name) {
    QImage picture;
    const QResource raw(QStringLiteral(":/art/") + name + QStringLiteral(".argb"));
    if (raw.isValid() && raw.compressionAlgorithm() == QResource::NoCompression) {
        // Built-in resources stay where they are for the whole run.
        picture = viewRawPicture(raw.data(), raw.size());
    }
    if (picture.isNull())
        picture = QImage(QStringLiteral(":/art/") + name + QStringLiteral(".png"));
    // Only the pixel ratio changes: a raw picture is still shown in place.
    picture.setDevicePixelRatio(kBuiltInPictureScale);
    return picture;
}

}  // namespace qv

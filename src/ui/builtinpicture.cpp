#include "builtinpicture.h"

#include <QResource>

#include "pictures/rawpicture.h"

namespace qv {

QImage builtInPicture(const QString& name) {
    const QResource raw(QStringLiteral(":/art/") + name + QStringLiteral(".argb"));
    if (raw.isValid() && raw.compressionAlgorithm() == QResource::NoCompression) {
        // Built-in resources stay where they are for the whole run.
        const QImage picture = viewRawPicture(raw.data(), raw.size());
        if (!picture.isNull())
            return picture;
    }
    return QImage(QStringLiteral(":/art/") + name + QStringLiteral(".png"));
}

}  // namespace qv

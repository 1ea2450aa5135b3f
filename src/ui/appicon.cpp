#include "appicon.h"

namespace qv {

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/art/icon%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace qv

#pragma once

#include <QIcon>

namespace qv {

// The program's icon: three coloured solid shapes on black, at every size we draw.
QIcon appIcon();

}  // namespace qv

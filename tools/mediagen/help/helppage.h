#pragma once

#include <QString>

namespace mediagen {

// Writes help/colorhelp.htm under programDir.
bool writeHelpPage(const QString& programDir);

}  // namespace mediagen

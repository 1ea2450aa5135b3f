#pragma once

#include <QString>

namespace mediagen {

// Writes help/colorhelp.htm under programDir. The maker's web site, when
// there is one, adds the menu items that open it.
bool writeHelpPage(const QString& programDir, const QString& website);

}  // namespace mediagen

#include "help/helppage.h"

namespace mediagen {
bool writeHelpPage(const QString&) { return true; }
}  // namespace mediagen

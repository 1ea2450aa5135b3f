// The Options menu: the options dialog, then a restart of the activity.
#include "mainform.h"

namespace qv {

void mainform::optionsmenu_click() {
    // The options dialog joins here when it is built.
}

}  // namespace qv

// The learn activities: one large picture at a time, named when it has arrived.
#include "mainform.h"

namespace qv {

void mainform::learncollorssub() {}

void mainform::learnshapessub() {}

void mainform::Learnimage_transitionFinished() {}

}  // namespace qv

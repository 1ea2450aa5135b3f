// The play activities: asking the question and judging the answers.
#include "mainform.h"

namespace qv {

void mainform::image0_click() {}

void mainform::Image1_click() {}

void mainform::image2_click() {}

void mainform::image3_click() {}

void mainform::checkcolorcorrect() {}

void mainform::checkshapecorrect() {}

void mainform::playgametimer_tick() {}

}  // namespace qv

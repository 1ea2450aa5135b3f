// The play activities: building a question of four answer pictures.
#include "mainform.h"

namespace qv {

void mainform::playcolors() {}

void mainform::playshapes() {}

void mainform::image0_transitionFinished() {}

void mainform::Image1_transitionFinished() {}

void mainform::image2_transitionFinished() {}

void mainform::image3_transitionFinished() {}

}  // namespace qv

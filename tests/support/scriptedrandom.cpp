#include "scriptedrandom.h"

namespace qvtest {

double ScriptedRandom::next() {
    ++taken;
    if (!queue_.isEmpty())
        return queue_.takeFirst();
    if (generator_)
        return std::uniform_real_distribution<double>(0.0, 1.0)(*generator_);
    return fallback;
}

}  // namespace qvtest

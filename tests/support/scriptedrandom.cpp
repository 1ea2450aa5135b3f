#include "scriptedrandom.h"

namespace qvtest {

double ScriptedRandom::next() {
    ++taken;
    return queue_.isEmpty() ? fallback : queue_.takeFirst();
}

}  // namespace qvtest

#pragma once

#include <functional>

namespace qv {

// Runs `then` once from the event loop, right after the program's first
// window has been exposed and painted, or after fallbackMs when no window has
// been by then. Work the first window does not need waits for this, so that
// the window comes up sooner.
void afterFirstWindowPainted(std::function<void()> then, int fallbackMs = 1000);

}  // namespace qv

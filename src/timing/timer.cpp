#include "timer.h"

namespace qv {

Timer::Timer(Clock& clock, QObject* parent) : QObject(parent), clock_(clock) {}

Timer::~Timer() {
    stop();
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled_)
        restart();
    else
        stop();
}

void Timer::setInterval(int ms) {
    interval_ = qMax(0, ms);
    if (enabled_)
        restart();
}

void Timer::stop() {
    if (pending_ != 0)
        clock_.cancel(pending_);
    pending_ = 0;
}

void Timer::restart() {
    stop();
    if (!enabled_ || interval_ <= 0)
        return;
    pending_ = clock_.callAfter(interval_, [this]() {
        pending_ = 0;
        // Schedule the next tick first, so a handler that disables or re-arms
        // the timer has the last word.
        restart();
        emit tick();
    });
}

}  // namespace qv

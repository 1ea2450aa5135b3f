#pragma once

#include <QtGlobal>

#include <functional>

namespace qv {

// Everything in the program that waits goes through a Clock, so that tests can
// run the activities in virtual time. Nothing else reads the wall clock or
// starts a timer of its own.
class Clock {
public:
    using CallbackId = quint64;

    virtual ~Clock() = default;

    // Milliseconds on a monotonic scale; only differences mean anything.
    virtual qint64 nowMs() const = 0;

    // Milliseconds since the epoch; used only to seed the random generator.
    virtual qint64 wallClockMs() const = 0;

    // Calls fn once, delayMs from now, as an ordinary event on the UI thread.
    virtual CallbackId callAfter(qint64 delayMs, std::function<void()> fn) = 0;

    // Forgets a pending callback; unknown or fired ids are ignored.
    virtual void cancel(CallbackId id) = 0;

    // Lets time pass until done() holds or timeoutMs has passed. Windows keep
    // painting and timers keep firing meanwhile, but user input stays queued.
    // Returns done().
    virtual bool waitUntil(const std::function<bool()>& done, qint64 timeoutMs) = 0;
};

}  // namespace qv

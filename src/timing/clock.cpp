#include "clock.h"

#include <QMetaObject>
#include <QObject>

#include <algorithm>

namespace qv {

Clock::Clock() : context_(std::make_unique<QObject>()) {}

Clock::~Clock() = default;

Clock::CallbackId Clock::callAfter(qint64 delayMs, std::function<void()> fn, WhileHeld whileHeld) {
    const CallbackId id = newId();
    if (whileHeld == WhileHeld::Run) {
        setAlarm(id, delayMs, std::move(fn));
        return id;
    }
    setAlarm(id, delayMs, [this, id, fn = std::move(fn)]() mutable {
        // Events that wait behind a hold keep their order: a later one queues too.
        if (holding() || !ready_.empty()) {
            enqueue(id, std::move(fn));
            return;
        }
        fn();
    });
    return id;
}

Clock::CallbackId Clock::post(std::function<void()> fn) {
    const CallbackId id = newId();
    enqueue(id, std::move(fn));
    return id;
}

void Clock::cancel(CallbackId id) {
    if (id == 0)
        return;
    clearAlarm(id);
    const auto held =
        std::find_if(ready_.begin(), ready_.end(), [id](const Ready& r) { return r.id == id; });
    if (held != ready_.end())
        ready_.erase(held);
}

bool Clock::holdUntil(const std::function<bool()>& done, qint64 timeoutMs) {
    ++holdDepth_;
    const bool result = passTime(done, timeoutMs);
    --holdDepth_;
    if (!holding() && !ready_.empty())
        scheduleDrain();
    return result;
}

void Clock::enqueue(CallbackId id, std::function<void()> fn) {
    ready_.push_back(Ready{id, std::move(fn)});
    scheduleDrain();
}

void Clock::scheduleDrain() {
    if (drainPosted_)
        return;
    drainPosted_ = true;
    QMetaObject::invokeMethod(
        context_.get(),
        [this] {
            drainPosted_ = false;
            drain();
        },
        Qt::QueuedConnection);
}

void Clock::drain() {
    // A wait that starts inside one of these leaves the rest for after it.
    while (!holding() && !ready_.empty()) {
        Ready next = std::move(ready_.front());
        ready_.pop_front();
        next.fn();
    }
}

}  // namespace qv

#include "virtualclock.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace qvtest {

namespace {
// Every event, the user's too: while the game is held the input gate drops
// those, as it does on the real clock.
void deliverPostedEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
}  // namespace

void VirtualClock::setAlarm(CallbackId id, qint64 delayMs, std::function<void()> fn) {
    queue_.emplace(std::make_pair(now_ + qMax<qint64>(0, delayMs), id), std::move(fn));
}

void VirtualClock::clearAlarm(CallbackId id) {
    for (auto it = queue_.begin(); it != queue_.end(); ++it) {
        if (it->first.second == id) {
            queue_.erase(it);
            return;
        }
    }
}

qint64 VirtualClock::nextDue() const {
    return queue_.empty() ? -1 : queue_.begin()->first.first;
}

bool VirtualClock::fireNextDueBy(qint64 limit) {
    if (queue_.empty() || queue_.begin()->first.first > limit)
        return false;
    auto node = queue_.extract(queue_.begin());
    now_ = qMax(now_, node.key().first);
    node.mapped()();
    deliverPostedEvents();
    return true;
}

void VirtualClock::advance(qint64 ms) {
    const qint64 target = now_ + qMax<qint64>(0, ms);
    deliverPostedEvents();
    while (fireNextDueBy(target)) {
    }
    now_ = target;
}

bool VirtualClock::passTime(const std::function<bool()>& done, qint64 timeoutMs) {
    const qint64 limit = now_ + qMax<qint64>(0, timeoutMs);
    deliverPostedEvents();
    while (!done() && fireNextDueBy(limit)) {
    }
    if (!done())
        now_ = qMax(now_, limit);
    return done();
}

}  // namespace qvtest

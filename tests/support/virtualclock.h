#pragma once

#include <QEventLoop>
#include <QtGlobal>

#include <map>
#include <utility>

#include "timing/clock.h"

namespace qvtest {

// A clock that moves only when told to. advance() fires every due callback in
// time order (ties in the order they were scheduled) and lets Qt deliver the
// events those callbacks post, so a long session runs in milliseconds, the
// same way every time.
class VirtualClock final : public qv::Clock {
public:
    qint64 nowMs() const override { return now_; }
    qint64 wallClockMs() const override { return kEpochMs + now_; }

    // Moves time forward by ms, firing everything due on the way.
    void advance(qint64 ms);

    // Time of the earliest pending callback, or -1.
    qint64 nextDue() const;
    int pendingCount() const { return static_cast<int>(queue_.size()); }

    static constexpr qint64 kEpochMs = 1'700'000'000'000;

protected:
    void setAlarm(CallbackId id, qint64 delayMs, std::function<void()> fn) override;
    void clearAlarm(CallbackId id) override;
    bool passTime(const std::function<bool()>& done, qint64 timeoutMs) override;

private:
    bool fireNextDueBy(qint64 limit);

    qint64 now_ = 0;
    // (due time, id) keeps callbacks with the same time in scheduling order.
    std::map<std::pair<qint64, CallbackId>, std::function<void()>> queue_;
};

}  // namespace qvtest

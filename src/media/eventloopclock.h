#pragma once

#include "clock.h"

#include <QElapsedTimer>
#include <QObject>

#include <unordered_map>

class QTimer;

namespace qv {

// The production clock: callbacks are single-shot timers on the Qt event loop.
class EventLoopClock final : public QObject, public Clock {
public:
    EventLoopClock();
    ~EventLoopClock() override;

    qint64 nowMs() const override;
    qint64 wallClockMs() const override;
    CallbackId callAfter(qint64 delayMs, std::function<void()> fn) override;
    void cancel(CallbackId id) override;
    bool waitUntil(const std::function<bool()>& done, qint64 timeoutMs) override;

private:
    QElapsedTimer elapsed_;
    CallbackId nextId_ = 1;
    std::unordered_map<CallbackId, QTimer*> pending_;
};

}  // namespace qv

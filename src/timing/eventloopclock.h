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

protected:
    void setAlarm(CallbackId id, qint64 delayMs, std::function<void()> fn) override;
    void clearAlarm(CallbackId id) override;
    bool passTime(const std::function<bool()>& done, qint64 timeoutMs) override;

private:
    QElapsedTimer elapsed_;
    std::unordered_map<CallbackId, QTimer*> pending_;
};

}  // namespace qv

#pragma once

#include <QObject>

#include "clock.h"

namespace qv {

// A window timer: while enabled it ticks every interval milliseconds. Enabling
// it, or changing the interval while it is enabled, starts the wait anew. An
// interval of 0 never ticks.
class Timer final : public QObject {
    Q_OBJECT
public:
    explicit Timer(Clock& clock, QObject* parent = nullptr);
    ~Timer() override;

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    int interval() const { return interval_; }
    void setInterval(int ms);

signals:
    void tick();

private:
    void restart();
    void stop();

    Clock& clock_;
    bool enabled_ = false;
    int interval_ = 0;
    Clock::CallbackId pending_ = 0;
};

}  // namespace qv

#include "eventloopclock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

#include <limits>

namespace qv {

EventLoopClock::EventLoopClock() {
    elapsed_.start();
}

EventLoopClock::~EventLoopClock() {
    for (auto& [id, timer] : pending_)
        delete timer;
}

qint64 EventLoopClock::nowMs() const {
    return elapsed_.elapsed();
}

qint64 EventLoopClock::wallClockMs() const {
    return QDateTime::currentMSecsSinceEpoch();
}

void EventLoopClock::setAlarm(CallbackId id, qint64 delayMs, std::function<void()> fn) {
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, this, [this, id, fn = std::move(fn)]() {
        auto it = pending_.find(id);
        if (it == pending_.end())
            return;
        it->second->deleteLater();
        pending_.erase(it);
        fn();
    });
    pending_.emplace(id, timer);
    timer->start(
        static_cast<int>(qBound<qint64>(0, delayMs, qint64{std::numeric_limits<int>::max()})));
}

void EventLoopClock::clearAlarm(CallbackId id) {
    auto it = pending_.find(id);
    if (it == pending_.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    pending_.erase(it);
}

bool EventLoopClock::passTime(const std::function<bool()>& done, qint64 timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    // A heartbeat so that the blocking event wait below wakes up to look at done().
    QTimer heartbeat;
    heartbeat.start(5);
    while (!done() && waited.elapsed() < timeoutMs) {
        // Paint, animation and the audio back end's news go on; window events
        // wait in the Clock's queue. Clicks and keys are taken from the window
        // system too, so that the input gate drops them: left queued, they
        // would all be answered one after the other once the hold ends.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

}  // namespace qv

#pragma once

#include <QtGlobal>

#include <deque>
#include <functional>
#include <memory>

class QObject;

namespace qv {

// Everything in the program that waits goes through a Clock, so that tests can
// run the activities in virtual time. Nothing else reads the wall clock or
// starts a timer of its own.
//
// A wait holds the game. While waitUntil() runs (a sound heard to its end),
// windows keep painting, transitions keep animating and the audio back end's
// news keeps arriving, but no window event runs: a timer tick, a transition's
// end or another player's done event that falls due meanwhile is held and
// runs after the wait, in its order, as an ordinary event. Otherwise a
// handler would run in the middle of another one.
class Clock {
public:
    using CallbackId = quint64;

    // What a callback is, which decides whether it may run inside a wait.
    enum class Kind {
        Event,       // a window event (timer tick, end of something): held by a wait
        Background,  // an animation frame or the audio back end's news: runs in a wait too
    };

    Clock();
    virtual ~Clock();
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    // Milliseconds on a monotonic scale; only differences mean anything.
    virtual qint64 nowMs() const = 0;

    // Milliseconds since the epoch; used only to seed the random generator.
    virtual qint64 wallClockMs() const = 0;

    // Calls fn once, delayMs from now, on the UI thread.
    CallbackId callAfter(qint64 delayMs, std::function<void()> fn, Kind kind = Kind::Event);

    // Calls fn as an ordinary window event, soon: after the running handler
    // has returned and never inside a wait.
    CallbackId post(std::function<void()> fn);

    // Forgets a pending, held or posted callback; unknown or fired ids are ignored.
    void cancel(CallbackId id);

    // Lets time pass until done() holds or timeoutMs has passed. Windows keep
    // painting meanwhile; user input stays queued and window events are held
    // (see above). Returns done().
    bool waitUntil(const std::function<bool()>& done, qint64 timeoutMs);

    // True while a wait is in progress.
    bool holding() const { return waitDepth_ > 0; }

protected:
    // The concrete clock's timing: call fn once, delayMs from now.
    virtual void schedule(CallbackId id, qint64 delayMs, std::function<void()> fn) = 0;
    virtual void unschedule(CallbackId id) = 0;
    // Lets time pass as waitUntil() says, processing no user input.
    virtual bool waitFor(const std::function<bool()>& done, qint64 timeoutMs) = 0;

private:
    struct Ready {
        CallbackId id;
        std::function<void()> fn;
    };

    CallbackId newId() { return nextId_++; }
    void enqueue(CallbackId id, std::function<void()> fn);
    void scheduleDrain();
    void drain();

    CallbackId nextId_ = 1;
    int waitDepth_ = 0;
    // Window events that are due but may not run yet, in their order.
    std::deque<Ready> ready_;
    bool drainPosted_ = false;
    // Carries the posted drain, so that none outlives the clock.
    std::unique_ptr<QObject> context_;
};

}  // namespace qv

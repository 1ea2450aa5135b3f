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
// Holding the game. While holdUntil() runs (a sound heard to its end),
// windows keep painting, transitions keep animating and the audio back end's
// news keeps arriving, but no window event runs: a timer tick, a transition's
// end or another player's done event that falls due meanwhile waits and runs
// after the hold, in its order, as an ordinary event. Otherwise a handler
// would run in the middle of another one. What a callback does while the game
// is held is said when it is asked for (WhileHeld).
//
// The vocabulary: callers "call after" a delay, "post" an event, "cancel"
// either, and "hold" the game; a concrete clock sets and clears "alarms" and
// lets time "pass".
class Clock {
public:
    using CallbackId = quint64;

    // What a callback does when it falls due while the game is held.
    enum class WhileHeld {
        Wait,  // a window event (timer tick, end of something): runs after the hold
        Run,   // an animation frame or the audio back end's news: runs during it
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
    CallbackId callAfter(qint64 delayMs, std::function<void()> fn,
                         WhileHeld whileHeld = WhileHeld::Wait);

    // Calls fn as an ordinary window event, soon: after the running handler
    // has returned and never while the game is held.
    CallbackId post(std::function<void()> fn);

    // Forgets a pending, waiting or posted callback; unknown or fired ids are ignored.
    void cancel(CallbackId id);

    // Holds the game until done() holds or timeoutMs has passed. Windows keep
    // painting meanwhile; window events wait (see above), and the user's
    // clicks and keys are the input gate's to drop. Returns done().
    bool holdUntil(const std::function<bool()>& done, qint64 timeoutMs);

    // True while the game is held.
    bool holding() const { return holdDepth_ > 0; }

protected:
    // The concrete clock's timing: an alarm calls fn once, delayMs from now.
    virtual void setAlarm(CallbackId id, qint64 delayMs, std::function<void()> fn) = 0;
    virtual void clearAlarm(CallbackId id) = 0;
    // Lets time pass until done() holds or timeoutMs has passed, firing the
    // alarms that fall due and delivering the toolkit's events meanwhile.
    virtual bool passTime(const std::function<bool()>& done, qint64 timeoutMs) = 0;

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
    int holdDepth_ = 0;
    // Window events that are due but wait for a hold to end, in their order.
    std::deque<Ready> ready_;
    bool drainPosted_ = false;
    // Carries the posted drain, so that none outlives the clock.
    std::unique_ptr<QObject> context_;
};

}  // namespace qv

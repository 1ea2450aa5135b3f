#pragma once

#include <QHash>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QWindow>

#include <functional>

#include "timing/clock.h"

class QKeyEvent;

namespace qv {

// The way out of a locked program (the --lock start): a parent holds
// Ctrl+Shift+Q, and nothing else, for two seconds. A small hint shows over
// the window while the three keys are held. A toddler's keys do not get
// there by chance: pressing any other key meanwhile, or letting go of one of
// the three, starts it all over, and only a fresh press that completes the
// three starts the time.
//
// A held key repeats. The toolkit marks the repeats where it can tell them;
// where it cannot (an X server that sends the let-go and the press again
// with different times), a key pressed again within kRepeatGapMs of its
// let-go was never let go: such a press keeps the time running, and never
// starts it.
//
// While it lives it also grabs the keyboard of the active window, so that the
// window manager's own keys (Alt+F4, Alt+Tab, the Super key) come to the
// program instead, where X11 allows, and brings a minimised window straight
// back. The windows themselves hide their menus and refuse to close
// (Forms::locked()).
//
// It reads the keys as the window system hands them to a window, before the
// toolkit passes them on to a control, and before the input gate, which drops
// keys while a sound holds the game: a let-go key the gate drops must still
// end the hold.
class ToddlerLock final : public QObject {
public:
    static constexpr qint64 kHoldToLeaveMs = 2000;
    static constexpr qint64 kRepeatGapMs = 50;

    // leave ends the program.
    ToddlerLock(Clock& clock, std::function<void()> leave, QObject* parent = nullptr);
    ~ToddlerLock() override;

    // Puts the lock's watch in front of every application event filter
    // installed so far; call it after installing another one.
    void watchFirst();

    // The three keys are held and their time runs (or has run out while one
    // of them is up for a moment).
    bool holding() const { return holdCall_ != 0 || timeUp_; }
    // The hint over the window while the keys are held, else nullptr.
    QLabel* hint() const;
    // The window whose keyboard the lock has asked for: the one of the
    // program's windows that was active last.
    QWindow* grabbingWindow() const { return grabbing_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keyPressed(const QKeyEvent& key);
    void keyReleased(const QKeyEvent& key);
    void healModifiers(const QKeyEvent& key);
    bool onlyTheThreeAreDown() const;
    void startHold();
    void cancelHold();
    void heldLongEnough();
    void leaveNow();
    void activeWindowChanged(QWindow* window);
    void keepInSight(QWidget* widget);
    void showHint();
    void hideHint();

    Clock& clock_;
    std::function<void()> leave_;
    // The keys down now, each physical key with its meaning (a Qt::Key), as
    // the window system reported them to the program's windows; forgotten
    // when the active window changes, because the let-go of a key goes where
    // the keyboard then is.
    QHash<quint32, int> down_;
    // The two seconds, while they run.
    Clock::CallbackId holdCall_ = 0;
    // One of the three is up: for good unless it comes down again at once.
    Clock::CallbackId letGoCall_ = 0;
    // The two seconds ran out while a key was up for a moment.
    bool timeUp_ = false;
    // The key let go last, and when.
    quint32 lastLetGo_ = 0;
    qint64 lastLetGoMs_ = 0;
    QPointer<QLabel> hint_;
    QPointer<QWindow> grabbing_;
    bool grabbed_ = false;
    // A platform without keyboard grabs says so at every attempt.
    static constexpr int kGrabAttempts = 3;
    int grabAttempts_ = 0;
};

}  // namespace qv

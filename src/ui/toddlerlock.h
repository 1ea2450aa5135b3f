#pragma once

#include <QHash>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QWindow>

#include <functional>
#include <memory>

#include "timing/clock.h"

class QKeyEvent;

namespace qv {

class ShortcutsInhibit;

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
// While it lives it also holds the keyboard of the active window, so that the
// desktop's own keys (Alt+F4, Alt+Tab, the Super key) come to the program
// instead: on X11 with a keyboard grab, on Wayland by asking the compositor
// to inhibit its shortcuts. Where the keys cannot be held, the parent is told
// once (keysNotHeld). It keeps the windows in sight: a window minimised or
// hidden by the desktop comes straight back, one taken out of full screen asks
// for it again, and when the program loses the keyboard (without a grab that
// keeps it), its window is activated again. The windows themselves hide their
// menus and refuse to close (Forms::locked()).
//
// It reads the keys as the window system hands them to a window, before the
// toolkit passes them on to a control, and before the input gate, which drops
// keys while a sound holds the game: a let-go key the gate drops must still
// end the hold.
class ToddlerLock final : public QObject {
public:
    static constexpr qint64 kHoldToLeaveMs = 2000;
    static constexpr qint64 kRepeatGapMs = 50;
    // A failed keyboard grab is tried again after this long, and on each
    // key, kGrabAttempts in all; then the parent is told.
    static constexpr qint64 kGrabRetryMs = 250;
    static constexpr int kGrabAttempts = 3;
    // How long the program may be without the keyboard before its window is
    // activated again; a window taken out of full screen asks again after
    // this long too, so that a desktop that refuses is not asked in a loop.
    static constexpr qint64 kBackInSightMs = 250;

    // leave ends the program. keysNotHeld is told, once, over which window
    // and why the desktop's keys still work (see notHeldNotice()).
    ToddlerLock(Clock& clock, std::function<void()> leave,
                std::function<void(QWidget* over, const QString& why)> keysNotHeld = {},
                QObject* parent = nullptr);
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

    // What a parent is told when the desktop's keys still work, and why.
    static QString notHeldNotice(const QString& why);

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
    void tryGrab();
    void keysNotHeld(QWidget* over, const QString& why);
    void firstShown(QWidget* widget);
    void keepInSight(QWidget* widget, const QEvent& event);
    void fullScreenAgain(QWidget* widget);
    void activateAgainUnlessFocused();
    static QWidget* widgetOf(const QWindow* window);
    void showHint();
    void hideHint();

    Clock& clock_;
    std::function<void()> leave_;
    std::function<void(QWidget* over, const QString& why)> keysNotHeld_;
    bool toldNotHeld_ = false;
    // On Wayland: the compositor's shortcuts inhibition instead of a grab.
    std::unique_ptr<ShortcutsInhibit> inhibit_;
    Clock::CallbackId grabRetryCall_ = 0;
    Clock::CallbackId activateCall_ = 0;
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
    int grabAttempts_ = 0;
};

}  // namespace qv

#include "toddlerlock.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWindow>

#include "fonts.h"
#include "toplevelwindows.h"
#include "wayland/shortcutsinhibit.h"

namespace qv {

namespace {

bool isOneOfTheThree(int key) {
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Q;
}

// The modifier a key holds down, or none.
Qt::KeyboardModifier modifierOf(int key) {
    switch (key) {
        case Qt::Key_Control:
            return Qt::ControlModifier;
        case Qt::Key_Shift:
            return Qt::ShiftModifier;
        case Qt::Key_Alt:
            return Qt::AltModifier;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
            return Qt::MetaModifier;
        default:
            return Qt::NoModifier;
    }
}

bool isModifierKey(int key) {
    return modifierOf(key) != Qt::NoModifier || key == Qt::Key_AltGr;
}

// Each modifier, and the key that stands for it when only a key event's
// modifiers tell that it is down.
struct Modifier {
    Qt::KeyboardModifier flag;
    int standIn;
};
constexpr Modifier kModifiers[] = {{Qt::ControlModifier, Qt::Key_Control},
                                   {Qt::ShiftModifier, Qt::Key_Shift},
                                   {Qt::AltModifier, Qt::Key_Alt},
                                   {Qt::MetaModifier, Qt::Key_Meta}};

// One physical key: its scan code where the window system gives one (the
// left and right Shift are two keys), else its meaning.
quint32 keyId(const QKeyEvent& key) {
    return key.nativeScanCode() != 0 ? (key.nativeScanCode() | 0x80000000u)
                                     : static_cast<quint32>(key.key());
}

}  // namespace

ToddlerLock::ToddlerLock(Clock& clock, std::function<void()> leave,
                         std::function<void(QWidget* over, const QString& why)> keysNotHeld,
                         QObject* parent)
    : QObject(parent),
      clock_(clock),
      leave_(std::move(leave)),
      keysNotHeld_(std::move(keysNotHeld)),
      inhibit_(makeShortcutsInhibit([this](QWindow* window, const QString& why) {
          this->keysNotHeld(widgetOf(window), why);
      })) {
    watchFirst();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &ToddlerLock::activeWindowChanged);
    activeWindowChanged(QGuiApplication::focusWindow());
}

ToddlerLock::~ToddlerLock() {
    cancelHold();
    clock_.cancel(grabRetryCall_);
    clock_.cancel(activateCall_);
    if (grabbing_)
        grabbing_->setKeyboardGrabEnabled(false);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void ToddlerLock::watchFirst() {
    // The filter installed last is asked first; installing again moves it there.
    QCoreApplication::instance()->installEventFilter(this);
}

QLabel* ToddlerLock::hint() const {
    return hint_ && hint_->isVisible() ? hint_.data() : nullptr;
}

bool ToddlerLock::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && watched->isWidgetType() && !toldNotHeld_)
        firstShown(static_cast<QWidget*>(watched));
    if ((type == QEvent::WindowStateChange || type == QEvent::Hide) && watched->isWidgetType()) {
        keepInSight(static_cast<QWidget*>(watched), *event);
        return false;
    }
    // A key comes to a window first, then to the control with the focus and
    // on up to the window's widget: read it once, where it comes in.
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWindowType())
        return false;
    // The desktop may have held on to the keyboard when the window became
    // active (a window manager's grab of its own); ask again, a few times.
    tryGrab();
    const auto& key = static_cast<const QKeyEvent&>(*event);
    // A key held down repeats as let-go and press again, both marked as a
    // repeat: it is still down.
    if (key.isAutoRepeat())
        return false;
    if (type == QEvent::KeyPress)
        keyPressed(key);
    else
        keyReleased(key);
    return false;
}

void ToddlerLock::keyPressed(const QKeyEvent& key) {
    healModifiers(key);
    const quint32 id = keyId(key);
    down_.insert(id, key.key());
    const bool repeat = id == lastLetGo_ && clock_.nowMs() - lastLetGoMs_ <= kRepeatGapMs;
    if (!holding()) {
        if (onlyTheThreeAreDown() && !repeat)
            startHold();
    } else if (!onlyTheThreeAreDown()) {
        cancelHold();
    } else if (letGoCall_ != 0) {
        // The key that went up is down again at once: it was repeating.
        clock_.cancel(letGoCall_);
        letGoCall_ = 0;
        if (timeUp_)
            leaveNow();
    }
}

void ToddlerLock::keyReleased(const QKeyEvent& key) {
    healModifiers(key);
    lastLetGo_ = keyId(key);
    lastLetGoMs_ = clock_.nowMs();
    down_.remove(lastLetGo_);
    if (!holding() || onlyTheThreeAreDown())
        return;
    // One of the three went up; a second one is a let-go for certain.
    if (letGoCall_ != 0 || down_.size() != 2) {
        cancelHold();
        return;
    }
    letGoCall_ = clock_.callAfter(
        kRepeatGapMs,
        [this] {
            letGoCall_ = 0;
            cancelHold();
        },
        Clock::WhileHeld::Run);
}

void ToddlerLock::healModifiers(const QKeyEvent& key) {
    // A modifier's own press may report the state before or after it,
    // depending on the platform; any other key reports the modifiers that
    // are down now, which mends a let-go the program never saw.
    if (isModifierKey(key.key()))
        return;
    for (const Modifier& modifier : kModifiers) {
        const bool flagged = key.modifiers().testFlag(modifier.flag);
        bool seen = false;
        for (auto it = down_.begin(); it != down_.end();) {
            if (modifierOf(it.value()) != modifier.flag) {
                ++it;
            } else if (!flagged) {
                it = down_.erase(it);
            } else {
                seen = true;
                ++it;
            }
        }
        if (flagged && !seen)
            down_.insert(static_cast<quint32>(modifier.standIn), modifier.standIn);
    }
}

bool ToddlerLock::onlyTheThreeAreDown() const {
    if (down_.size() != 3)
        return false;
    for (int key : down_)
        if (!isOneOfTheThree(key))
            return false;
    // Three keys, each one of the three: all three unless one is down twice.
    QSet<int> distinct(down_.cbegin(), down_.cend());
    return distinct.size() == 3;
}

void ToddlerLock::startHold() {
    holdCall_ = clock_.callAfter(
        kHoldToLeaveMs, [this] { heldLongEnough(); },
        // A parent's hold counts while a sound holds the game, too.
        Clock::WhileHeld::Run);
    showHint();
}

void ToddlerLock::cancelHold() {
    clock_.cancel(holdCall_);
    clock_.cancel(letGoCall_);
    holdCall_ = 0;
    letGoCall_ = 0;
    timeUp_ = false;
    hideHint();
}

void ToddlerLock::heldLongEnough() {
    holdCall_ = 0;
    // A key up for a moment decides when it comes down again, or not.
    if (letGoCall_ != 0)
        timeUp_ = true;
    else
        leaveNow();
}

void ToddlerLock::leaveNow() {
    cancelHold();
    down_.clear();
    leave_();
}

void ToddlerLock::activeWindowChanged(QWindow* window) {
    // The grab itself takes the focus from the window for a moment, on X11
    // (a focus-out "because of a grab"): the keys keep coming to the window
    // that holds the keyboard, so it keeps it until another one of the
    // program's windows becomes active.
    if (!window) {
        // Another program has the keyboard (the desktop's switcher, a
        // click beside the window): the child's window comes back.
        if (!grabbed_ && grabbing_) {
            clock_.cancel(activateCall_);
            activateCall_ = clock_.callAfter(
                kBackInSightMs,
                [this] {
                    activateCall_ = 0;
                    activateAgainUnlessFocused();
                },
                Clock::WhileHeld::Run);
        }
        return;
    }
    if (window == grabbing_)
        return;
    cancelHold();
    down_.clear();
    if (grabbing_ && !inhibit_)
        grabbing_->setKeyboardGrabEnabled(false);
    grabbing_ = window;
    if (inhibit_) {
        inhibit_->holdKeysOf(window);
        return;
    }
    grabbed_ = false;
    grabAttempts_ = 0;
    tryGrab();
}

void ToddlerLock::tryGrab() {
    if (inhibit_ || !grabbing_ || grabbed_ || grabAttempts_ >= kGrabAttempts)
        return;
    ++grabAttempts_;
    grabbed_ = grabbing_->setKeyboardGrabEnabled(true);
    clock_.cancel(grabRetryCall_);
    grabRetryCall_ = 0;
    if (grabbed_)
        return;
    if (grabAttempts_ >= kGrabAttempts) {
        keysNotHeld(widgetOf(grabbing_),
                    QStringLiteral("the keyboard grab failed (another program holds the "
                                   "keyboard, or the platform has no grabs)"));
        return;
    }
    // The desktop may hold on to the keyboard for a moment while the window
    // becomes active (a window manager's grab of its own).
    grabRetryCall_ = clock_.callAfter(
        kGrabRetryMs,
        [this] {
            grabRetryCall_ = 0;
            tryGrab();
        },
        Clock::WhileHeld::Run);
}

void ToddlerLock::keysNotHeld(QWidget* over, const QString& why) {
    if (toldNotHeld_)
        return;
    toldNotHeld_ = true;
    if (keysNotHeld_)
        keysNotHeld_(over, why);
}

void ToddlerLock::firstShown(QWidget* widget) {
    // A compositor without the protocol is known from the start, and may
    // never give the window the keyboard to ask with (weston with no
    // keyboard): the parent is told as the first window shows.
    if (!inhibit_ || widget->windowType() != Qt::Window || !widget->isWindow())
        return;
    const QString why = inhibit_->whyNotOffered();
    if (why.isEmpty())
        return;
    // Once the window is on its way to the screen, for the box to sit over it.
    QPointer<QWidget> over(widget);
    QMetaObject::invokeMethod(
        this, [this, over, why] { keysNotHeld(over, why); }, Qt::QueuedConnection);
}

QString ToddlerLock::notHeldNotice(const QString& why) {
    return QStringLiteral(
               "The lock cannot hold the keyboard on this desktop: %1.\n\n"
               "The child's keys still reach the desktop: its shortcuts can switch to "
               "other windows, close this one or open the desktop's menus. Stay close "
               "while the child plays; the help page's section for parents tells what "
               "each desktop allows.")
        .arg(why);
}

QWidget* ToddlerLock::widgetOf(const QWindow* window) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (window && w->windowHandle() == window)
            return w;
    return nullptr;
}

void ToddlerLock::activateAgainUnlessFocused() {
    QWidget* window = widgetOf(grabbing_);
    if (QGuiApplication::focusWindow() || !window || !window->isVisible())
        return;
    window->raise();
    window->activateWindow();
}

void ToddlerLock::keepInSight(QWidget* widget, const QEvent& event) {
    // The program's windows and boxes, not its menus and tool tips.
    if (widget->windowType() != Qt::Window && widget->windowType() != Qt::Dialog)
        return;
    if (event.type() == QEvent::Hide) {
        // The desktop hid the window (a spontaneous hide), where a window
        // system tells no minimised state (Wayland) or minimises by unmapping.
        if (event.spontaneous())
            bringBackFromMinimised(*widget);
        return;
    }
    // A window manager's minimise button (the selection screen has one)
    // would leave a child before an empty screen, and the keyboard nowhere.
    if (widget->isMinimized()) {
        bringBackFromMinimised(*widget);
        return;
    }
    // Only the desktop takes a locked window out of full screen (a
    // compositor's command, a window manager's key).
    const auto& change = static_cast<const QWindowStateChangeEvent&>(event);
    if (change.oldState().testFlag(Qt::WindowFullScreen) && !widget->isFullScreen())
        fullScreenAgain(widget);
}

void ToddlerLock::fullScreenAgain(QWidget* widget) {
    QPointer<QWidget> guard(widget);
    clock_.callAfter(
        kBackInSightMs,
        [guard] {
            if (guard && guard->isVisible() && !guard->isFullScreen())
                guard->setWindowState((guard->windowState() & ~Qt::WindowMinimized) |
                                      Qt::WindowFullScreen);
        },
        Clock::WhileHeld::Run);
}

void ToddlerLock::showHint() {
    // The window with the keyboard, which the toolkit may not count as
    // active while the grab is being taken.
    QWidget* window = widgetOf(grabbing_);
    if (!window || !window->isVisible())
        window = QApplication::activeWindow();
    if (!window)
        return;
    if (!hint_ || hint_->window() != window) {
        delete hint_;
        hint_ = new QLabel(QStringLiteral("Keep holding to leave"), window);
        hint_->setObjectName(QStringLiteral("leavehint"));
        hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
        hint_->setFocusPolicy(Qt::NoFocus);
        hint_->setFont(sansSerif(14));
        hint_->setStyleSheet(
            QStringLiteral("color: white; background: rgba(30, 45, 60, 190); border-radius: 10px; "
                           "padding: 8px 20px;"));
    }
    hint_->adjustSize();
    // Low in the middle, below the game's pictures.
    const QSize room = window->size();
    hint_->move((room.width() - hint_->width()) / 2,
                room.height() - hint_->height() - room.height() / 40);
    hint_->raise();
    hint_->show();
}

void ToddlerLock::hideHint() {
    if (hint_)
        hint_->hide();
}

}  // namespace qv

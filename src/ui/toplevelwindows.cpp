#include "toplevelwindows.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "accessibility.h"
#include "x11desktop.h"

namespace qv {

namespace {

// Ends a modal box's wait once the program hides or closes it. A box the
// desktop minimises is still open and still blocks the other windows: it
// comes straight back, unless its owner went down with it.
class ModalWatch final : public QObject {
public:
    ModalWatch(QEventLoop& loop, const QWidget* owner) : loop_(loop), owner_(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Hide:
                // Minimising sends a spontaneous hide; hide() and close() do not.
                if (!event->spontaneous())
                    loop_.quit();
                break;
            case QEvent::Destroy:
                loop_.quit();
                break;
            case QEvent::WindowStateChange: {
                auto* window = static_cast<QWidget*>(watched);
                if (window->isMinimized() && !(owner_ && owner_->isMinimized()))
                    bringBackFromMinimised(*window);
                break;
            }
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
    QPointer<const QWidget> owner_;
};

// What the desktop's frame adds around the window's client area.
QMargins frameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

// Gives a hidden window the type type (a window of its own, a dialog),
// keeping its frame's other hints. A screen reader meets it anew as what it
// has become.
void setWindowType(QWidget& window, Qt::WindowType type) {
    const Qt::WindowFlags flags = window.windowFlags();
    if ((flags & Qt::WindowType_Mask) == type)
        return;
    window.setWindowFlags((flags & ~Qt::WindowType_Mask) | type);
    renewAccessibleIdentity(window);
}

}  // namespace

void makeDialogOf(QWidget& window, QWidget& owner) {
    setWindowType(window, Qt::Dialog);
    QWidget* ownerWindow = owner.window();
    ownerWindow->winId();
    window.winId();
    window.windowHandle()->setTransientParent(ownerWindow->windowHandle());
    showInTaskbar(*window.windowHandle(), false);
}

void makeOwnWindow(QWidget& window) {
    setWindowType(window, Qt::Window);
    window.winId();
    window.windowHandle()->setTransientParent(nullptr);
    showInTaskbar(*window.windowHandle(), true);
}

void showFillingScreen(QWidget& window) {
    window.showFullScreen();
    coverScreenWithoutWindowManager(window);
}

void coverScreenWithoutWindowManager(QWidget& window) {
    if (windowManagerFillsScreen())
        return;
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen)
        window.setGeometry(screen->geometry());
}

void showModal(QWidget& window, QWidget* owner) {
    QPointer<QWidget> guard(&window);
    const Qt::WindowModality previous = window.windowModality();
    if (window.isVisible())
        window.hide();
    window.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    // The desktop keeps a dialog above the window it belongs to.
    const bool wasDialog = window.windowType() == Qt::Dialog;
    window.winId();
    const QPointer<QWindow> previousParent = window.windowHandle()->transientParent();
    if (owner)
        makeDialogOf(window, *owner);
    ModalWatch filter(loop, owner ? owner->window() : nullptr);
    window.installEventFilter(&filter);
    centerOver(window, owner);
    window.show();
    // A window shown for the first time learns the size of its frame only
    // now; centre it again with the whole frame counted.
    centerOver(window, owner);
    window.raise();
    window.activateWindow();
    if (window.isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (!guard)
        return;
    window.removeEventFilter(&filter);
    window.setWindowModality(previous);
    // It goes back to what it was: a window of its own, or another's dialog.
    if (!wasDialog)
        makeOwnWindow(window);
    else if (window.windowHandle())
        window.windowHandle()->setTransientParent(previousParent);
}

void bringBackFromMinimised(QWidget& window) {
    // Queued: the window is still taking its minimised state.
    QMetaObject::invokeMethod(
        &window,
        [&window] {
            window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
            window.show();
            window.raise();
            window.activateWindow();
        },
        Qt::QueuedConnection);
}

void useFixedWindowFrame(QWidget& window) {
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
}

void centerOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void centerOver(QWidget& window, const QWidget* owner) {
    if (!owner) {
        centerOnScreen(window);
        return;
    }
    const QWidget* ownerWindow = owner->window();
    // A window never shown yet has not taken its layout's size.
    if (QLayout* layout = window.layout())
        layout->activate();
    const QRect ownerFrame = ownerWindow->frameGeometry();
    // Until the desktop has framed the window, it is placed by its client
    // area, and the owner's frame is the best guess of the frame to come.
    const bool framed = frameMargins(window) != QMargins();
    const QMargins margins = framed ? frameMargins(window) : frameMargins(*ownerWindow);
    QRect frame = window.geometry().marginsAdded(margins);
    frame.moveCenter(ownerFrame.center());
    // An owner near the screen's edge must not push the box off the screen.
    if (const QScreen* screen = ownerWindow->screen()) {
        const QRect available = screen->availableGeometry();
        frame.moveLeft(std::max(available.left(),
                                std::min(frame.left(), available.right() + 1 - frame.width())));
        frame.moveTop(std::max(available.top(),
                               std::min(frame.top(), available.bottom() + 1 - frame.height())));
    }
    window.move(framed ? frame.topLeft() : frame.marginsRemoved(margins).topLeft());
}

}  // namespace qv

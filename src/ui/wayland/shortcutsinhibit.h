#pragma once

#include <QGuiApplication>
#include <QString>

#include <functional>
#include <memory>

class QWindow;

namespace qv {

// On Wayland a program cannot grab the keyboard: the compositor keeps its own
// shortcuts (switching windows, closing them, the Super key). A compositor
// that offers the keyboard-shortcuts-inhibit protocol (GNOME, KDE, sway)
// passes every key to a window that asks, once the user allows it.
class ShortcutsInhibit {
public:
    // Told, with the window and the reason, when the compositor did not
    // allow a window its keys (the user said no, or it did not answer).
    using NotHeld = std::function<void(QWindow* window, const QString& why)>;

    virtual ~ShortcutsInhibit() = default;

    // Why no window can have the keys (the compositor has no such protocol),
    // known from the start; empty where they can be asked for.
    virtual QString whyNotOffered() const = 0;

    // Asks that every key go to window while it has the keyboard; a window
    // already asked for is asked again only when its surface is new (the
    // toolkit makes a new one each time a window is shown again).
    virtual void holdKeysOf(QWindow* window) = 0;
};

// The compositor's shortcuts inhibition, on the Wayland platform only: nullptr
// on any other platform. Where the program was built without Wayland support
// nothing is offered.
std::unique_ptr<ShortcutsInhibit> makeShortcutsInhibit(ShortcutsInhibit::NotHeld notHeld);

// Whether the program runs on the toolkit's Wayland platform.
inline bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace qv

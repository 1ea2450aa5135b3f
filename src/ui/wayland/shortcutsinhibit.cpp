// The keyboard-shortcuts-inhibit protocol through the toolkit's Wayland
// client: its manager is a global the compositor announces, bound with the
// toolkit's public extension template; one inhibitor per window surface.
#include "shortcutsinhibit.h"

#include <QObject>
#include <QTimer>
#include <QWindow>
#include <QtWaylandClient/QWaylandClientExtensionTemplate>
// The window's wl_surface and the seat: Qt 6.4 has no public way to them
// (QNativeInterface::QWaylandApplication came with Qt 6.5), so they come
// from the platform's native interface, a header of the toolkit's platform
// layer, as every Wayland extension of Qt 6.4 gets them.
#include <qpa/qplatformnativeinterface.h>

#include <cstdio>
#include <unordered_map>

#include "qwayland-keyboard-shortcuts-inhibit-unstable-v1.h"

namespace qv {

namespace {

class InhibitManager final : public QWaylandClientExtensionTemplate<InhibitManager>,
                             public QtWayland::zwp_keyboard_shortcuts_inhibit_manager_v1 {
public:
    InhibitManager() : QWaylandClientExtensionTemplate(1) {
        // Binds now, if the compositor announced the global, rather than on
        // the next turn of the event loop: the first window asks at once.
        initialize();
    }
    ~InhibitManager() override {
        if (QtWayland::zwp_keyboard_shortcuts_inhibit_manager_v1::isInitialized())
            QtWayland::zwp_keyboard_shortcuts_inhibit_manager_v1::destroy();
    }
};

// The compositor's answer for one surface: active while it passes every key,
// inactive when it does not (the user refused, or took the keys back).
class Inhibitor final : public QtWayland::zwp_keyboard_shortcuts_inhibitor_v1 {
public:
    Inhibitor(::zwp_keyboard_shortcuts_inhibitor_v1* object, std::function<void(bool)> answered)
        : QtWayland::zwp_keyboard_shortcuts_inhibitor_v1(object), answered_(std::move(answered)) {}
    ~Inhibitor() override { destroy(); }

protected:
    void zwp_keyboard_shortcuts_inhibitor_v1_active() override { answered_(true); }
    void zwp_keyboard_shortcuts_inhibitor_v1_inactive() override { answered_(false); }

private:
    std::function<void(bool)> answered_;
};

class WaylandShortcutsInhibit final : public QObject, public ShortcutsInhibit {
public:
    // A compositor set not to allow it (sway's shortcuts_inhibitor disable)
    // never answers; GNOME answers once the user has chosen.
    static constexpr int kAnswerMs = 8000;

    explicit WaylandShortcutsInhibit(NotHeld notHeld) : notHeld_(std::move(notHeld)) {}

    QString whyNotOffered() const override {
        if (manager_.isActive())
            return {};
        return QStringLiteral("the Wayland compositor does not offer keyboard-shortcuts-inhibit");
    }

    void holdKeysOf(QWindow* window) override {
        if (!manager_.isActive())
            return;
        QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
        auto* surface =
            static_cast<::wl_surface*>(native->nativeResourceForWindow("surface", window));
        auto* seat = static_cast<::wl_seat*>(native->nativeResourceForIntegration("wl_seat"));
        // Not shown yet (asked again when it becomes active), or no keyboard.
        if (!surface || !seat)
            return;
        auto found = held_.find(window);
        if (found == held_.end()) {
            found = held_.try_emplace(window).first;
            connect(window, &QObject::destroyed, this, [this, window] { held_.erase(window); });
        }
        Held& held = found->second;
        if (held.surface == surface)
            return;
        // One inhibitor per surface and seat: the old surface's goes first.
        held.inhibitor.reset();
        held.surface = surface;
        held.everActive = false;
        held.refused = false;
        held.inhibitor =
            std::make_unique<Inhibitor>(manager_.inhibit_shortcuts(surface, seat),
                                        [this, window](bool active) { answered(window, active); });
        QTimer::singleShot(kAnswerMs, window, [this, window, surface] {
            const auto late = held_.find(window);
            if (late != held_.end() && late->second.surface == surface && !late->second.everActive)
                refused(window, late->second);
        });
    }

private:
    struct Held {
        ::wl_surface* surface = nullptr;
        std::unique_ptr<Inhibitor> inhibitor;
        bool everActive = false;
        bool refused = false;
    };

    void answered(QWindow* window, bool active) {
        Held& held = held_[window];
        if (active) {
            if (held.refused)
                std::fputs("quorvellearning: the Wayland compositor passes every key after all\n",
                           stderr);
            held.everActive = true;
            return;
        }
        // Inactive later is the compositor's own way back (GNOME's
        // Super+Escape), which it keeps for itself: the parent was at the
        // keys when the lock began, and a box now would only meet the child.
        if (held.everActive) {
            std::fputs(
                "quorvellearning: the Wayland compositor took its shortcuts back; "
                "the desktop's keys work again\n",
                stderr);
            return;
        }
        // Inactive before it was ever active: the user said no (GNOME asks
        // first).
        refused(window, held);
    }

    void refused(QWindow* window, Held& held) {
        if (held.refused)
            return;
        held.refused = true;
        notHeld_(window, QStringLiteral("the Wayland compositor did not allow the program to "
                                        "inhibit its shortcuts"));
    }

    NotHeld notHeld_;
    InhibitManager manager_;
    std::unordered_map<QWindow*, Held> held_;
};

}  // namespace

std::unique_ptr<ShortcutsInhibit> makeShortcutsInhibit(ShortcutsInhibit::NotHeld notHeld) {
    if (!onWayland())
        return nullptr;
    return std::make_unique<WaylandShortcutsInhibit>(std::move(notHeld));
}

}  // namespace qv

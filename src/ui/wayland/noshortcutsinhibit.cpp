// Built without the toolkit's Wayland client headers: on Wayland, the lock
// can only say that the keys are not held.
#include "shortcutsinhibit.h"

namespace qv {

namespace {

class NoShortcutsInhibit final : public ShortcutsInhibit {
public:
    explicit NoShortcutsInhibit(NotHeld notHeld) : notHeld_(std::move(notHeld)) {}
    void holdKeysOf(QWindow* /*window*/) override {
        notHeld_(
            QStringLiteral("this build of the program cannot ask a Wayland compositor for "
                           "the keys"));
    }

private:
    NotHeld notHeld_;
};

}  // namespace

std::unique_ptr<ShortcutsInhibit> makeShortcutsInhibit(ShortcutsInhibit::NotHeld /*notHeld*/) {
    if (!onWayland())
        return nullptr;
    return std::make_unique<NoShortcutsInhibit>();
}

}  // namespace qv

#pragma once

class QWidget;

namespace qv {

// Shows a top-level window as a modal dialog, centred over owner's window,
// and returns once it is hidden or closed. Meanwhile the other windows take no
// input but keep painting. Minimised on its own, the dialog comes back: it
// would block the other windows unseen.
void showModal(QWidget& window, QWidget* owner);

// Makes window, while it is hidden, a dialog of owner's window for the
// desktop: kept above that window (X11's WM_TRANSIENT_FOR, Wayland's parent
// toplevel), framed as a dialog, without minimise or maximise button, and
// with no task bar entry of its own. Call it before each showing.
void makeDialogOf(QWidget& window, QWidget& owner);

// Makes window, while it is hidden, a window of its own again: a task bar
// entry, nothing it is kept above.
void makeOwnWindow(QWidget& window);

// Restores a minimised window, raised and active, once the event loop runs.
void bringBackFromMinimised(QWidget& window);

// A fixed-size window's frame: a caption with a close button, but no minimise
// or maximise button.
void useFixedWindowFrame(QWidget& window);

// Shows a window full screen. Without a window manager (a kiosk session
// started by xinit) nothing acts on the request, so the window also covers
// its screen by itself.
void showFillingScreen(QWidget& window);
// Covers the window's screen with it when no window manager would act on its
// full-screen state.
void coverScreenWithoutWindowManager(QWidget& window);

// Puts a window in the middle of the screen it is on.
void centerOnScreen(QWidget& window);

// Puts a window in the middle of owner's window, within the screen; without an
// owner, in the middle of the screen.
void centerOver(QWidget& window, const QWidget* owner);

}  // namespace qv

#pragma once

class QWidget;

namespace qv {

// Shows a top-level window as a modal dialog, centred over owner's window,
// and returns once it is hidden or closed. Meanwhile the other windows take no
// input but keep painting. Minimised on its own, the dialog comes back: it
// would block the other windows unseen.
void showModal(QWidget& window, QWidget* owner);

// Restores a minimised window, raised and active, once the event loop runs.
void bringBackFromMinimised(QWidget& window);

// A fixed-size window's frame: a caption with a close button, but no minimise
// or maximise button.
void useFixedWindowFrame(QWidget& window);

// Puts a window in the middle of the screen it is on.
void centerOnScreen(QWidget& window);

// Puts a window in the middle of owner's window, within the screen; without an
// owner, in the middle of the screen.
void centerOver(QWidget& window, const QWidget* owner);

}  // namespace qv

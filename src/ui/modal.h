#pragma once

class QWidget;

namespace qv {

// Shows a top-level window as a modal dialog over owner and returns once it is
// hidden or closed. Meanwhile the other windows take no input but keep painting.
void showModal(QWidget& window, QWidget* owner);

// A fixed-size window's frame: a caption with a close button, but no minimise
// or maximise button.
void useFixedWindowFrame(QWidget& window);

// Puts a window in the middle of the screen it is on.
void centerOnScreen(QWidget& window);

}  // namespace qv

#pragma once

class QWidget;

namespace qv {

// Shows a top-level window as a modal dialog and returns once it is hidden or
// closed. Meanwhile the other windows take no input but keep painting.
void showModal(QWidget& window);

// Puts a window in the middle of the screen it is on.
void centerOnScreen(QWidget& window);

}  // namespace qv

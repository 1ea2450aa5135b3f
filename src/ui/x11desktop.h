#pragma once

class QWindow;

namespace qv {

// What the program asks of an X11 desktop for which the toolkit has no call.
// On other platforms (Wayland) these do nothing and answer as a desktop
// that does the work itself.

// Asks the desktop to show window in its task bar and pager, or to leave it
// out, as a dialog that belongs to another window is left out. Call while
// window is hidden, before each showing: X11 keeps this among the states a
// window asks for as it is mapped (_NET_WM_STATE_SKIP_TASKBAR and
// _SKIP_PAGER), which the toolkit keeps when it adds its own to them.
void showInTaskbar(QWindow& window, bool shown);

// Whether a window manager runs that makes a window full screen when asked
// (_NET_WM_STATE_FULLSCREEN among what it supports). Without one, as in a
// kiosk session started by xinit, a window asked to be full screen keeps its
// size.
bool windowManagerFillsScreen();

}  // namespace qv

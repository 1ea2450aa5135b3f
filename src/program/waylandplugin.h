#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace qv {

// A Wayland-only session (WAYLAND_DISPLAY, no DISPLAY) makes the toolkit look
// for its Wayland platform plugin alone, and it aborts when the plugin is not
// installed. These catch that before the application is made.

// The message for a session whose platform must be Wayland while no Wayland
// platform plugin lies in platformFolders (the toolkit's "platforms" folders);
// empty when the program can start. The platform is Qt 6's choice: the
// -platform argument, else QT_QPA_PLATFORM, else Wayland first where
// WAYLAND_DISPLAY or XDG_SESSION_TYPE=wayland say so, and X11 as well where
// DISPLAY is set.
QString missingWaylandPlugin(const QStringList& arguments, const QProcessEnvironment& environment,
                             const QStringList& platformFolders);

// Prints that message and answers 1, or answers 0 when the program can start.
int refuseWaylandWithoutPlugin(int argc, char** argv);

}  // namespace qv

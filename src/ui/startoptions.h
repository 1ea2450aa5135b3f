#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// How the program was asked to start, from its command line. None of it is
// stored: the next start without options is an ordinary one.
struct StartOptions {
    // The activity the game window opens on at once, skipping the selection
    // screen; empty for the selection screen.
    QString activity;
    // The windows fill the screen, without a frame.
    bool fullScreen = false;
    // Full screen, and a child can neither leave nor change anything; a
    // parent leaves by holding Ctrl+Shift+Q (ToddlerLock).
    bool locked = false;

    bool fillsScreen() const { return fullScreen || locked; }
};

// The names an activity goes by, as the selection screen stores them.
inline QStringList activityNames() {
    return {QStringLiteral("learncolors"), QStringLiteral("learnshapes"),
            QStringLiteral("playcolors"), QStringLiteral("playshapes")};
}

}  // namespace qv

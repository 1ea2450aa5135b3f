// The command line: --help, --version and how to start (--activity,
// --fullscreen, --lock), and the toolkit's own options passed on.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "ui/startoptions.h"

namespace qv {

struct CommandLine {
    // Set when the program ends at once with this status (help, version, a
    // usage error), after printing out to stdout and err to stderr.
    std::optional<int> exitStatus;
    QString out;
    QString err;
    // How to start otherwise.
    StartOptions options;
};

// Reads the arguments, the program's name first. Needs a QCoreApplication.
CommandLine parseCommandLine(const QStringList& arguments);

// Answers the command line before the toolkit opens the display or the sound
// device: prints what parseCommandLine says and returns it.
CommandLine answerCommandLine(int argc, char** argv);

}  // namespace qv

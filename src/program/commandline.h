// The command line: --help and --version, and nothing else.
#pragma once

#include <optional>

namespace qv {

// Answers the command line before the toolkit opens the display or the sound
// device. Returns the exit status when the program should end at once (help,
// version, or an option it does not know); nothing when it should start.
std::optional<int> answerCommandLine(int argc, char** argv);

}  // namespace qv

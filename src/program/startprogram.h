#pragma once

namespace qv {

class Forms;

// The program's entry: reads runonce and shows either the first-run screen or
// the selection screen (or the game window, on the activity the command line
// named). Throws ConversionError or StoreError when the store
// cannot be read.
void startprogram(Forms& forms);

// startprogram, with a failure reported on screen and stderr and the program
// ended with a non-zero status. Returns true when a window is showing.
bool startprogramOrReport(Forms& forms);

}  // namespace qv

#!/bin/bash
# dump-windows.sh PROGRAM [OUT] -- what a screen reader is told about every
# window of the program, through AT-SPI, as Markdown tables: the first-run
# About box, the selection screen, the game window in a learn and a play
# activity, the New dialog, the options on each page and the About dialog.
# The keys that lead from one window to the next are real key presses.
#
# Needs an X display with a window manager, xdotool, and the Debian packages
# at-spi2-core and python3-pyatspi; runs in a D-Bus session of its own:
#
#   Xvfb :9 -screen 0 1920x1080x24 & DISPLAY=:9 openbox &
#   DISPLAY=:9 dbus-run-session -- tools/a11y/dump-windows.sh build/dev/program/quorvellearning trees.md
set -euo pipefail

program=$(realpath "$1")
out=${2:-/dev/stdout}
tree="$(dirname "$(realpath "$0")")/atspi-tree.py"

# A fresh HOME: the first start shows the About box.
home=$(mktemp -d)
export HOME=$home SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$home/runtime && mkdir -m 700 "$XDG_RUNTIME_DIR"
# The toolkit speaks to the accessibility bus whether or not a screen reader
# has asked for it.
export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
sleep 1
"$program" >"$home/program.log" 2>&1 &
pid=$!
trap 'kill $pid $launcher 2>/dev/null || true; rm -rf "$home"' EXIT

window() { xdotool search --sync --name "^$1\$" | head -1; }
# keys TITLE KEY... : the window comes to the front, then the keys are pressed.
keys() {
    local w
    w=$(window "$1")
    shift
    xdotool windowactivate --sync "$w"
    sleep 0.3
    xdotool key --delay 150 "$@"
}
# dump HEADING NAME: the window whose accessible name is NAME.
dump() {
    { echo "## $1"; echo; "$tree" --window "$2"; } >>"$out"
}

: >"$out"
window About >/dev/null
sleep 1
dump "About box, first run" "About"
keys About Return
window "Quorvel Learning Selection" >/dev/null
sleep 1
dump "Selection screen" "Quorvel Learning Selection"
keys "Quorvel Learning Selection" Return
sleep 5
dump "Game window, Learn Colors (a picture in)" "Learn Colors and Shapes"
keys "Learn Colors and Shapes" ctrl+n
sleep 1
dump "New: the selection screen as the game window's dialog" "Quorvel Learning Selection"
keys "Quorvel Learning Selection" Down Down Return
sleep 1
# Every name an answer picture is given while the first question comes in.
"$tree" --names 9 >"$home/names.md" &
listener=$!
sleep 9
wait $listener || true
dump "Game window, Play Colors (a question open)" "Learn Colors and Shapes"
{ echo "## Names given while the question came in"; echo; cat "$home/names.md"; echo; } >>"$out"
keys "Learn Colors and Shapes" alt+o
sleep 1
dump "Options, Play Options page (on top when it opens)" "Options"
keys "Options " alt+g
dump "Options, Global Options page" "Options"
keys "Options " alt+l
dump "Options, Learn Options page" "Options"
keys "Options " Escape
sleep 1
keys "Learn Colors and Shapes" ctrl+a
sleep 1
dump "About box from the game window" "About"
keys About Escape
sleep 1
keys "Learn Colors and Shapes" ctrl+e
wait $pid || true

#!/usr/bin/env bash
# The lock under real Wayland compositors, as a parent and a child meet it.
#   lock-under-compositors.sh PROGRAM [EVIDENCE_FOLDER]
# sway (headless) offers keyboard-shortcuts-inhibit: locked, the program is
# full screen and focused, a Super+Return binding of the compositor does not
# act, the compositor's close leaves it running, "fullscreen disable" is
# undone within 2 s, another program given the focus loses it again within
# 2 s, and Ctrl+Shift+Q held 2.6 s ends it; unlocked, the binding acts and
# "fullscreen disable" holds. A sway told not to allow the inhibition, and
# weston (headless), which has no such protocol, both make the program tell
# the parent.
# Compositors and program run as an unprivileged user (sway refuses root),
# which the test makes when it is missing. Exit 77: skipped (not root, or a
# compositor missing); every wait is bounded, the whole run within 120 s.
set -uo pipefail

program=${1:?program}
evidence=${2:-}
user=quorvel-wayland
app_id=example.quorvellearning.quorvellearning
skip=77

[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root to run the compositors as $user"; exit $skip; }
for tool in sway swaymsg wtype weston weston-flower runuser; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit $skip; }
done
# Stops the whole run, whatever hangs.
deadline=$((SECONDS + 115))

id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" ||
    { echo "cannot make the user $user"; exit 1; }

work=$(mktemp -d /tmp/quorvel-wayland.XXXXXX)
pids=()
cleanup() {
    local pid left
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for _ in $(seq 30); do
        left=0
        for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && left=1; done
        [ $left -eq 0 ] && break
        sleep 0.1
    done
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

# The program as the user can run it: the build tree may lie in a folder only
# root can enter.
folder=$(dirname "$program")
if ! runuser -u "$user" -- test -x "$program"; then
    cp -rL "$folder" "$work/program"
    chmod -R a+rX "$work/program"
    folder=$work/program
    program=$folder/$(basename "$program")
fi

home=$work/home
runtime=$work/runtime
mkdir -p "$home/.config/quorvellearning" "$runtime"
# Stored settings: no first-run About box; music off, so nothing waits on it.
printf '[colors]\nrunonce=True\nchangebackground=True\nbackchange=5\nshapedirectory=\\\\shapes\\\\\nplaymusic=False\nsameobject=False\nhowmanytimes=1\nhowtochangepictures=timer\nfxspeed=10\nplaysameobj=False\nrepeatquestion=True\nfxplayspeed=10\n' \
    >"$home/.config/quorvellearning/quorvellearning.ini"
chown -R "$user" "$home" "$runtime"
chmod 700 "$runtime"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
note() { if [ -n "$evidence" ]; then cat >>"$evidence/$1"; else cat >/dev/null; fi; }
# Runs a command as the user in place of the shell it is called in: called
# with &, $! is runuser itself, which passes a kill on to what it runs.
run_as_user() {
    # Only what is known: sway takes an empty SWAYSOCK for its socket's name.
    local known=()
    [ -n "${swaysock:-}" ] && known+=("SWAYSOCK=$swaysock")
    [ -n "${display:-}" ] && known+=("WAYLAND_DISPLAY=$display")
    exec runuser -u "$user" -- env -i HOME="$home" XDG_RUNTIME_DIR="$runtime" PATH=/usr/bin:/bin \
        "${known[@]}" "$@"
}
as_user() { (run_as_user "$@"); }
# Waits up to $1 seconds for the command to succeed.
within() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@"; do
        [ $SECONDS -lt $end ] && [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# --- sway ------------------------------------------------------------------
marks=$work/marks
mkdir -p "$marks"
chown "$user" "$marks"
start_sway() {  # $1: extra configuration lines
    cat >"$work/sway.conf" <<CONF
xwayland disable
output HEADLESS-1 resolution 1024x768
default_border none
bindsym Mod4+Return exec touch $marks/super-return
$1
CONF
    run_as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        timeout 110 sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
    sway_pid=$!
    pids+=("$sway_pid")
    swaysock=""
    display=""
    within 15 bash -c "ls $runtime/sway-ipc.*.sock >/dev/null 2>&1 && ls $runtime/wayland-* >/dev/null 2>&1" ||
        { fail "sway did not start: $(tail -n 5 "$work/sway.log")"; return 1; }
    swaysock=$(ls "$runtime"/sway-ipc.*.sock | head -n 1)
    display=$(basename "$(ls "$runtime"/wayland-* | grep -v '\.lock$' | head -n 1)")
    within 10 as_user swaymsg -t get_version >/dev/null || return 1
    # A keyboard that stays, as on a real desktop: the headless seat has none
    # but each wtype's own, and a client learns of a new one only after the
    # first keys have gone by.
    run_as_user timeout 110 wtype -s 110000 &
    keyboard_pid=$!
    pids+=("$keyboard_pid")
    sleep 0.5
}
stop_sway() {
    kill "$keyboard_pid" 2>/dev/null
    kill "$sway_pid" 2>/dev/null
    wait "$sway_pid" 2>/dev/null
    rm -rf "${runtime:?}"/*
}
start_program() {  # arguments of the program; stderr in $work/program.err
    run_as_user env SDL_AUDIODRIVER=dummy timeout 100 "$program" "$@" >"$work/program.out" 2>"$work/program.err" &
    program_pid=$!
    pids+=("$program_pid")
}
# The program's window in the compositor's tree: "fullscreen focused" as 0/1.
window_state() {
    as_user swaymsg -t get_tree 2>/dev/null | python3 -c '
import json, sys
def walk(n):
    yield n
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from walk(c)
for n in walk(json.load(sys.stdin)):
    if n.get("app_id") == sys.argv[1]:
        print(n.get("fullscreen_mode", 0), int(n.get("focused", False)))
        break
' "$app_id"
}
is_state() { [ "$(window_state)" = "$1" ]; }
running() { kill -0 "$program_pid" 2>/dev/null; }
tree_excerpt() {  # $1: what the excerpt shows
    { echo "== $1"; as_user swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    yield n
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from walk(c)
for n in walk(json.load(sys.stdin)):
    if n.get("app_id"):
        print(json.dumps({k: n.get(k) for k in ("app_id", "name", "fullscreen_mode", "focused", "visible", "rect", "inhibit_idle", "pid")}))
'; } | note sway-tree.txt
}

if start_sway ""; then
    # Locked.
    rm -f "$marks/super-return"
    start_program --lock --activity playshapes
    if within 20 is_state "1 1"; then
        pass "locked: full screen and focused"
        tree_excerpt "locked, at start"
    else
        fail "locked: not full screen and focused ($(window_state)); $(cat "$work/program.err")"
    fi
    sleep 1
    as_user wtype -M logo -k Return -m logo
    sleep 1.5
    if [ -e "$marks/super-return" ]; then fail "locked: the Super+Return binding acted"; else pass "locked: the Super+Return binding did not act"; fi
    if [ -n "$evidence" ] && command -v grim >/dev/null; then
        as_user grim "$home/locked.png" && cp "$home/locked.png" "$evidence/sway-locked.png"
    fi

    as_user swaymsg "[app_id=\"$app_id\"] kill" >/dev/null
    sleep 1.5
    if running && is_state "1 1"; then pass "locked: the compositor's close left it running"; else fail "locked: closed by the compositor ($(window_state))"; fi

    as_user swaymsg "[app_id=\"$app_id\"] fullscreen disable" >/dev/null
    sleep 0.2
    tree_excerpt "locked, 0.2 s after fullscreen disable"
    if within 2 is_state "1 1"; then
        pass "locked: full screen again within 2 s of fullscreen disable"
        tree_excerpt "locked, full screen again"
    else
        fail "locked: not full screen again within 2 s ($(window_state))"
    fi

    # Another program takes the focus (the compositor's focus command, as a
    # click or a switcher would): the locked window takes it back.
    run_as_user timeout 60 weston-flower >"$work/other.log" 2>&1 &
    other_pid=$!
    pids+=("$other_pid")
    other_id() {
        as_user swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    yield n
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from walk(c)
for n in walk(json.load(sys.stdin)):
    if n.get("pid") and n.get("app_id") != sys.argv[1]:
        print(n["id"])
' "$app_id"
    }
    find_other() {
        other=$(other_id | head -n 1)
        [ -n "$other" ]
    }
    if ! within 10 find_other; then
        fail "weston-flower did not show under sway: $(as_user swaymsg -t get_tree | grep -o "\"app_id\": \"[^\"]*\"" | tr "\n" " "); $(kill -0 $other_pid 2>/dev/null && echo running || echo ended): $(cat "$work/other.log")"
    elif ! focused=$(as_user swaymsg "[con_id=$other] focus"); then
        fail "sway did not focus the other program: $focused"
    else
        sleep 0.1
        tree_excerpt "locked, 0.1 s after the compositor focused another program"
        if within 2 is_state "1 1"; then
            pass "locked: full screen and focused again within 2 s of another program taking the focus"
            tree_excerpt "locked, focus taken back"
        else
            fail "locked: another program kept the focus ($(window_state))"
        fi
    fi
    [ -n "${other:-}" ] && as_user swaymsg "[con_id=$other] kill" >/dev/null
    kill "$other_pid" 2>/dev/null
    within 5 bash -c "! kill -0 $other_pid 2>/dev/null"
    within 5 is_state "1 1"

    # The parent's way out.
    as_user wtype -M ctrl -M shift -P q -s 2600 -p q -m shift -m ctrl
    if within 5 bash -c "! kill -0 $program_pid 2>/dev/null"; then
        wait "$program_pid"
        status=$?
        if [ $status -eq 0 ]; then pass "locked: Ctrl+Shift+Q held 2.6 s ended it"; else fail "locked: ended with status $status"; fi
    else
        fail "locked: still running after Ctrl+Shift+Q held 2.6 s"
        kill "$program_pid"
    fi
    if grep -q "cannot hold the keyboard" "$work/program.err"; then fail "locked under sway: the parent was told the keys are not held"; fi
    cat "$work/program.err" | note sway-locked-stderr.txt

    # Unlocked (full screen all the same), the same binding acts, and the
    # compositor's fullscreen disable holds.
    rm -f "$marks/super-return"
    start_program --fullscreen --activity playshapes
    within 20 is_state "1 1" || fail "unlocked: not full screen and focused ($(window_state))"
    sleep 0.5
    as_user wtype -M logo -k Return -m logo
    if within 3 test -e "$marks/super-return"; then pass "unlocked: the Super+Return binding acted"; else fail "unlocked: the Super+Return binding did not act"; fi
    as_user swaymsg "[app_id=\"$app_id\"] fullscreen disable" >/dev/null
    sleep 2
    if is_state "0 1"; then pass "unlocked: out of full screen 2 s after fullscreen disable"; else fail "unlocked: fullscreen disable undone ($(window_state))"; fi
    tree_excerpt "unlocked (--fullscreen), 2 s after fullscreen disable"
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    stop_sway
fi

# A sway that does not allow the inhibition (as a user who says no to GNOME's
# question): the parent is told.
if start_sway "for_window [app_id=\"$app_id\"] shortcuts_inhibitor disable"; then
    start_program --lock --activity playshapes
    if within 20 grep -q "cannot hold the keyboard" "$work/program.err"; then
        pass "sway refusing: the parent is told"
        if [ -n "$evidence" ] && command -v grim >/dev/null; then
            sleep 1
            as_user grim "$home/refused.png" && cp "$home/refused.png" "$evidence/sway-refused-notice.png"
        fi
    else
        fail "sway refusing: nothing said on stderr: $(cat "$work/program.err")"
    fi
    cat "$work/program.err" | note sway-refused-stderr.txt
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    stop_sway
fi

# --- weston: no keyboard-shortcuts-inhibit -----------------------------------
display=wayland-weston
# --debug offers the screenshooter, for the evidence.
debug=()
[ -n "$evidence" ] && debug=(--debug)
run_as_user timeout 60 weston --backend=headless-backend.so --use-pixman --socket="$display" \
    --width=1024 --height=768 --idle-time=0 "${debug[@]}" >"$work/weston.log" 2>&1 &
weston_pid=$!
pids+=("$weston_pid")
if within 15 test -S "$runtime/$display"; then
    start_program --lock --activity playshapes
    if within 20 grep -q "cannot hold the keyboard" "$work/program.err"; then
        pass "weston: the parent is told"
        grep "cannot hold the keyboard" "$work/program.err" | note weston-notice.txt
        if [ -n "$evidence" ]; then
            sleep 1
            as_user sh -c "cd '$home' && weston-screenshooter" >/dev/null 2>&1 &&
                cp "$(ls "$home"/wayland-screenshot-*.png | head -n 1)" "$evidence/weston-notice.png"
        fi
    else
        fail "weston: nothing said on stderr: $(cat "$work/program.err")"
    fi
    if [ "$(grep -c "cannot hold the keyboard" "$work/program.err")" -gt 1 ]; then fail "weston: told more than once"; fi
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
else
    fail "weston did not start: $(tail -n 5 "$work/weston.log")"
fi

[ $failures -eq 0 ] && echo "all passed" || echo "$failures failed"
[ $failures -eq 0 ]

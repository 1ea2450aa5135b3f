#!/bin/bash
# The program through a private PulseAudio server, as on a family's desktop:
# the selection screen's sound reaches the sink; with nothing more to play,
# the program lets go of the device and the sink is suspended within 12 s;
# a key on the selection screen, then a click in play colours, are heard
# again from that state; and the server knows the program by its name. The
# times from the key and the click to their sounds at the sink's monitor are
# printed, with a key's on a device awake to compare, but not judged: they
# are figures of a loaded machine (bench/soundserver measures the back end).
#
#   test_pulseaudio.sh PROGRAM SINKMONITOR
#
# Exit status 77 (skipped) only when PulseAudio, Xvfb or xdotool is missing.
set -uo pipefail
program=$1
monitor=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/privateserver.sh"

for tool in pulseaudio pactl Xvfb xdotool; do
    command -v "$tool" > /dev/null || { echo "SKIP: no $tool"; exit 77; }
done

dir=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2> /dev/null; done
    stop_sound_server
    rm -rf "$dir"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

start_sound_server "$dir/server" || { cat "$dir/server/server.log"; fail "PulseAudio does not start"; exit 1; }
recording=$dir/recording
"$monitor" null > "$recording" 2> "$dir/monitor.log" &
pids+=($!)
# The program's first sound comes a moment after its start: the recording
# must be under way by then.
for _ in $(seq 50); do
    [ -n "$(pactl list source-outputs short 2> /dev/null)" ] && break
    sleep 0.1
done
[ -n "$(pactl list source-outputs short 2> /dev/null)" ] || { cat "$dir/monitor.log"; fail "the sink monitor does not record"; exit 1; }

# Milliseconds from $1 (ms) to the first loud frame after it, or nothing.
loud_after() {
    awk -v t="$1" '$3 >= 0 { at = $1 - ($2 - $3) * 1000 / 44100; if (at >= t) { printf "%.0f\n", at - t; exit } }' "$recording"
}
# When the last loud fragment came (ms).
last_loud() {
    awk '$3 >= 0 { at = $1 } END { printf "%.0f\n", at }' "$recording"
}
# Waits up to $2 s for a sound after $1 (ms); prints its delay.
wait_for_sound() {
    local _ delay
    for _ in $(seq $(($2 * 10))); do
        delay=$(loud_after "$1")
        [ -n "$delay" ] && { echo "$delay"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits until the sink is suspended, up to 12 s after the last sound (and up
# to $1 s for the sounds before it to end); prints the silence it took.
wait_for_suspended() {
    local _
    for _ in $(seq $(($1 * 10))); do
        if [ "$(sink_state)" = SUSPENDED ]; then
            echo $(($(now_ms) - $(last_loud)))
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# The screen, with a window manager as on a desktop.
exec 3> "$dir/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp > "$dir/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$dir/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$dir/display")
command -v openbox > /dev/null && { openbox > /dev/null 2>&1 & pids+=($!); }

# A user who has run the program before, without music, so that the game
# goes quiet, and without repeated questions.
mkdir -p "$dir/home/.config/quorvellearning"
cat > "$dir/home/.config/quorvellearning/quorvellearning.ini" << 'INI'
[colors]
backchange=5
changebackground=True
fxplayspeed=10
fxspeed=10
howmanytimes=1
howtochangepictures=timer
playmusic=False
playsameobj=False
repeatquestion=False
runonce=True
sameobject=False
shapedirectory=\\shapes\\
INI

started=$(now_ms)
HOME=$dir/home SDL_AUDIODRIVER=pulseaudio QT_QPA_PLATFORM=xcb "$program" > "$dir/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)

# 1. The selection screen's sound reaches the sink.
if delay=$(wait_for_sound "$started" 15); then
    echo "the selection sound reached the sink $delay ms after the start"
    names=$(pactl list sink-inputs | grep 'application.name')
    echo "$names" | grep -q '"Quorvel Learning"' || fail "the server names the stream: $names"
else
    fail "the selection sound never reached the sink"
fi

# 2. Silence: the sink is suspended within 12 s.
if silence=$(wait_for_suspended 20); then
    echo "the sink was suspended after $silence ms of silence"
    [ "$silence" -le 12000 ] || fail "suspended only after $silence ms of silence"
else
    fail "the sink was never suspended (it is $(sink_state))"
fi

# 3. From there a key that moves the focus plays the selection sound, and
# Return on play colours starts the game, whose speech is heard.
xdotool search --sync --name 'Quorvel Learning Selection' windowactivate --sync > /dev/null 2>&1
asleep=$(sink_state)
key_at=$(now_ms)
xdotool key Tab
if delay=$(wait_for_sound "$key_at" 5); then
    echo "key to sound from a $asleep sink: $delay ms"
else
    fail "the key's sound was never heard"
fi
# The selection sound is short: 0.7 s later the device is still awake.
sleep 0.7
key_at=$(now_ms)
xdotool key Tab
delay=$(wait_for_sound "$key_at" 5) && echo "key to sound, device awake: $delay ms"
sleep 0.5
xdotool key space

# 4. In play colours, once the question has been asked and all is quiet
# again, a click on the first picture is answered aloud.
if silence=$(wait_for_suspended 40); then
    echo "in play colours the sink was suspended after $silence ms of silence"
    game=$(xdotool search --onlyvisible --name 'Learn Colors and Shapes' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$game")"
    # The first picture's middle, in the window's design proportions.
    xdotool mousemove --window "$game" $((WIDTH * 2990 / 9570)) $((HEIGHT * 2100 / 7245 + 10))
    sleep 0.3
    click_at=$(now_ms)
    xdotool click 1
    if delay=$(wait_for_sound "$click_at" 5); then
        echo "click to sound in play colours, from a suspended sink: $delay ms"
    else
        fail "the click in play colours was never heard"
    fi
else
    fail "the sink was never suspended in play colours (it is $(sink_state))"
fi

kill -0 "$program_pid" 2> /dev/null || fail "the program ended"
if [ $failures -gt 0 ]; then
    echo "--- program"; cat "$dir/program.log"
    echo "--- server"; tail -n 20 "$dir/server/server.log"
    exit 1
fi
echo "PASS"

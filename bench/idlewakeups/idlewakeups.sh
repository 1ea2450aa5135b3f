#!/bin/bash
# Wake-ups of the program idle on its selection screen: the context switches
# (voluntary and involuntary) of each of its threads over a while, from
# /proc/PID/task/*/status. The program starts under a private Xvfb with a
# fresh HOME whose settings have run once; the sound driver is SDL's choice
# unless SDL_AUDIODRIVER says otherwise.
#
#   idlewakeups.sh [program [seconds [display]]]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../../build/dev/program/quorvellearning}
seconds=${2:-30}
display=${3:-:93}

home=$(mktemp -d)
mkdir -p "$home/.config/quorvellearning"
cat > "$home/.config/quorvellearning/quorvellearning.ini" <<'INI'
[colors]
backchange=5
changebackground=True
fxplayspeed=10
fxspeed=10
howmanytimes=1
howtochangepictures=timer
playmusic=True
playsameobj=False
repeatquestion=True
runonce=True
sameobject=False
shapedirectory=\\shapes\\
INI
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2> /dev/null; wait $xvfb 2> /dev/null; rm -rf "$home"' EXIT
for _ in $(seq 50); do
    [ -S "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done

HOME=$home DISPLAY=$display "$program" > /dev/null 2>&1 &
pid=$!
# Start-up, the first paint, the device opened and the selection sound played.
sleep 5
snapshot() {
    for task in /proc/$pid/task/*; do
        [ -r "$task/status" ] || continue
        printf '%s %s %s\n' "$(basename "$task")" "$(tr ' ' '_' < "$task/comm")" \
            "$(awk '/ctxt_switches/ {s += $2} END {print s}' "$task/status")"
    done | sort
}
before=$(snapshot)
sleep "$seconds"
after=$(snapshot)
kill $pid
wait $pid 2> /dev/null || true

echo "context switches in $seconds s, by thread:"
join -a2 -e0 -o 2.1,2.2,1.3,2.3 <(echo "$before") <(echo "$after") |
    awk -v s="$seconds" '{d = $4 - $3; total += d; printf "  %-8s %-20s %6d\n", $1, $2, d}
        END {printf "total %d: %.2f a second\n", total, total / s}'

#!/bin/bash
# Click to sound through a real sound server, from the recording of its
# sink's monitor: a private PulseAudio with a null sink that suspends after
# 3 s of nothing, bench_soundserver playing through it, and
# sinkmonitor recording the sink. For each sound asked for, the time from the
# call to the first loud frame at the monitor: the first tune of a game, the
# selection sound with the device asleep and the sink suspended, and again
# with the device awake.
#
#   bench/soundserver/soundserver.sh [rounds [build dir]]
#
# CHOOSE_MS (2000) is how long the bench waits, as a child choosing on the
# selection screen, before the first tune; 0 is a start with --activity.
# SETTLE_MS (8000) is how long it waits after the device has gone to sleep
# before each "asleep" sound: 2600 catches the device closed while the sink
# is still awake, which shows what reopening costs apart from the sink's resume.
# BENCH names another build of bench_soundserver; SOUND_SERVER another file
# with the functions of tests/pulseaudio/privateserver.sh, for another server
# (soundserver-pipewire.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
rounds=${1:-5}
build=${2:-$here/../../build/dev}
bench=${BENCH:-$build/bench/soundserver/bench_soundserver}
monitor=$build/tests/pulseaudio/sinkmonitor
# shellcheck source=../../tests/pulseaudio/privateserver.sh
source "${SOUND_SERVER:-$here/../../tests/pulseaudio/privateserver.sh}"

dir=$(mktemp -d)
cleanup() {
    [ -n "${recorder:-}" ] && kill "$recorder" 2> /dev/null && wait "$recorder" 2> /dev/null
    stop_sound_server
    rm -rf "$dir"
}
trap cleanup EXIT
start_sound_server "$dir" || {
    echo "soundserver.sh: the sound server does not start" >&2
    cat "$dir"/*.log >&2
    exit 1
}
"$monitor" null > "$dir/recording" 2> "$dir/monitor.log" &
recorder=$!
sleep 1
# Sink states while the bench runs, a line every 0.5 s.
(while kill -0 $recorder 2> /dev/null; do echo "$EPOCHREALTIME $(sink_state)"; sleep 0.5; done) > "$dir/states" &
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-pulseaudio} "$bench" "$rounds" "${CHOOSE_MS:-2000}" "${SETTLE_MS:-8000}" > "$dir/events" 2> "$dir/bench.log"
status=$?
sleep 1
cat "$dir/bench.log" >&2
[ $status -eq 0 ] || exit $status

# The first loud frame after each event, in ms from the call.
awk -v states="$dir/states" '
    FNR == NR { event[NR] = $1; at[NR] = $2; took[NR] = $3; n = NR; next }
    $3 >= 0 { loud[++m] = $1 - ($2 - $3) * 1000 / 44100 }
    END {
        for (i = 1; i <= n; i++) {
            for (j = 1; j <= m && loud[j] < at[i]; j++) ;
            ms = j <= m ? loud[j] - at[i] : -1
            printf "%-7s %7.1f ms to the sink (the call took %.1f ms)\n", event[i], ms, took[i]
        }
    }' "$dir/events" "$dir/recording"
echo "sink states seen: $(awk '{print $2}' "$dir/states" | uniq | tr '\n' ' ')"

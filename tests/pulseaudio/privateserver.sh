# Sourced by the tests and benchmarks that play through a real sound server:
# a private PulseAudio with one null sink named "null", which suspends after
# 3 s with nothing playing. Everything it makes lives in the folder given,
# and stop_sound_server ends it.
#
#   start_sound_server DIR    sets PULSE_SERVER; false if it cannot start
#   sink_state                RUNNING, IDLE or SUSPENDED
#   stop_sound_server

sound_server_pids=()

sink_state() {
    pactl list sinks short 2> /dev/null | awk '$2 == "null" {print $NF}'
}

start_sound_server() {
    local dir=$1
    mkdir -p "$dir/runtime" "$dir/home"
    chmod 700 "$dir/runtime"
    export PULSE_SERVER="unix:$dir/runtime/native"
    # Runs as root too; it only warns that it was not meant to.
    HOME=$dir/home XDG_RUNTIME_DIR=$dir/runtime \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        --disallow-exit --log-target=stderr \
        -L module-null-sink \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/runtime/native" \
        -L "module-suspend-on-idle timeout=3" 2> "$dir/server.log" &
    sound_server_pids+=($!)
    local _
    for _ in $(seq 100); do
        pactl info > /dev/null 2>&1 && break
        sleep 0.1
    done
    [ -n "$(sink_state)" ]
}

stop_sound_server() {
    local pid
    for pid in "${sound_server_pids[@]}"; do
        kill "$pid" 2> /dev/null
    done
    for pid in "${sound_server_pids[@]}"; do
        wait "$pid" 2> /dev/null
    done
    sound_server_pids=()
}

# shellcheck shell=bash
# Sourced by soundserver-pipewire.sh: the same three functions as
# tests/pulseaudio/privateserver.sh, for a private PipeWire instead of a
# private PulseAudio: pipewire, wireplumber and pipewire-pulse on a session
# bus of their own, with one null sink named "null", the default sink, which
# wireplumber suspends after its usual 5 s with nothing playing. Everything
# it makes lives in the folder given, and stop_sound_server ends it.
#
#   start_sound_server DIR    sets PULSE_SERVER; false if it cannot start
#   sink_state                RUNNING, IDLE or SUSPENDED
#   stop_sound_server

sound_server_pids=()

sink_state() {
    pactl list sinks short 2> /dev/null | awk '$2 == "null" {print $NF}'
}

# Runs a server with the private folders and bus, away from the machine's
# own: no display (PipeWire's X11 bell), no user settings.
run_private_server() {
    local dir=$1
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY \
        HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" \
        XDG_STATE_HOME="$dir/home/.state" XDG_RUNTIME_DIR="$dir/runtime" \
        PIPEWIRE_RUNTIME_DIR="$dir/runtime" \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/runtime/bus" \
        "$@" 2> "$dir/$1.log" &
    sound_server_pids+=($!)
}

start_sound_server() {
    local dir=$1 _
    local config=$dir/home/.config
    mkdir -p "$dir/runtime" "$config/wireplumber/main.lua.d" \
        "$config/wireplumber/bluetooth.lua.d" "$config/pipewire/pipewire-pulse.conf.d"
    chmod 700 "$dir/runtime"
    # Only the null sink: no sound cards, cameras or Bluetooth (whose logind
    # part wants a system bus and a seat).
    printf '%s\n' 'alsa_monitor.enabled = false' 'v4l2_monitor.enabled = false' \
        'libcamera_monitor.enabled = false' \
        > "$config/wireplumber/main.lua.d/60-null-sink-only.lua"
    echo 'bluez_monitor.enabled = false' \
        > "$config/wireplumber/bluetooth.lua.d/60-null-sink-only.lua"
    # pipewire-pulse 0.3.65 does not make a recording with
    # PA_STREAM_DONT_INHIBIT_AUTO_SUSPEND passive, so sinkmonitor would keep
    # the sink running and it would never suspend; this rule does.
    cat > "$config/pipewire/pipewire-pulse.conf.d/60-passive-sinkmonitor.conf" <<- 'EOF'
	pulse.rules = [
	    {
	        matches = [ { application.process.binary = "sinkmonitor" } ]
	        actions = { update-props = { node.passive = true } }
	    }
	]
	EOF
    # Without a session bus wireplumber and pipewire-pulse do not come up
    # and nothing plays; this one is the servers' alone.
    dbus-daemon --session --nofork --nopidfile \
        --address="unix:path=$dir/runtime/bus" 2> "$dir/dbus.log" &
    sound_server_pids+=($!)
    for _ in $(seq 50); do
        [ -S "$dir/runtime/bus" ] && break
        sleep 0.1
    done
    run_private_server "$dir" pipewire
    for _ in $(seq 50); do
        [ -S "$dir/runtime/pipewire-0" ] && break
        sleep 0.1
    done
    run_private_server "$dir" wireplumber
    run_private_server "$dir" pipewire-pulse
    export PULSE_SERVER="unix:$dir/runtime/pulse/native"
    for _ in $(seq 100); do
        pactl info > /dev/null 2>&1 && break
        sleep 0.1
    done
    pactl load-module module-null-sink sink_name=null > /dev/null 2>&1 &&
        pactl set-default-sink null 2> /dev/null &&
        [ -n "$(sink_state)" ]
}

stop_sound_server() {
    local i
    # The servers first, their bus last.
    for ((i = ${#sound_server_pids[@]} - 1; i >= 0; i--)); do
        kill "${sound_server_pids[i]}" 2> /dev/null
        wait "${sound_server_pids[i]}" 2> /dev/null
    done
    sound_server_pids=()
}

# Shared by run.sh, test.sh and package.sh: install what is missing, then configure and build.
set -euo pipefail

# QUORVEL_VOICE_PACKAGE: the voice of the spoken phrases.
source "$(dirname "${BASH_SOURCE[0]}")/../tools/mediagen/speech/voice.env"

QUORVEL_PACKAGES=(
    # building and running the program
    cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libsdl2-mixer-dev
    timgm6mb-soundfont
    fonts-dejavu-core
    # generating the media library
    festival "$QUORVEL_VOICE_PACKAGE" sox
    # the music synthesizer's headers (the library is loaded at run time),
    # and rendering the tunes in the media tests
    libfluidsynth-dev
    # end-to-end checks
    xvfb xauth xdotool imagemagick clang-format
    # the sound through a private PulseAudio server (tests/pulseaudio)
    pulseaudio pulseaudio-utils libpulse-dev
    # a dialog's X11 window state, which the toolkit has no call for, and
    # reading the windows' properties in the tests
    libxcb1-dev x11-utils
    # the real-time monkey (tools/monkey): its window manager, its X connection,
    # and the stacks of a program that hangs
    openbox python3-xlib gdb
    # the lock on Wayland (keyboard-shortcuts-inhibit), and its test under real
    # compositors (tests/wayland)
    qt6-wayland qt6-wayland-dev qt6-base-private-dev wayland-protocols
    sway weston wtype grim
    # the Debian package (package.sh) and its checks
    dpkg-dev file lintian desktop-file-utils appstream
    # fuzzing the settings (fuzz/run.sh)
    clang-14 libfuzzer-14-dev
)

ensure_packages() {
    local missing=()
    for p in "${QUORVEL_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

build_preset() {
    local preset=$1
    cmake --preset "$preset"
    cmake --build --preset "$preset"
}

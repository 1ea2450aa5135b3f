#!/bin/bash
# soundserver.sh through a private PipeWire (pipewire, wireplumber and
# pipewire-pulse on a session bus of their own) instead of a private
# PulseAudio: the program still plays through SDL's pulseaudio driver, to
# pipewire-pulse, and the same figures come out. The null sink suspends
# after wireplumber's 5 s rather than PulseAudio's 3 s here.
#
#   bench/soundserver/soundserver-pipewire.sh [rounds [build dir]]
here=$(cd "$(dirname "$0")" && pwd)
SOUND_SERVER=$here/pipewireserver.sh exec "$here/soundserver.sh" "$@"

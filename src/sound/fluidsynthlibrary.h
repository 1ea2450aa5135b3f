#pragma once

#include <fluidsynth.h>

#include <string>

#include "runtimelibrary.h"

namespace qv {

// Where FluidSynth is loaded from when the device is opened. SDL2_mixer
// depends on it already, so this only finds the copy loaded with it.
inline constexpr const char* kFluidSynthLibraryName = "libfluidsynth.so.3";

// The FluidSynth functions the music synthesizer calls (see MusicSynth).
#define QV_FLUIDSYNTH_FUNCTIONS(X) \
    X(new_fluid_settings)          \
    X(delete_fluid_settings)       \
    X(fluid_settings_setnum)       \
    X(new_fluid_synth)             \
    X(delete_fluid_synth)          \
    X(fluid_synth_sfload)          \
    X(fluid_synth_set_gain)        \
    X(fluid_synth_get_gain)        \
    X(fluid_synth_system_reset)    \
    X(fluid_synth_write_s16)       \
    X(new_fluid_player)            \
    X(delete_fluid_player)         \
    X(fluid_player_add_mem)        \
    X(fluid_player_play)

struct FluidSynthLibrary {
    QV_FLUIDSYNTH_FUNCTIONS(QV_RUNTIME_FUNCTION_POINTER)
    void resolve(void* handle, std::string& missing) {
        QV_FLUIDSYNTH_FUNCTIONS(QV_RUNTIME_FUNCTION_RESOLVE)
    }
};

inline const FluidSynthLibrary* loadFluidSynth(const char* libraryName, std::string* error) {
    return loadRuntimeLibrary<FluidSynthLibrary>(libraryName, error);
}

}  // namespace qv

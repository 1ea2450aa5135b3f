#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

#include "runtimelibrary.h"

namespace qv {

// The SDL2 and SDL2_mixer functions the sound back end calls. The two
// libraries bring some forty more (PulseAudio, JACK, GLib...); they are
// loaded on the device's opener thread (see SoundDevice).
#define QV_SDL_MIXER_FUNCTIONS(X) \
    X(SDL_InitSubSystem)          \
    X(SDL_QuitSubSystem)          \
    X(SDL_SetHint)                \
    X(SDL_SetHintWithPriority)    \
    X(SDL_ResetHint)              \
    X(SDL_GetError)               \
    X(SDL_GetCurrentAudioDriver)  \
    X(SDL_GetAudioDeviceStatus)   \
    X(SDL_LockAudioDevice)        \
    X(SDL_UnlockAudioDevice)      \
    X(Mix_OpenAudio)              \
    X(Mix_OpenAudioDevice)        \
    X(Mix_CloseAudio)             \
    X(Mix_QuerySpec)              \
    X(Mix_AllocateChannels)       \
    X(Mix_ChannelFinished)        \
    X(Mix_HookMusic)              \
    X(Mix_SetPostMix)             \
    X(Mix_LoadWAV)                \
    X(Mix_FreeChunk)              \
    X(Mix_PlayChannel)            \
    X(Mix_HaltChannel)            \
    X(Mix_Playing)

struct SdlMixerLibrary {
    QV_SDL_MIXER_FUNCTIONS(QV_RUNTIME_FUNCTION_POINTER)
    void resolve(void* handle, std::string& missing) {
        QV_SDL_MIXER_FUNCTIONS(QV_RUNTIME_FUNCTION_RESOLVE)
    }
};

inline const SdlMixerLibrary* loadSdlMixer(const char* libraryName, std::string* error) {
    return loadRuntimeLibrary<SdlMixerLibrary>(libraryName, error);
}

}  // namespace qv

#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

namespace qv {

// The SDL2 and SDL2_mixer functions the sound backend calls.
//
// The two libraries are loaded when the sound device is opened, on the
// backend's opener thread, not when the program starts: they bring some
// forty more (FluidSynth, PulseAudio, JACK, GLib...) whose loading and
// linking would otherwise stand between a click on the program and its
// first window.
#define QV_SDL_MIXER_FUNCTIONS(X) \
    X(SDL_InitSubSystem)          \
    X(SDL_QuitSubSystem)          \
    X(SDL_SetHint)                \
    X(SDL_SetHintWithPriority)    \
    X(SDL_ResetHint)              \
    X(SDL_GetError)               \
    X(SDL_GetCurrentAudioDriver)  \
    X(Mix_OpenAudio)              \
    X(Mix_CloseAudio)             \
    X(Mix_Init)                   \
    X(Mix_Quit)                   \
    X(Mix_QuerySpec)              \
    X(Mix_SetSoundFonts)          \
    X(Mix_AllocateChannels)       \
    X(Mix_ChannelFinished)        \
    X(Mix_HookMusicFinished)      \
    X(Mix_SetPostMix)             \
    X(Mix_LoadWAV)                \
    X(Mix_FreeChunk)              \
    X(Mix_PlayChannel)            \
    X(Mix_HaltChannel)            \
    X(Mix_Playing)                \
    X(Mix_LoadMUS)                \
    X(Mix_FreeMusic)              \
    X(Mix_PlayMusic)              \
    X(Mix_HaltMusic)              \
    X(Mix_PlayingMusic)           \
    X(Mix_VolumeMusic)            \
    X(Mix_MusicDuration)

struct SdlMixerLibrary {
#define QV_SDL_MIXER_DECLARE(name) decltype(&::name) name = nullptr;
    QV_SDL_MIXER_FUNCTIONS(QV_SDL_MIXER_DECLARE)
#undef QV_SDL_MIXER_DECLARE
};

// Loads the libraries (once per name; later calls are cheap and may come from
// any thread). Returns nullptr when a library or one of its functions is
// missing, with the reason in *error.
const SdlMixerLibrary* loadSdlMixer(const char* libraryName, std::string* error);

}  // namespace qv

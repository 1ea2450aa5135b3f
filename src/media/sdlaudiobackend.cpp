#include "sdlaudiobackend.h"

#include <QFile>
#include <QMetaObject>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdio>

namespace qv {

namespace {

// SDL's finished callbacks carry no user data, so they find the backend here.
std::atomic<SdlAudioBackend*> liveBackend{nullptr};

bool startAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

}  // namespace

SdlAudioBackend::SdlAudioBackend(QObject* parent, const char* fallbackDriver)
    : AudioBackend(parent) {
    SdlAudioBackend* expected = nullptr;
    if (!liveBackend.compare_exchange_strong(expected, this))
        return;
    open_ = openAudio(fallbackDriver);
    if (!open_) {
        liveBackend.store(nullptr);
        return;
    }
    Mix_ChannelFinished(&SdlAudioBackend::channelFinishedCallback);
    Mix_HookMusicFinished(&SdlAudioBackend::musicFinishedCallback);
}

SdlAudioBackend::~SdlAudioBackend() {
    if (open_) {
        // Unhooking takes the audio lock, so no callback is running once these return.
        Mix_ChannelFinished(nullptr);
        Mix_HookMusicFinished(nullptr);
        liveBackend.store(nullptr);
        Mix_HaltChannel(-1);
        for (Voice& voice : voices_) {
            if (voice.chunk != nullptr)
                Mix_FreeChunk(voice.chunk);
            voice.chunk = nullptr;
        }
        releaseMusic();
        Mix_CloseAudio();
        Mix_Quit();
    }
    if (ownsSdl_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        // Let a later backend try the real device again.
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
}

bool SdlAudioBackend::openAudio(const char* fallbackDriver) {
    // Qt handles the signals; SDL must not take SIGINT and SIGTERM from it.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    bool ok = startAudio();
    if (!ok && fallbackDriver != nullptr) {
        const QByteArray reason = SDL_GetError();
        // Override: a plain hint loses to an SDL_AUDIODRIVER set in the environment.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, fallbackDriver, SDL_HINT_OVERRIDE);
        ok = startAudio();
        std::fprintf(stderr, "quorvellearning: no sound device (%s); %s\n", reason.constData(),
                     ok ? (QByteArray("sound is off, using the silent \"") + fallbackDriver +
                           "\" audio driver")
                              .constData()
                        : "sound is off");
        if (!ok)
            SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    if (!ok)
        return false;
    ownsSdl_ = true;

    Mix_SetSoundFonts(kSoundFont);
    Mix_Init(MIX_INIT_MID);
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) != 0 && frequency > 0 && channels > 0) {
        frequency_ = frequency;
        frameBytes_ = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
    }
    // Channels are allocated one per player as players are created.
    Mix_AllocateChannels(0);
    if (const char* driver = SDL_GetCurrentAudioDriver())
        driver_ = QString::fromLatin1(driver);
    return true;
}

void SdlAudioBackend::channelFinishedCallback(int channel) {
    // SDL's audio thread, with the audio lock held: post, and touch nothing else.
    if (SdlAudioBackend* self = liveBackend.load()) {
        QMetaObject::invokeMethod(
            self, [self, channel] { self->onChannelFinished(channel); }, Qt::QueuedConnection);
    }
}

void SdlAudioBackend::musicFinishedCallback() {
    if (SdlAudioBackend* self = liveBackend.load()) {
        QMetaObject::invokeMethod(
            self, [self] { self->onMusicFinished(); }, Qt::QueuedConnection);
    }
}

// SDL also reports halts we ordered, and an end may be reported after a new
// sound has started on the channel. Only a player we believe playing whose
// channel has really fallen silent has come to its natural end.
void SdlAudioBackend::onChannelFinished(int channel) {
    if (!valid(channel) || !voices_[channel].playing || Mix_Playing(channel) != 0)
        return;
    voices_[channel].playing = false;
    emit finished(channel);
}

void SdlAudioBackend::onMusicFinished() {
    if (!musicPlaying_ || Mix_PlayingMusic() != 0)
        return;
    musicPlaying_ = false;
    emit finished(musicOwner_);
}

bool SdlAudioBackend::valid(PlayerId player) const {
    return player >= 0 && player < static_cast<PlayerId>(voices_.size()) && voices_[player].inUse;
}

bool SdlAudioBackend::ownsMusic(PlayerId player) const {
    return valid(player) && music_ != nullptr && musicOwner_ == player;
}

AudioBackend::PlayerId SdlAudioBackend::createPlayer(const QString& name) {
    PlayerId id = 0;
    while (id < static_cast<PlayerId>(voices_.size()) && voices_[id].inUse)
        ++id;
    if (id == static_cast<PlayerId>(voices_.size())) {
        voices_.emplace_back();
        if (open_)
            Mix_AllocateChannels(static_cast<int>(voices_.size()));
    }
    voices_[id].inUse = true;
    voices_[id].name = name;
    return id;
}

void SdlAudioBackend::destroyPlayer(PlayerId player) {
    if (!valid(player))
        return;
    close(player);
    voices_[player] = Voice{};
}

void SdlAudioBackend::haltChannel(PlayerId player) {
    Voice& voice = voices_[player];
    voice.playing = false;
    if (!open_)
        return;
    Mix_HaltChannel(player);
    if (voice.chunk != nullptr)
        Mix_FreeChunk(voice.chunk);
    voice.chunk = nullptr;
}

void SdlAudioBackend::haltMusic() {
    musicPlaying_ = false;
    if (open_)
        Mix_HaltMusic();
}

void SdlAudioBackend::releaseMusic() {
    if (music_ == nullptr)
        return;
    haltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
    musicFile_.clear();
    musicOwner_ = -1;
}

bool SdlAudioBackend::playWave(PlayerId player, const QString& path) {
    if (!valid(player))
        return false;
    haltChannel(player);
    if (!open_)
        return false;
    Mix_Chunk* chunk = Mix_LoadWAV(QFile::encodeName(path).constData());
    if (chunk == nullptr)
        return false;
    if (Mix_PlayChannel(player, chunk, 0) < 0) {
        Mix_FreeChunk(chunk);
        return false;
    }
    voices_[player].chunk = chunk;
    voices_[player].playing = true;
    return true;
}

bool SdlAudioBackend::openMusic(PlayerId player, const QString& path) {
    if (!valid(player) || !open_)
        return false;
    const QByteArray file = QFile::encodeName(path);
    Mix_Music* music = Mix_LoadMUS(file.constData());
    if (music == nullptr)
        return false;
    // One music stream: whoever held it is cut off.
    releaseMusic();
    haltChannel(player);
    music_ = music;
    musicFile_ = file;
    musicAtTop_ = true;
    musicOwner_ = player;
    return true;
}

// A MIDI stream that has played cannot be moved back to its top (FluidSynth
// neither seeks nor restarts a finished song), so it is loaded afresh.
bool SdlAudioBackend::reloadMusic() {
    Mix_Music* music = Mix_LoadMUS(musicFile_.constData());
    if (music == nullptr)
        return false;
    haltMusic();
    Mix_FreeMusic(music_);
    music_ = music;
    musicAtTop_ = true;
    return true;
}

bool SdlAudioBackend::rewindMusic(PlayerId player) {
    if (!ownsMusic(player))
        return false;
    if (musicAtTop_)
        return true;
    const bool wasPlaying = musicPlaying_;
    if (!reloadMusic())
        return false;
    return !wasPlaying || playMusic(player);
}

bool SdlAudioBackend::playMusic(PlayerId player) {
    if (!ownsMusic(player))
        return false;
    if (musicPlaying_)
        return true;
    // At the end of the tune there is nothing left to play: play it again.
    if (!musicAtTop_ && !reloadMusic())
        return false;
    if (Mix_PlayMusic(music_, 0) != 0)
        return false;
    musicPlaying_ = true;
    musicAtTop_ = false;
    return true;
}

void SdlAudioBackend::close(PlayerId player) {
    if (!valid(player))
        return;
    haltChannel(player);
    if (ownsMusic(player))
        releaseMusic();
}

bool SdlAudioBackend::isPlaying(PlayerId player) const {
    if (!valid(player))
        return false;
    return voices_[player].playing || (ownsMusic(player) && musicPlaying_);
}

qint64 SdlAudioBackend::lengthMs(PlayerId player) const {
    if (!valid(player))
        return -1;
    if (const Mix_Chunk* chunk = voices_[player].chunk) {
        return qint64{chunk->alen} * 1000 / (qint64{frequency_} * frameBytes_);
    }
    if (ownsMusic(player)) {
        const double seconds = Mix_MusicDuration(music_);
        if (seconds > 0)
            return static_cast<qint64>(seconds * 1000);
    }
    return -1;
}

}  // namespace qv

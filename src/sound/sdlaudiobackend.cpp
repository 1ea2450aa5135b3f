#include "sdlaudiobackend.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>

#include "miditiming.h"
#include "sdlmixerlibrary.h"

namespace qv {

namespace {

// SDL's finished callbacks carry no user data, so they find the backend here.
std::atomic<SdlAudioBackend*> liveBackend{nullptr};

bool startAudio(const SdlMixerLibrary& sdl) {
    if (sdl.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    // 512 frames: 11.6 ms from a click to its sound.
    if (sdl.Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512) == 0)
        return true;
    sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

}  // namespace

SdlAudioBackend::SdlAudioBackend(QObject* parent, const char* fallbackDriver,
                                 const char* libraryName, Opening opening)
    : AudioBackend(parent), fallbackDriver_(fallbackDriver), libraryName_(libraryName) {
    SdlAudioBackend* expected = nullptr;
    if (!liveBackend.compare_exchange_strong(expected, this))
        return;
    opening_ = true;
    if (opening == Opening::Now)
        openDevice();
}

void SdlAudioBackend::openDevice() {
    if (!opening_ || opener_.joinable())
        return;
    opener_ = std::thread([this] {
        openedOk_ = openAudio(fallbackDriver_, libraryName_);
        // Sounds asked for meanwhile start as soon as the UI thread gets here.
        QMetaObject::invokeMethod(
            this, [this] { finishOpening(); }, Qt::QueuedConnection);
    });
}

void SdlAudioBackend::finishOpening() {
    if (!opening_)
        return;
    // Whatever cannot wait for the device opens it now.
    openDevice();
    opener_.join();
    opening_ = false;
    open_ = openedOk_;
    if (!open_) {
        liveBackend.store(nullptr);
        for (Voice& voice : voices_) {
            voice.pendingWave.clear();
            voice.playing = false;
        }
        return;
    }
    sdl_->Mix_ChannelFinished(&SdlAudioBackend::channelFinishedCallback);
    sdl_->Mix_HookMusicFinished(&SdlAudioBackend::musicFinishedCallback);
    sdl_->Mix_SetPostMix(&SdlAudioBackend::postMixCallback, this);
    sdl_->Mix_AllocateChannels(static_cast<int>(voices_.size()));
    for (PlayerId id = 0; id < static_cast<PlayerId>(voices_.size()); ++id) {
        Voice& voice = voices_[id];
        const QString wave = voice.pendingWave;
        voice.pendingWave.clear();
        if (voice.inUse && !wave.isEmpty() && !startWave(id, wave))
            voice.playing = false;
    }
}

QString SdlAudioBackend::driverName() {
    finishOpening();
    return driver_;
}

bool SdlAudioBackend::isAvailable() {
    finishOpening();
    return open_;
}

SdlAudioBackend::~SdlAudioBackend() {
    if (opening_ && !opener_.joinable()) {
        // Never needed: nothing to open only to close it again.
        opening_ = false;
        liveBackend.store(nullptr);
    }
    finishOpening();
    if (open_) {
        // Unhooking takes the audio lock, so no callback is running once these return.
        sdl_->Mix_SetPostMix(nullptr, nullptr);
        sdl_->Mix_ChannelFinished(nullptr);
        sdl_->Mix_HookMusicFinished(nullptr);
        liveBackend.store(nullptr);
        sdl_->Mix_HaltChannel(-1);
        for (Voice& voice : voices_) {
            if (voice.chunk != nullptr)
                sdl_->Mix_FreeChunk(voice.chunk);
            voice.chunk = nullptr;
        }
        releaseMusic();
        sdl_->Mix_CloseAudio();
        sdl_->Mix_Quit();
    }
    if (ownsSdl_) {
        sdl_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        // Let a later backend try the real device again.
        sdl_->SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
}

bool SdlAudioBackend::openAudio(const char* fallbackDriver, const char* libraryName) {
    std::string error;
    sdl_ = loadSdlMixer(libraryName, &error);
    if (sdl_ == nullptr) {
        std::fprintf(stderr, "quorvellearning: no sound (%s); sound is off\n", error.c_str());
        return false;
    }
    // Qt handles the signals; SDL must not take SIGINT and SIGTERM from it.
    sdl_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    bool ok = startAudio(*sdl_);
    if (!ok && fallbackDriver != nullptr) {
        const QByteArray reason = sdl_->SDL_GetError();
        // Override: a plain hint loses to an SDL_AUDIODRIVER set in the environment.
        sdl_->SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, fallbackDriver, SDL_HINT_OVERRIDE);
        ok = startAudio(*sdl_);
        std::fprintf(stderr, "quorvellearning: no sound device (%s); %s\n", reason.constData(),
                     ok ? (QByteArray("sound is off, using the silent \"") + fallbackDriver +
                           "\" audio driver")
                              .constData()
                        : "sound is off");
        if (!ok)
            sdl_->SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    if (!ok)
        return false;
    ownsSdl_ = true;

    sdl_->Mix_SetSoundFonts(kSoundFont);
    sdl_->Mix_Init(MIX_INIT_MID);
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (sdl_->Mix_QuerySpec(&frequency, &format, &channels) != 0 && frequency > 0 && channels > 0) {
        frequency_ = frequency;
        frameBytes_ = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
    }
    // Channels are allocated one per player as players are created.
    sdl_->Mix_AllocateChannels(0);
    if (const char* driver = sdl_->SDL_GetCurrentAudioDriver())
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
        // A halt we ordered has set the run to 0 first.
        const quint32 run = self->musicRun_.load();
        QMetaObject::invokeMethod(
            self, [self, run] { self->onMusicFinished(run); }, Qt::QueuedConnection);
    }
}

// SDL also reports halts we ordered, and an end may be reported after a new
// sound has started on the channel. Only a player we believe playing whose
// channel has really fallen silent has come to its natural end.
void SdlAudioBackend::onChannelFinished(int channel) {
    if (!valid(channel) || !voices_[channel].playing || sdl_->Mix_Playing(channel) != 0)
        return;
    voices_[channel].playing = false;
    emit finished(channel);
}

void SdlAudioBackend::onMusicFinished(quint32 run) {
    if (!musicPlaying_ || run == 0 || run != musicRunSerial_ || sdl_->Mix_PlayingMusic() != 0)
        return;
    musicPlaying_ = false;
    musicRun_.store(0);
    emit finished(musicOwner_);
}

// The audio thread has played the tune to its last note's end: it has ended,
// unless it was stopped or replaced since. Its release rings on, fading out,
// until the next tune takes the stream or the player is closed.
void SdlAudioBackend::onTuneEndReached(quint32 run) {
    if (!musicPlaying_ || run != musicRunSerial_)
        return;
    musicPlaying_ = false;
    emit finished(musicOwner_);
}

void SdlAudioBackend::postMixCallback(void* self, unsigned char*, int bytes) {
    static_cast<SdlAudioBackend*>(self)->afterMix(bytes);
}

// SDL's audio thread, with the audio lock held, right after a buffer has been
// mixed. The music volume set here applies from the next buffer on.
void SdlAudioBackend::afterMix(int bytes) {
    const qint64 frames = bytes / frameBytes_;
    const double ms = frames * 1000.0 / frequency_;
    const bool voiceSounding = sdl_->Mix_Playing(-1) > 0;
    const double level = ducking_.advance(ms, voiceSounding);
    musicLevel_.store(level);

    const quint32 run = musicRun_.load();
    if (run != mixedRun_) {
        mixedRun_ = run;
        // The tune was started before this buffer was mixed.
        mixedFrames_ = run != 0 ? frames : 0;
        endFade_ = 1.0;
        endReported_ = false;
    } else if (run != 0) {
        mixedFrames_ += frames;
        const qint64 endFrame = musicEndFrame_.load();
        // At its last note's end the tune has ended: the next one can be
        // loaded while this one's release rings on, then fades out.
        if (endFrame >= 0 && mixedFrames_ >= endFrame && !endReported_) {
            endReported_ = true;
            lastTuneEndMs_.store(mixedFrames_ * 1000 / frequency_);
            QMetaObject::invokeMethod(
                this, [this, run] { onTuneEndReached(run); }, Qt::QueuedConnection);
        }
        if (endFrame >= 0 && mixedFrames_ >= endFrame + qint64{kReleaseMs} * frequency_ / 1000)
            endFade_ = std::max(0.0, endFade_ - ms / kEndFadeMs);
    }

    const int volume = static_cast<int>(std::lround(level * endFade_ * MIX_MAX_VOLUME));
    if (volume != musicVolume_) {
        musicVolume_ = volume;
        // FluidSynth moves its gain smoothly within each block it renders.
        sdl_->Mix_VolumeMusic(volume);
    }
}

bool SdlAudioBackend::valid(PlayerId player) const {
    return player >= 0 && player < static_cast<PlayerId>(voices_.size()) && voices_[player].inUse;
}

bool SdlAudioBackend::ownsMusic(PlayerId player) const {
    return valid(player) && (music_ != nullptr || loading_) && musicOwner_ == player;
}

AudioBackend::PlayerId SdlAudioBackend::createPlayer(const QString& name) {
    PlayerId id = 0;
    while (id < static_cast<PlayerId>(voices_.size()) && voices_[id].inUse)
        ++id;
    if (id == static_cast<PlayerId>(voices_.size())) {
        voices_.emplace_back();
        // While the device is being opened, the channels are allocated when it is.
        if (open_)
            sdl_->Mix_AllocateChannels(static_cast<int>(voices_.size()));
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
    voice.pendingWave.clear();
    if (!open_)
        return;
    sdl_->Mix_HaltChannel(player);
    if (voice.chunk != nullptr)
        sdl_->Mix_FreeChunk(voice.chunk);
    voice.chunk = nullptr;
}

void SdlAudioBackend::haltMusic() {
    musicPlaying_ = false;
    playWhenLoaded_ = false;
    musicRun_.store(0);
    if (open_)
        sdl_->Mix_HaltMusic();
}

void SdlAudioBackend::retireMusic() {
    if (retiring_ == nullptr)
        return;
    // Ordered halts are not ends: the run goes to 0 first.
    musicRun_.store(0);
    sdl_->Mix_HaltMusic();
    sdl_->Mix_FreeMusic(retiring_);
    retiring_ = nullptr;
}

void SdlAudioBackend::releaseMusic() {
    retireMusic();
    if (loading_) {
        haltMusic();
        finishLoading(loadSerial_);
    }
    if (music_ == nullptr)
        return;
    haltMusic();
    sdl_->Mix_FreeMusic(music_);
    music_ = nullptr;
    musicFile_.clear();
    musicOwner_ = -1;
}

bool SdlAudioBackend::playWave(PlayerId player, const QString& path) {
    if (!valid(player))
        return false;
    haltChannel(player);
    if (opening_) {
        const QFileInfo file(path);
        if (!file.isFile() || !file.isReadable())
            return false;
        voices_[player].pendingWave = path;
        voices_[player].playing = true;
        return true;
    }
    return startWave(player, path);
}

bool SdlAudioBackend::startWave(PlayerId player, const QString& path) {
    if (!open_)
        return false;
    Mix_Chunk* chunk = sdl_->Mix_LoadWAV(QFile::encodeName(path).constData());
    if (chunk == nullptr)
        return false;
    if (sdl_->Mix_PlayChannel(player, chunk, 0) < 0) {
        sdl_->Mix_FreeChunk(chunk);
        return false;
    }
    voices_[player].chunk = chunk;
    voices_[player].playing = true;
    return true;
}

// Loading a tune builds a synthesizer and reads the whole sound font into
// it, a tenth of a second or more: that runs on a thread of its own, so the
// game does not stop at each new tune. A file that is missing or holds no
// notes fails at once and leaves the player holding what it held.
bool SdlAudioBackend::openMusic(PlayerId player, const QString& path) {
    finishOpening();
    if (!valid(player) || !open_)
        return false;
    QFile tune(path);
    if (!tune.open(QIODevice::ReadOnly))
        return false;
    const MidiTiming timing = readMidiTiming(tune.readAll());
    if (!timing.hasNotes())
        return false;
    // One music stream: whoever held it is cut off; a tune that has ended
    // rings out until this one is loaded.
    if (musicPlaying_ || loading_) {
        releaseMusic();
    } else {
        retireMusic();
        retiring_ = music_;
        music_ = nullptr;
    }
    haltChannel(player);
    musicFile_ = QFile::encodeName(path);
    musicAtTop_ = true;
    musicOwner_ = player;
    musicNoteEndMs_ = qint64(std::ceil(timing.lastNoteEndMs));
    loading_ = true;
    const quint32 load = ++loadSerial_;
    loader_ = std::thread([this, load, file = musicFile_] {
        loadedMusic_ = sdl_->Mix_LoadMUS(file.constData());
        QMetaObject::invokeMethod(
            this, [this, load] { finishLoading(load); }, Qt::QueuedConnection);
    });
    return true;
}

void SdlAudioBackend::finishLoading(quint32 load) {
    if (!loading_ || load != loadSerial_)
        return;
    loader_.join();
    loading_ = false;
    retireMusic();
    music_ = loadedMusic_;
    loadedMusic_ = nullptr;
    if (music_ == nullptr) {
        // Nothing to play after all: a "play" given meanwhile ends without done.
        musicPlaying_ = false;
        playWhenLoaded_ = false;
        musicFile_.clear();
        musicOwner_ = -1;
        return;
    }
    if (playWhenLoaded_) {
        playWhenLoaded_ = false;
        musicPlaying_ = false;
        if (!startMusic())
            musicPlaying_ = false;
    }
}

// A MIDI stream that has played cannot be moved back to its top (FluidSynth
// neither seeks nor restarts a finished song), so it is loaded afresh.
bool SdlAudioBackend::reloadMusic() {
    Mix_Music* music = sdl_->Mix_LoadMUS(musicFile_.constData());
    if (music == nullptr)
        return false;
    haltMusic();
    sdl_->Mix_FreeMusic(music_);
    music_ = music;
    musicAtTop_ = true;
    return true;
}

bool SdlAudioBackend::rewindMusic(PlayerId player) {
    finishOpening();
    if (!ownsMusic(player))
        return false;
    if (musicAtTop_ || loading_)
        return true;
    const bool wasPlaying = musicPlaying_;
    if (!reloadMusic())
        return false;
    return !wasPlaying || playMusic(player);
}

bool SdlAudioBackend::playMusic(PlayerId player) {
    finishOpening();
    if (!ownsMusic(player))
        return false;
    if (musicPlaying_)
        return true;
    if (loading_) {
        // It starts the moment it is loaded, and plays meanwhile as far as
        // anyone asking can tell.
        playWhenLoaded_ = true;
        musicPlaying_ = true;
        return true;
    }
    // At the end of the tune there is nothing left to play: play it again.
    if (!musicAtTop_ && !reloadMusic())
        return false;
    return startMusic();
}

bool SdlAudioBackend::startMusic() {
    // The tune counts as ended once its last note has been released, not when
    // FluidSynth, seconds later, says so.
    musicEndFrame_.store(musicNoteEndMs_ < 0 ? -1 : musicNoteEndMs_ * qint64{frequency_} / 1000);
    if (sdl_->Mix_PlayMusic(music_, 0) != 0)
        return false;
    musicPlaying_ = true;
    musicAtTop_ = false;
    musicRunSerial_ = musicRunSerial_ % 0xffffffffu + 1;
    musicRun_.store(musicRunSerial_);
    return true;
}

void SdlAudioBackend::close(PlayerId player) {
    finishOpening();
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
        if (musicNoteEndMs_ >= 0)
            return musicNoteEndMs_;
        const double seconds = music_ != nullptr ? sdl_->Mix_MusicDuration(music_) : -1;
        if (seconds > 0)
            return static_cast<qint64>(seconds * 1000);
    }
    return -1;
}

}  // namespace qv

#include "sounddevice.h"

#include <QByteArray>

#include <cstdio>
#include <cstring>
#include <string>

#include "musicsynth.h"
#include "sdlmixerlibrary.h"

namespace qv {

namespace {

// 512 frames: 11.6 ms from a click to its sound.
constexpr int kBufferFrames = 512;

bool startAudio(const SdlMixerLibrary& sdl) {
    if (sdl.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (sdl.Mix_OpenAudio(44100, AUDIO_S16SYS, 2, kBufferFrames) == 0)
        return true;
    sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

// SDL2_mixer does not say which device it opened; it is the one that plays.
SDL_AudioDeviceID openDeviceId(const SdlMixerLibrary& sdl) {
    for (SDL_AudioDeviceID id = 1; id <= 16; ++id) {
        if (sdl.SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED)
            return id;
    }
    return 0;
}

// With these drivers SDL's own thread calls the mixer, which may stop there
// for a while; the others (PipeWire, JACK) call it from the sound server's
// thread, which must never stop.
bool callsBackOnItsOwnThread(const char* driver) {
    for (const char* own : {"pulseaudio", "alsa", "dsp", "sndio", "disk", "dummy"}) {
        if (std::strcmp(driver, own) == 0)
            return true;
    }
    return false;
}

}  // namespace

SoundDevice::SoundDevice(const char* fallbackDriver, const char* libraryName)
    : fallbackDriver_(fallbackDriver), libraryName_(libraryName) {}

SoundDevice::~SoundDevice() {
    close();
}

void SoundDevice::startOpening(std::function<void()> opened) {
    if (openingStarted())
        return;
    std::promise<bool> openedPromise;
    opened_ = openedPromise.get_future();
    opener_ = std::thread(
        [this, openedPromise = std::move(openedPromise), opened = std::move(opened)]() mutable {
            openedPromise.set_value(open());
            if (opened)
                opened();
        });
}

bool SoundDevice::waitOpened() {
    startOpening({});
    opened_.wait();
    if (opener_.joinable())
        opener_.join();
    return open_;
}

void SoundDevice::closeWhenQuiet() {
    if (!open_)
        return;
    {
        const Awake awake(*this);
        // Stops SDL's audio thread; it cannot fall asleep meanwhile.
        sdl_->Mix_CloseAudio();
    }
    open_ = false;
    closedWhenQuiet_ = true;
    deviceId_ = 0;
}

bool SoundDevice::reopen() {
    if (!closedWhenQuiet_)
        return open_;
    // The format it had, converted by SDL if the device now wants another:
    // the synthesizer renders at its rate.
    if (sdl_->Mix_OpenAudioDevice(format_.frequency, AUDIO_S16SYS, format_.channels, kBufferFrames,
                                  nullptr, 0) != 0) {
        std::fprintf(stderr, "quorvellearning: the sound device does not open again (%s)\n",
                     sdl_->SDL_GetError());
        return false;
    }
    closedWhenQuiet_ = false;
    open_ = findDevice();
    return open_;
}

void SoundDevice::startLoadingSynth(std::function<void()> loaded) {
    if (synthLoader_.joinable() || synthTaken_ || !(open_ || closedWhenQuiet_))
        return;
    std::promise<std::unique_ptr<MusicSynth>> synthPromise;
    synthLoaded_ = synthPromise.get_future();
    synthLoader_ = std::thread([format = format_, synthPromise = std::move(synthPromise),
                                loaded = std::move(loaded)]() mutable {
        synthPromise.set_value(loadSynth(format));
        if (loaded)
            loaded();
    });
}

MusicSynth* SoundDevice::synth() {
    if (!synthTaken_ && synthLoader_.joinable()) {
        synth_ = synthLoaded_.get();
        synthLoader_.join();
        synthTaken_ = true;
    }
    return synth_.get();
}

void SoundDevice::close() {
    if (!openingStarted())
        return;
    waitOpened();
    synth();
    if (open_) {
        const Awake awake(*this);
        // Stops SDL's audio thread; it cannot fall asleep meanwhile.
        sdl_->Mix_CloseAudio();
        open_ = false;
    }
    synth_.reset();
    if (ownsSdl_) {
        sdl_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        // Let a later device try the real one again.
        sdl_->SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        ownsSdl_ = false;
    }
}

bool SoundDevice::open() {
    std::string error;
    sdl_ = loadSdlMixer(libraryName_, &error);
    if (sdl_ == nullptr) {
        std::fprintf(stderr, "quorvellearning: no sound (%s); sound is off\n", error.c_str());
        return false;
    }
    // Qt handles the signals; SDL must not take SIGINT and SIGTERM from it.
    sdl_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The sound server shows this name for the stream, not "SDL Application";
    // a plain hint, so that SDL_AUDIO_DEVICE_APP_NAME in the environment wins.
    sdl_->SDL_SetHint(SDL_HINT_APP_NAME, kSoundAppName);
    bool ok = startAudio(*sdl_);
    if (!ok && fallbackDriver_ != nullptr) {
        const QByteArray reason = sdl_->SDL_GetError();
        // Override: a plain hint loses to an SDL_AUDIODRIVER set in the environment.
        sdl_->SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, fallbackDriver_, SDL_HINT_OVERRIDE);
        ok = startAudio(*sdl_);
        std::fprintf(stderr, "quorvellearning: no sound device (%s); %s\n", reason.constData(),
                     ok ? (QByteArray("sound is off, using the silent \"") + fallbackDriver_ +
                           "\" audio driver")
                              .constData()
                        : "sound is off");
        if (!ok)
            sdl_->SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    if (!ok)
        return false;
    ownsSdl_ = true;
    open_ = true;

    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (sdl_->Mix_QuerySpec(&frequency, &format, &channels) != 0 && frequency > 0 && channels > 0) {
        format_.frequency = frequency;
        format_.channels = channels;
        format_.frameBytes = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
    }
    if (!findDevice())
        return false;
    const char* driver = sdl_->SDL_GetCurrentAudioDriver();
    driver_ = QString::fromLatin1(driver != nullptr ? driver : "");
    maySleep_ = driver != nullptr && callsBackOnItsOwnThread(driver);
    return true;
}

bool SoundDevice::findDevice() {
    deviceId_ = openDeviceId(*sdl_);
    if (deviceId_ == 0) {
        // Without it the mixer's lock cannot be taken.
        std::fprintf(stderr, "quorvellearning: SDL2_mixer opened no device we can find\n");
        sdl_->Mix_CloseAudio();
        open_ = false;
        return false;
    }
    // Channels are allocated one per player as players are created.
    sdl_->Mix_AllocateChannels(0);
    return true;
}

std::unique_ptr<MusicSynth> SoundDevice::loadSynth(Format format) {
    std::string error = "the device does not take 16-bit samples";
    std::unique_ptr<MusicSynth> synth;
    // SDL2_mixer keeps the 16-bit format it is asked for.
    if (format.frameBytes == 2 * format.channels)
        synth = MusicSynth::load(format.frequency, &error);
    if (synth == nullptr)
        std::fprintf(stderr, "quorvellearning: no music (%s)\n", error.c_str());
    return synth;
}

SoundDevice::Awake::Awake(SoundDevice& device) : device_(device) {
    const std::lock_guard<std::mutex> lock(device_.gateMutex_);
    ++device_.awakeHolds_;
    if (device_.asleep_)
        device_.wake_.notify_one();
}

SoundDevice::Awake::~Awake() {
    const std::lock_guard<std::mutex> lock(device_.gateMutex_);
    --device_.awakeHolds_;
}

SoundDevice::Locked::Locked(SoundDevice& device)
    : awake_(device), device_(device), locked_(device.open_) {
    if (locked_)
        device_.sdl_->SDL_LockAudioDevice(device_.deviceId_);
}

SoundDevice::Locked::~Locked() {
    if (locked_)
        device_.sdl_->SDL_UnlockAudioDevice(device_.deviceId_);
}

void SoundDevice::sleep() {
    if (!maySleep_)
        return;
    std::unique_lock<std::mutex> lock(gateMutex_);
    asleep_ = awakeHolds_ == 0;
    wake_.wait(lock, [this] { return awakeHolds_ > 0; });
    asleep_ = false;
}

bool SoundDevice::asleep() const {
    const std::lock_guard<std::mutex> lock(gateMutex_);
    return asleep_;
}

}  // namespace qv

#include "sdlaudiobackend.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <atomic>
#include <cmath>

#include "miditiming.h"
#include "musicsynth.h"
#include "sdlmixerlibrary.h"

namespace qv {

namespace {

// SDL's finished callbacks carry no user data, so they find the backend here.
std::atomic<SdlAudioBackend*> liveBackend{nullptr};

}  // namespace

SdlAudioBackend::SdlAudioBackend(QObject* parent, const char* fallbackDriver,
                                 const char* libraryName, Opening opening)
    : AudioBackend(parent),
      device_(fallbackDriver, libraryName),
      music_(device_),
      audioThread_(
          device_, music_.cue(),
          [this](quint32 run) {
              QMetaObject::invokeMethod(
                  this, [this, run] { onTuneEndReached(run); }, Qt::QueuedConnection);
          },
          [this] { QMetaObject::invokeMethod(&quietTimer_, qOverload<>(&QTimer::start)); }) {
    quietTimer_.setSingleShot(true);
    quietTimer_.setInterval(kCloseAfterSleepMs);
    connect(&quietTimer_, &QTimer::timeout, this, &SdlAudioBackend::closeWhenQuiet);
    SdlAudioBackend* expected = nullptr;
    if (!liveBackend.compare_exchange_strong(expected, this))
        return;
    opening_ = true;
    if (opening == Opening::Now)
        openDevice();
}

void SdlAudioBackend::openDevice() {
    if (!opening_)
        return;
    // Sounds asked for meanwhile start as soon as the UI thread gets the news.
    device_.startOpening([this] {
        QMetaObject::invokeMethod(
            this, [this] { finishOpening(); }, Qt::QueuedConnection);
    });
}

void SdlAudioBackend::finishOpening() {
    if (!opening_)
        return;
    // Whatever cannot wait for the device opens it now.
    openDevice();
    open_ = device_.waitOpened();
    opening_ = false;
    if (!open_) {
        liveBackend.store(nullptr);
        for (Voice& voice : voices_) {
            voice.pendingWave.clear();
            voice.playing = false;
        }
        return;
    }
    hookDevice();
    for (PlayerId id = 0; id < static_cast<PlayerId>(voices_.size()); ++id) {
        Voice& voice = voices_[id];
        const QString wave = voice.pendingWave;
        voice.pendingWave.clear();
        if (voice.inUse && !wave.isEmpty() && !startWave(id, wave))
            voice.playing = false;
    }
}

void SdlAudioBackend::hookDevice() {
    // No callback of ours runs before these: the quiet is counted afresh.
    audioThread_.restart();
    const SoundDevice::Mixer mixer = device_.mixer();
    mixer->Mix_ChannelFinished(&SdlAudioBackend::channelFinishedCallback);
    mixer->Mix_SetPostMix(&AudioThread::afterMixCallback, &audioThread_);
    mixer->Mix_HookMusic(&AudioThread::beforeMixCallback, &audioThread_);
    mixer->Mix_AllocateChannels(static_cast<int>(voices_.size()));
}

void SdlAudioBackend::unhookDevice() {
    // Unhooking takes the audio lock, so no callback is running once these return.
    const SoundDevice::Mixer mixer = device_.mixer();
    mixer->Mix_SetPostMix(nullptr, nullptr);
    mixer->Mix_HookMusic(nullptr, nullptr);
    mixer->Mix_ChannelFinished(nullptr);
    mixer->Mix_HaltChannel(-1);
    for (Voice& voice : voices_) {
        if (voice.chunk != nullptr)
            mixer->Mix_FreeChunk(voice.chunk);
        voice.chunk = nullptr;
    }
}

bool SdlAudioBackend::wakeDevice() {
    if (!open_)
        return false;
    if (device_.isOpen())
        return true;
    if (!device_.reopen())
        return false;
    hookDevice();
    return true;
}

bool SdlAudioBackend::anythingPlays() const {
    for (const Voice& voice : voices_) {
        if (voice.playing)
            return true;
    }
    return music_.playing();
}

// The audio thread has had nothing to mix for a while: unless something has
// started since, the device goes, and with it the sound server's stream.
void SdlAudioBackend::closeWhenQuiet() {
    if (!open_ || !device_.isOpen() || !audioThread_.quiet())
        return;
    if (anythingPlays()) {
        // Its end is on its way; the audio thread has no news left to give.
        quietTimer_.start();
        return;
    }
    unhookDevice();
    device_.closeWhenQuiet();
}

// Opening the device again costs a few milliseconds through PulseAudio but
// some 50 through PipeWire, which sets up a stream and links it first: the
// pointer moving, or a key, opens it before the click that wants a sound.
void SdlAudioBackend::expectSound() {
    if (!open_)
        return;
    if (!device_.isOpen()) {
        wakeDevice();
        return;
    }
    // Still open and counting down to its closing: count afresh.
    if (quietTimer_.isActive())
        quietTimer_.start();
}

QString SdlAudioBackend::driverName() {
    finishOpening();
    return open_ ? device_.driver() : QString();
}

bool SdlAudioBackend::isAvailable() {
    finishOpening();
    return open_;
}

double SdlAudioBackend::musicGain() const {
    const MusicSynth* synth = music_.cue().synth;
    return synth != nullptr ? synth->gain() : -1;
}

SdlAudioBackend::~SdlAudioBackend() {
    if (opening_ && !device_.openingStarted()) {
        // Never needed: nothing to open only to close it again.
        opening_ = false;
        liveBackend.store(nullptr);
    }
    finishOpening();
    if (open_) {
        if (device_.isOpen())
            unhookDevice();
        liveBackend.store(nullptr);
        music_.release();
    }
    device_.close();
}

void SdlAudioBackend::channelFinishedCallback(int channel) {
    // SDL's audio thread, with the audio lock held: post, and touch nothing else.
    if (SdlAudioBackend* self = liveBackend.load()) {
        QMetaObject::invokeMethod(
            self, [self, channel] { self->onChannelFinished(channel); }, Qt::QueuedConnection);
    }
}

// SDL also reports halts we ordered, and an end may be reported after a new
// sound has started on the channel. Only a player we believe playing whose
// channel has really fallen silent has come to its natural end.
void SdlAudioBackend::onChannelFinished(int channel) {
    if (!valid(channel) || !voices_[channel].playing ||
        (device_.isOpen() && device_.mixer()->Mix_Playing(channel) != 0))
        return;
    voices_[channel].playing = false;
    emit finished(channel);
}

// The tune has played to its last note's end, unless it was stopped or
// replaced since. Its release rings on until the next tune takes the stream
// or the player is closed.
void SdlAudioBackend::onTuneEndReached(quint32 run) {
    if (music_.reachedEnd(run))
        emit finished(music_.owner());
}

bool SdlAudioBackend::valid(PlayerId player) const {
    return player >= 0 && player < static_cast<PlayerId>(voices_.size()) && voices_[player].inUse;
}

bool SdlAudioBackend::ownsMusic(PlayerId player) const {
    return valid(player) && music_.holdsTune() && music_.owner() == player;
}

AudioBackend::PlayerId SdlAudioBackend::createPlayer(const QString& name) {
    PlayerId id = 0;
    while (id < static_cast<PlayerId>(voices_.size()) && voices_[id].inUse)
        ++id;
    if (id == static_cast<PlayerId>(voices_.size())) {
        voices_.emplace_back();
        // While the device is being opened or closed, the channels are
        // allocated when it opens.
        if (open_ && device_.isOpen())
            device_.mixer()->Mix_AllocateChannels(static_cast<int>(voices_.size()));
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
    // A closed device plays nothing and holds no chunk.
    if (!open_ || !device_.isOpen())
        return;
    const SoundDevice::Mixer mixer = device_.mixer();
    mixer->Mix_HaltChannel(player);
    if (voice.chunk != nullptr)
        mixer->Mix_FreeChunk(voice.chunk);
    voice.chunk = nullptr;
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
    if (!wakeDevice())
        return false;
    const SoundDevice::Mixer mixer = device_.mixer();
    Mix_Chunk* chunk = mixer->Mix_LoadWAV(QFile::encodeName(path).constData());
    if (chunk == nullptr)
        return false;
    if (mixer->Mix_PlayChannel(player, chunk, 0) < 0) {
        mixer->Mix_FreeChunk(chunk);
        return false;
    }
    voices_[player].chunk = chunk;
    voices_[player].playing = true;
    return true;
}

// The first tune asked for starts building the synthesizer; later ones find
// it ready and start at once. A file that is missing or holds no notes fails
// and leaves the player holding what it held.
bool SdlAudioBackend::openMusic(PlayerId player, const QString& path) {
    finishOpening();
    if (!valid(player) || !open_)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray tune = file.readAll();
    const MidiTiming timing = readMidiTiming(tune);
    if (!timing.hasNotes() || music_.synthMissing())
        return false;
    device_.startLoadingSynth([this] {
        QMetaObject::invokeMethod(
            this, [this] { onSynthLoaded(); }, Qt::QueuedConnection);
    });
    haltChannel(player);
    // The tune counts as ended once its last note has been released, not when
    // FluidSynth, seconds later, says so.
    music_.hold(player, tune, qint64(std::ceil(timing.lastNoteEndMs)));
    return true;
}

bool SdlAudioBackend::rewindMusic(PlayerId player) {
    finishOpening();
    return ownsMusic(player) && music_.rewind();
}

bool SdlAudioBackend::playMusic(PlayerId player) {
    finishOpening();
    return ownsMusic(player) && wakeDevice() && music_.play();
}

void SdlAudioBackend::onSynthLoaded() {
    // A tune waiting for it plays at once; the device stayed open for it.
    music_.takeSynth(device_.synth());
}

void SdlAudioBackend::close(PlayerId player) {
    finishOpening();
    if (!valid(player))
        return;
    haltChannel(player);
    if (ownsMusic(player))
        music_.release();
}

bool SdlAudioBackend::isPlaying(PlayerId player) const {
    if (!valid(player))
        return false;
    return voices_[player].playing || (ownsMusic(player) && music_.playing());
}

qint64 SdlAudioBackend::lengthMs(PlayerId player) const {
    if (!valid(player))
        return -1;
    if (const Mix_Chunk* chunk = voices_[player].chunk) {
        const SoundDevice::Format& format = device_.format();
        return qint64{chunk->alen} * 1000 / (qint64{format.frequency} * format.frameBytes);
    }
    return ownsMusic(player) ? music_.noteEndMs() : -1;
}

}  // namespace qv

#include "musicstream.h"

#include <utility>

#include "musicsynth.h"
#include "sounddevice.h"

namespace qv {

void MusicStream::takeSynth(MusicSynth* synth) {
    if (synth == nullptr) {
        synthMissing_ = true;
        playing_ = playPending_ = false;
        return;
    }
    {
        const SoundDevice::Locked locked(device_);
        cue_.synth = synth;
    }
    if (std::exchange(playPending_, false)) {
        playing_ = false;
        startRun();
    }
}

void MusicStream::hold(int player, const QByteArray& tune, qint64 noteEndMs) {
    if (playing_)
        halt();
    tune_ = tune;
    owner_ = player;
    noteEndMs_ = noteEndMs;
    atTop_ = true;
}

bool MusicStream::play() {
    if (!holdsTune())
        return false;
    if (playing_)
        return true;
    if (cue_.synth == nullptr) {
        if (synthMissing_)
            return false;
        playPending_ = playing_ = true;
        atTop_ = false;
        return true;
    }
    return startRun();
}

bool MusicStream::startRun() {
    // A tune that has played is over: "play" starts it again.
    const SoundDevice::Locked locked(device_);
    if (!cue_.synth->play(tune_))
        return false;
    runSerial_ = runSerial_ % 0xffffffffu + 1;
    cue_.run = runSerial_;
    cue_.endFrame = noteEndMs_ * device_.format().frequency / 1000;
    playing_ = true;
    atTop_ = false;
    return true;
}

bool MusicStream::rewind() {
    if (!holdsTune())
        return false;
    if (atTop_)
        return true;
    const bool wasPlaying = playing_;
    if (wasPlaying)
        halt();
    atTop_ = true;
    return !wasPlaying || play();
}

void MusicStream::release() {
    if (!holdsTune())
        return;
    halt();
    tune_.clear();
    owner_ = -1;
    noteEndMs_ = -1;
    atTop_ = false;
}

bool MusicStream::reachedEnd(quint32 run) {
    if (!playing_ || run != runSerial_)
        return false;
    playing_ = false;
    return true;
}

void MusicStream::halt() {
    playing_ = playPending_ = false;
    if (cue_.synth == nullptr)
        return;
    const SoundDevice::Locked locked(device_);
    cue_.run = 0;
    cue_.synth->silence();
}

}  // namespace qv

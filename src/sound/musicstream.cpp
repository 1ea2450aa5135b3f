#include "musicstream.h"

#include "musicsynth.h"
#include "sounddevice.h"

namespace qv {

bool MusicStream::available() {
    if (cue_.synth == nullptr) {
        MusicSynth* synth = device_.synth();
        if (synth == nullptr)
            return false;
        const SoundDevice::Locked locked(device_);
        cue_.synth = synth;
    }
    return true;
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
    playing_ = false;
    const SoundDevice::Locked locked(device_);
    cue_.run = 0;
    cue_.synth->silence();
}

}  // namespace qv

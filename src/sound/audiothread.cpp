#include "audiothread.h"

#include <algorithm>
#include <cmath>

#include "musicsynth.h"
#include "sdlmixerlibrary.h"
#include "sounddevice.h"

namespace qv {

namespace {

// About -72 dBFS: below it the synthesizer's output is dither, not music.
constexpr int kInaudiblePeak = 8;

}  // namespace

AudioThread::AudioThread(SoundDevice& device, const MusicCue& cue,
                         std::function<void(quint32)> tuneEnded, std::function<void()> becameQuiet)
    : device_(device),
      cue_(cue),
      tuneEnded_(std::move(tuneEnded)),
      becameQuiet_(std::move(becameQuiet)) {}

void AudioThread::restart() {
    quietFrames_ = 0;
    quiet_.store(false);
}

void AudioThread::beforeMixCallback(void* self, quint8* stream, int bytes) {
    static_cast<AudioThread*>(self)->beforeMix(stream, bytes);
}

void AudioThread::afterMixCallback(void* self, quint8*, int bytes) {
    static_cast<AudioThread*>(self)->afterMix(bytes);
}

// First in every buffer; the buffer holds silence.
void AudioThread::beforeMix(quint8* stream, int bytes) {
    const SoundDevice::Format& format = device_.format();
    const int frames = bytes / format.frameBytes;
    if (cue_.run != mixedRun_) {
        mixedRun_ = cue_.run;
        mixedFrames_ = 0;
        endFade_ = 1.0;
        endReported_ = false;
        musicSounds_ = musicSounds_ || mixedRun_ != 0;
    }
    sleepWhenQuiet(frames);
    if (!musicSounds_ || cue_.synth == nullptr)
        return;
    const int peak = cue_.synth->render(reinterpret_cast<qint16*>(stream), frames, format.channels);
    // A tune stopped or faded out is over once its reverb has died away.
    if ((mixedRun_ == 0 || endFade_ <= 0) && peak <= kInaudiblePeak) {
        cue_.synth->silence();
        musicSounds_ = false;
    }
}

void AudioThread::sleepWhenQuiet(int frames) {
    const bool sounding = musicSounds_ || device_.sdl().Mix_Playing(-1) > 0;
    quietFrames_ = sounding ? 0 : quietFrames_ + frames;
    // The music is back at its full level by then, so the ducking needs no
    // account of the time slept.
    static_assert(SoundDevice::kQuietBeforeSleepMs >= MusicDucking::kUpMs);
    const bool quiet = quietFrames_ * 1000 >=
                       qint64{SoundDevice::kQuietBeforeSleepMs} * device_.format().frequency;
    if (quiet_.exchange(quiet) != quiet && quiet)
        becameQuiet_();
    if (quiet)
        device_.sleep();
}

// Right after the buffer has been mixed. The music volume set here applies
// from the next buffer on.
void AudioThread::afterMix(int bytes) {
    const int frequency = device_.format().frequency;
    const qint64 frames = bytes / device_.format().frameBytes;
    const double ms = frames * 1000.0 / frequency;
    const bool voiceSounding = device_.sdl().Mix_Playing(-1) > 0;
    const double level = ducking_.advance(ms, voiceSounding);
    musicLevel_.store(level);

    if (mixedRun_ != 0) {
        mixedFrames_ += frames;
        const qint64 endFrame = cue_.endFrame;
        // At its last note's end the tune has ended: the next one can start
        // while this one's release rings on, then fades out.
        if (endFrame >= 0 && mixedFrames_ >= endFrame && !endReported_) {
            endReported_ = true;
            lastTuneEndMs_.store(mixedFrames_ * 1000 / frequency);
            tuneEnded_(mixedRun_);
        }
        if (endFrame >= 0 && mixedFrames_ >= endFrame + qint64{kReleaseMs} * frequency / 1000)
            endFade_ = std::max(0.0, endFade_ - ms / kEndFadeMs);
    }

    const int volume = static_cast<int>(std::lround(level * endFade_ * MusicSynth::kFullVolume));
    if (volume != musicVolume_ && cue_.synth != nullptr) {
        musicVolume_ = volume;
        // FluidSynth moves its gain smoothly within each block it renders.
        cue_.synth->setVolume(volume);
    }
}

}  // namespace qv

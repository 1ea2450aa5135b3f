#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

#include "musicducking.h"

namespace qv {

class MusicSynth;
class SoundDevice;

// What the UI thread tells SDL's audio thread about the music: written by the
// UI thread only with SDL's audio lock held (SoundDevice::Locked), read by the
// audio thread in its callbacks, which SDL runs with that lock held.
struct MusicCue {
    MusicSynth* synth = nullptr;
    // The tune playing now, numbered by the UI thread; 0 for none.
    quint32 run = 0;
    // Where its last note ends, in frames from its top; -1 for never.
    qint64 endFrame = -1;
};

// The back end's work on SDL's audio thread, around every buffer it mixes:
// before, the music is rendered into the buffer (or the thread sleeps, when
// nothing has sounded for a while); after, the voices' effect on the music
// (see MusicDucking) and the end of a tune. Its state is the audio thread's
// own, but for the two figures it publishes.
//
// A tune has ended at its last note's end, counted in frames; its release
// sounds on for kReleaseMs, then fades out over kEndFadeMs, unless the next
// tune comes first, when it rings on under the next tune's first notes.
class AudioThread {
public:
    static constexpr int kReleaseMs = 150;
    static constexpr int kEndFadeMs = 80;

    // tuneEnded is called on the audio thread with the run that has ended;
    // becameQuiet when nothing has sounded for kQuietBeforeSleepMs, before it
    // sleeps.
    AudioThread(SoundDevice& device, const MusicCue& cue, std::function<void(quint32)> tuneEnded,
                std::function<void()> becameQuiet);

    // UI thread, before the callbacks are hooked to a device (re)opened: a
    // fresh count of the quiet, so that the device is closed again only after
    // a new spell of it.
    void restart();

    // SDL2_mixer's music hook and post-mix callback; self is the AudioThread.
    static void beforeMixCallback(void* self, quint8* stream, int bytes);
    static void afterMixCallback(void* self, quint8* stream, int bytes);

    // Anywhere: the music's level against the voices, as last set.
    double musicLevel() const { return musicLevel_.load(); }
    // Anywhere: where the last tune that came to its end stopped, in
    // milliseconds of music played (counted in frames), or -1.
    qint64 lastTuneEndMs() const { return lastTuneEndMs_.load(); }
    // Anywhere: nothing has sounded for kQuietBeforeSleepMs up to the last
    // buffer mixed.
    bool quiet() const { return quiet_.load(); }

private:
    void beforeMix(quint8* stream, int bytes);
    void afterMix(int bytes);
    void sleepWhenQuiet(int frames);

    SoundDevice& device_;
    const MusicCue& cue_;
    const std::function<void(quint32)> tuneEnded_;
    const std::function<void()> becameQuiet_;

    std::atomic<double> musicLevel_{MusicDucking::kFullLevel};
    std::atomic<qint64> lastTuneEndMs_{-1};
    std::atomic<bool> quiet_{false};

    // The audio thread's own.
    MusicDucking ducking_;
    quint32 mixedRun_ = 0;
    qint64 mixedFrames_ = 0;
    double endFade_ = 1.0;
    bool endReported_ = false;
    int musicVolume_ = -1;
    // The synthesizer may still be heard: a tune plays, or the last one's
    // release and reverb have not died away.
    bool musicSounds_ = false;
    qint64 quietFrames_ = 0;
};

}  // namespace qv

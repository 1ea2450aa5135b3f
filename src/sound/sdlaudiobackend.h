#pragma once

#include <QString>
#include <QTimer>

#include <vector>

#include "audiobackend.h"
#include "audiothread.h"
#include "musicstream.h"
#include "sounddevice.h"

struct Mix_Chunk;

namespace qv {

// The production backend on SDL2_mixer: each player has its own mixer channel,
// so WAV players overlap; the music stream plays MIDI through one FluidSynth
// synthesizer behind SDL2_mixer's music hook.
//
// The work is split by thread: SoundDevice opens the device on its own thread
// and lets SDL's audio thread sleep while nothing sounds; MusicStream is the
// music as the UI thread drives it; AudioThread is what SDL's audio thread
// does around each buffer. This class holds the players' voices and wires the
// parts together; it lives on the UI thread, where every call comes. SDL
// reports the end of a sound on its audio thread; there only an event is
// posted to this object, and everything else, freeing included, happens on
// the UI thread. Without a usable sound device the backend falls back to
// SDL's silent "dummy" driver; if even that fails, every command fails
// silently.
//
// The program starts opening the device once its first window is painted. A
// sound asked for meanwhile starts as soon as the device is open, however
// long that takes (none is dropped as stale); every other command opens it
// and waits. The synthesizer is built when the first tune is opened, on a
// thread of its own; a tune asked to play meanwhile starts when it is ready.
// The music plays softly under the voices (see MusicDucking) and rings out
// briefly after a tune's last note (see AudioThread).
//
// Once nothing has sounded for kQuietBeforeCloseMs, the device is closed, so
// that the sound server sees no stream and can suspend its sink; the next
// command that needs it opens it again, on the UI thread, before it returns.
//
// SDL audio is one per process, so only one instance may exist at a time; a
// second one stays silent.
class SdlAudioBackend final : public AudioBackend {
    Q_OBJECT
public:
    enum class Opening {
        Now,       // the constructor starts opening the device
        WhenAsked  // openDevice(), or the first command that must wait for the device
    };

    // fallbackDriver: the SDL audio driver to try when the default one fails;
    // libraryName: where SDL2_mixer is loaded from.
    // The audio thread sleeps after SoundDevice::kQuietBeforeSleepMs of
    // quiet; the device is closed this long after that.
    static constexpr int kCloseAfterSleepMs = 2000;
    static constexpr int kQuietBeforeCloseMs =
        SoundDevice::kQuietBeforeSleepMs + kCloseAfterSleepMs;

    explicit SdlAudioBackend(QObject* parent = nullptr, const char* fallbackDriver = "dummy",
                             const char* libraryName = kSdlMixerLibraryName,
                             Opening opening = Opening::Now);
    ~SdlAudioBackend() override;

    // Starts opening the device on its thread; does nothing once started.
    void openDevice();

    // The SDL audio driver in use ("pulseaudio", "alsa", "dummy"...), empty
    // when there is no audio at all. Both wait for the device to be opened.
    QString driverName();
    bool isAvailable();

    // The music's level against the voices now, as the audio thread last set it.
    double musicLevel() const { return audioThread_.musicLevel(); }
    // The gain the music synthesizer applies now (ducking and end fade
    // included), or -1 when there is no synthesizer yet.
    double musicGain() const;
    // Where the last tune that came to its end stopped, in milliseconds of
    // music played (counted in audio frames), or -1.
    qint64 lastTuneEndMs() const { return audioThread_.lastTuneEndMs(); }
    // SDL's audio thread is asleep, or the device closed: nothing has
    // sounded for a while.
    bool deviceAsleep() const { return device_.asleep() || deviceClosed(); }
    // The device was open and has been closed, as nothing has sounded for
    // kQuietBeforeCloseMs.
    bool deviceClosed() const { return open_ && !device_.isOpen(); }

    PlayerId createPlayer(const QString& name) override;
    void destroyPlayer(PlayerId player) override;
    bool playWave(PlayerId player, const QString& path) override;
    bool openMusic(PlayerId player, const QString& path) override;
    bool rewindMusic(PlayerId player) override;
    bool playMusic(PlayerId player) override;
    void close(PlayerId player) override;
    void expectSound() override;
    bool isPlaying(PlayerId player) const override;
    qint64 lengthMs(PlayerId player) const override;

private:
    // The UI thread's.
    struct Voice {
        bool inUse = false;
        QString name;
        Mix_Chunk* chunk = nullptr;
        bool playing = false;
        // Asked for while the device was still being opened.
        QString pendingWave;
    };

    // Waits for the device, then hooks the callbacks and starts the sounds
    // that were asked for meanwhile. Does nothing the second time.
    void finishOpening();
    // Hooks the callbacks to the device just opened and gives it its channels.
    void hookDevice();
    void unhookDevice();
    // The device opened (again, if it was closed for quiet); false without audio.
    bool wakeDevice();
    bool anythingPlays() const;
    void closeWhenQuiet();
    bool startWave(PlayerId player, const QString& path);
    bool valid(PlayerId player) const;
    void haltChannel(PlayerId player);
    bool ownsMusic(PlayerId player) const;

    // Run on the UI thread, posted from SDL's callbacks.
    void onChannelFinished(int channel);
    void onTuneEndReached(quint32 run);
    void onSynthLoaded();
    static void channelFinishedCallback(int channel);

    SoundDevice device_;
    // Not yet open: the device has not been waited for.
    bool opening_ = false;
    bool open_ = false;
    // The player id is the mixer channel.
    std::vector<Voice> voices_;
    MusicStream music_;
    AudioThread audioThread_;
    // Started when the audio thread reports quiet; closes the device.
    QTimer quietTimer_;
};

}  // namespace qv

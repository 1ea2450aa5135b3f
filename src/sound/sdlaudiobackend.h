#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <thread>
#include <vector>

#include "audiobackend.h"
#include "musicducking.h"

struct Mix_Chunk;
struct _Mix_Music;

namespace qv {

struct SdlMixerLibrary;
// Where SDL2_mixer is loaded from when the device is opened; SDL2 comes with it.
inline constexpr const char* kSdlMixerLibraryName = "libSDL2_mixer-2.0.so.0";

// The production backend on SDL2_mixer: each player has its own mixer channel,
// so WAV players overlap; the music stream plays MIDI through FluidSynth.
//
// SDL reports the end of a sound on its audio thread; there we only post an
// event to this object, and everything else, freeing included, happens on the
// UI thread. Without a usable sound device the backend falls back to SDL's
// silent "dummy" driver; if even that fails, every command fails silently.
//
// Opening the device (loading SDL2_mixer with the forty libraries it brings,
// and driver probing, which can take a tenth of a second) runs on a thread of
// its own, so that the first window does not wait for it; the program starts
// it once that window is painted. A sound asked for meanwhile starts as soon
// as the device is open; every other command opens it and waits.
//
// The music plays softly under the voices (see MusicDucking), and a tune
// ends shortly after its last note: FluidSynth itself lets a finished tune
// run on for about two seconds of silence.
//
// SDL audio is one per process, so only one instance may exist at a time; a
// second one stays silent.
class SdlAudioBackend final : public AudioBackend {
    Q_OBJECT
public:
    static constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

    enum class Opening {
        Now,       // the constructor starts opening the device
        WhenAsked  // openDevice(), or the first command that must wait for the device
    };

    // fallbackDriver: the SDL audio driver to try when the default one fails;
    // libraryName: where SDL2_mixer is loaded from (see SdlMixerLibrary).
    explicit SdlAudioBackend(QObject* parent = nullptr, const char* fallbackDriver = "dummy",
                             const char* libraryName = kSdlMixerLibraryName,
                             Opening opening = Opening::Now);
    ~SdlAudioBackend() override;

    // A tune has ended at its last note's end; its release sounds on for
    // kReleaseMs, then fades out over kEndFadeMs, unless the next tune comes first.
    static constexpr int kReleaseMs = 150;
    static constexpr int kEndFadeMs = 80;

    // Starts opening the device on its thread; does nothing once started.
    void openDevice();

    // The SDL audio driver in use ("pulseaudio", "alsa", "dummy"...), empty
    // when there is no audio at all. Both wait for the device to be opened.
    QString driverName();
    bool isAvailable();

    // The music's level against the voices now, as the audio thread last set it.
    double musicLevel() const { return musicLevel_.load(); }
    // Where the last tune that came to its end stopped, in milliseconds of
    // music played (counted in audio frames), or -1.
    qint64 lastTuneEndMs() const { return lastTuneEndMs_.load(); }

    PlayerId createPlayer(const QString& name) override;
    void destroyPlayer(PlayerId player) override;
    bool playWave(PlayerId player, const QString& path) override;
    bool openMusic(PlayerId player, const QString& path) override;
    bool rewindMusic(PlayerId player) override;
    bool playMusic(PlayerId player) override;
    void close(PlayerId player) override;
    bool isPlaying(PlayerId player) const override;
    qint64 lengthMs(PlayerId player) const override;

private:
    struct Voice {
        bool inUse = false;
        QString name;
        Mix_Chunk* chunk = nullptr;
        bool playing = false;
        // Asked for while the device was still being opened.
        QString pendingWave;
    };

    bool openAudio(const char* fallbackDriver, const char* libraryName);
    // Waits for the opener thread, then hooks the callbacks and starts the
    // sounds that were asked for meanwhile. Does nothing the second time.
    void finishOpening();
    bool startWave(PlayerId player, const QString& path);
    bool valid(PlayerId player) const;
    void haltChannel(PlayerId player);
    void haltMusic();
    void releaseMusic();
    bool reloadMusic();
    // Stops and frees the tune that rang out while the next one loaded.
    void retireMusic();
    // Plays the loaded tune from where it stands.
    bool startMusic();
    // Takes over the tune the loader thread has loaded; does nothing for an
    // earlier load or when none is running.
    void finishLoading(quint32 load);
    bool ownsMusic(PlayerId player) const;

    // Run on the UI thread, posted from SDL's callbacks.
    void onChannelFinished(int channel);
    void onMusicFinished(quint32 run);
    void onTuneEndReached(quint32 run);
    static void channelFinishedCallback(int channel);
    static void musicFinishedCallback();

    // SDL's audio thread, after each buffer is mixed: ducking and the end of a tune.
    static void postMixCallback(void* self, unsigned char* stream, int bytes);
    void afterMix(int bytes);

    const char* fallbackDriver_;
    const char* libraryName_;
    std::thread opener_;
    // Not yet open: the opener thread has not been joined.
    bool opening_ = false;
    // Set by the opener thread; null when SDL2_mixer could not be loaded.
    const SdlMixerLibrary* sdl_ = nullptr;
    // Written by the opener thread, read after it has been joined.
    bool openedOk_ = false;
    bool open_ = false;
    bool ownsSdl_ = false;
    QString driver_;
    int frameBytes_ = 4;
    int frequency_ = 44100;
    // The player id is the mixer channel.
    std::vector<Voice> voices_;
    _Mix_Music* music_ = nullptr;
    QByteArray musicFile_;
    // Nothing of the tune has been played since it was loaded.
    bool musicAtTop_ = false;
    PlayerId musicOwner_ = -1;
    bool musicPlaying_ = false;
    // A tune being loaded on a thread of its own, and whether it plays as
    // soon as it is loaded.
    std::thread loader_;
    bool loading_ = false;
    quint32 loadSerial_ = 0;
    // Written by the loader thread, read after it has been joined.
    _Mix_Music* loadedMusic_ = nullptr;
    // A tune that has ended and rings out while the next one loads.
    _Mix_Music* retiring_ = nullptr;
    bool playWhenLoaded_ = false;
    // Where the notes of the tune held end, or -1 when unknown.
    qint64 musicNoteEndMs_ = -1;
    quint32 musicRunSerial_ = 0;

    // Shared with the audio thread: the serial of the tune now playing (0 for
    // none) and the music frame at which it should fade out (-1 for never).
    std::atomic<quint32> musicRun_{0};
    std::atomic<qint64> musicEndFrame_{-1};
    std::atomic<double> musicLevel_{MusicDucking::kFullLevel};
    std::atomic<qint64> lastTuneEndMs_{-1};
    // The audio thread's own.
    MusicDucking ducking_;
    quint32 mixedRun_ = 0;
    qint64 mixedFrames_ = 0;
    double endFade_ = 1.0;
    bool endReported_ = false;
    int musicVolume_ = -1;
};

}  // namespace qv

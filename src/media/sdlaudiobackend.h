#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

#include "audiobackend.h"

struct Mix_Chunk;
struct _Mix_Music;

namespace qv {

// The production backend on SDL2_mixer: each player has its own mixer channel,
// so WAV players overlap; the music stream plays MIDI through FluidSynth.
//
// SDL reports the end of a sound on its audio thread; there we only post an
// event to this object, and everything else, freeing included, happens on the
// UI thread. Without a usable sound device the backend falls back to SDL's
// silent "dummy" driver; if even that fails, every command fails silently.
//
// SDL audio is one per process, so only one instance may exist at a time; a
// second one stays silent.
class SdlAudioBackend final : public AudioBackend {
    Q_OBJECT
public:
    static constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

    // fallbackDriver: the SDL audio driver to try when the default one fails.
    explicit SdlAudioBackend(QObject* parent = nullptr, const char* fallbackDriver = "dummy");
    ~SdlAudioBackend() override;

    // The SDL audio driver in use ("pulseaudio", "alsa", "dummy"...), empty
    // when there is no audio at all.
    QString driverName() const { return driver_; }
    bool isAvailable() const { return open_; }

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
    };

    bool openAudio(const char* fallbackDriver);
    bool valid(PlayerId player) const;
    void haltChannel(PlayerId player);
    void haltMusic();
    void releaseMusic();
    bool reloadMusic();
    bool ownsMusic(PlayerId player) const;

    // Run on the UI thread, posted from SDL's callbacks.
    void onChannelFinished(int channel);
    void onMusicFinished();
    static void channelFinishedCallback(int channel);
    static void musicFinishedCallback();

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
};

}  // namespace qv

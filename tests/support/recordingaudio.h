#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <map>

#include "sound/audiobackend.h"
#include "sound/musicducking.h"
#include "timing/clock.h"

namespace qvtest {

// An audio backend that plays nothing but remembers everything: each command
// with its time on the injected clock, player, file and outcome. A WAV lasts
// as long as its RIFF header says; a MIDI tune lasts musicLengthMs(). Sounds
// end on the injected clock, so a virtual clock decides when finished() comes.
class RecordingAudio final : public qv::AudioBackend {
    Q_OBJECT
public:
    struct Entry {
        qint64 timeMs = 0;
        QString player;
        QString command;  // "sound", "open", "prev", "play", "close"
        QString path;     // the file the command acted on; empty when none
        bool ok = false;

        bool operator==(const Entry&) const = default;
        QString toString() const;
    };

    explicit RecordingAudio(qv::Clock& clock, QObject* parent = nullptr);
    ~RecordingAudio() override;

    PlayerId createPlayer(const QString& name) override;
    void destroyPlayer(PlayerId player) override;
    bool playWave(PlayerId player, const QString& path) override;
    bool openMusic(PlayerId player, const QString& path) override;
    bool rewindMusic(PlayerId player) override;
    bool playMusic(PlayerId player) override;
    void close(PlayerId player) override;
    bool isPlaying(PlayerId player) const override;
    qint64 lengthMs(PlayerId player) const override;

    // How long every MIDI tune lasts; 60 s unless a test says otherwise.
    qint64 musicLengthMs() const { return musicLengthMs_; }
    void setMusicLengthMs(qint64 ms) { musicLengthMs_ = ms; }

    // Length of a WAV file from its header, or -1 when it is missing or not a WAV.
    static qint64 waveLengthMs(const QString& path);

    const QList<Entry>& entries() const { return entries_; }
    QList<Entry> entriesFor(const QString& player) const;
    // The files of the commands of a player that started a sound ("sound", "play").
    QStringList filesPlayed(const QString& player) const;
    // "sound /x/a.wav", "open! /x/missing.mid" (! marks a failure): short to compare.
    QStringList commandsFor(const QString& player) const;
    void clear() { entries_.clear(); }

    // By name, for tests that do not hold the player's id.
    bool isPlaying(const QString& player) const;

    // The music's level against the voices now: lowered while any WAV sounds,
    // ramped as the real backend does (MusicDucking).
    double musicLevel() const;

private:
    struct Voice {
        QString name;
        QString music;  // the tune held, empty when none
        qint64 positionMs = 0;
        QString sounding;  // the file now playing
        qint64 startedAtMs = 0;
        qint64 lengthMs = -1;
        qv::Clock::CallbackId end = 0;
        bool wave = false;  // what sounds is a WAV, not the tune
    };

    Voice* voice(PlayerId player);
    const Voice* voice(PlayerId player) const;
    void log(const Voice& voice, const QString& command, const QString& path, bool ok);
    void start(PlayerId player, Voice& voice, const QString& path, qint64 lengthMs, qint64 fromMs,
               bool wave);
    void stop(Voice& voice);
    bool waveSounding() const;
    // Brings the music level up to now, before what sounds changes.
    void settleDucking();

    qv::Clock& clock_;
    qint64 musicLengthMs_ = 60'000;
    PlayerId nextId_ = 1;
    std::map<PlayerId, Voice> voices_;
    QList<Entry> entries_;
    qv::MusicDucking ducking_;
    qint64 duckingSettledAtMs_ = 0;
};

}  // namespace qvtest

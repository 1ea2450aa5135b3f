#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace qv {

// What a SoundPlayer plays through. Each player gets its own voice: WAV players
// overlap freely; the music player owns the single music stream.
// All calls happen on the UI thread; finished() is delivered there too, as an
// ordinary event, and only for the sound the player holds now: a sound that was
// cut off by a later call on the same player, or by close(), never finishes.
class AudioBackend : public QObject {
    Q_OBJECT
public:
    using PlayerId = int;

    using QObject::QObject;
    ~AudioBackend() override = default;

    // A new voice for one player, identified in logs by name.
    virtual PlayerId createPlayer(const QString& name) = 0;
    // Stops the player without a finished() and forgets it.
    virtual void destroyPlayer(PlayerId player) = 0;

    // Plays a WAV file from its start, cutting off whatever the player was
    // playing. False when the file cannot be played; then nothing plays.
    virtual bool playWave(PlayerId player, const QString& path) = 0;

    // The music stream: open a MIDI file, move to its start, play from the
    // current position. Each returns false when it could not be done. A failed
    // open leaves the player holding what it held before.
    virtual bool openMusic(PlayerId player, const QString& path) = 0;
    virtual bool rewindMusic(PlayerId player) = 0;
    virtual bool playMusic(PlayerId player) = 0;

    // Stops the player and releases what it holds.
    virtual void close(PlayerId player) = 0;

    virtual bool isPlaying(PlayerId player) const = 0;

    // Length of the sound or tune the player holds, or -1 when unknown. Lets a
    // waiting caller bound its wait.
    virtual qint64 lengthMs(PlayerId player) const = 0;

    // The user is at the controls, so a sound may be asked for soon. A back
    // end that lets its device go while quiet has it ready again now, and
    // keeps it while this goes on, so that the answer to a click does not
    // wait for the device to open.
    virtual void expectSound() {}

signals:
    // A sound or tune that this player started has come to its natural end.
    void finished(qv::AudioBackend::PlayerId player);
};

}  // namespace qv

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "audiobackend.h"

namespace qv {

class Clock;

// An invisible multimedia player. Setting the command performs it at once on
// the file and device named before. The wait and notify flags govern the next
// command only and are cleared once it has been given.
//
// "sound" plays the named WAV from its start on this player's own voice;
// "open", "prev" and "play" drive the music stream when the device type is
// "sequencer" (on any other device they open a WAV and play it from its start);
// "close" stops and releases. Every command cuts off what the player was doing,
// and a cut-off sound never raises done.
class SoundPlayer final : public QObject {
    Q_OBJECT
public:
    SoundPlayer(AudioBackend& backend, Clock& clock, const QString& name,
                QObject* parent = nullptr);
    ~SoundPlayer() override;

    QString name() const { return name_; }

    QString deviceType() const { return deviceType_; }
    void setDeviceType(const QString& type) { deviceType_ = type; }  // "WaveAudio", "sequencer"

    QString fileName() const { return fileName_; }
    void setFileName(const QString& path) { fileName_ = path; }

    // True: the next command returns only when its sound has ended (bounded by
    // the sound's length plus a margin, so a lost end cannot hang the program).
    bool wait() const { return wait_; }
    void setWait(bool wait) { wait_ = wait; }

    // True: the completion of the next command raises done(1): at the natural
    // end of a "sound" or "play", right after any other command.
    bool notify() const { return notify_; }
    void setNotify(bool notify) { notify_ = notify; }

    // Kept for callers that set it; every voice is shareable here.
    bool shareable() const { return shareable_; }
    void setShareable(bool shareable) { shareable_ = shareable; }

    // Two switches of the player's own buttons, which it never shows: kept for
    // the callers that set them, read by nothing.
    bool autoEnable() const { return autoEnable_; }
    void setAutoEnable(bool on) { autoEnable_ = on; }
    bool playEnabled() const { return playEnabled_; }
    void setPlayEnabled(bool on) { playEnabled_ = on; }

    // "sound", "open", "prev", "play", "close"; unknown commands do nothing.
    // A failing command is silent: nothing plays and done is not raised.
    void setCommand(const QString& command);
    QString command() const { return command_; }

    // Holds the game (Clock::holdUntil) until the sound this player is playing
    // has ended, as a command given with the wait flag does; returns at once
    // when it plays nothing.
    void holdUntilEnd();

    // The longest a wait may last beyond the length of the sound.
    static constexpr qint64 kWaitMarginMs = 2000;
    // The bound of a wait when the length of the sound is unknown.
    static constexpr qint64 kUnknownLengthWaitMs = 10 * 60 * 1000;

signals:
    // A command given while the notify flag was set has completed.
    void done(int notifyCode);

private:
    bool perform(const QString& command);
    bool isMusicDevice() const;
    void postDone();
    void onBackendFinished(AudioBackend::PlayerId player);

    // Held weakly: a backend torn down first leaves its players mute, not dangling.
    QPointer<AudioBackend> backend_;
    Clock& clock_;
    QString name_;
    AudioBackend::PlayerId id_;
    QString deviceType_;
    QString fileName_;
    QString command_;
    QString openedWave_;
    bool wait_ = false;
    bool notify_ = false;
    bool shareable_ = false;
    bool autoEnable_ = false;
    bool playEnabled_ = false;
    // Raise done at the natural end of the sound now playing.
    bool notifyAtEnd_ = false;
    // Counts commands, so that a wait notices when it has been superseded.
    quint64 commandSerial_ = 0;
};

}  // namespace qv

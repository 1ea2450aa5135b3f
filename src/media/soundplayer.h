#pragma once

#include <QObject>
#include <QString>

#include "audiobackend.h"

namespace qv {

class Clock;

// An invisible multimedia player. Setting the command performs it at once on
// the file and device named before. The wait and notify flags govern the next
// command only and are cleared once it has been given.
class SoundPlayer final : public QObject {
    Q_OBJECT
public:
    SoundPlayer(AudioBackend& backend, Clock& clock, const QString& name,
                QObject* parent = nullptr);
    ~SoundPlayer() override;

    QString deviceType() const { return deviceType_; }
    void setDeviceType(const QString& type) { deviceType_ = type; }  // "WaveAudio", "sequencer"

    QString fileName() const { return fileName_; }
    void setFileName(const QString& path) { fileName_ = path; }

    bool wait() const { return wait_; }
    void setWait(bool wait) { wait_ = wait; }

    bool notify() const { return notify_; }
    void setNotify(bool notify) { notify_ = notify; }

    bool shareable() const { return shareable_; }
    void setShareable(bool shareable) { shareable_ = shareable; }

    // "sound", "open", "prev", "play", "close"; unknown commands do nothing.
    // A failing command is silent.
    void setCommand(const QString& command);
    QString command() const { return command_; }

signals:
    // A command given while the notify flag was set has completed.
    void done(int notifyCode);

private:
    AudioBackend& backend_;
    Clock& clock_;
    AudioBackend::PlayerId id_;
    QString deviceType_;
    QString fileName_;
    QString command_;
    bool wait_ = false;
    bool notify_ = false;
    bool shareable_ = false;
    bool notifyPending_ = false;
};

}  // namespace qv

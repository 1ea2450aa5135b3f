#pragma once

#include <QObject>

namespace qv {

class AudioBackend;

// Tells the sound back end when the user is at the controls: the pointer
// moving over one of the program's windows, a click, a key. The back end lets
// its device go after a few quiet seconds so that the sound server can sleep,
// and has it ready again before the click or key that asks for a sound.
class SoundWake final : public QObject {
public:
    // Watches the whole application for as long as it lives.
    SoundWake(AudioBackend& audio, QObject* parent);
    ~SoundWake() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AudioBackend& audio_;
};

}  // namespace qv

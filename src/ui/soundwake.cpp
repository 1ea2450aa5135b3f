#include "soundwake.h"

#include <QCoreApplication>
#include <QEvent>

#include "inputgate.h"
#include "sound/audiobackend.h"

namespace qv {

SoundWake::SoundWake(AudioBackend& audio, QObject* parent) : QObject(parent), audio_(audio) {
    QCoreApplication::instance()->installEventFilter(this);
}

SoundWake::~SoundWake() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

bool SoundWake::eventFilter(QObject* /*watched*/, QEvent* event) {
    // The pointer moving reaches the window before any widget, whether a
    // widget tracks it or not.
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter ||
        InputGate::isUserInput(*event))
        audio_.expectSound();
    return false;
}

}  // namespace qv

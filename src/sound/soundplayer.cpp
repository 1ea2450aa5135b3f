#include "soundplayer.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>

#include "timing/clock.h"

namespace qv {

namespace {
// What every player is told to do, for listening to the program with numbers:
// QT_LOGGING_RULES="quorvel.sound.debug=true" prints each command with its file.
Q_LOGGING_CATEGORY(lcSound, "quorvel.sound", QtWarningMsg)
}  // namespace

SoundPlayer::SoundPlayer(AudioBackend& backend, Clock& clock, const QString& name, QObject* parent)
    : QObject(parent),
      backend_(&backend),
      clock_(clock),
      name_(name),
      id_(backend.createPlayer(name)) {
    connect(&backend, &AudioBackend::finished, this, &SoundPlayer::onBackendFinished);
}

SoundPlayer::~SoundPlayer() {
    if (backend_)
        backend_->destroyPlayer(id_);
}

void SoundPlayer::setCommand(const QString& command) {
    const QString verb = command.toLower();
    const bool startsSound = verb == QLatin1String("sound") || verb == QLatin1String("play");
    const bool known = startsSound || verb == QLatin1String("open") ||
                       verb == QLatin1String("prev") || verb == QLatin1String("close");
    if (!known)
        return;

    command_ = command;
    qCDebug(lcSound, "%s %s %s%s", qPrintable(name_), qPrintable(verb),
            qPrintable(QFileInfo(fileName_).fileName()), wait_ ? " (heard to its end)" : "");
    const bool wait = wait_;
    const bool notify = notify_;
    wait_ = false;
    notify_ = false;

    // Whatever this player was doing is cut off, so its end must not notify.
    ++commandSerial_;
    notifyAtEnd_ = false;

    if (!backend_ || !perform(verb))
        return;

    if (startsSound) {
        notifyAtEnd_ = notify;
        if (wait)
            holdUntilEnd();
    } else if (notify) {
        postDone();
    }
}

bool SoundPlayer::isMusicDevice() const {
    return deviceType_.compare(QLatin1String("sequencer"), Qt::CaseInsensitive) == 0;
}

bool SoundPlayer::perform(const QString& verb) {
    if (verb == QLatin1String("sound"))
        return backend_->playWave(id_, fileName_);
    if (verb == QLatin1String("close")) {
        backend_->close(id_);
        openedWave_.clear();
        return true;
    }
    if (isMusicDevice()) {
        if (verb == QLatin1String("open"))
            return backend_->openMusic(id_, fileName_);
        if (verb == QLatin1String("prev"))
            return backend_->rewindMusic(id_);
        return backend_->playMusic(id_);
    }
    // A wave device holds no position worth keeping: "play" always starts at the top.
    if (verb == QLatin1String("open")) {
        const QFileInfo file(fileName_);
        if (!file.isFile() || !file.isReadable())
            return false;
        openedWave_ = fileName_;
        return true;
    }
    if (verb == QLatin1String("prev"))
        return !openedWave_.isEmpty();
    return !openedWave_.isEmpty() && backend_->playWave(id_, openedWave_);
}

void SoundPlayer::holdUntilEnd() {
    if (!backend_ || !backend_->isPlaying(id_))
        return;
    const quint64 serial = commandSerial_;
    const qint64 length = backend_->lengthMs(id_);
    // A finite bound even for an end that never comes (a stalled device).
    const qint64 bound =
        length >= 0 ? length + qMax(kWaitMarginMs, length / 2) : kUnknownLengthWaitMs;
    // Events run while we wait; one of them may give this player another
    // command, or even delete it.
    const QPointer<SoundPlayer> self(this);
    clock_.holdUntil(
        [&self, serial] {
            return self.isNull() || self->commandSerial_ != serial || !self->backend_ ||
                   !self->backend_->isPlaying(self->id_);
        },
        bound);
}

void SoundPlayer::postDone() {
    // A window event: it waits while another player's sound is waited on.
    clock_.post([self = QPointer<SoundPlayer>(this)] {
        if (self)
            emit self->done(1);
    });
}

void SoundPlayer::onBackendFinished(AudioBackend::PlayerId player) {
    if (player != id_ || !notifyAtEnd_)
        return;
    notifyAtEnd_ = false;
    postDone();
}

}  // namespace qv

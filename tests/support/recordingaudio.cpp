#include "recordingaudio.h"

#include <QFile>
#include <QtEndian>

namespace qvtest {

namespace {

const QString kSound = QStringLiteral("sound");
const QString kOpen = QStringLiteral("open");
const QString kPrev = QStringLiteral("prev");
const QString kPlay = QStringLiteral("play");
const QString kClose = QStringLiteral("close");

bool isMidiFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == "MThd";
}

}  // namespace

QString RecordingAudio::Entry::toString() const {
    return QStringLiteral("%1 ms %2 %3%4 %5")
        .arg(timeMs)
        .arg(player, command, ok ? QString() : QStringLiteral("!"), path);
}

RecordingAudio::RecordingAudio(qv::Clock& clock, QObject* parent)
    : qv::AudioBackend(parent), clock_(clock) {}

RecordingAudio::~RecordingAudio() {
    for (auto& [id, voice] : voices_)
        stop(voice);
}

qint64 RecordingAudio::waveLengthMs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return -1;

    quint32 byteRate = 0;
    while (true) {
        const QByteArray header = file.read(8);
        if (header.size() != 8)
            return -1;
        const QByteArray id = header.left(4);
        const quint32 size = qFromLittleEndian<quint32>(header.constData() + 4);
        if (id == "fmt ") {
            const QByteArray format = file.read(size);
            if (format.size() < 12)
                return -1;
            byteRate = qFromLittleEndian<quint32>(format.constData() + 8);
        } else if (id == "data") {
            if (byteRate == 0)
                return -1;
            return qint64{size} * 1000 / byteRate;
        } else if (!file.seek(file.pos() + size)) {
            return -1;
        }
        // Chunks are padded to an even size.
        if (size % 2 != 0 && !file.seek(file.pos() + 1))
            return -1;
    }
}

RecordingAudio::Voice* RecordingAudio::voice(PlayerId player) {
    auto it = voices_.find(player);
    return it == voices_.end() ? nullptr : &it->second;
}

const RecordingAudio::Voice* RecordingAudio::voice(PlayerId player) const {
    auto it = voices_.find(player);
    return it == voices_.end() ? nullptr : &it->second;
}

void RecordingAudio::log(const Voice& voice, const QString& command, const QString& path, bool ok) {
    entries_.append(Entry{clock_.nowMs(), voice.name, command, path, ok});
}

qv::AudioBackend::PlayerId RecordingAudio::createPlayer(const QString& name) {
    const PlayerId id = nextId_++;
    voices_[id].name = name;
    return id;
}

void RecordingAudio::destroyPlayer(PlayerId player) {
    if (Voice* v = voice(player)) {
        stop(*v);
        voices_.erase(player);
    }
}

void RecordingAudio::start(PlayerId player, Voice& v, const QString& path, qint64 lengthMs,
                           qint64 fromMs, bool wave) {
    stop(v);
    settleDucking();
    v.wave = wave;
    v.sounding = path;
    v.lengthMs = lengthMs;
    v.startedAtMs = clock_.nowMs() - fromMs;
    v.end = clock_.callAfter(
        lengthMs - fromMs,
        [this, player] {
            Voice* ended = voice(player);
            if (ended == nullptr)
                return;
            settleDucking();
            ended->end = 0;
            ended->sounding.clear();
            ended->positionMs = ended->lengthMs;
            emit finished(player);
        },
        qv::Clock::WhileHeld::Run);
}

void RecordingAudio::stop(Voice& v) {
    settleDucking();
    if (v.end != 0) {
        clock_.cancel(v.end);
        v.end = 0;
        v.positionMs = qBound<qint64>(0, clock_.nowMs() - v.startedAtMs, v.lengthMs);
    }
    v.sounding.clear();
}

bool RecordingAudio::playWave(PlayerId player, const QString& path) {
    Voice* v = voice(player);
    if (v == nullptr)
        return false;
    // A new sound cuts off the old one even when it cannot play itself.
    stop(*v);
    const qint64 length = waveLengthMs(path);
    log(*v, kSound, path, length >= 0);
    if (length < 0)
        return false;
    start(player, *v, path, length, 0, true);
    return true;
}

bool RecordingAudio::openMusic(PlayerId player, const QString& path) {
    Voice* v = voice(player);
    if (v == nullptr)
        return false;
    const bool ok = isMidiFile(path);
    log(*v, kOpen, path, ok);
    if (!ok)
        return false;
    stop(*v);
    v->music = path;
    v->lengthMs = musicLengthMs_;
    v->positionMs = 0;
    return true;
}

bool RecordingAudio::rewindMusic(PlayerId player) {
    Voice* v = voice(player);
    if (v == nullptr)
        return false;
    const bool ok = !v->music.isEmpty();
    log(*v, kPrev, v->music, ok);
    if (!ok)
        return false;
    if (v->sounding.isEmpty()) {
        v->positionMs = 0;
    } else {
        start(player, *v, v->music, v->lengthMs, 0, false);
    }
    return true;
}

bool RecordingAudio::playMusic(PlayerId player) {
    Voice* v = voice(player);
    if (v == nullptr)
        return false;
    const bool ok = !v->music.isEmpty();
    log(*v, kPlay, v->music, ok);
    if (!ok)
        return false;
    if (v->sounding.isEmpty())
        start(player, *v, v->music, v->lengthMs, v->positionMs, false);
    return true;
}

void RecordingAudio::close(PlayerId player) {
    Voice* v = voice(player);
    if (v == nullptr)
        return;
    log(*v, kClose, v->music.isEmpty() ? v->sounding : v->music, true);
    stop(*v);
    v->music.clear();
    v->positionMs = 0;
    v->lengthMs = -1;
}

bool RecordingAudio::isPlaying(PlayerId player) const {
    const Voice* v = voice(player);
    return v != nullptr && !v->sounding.isEmpty();
}

bool RecordingAudio::isPlaying(const QString& player) const {
    for (const auto& [id, v] : voices_) {
        if (v.name == player && !v.sounding.isEmpty())
            return true;
    }
    return false;
}

bool RecordingAudio::waveSounding() const {
    for (const auto& [id, v] : voices_) {
        if (v.wave && !v.sounding.isEmpty())
            return true;
    }
    return false;
}

void RecordingAudio::settleDucking() {
    const qint64 now = clock_.nowMs();
    ducking_.advance(double(now - duckingSettledAtMs_), waveSounding());
    duckingSettledAtMs_ = now;
}

double RecordingAudio::musicLevel() const {
    qv::MusicDucking now = ducking_;
    return now.advance(double(clock_.nowMs() - duckingSettledAtMs_), waveSounding());
}

qint64 RecordingAudio::lengthMs(PlayerId player) const {
    const Voice* v = voice(player);
    if (v == nullptr || (v->sounding.isEmpty() && v->music.isEmpty()))
        return -1;
    return v->lengthMs;
}

QList<RecordingAudio::Entry> RecordingAudio::entriesFor(const QString& player) const {
    QList<Entry> result;
    for (const Entry& e : entries_) {
        if (e.player == player)
            result.append(e);
    }
    return result;
}

QStringList RecordingAudio::filesPlayed(const QString& player) const {
    QStringList result;
    for (const Entry& e : entries_) {
        if (e.player == player && e.ok && (e.command == kSound || e.command == kPlay)) {
            result.append(e.path);
        }
    }
    return result;
}

QStringList RecordingAudio::commandsFor(const QString& player) const {
    QStringList result;
    for (const Entry& e : entries_) {
        if (e.player != player)
            continue;
        const QString verb = e.ok ? e.command : e.command + QLatin1Char('!');
        result.append(e.path.isEmpty() ? verb : verb + QLatin1Char(' ') + e.path);
    }
    return result;
}

}  // namespace qvtest

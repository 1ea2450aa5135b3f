#include "soundfiles.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace qvtest {

namespace {

// Appends value in little- or big-endian byte order (WAV is little, MIDI big).
template <typename T>
void appendLittle(QByteArray& bytes, T value) {
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    bytes.append(raw, sizeof(T));
}

template <typename T>
void appendBig(QByteArray& bytes, T value) {
    char raw[sizeof(T)];
    qToBigEndian(value, raw);
    bytes.append(raw, sizeof(T));
}

// MIDI's variable-length quantity: seven bits a byte, high bit set on all but the last.
void appendVarLen(QByteArray& bytes, quint32 value) {
    QByteArray reversed;
    reversed.append(static_cast<char>(value & 0x7f));
    while ((value >>= 7) != 0)
        reversed.append(static_cast<char>((value & 0x7f) | 0x80));
    for (auto it = reversed.crbegin(); it != reversed.crend(); ++it)
        bytes.append(*it);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

bool writeSineWave(const QString& path, int lengthMs, int sampleRate, int channels) {
    const quint32 frames = static_cast<quint32>(qint64{sampleRate} * lengthMs / 1000);
    const quint16 blockAlign = static_cast<quint16>(channels * 2);
    const quint32 dataSize = frames * blockAlign;

    QByteArray bytes;
    bytes.append("RIFF");
    appendLittle<quint32>(bytes, 36 + dataSize);
    bytes.append("WAVE");
    bytes.append("fmt ");
    appendLittle<quint32>(bytes, 16);
    appendLittle<quint16>(bytes, 1);  // PCM
    appendLittle<quint16>(bytes, static_cast<quint16>(channels));
    appendLittle<quint32>(bytes, static_cast<quint32>(sampleRate));
    appendLittle<quint32>(bytes, static_cast<quint32>(sampleRate) * blockAlign);
    appendLittle<quint16>(bytes, blockAlign);
    appendLittle<quint16>(bytes, 16);
    bytes.append("data");
    appendLittle<quint32>(bytes, dataSize);
    for (quint32 frame = 0; frame < frames; ++frame) {
        const double phase = 2 * std::numbers::pi * 440.0 * frame / sampleRate;
        const auto sample = static_cast<qint16>(std::lround(8000 * std::sin(phase)));
        for (int channel = 0; channel < channels; ++channel) {
            appendLittle<quint16>(bytes, static_cast<quint16>(sample));
        }
    }
    return writeFile(path, bytes);
}

bool writeMidiNote(const QString& path, int lengthMs) {
    constexpr quint16 kTicksPerQuarter = 480;
    constexpr int kMsPerQuarter = 500;  // the default tempo, 120 beats a minute
    const quint32 ticks = static_cast<quint32>(lengthMs) * kTicksPerQuarter / kMsPerQuarter;

    QByteArray track;
    appendVarLen(track, 0);
    track.append("\xC0\x00", 2);  // program change: piano
    appendVarLen(track, 0);
    track.append("\x90\x3C\x64", 3);  // note on, middle C
    appendVarLen(track, ticks);
    track.append("\x80\x3C\x40", 3);  // note off
    appendVarLen(track, 0);
    track.append("\xFF\x2F\x00", 3);  // end of track

    QByteArray bytes;
    bytes.append("MThd");
    appendBig<quint32>(bytes, 6);
    appendBig<quint16>(bytes, 0);  // format 0: a single track
    appendBig<quint16>(bytes, 1);
    appendBig<quint16>(bytes, kTicksPerQuarter);
    bytes.append("MTrk");
    appendBig<quint32>(bytes, static_cast<quint32>(track.size()));
    bytes.append(track);
    return writeFile(path, bytes);
}

}  // namespace qvtest

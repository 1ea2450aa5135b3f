#include "wavreader.h"

#include <QFile>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

std::uint32_t u32(const QByteArray& b, qsizetype at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::uint16_t u16(const QByteArray& b, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

}  // namespace

double PcmSound::peak() const {
    double p = 0.0;
    for (double s : samples)
        p = std::max(p, std::fabs(s));
    return p;
}

double PcmSound::rms() const {
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (double s : samples)
        sum += s * s;
    return std::sqrt(sum / double(samples.size()));
}

PcmSound readPcmWav(const QString& path) {
    PcmSound sound;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        sound.problem = "cannot open";
        return sound;
    }
    const QByteArray b = f.readAll();
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") {
        sound.problem = "not RIFF/WAVE";
        return sound;
    }
    if (u32(b, 4) != static_cast<std::uint32_t>(b.size() - 8)) {
        sound.problem = "RIFF size does not match the file";
        return sound;
    }
    bool haveFormat = false;
    qsizetype pos = 12;
    while (pos + 8 <= b.size()) {
        const QByteArray id = b.mid(pos, 4);
        const qsizetype size = u32(b, pos + 4);
        if (pos + 8 + size > b.size()) {
            sound.problem = "chunk " + QString::fromLatin1(id) + " runs past the end";
            return sound;
        }
        if (id == "fmt ") {
            if (size < 16 || u16(b, pos + 8) != 1) {
                sound.problem = "not PCM";
                return sound;
            }
            sound.channels = u16(b, pos + 10);
            sound.rate = static_cast<int>(u32(b, pos + 12));
            const int bits = u16(b, pos + 22);
            if (bits != 16 || sound.channels < 1 ||
                u32(b, pos + 16) != std::uint32_t(sound.rate * sound.channels * 2) ||
                u16(b, pos + 20) != sound.channels * 2) {
                sound.problem = "format is not consistent 16-bit PCM";
                return sound;
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                sound.problem = "data before fmt";
                return sound;
            }
            const qsizetype frames = size / (2 * sound.channels);
            sound.samples.resize(static_cast<size_t>(frames));
            for (qsizetype i = 0; i < frames; ++i)
                sound.samples[static_cast<size_t>(i)] =
                    static_cast<std::int16_t>(u16(b, pos + 8 + i * 2 * sound.channels)) / 32768.0;
            return sound;
        }
        pos += 8 + size + (size & 1);
    }
    sound.problem = "no data chunk";
    return sound;
}

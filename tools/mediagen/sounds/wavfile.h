#pragma once

// Minimal 16-bit mono PCM WAV writing and float WAV reading, shared by the
// effect synthesiser and the speech generator. Header-only so that both
// executables can use it without a library of their own.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace mediagen {

inline constexpr int kSampleRate = 44100;

namespace wavdetail {
inline void putU32(QByteArray& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xff));
}
inline void putU16(QByteArray& b, std::uint16_t v) {
    b.append(static_cast<char>(v & 0xff));
    b.append(static_cast<char>((v >> 8) & 0xff));
}
inline std::uint32_t getU32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}
inline std::uint16_t getU16(const char* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                      (static_cast<unsigned char>(p[1]) << 8));
}
}  // namespace wavdetail

// Samples are in [-1, 1]; anything beyond is clamped. Rounding without dither
// keeps the output a pure function of the input.
inline QByteArray encodeWav16(const std::vector<float>& samples, int rate = kSampleRate) {
    using namespace wavdetail;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray b;
    b.reserve(static_cast<qsizetype>(44 + dataBytes));
    b.append("RIFF", 4);
    putU32(b, 36 + dataBytes);
    b.append("WAVEfmt ", 8);
    putU32(b, 16);
    putU16(b, 1);  // PCM
    putU16(b, 1);  // mono
    putU32(b, static_cast<std::uint32_t>(rate));
    putU32(b, static_cast<std::uint32_t>(rate * 2));
    putU16(b, 2);
    putU16(b, 16);
    b.append("data", 4);
    putU32(b, dataBytes);
    for (float s : samples) {
        const float c = std::clamp(s, -1.0f, 1.0f);
        const auto v = static_cast<std::int16_t>(std::lround(c * 32767.0f));
        putU16(b, static_cast<std::uint16_t>(v));
    }
    return b;
}

inline bool writeWav16(const QString& path, const std::vector<float>& samples,
                       int rate = kSampleRate) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = encodeWav16(samples, rate);
    return f.write(bytes) == bytes.size();
}

struct DecodedWav {
    int rate = 0;
    std::vector<float> samples;  // first channel only
};

// Reads PCM 16-bit or IEEE float 32-bit WAV data (what sox writes for us).
inline std::optional<DecodedWav> readWav(const QString& path) {
    using namespace wavdetail;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray b = f.readAll();
    if (b.size() < 12 || std::memcmp(b.constData(), "RIFF", 4) != 0 ||
        std::memcmp(b.constData() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    int format = 0, channels = 0, bits = 0;
    DecodedWav out;
    qsizetype pos = 12;
    while (pos + 8 <= b.size()) {
        const char* chunk = b.constData() + pos;
        const qsizetype size = getU32(chunk + 4);
        const char* body = chunk + 8;
        const qsizetype available = std::min<qsizetype>(size, b.size() - pos - 8);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && available >= 16) {
            format = getU16(body);
            channels = getU16(body + 2);
            out.rate = static_cast<int>(getU32(body + 4));
            bits = getU16(body + 14);
            if (format == 0xfffe && available >= 26)
                format = getU16(body + 24);
        } else if (std::memcmp(chunk, "data", 4) == 0 && channels > 0) {
            const int frameBytes = channels * bits / 8;
            if (frameBytes <= 0)
                return std::nullopt;
            const qsizetype frames = available / frameBytes;
            out.samples.resize(static_cast<size_t>(frames));
            for (qsizetype i = 0; i < frames; ++i) {
                const char* p = body + i * frameBytes;
                if (format == 1 && bits == 16) {
                    out.samples[static_cast<size_t>(i)] =
                        static_cast<std::int16_t>(getU16(p)) / 32768.0f;
                } else if (format == 3 && bits == 32) {
                    const std::uint32_t raw = getU32(p);
                    float v;
                    std::memcpy(&v, &raw, 4);
                    out.samples[static_cast<size_t>(i)] = v;
                } else {
                    return std::nullopt;
                }
            }
            return out;
        }
        pos += 8 + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace mediagen

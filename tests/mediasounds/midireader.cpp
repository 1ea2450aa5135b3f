#include "midireader.h"

#include <QFile>

#include <cstdint>

namespace {

std::uint32_t be(const QByteArray& b, qsizetype at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Reads one track body; returns an empty text or what is wrong with it.
QString walkTrack(const QByteArray& b, qsizetype pos, qsizetype end, MidiSummary& summary) {
    int status = 0;
    auto byte = [&](qsizetype at) { return static_cast<unsigned char>(b[at]); };
    auto varLen = [&](std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (pos >= end)
                return false;
            const unsigned char c = byte(pos++);
            value = (value << 7) | (c & 0x7f);
            if (!(c & 0x80))
                return true;
        }
        return false;
    };
    while (pos < end) {
        std::uint32_t delta;
        if (!varLen(delta))
            return "bad delta time";
        if (pos >= end)
            return "event missing after delta time";
        int first = byte(pos);
        if (first & 0x80) {
            status = first;
            ++pos;
        } else if (status == 0) {
            return "running status without a status";
        }
        if (status == 0xff) {
            if (pos >= end)
                return "truncated meta event";
            const int type = byte(pos++);
            std::uint32_t length;
            if (!varLen(length) || pos + length > end)
                return "bad meta length";
            if (type == 0x51)
                ++summary.tempoEvents;
            pos += length;
            if (type == 0x2f)
                return pos == end ? QString() : "data after End-of-Track";
            status = 0;
        } else if (status == 0xf0 || status == 0xf7) {
            std::uint32_t length;
            if (!varLen(length) || pos + length > end)
                return "bad sysex length";
            pos += length;
            status = 0;
        } else {
            const int kind = status & 0xf0;
            const int dataBytes = (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
            if (pos + dataBytes > end)
                return "truncated channel event";
            for (int i = 0; i < dataBytes; ++i)
                if (byte(pos + i) & 0x80)
                    return "data byte with the top bit set";
            if (kind == 0x90 && byte(pos + 1) > 0)
                ++summary.noteOns;
            pos += dataBytes;
        }
    }
    return "track does not end with End-of-Track";
}

}  // namespace

MidiSummary readMidiFile(const QString& path) {
    MidiSummary summary;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        summary.problem = "cannot open";
        return summary;
    }
    const QByteArray b = f.readAll();
    if (b.size() < 14 || !b.startsWith("MThd") || be(b, 4, 4) != 6) {
        summary.problem = "no MThd header of length 6";
        return summary;
    }
    summary.format = static_cast<int>(be(b, 8, 2));
    summary.declaredTracks = static_cast<int>(be(b, 10, 2));
    if (be(b, 12, 2) & 0x8000) {
        summary.problem = "SMPTE division";
        return summary;
    }
    qsizetype pos = 14;
    while (pos < b.size()) {
        if (pos + 8 > b.size() || b.mid(pos, 4) != "MTrk") {
            summary.problem = QString("no MTrk at byte %1").arg(pos);
            return summary;
        }
        const qsizetype length = be(b, pos + 4, 4);
        const qsizetype end = pos + 8 + length;
        if (end > b.size()) {
            summary.problem =
                QString("track %1 length runs past the file").arg(summary.tracksFound);
            return summary;
        }
        const QString problem = walkTrack(b, pos + 8, end, summary);
        if (!problem.isEmpty()) {
            summary.problem = QString("track %1: %2").arg(summary.tracksFound).arg(problem);
            return summary;
        }
        ++summary.tracksFound;
        pos = end;
    }
    return summary;
}

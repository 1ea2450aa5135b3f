#include "miditiming.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

namespace qv {

namespace {

// A reader over one chunk of the file that fails softly: a read past the end
// gives nothing and marks the reader spent.
class Bytes {
public:
    Bytes(const QByteArray& data, qsizetype from, qsizetype to)
        : data_(data), at_(from), end_(to) {}

    bool atEnd() const { return at_ >= end_; }
    bool ok() const { return ok_; }

    std::uint32_t take() {
        if (at_ >= end_) {
            ok_ = false;
            return 0;
        }
        return static_cast<unsigned char>(data_[at_++]);
    }
    std::uint32_t peek() const { return at_ < end_ ? static_cast<unsigned char>(data_[at_]) : 0; }
    std::uint32_t bigEndian(int count) {
        std::uint32_t value = 0;
        while (count-- > 0)
            value = (value << 8) | take();
        return value;
    }
    std::uint32_t variableLength() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4 && ok_; ++i) {
            const std::uint32_t c = take();
            value = (value << 7) | (c & 0x7f);
            if ((c & 0x80) == 0)
                return value;
        }
        ok_ = false;
        return 0;
    }
    void skip(std::uint32_t count) {
        if (qsizetype(count) > end_ - at_) {
            ok_ = false;
            at_ = end_;
        } else {
            at_ += count;
        }
    }

private:
    const QByteArray& data_;
    qsizetype at_;
    qsizetype end_;
    bool ok_ = true;
};

struct Notes {
    std::optional<std::uint64_t> firstOn;
    std::optional<std::uint64_t> lastOff;
    // Tick of each tempo change -> microseconds per quarter note.
    std::map<std::uint64_t, std::uint32_t> tempo;
};

void readTrack(Bytes track, Notes& notes) {
    std::uint64_t tick = 0;
    std::uint32_t status = 0;
    while (!track.atEnd() && track.ok()) {
        tick += track.variableLength();
        if (track.peek() & 0x80)
            status = track.take();
        if (status == 0xff) {
            const std::uint32_t type = track.take();
            const std::uint32_t length = track.variableLength();
            if (type == 0x51 && length == 3)
                notes.tempo[tick] = track.bigEndian(3);
            else
                track.skip(length);
            if (type == 0x2f)
                return;
            status = 0;
        } else if (status == 0xf0 || status == 0xf7) {
            track.skip(track.variableLength());
            status = 0;
        } else if (status >= 0x80) {
            const std::uint32_t kind = status & 0xf0;
            track.take();  // key, controller or program
            const std::uint32_t second = (kind == 0xc0 || kind == 0xd0) ? 0 : track.take();
            if (!track.ok())
                return;
            const bool on = kind == 0x90 && second > 0;
            const bool off = kind == 0x80 || (kind == 0x90 && second == 0);
            if (on && (!notes.firstOn || tick < *notes.firstOn))
                notes.firstOn = tick;
            if (off && (!notes.lastOff || tick > *notes.lastOff))
                notes.lastOff = tick;
        } else {
            return;  // data without a status: nothing more can be trusted
        }
    }
}

}  // namespace

MidiTiming readMidiTiming(const QByteArray& file) {
    MidiTiming timing;
    Bytes header(file, 0, file.size());
    if (!file.startsWith("MThd") || file.size() < 14)
        return timing;
    header.skip(4);
    const std::uint32_t headerLength = header.bigEndian(4);
    header.skip(4);  // format and track count: every track is read whatever they say
    const std::uint32_t division = header.bigEndian(2);
    if (headerLength < 6 || division == 0)
        return timing;

    Notes notes;
    qsizetype at = 8 + qsizetype(headerLength);
    while (at + 8 <= file.size()) {
        Bytes chunk(file, at, file.size());
        const bool isTrack = file.mid(at, 4) == "MTrk";
        chunk.skip(4);
        const qsizetype length = chunk.bigEndian(4);
        const qsizetype body = at + 8;
        const qsizetype end = std::min(file.size(), body + length);
        if (isTrack)
            readTrack(Bytes(file, body, end), notes);
        at = body + length;
    }
    if (!notes.firstOn || !notes.lastOff)
        return timing;

    // Milliseconds at a tick, walking the tempo map (120 bpm until the first change).
    const auto msAt = [&](std::uint64_t tick) {
        if (division & 0x8000) {
            const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
            const double ticksPerSecond = framesPerSecond * double(division & 0xff);
            return ticksPerSecond > 0 ? tick * 1000.0 / ticksPerSecond : 0.0;
        }
        double ms = 0;
        std::uint64_t from = 0;
        std::uint32_t usPerQuarter = 500000;
        for (const auto& [changeTick, tempo] : notes.tempo) {
            if (changeTick >= tick)
                break;
            ms += double(changeTick - from) * usPerQuarter / 1000.0 / division;
            from = changeTick;
            usPerQuarter = tempo;
        }
        return ms + double(tick - from) * usPerQuarter / 1000.0 / division;
    };
    timing.firstNoteMs = msAt(*notes.firstOn);
    timing.lastNoteEndMs = msAt(*notes.lastOff);
    return timing;
}

}  // namespace qv

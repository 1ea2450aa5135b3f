#include "sounds/midifile.h"

#include <algorithm>

namespace mediagen {

namespace {

void putVarLen(QByteArray& out, std::uint32_t value) {
    char bytes[5];
    int n = 0;
    bytes[n++] = static_cast<char>(value & 0x7f);
    while ((value >>= 7) != 0)
        bytes[n++] = static_cast<char>(0x80 | (value & 0x7f));
    while (n > 0)
        out.append(bytes[--n]);
}

void putBigEndian(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

}  // namespace

void MidiTrack::add(std::uint32_t tick, int priority, QByteArray bytes) {
    events_.push_back(
        {tick, priority, static_cast<std::uint32_t>(events_.size()), std::move(bytes)});
}

void MidiTrack::noteOn(std::uint32_t tick, int channel, int note, int velocity) {
    add(tick, 3, bytesOf({0x90 | channel, note, velocity}));
}

void MidiTrack::noteOff(std::uint32_t tick, int channel, int note) {
    add(tick, 2, bytesOf({0x80 | channel, note, 0}));
}

void MidiTrack::programChange(std::uint32_t tick, int channel, int program) {
    add(tick, 1, bytesOf({0xc0 | channel, program}));
}

void MidiTrack::controller(std::uint32_t tick, int channel, int number, int value) {
    add(tick, 1, bytesOf({0xb0 | channel, number, value}));
}

void MidiTrack::tempo(std::uint32_t tick, int quarterBpm) {
    const auto micros = static_cast<std::uint32_t>(60000000 / quarterBpm);
    QByteArray b = bytesOf({0xff, 0x51, 0x03});
    putBigEndian(b, micros, 3);
    add(tick, 0, b);
}

void MidiTrack::timeSignature(std::uint32_t tick, int numerator, int denominatorPower,
                              int clocksPerClick) {
    add(tick, 0, bytesOf({0xff, 0x58, 0x04, numerator, denominatorPower, clocksPerClick, 8}));
}

void MidiTrack::name(const QByteArray& text) {
    QByteArray b = bytesOf({0xff, 0x03});
    putVarLen(b, static_cast<std::uint32_t>(text.size()));
    b.append(text);
    add(0, 0, b);
}

QByteArray MidiTrack::encode() const {
    std::vector<Event> sorted = events_;
    std::sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        if (a.tick != b.tick)
            return a.tick < b.tick;
        if (a.priority != b.priority)
            return a.priority < b.priority;
        return a.sequence < b.sequence;
    });
    QByteArray body;
    std::uint32_t now = 0;
    for (const auto& e : sorted) {
        putVarLen(body, e.tick - now);
        body.append(e.bytes);
        now = e.tick;
    }
    putVarLen(body, 0);
    body.append(bytesOf({0xff, 0x2f, 0x00}));
    QByteArray out("MTrk");
    putBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out.append(body);
    return out;
}

QByteArray encodeMidiFile(const std::vector<MidiTrack>& tracks, int ticksPerQuarter) {
    QByteArray out("MThd");
    putBigEndian(out, 6, 4);
    putBigEndian(out, 1, 2);  // format 1: tracks play together
    putBigEndian(out, static_cast<std::uint32_t>(tracks.size()), 2);
    putBigEndian(out, static_cast<std::uint32_t>(ticksPerQuarter), 2);
    for (const auto& t : tracks)
        out.append(t.encode());
    return out;
}

}  // namespace mediagen

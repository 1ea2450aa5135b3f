#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace mediagen {

// A small Standard MIDI File writer: events are collected with absolute
// times and written as one format 1 file with delta times.
class MidiTrack {
public:
    void noteOn(std::uint32_t tick, int channel, int note, int velocity);
    void noteOff(std::uint32_t tick, int channel, int note);
    void programChange(std::uint32_t tick, int channel, int program);
    void controller(std::uint32_t tick, int channel, int number, int value);
    void tempo(std::uint32_t tick, int quarterBpm);
    void timeSignature(std::uint32_t tick, int numerator, int denominatorPower, int clocksPerClick);
    void name(const QByteArray& text);

    // The track's bytes, MTrk header and End-of-Track included.
    QByteArray encode() const;

private:
    struct Event {
        std::uint32_t tick;
        int priority;  // at one tick: meta first, then controls, note-offs, note-ons
        std::uint32_t sequence;
        QByteArray bytes;
    };
    void add(std::uint32_t tick, int priority, QByteArray bytes);
    std::vector<Event> events_;
};

QByteArray encodeMidiFile(const std::vector<MidiTrack>& tracks, int ticksPerQuarter);

}  // namespace mediagen

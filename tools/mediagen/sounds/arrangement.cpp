#include "sounds/arrangement.h"

#include <QStringList>

#include <cmath>
#include <optional>
#include <vector>

#include "sounds/midifile.h"

namespace mediagen {

namespace {

constexpr int kTicksPerQuarter = 480;
constexpr double kTargetSeconds = 55.0;

constexpr int kMelodyChannel = 0;
constexpr int kChordChannel = 1;
constexpr int kBassChannel = 2;

// General MIDI programs (0-based) that sound friendly through a small soundfont.
constexpr int kMelodyPrograms[] = {10, 8, 12, 73, 11, 13};  // music box, celesta, marimba,
                                                            // flute, vibraphone, xylophone
constexpr int kChordPrograms[] = {0, 24, 4};                // piano, nylon guitar, e-piano
constexpr int kBassPrograms[] = {32, 45};                   // acoustic bass, pizzicato

constexpr int kMelodyVelocity = 84;
constexpr int kChordVelocity = 44;
constexpr int kBassVelocity = 66;

struct Note {
    int pitch;  // -1 for a rest
    double beats;
};

std::optional<int> parsePitch(const QString& name) {
    static const int kSteps[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2)
        return std::nullopt;
    const QChar letter = name[0].toUpper();
    if (letter < 'A' || letter > 'G')
        return std::nullopt;
    int pitch = kSteps[letter.unicode() - 'A'];
    int pos = 1;
    if (name[pos] == '#') {
        ++pitch;
        ++pos;
    } else if (name[pos] == 'b') {
        --pitch;
        ++pos;
    }
    bool ok = false;
    const int octave = name.mid(pos).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return (octave + 1) * 12 + pitch;
}

std::optional<std::vector<Note>> parseMelody(const char* text, QString* error) {
    std::vector<Note> notes;
    for (const QString& token : QString::fromLatin1(text).split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = token.split(':');
        double beats = 1.0;
        bool ok = true;
        if (parts.size() == 2)
            beats = parts[1].toDouble(&ok);
        if (!ok || parts.size() > 2 || beats <= 0) {
            *error = "bad length in " + token;
            return std::nullopt;
        }
        if (parts[0] == "r") {
            notes.push_back({-1, beats});
            continue;
        }
        const auto pitch = parsePitch(parts[0]);
        if (!pitch) {
            *error = "bad note " + token;
            return std::nullopt;
        }
        notes.push_back({*pitch, beats});
    }
    return notes;
}

// Chord tones as pitch classes, root first.
std::optional<std::vector<int>> parseChord(const QString& name) {
    QString rest = name;
    int suffixAt = 1;
    if (rest.size() > 1 && (rest[1] == '#' || rest[1] == 'b'))
        suffixAt = 2;
    const auto root = parsePitch(rest.left(suffixAt) + "4");
    if (!root)
        return std::nullopt;
    const int r = *root % 12;
    const QString kind = rest.mid(suffixAt);
    if (kind.isEmpty())
        return std::vector<int>{r, (r + 4) % 12, (r + 7) % 12};
    if (kind == "m")
        return std::vector<int>{r, (r + 3) % 12, (r + 7) % 12};
    if (kind == "7")
        return std::vector<int>{r, (r + 4) % 12, (r + 7) % 12, (r + 10) % 12};
    return std::nullopt;
}

std::uint32_t ticks(double beats) {
    return static_cast<std::uint32_t>(std::lround(beats * kTicksPerQuarter));
}

// Each chord tone in the octave just below middle C's neighbourhood, so the
// chords sit under the melody without muddying the bass.
int voiced(int pitchClass) {
    return 55 + ((pitchClass - 55) % 12 + 12) % 12;
}

void playNote(MidiTrack& track, int channel, int pitch, int velocity, double start, double beats) {
    track.noteOn(ticks(start), channel, pitch, velocity);
    track.noteOff(ticks(start + beats), channel, pitch);
}

}  // namespace

QByteArray arrangeTune(const Tune& tune, int tuneIndex, QString* error) {
    const auto melody = parseMelody(tune.melody, error);
    if (!melody)
        return {};
    std::vector<std::vector<int>> chords;
    for (const QString& name : QString::fromLatin1(tune.chords).split(' ', Qt::SkipEmptyParts)) {
        const auto chord = parseChord(name);
        if (!chord) {
            *error = "bad chord " + name;
            return {};
        }
        chords.push_back(*chord);
    }
    double verseBeats = 0;
    for (const auto& n : *melody)
        verseBeats += n.beats;
    const double barBeats = tune.compoundMetre ? 3.0 : 4.0;
    if (std::fabs(std::fmod(verseBeats, barBeats)) > 1e-9 ||
        std::fabs(chords.size() * tune.chordBeats - verseBeats) > 1e-9) {
        *error = QString("%1: melody has %2 quarters, chords cover %3")
                     .arg(tune.title)
                     .arg(verseBeats)
                     .arg(chords.size() * tune.chordBeats);
        return {};
    }
    const double verseSeconds = verseBeats * 60.0 / tune.quarterBpm;
    const int verses = std::max(2, static_cast<int>(std::lround(kTargetSeconds / verseSeconds)));

    MidiTrack conductor, melodyTrack, chordTrack, bassTrack;
    conductor.name(tune.title);
    conductor.tempo(0, tune.quarterBpm);
    if (tune.compoundMetre)
        conductor.timeSignature(0, 6, 3, 36);
    else
        conductor.timeSignature(0, 4, 2, 24);
    melodyTrack.name("Melody");
    chordTrack.name("Chords");
    bassTrack.name("Bass");
    const std::pair<MidiTrack*, int> parts[] = {
        {&melodyTrack, kMelodyChannel}, {&chordTrack, kChordChannel}, {&bassTrack, kBassChannel}};
    const int pans[] = {64, 48, 76};
    for (int i = 0; i < 3; ++i) {
        parts[i].first->controller(0, parts[i].second, 7, 100);  // volume
        parts[i].first->controller(0, parts[i].second, 10, pans[i]);
        parts[i].first->controller(0, parts[i].second, 91, 40);  // a little reverb
    }

    for (int verse = 0; verse < verses; ++verse) {
        const double start = verse * verseBeats;
        const int turn = tuneIndex + verse;
        melodyTrack.programChange(ticks(start), kMelodyChannel,
                                  kMelodyPrograms[turn % std::size(kMelodyPrograms)]);
        chordTrack.programChange(ticks(start), kChordChannel,
                                 kChordPrograms[turn % std::size(kChordPrograms)]);
        bassTrack.programChange(ticks(start), kBassChannel,
                                kBassPrograms[turn % std::size(kBassPrograms)]);

        double at = start;
        for (const auto& n : *melody) {
            if (n.pitch >= 0) {
                const bool downbeat = std::fabs(std::fmod(at - start, barBeats)) < 1e-9;
                // Slightly detached notes make a music box or marimba line clearer.
                playNote(melodyTrack, kMelodyChannel, n.pitch + tune.melodyTranspose,
                         kMelodyVelocity + (downbeat ? 6 : 0), at, n.beats * 0.9);
            }
            at += n.beats;
        }
        for (size_t c = 0; c < chords.size(); ++c) {
            const double chordStart = start + c * tune.chordBeats;
            const auto& tones = chords[c];
            for (int pc : tones)
                playNote(chordTrack, kChordChannel, voiced(pc), kChordVelocity, chordStart,
                         tune.chordBeats * 0.85);
            // Root, then the fifth on the second half: a walking feel without clutter.
            const int root = 36 + tones[0];
            const double half = tune.chordBeats / 2.0;
            const double firstBeats = tune.compoundMetre ? 1.0 : half;
            playNote(bassTrack, kBassChannel, root, kBassVelocity, chordStart, firstBeats * 0.9);
            playNote(bassTrack, kBassChannel, root + 7, kBassVelocity - 8, chordStart + firstBeats,
                     (tune.chordBeats - firstBeats) * 0.9);
        }
    }
    // A held home chord to close, so the tune ends instead of stopping.
    const double end = verses * verseBeats;
    const auto& home = chords.back();
    for (int pc : home)
        playNote(chordTrack, kChordChannel, voiced(pc), kChordVelocity, end, barBeats);
    playNote(bassTrack, kBassChannel, 36 + home[0], kBassVelocity, end, barBeats);

    return encodeMidiFile({conductor, melodyTrack, chordTrack, bassTrack}, kTicksPerQuarter);
}

}  // namespace mediagen

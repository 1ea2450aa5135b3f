#include "sounds/effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "sounds/wavfile.h"

namespace mediagen {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kRate = kSampleRate;
constexpr double kPeak = 0.84;  // about -1.5 dBFS
// A sustained tone at full peak is much louder than a struck one; this cap
// keeps the eleven sounds at a similar loudness.
constexpr double kMaxRms = 0.24;

// Noise must be the same on every run, so it comes from our own generator.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double next() {  // uniform in [-1, 1)
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state_;
};

using Buffer = std::vector<double>;

Buffer silence(double seconds) {
    return Buffer(static_cast<size_t>(seconds * kRate), 0.0);
}

double noteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A struck tone: a few partials, each with its own exponential decay.
struct Partial {
    double ratio, level, decay;
};
void addStruck(Buffer& out, double start, double hz, double level,
               std::initializer_list<Partial> partials) {
    const auto first = static_cast<size_t>(start * kRate);
    for (size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / kRate;
        const double attack = std::min(1.0, t / 0.002);
        double v = 0.0;
        for (const auto& p : partials)
            v += p.level * std::exp(-p.decay * t) * std::sin(kTwoPi * hz * p.ratio * t);
        out[i] += level * attack * v;
    }
}

// Every sound ends silently and starts without a jump, and all share one peak
// (or one loudness, for the sustained ones).
std::vector<float> finish(Buffer b) {
    const size_t fadeIn = std::min<size_t>(b.size() / 4, 88);     // 2 ms
    const size_t fadeOut = std::min<size_t>(b.size() / 4, 1323);  // 30 ms
    for (size_t i = 0; i < fadeIn; ++i)
        b[i] *= static_cast<double>(i) / fadeIn;
    for (size_t i = 0; i < fadeOut; ++i)
        b[b.size() - 1 - i] *= static_cast<double>(i) / fadeOut;
    double peak = 0.0, energy = 0.0;
    for (double v : b) {
        peak = std::max(peak, std::fabs(v));
        energy += v * v;
    }
    const double rms = std::sqrt(energy / static_cast<double>(b.size()));
    std::vector<float> out(b.size());
    const double gain = peak > 0.0 ? std::min(kPeak / peak, kMaxRms / rms) : 0.0;
    for (size_t i = 0; i < b.size(); ++i)
        out[i] = static_cast<float>(b[i] * gain);
    return out;
}

Buffer chime() {
    Buffer b = silence(0.55);
    addStruck(b, 0.0, noteHz(84), 1.0, {{1.0, 1.0, 6.0}, {2.76, 0.4, 11.0}, {5.40, 0.15, 18.0}});
    addStruck(b, 0.09, noteHz(91), 0.7, {{1.0, 1.0, 7.0}, {2.76, 0.3, 12.0}});
    return b;
}

Buffer pop() {
    Buffer b = silence(0.16);
    double phase = 0.0;
    Noise noise(7);
    for (size_t i = 0; i < b.size(); ++i) {
        const double t = i / kRate;
        const double hz = 180.0 + 700.0 * std::exp(-t * 45.0);
        phase += kTwoPi * hz / kRate;
        b[i] = std::exp(-t * 30.0) * std::sin(phase) + 0.15 * std::exp(-t * 200.0) * noise.next();
    }
    return b;
}

Buffer sparkle() {
    Buffer b = silence(0.5);
    Noise pick(11);
    const int notes[] = {88, 91, 93, 96, 98, 100, 103};
    for (int k = 0; k < 9; ++k) {
        const double start = k * 0.045 + 0.01 * (pick.next() + 1.0);
        const int note = notes[static_cast<size_t>((pick.next() + 1.0) * 3.5) % 7];
        addStruck(b, start, noteHz(note), 0.6 - k * 0.04, {{1.0, 1.0, 22.0}, {2.0, 0.2, 35.0}});
    }
    return b;
}

Buffer boing() {
    Buffer b = silence(0.5);
    double phase = 0.0;
    for (size_t i = 0; i < b.size(); ++i) {
        const double t = i / kRate;
        const double wobble = 0.35 * std::exp(-t * 6.0) * std::sin(kTwoPi * 14.0 * t);
        const double hz = (150.0 + 120.0 * std::min(1.0, t / 0.08)) * (1.0 + wobble);
        phase += kTwoPi * hz / kRate;
        const double env = std::min(1.0, t / 0.005) * std::exp(-t * 5.0);
        b[i] = env * (std::sin(phase) + 0.3 * std::sin(2.0 * phase));
    }
    return b;
}

Buffer whoosh() {
    Buffer b = silence(0.5);
    Noise noise(23);
    // A band-pass filter whose centre sweeps up and down over white noise.
    double low = 0.0, band = 0.0;
    for (size_t i = 0; i < b.size(); ++i) {
        const double t = i / kRate;
        const double sweep = std::sin(std::numbers::pi * t / 0.5);
        const double centre = 300.0 + 2500.0 * sweep;
        const double f = 2.0 * std::sin(std::numbers::pi * centre / kRate);
        const double q = 0.35;
        const double high = noise.next() - low - q * band;
        band += f * high;
        low += f * band;
        b[i] = sweep * sweep * band;
    }
    return b;
}

Buffer xylophoneRun() {
    Buffer b = silence(0.55);
    const int notes[] = {72, 76, 79, 84, 88};
    for (int k = 0; k < 5; ++k)
        addStruck(b, k * 0.075, noteHz(notes[k]), 1.0,
                  {{1.0, 1.0, 14.0}, {3.93, 0.25, 40.0}, {9.6, 0.08, 70.0}});
    return b;
}

Buffer bell() {
    Buffer b = silence(0.6);
    addStruck(b, 0.0, noteHz(81), 1.0,
              {{0.5, 0.35, 4.0},
               {1.0, 1.0, 5.0},
               {1.19, 0.45, 7.0},
               {1.5, 0.3, 8.0},
               {2.0, 0.35, 9.0},
               {2.74, 0.12, 14.0}});
    return b;
}

Buffer bubble() {
    Buffer b = silence(0.4);
    const double starts[] = {0.0, 0.12, 0.22};
    const double bases[] = {400.0, 550.0, 700.0};
    for (int k = 0; k < 3; ++k) {
        double phase = 0.0;
        const auto first = static_cast<size_t>(starts[k] * kRate);
        for (size_t i = first; i < b.size(); ++i) {
            const double t = (i - first) / kRate;
            const double hz = bases[k] * (1.0 + 1.5 * std::min(1.0, t / 0.09));
            phase += kTwoPi * hz / kRate;
            const double env = std::min(1.0, t / 0.004) * std::exp(-t * 28.0);
            b[i] += (1.0 - 0.2 * k) * env * std::sin(phase);
        }
    }
    return b;
}

Buffer slideWhistle() {
    Buffer b = silence(0.5);
    double phase = 0.0;
    for (size_t i = 0; i < b.size(); ++i) {
        const double t = i / kRate;
        const double glide = 0.5 - 0.5 * std::cos(std::numbers::pi * std::min(1.0, t / 0.42));
        const double hz = (600.0 + 800.0 * glide) * (1.0 + 0.012 * std::sin(kTwoPi * 6.0 * t));
        phase += kTwoPi * hz / kRate;
        const double env = std::min(1.0, t / 0.03) * std::min(1.0, (0.5 - t) / 0.08);
        b[i] = env * (std::sin(phase) + 0.12 * std::sin(2.0 * phase));
    }
    return b;
}

// Karplus-Strong plucks give the harp its string colour; the excitation noise
// is seeded so every run plucks the same strings.
void addPluck(Buffer& out, double start, double hz, double level, std::uint32_t seed) {
    const auto period = static_cast<size_t>(kRate / hz);
    std::vector<double> line(period);
    Noise noise(seed);
    for (auto& v : line)
        v = noise.next();
    const auto first = static_cast<size_t>(start * kRate);
    size_t pos = 0;
    double previous = 0.0;
    for (size_t i = first; i < out.size(); ++i) {
        const double v = line[pos];
        const double next = 0.498 * (v + previous);
        previous = v;
        line[pos] = next;
        pos = (pos + 1) % period;
        out[i] += level * v;
    }
}

Buffer harpGlissando() {
    Buffer b = silence(0.6);
    const int notes[] = {60, 62, 64, 67, 69, 72, 74, 76, 79, 81};
    for (int k = 0; k < 10; ++k)
        addPluck(b, k * 0.035, noteHz(notes[k]), 0.5, 101 + k);
    // The excitation noise is bright; a gentle low-pass makes it a harp.
    double state = 0.0;
    for (auto& v : b)
        v = state += 0.35 * (v - state);
    return b;
}

Buffer twinkle() {
    Buffer b = silence(0.5);
    const int notes[] = {96, 100, 103, 100, 108};
    for (int k = 0; k < 5; ++k) {
        const auto first = static_cast<size_t>(k * 0.08 * kRate);
        const double hz = noteHz(notes[k]);
        for (size_t i = first; i < b.size(); ++i) {
            const double t = (i - first) / kRate;
            const double tremolo = 0.75 + 0.25 * std::sin(kTwoPi * 22.0 * t);
            b[i] += 0.5 * std::min(1.0, t / 0.003) * std::exp(-t * 16.0) * tremolo *
                    std::sin(kTwoPi * hz * t);
        }
    }
    return b;
}

}  // namespace

std::vector<std::vector<float>> effectSounds() {
    return {finish(chime()),        finish(pop()),           finish(sparkle()), finish(boing()),
            finish(whoosh()),       finish(xylophoneRun()),  finish(bell()),    finish(bubble()),
            finish(slideWhistle()), finish(harpGlissando()), finish(twinkle())};
}

std::vector<float> selectionChime() {
    Buffer b = silence(0.45);
    addStruck(b, 0.0, noteHz(76), 0.8, {{1.0, 1.0, 7.0}, {2.0, 0.3, 10.0}, {3.0, 0.1, 16.0}});
    addStruck(b, 0.12, noteHz(84), 0.8, {{1.0, 1.0, 8.0}, {2.0, 0.3, 11.0}, {3.0, 0.1, 17.0}});
    return finish(b);
}

}  // namespace mediagen

#include "speech/loudness.h"

#include <algorithm>
#include <cmath>

namespace speechgen {

namespace {

// Below the knee the signal passes unchanged; above it the curve bends
// smoothly toward the ceiling, so a limited peak never sounds like a click.
constexpr double kKnee = 0.6;

double softLimit(double x) {
    const double a = std::fabs(x);
    if (a <= kKnee)
        return x;
    const double room = kPeakCeiling - kKnee;
    const double y = kKnee + room * std::tanh((a - kKnee) / room);
    return x < 0 ? -y : y;
}

}  // namespace

double rmsOf(const std::vector<float>& samples) {
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (float s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

double levelGain(const std::vector<float>& samples) {
    const double rms = rmsOf(samples);
    if (rms <= 0.0)
        return 1.0;
    // The limiter takes a little energy away, so the gain is refined until the
    // limited result sits on the target.
    double gain = kTargetRms / rms;
    for (int round = 0; round < 6; ++round) {
        const double got = rmsOf(applyLevel(samples, gain));
        if (std::fabs(got - kTargetRms) < kTargetRms * 0.002)
            break;
        gain *= kTargetRms / got;
    }
    return gain;
}

std::vector<float> applyLevel(const std::vector<float>& samples, double gain) {
    std::vector<float> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        out[i] = static_cast<float>(softLimit(samples[i] * gain));
    return out;
}

}  // namespace speechgen

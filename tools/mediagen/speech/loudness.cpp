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

std::vector<float> scaled(const std::vector<float>& in, double gain) {
    std::vector<float> out(in.size());
    for (size_t i = 0; i < in.size(); ++i)
        out[i] = static_cast<float>(softLimit(in[i] * gain));
    return out;
}

}  // namespace

std::vector<float> fadeEnds(std::vector<float> samples) {
    const size_t fadeIn = std::min<size_t>(samples.size() / 4, 176);   // 4 ms
    const size_t fadeOut = std::min<size_t>(samples.size() / 4, 529);  // 12 ms
    for (size_t i = 0; i < fadeIn; ++i)
        samples[i] *= static_cast<float>(i) / static_cast<float>(fadeIn);
    for (size_t i = 0; i < fadeOut; ++i)
        samples[samples.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fadeOut);
    return samples;
}

double rmsOf(const std::vector<float>& samples) {
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (float s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

std::vector<float> levelPhrase(const std::vector<float>& samples) {
    const double rms = rmsOf(samples);
    if (rms <= 0.0)
        return samples;
    // The limiter takes a little energy away, so the gain is refined until the
    // limited result sits on the target.
    double gain = kTargetRms / rms;
    std::vector<float> out = scaled(samples, gain);
    for (int round = 0; round < 6; ++round) {
        const double got = rmsOf(out);
        if (std::fabs(got - kTargetRms) < kTargetRms * 0.002)
            break;
        gain *= kTargetRms / got;
        out = scaled(samples, gain);
    }
    return out;
}

}  // namespace speechgen

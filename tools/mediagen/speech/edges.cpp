#include "speech/edges.h"

#include <algorithm>
#include <cmath>

namespace speechgen {

namespace {

constexpr double kWindowSeconds = 0.005;
constexpr double kFadeInSeconds = 0.005;
constexpr double kFadeOutSeconds = 0.010;

std::size_t samplesIn(double seconds, int rate) {
    return static_cast<std::size_t>(std::lround(seconds * rate));
}

}  // namespace

PhraseEdges findPhraseEdges(const std::vector<float>& render, int rate, SpeechTimes speech) {
    const std::size_t n = render.size();
    const std::size_t window = std::max<std::size_t>(1, samplesIn(kWindowSeconds, rate));
    const auto at = [&](double seconds) {
        return std::min(n, samplesIn(std::max(0.0, seconds), rate));
    };
    PhraseEdges edges;
    edges.firstSound = at(speech.start);
    edges.lastSound = std::max(edges.firstSound, at(speech.end));

    double peak = 0.0;
    for (float s : render)
        peak = std::max(peak, static_cast<double>(std::fabs(s)));
    const double threshold = peak * std::pow(10.0, kSoundBelowPeakDb / 20.0);
    // A window is a sound when its mean square exceeds the threshold's square.
    const double loudEnergy = threshold * threshold * static_cast<double>(window);
    std::vector<double> energy(n + 1, 0.0);  // energy[i]: sum of squares before sample i
    for (std::size_t i = 0; i < n; ++i)
        energy[i + 1] = energy[i] + static_cast<double>(render[i]) * render[i];
    const auto loud = [&](std::size_t start) {
        return energy[start + window] - energy[start] > loudEnergy;
    };

    const std::size_t from = at(speech.start - kBeforeSpeechSeconds);
    const std::size_t to = at(speech.end + kAfterSpeechSeconds);  // windows end by here
    std::size_t first = from;
    while (first + window <= to && !loud(first))
        ++first;
    if (first + window <= to) {
        std::size_t last = to - window;
        while (last > first && !loud(last))
            --last;
        edges.firstSound = first;
        edges.lastSound = last + window;
    }

    const std::size_t lead = samplesIn(kLeadSeconds, rate);
    edges.begin = edges.firstSound > lead ? edges.firstSound - lead : 0;
    edges.end = std::min(n, edges.lastSound + samplesIn(kTailSeconds, rate));
    return edges;
}

std::vector<float> cutPhrase(const std::vector<float>& render, const PhraseEdges& edges, int rate) {
    std::vector<float> phrase(render.begin() + static_cast<std::ptrdiff_t>(edges.begin),
                              render.begin() + static_cast<std::ptrdiff_t>(edges.end));
    const std::size_t fadeIn =
        std::min(samplesIn(kFadeInSeconds, rate), edges.firstSound - edges.begin);
    const std::size_t fadeOut =
        std::min(samplesIn(kFadeOutSeconds, rate), edges.end - edges.lastSound);
    for (std::size_t i = 0; i < fadeIn; ++i)
        phrase[i] *= static_cast<float>(i) / static_cast<float>(fadeIn);
    for (std::size_t i = 0; i < fadeOut; ++i)
        phrase[phrase.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fadeOut);
    return phrase;
}

}  // namespace speechgen

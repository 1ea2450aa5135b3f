#pragma once

#include <QList>

#include <optional>
#include <random>

#include "catalogue/random.h"

namespace qvtest {

// Gives exactly the numbers a test lines up, then a fixed fallback. Seeding is
// counted, not acted on.
class ScriptedRandom final : public qv::Random {
public:
    double next() override;
    void seedFromClock() override { ++seedings; }

    // Queues x values in [0, 1).
    void script(const QList<double>& values) { queue_.append(values); }
    // Queues the x that makes a draw of n give index. Scripted at the top of
    // the range (index n - 1) it checks the range too: a draw of fewer than n
    // then gives less than n - 1, a draw of more gives more.
    void scriptDraw(int index, int n) { queue_.append((index + 0.5) / n); }

    // After the scripted values, draw from a seeded generator instead of the
    // fixed fallback: long scripted runs need real variety, repeatably.
    void useGenerator(quint64 seed) { generator_.emplace(seed); }

    double fallback = 0.0;
    int seedings = 0;
    int taken = 0;

private:
    QList<double> queue_;
    std::optional<std::mt19937_64> generator_;
};

}  // namespace qvtest

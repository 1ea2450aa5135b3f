#include "random.h"

namespace qv {

int Random::draw(int n) {
    if (n <= 0)
        return 0;
    const int result = static_cast<int>(next() * n);
    return qBound(0, result, n - 1);
}

ClockSeededRandom::ClockSeededRandom(std::function<qint64()> readClock)
    : readClock_(std::move(readClock)) {
    seedFromClock();
}

double ClockSeededRandom::next() {
    // 53 random bits give every double in [0, 1) on an even grid.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

void ClockSeededRandom::seedFromClock() {
    // Two seedings within the same millisecond still start different
    // sequences, so a background and a tune chosen together do not mirror each other.
    const quint64 reading = static_cast<quint64>(readClock_());
    std::seed_seq seq{static_cast<quint32>(reading), static_cast<quint32>(reading >> 32),
                      static_cast<quint32>(++seedings_)};
    engine_.seed(seq);
}

}  // namespace qv

#pragma once

#include <QtGlobal>

#include <functional>
#include <random>

namespace qv {

// The program's pseudo-random source. A draw of n is the whole part of x * n
// for the next uniform x in [0, 1), so 0 to n - 1.
class Random {
public:
    virtual ~Random() = default;

    // The next uniform number x with 0 <= x < 1.
    virtual double next() = 0;

    // Starts a new sequence from the clock.
    virtual void seedFromClock() = 0;

    int draw(int n);
};

// Production generator: a 64-bit Mersenne Twister seeded from a clock reading.
class ClockSeededRandom final : public Random {
public:
    // readClock gives milliseconds since the epoch; it is read at every seeding.
    explicit ClockSeededRandom(std::function<qint64()> readClock);

    double next() override;
    void seedFromClock() override;

private:
    std::function<qint64()> readClock_;
    quint64 seedings_ = 0;
    std::mt19937_64 engine_;
};

}  // namespace qv

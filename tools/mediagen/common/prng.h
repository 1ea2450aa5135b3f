#pragma once

#include <cstdint>

namespace mediagen {

// A tiny xorshift generator. Pictures that scatter confetti or grain take their
// numbers from here with a constant seed, so every build draws the same bytes.
class Prng {
public:
    explicit Prng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}

    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    // Uniform in [0, 1).
    double unit() { return (next() >> 8) * (1.0 / 16777216.0); }

    double range(double low, double high) { return low + (high - low) * unit(); }

    int below(int n) { return static_cast<int>(unit() * n); }

private:
    std::uint32_t state_;
};

}  // namespace mediagen

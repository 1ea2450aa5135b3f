#pragma once

#include <thread>

namespace qv {

// Reads the font configuration (some seven milliseconds of parsing) on a
// thread of its own while Qt starts up, so that laying out the first window
// does not wait for it. Fontconfig keeps one configuration for the process,
// whoever loads it first.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Waits until the configuration is loaded.
    void wait();

private:
    std::thread thread_;
};

}  // namespace qv

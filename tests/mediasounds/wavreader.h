#pragma once

#include <QString>

#include <vector>

// An independent reader for the library's WAV files: it accepts only what
// the program can play, so a malformed header fails here first.
struct PcmSound {
    QString problem;  // empty when the file is a valid 16-bit PCM WAV
    int rate = 0;
    int channels = 0;
    std::vector<double> samples;  // first channel, full scale = 1.0

    double seconds() const { return rate > 0 ? double(samples.size()) / rate : 0.0; }
    double peak() const;
    double rms() const;
};

PcmSound readPcmWav(const QString& path);

#pragma once

#include <QString>

namespace qv {

class AudioBackend;
class Clock;
class Desktop;
class Random;
class SettingsStore;

// Everything the windows need from outside, built once in main() from the real
// parts or in a test from fakes. The windows keep references; the owner keeps
// these alive for as long as any window lives.
struct Platform {
    Clock& clock;
    AudioBackend& audio;
    Desktop& desktop;
    Random& random;
    SettingsStore& store;
    // The folder that holds the program file, without a trailing separator.
    QString programFolder;
    // The maker's web site (scheme and host, no path), or empty while there is
    // none: then no window offers the web site or the donation page.
    QString website;
};

}  // namespace qv

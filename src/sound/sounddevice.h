#pragma once

#include <QString>

#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

namespace qv {

class MusicSynth;
struct SdlMixerLibrary;

// Where SDL2_mixer is loaded from when the device is opened; SDL2 comes with it.
inline constexpr const char* kSdlMixerLibraryName = "libSDL2_mixer-2.0.so.0";

// The name the sound server shows for the program's stream.
inline constexpr const char* kSoundAppName = "Quorvel Learning";

// The sound device: SDL2_mixer loaded and the device opened on a thread of
// its own, the mixer's format, the music synthesizer, and the device's sleep
// and closing while nothing sounds.
//
// Opening (loading SDL2_mixer with the forty libraries it brings, and driver
// probing, which can take a tenth of a second) runs on the opener thread, so
// that the first window does not wait for it. The music synthesizer, which
// reads the whole sound font (some 19 MiB), is built on a thread of its own
// when the first tune is asked for, not before: the selection screen plays
// no tune.
//
// Sleeping. SDL's audio thread wakes for every buffer, about ninety times a
// second, whether anything sounds or not; pausing the device only makes it mix
// silence. So when nothing has sounded for kQuietBeforeSleepMs, the audio
// thread stops in its callback (sleep()) until the UI thread needs the mixer.
// It sleeps holding SDL's audio lock, which most SDL2_mixer calls take: the
// UI thread reaches the mixer only through a Mixer or a Locked, which wake the
// audio thread first and keep it awake while they last. A sound asked for
// while it sleeps is mixed into the buffer after the one it wakes for: a
// buffer later, as on a device that never slept.
//
// Closing. A sleeping audio thread still leaves the sound server a running
// stream, which keeps its sink (and the machine's sound card) awake. So the
// back end closes the device once it has been quiet a while longer
// (closeWhenQuiet()); SDL2_mixer and SDL's audio stay loaded, and the next
// sound opens the device again on the UI thread (reopen()), with the format
// it had, in a few milliseconds.
//
// Threads: the opener thread writes the opening's results (library, format,
// driver, device id) before it hands them over through the future; after that
// the UI thread owns them, and the audio thread reads the library and format
// in its callbacks, which are hooked only then. The synthesizer loader thread
// reads the format, written before it starts, and hands the synthesizer over
// through its future. The gate's fields are shared by the UI and audio threads
// under its mutex.
class SoundDevice {
public:
    struct Format {
        int frequency = 44100;
        int channels = 2;
        // One frame of every channel, 16-bit.
        int frameBytes = 4;
    };

    static constexpr int kQuietBeforeSleepMs = 1000;

    // fallbackDriver: the SDL audio driver to try when the default one fails;
    // libraryName: where SDL2_mixer is loaded from.
    SoundDevice(const char* fallbackDriver, const char* libraryName);
    // Waits for the opener thread; closes the device if it is open.
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // UI thread. Starts opening the device on its thread, which calls opened()
    // once the device can play; does nothing once started.
    void startOpening(std::function<void()> opened);
    bool openingStarted() const { return opener_.joinable() || opened_.valid(); }
    // Starts opening if need be and waits until the device is open; false
    // when there is no audio at all. Cheap once it has returned.
    bool waitOpened();
    // UI thread, once opened: the device plays now (it was not closed since).
    bool isOpen() const { return open_; }
    // UI thread, once opened: closes the device, leaving SDL's audio to
    // reopen(); the hooks must be gone.
    void closeWhenQuiet();
    // UI thread: opens the device closed by closeWhenQuiet() again, with the
    // same format. False, with the reason on stderr, when it cannot.
    bool reopen();
    // UI thread, once opened: starts building the synthesizer on its thread,
    // which calls loaded() when it is done; does nothing once started.
    void startLoadingSynth(std::function<void()> loaded);
    // Waits for the synthesizer; nullptr when music cannot be played or its
    // loading was never started.
    MusicSynth* synth();
    // Stops the audio thread and closes the device (with SDL's audio if this
    // device started it); the hooks must be gone.
    void close();

    const SdlMixerLibrary& sdl() const { return *sdl_; }
    const Format& format() const { return format_; }
    QString driver() const { return driver_; }

    // UI thread: the audio thread is awake while one of these lives.
    class Awake {
    public:
        explicit Awake(SoundDevice& device);
        ~Awake();
        Awake(const Awake&) = delete;
        Awake& operator=(const Awake&) = delete;

    private:
        SoundDevice& device_;
    };
    // SDL2_mixer, for one call or a few: device.mixer()->Mix_PlayChannel(...).
    class Mixer {
    public:
        explicit Mixer(SoundDevice& device) : awake_(device), sdl_(&device.sdl()) {}
        const SdlMixerLibrary* operator->() const { return sdl_; }

    private:
        Awake awake_;
        const SdlMixerLibrary* sdl_;
    };
    Mixer mixer() { return Mixer(*this); }
    // SDL's audio lock while it lives, for state the audio thread reads in
    // its callbacks; nothing to lock on a closed device, which has no audio
    // thread.
    class Locked {
    public:
        explicit Locked(SoundDevice& device);
        ~Locked();
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;

    private:
        Awake awake_;
        SoundDevice& device_;
        const bool locked_;
    };

    // Audio thread, in a callback: sleeps until the UI thread wants the
    // mixer. Returns at once for a driver that calls back from its sound
    // server's thread, which must not stop.
    void sleep();
    // Anywhere: the audio thread is asleep.
    bool asleep() const;

private:
    bool open();
    bool findDevice();
    static std::unique_ptr<MusicSynth> loadSynth(Format format);

    const char* fallbackDriver_;
    const char* libraryName_;
    std::thread opener_;
    std::future<bool> opened_;
    std::thread synthLoader_;
    std::future<std::unique_ptr<MusicSynth>> synthLoaded_;
    // Written by the opener thread before it sets opened_; the UI thread's after.
    const SdlMixerLibrary* sdl_ = nullptr;
    bool ownsSdl_ = false;
    bool open_ = false;
    Format format_;
    QString driver_;
    quint32 deviceId_ = 0;
    bool maySleep_ = false;
    // The UI thread's: the device has opened once and closed for quiet since.
    bool closedWhenQuiet_ = false;
    // The UI thread's once taken from synthLoaded_.
    std::unique_ptr<MusicSynth> synth_;
    bool synthTaken_ = false;

    // The gate, shared by the UI and audio threads under its mutex.
    mutable std::mutex gateMutex_;
    std::condition_variable wake_;
    int awakeHolds_ = 0;
    bool asleep_ = false;
};

}  // namespace qv

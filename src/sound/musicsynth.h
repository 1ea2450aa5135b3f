#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>
#include <string>
#include <vector>

#include "fluidsynthlibrary.h"

namespace qv {

// The one General MIDI synthesizer that plays every tune. It is built and the
// sound font read into it once, when the device is opened (a tenth of a second
// or more); a tune then starts at once: a MIDI player on this synthesizer is
// made from the file's bytes in microseconds.
//
// Tunes follow each other without a reset, so the release of a tune's last
// notes rings on under the first notes of the next. Every tune sets its
// channels' programs and controllers at its top, so it sounds as it would on a
// fresh synthesizer; silence() gives a fresh one where nothing is ringing.
//
// Not thread-safe by itself: once the device runs, it is touched only with
// SDL's audio lock held, by the audio thread in its callbacks and by the UI
// thread through SoundDevice::Locked.
class MusicSynth {
public:
    static constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    // The gain SDL_mixer gave FluidSynth at full music volume, which the
    // tunes were made to sound right at.
    static constexpr double kFullGain = 1.2;
    // Volumes are on SDL_mixer's music scale, 0 to this.
    static constexpr int kFullVolume = 128;

    // Loads FluidSynth, builds the synthesizer for the device's rate and reads
    // the sound font; nullptr with the reason in *error.
    static std::unique_ptr<MusicSynth> load(int sampleRate, std::string* error,
                                            const char* libraryName = kFluidSynthLibraryName,
                                            const char* soundFont = kSoundFont);
    ~MusicSynth();
    MusicSynth(const MusicSynth&) = delete;
    MusicSynth& operator=(const MusicSynth&) = delete;

    // Plays a Standard MIDI File from its top, in place of the tune playing
    // before, whose ringing notes go on. False when FluidSynth refuses it.
    bool play(const QByteArray& tune);
    // Every voice stops at once, the reverb is emptied and the tune forgotten.
    void silence();

    void setVolume(int volume);
    // The gain the synthesizer applies now.
    double gain() const;

    // Renders the next frames into an interleaved 16-bit stream of the
    // device's channels, replacing what it holds. Returns the largest
    // sample's magnitude.
    int render(qint16* stream, int frames, int channels);

private:
    explicit MusicSynth(const FluidSynthLibrary& fluid) : fluid_(fluid) {}
    void dropPlayer();

    const FluidSynthLibrary& fluid_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    // Stereo frames for a device that does not play two channels.
    std::vector<qint16> stereo_;
};

}  // namespace qv

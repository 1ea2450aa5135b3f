#include "musicsynth.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

std::unique_ptr<MusicSynth> MusicSynth::load(int sampleRate, std::string* error,
                                             const char* libraryName, const char* soundFont) {
    const FluidSynthLibrary* fluid = loadFluidSynth(libraryName, error);
    if (fluid == nullptr)
        return nullptr;
    std::unique_ptr<MusicSynth> synth(new MusicSynth(*fluid));
    synth->settings_ = fluid->new_fluid_settings();
    if (synth->settings_ == nullptr) {
        *error = "FluidSynth made no settings";
        return nullptr;
    }
    // Set up as SDL_mixer set up the synthesizer it built for each tune.
    fluid->fluid_settings_setnum(synth->settings_, "synth.sample-rate", sampleRate);
    synth->synth_ = fluid->new_fluid_synth(synth->settings_);
    if (synth->synth_ == nullptr) {
        *error = "FluidSynth made no synthesizer";
        return nullptr;
    }
    if (fluid->fluid_synth_sfload(synth->synth_, soundFont, 1) == FLUID_FAILED) {
        *error = std::string("cannot read the sound font ") + soundFont;
        return nullptr;
    }
    synth->setVolume(kFullVolume);
    return synth;
}

MusicSynth::~MusicSynth() {
    dropPlayer();
    if (synth_ != nullptr)
        fluid_.delete_fluid_synth(synth_);
    if (settings_ != nullptr)
        fluid_.delete_fluid_settings(settings_);
}

void MusicSynth::dropPlayer() {
    if (player_ != nullptr)
        fluid_.delete_fluid_player(player_);
    player_ = nullptr;
}

bool MusicSynth::play(const QByteArray& tune) {
    dropPlayer();
    fluid_player_t* player = fluid_.new_fluid_player(synth_);
    if (player == nullptr)
        return false;
    if (fluid_.fluid_player_add_mem(player, tune.constData(), size_t(tune.size())) != FLUID_OK ||
        fluid_.fluid_player_play(player) != FLUID_OK) {
        fluid_.delete_fluid_player(player);
        return false;
    }
    player_ = player;
    return true;
}

void MusicSynth::silence() {
    dropPlayer();
    fluid_.fluid_synth_system_reset(synth_);
}

void MusicSynth::setVolume(int volume) {
    fluid_.fluid_synth_set_gain(synth_, float(volume * kFullGain / kFullVolume));
}

double MusicSynth::gain() const {
    return fluid_.fluid_synth_get_gain(synth_);
}

int MusicSynth::render(qint16* stream, int frames, int channels) {
    qint16* stereo = stream;
    if (channels != 2) {
        stereo_.resize(size_t(frames) * 2);
        stereo = stereo_.data();
    }
    fluid_.fluid_synth_write_s16(synth_, frames, stereo, 0, 2, stereo, 1, 2);
    if (channels != 2) {
        for (int frame = 0; frame < frames; ++frame) {
            const qint16 left = stereo[2 * frame];
            const qint16 right = stereo[2 * frame + 1];
            qint16* out = stream + qsizetype(frame) * channels;
            if (channels == 1) {
                out[0] = qint16((left + right) / 2);
            } else {
                std::fill(out, out + channels, qint16(0));
                out[0] = left;
                out[1] = right;
            }
        }
    }
    int peak = 0;
    for (qsizetype i = 0; i < qsizetype(frames) * channels; ++i)
        peak = std::max(peak, std::abs(int(stream[i])));
    return peak;
}

}  // namespace qv

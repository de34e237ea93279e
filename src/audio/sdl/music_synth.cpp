#include "audio/sdl/music_synth.h"

#include <fluidsynth.h>

#include <filesystem>
#include <sstream>

namespace pelmoravan {

TMusicSynth::TMusicSynth(int rate, const std::string& soundFonts, int polyphony) {
    FSettings = new_fluid_settings();
    if (FSettings == nullptr) {
        return;
    }
    fluid_settings_setnum(FSettings, "synth.sample-rate", rate);
    fluid_settings_setint(FSettings, "synth.reverb.active", 0);
    fluid_settings_setint(FSettings, "synth.chorus.active", 0);
    fluid_settings_setint(FSettings, "synth.polyphony", polyphony);
    fluid_settings_setnum(FSettings, "synth.gain", Gain);
    // Only the instruments in use are read from the soundfont, and nothing is locked into memory.
    fluid_settings_setint(FSettings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(FSettings, "synth.lock-memory", 0);
    FSynth = new_fluid_synth(FSettings);
    if (FSynth == nullptr) {
        return;
    }
    std::stringstream list(soundFonts);
    std::string path;
    while (std::getline(list, path, ':')) {
        std::error_code error;
        if (!path.empty() && std::filesystem::is_regular_file(path, error) &&
            fluid_synth_sfload(FSynth, path.c_str(), 1) != FLUID_FAILED) {
            FLoaded += 1;
        }
    }
}

TMusicSynth::~TMusicSynth() {
    if (FSynth != nullptr) {
        delete_fluid_synth(FSynth);
    }
    if (FSettings != nullptr) {
        delete_fluid_settings(FSettings);
    }
}

void TMusicSynth::Reset() {
    if (FSynth != nullptr) {
        fluid_synth_system_reset(FSynth);
    }
}

void TMusicSynth::Render(std::int16_t* stereo, int frames) {
    fluid_synth_write_s16(FSynth, frames, stereo, 0, 2, stereo, 1, 2);
}

} // namespace pelmoravan

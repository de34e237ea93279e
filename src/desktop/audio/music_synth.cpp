// SPDX-License-Identifier: MIT
#include "desktop/audio/music_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "desktop/audio/soundfont_views.h"

namespace pelmoravan {

TMusicSynth::TMusicSynth(int rate, const std::string& soundFonts, int polyphony,
                         std::optional<std::set<int>> programs)
    : FPrograms(std::move(programs)) {
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
    if (FPrograms) {
        if (fluid_sfloader_t* loader = TSoundFontViews::NewLoader(FSettings); loader != nullptr) {
            fluid_synth_add_sfloader(FSynth, loader); // tried before the default one
        } else {
            FPrograms.reset();
        }
    }
    std::stringstream list(soundFonts);
    std::string path;
    while (std::getline(list, path, ':')) {
        std::error_code error;
        if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
            continue;
        }
        const std::string cut = FPrograms ? TSoundFontViews::Register(path, *FPrograms) : "";
        if (!cut.empty() && fluid_synth_sfload(FSynth, cut.c_str(), 1) != FLUID_FAILED) {
            FCut.push_back(path);
            FLoaded += 1;
        } else if (fluid_synth_sfload(FSynth, path.c_str(), 1) != FLUID_FAILED) {
            FLoaded += 1;
        }
    }
}

void TMusicSynth::Cover(const std::set<int>& programs) {
    if (FSynth == nullptr || !FPrograms || FCut.empty() ||
        std::includes(FPrograms->begin(), FPrograms->end(), programs.begin(), programs.end())) {
        return;
    }
    // Loaded again whole, in the same order, so that the later ones still take precedence.
    for (const std::string& path : FCut) {
        fluid_synth_sfload(FSynth, path.c_str(), 1);
    }
    FCut.clear();
    FPrograms.reset();
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

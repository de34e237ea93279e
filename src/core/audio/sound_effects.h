// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "media/collection.h"
#include "ports/sound_output.h"

namespace pelmoravan {

// Plays effects of the wave collection by name or by position. Whether effects are switched
// on is the caller's business: one effect plays regardless.
class TSoundEffects {
public:
    TSoundEffects(const TWaveCollection& waves, IWaveOutput& output) : FWaves(waves), FOutput(output) {}

    // With sound, a name not in the collection raises the collection's error.
    void PlaySound(const std::string& name);
    // With sound, a position outside the collection raises the list's index error.
    void PlaySoundAt(std::int32_t position);

private:

    const TWaveCollection& FWaves;
    IWaveOutput& FOutput;
};

} // namespace pelmoravan

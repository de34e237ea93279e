// SPDX-License-Identifier: MIT
#include "audio/sound_effects.h"

namespace pelmoravan {

// Without a sound device the collection is not looked at: a front end without sound need not
// fill it.
void TSoundEffects::PlaySound(const std::string& name) {
    if (FOutput.Initialized()) {
        FOutput.Play(FWaves.Find(name));
    }
}

void TSoundEffects::PlaySoundAt(std::int32_t position) {
    if (FOutput.Initialized()) {
        FOutput.Play(FWaves.Items(position));
    }
}

} // namespace pelmoravan

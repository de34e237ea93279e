#include "audio/sound_effects.h"

namespace pelmoravan {

void TSoundEffects::PlaySound(const std::string& name) { Play(FWaves.Find(name)); }

void TSoundEffects::PlaySoundAt(std::int32_t position) { Play(FWaves.Items(position)); }

void TSoundEffects::Play(const TWaveCollectionItem& wave) {
    if (FOutput.Initialized()) {
        FOutput.Play(wave);
    }
}

} // namespace pelmoravan

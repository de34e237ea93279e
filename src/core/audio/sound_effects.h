#pragma once
#include <cstdint>
#include <string>

#include "media/collection.h"

namespace pelmoravan {

// The sound output behind the wave collection.
class IWaveOutput {
public:
    virtual ~IWaveOutput() = default;
    // False when there was no usable sound device: effects are then silent.
    virtual bool Initialized() const = 0;
    // Starts the wave once from its beginning and returns at once; a wave that is still
    // sounding from an earlier call keeps sounding, the new copy overlaps it.
    virtual void Play(const TWaveCollectionItem& wave) = 0;
};

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

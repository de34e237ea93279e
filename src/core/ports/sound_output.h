// SPDX-License-Identifier: MIT
#pragma once
#include "media/collection.h"

namespace pelmoravan {

// The sound output behind the wave collection. Called on the front end's one thread; Play must
// not wait for the sound. A front end without sound answers Initialized() with false: effects
// are then never looked up, so its wave collection may stay empty.
class IWaveOutput {
public:
    virtual ~IWaveOutput() = default;
    // False when there was no usable sound device: effects are then silent.
    virtual bool Initialized() const = 0;
    // Starts the wave once from its beginning and returns at once; a wave that is still
    // sounding from an earlier call keeps sounding, the new copy overlaps it.
    virtual void Play(const TWaveCollectionItem& wave) = 0;
};

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#pragma once
#include <map>
#include <string>

#include "audio/sound_effects.h"

struct Mix_Chunk;

namespace pelmoravan {

class TSdlAudio;

// Effects on the mixer's channels: each play takes a free channel, and when every channel is
// busy the mixer gets more, so one effect may overlap itself without limit. A wave is decoded
// on its first play from the bytes its collection item carries.
class TSdlWaveOutput final : public IWaveOutput {
public:
    explicit TSdlWaveOutput(const TSdlAudio& audio) : FAudio(audio) {}
    ~TSdlWaveOutput() override;
    TSdlWaveOutput(const TSdlWaveOutput&) = delete;
    TSdlWaveOutput& operator=(const TSdlWaveOutput&) = delete;

    bool Initialized() const override;
    void Play(const TWaveCollectionItem& wave) override;

    // How many mixer channels exist now.
    int Channels() const;

private:
    Mix_Chunk* Chunk(const TWaveCollectionItem& wave);

    const TSdlAudio& FAudio;
    std::map<const TWaveCollectionItem*, Mix_Chunk*> FChunks; // null: the wave does not decode
};

} // namespace pelmoravan

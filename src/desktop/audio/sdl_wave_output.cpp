// SPDX-License-Identifier: MIT
#include "desktop/audio/sdl_wave_output.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "desktop/audio/sdl_audio.h"

namespace pelmoravan {

TSdlWaveOutput::~TSdlWaveOutput() {
    for (auto& [item, chunk] : FChunks) {
        if (chunk != nullptr) {
            Mix_FreeChunk(chunk); // stops the channels still playing it first
        }
    }
}

bool TSdlWaveOutput::Initialized() const { return FAudio.Initialized(); }

int TSdlWaveOutput::Channels() const { return FAudio.Initialized() ? Mix_AllocateChannels(-1) : 0; }

Mix_Chunk* TSdlWaveOutput::Chunk(const TWaveCollectionItem& wave) {
    const auto found = FChunks.find(&wave);
    if (found != FChunks.end()) {
        return found->second;
    }
    Mix_Chunk* chunk = nullptr;
    if (const auto* file = dynamic_cast<const IWaveFile*>(wave.Wave.get()); file != nullptr) {
        SDL_RWops* bytes = SDL_RWFromConstMem(file->FileBytes(), static_cast<int>(file->FileSize()));
        chunk = Mix_LoadWAV_RW(bytes, 1); // the mixer keeps its own decoded copy
    }
    FChunks.emplace(&wave, chunk);
    return chunk;
}

void TSdlWaveOutput::Play(const TWaveCollectionItem& wave) {
    if (!FAudio.Initialized()) {
        return;
    }
    Mix_Chunk* chunk = Chunk(wave);
    if (chunk == nullptr) {
        return; // an undecodable wave is silent; effects never report anything
    }
    if (Mix_PlayChannel(-1, chunk, 0) == -1) {
        Mix_AllocateChannels(Mix_AllocateChannels(-1) + 8);
        Mix_PlayChannel(-1, chunk, 0);
    }
}

} // namespace pelmoravan

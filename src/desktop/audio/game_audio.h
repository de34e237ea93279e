// SPDX-License-Identifier: MIT
#pragma once
#include <cstdio>
#include <memory>

#include "audio/music.h"
#include "desktop/audio/sdl_audio.h"
#include "desktop/audio/sdl_music_player.h"
#include "desktop/audio/sdl_wave_output.h"

namespace pelmoravan {

// The desktop's sound parts: the device (DXSound1), the effects' output on it, the background
// music player (MediaPlayer1) and the built-in tracks, whose programs the synthesizer loads.
class TGameAudio {
public:
    TGameAudio(std::unique_ptr<ITrackSource> tracks, std::FILE* log = stderr, bool startNow = true);

    TSdlAudio& DXSound1() { return FDevice; }
    TSdlWaveOutput& WaveOutput() { return FWaves; }
    TSdlMusicPlayer& MediaPlayer1() { return FPlayer; }
    ITrackSource& Tracks() { return *FTracks; }

private:
    std::unique_ptr<ITrackSource> FTracks;
    TSdlAudio FDevice;
    TSdlWaveOutput FWaves;
    TSdlMusicPlayer FPlayer;
};

} // namespace pelmoravan

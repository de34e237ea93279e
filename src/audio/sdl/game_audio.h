#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "audio/sdl/sdl_audio.h"
#include "audio/sdl/sdl_music_player.h"
#include "audio/sdl/sdl_wave_output.h"

namespace pelmoravan {

// Everything that sounds, as the main window owns it: the device (DXSound1), effects from the
// wave collection, and the background music player (MediaPlayer1) with its track source.
class TGameAudio {
public:
    TGameAudio(const TWaveCollection& DXWaveList1, TRandom& random, std::unique_ptr<ITrackSource> tracks,
               std::string trackPath = MusicTrackFileName, std::FILE* log = stderr, bool startNow = true);

    void PlaySound(const std::string& name) { FEffects.PlaySound(name); }
    void PlaySoundAt(std::int32_t position) { FEffects.PlaySoundAt(position); }
    void PlayMusic(bool start) { FMusic.PlayMusic(start); }
    void MediaPlayer1Notify(bool musicOn) { FMusic.MediaPlayer1Notify(musicOn); }

    TSdlAudio& DXSound1() { return FDevice; }
    TSdlWaveOutput& WaveOutput() { return FWaves; }
    TSdlMusicPlayer& MediaPlayer1() { return FPlayer; }

private:
    TSdlAudio FDevice;
    TSdlWaveOutput FWaves;
    TSdlMusicPlayer FPlayer;
    std::unique_ptr<ITrackSource> FTracks;
    TSoundEffects FEffects;
    TBackgroundMusic FMusic;
};

} // namespace pelmoravan

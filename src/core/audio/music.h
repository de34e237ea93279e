// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <stdexcept>
#include <set>
#include <string>
#include <vector>

#include "game/random.h"
#include "ports/music_player.h"

namespace pelmoravan {

inline constexpr const char* MusicTrackFileName = "back.MID";
// The music chooses among "Sound1" to "Sound4".
inline constexpr std::int32_t MusicTracks = 4;

// The programs the tracks the music may choose select, with program 0, on which every channel
// starts: all that the synthesizer needs to play them.
std::set<int> TrackPrograms(ITrackSource& tracks);

// Background music: a random track of the first four written to the track file and played;
// when it ends, the next random one follows while music stays on.
class TBackgroundMusic {
public:
    TBackgroundMusic(IMediaPlayer& player, ITrackSource& tracks, TRandom& random,
                     std::string path = MusicTrackFileName);

    // start = true (re)starts with a new track; false stops and only prepares the next file.
    // Errors other than the closing player's go to the caller; a track file that cannot be
    // written is also told on standard error, in one line naming the file and the reason. The
    // first call removes what a killed copy left half-written beside the file.
    void PlayMusic(bool start);
    // The player's end-of-play notification.
    void MediaPlayer1Notify(bool musicOn);

    const std::string& Path() const { return FPath; }

private:
    IMediaPlayer& FPlayer;
    ITrackSource& FTracks;
    TRandom& FRandom;
    std::string FPath;
    bool FSwept = false;
};

} // namespace pelmoravan

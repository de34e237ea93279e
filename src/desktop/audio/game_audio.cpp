// SPDX-License-Identifier: MIT
#include "desktop/audio/game_audio.h"

namespace pelmoravan {

TGameAudio::TGameAudio(std::unique_ptr<ITrackSource> tracks, std::FILE* log, bool startNow)
    : FTracks(std::move(tracks)),
      FDevice(log, startNow, TrackPrograms(*FTracks)),
      FWaves(FDevice),
      FPlayer(FDevice, log) {}

} // namespace pelmoravan

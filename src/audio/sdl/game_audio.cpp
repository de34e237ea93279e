#include "audio/sdl/game_audio.h"

namespace pelmoravan {

TGameAudio::TGameAudio(const TWaveCollection& DXWaveList1, TRandom& random,
                       std::unique_ptr<ITrackSource> tracks, std::string trackPath, std::FILE* log,
                       bool startNow)
    : FDevice(log, startNow, TrackPrograms(*tracks)),
      FWaves(FDevice),
      FPlayer(FDevice, log),
      FTracks(std::move(tracks)),
      FEffects(DXWaveList1, FWaves),
      FMusic(FPlayer, *FTracks, random, std::move(trackPath)) {}

} // namespace pelmoravan

#include "audio/music.h"

#include "shell/binary_file.h"

namespace pelmoravan {

TBackgroundMusic::TBackgroundMusic(IMediaPlayer& player, ITrackSource& tracks, TRandom& random,
                                   std::string path)
    : FPlayer(player), FTracks(tracks), FRandom(random), FPath(std::move(path)) {}

void TBackgroundMusic::PlayMusic(bool start) {
    try {
        FPlayer.Close();
    } catch (...) {
        // Closing a player that was never opened, or is already gone, is fine.
    }
    const TPlayerMode mode = FPlayer.Mode();
    if (mode == TPlayerMode::NotReady || mode == TPlayerMode::Stopped) {
        FRandom.Reseed();
        const std::int32_t n = FRandom.Random(4) + 1; // the fifth track is never chosen
        const std::vector<std::uint8_t> bytes = FTracks.Track("Sound" + std::to_string(n));
        TBinaryFile file(FPath, TFileMode::Create);
        file.WriteBuffer(bytes.data(), bytes.size());
        file.Close();
    }
    if (FileExists(FPath)) {
        FPlayer.SetFileName(FPath);
        if (start) {
            FPlayer.Open();
            FPlayer.Play();
        }
    }
}

void TBackgroundMusic::MediaPlayer1Notify(bool musicOn) {
    if (FPlayer.Mode() == TPlayerMode::Stopped && musicOn) {
        PlayMusic(true);
    }
}

} // namespace pelmoravan

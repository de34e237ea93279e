// SPDX-License-Identifier: MIT
#include "audio/music.h"

#include <cstdio>

#include "audio/midi_programs.h"
#include "audio/rmid.h"
#include "media/binary_file.h"

namespace pelmoravan {

namespace {

std::string TrackName(std::int32_t n) { return "Sound" + std::to_string(n); }

} // namespace

std::set<int> TrackPrograms(ITrackSource& tracks) {
    std::set<int> programs = {0};
    for (std::int32_t n = 1; n <= MusicTracks; ++n) {
        try {
            programs.merge(ProgramChanges(UnwrapRmid(tracks.Track(TrackName(n)))));
        } catch (const ETrackNotFound&) {
            // A track that is not there is never played.
        }
    }
    return programs;
}

TBackgroundMusic::TBackgroundMusic(IMediaPlayer& player, ITrackSource& tracks, TRandom& random,
                                   std::string path)
    : FPlayer(player), FTracks(tracks), FRandom(random), FPath(std::move(path)) {}

void TBackgroundMusic::PlayMusic(bool start) {
    try {
        FPlayer.Close();
    } catch (...) {
        // Closing a player that was never opened, or is already gone, is fine.
    }
    if (!FSwept) {
        FSwept = true;
        RemoveStaleTemporaries(FPath); // left by a copy of the game killed while writing
    }
    const TPlayerMode mode = FPlayer.Mode();
    if (mode == TPlayerMode::NotReady || mode == TPlayerMode::Stopped) {
        FRandom.Reseed();
        const std::int32_t n = FRandom.Random(MusicTracks) + 1; // the fifth track is never chosen
        const std::vector<std::uint8_t> bytes = FTracks.Track(TrackName(n));
        try {
            ReplaceFile(FPath, bytes.data(), bytes.size());
        } catch (const EFileError& error) {
            // The box says only "Stream write error"; the file and the reason go here.
            std::fprintf(stderr, "pelmoravan: %s\n", error.Detail().c_str());
            std::fflush(stderr);
            throw;
        }
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

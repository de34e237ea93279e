// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "audio/music.h"

typedef struct _fluid_player_t fluid_player_t;

namespace pelmoravan {

class TMusicSynth;
class TSdlAudio;

// The music player: the synthesizer plays the track on the mixer's music stream, rendered ahead
// in blocks of a few hundred milliseconds. A play asked for before the sound has started begins
// as soon as it has. The end of a track is seen on the audio thread and handed to Post, which
// runs it on the owner's loop; there OnNotify is called, and only for the play request that is
// still current, never for a stop we asked for. A track that cannot be played (no device, no
// soundfont, bad data) leaves the player open and silent; the first such failure is told on the
// log once.
class TSdlMusicPlayer final : public IMediaPlayer {
public:
    using TTask = std::function<void()>;

    explicit TSdlMusicPlayer(TSdlAudio& audio, std::FILE* log = stderr);
    ~TSdlMusicPlayer() override;

    void Close() override;
    TPlayerMode Mode() const override;
    void SetFileName(const std::string& path) override;
    void Open() override;
    void Play() override;

    const std::string& FileName() const { return FFileName; }

    // Set by the owner before the first play. Post is called on the audio thread and must queue
    // the task on the owner's loop, dropping it if the owner is gone first; without it no end
    // is told.
    std::function<void(TTask)> Post;
    TTask OnNotify;

private:
    // Frames rendered at a time: about 370 ms at the mixing rate.
    static constexpr int BlockFrames = 8192;

    static void Mix(void* self, std::uint8_t* stream, int length); // the mixer's music hook
    void MixLocked(std::int16_t* out, int frames);
    void StartLocked();
    void StopLocked();
    void Deliver(std::uint64_t generation);
    void Complain(const std::string& why);

    TSdlAudio& FAudio;
    std::FILE* FLog;
    std::string FFileName;
    bool FOpen = false;

    // Shared with the audio thread and the start-up thread.
    mutable std::mutex FLock;
    bool FComplained = false;
    std::vector<std::uint8_t> FData;   // the track as the synthesizer reads it
    bool FWanted = false;              // a play is asked for and has not ended
    std::uint64_t FGeneration = 0;     // counts play requests and stops
    TMusicSynth* FSynth = nullptr;     // once the sound has started
    fluid_player_t* FPlayer = nullptr; // while the track is playing
    std::vector<std::int16_t> FBlock;  // rendered ahead, interleaved stereo
    std::size_t FBlockAt = 0;          // the next sample of FBlock to hand out
    bool FRenderDone = false;          // the track has ended; the rest of FBlock still plays
};

} // namespace pelmoravan

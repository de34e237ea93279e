#pragma once
#include <cstdint>
#include <stdexcept>
#include <set>
#include <string>
#include <vector>

#include "game/random.h"

namespace pelmoravan {

// The player's mode as the game reads it, in this order.
enum class TPlayerMode : std::uint8_t { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

// The music player: one track file at a time, played from its start, with a notification
// (delivered on the window's thread) when a play request ends.
class IMediaPlayer {
public:
    virtual ~IMediaPlayer() = default;
    virtual void Close() = 0;
    // NotReady while closed.
    virtual TPlayerMode Mode() const = 0;
    virtual void SetFileName(const std::string& path) = 0;
    virtual void Open() = 0;
    virtual void Play() = 0;
};

// The built-in tracks by resource name, compared without regard to case.
class ITrackSource {
public:
    virtual ~ITrackSource() = default;
    // Throws ETrackNotFound ("Resource %s not found") for a name it does not hold.
    virtual std::vector<std::uint8_t> Track(const std::string& name) = 0;
};

class ETrackNotFound : public std::runtime_error {
public:
    explicit ETrackNotFound(const std::string& name)
        : std::runtime_error("Resource " + name + " not found") {}
};

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
    // Errors other than the closing player's go to the caller.
    void PlayMusic(bool start);
    // The player's end-of-play notification.
    void MediaPlayer1Notify(bool musicOn);

    const std::string& Path() const { return FPath; }

private:
    IMediaPlayer& FPlayer;
    ITrackSource& FTracks;
    TRandom& FRandom;
    std::string FPath;
};

} // namespace pelmoravan

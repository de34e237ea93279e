// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelmoravan {

// The player's mode as the game reads it, in this order.
enum class TPlayerMode : std::uint8_t { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

// The music player: one track file at a time, played from its start. When a play request ends,
// the front end tells the house (TGameHost::MediaPlayer1Notify) on its own thread, never from
// the player's. A front end without music may give a player that never plays; the track file is
// still written.
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

} // namespace pelmoravan

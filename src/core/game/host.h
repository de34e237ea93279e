#pragma once
#include <cstdint>
#include <string>

#include "game/board_keys.h"

namespace pelmoravan {

// What the rules ask of the world they run in. The game's house (host/game_host.h) implements
// it for every front end; tests implement it with scripted answers and recorders.
class IGameHost {
public:
    virtual ~IGameHost() = default;

    // A modal yes/no question; ticks may run nested while it is open.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Offers a score to the best-score list (enter = ask for a name and record it).
    virtual void UpdateScores(bool enter, std::int32_t score) = 0;
    virtual void PlaySound(const std::string& name) = 0;
    virtual void PlaySoundAt(std::int32_t position) = 0;
    // Lets the window handle one pending message from inside an operation.
    virtual void ProcessOneMessage() = 0;
    virtual std::int32_t ScreenWidth() const = 0;
    virtual std::int32_t SurfaceWidth() const = 0;
    virtual std::int32_t SurfaceHeight() const = 0;
    virtual void EnableFrameTimer() = 0;
    // Asks the application to end (exit code 0); returns at once, the ending comes later.
    virtual void Terminate() = 0;
    // A modal file-save dialog whose answer nobody uses; ticks may run nested while it is open.
    virtual void ShowSaveDialog() = 0;
    // Something a player who cannot see the board should hear; nothing by default.
    virtual void Tell(const TNews& news) { static_cast<void>(news); }
};

} // namespace pelmoravan

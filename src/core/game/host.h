// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "flow/flow.h"
#include "flow/request_queue.h"
#include "game/board_keys.h"

namespace pelmoravan {

// What the rules and the menu's commands ask of the house beyond the window (ports/window.h):
// the sound, the music, the frame timer, the surface's size and the language. The game's house
// (host/game_host.h) implements it for every front end; tests implement it with recorders.
// Every call comes on the front end's one thread and runs no tick or event inside it.
class IGameHost {
public:
    virtual ~IGameHost() = default;

    // An effect by its name or its place in the wave collection; silent without sound.
    virtual void PlaySound(const std::string& name) = 0;
    virtual void PlaySoundAt(std::int32_t position) = 0;
    // The music on or off, as its menu item asks.
    virtual void PlayMusic(bool start) = 0;
    // The surface the game draws on, in pixels.
    virtual std::int32_t SurfaceWidth() const = 0;
    virtual std::int32_t SurfaceHeight() const = 0;
    virtual void EnableFrameTimer() = 0;
    // The language's texts, the menu's captions and the window caption.
    virtual void ApplyLanguage(std::uint8_t language) = 0;
    // Something a player who cannot see the board should hear; nothing by default.
    virtual void Tell(const TNews& news) { static_cast<void>(news); }

    // The game's dialogs, shown one at a time and answered later (flow/request_queue.h).
    virtual TRequestQueue& Requests() = 0;
    // Runs a flow that waits for answers or ticks; the house keeps it until it ends, and shows
    // the error that ends one.
    virtual void Run(TFlow<> flow) = 0;
    // The best-score list as a flow: the score offered (enter), the list shown (score -1), or
    // only the file checked (enter false).
    virtual TFlow<> UpdateScores(bool enter, std::int32_t score) = 0;
    // The game's LinkLineTurn is to run on a later turn of the front end's loop.
    virtual void RequestTurn() = 0;
    // An error shown to the player (and written to standard error); play goes on.
    virtual void ReportError(const std::string& message) = 0;
};

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "ports/requests.h"

namespace pelmoravan {

// The window a front end shows the game in: its dialogs, its menu as shown, its caption and its
// ways out. The rules and the menu's commands call it through the house (host/game_host.h).
//
// Rules every implementation keeps:
// - Threading: every call comes on the front end's one thread, the one that delivers its events
//   to the house; nothing here may be called from another thread.
// - No call waits or lets the front end's events run: each returns at once. What needs the
//   player's answer is a request (ports/requests.h), answered later through the house.
// - Nothing reaches the house from inside these calls: an answer or an event comes on a later
//   turn of the front end's loop.
class IGameWindow {
public:
    virtual ~IGameWindow() = default;

    // Shows a request (a dialog as data) and returns at once. The house shows one at a time;
    // the front end answers it later with the house's Answer, exactly once.
    virtual void ShowRequest(const TRequest& request) = 0;
    // Takes down the shown request with this id without an answer: the game answered it itself.
    virtual void CloseRequest(std::uint32_t id) = 0;
    // The house's Turn is to run once on a later turn of the front end's loop, after the events
    // pending now, with no delay of its own (a link line's next pass). Asked again before that
    // turn came, it still runs once.
    virtual void RequestTurn() = 0;
    // The width, in pixels, of the screen the game lays itself out for: from 800 to 1023 a
    // game takes the small cells, and the status band is centred on it rather than on the
    // surface. The desktop gives its monitor's width; a front end without a monitor of its own
    // gives the width it shows the surface at (the page: its surface's width).
    virtual std::int32_t ScreenWidth() const = 0;
    // Asks the program to end with exit code (0, or 1 after a start-up error); returns at once,
    // the ending comes later. The house hands nothing more to the game afterwards.
    virtual void Terminate(int exitCode = 0) = 0;

    // Copies captions, enabled states and check marks from the menu model to the shown menu.
    virtual void SyncMenu() = 0;
    virtual void ShowCaption(const std::string& caption) = 0;
    // The Exit command: ends the program (the page on a finger asks first, through a request).
    virtual void CloseWindow() = 0;

    // Words for a screen reader: what the board told (urgent: the outcome of a move, said at
    // once), and the status band's text each time it changes. A window without a reader's
    // channel ignores them.
    virtual void Say(const std::string& text, bool urgent) { static_cast<void>(text), static_cast<void>(urgent); }
    virtual void ShowStatus(const std::string& text) { static_cast<void>(text); }
};

} // namespace pelmoravan

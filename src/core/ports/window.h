// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "ports/requests.h"

namespace pelmoravan {

// What words for a screen reader are about, so that a window can give each kind its own channel.
enum class TWordsKind : std::uint8_t {
    // The cell under the board cursor after a board key: the cursor's cell, named as it moves.
    Cell,
    // A tile selected or taken back, or nothing there to take back.
    Selection,
    // What a move, a command or the clock brought: a pair removed (with how the board moved and
    // the cursor's cell after it), not linked, a hint, a shuffle, a new level, the time running
    // low, the game's end. Each is news of its own: a window tells none merged into the next.
    Outcome,
    // The game paused: what the board's words told is covered with the board, and until Resumed
    // the board tells nothing more.
    Paused,
    Resumed,
    // The status (level, rule, time, hints, shuffles, score), asked for with T.
    Status,
};

struct TSpokenWords {
    std::string Text;
    TWordsKind Kind = TWordsKind::Cell;
    // An outcome of the player's move or command: said at once, over what is being said.
    bool Urgent = false;
    // The cursor's cell the words name (Cell, Selection, and an outcome that names it), in the
    // board's own columns and rows counted from 0, whatever the words call it; -1 for none.
    std::int32_t Col = -1;
    std::int32_t Row = -1;
};

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

    // Words for a screen reader, one call for each piece of news, in the order told; several may
    // come from one event (a removal, then a shuffle), and each is to be heard. By default they
    // go to Say. A window without a reader's channel ignores them.
    virtual void Speak(const TSpokenWords& words) { Say(words.Text, words.Urgent); }
    // The words alone (urgent: said at once).
    virtual void Say(const std::string& text, bool urgent) { static_cast<void>(text), static_cast<void>(urgent); }
    // The status band's text each time it changes: for reading, not to be spoken by itself (it
    // changes every ten seconds); the status is spoken when the player asks for it.
    virtual void ShowStatus(const std::string& text) { static_cast<void>(text); }
};

} // namespace pelmoravan

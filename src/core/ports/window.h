#pragma once
#include <cstdint>
#include <string>

namespace pelmoravan {

// The window a front end shows the game in: its dialogs, its menu as shown, its caption and its
// ways out. The rules and the menu's commands call it directly; the house (host/game_host.h)
// adds nothing to it.
//
// Rules every implementation keeps:
// - Threading: every call comes on the front end's one thread, the one that delivers its events
//   to the house; nothing here may be called from another thread.
// - Ticks: only AskYesNo, UpdateScores, ShowSaveDialog and ProcessOneMessage may let the front
//   end's events through while they run, so ticks, clicks and commands may run nested inside
//   them (the rules expect it and guard their own state). Every other call returns without
//   running any. A front end that cannot wait (the page) may answer at once instead.
// - Nesting: a dialog may be asked for while another is open (a level that ends behind an open
//   question); the window answers it without waiting or shows it on top, never fails.
// - Errors: the Report calls never throw, but ReportStartError may, to give up the start.
class IGameWindow {
public:
    virtual ~IGameWindow() = default;

    // A modal yes/no question; ticks may run nested while it is open.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Offers a score to the best-score list (enter = ask for a name and record it; score -1
    // only shows the list). A file error is told to the player and the game goes on. Ticks may
    // run nested while it waits, for the player or for the lock another copy of the game holds.
    virtual void UpdateScores(bool enter, std::int32_t score) = 0;
    // Lets one pending event through from inside a long operation (a shuffle, a link line's
    // pause); that event may be a tick or a click. Returns at once when nothing is pending or
    // the window is already waiting for something else.
    virtual void ProcessOneMessage() = 0;
    // The width, in pixels, of the screen the game lays itself out for: from 800 to 1023 a
    // game takes the small cells, and the status band is centred on it rather than on the
    // surface. The desktop gives its monitor's width; a front end without a monitor of its own
    // gives the width it shows the surface at (the page: its surface's width).
    virtual std::int32_t ScreenWidth() const = 0;
    // Asks the program to end (exit code 0); returns at once, the ending comes later.
    virtual void Terminate() = 0;
    // A modal file-save dialog whose answer nobody uses; ticks may run nested while it is open.
    virtual void ShowSaveDialog() = 0;

    // Copies captions, enabled states and check marks from the menu model to the shown menu.
    virtual void SyncMenu() = 0;
    virtual void ShowCaption(const std::string& caption) = 0;
    virtual void ShowAbout() = 0;
    // The Exit command.
    virtual void CloseWindow() = 0;

    // An error that escaped a tick, a click or the music's next track: shown, and play goes on.
    virtual void ReportError(const std::string& message) = 0;
    // An error inside a menu command: shown, and the game goes on.
    virtual void ReportCommandError(const std::string& message) = 0;
    // An error while starting (the first track could not be written): the window either gives
    // up the start by throwing, or shows it and lets the game start without music.
    virtual void ReportStartError(const std::string& message) = 0;

    // Words for a screen reader: what the board told (urgent: the outcome of a move, said at
    // once), and the status band's text each time it changes. A window without a reader's
    // channel ignores them.
    virtual void Say(const std::string& text, bool urgent) { static_cast<void>(text), static_cast<void>(urgent); }
    virtual void ShowStatus(const std::string& text) { static_cast<void>(text); }
};

} // namespace pelmoravan

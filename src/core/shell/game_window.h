#pragma once
#include <cstdint>
#include <string>

namespace pelmoravan {

// What the game's house asks of the window it is shown in: dialogs, the menu as shown, the
// caption and the ways out. A front end implements this once; the house does the rest.
class IGameWindow {
public:
    virtual ~IGameWindow() = default;

    // A modal yes/no question; ticks may run nested while it is open.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Offers a score to the best-score list (enter = ask for a name and record it; score -1
    // only shows the list). A file error is told to the player and the game goes on.
    virtual void UpdateScores(bool enter, std::int32_t score) = 0;
    // Lets the window handle one pending message from inside an operation.
    virtual void ProcessOneMessage() = 0;
    virtual std::int32_t ScreenWidth() const = 0;
    virtual std::int32_t SurfaceWidth() const = 0;
    virtual std::int32_t SurfaceHeight() const = 0;
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

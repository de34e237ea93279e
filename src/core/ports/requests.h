// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pelmoravan {

// Every dialog of the game is a request: data the front end shows, then answers later through
// the house (ports/house.h, Answer). The core never waits for it: ticks go on meanwhile.
//
// Rules every front end keeps:
// - The house shows one request at a time (IGameWindow::ShowRequest). It shows the next only
//   after the front end answered the one shown, so a front end never holds two.
// - Every shown request is answered exactly once, with its Id, whatever closes it (its buttons,
//   Esc, the window's close button): an unanswered request holds every later one back.
// - CloseRequest takes a request down that the game answered itself (the score file's busy box,
//   once the lock came free); it is not answered then.
// - Texts are shown exactly as given: the core has chosen the language already.
enum class TRequestKind : std::uint8_t {
    YesNo,     // Text is the question; answered Yes (Accepted) or No
    NameEntry, // Caption, Text the prompt, Preset the name offered; a name (Accepted) or Cancel
    ScoreList, // Caption, Headers (rank, name, score), Rows, Button; answered when closed
    Message,   // Caption, Text, Button (may be empty: the front end's OK); an error when Error
    About,     // Caption, Lines: title, version, home label, home address, mail label, mail
               // address, how to play; Button closes it
    SaveFile,  // a file-save dialog whose answer nobody uses
    ScoreBusy, // Text, Button (Cancel): another copy holds the score file; Cancel gives up
    StartError // Text: the start failed; the program ends with exit code 1 once it is answered
};

struct TScoreRow {
    std::string Name;
    std::int32_t Score = 0;
    bool operator==(const TScoreRow&) const = default;
};

struct TRequest {
    std::uint32_t Id = 0;
    TRequestKind Kind = TRequestKind::Message;
    std::string Caption;
    std::string Text;
    std::string Preset;
    std::string Button;
    bool Error = false;
    std::vector<std::string> Headers;
    std::vector<TScoreRow> Rows;
    std::vector<std::string> Lines;
};

// What the player did with a request: Accepted is Yes, OK or a name given (in Name); false is
// No, Cancel or the box closed without a choice.
struct TAnswer {
    bool Accepted = false;
    std::string Name;
};

} // namespace pelmoravan

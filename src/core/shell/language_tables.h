// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace pelmoravan {

// The built-in texts of both languages, indexed from 1 like the game's text arrays; entry 0 of
// each table is unused and empty.
using TLevelNameTable = std::array<std::string_view, 11>;  // 1..10
using TMessageTable = std::array<std::string_view, 49>;    // 1..48
using TBonusNameTable = std::array<std::string_view, 6>;   // 1..5

extern const TLevelNameTable ChineseLevelNames;
extern const TMessageTable ChineseMessages;
extern const TBonusNameTable ChineseBonusNames;

extern const TLevelNameTable EnglishLevelNames;
extern const TMessageTable EnglishMessages;
extern const TBonusNameTable EnglishBonusNames;

// The texts of what a desktop takes from the system (the buttons of a question, the save dialog)
// and of the browser page's own notes, so that a screen shows one language throughout.
struct TControlTexts {
    std::string_view Yes;
    std::string_view No;
    std::string_view Ok;
    std::string_view Cancel;
    std::string_view Save;
    std::string_view SaveAs;
    std::string_view FileName;
    std::string_view Ended;          // the page once the program has ended
    std::string_view StartAgain;
    std::string_view TurnDevice;     // tiles too small for a finger on an upright phone
    std::string_view PlayArea;       // the accessible name of the drawn surface
    std::string_view PlayCommands;   // the accessible name of the touch buttons' group
    std::string_view Menu;           // the button a finger's page folds the menu bar into
    std::string_view ExitQuestion;   // asked before a touch player's Exit ends a game in progress
    std::string_view ScoresNotKept;  // the page's storage cannot read or store the score list
    std::string_view ScoreFileBusy;  // another copy of the game holds the score file's lock
    std::string_view ScoreNotRecorded; // the player stopped waiting for it
};

extern const TControlTexts ChineseControlTexts;
extern const TControlTexts EnglishControlTexts;

// 1 English, anything else Chinese.
const TControlTexts& ControlTexts(std::uint8_t language);

// A picture's subject, said to a player who cannot see the board: one of it, and two of it
// (Chinese says both alike).
struct TPictureName {
    std::string_view Chinese;
    std::string_view English;
    std::string_view EnglishTwo;
};

// By picture number 0..99; the deal uses 1..99.
extern const std::array<TPictureName, 100> PictureNames;

// What the board tells a listener; {0}, {1}, ... stand for the values each text names. Columns
// and rows are numbers counted from 1, as shown on the screen.
struct TBoardWordTexts {
    std::string_view Cell;        // {0} picture or Empty, {1} column, {2} row
    std::string_view CellOne;     // {0} picture or Empty, {1} the column or the row a key moved along
    std::string_view Empty;
    std::string_view Selected;    // {0} picture
    std::string_view Deselected;  // {0} picture
    std::string_view NothingSelected;
    std::string_view Removed;     // {0} two of the picture, {1} tiles left
    std::string_view Moved;       // {0} the movement rule's name
    std::string_view NewTiles;    // {0} the cells that got a tile, each as Cell says it
    std::string_view And;         // between two cells
    std::string_view Then;        // between the parts of one piece of news
    std::string_view NotLinked;
    std::string_view Hint;        // {0} picture, {1} {2} one cell, {3} {4} the other
    std::string_view Shuffled;
    std::string_view NewLevel;    // {0} level name, {1} movement rule, {2} tiles
    std::string_view CellOrder;   // how a cell is read, told when a game starts
    std::string_view TimeLow;     // {0} seconds left
    std::string_view GameOver;    // {0} score
    std::string_view Paused;
    std::string_view Resumed;
    std::string_view Status;      // {0} level name, {1} rule, {2} seconds left, {3} hints, {4} shuffles, {5} score
    std::string_view KeysHelp;    // the board's keys, for the page's help
};

extern const TBoardWordTexts ChineseBoardWords;
extern const TBoardWordTexts EnglishBoardWords;

// 1 English, anything else Chinese.
const TBoardWordTexts& BoardWordTexts(std::uint8_t language);

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/cell.h"
#include "game/host.h"
#include "game/mouse.h"
#include "game/random.h"
#include "media/canvas.h"
#include "media/collection.h"
#include "media/keyboard.h"
#include "media/sprite_engine.h"
#include "ports/requests.h"
#include "ports/window.h"

namespace pelmoravan {

// The four screens of the game.
enum class TGameState : std::uint8_t { Title, Playing, Paused, GameOver };

// A mark a playing frame drew on a cell, at the cell's surface position: pressed in for a
// selection, raised for a hint.
struct TDrawnMark {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool Raised = false;
};

// The whole game state and the operations of the rules. The main window owns one; tests drive
// it through a fake host.
class TGame {
public:
    TGame(IGameWindow& window, IGameHost& host, ISeedSource& seedSource);

    // --- state (see the field notes for meaning) ---
    TGameState GameState = TGameState::Title;
    std::int32_t Difficulty = 1;     // 1 Easy, 2 Normal, 3 Hard
    std::int32_t Level = 0;          // 1..10; 11 for one set-up after the tenth level
    std::int32_t Score = 0;
    std::int32_t DifficultyPoints = 0;
    std::int32_t LevelStepPoints = 0;
    std::int32_t LevelPoints = 0;
    std::int32_t PairPoints = 0;
    std::int32_t PairSeconds = 0;
    std::int32_t PairsRemoved = 0;
    std::int32_t TimeLimit = 0;
    std::int32_t ElapsedSeconds = 0;
    std::int32_t SecondTicks = 0;
    std::int32_t DisplayTicks = 0;
    std::int32_t HintTicks = 0;
    std::int32_t AutoTicks = 0;
    std::int32_t HintsLeft = 0;
    std::int32_t ShufflesLeft = 0;
    std::int32_t BonusKind = -1;
    std::int32_t BonusAmount = 0;
    std::int32_t CellWidth = 50;
    std::int32_t CellHeight = 38;
    std::int32_t TileDrawWidth = 0;
    std::int32_t TileDrawHeight = 0;
    std::int32_t BoardLeft = 0;
    std::int32_t BoardTop = 0;
    std::int32_t BoardColumns = 0;
    std::int32_t BoardRows = 0;
    std::int32_t MouseX = 0;
    std::int32_t MouseY = 0;
    bool SmallScreen = false;
    // The board is shown turned for an upright screen: mirrored across its diagonal, so that
    // column c, row r shows at screen column r, row c and every tile stands upright on a tall
    // plate. Only the drawing, the pointer and the words see it (the words name columns and rows
    // as shown, and M walks the tiles in the order they are read on the screen); the rules keep
    // their own geometry.
    bool BoardUpright = false;
    // The pointer is a finger: taps find the tile meant (SelectTouchedTile). TouchPixel is one
    // CSS pixel of the page in surface pixels, for the reach of a tap.
    bool TouchPointer = false;
    double TouchPixel = 1.0;
    bool AutoPlay = false;
    bool Shuffling = false;
    bool Searching = false;
    bool DialogShown = false;
    bool MusicOn = true;
    bool SoundOn = true;
    std::uint8_t Language = 0;       // 0 Chinese, 1 English
    std::int32_t TimeBarWidth = 300;
    std::int32_t TimeBarHeight = 20;
    std::int32_t TimeBarTop = 10;
    std::int32_t TimeBarColor = 255;
    std::int32_t LogoTicks = 0;
    std::array<TCell, 2> Selected{};
    std::array<TCell, 2> RemovedPair{};
    std::array<TCell, 2> LinkCorner{};
    std::array<TCell, 2> HintPair{};
    // The board cursor: the cell the keys play, and whether it is drawn. It names a cell, not a
    // tile, so it stays put when the tiles slide.
    std::int32_t CursorCol = 0;
    std::int32_t CursorRow = 0;
    bool CursorShown = false;
    TBoard Board;
    std::array<std::string, 11> LevelNames;   // 1..10
    std::array<std::string, 101> Messages;    // 1..100
    std::array<std::string, 6> BonusNames;    // 1..5
    std::int32_t TileCount = 0;
    std::int32_t KindsA = 0;
    std::int32_t BatchATiles = 0;
    std::int32_t KindsB = 0;
    std::int32_t GroupSizeB = 0;
    std::int32_t GroupSize = 0;

    // --- owned parts and collaborators ---
    TDXSpriteEngine DXSpriteEngine;
    TPictureCollection* ImageList = nullptr; // owned by the window
    IDrawControl* DXDraw = nullptr;          // the play surface, owned by the window
    TPictureCollection* DXImageList1 = nullptr; // "back", "gameover", "logo"; owned by the window
    TPictureCollection* BackImage = nullptr;    // tile backs "back1".."back10"; owned by the window
    // The tile pictures on tall plates for the upright board, in the order of ImageList; may be
    // empty (then the picture is drawn centred on the tall cell).
    TPictureCollection* UprightImageList = nullptr;
    IKeyboard* DXInput = nullptr;               // Esc and F9, polled once per tick
    TRandom Rng;
    IGameWindow& Window;
    IGameHost& Host;

    // --- level set-up ---
    void StartGame(std::int32_t difficulty);
    void AdvanceLevel();
    void SetupLevel();
    // The level's points, time and deal, once its parameters are set.
    void DealLevel();
    // After the tenth level: the score offered, the question to go on, then the next deal.
    TFlow<> FinishDifficulty();
    static void ChooseBoardSize(std::int32_t n, std::int32_t& columns, std::int32_t& rows);
    void CreateTileSprites();

    // --- shuffle ---
    void MixTiles();
    static void ExchangeTiles(TCell& a, TCell& b);

    // --- keeping sprites equal to their cells ---
    void PlaceTileSprites();
    void RefreshTileSprites();

    // --- link test ---
    // Whether two tiles can be joined by at most three clear straight segments, the ring outside
    // the board included: both corners' Linked set means yes. Pictures are the callers' business.
    void LinkTest(TCell first, TCell second, TCell& corner1, TCell& corner2);
    // Copies every field but Sprite.
    static void CopyCell(const TCell& source, TCell& destination);
    static void ResetCorners(TCell& corner1, TCell& corner2);

    // --- the board as shown ---
    // A rectangle of the board's geometry (x, y, w, h) where it shows on the surface.
    TRect ShownRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) const;
    // A point of the board's geometry where it shows, and back: the turn is its own inverse.
    TPoint ShownPoint(TPoint p) const { return BoardUpright ? TPoint{p.Y, p.X} : p; }

    // --- selection and removal ---
    // A pointer's press: it hides the board cursor and leaves it on the cell pressed, then acts.
    void DXDrawMouseDown(TMouseButton Button, std::int32_t X, std::int32_t Y);
    // What a press at (X, Y) does, whoever pressed: the mouse, or Space and Backspace.
    void PressAt(TMouseButton Button, std::int32_t X, std::int32_t Y);
    // A key of the board cursor; nothing unless a game is in play (not paused).
    void BoardKey(TBoardKey key, bool ctrl);
    // The cursor's cell into news that tells it again, when the cursor is shown.
    void AddCursorCell(TNews& news) const;
    void SelectTile();
    // A finger's tap: one tile at most, the nearest when the tap hits none, and a partner of
    // the selected tile when the tap lands beside it.
    void SelectTouchedTile();
    void CancelSelection();
    void TryRemovePair();
    void RemovePair();
    // The link line of the pair just removed: five passes, the first drawn now and each of the
    // others on its own turn of the front end's loop (all at once under auto-play), so that a
    // pending event runs between them. A line started while one is drawn adds its passes.
    void DrawLinkLine(TColor colour);
    // The next pass of the link line, if one is due; the house calls it on its turn.
    void LinkLineTurn();
    std::int32_t LinkPassesLeft = 0;
    TColor LinkColour = 0;
    // Surface pixels of a cell's centre, where link lines meet it.
    TPoint CellCentre(const TCell& cell) const;

    // --- movement rules; the mode is the level number ---
    void ApplyMovementRule(std::int32_t Mode);
    static void MoveCellContent(const TCell& source, TCell& target);
    void ShiftLeft(const TCell& cell, std::int32_t bound);
    void ShiftRight(const TCell& cell, std::int32_t bound);
    void ShiftUp(const TCell& cell, std::int32_t bound);
    void ShiftDown(const TCell& cell, std::int32_t bound);

    // --- pair search, hint, auto-play, shuffle ---
    // Exit asks first while a game is in progress (a finger's Exit may be a slip).
    bool ExitAsks = false;
    bool Auto1Checked = false; // the check mark of the Auto menu item; the menu shows it
    void FindPair(TCell& first, TCell& second, bool show);
    void hint1Click();
    void Auto1Click();
    // One auto-play move: the pair search with show set, which removes the pair it finds while
    // AutoPlay is on. The frame loop paces it and drops its errors.
    void AutoPlayStep();
    void wash1Click();
    void Shuffle();

    // --- score and bonus ---
    void ScorePair();
    void DrawBonus();
    void GrantBonus();

    // --- frame loop and screens ---
    static constexpr std::int32_t FrameInterval = 100; // what the frame timer is set to, in ms
    std::int32_t TimerInterval = FrameInterval;         // the frame timer's Interval in ms
    bool LinkLineShown = false;        // set when a link line was drawn; the next frame keeps it
    bool F9WasDown = false;            // F9 at the previous poll: one save dialog per press
    bool SaveDialogOpen = false;
    // A duration of ms milliseconds counted in frame-timer ticks.
    std::int32_t TickThreshold(std::int32_t ms) const;
    void DXTimer1Timer(std::int32_t LagCount);
    void TimeUp();
    // What every end of a game shares: every sprite dead, both selections cleared, every cell
    // removed. The caller sets the screen that follows.
    void ClearPlay();
    void DrawTitleScreen();
    // The title as it stands, drawn and shown without a tick: the window's first frame, which
    // need not wait an interval for the frame timer's first tick. Nothing on other screens.
    void PresentTitleScreen();
    void PaintTitleScreen();
    void DrawGameOverScreen();
    void DrawPausedScreen();
    void AdvanceGameClock();
    void DrawPlayingScreen();

    // --- board and status drawing, one playing frame in this order ---
    void DrawTileBacks();
    void DrawTilePictures();
    void DrawStatusBand();
    void DrawSelectionMarks();
    void DrawHintMarks();
    // A frame of its own colour round the cursor's cell, while the cursor is shown.
    void DrawBoardCursor();
    // How many hint slots show a mark, counted from slot 0: slot 1 only together with slot 0.
    std::size_t HintMarksShown() const;
    // The marks the last playing frame drew, so that a front end can draw them again at its own
    // size exactly while the surface shows them; emptied when play ends.
    std::array<TDrawnMark, 4> DrawnMarks{};
    std::size_t DrawnMarkCount = 0;
    void CheckLevelCleared();

private:
    void DrawLinkPass(ICanvas& canvas);
    // A press on the tile of this cell: toggles a slot's own cell, or makes it the new
    // selection. True for a new selection.
    bool TakeTile(std::int32_t col, std::int32_t row);
    // The tile a finger meant at (MouseX, MouseY): its column and row, or false for none.
    bool TouchedTile(std::int32_t& col, std::int32_t& row);
    void RecordMark(const TCell& cell, bool raised);
    void DealPictures();
    bool BoardHasTile() const;
    // Which cells hold a tile, ring included, for the link searches; kept between calls so that
    // a search allocates nothing.
    std::vector<std::uint8_t> LinkGrid;
    void FillLinkGrid();
    // The link test on LinkGrid as last filled.
    void FindLink(TCell first, TCell second, TCell& corner1, TCell& corner2) const;
    void RandomRefill();
    void TellCell(TNewsKind kind, std::int32_t col, std::int32_t row, std::int32_t picture,
                  TCellAxis axis = TCellAxis::Both);
    std::int32_t TilesLeft() const;
    TCell& CellAt(std::int32_t col, std::int32_t row);
    // M: on to the next tile in reading order, wrapping, with the picture under the cursor.
    void MoveToMatch();
    // T: the status told, while paused too.
    void TellStatus();
};

} // namespace pelmoravan

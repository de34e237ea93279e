// SPDX-License-Identifier: MIT
#include <set>
#include <string>

#include "game/game.h"
#include "game/rounding.h"
#include "game/tile_sprite.h"

namespace pelmoravan {

namespace {

struct TDealParameters {
    std::int32_t TileCount;
    std::int32_t BatchATiles;
    std::int32_t KindsA;
    std::int32_t KindsB;
};

TDealParameters DealParametersFor(std::int32_t difficulty) {
    switch (difficulty) {
    case 2:
        return {192, 160, 40, 4};
    case 3:
        return {240, 192, 48, 8};
    default:
        return {160, 96, 24, 8};
    }
}

} // namespace

TGame::TGame(IGameWindow& window, IGameHost& host, ISeedSource& seedSource)
    : Rng(&seedSource), Window(window), Host(host) {
    for (auto& slot : Selected) {
        slot.Index = -1;
    }
}

void TGame::StartGame(std::int32_t difficulty) {
    if (GameState == TGameState::Paused) {
        return;
    }
    const std::int32_t screenWidth = Window.ScreenWidth();
    if (screenWidth >= 800 && screenWidth < 1024) {
        SmallScreen = true; // never cleared: later games keep the small geometry
    }
    if (SmallScreen) {
        CellWidth = 37;
        CellHeight = 28;
        TileDrawWidth = 42;
        TileDrawHeight = 33;
    } else {
        CellWidth = 50;
        CellHeight = 37;
        TileDrawWidth = 57;
        TileDrawHeight = 45;
    }
    Difficulty = difficulty;
    GameState = TGameState::Playing;
    HintsLeft = 10;
    ShufflesLeft = 10;
    Score = 0;
    DifficultyPoints = 1000;
    LevelStepPoints = 500;
    PairsRemoved = 0;
    Level = 1;
    TimeLimit = difficulty * 60 + 300;
    ElapsedSeconds = 0;
    SecondTicks = 0;
    DisplayTicks = 0;
    HintTicks = 0;
    CursorShown = false; // until the first cursor key of this game
    Host.EnableFrameTimer();
    SetupLevel();
}

void TGame::AdvanceLevel() {
    if (GameState != TGameState::Playing) {
        return;
    }
    Level += 1;
    HintsLeft += 1;
    ShufflesLeft += 1;
    ElapsedSeconds = 0;
    SecondTicks = 0;
    SetupLevel();
    Host.EnableFrameTimer();
}

void TGame::SetupLevel() {
    if (Level <= 10) {
        const TDealParameters p = DealParametersFor(Difficulty);
        TileCount = p.TileCount;
        BatchATiles = p.BatchATiles;
        KindsA = p.KindsA;
        KindsB = p.KindsB;
        GroupSize = BatchATiles / KindsA;
        GroupSizeB = (TileCount - BatchATiles) / KindsB;
    }

    if (Level > 10) {
        // The rest of the set-up waits for the player's answers.
        Host.Run(FinishDifficulty());
        return;
    }
    DealLevel();
}

TFlow<> TGame::FinishDifficulty() {
    // Play stands still behind these dialogs: a tick only shows the frame.
    DialogShown = true;
    struct TShownUntilDone {
        bool& Flag;
        ~TShownUntilDone() { Flag = false; }
    } shown{DialogShown};
    TFlow<> offer = Host.UpdateScores(true, Score);
    co_await offer;
    Level = 1;
    Host.PlaySound("tada"); // the finale plays even with effects switched off
    const bool lastDifficulty = Difficulty >= 3;
    TRequest question;
    question.Kind = TRequestKind::YesNo;
    question.Text = Messages[lastDifficulty ? 41 : 40];
    TRequestQueue::TAsk asked = Host.Requests().Ask(std::move(question));
    const TAnswer answer = co_await asked;
    if (answer.Accepted) {
        StartGame(lastDifficulty ? 1 : Difficulty + 1);
    } else {
        // The score was offered above already; offering it again would store one game twice.
        GameState = TGameState::Title;
        TNews news;
        news.Kind = TNewsKind::GameOver;
        news.Number = Score;
        Host.Tell(news);
    }
    DialogShown = false;
    GroupSize = BatchATiles / KindsA;
    GroupSizeB = (TileCount - BatchATiles) / KindsB;
    // After Yes the new difficulty's first level is dealt once more here, as it always was.
    DealLevel();
}

void TGame::DealLevel() {
    const double pairs = static_cast<double>(TileCount) / 2.0;
    LevelPoints = DifficultyPoints * Difficulty * Difficulty + LevelStepPoints * Level;
    PairPoints = Rnd(static_cast<double>(LevelPoints) / pairs);
    PairSeconds = Rnd(static_cast<double>(TimeLimit) / pairs);
    TimeLimit = Difficulty * 60 + 420;

    if (GameState == TGameState::Title) {
        return;
    }
    Shuffling = false;

    ChooseBoardSize(TileCount, BoardColumns, BoardRows);
    Board.resize(static_cast<std::size_t>(BoardColumns));
    for (auto& column : Board) {
        column.resize(static_cast<std::size_t>(BoardRows));
    }

    BoardLeft = (Host.SurfaceWidth() - BoardColumns * CellWidth) / 2;
    BoardTop = (Host.SurfaceHeight() - BoardRows * CellHeight) / 2;
    if (SmallScreen) {
        BoardTop += CellHeight;
    }

    DealPictures();
    Selected[0].Index = -1;
    Selected[1].Index = -1;
    CreateTileSprites();
    MixTiles();
    CursorCol = 0;
    CursorRow = 0;
    TNews news;
    news.Kind = TNewsKind::NewLevel;
    news.Number = TilesLeft();
    Host.Tell(news);
}

void TGame::DealPictures() {
    std::int32_t g = 1;
    std::set<std::int32_t> used;
    std::int32_t j = 0;
    std::int32_t k = 0;
    const std::int32_t pictureCount = ImageList != nullptr ? ImageList->Count() : 0;
    for (std::int32_t col = 0; col < BoardColumns; ++col) {
        for (std::int32_t row = 0; row < BoardRows; ++row) {
            TCell& cell = Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            cell.Picture = g;
            cell.Index = j;
            j += 1;
            k += 1;
            if (j == BatchATiles) {
                GroupSize = GroupSizeB;
                k = 0;
            }
            if (GroupSize != 0 && k % GroupSize == 0) {
                Rng.Reseed();
                while (used.contains(g)) {
                    g = 1 + Rng.Random(99);
                }
                used.insert(g);
            }
            if (g > pictureCount) {
                g = 1;
            }
            cell.X = col * CellWidth + BoardLeft;
            cell.Y = row * CellHeight + BoardTop;
            cell.Col = col;
            cell.Row = row;
            cell.Removed = false;
        }
    }
}

void TGame::ChooseBoardSize(std::int32_t n, std::int32_t& columns, std::int32_t& rows) {
    if (n <= 1) {
        columns = 1;
        rows = 1;
        return;
    }
    rows = 1;
    for (std::int32_t i = 1; i <= n / i; ++i) {
        if (n % i == 0) {
            rows = i;
        }
    }
    columns = n / rows;
}

void TGame::CreateTileSprites() {
    TSpriteEngine* root = DXSpriteEngine.Root();
    for (std::int32_t i = 0; i < root->Count(); ++i) {
        root->Items(i)->MarkDead();
    }
    for (auto& column : Board) {
        for (TCell& cell : column) {
            cell.Removed = false;
            auto* sprite = new TMonoSprite(root); // owned by the engine's root
            cell.Sprite = sprite;
            if (ImageList != nullptr) {
                sprite->Image = &ImageList->Find(std::to_string(cell.Picture));
            }
            sprite->Picture = cell.Picture;
            sprite->Index = cell.Index;
            sprite->Col = cell.Col;
            sprite->Row = cell.Row;
            sprite->X = cell.X;
            sprite->Y = cell.Y;
            sprite->SetZ(2);
            sprite->Width = CellWidth;
            sprite->Height = CellHeight;
        }
    }
}

} // namespace pelmoravan

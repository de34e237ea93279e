// SPDX-License-Identifier: MIT
#include "game/game.h"

namespace pelmoravan {

namespace {

void MarkAllSpritesDead(TDXSpriteEngine& engine) {
    TSpriteEngine* root = engine.Root();
    for (std::int32_t i = 0; i < root->Count(); ++i) {
        root->Items(i)->MarkDead();
    }
}

} // namespace

void TGame::DXTimer1Timer(std::int32_t LagCount) {
    // A tick nested inside the end-of-difficulty question, a shuffle or a pair search must not
    // touch the state those are working on: it only shows what is there.
    if (DialogShown || Shuffling || Searching) {
        if (DXDraw != nullptr) {
            DXDraw->Surface().Canvas().Release();
            DXDraw->Flip();
        }
        return;
    }

    if (DXInput != nullptr) {
        DXInput->Poll();
    }

    try {
        DXSpriteEngine.PurgeDead();
        DXSpriteEngine.Advance(LagCount);
    } catch (...) {
        // The sprites only mirror the board; a failed step must not stop the frame.
    }

    if (AutoPlay && GameState == TGameState::Playing) {
        AutoTicks += 1;
        if (AutoTicks >= TickThreshold(200) && !Shuffling) {
            try {
                AutoPlayStep();
            } catch (...) {
                // Tried again after the next wait.
            }
            AutoTicks = 0;
        }
    }
    if (Shuffling) {
        return;
    }

    if (DXInput != nullptr && DXInput->KeyDown(TKey::Escape)) {
        MarkAllSpritesDead(DXSpriteEngine);
        Window.Terminate();
        return;
    }

    // Ticks go on while the dialog is open and the key may still be held: only a fresh press
    // opens one, and never a second over the first.
    const bool f9Down = DXInput != nullptr && DXInput->KeyDown(TKey::F9);
    const bool f9Pressed = f9Down && !F9WasDown;
    F9WasDown = f9Down;
    if (f9Pressed && !SaveDialogOpen) {
        SaveDialogOpen = true;
        TRequest save;
        save.Kind = TRequestKind::SaveFile;
        Host.Requests().Post(std::move(save), [this](const TAnswer&) { SaveDialogOpen = false; });
    }

    if (DXDraw == nullptr || !DXDraw->CanDraw()) {
        return;
    }

    switch (GameState) {
    case TGameState::Title:
        DrawTitleScreen();
        break;
    case TGameState::Playing:
        AdvanceGameClock();
        DrawPlayingScreen();
        DXDraw->Surface().Canvas().Release();
        try {
            DXDraw->Flip();
        } catch (...) {
            // A frame that cannot be shown is simply lost; the next one follows.
        }
        break;
    case TGameState::Paused:
        DrawPausedScreen();
        break;
    case TGameState::GameOver:
        DrawGameOverScreen();
        break;
    }
}

void TGame::AdvanceGameClock() {
    SecondTicks += 1;
    if (SecondTicks >= TickThreshold(1000)) {
        SecondTicks = 0;
        ElapsedSeconds += 1;
        // Equality, not "at least": a time bonus only moves the point where it is met.
        if (ElapsedSeconds == TimeLimit) {
            TimeUp();
            return;
        }
        const std::int32_t left = TimeLimit - ElapsedSeconds;
        if (left > 0 && left <= 30 && left % 10 == 0) {
            TNews news;
            news.Kind = TNewsKind::TimeLow;
            news.Number = left;
            Host.Tell(news);
        }
    }
}

void TGame::TimeUp() {
    ClearPlay();
    GameState = TGameState::GameOver;
}

void TGame::ClearPlay() {
    TNews news;
    news.Kind = TNewsKind::GameOver;
    news.Number = Score;
    Host.Tell(news);
    MarkAllSpritesDead(DXSpriteEngine);
    Selected[0].Index = -1;
    Selected[1].Index = -1;
    DrawnMarkCount = 0;
    for (auto& column : Board) {
        for (TCell& cell : column) {
            cell.Removed = true;
        }
    }
}

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/fake_surface.h"
#include "core/fakes.h"
#include "game/tile_sprite.h"

namespace pelmoravan::testing {

// A game wired to a recording play surface, a keyboard and the screen pictures, with English
// texts written in by hand. The display is 1024 wide; the surface 1016 x 690.
struct ScreenFixture : ::testing::Test, GameFixture {
    FakeDrawControl draw{1016, 690};
    FakeKeyboard keys;
    std::unique_ptr<TPictureCollection> screens = MakeScreenPictures();
    std::unique_ptr<TPictureCollection> backs = MakeTileBacks();

    ScreenFixture() {
        host.Screen = 1024;
        host.Width = 1016;
        host.Height = 690;
        game.DXDraw = &draw;
        game.DXImageList1 = screens.get();
        game.BackImage = backs.get();
        game.DXInput = &keys;
        const char* levels[] = {"First Step", "Second Step", "Third Step", "Fourth Step", "Fifth Step",
                                "Sixth Step", "Seventh Step", "Eighth Step", "Ninth Step", "Tenth Step"};
        for (int i = 1; i <= 10; ++i) {
            game.LevelNames[static_cast<std::size_t>(i)] = levels[i - 1];
        }
        const char* rules[] = {"No Change", "Left", "Right", "Left And Right",
                               "Left and Right To Center", "Up", "Down", "Up And Down",
                               "Top and  Bottom To Center"};
        for (int i = 1; i <= 9; ++i) {
            game.Messages[static_cast<std::size_t>(i)] = rules[i - 1];
        }
        game.Messages[10] = "Remain Time : ";
        game.Messages[11] = "Remain Hint(F4) : ";
        game.Messages[12] = "Remain Shuffle(F5) : ";
        game.Messages[13] = "";
        game.Messages[42] = "Make use of every bit of time or space";
        game.BonusNames[1] = "Hint Add";
        game.BonusNames[2] = "Shuffle Add";
        game.BonusNames[3] = "Scores Add";
        game.BonusNames[4] = "Time Add";
    }

    // A 1 x 1 board whose only tile stands at (x, y), on a 50 x 37 pitch, level 1, playing.
    TCell& OneTileAt(std::int32_t x, std::int32_t y, std::int32_t picture) {
        game.GameState = TGameState::Playing;
        game.Level = 1;
        game.TimeLimit = 480;
        game.CellWidth = 50;
        game.CellHeight = 37;
        game.TileDrawWidth = 57;
        game.TileDrawHeight = 45;
        game.BoardColumns = 1;
        game.BoardRows = 1;
        game.Board.assign(1, std::vector<TCell>(1));
        TCell& cell = game.Board[0][0];
        cell.X = x;
        cell.Y = y;
        cell.Picture = picture;
        cell.Sprite = new TMonoSprite(game.DXSpriteEngine.Root()); // owned by the engine
        return cell;
    }

    // Removes every tile the way removals do: the cells empty, the sprites dead.
    void ClearBoard() {
        for (auto& column : game.Board) {
            for (TCell& cell : column) {
                if (!cell.Removed) {
                    cell.Removed = true;
                    cell.Sprite->MarkDead();
                }
            }
        }
    }

    void Ticks(int n, std::int32_t lag = 1) {
        for (int i = 0; i < n; ++i) {
            game.DXTimer1Timer(lag);
        }
    }

    std::int32_t LiveSprites() const { return game.DXSpriteEngine.Root()->Count(); }
};

} // namespace pelmoravan::testing

// SPDX-License-Identifier: MIT
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/fakes.h"
#include "game/tile_sprite.h"

namespace pelmoravan::testing {

// Boards written as text, row 0 first: '.' is an empty cell, 'A'..'Z' are pictures 1..26 and
// 'a'..'z' pictures 27..52.
inline std::int32_t PictureOf(char ch) {
    if (ch >= 'A' && ch <= 'Z') {
        return ch - 'A' + 1;
    }
    return ch - 'a' + 27;
}

inline char LetterOf(std::int32_t picture) {
    return picture <= 26 ? static_cast<char>('A' + picture - 1) : static_cast<char>('a' + picture - 27);
}

inline TCell& At(TGame& g, std::int32_t col, std::int32_t row) {
    return g.Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

// Lays the board out as a level set-up would (Index in board order, one live sprite per tile)
// with nothing selected, and puts the game in play.
inline void BuildBoard(TGame& g, const std::vector<std::string>& rows) {
    g.GameState = TGameState::Playing;
    g.BoardRows = static_cast<std::int32_t>(rows.size());
    g.BoardColumns = static_cast<std::int32_t>(rows[0].size());
    g.CellWidth = 50;
    g.CellHeight = 37;
    g.BoardLeft = 90;
    g.BoardTop = 60;
    g.Board.assign(static_cast<std::size_t>(g.BoardColumns),
                   std::vector<TCell>(static_cast<std::size_t>(g.BoardRows)));
    std::int32_t index = 0;
    for (std::int32_t col = 0; col < g.BoardColumns; ++col) {
        for (std::int32_t row = 0; row < g.BoardRows; ++row) {
            TCell& cell = At(g, col, row);
            const char ch = rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
            cell.Picture = ch == '.' ? 1 : PictureOf(ch);
            cell.Index = index++;
            cell.Col = col;
            cell.Row = row;
            cell.X = col * g.CellWidth + g.BoardLeft;
            cell.Y = row * g.CellHeight + g.BoardTop;
        }
    }
    g.CreateTileSprites();
    for (std::int32_t col = 0; col < g.BoardColumns; ++col) {
        for (std::int32_t row = 0; row < g.BoardRows; ++row) {
            TCell& cell = At(g, col, row);
            if (rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] == '.') {
                cell.Removed = true;
                cell.Sprite->MarkDead();
                cell.Sprite = nullptr;
            }
        }
    }
    g.DXSpriteEngine.PurgeDead();
    // No slot names a cell either, so that a first click is always a new selection.
    for (TCell& slot : g.Selected) {
        slot.Index = -1;
        slot.Col = -1;
        slot.Row = -1;
    }
}

// The board back as text, in the notation above.
inline std::vector<std::string> Layout(TGame& g) {
    std::vector<std::string> rows(static_cast<std::size_t>(g.BoardRows),
                                  std::string(static_cast<std::size_t>(g.BoardColumns), '.'));
    for (std::int32_t col = 0; col < g.BoardColumns; ++col) {
        for (std::int32_t row = 0; row < g.BoardRows; ++row) {
            const TCell& cell = At(g, col, row);
            if (!cell.Removed) {
                rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] =
                    LetterOf(cell.Picture);
            }
        }
    }
    return rows;
}

inline std::int32_t TilesLeft(TGame& g) {
    std::int32_t n = 0;
    for (const auto& column : g.Board) {
        for (const TCell& cell : column) {
            n += cell.Removed ? 0 : 1;
        }
    }
    return n;
}

// A reseed value whose bonus draw grants nothing, for tests that count sounds or points.
inline std::uint32_t SeedWithoutBonus(std::int32_t difficulty) {
    for (std::uint32_t s = 1;; ++s) {
        TRandom r;
        r.Seed = s;
        if (1 + r.Random(50 * difficulty - 1) > 4) {
            return s;
        }
    }
}

// What must hold after any sequence of removals, moves and shuffles: every picture an even
// number of times, every tile's sprite at its cell and naming it, the live sprites in Index
// order and exactly one per tile. Hand-made boards with odd counts skip the first check.
inline void ExpectBoardConsistent(TGame& g, bool evenPictures = true) {
    std::map<std::int32_t, int> counts;
    std::map<const TSprite*, const TCell*> owner;
    for (std::int32_t col = 0; col < g.BoardColumns; ++col) {
        for (std::int32_t row = 0; row < g.BoardRows; ++row) {
            const TCell& cell = At(g, col, row);
            ASSERT_EQ(cell.Col, col);
            ASSERT_EQ(cell.Row, row);
            ASSERT_EQ(cell.X, col * g.CellWidth + g.BoardLeft);
            ASSERT_EQ(cell.Y, row * g.CellHeight + g.BoardTop);
            ASSERT_FALSE(cell.Linked);
            ASSERT_FALSE(cell.Hinted);
            if (cell.Removed) {
                continue;
            }
            counts[cell.Picture] += 1;
            ASSERT_NE(cell.Sprite, nullptr) << col << "," << row;
            ASSERT_FALSE(cell.Sprite->IsDead) << col << "," << row;
            ASSERT_EQ(cell.Sprite->X, cell.X);
            ASSERT_EQ(cell.Sprite->Y, cell.Y);
            ASSERT_EQ(cell.Sprite->Col, col);
            ASSERT_EQ(cell.Sprite->Row, row);
            ASSERT_EQ(cell.Sprite->Index, cell.Index);
            ASSERT_EQ(cell.Sprite->Picture, cell.Picture);
            ASSERT_TRUE(owner.emplace(cell.Sprite, &cell).second) << "two cells share a sprite";
        }
    }
    for (const auto& [picture, n] : counts) {
        ASSERT_TRUE(!evenPictures || n % 2 == 0) << "picture " << picture << " occurs " << n << " times";
    }
    TSpriteEngine* root = g.DXSpriteEngine.Root();
    std::int32_t live = 0;
    std::int32_t lastIndex = -1;
    for (std::int32_t i = 0; i < root->Count(); ++i) {
        auto* sprite = static_cast<TMonoSprite*>(root->Items(i));
        if (sprite->IsDead) {
            continue;
        }
        ASSERT_GT(sprite->Index, lastIndex) << "sprite list out of Index order";
        lastIndex = sprite->Index;
        ASSERT_TRUE(owner.contains(sprite)) << "a live sprite without a tile";
        live += 1;
    }
    ASSERT_EQ(live, static_cast<std::int32_t>(owner.size()));
}

} // namespace pelmoravan::testing

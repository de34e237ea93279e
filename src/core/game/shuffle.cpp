// SPDX-License-Identifier: MIT
#include "game/game.h"

namespace pelmoravan {

bool TGame::BoardHasTile() const {
    for (const auto& column : Board) {
        for (const TCell& cell : column) {
            if (!cell.Removed) {
                return true;
            }
        }
    }
    return false;
}

void TGame::MixTiles() {
    // The draws below only end on an occupied cell; an empty board has nothing to mix.
    if (!BoardHasTile()) {
        return;
    }
    Rng.Reseed();
    const std::int32_t rounds = (BoardColumns - 1) * (BoardRows - 1) * 2 + 1;
    auto cellAt = [this](std::int32_t c, std::int32_t r) -> TCell& {
        return Board[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
    };
    for (std::int32_t round = 0; round < rounds; ++round) {
        std::int32_t c1 = 0, r1 = 0, c2 = 0, r2 = 0;
        Rng.Reseed();
        do {
            c1 = Rng.Random(BoardColumns);
            r1 = Rng.Random(BoardRows);
        } while (cellAt(c1, r1).Removed);
        Rng.Reseed();
        do {
            c2 = Rng.Random(BoardColumns);
            r2 = Rng.Random(BoardRows);
        } while (cellAt(c2, r2).Removed);
        ExchangeTiles(cellAt(c1, r1), cellAt(c2, r2));
    }
    PlaceTileSprites();
    // Another tile now stands in a selected cell: a selection kept across the mix could pair
    // two different pictures.
    Selected[0].Index = -1;
    Selected[1].Index = -1;
}

void TGame::Shuffle() {
    if (Shuffling) {
        return;
    }
    Shuffling = true;
    try {
        MixTiles();
    } catch (...) {
        Shuffling = false;
        throw;
    }
    Shuffling = false;
    TNews news;
    news.Kind = TNewsKind::Shuffled;
    Host.Tell(news);
    if (SoundOn) {
        try {
            Host.PlaySoundAt(4); // "Pagemove", by its place in the collection
        } catch (...) {
            // The shuffle is done; a missing sound changes nothing.
        }
    }
}

void TGame::wash1Click() {
    // In the pause after the last pair there is nothing to mix: no charge, no sound.
    if (GameState != TGameState::Playing || ShufflesLeft <= 0 || !BoardHasTile()) {
        return;
    }
    Shuffle();
    ShufflesLeft -= 1; // charged even when a running shuffle made this one do nothing
}

void TGame::ExchangeTiles(TCell& a, TCell& b) {
    std::swap(a.Index, b.Index);
    std::swap(a.Picture, b.Picture);
    std::swap(a.Removed, b.Removed);
    std::swap(a.Hinted, b.Hinted);
    std::swap(a.Sprite, b.Sprite);
}

} // namespace pelmoravan

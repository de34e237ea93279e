// SPDX-License-Identifier: MIT
// The pair search and the link test on a full Hard board (16 x 15, 240 tiles): a freshly dealt
// board, where a pair is found early, and a dead end, where no pair links and every one of the
// 424 same-picture pairs is tested before the free shuffle.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "core/fakes.h"
#include "game/tile_sprite.h"

namespace pelmoravan {
namespace {

using testing::GameFixture;

TCell& At(TGame& g, std::int32_t col, std::int32_t row) {
    return g.Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

std::vector<std::pair<TCell*, TCell*>> SamePicturePairs(TGame& g) {
    std::vector<TCell*> tiles;
    for (auto& column : g.Board) {
        for (TCell& cell : column) {
            if (!cell.Removed) {
                tiles.push_back(&cell);
            }
        }
    }
    std::vector<std::pair<TCell*, TCell*>> pairs;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        for (std::size_t j = i + 1; j < tiles.size(); ++j) {
            if (tiles[i]->Picture == tiles[j]->Picture) {
                pairs.emplace_back(tiles[i], tiles[j]);
            }
        }
    }
    return pairs;
}

// Rearranges the dealt tiles until no same-picture pair links: a linkable pair loses one of its
// tiles to a random place, over and over. Only the content moves, sprites with it.
void MakeDeadEnd(TGame& g) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<std::int32_t> col(0, g.BoardColumns - 1);
    std::uniform_int_distribution<std::int32_t> row(0, g.BoardRows - 1);
    for (int round = 0; round < 100000; ++round) {
        bool linked = false;
        for (auto [a, b] : SamePicturePairs(g)) {
            TCell c1;
            TCell c2;
            g.LinkTest(*a, *b, c1, c2);
            if (c1.Linked && c2.Linked) {
                TGame::ExchangeTiles(*b, At(g, col(rng), row(rng)));
                linked = true;
            }
        }
        if (!linked) {
            g.PlaceTileSprites();
            return;
        }
    }
    std::abort(); // no dead end found: the figures below would mean nothing
}

// Takes `pairs` pairs of tiles off the board, as removals would.
void RemovePairs(TGame& g, int pairs) {
    std::mt19937 rng(7);
    for (int n = 0; n < pairs; ++n) {
        auto all = SamePicturePairs(g);
        auto [a, b] = all[std::uniform_int_distribution<std::size_t>(0, all.size() - 1)(rng)];
        for (TCell* cell : {a, b}) {
            cell->Removed = true;
            cell->Sprite->MarkDead();
            cell->Sprite = nullptr;
        }
    }
    g.DXSpriteEngine.PurgeDead();
}

struct HardBoard {
    GameFixture f;
    // A dead end with gaps has no walled-in tiles: every failed test scans its whole way.
    explicit HardBoard(bool deadEnd, int gapPairs = 0) {
        f.host.Width = 1920;
        f.host.Height = 1080;
        f.game.StartGame(3);
        RemovePairs(f.game, gapPairs);
        if (deadEnd) {
            MakeDeadEnd(f.game);
        }
    }
};

void BM_FindPair_FreshHardBoard(benchmark::State& state) {
    HardBoard b(false);
    TGame& g = b.f.game;
    for (auto _ : state) {
        g.FindPair(g.HintPair[0], g.HintPair[1], false);
        benchmark::DoNotOptimize(g.HintPair[0].Index);
    }
}
BENCHMARK(BM_FindPair_FreshHardBoard);

// The search finds nothing and then pays for the free shuffle; the board is put back untimed.
void BM_FindPair_HardDeadEnd(benchmark::State& state) {
    HardBoard b(true);
    TGame& g = b.f.game;
    const TBoard deadEnd = g.Board;
    for (auto _ : state) {
        g.FindPair(g.HintPair[0], g.HintPair[1], false);
        state.PauseTiming();
        g.Board = deadEnd;
        g.PlaceTileSprites();
        state.ResumeTiming();
    }
    state.counters["shuffles"] = static_cast<double>(b.f.host.Sounds.size());
}
BENCHMARK(BM_FindPair_HardDeadEnd);

void BM_FindPair_HardDeadEndWithGaps(benchmark::State& state) {
    HardBoard b(true, static_cast<int>(state.range(0)));
    TGame& g = b.f.game;
    const TBoard deadEnd = g.Board;
    for (auto _ : state) {
        g.FindPair(g.HintPair[0], g.HintPair[1], false);
        state.PauseTiming();
        g.Board = deadEnd;
        g.PlaceTileSprites();
        state.ResumeTiming();
    }
    state.counters["tiles"] = static_cast<double>(b.f.game.DXSpriteEngine.Root()->Count());
    state.counters["pairs"] = static_cast<double>(SamePicturePairs(g).size());
}
BENCHMARK(BM_FindPair_HardDeadEndWithGaps)->Arg(4)->Arg(12)->Arg(30);

// The free shuffle alone, to tell the search from the mix in the figure above.
void BM_Shuffle_HardBoard(benchmark::State& state) {
    HardBoard b(false);
    TGame& g = b.f.game;
    g.SoundOn = false;
    for (auto _ : state) {
        g.Shuffle();
    }
}
BENCHMARK(BM_Shuffle_HardBoard);

// Every same-picture pair of the dead end through the public link test (which also refreshes
// the sprites first, as the selection path does); the time is per call.
void BM_LinkTest_HardDeadEndPairs(benchmark::State& state) {
    HardBoard b(true);
    TGame& g = b.f.game;
    const auto pairs = SamePicturePairs(g);
    std::size_t next = 0;
    for (auto _ : state) {
        const auto& [a, c] = pairs[next];
        g.LinkTest(*a, *c, g.LinkCorner[0], g.LinkCorner[1]);
        benchmark::DoNotOptimize(g.LinkCorner[0].Linked);
        next = next + 1 == pairs.size() ? 0 : next + 1;
    }
    state.counters["pairs"] = static_cast<double>(pairs.size());
}
BENCHMARK(BM_LinkTest_HardDeadEndPairs);

} // namespace
} // namespace pelmoravan

// SPDX-License-Identifier: MIT
// The cell words a listener hears on a dealt level, for bench/speech_figures.sh to time with a
// speech synthesiser. One line per words: language (en, zh), how they were heard (walk: the
// cursor walked over every cell once, row by row, turning at the ends; full: each cell in full,
// as M and the removal's words tell it), and the words.
//
//   cell_words [SEED]     Easy, level 1, dealt from SEED (default 1)
#include <cstdio>
#include <cstdlib>

#include "core/fakes.h"
#include "screen/board_words.h"
#include "shell/apply_language.h"

using namespace pelmoravan;

int main(int argc, char** argv) {
    const auto seed = static_cast<std::uint32_t>(argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1);
    for (const std::uint8_t language : {std::uint8_t{1}, std::uint8_t{0}}) {
        testing::FakeHost host;
        testing::FakeSeedSource seeds(seed);
        const auto pictures = testing::MakeTilePictures();
        TGame game{host, host, seeds};
        game.ImageList = pictures.get();
        ApplyLanguageTexts(game, language);
        game.Language = language;
        game.StartGame(1);
        const char* name = language == 1 ? "en" : "zh";
        // Over the whole board and back down each row the other way: every cell heard once.
        host.News.clear();
        game.BoardKey(TBoardKey::Right, false); // the first key shows the cursor on the first cell
        for (std::int32_t row = 0; row < game.BoardRows; ++row) {
            if (row > 0) {
                game.BoardKey(TBoardKey::Down, false);
            }
            for (std::int32_t step = 1; step < game.BoardColumns; ++step) {
                game.BoardKey(row % 2 == 0 ? TBoardKey::Right : TBoardKey::Left, false);
            }
        }
        for (const TNews& news : host.News) {
            std::printf("%s\twalk\t%s\n", name, NewsWords(game, news).Text.c_str());
        }
        for (std::int32_t row = 0; row < game.BoardRows; ++row) {
            for (std::int32_t col = 0; col < game.BoardColumns; ++col) {
                const TCell& cell = game.Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
                std::printf("%s\tfull\t%s\n", name, CellWords(game, cell.Removed ? -1 : cell.Picture, col, row).c_str());
            }
        }
    }
    return 0;
}

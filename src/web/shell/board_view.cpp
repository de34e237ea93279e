// SPDX-License-Identifier: MIT
#include "web/shell/board_view.h"

#include <emscripten.h>

#include <array>

#include "game/rounding.h"
#include "screen/status_lines.h"

namespace pelmoravan {

namespace {

// The board's place on the surface, in surface pixels: its tiles and half a cell around them,
// where link lines run. playing 0 while no board is in play or paused (title, game over); paused 1
// while the game is paused.
EM_JS(void, js_board_region, (int playing, int paused, int left, int top, int right, int bottom),
      { if (Pel.boardView) Pel.boardView.region(!!playing, !!paused, left, top, right, bottom); });
// The status band's lines, and the time bar's red part out of its whole width.
EM_JS(void, js_board_status,
      (const char* level, const char* rule, const char* time, int bar, int barWidth, const char* hints,
       const char* shuffles, const char* score, const char* bonus),
      {
          if (Pel.boardView) {
              Pel.boardView.status({
                  level: UTF8ToString(level), rule: UTF8ToString(rule), time: UTF8ToString(time),
                  bar, barWidth, hints: UTF8ToString(hints), shuffles: UTF8ToString(shuffles),
                  score: UTF8ToString(score), bonus: UTF8ToString(bonus)
              });
          }
      });
// marks: count triples of the cell's x and y on the surface and 1 for a raised (hint) mark.
EM_JS(void, js_board_marks, (const int* marks, int count, int cellWidth, int cellHeight),
      {
          if (!Pel.boardView) return;
          const list = [];
          for (let i = 0; i < count; i++) {
              const p = (marks >> 2) + 3 * i;
              list.push({ x: HEAP32[p], y: HEAP32[p + 1], raised: !!HEAP32[p + 2] });
          }
          Pel.boardView.marks(list, cellWidth, cellHeight);
      });

} // namespace

void TBoardViewSync::Reset() {
    FRegion.clear();
    FStatus.clear();
    FMarks.clear();
}

void TBoardViewSync::Sync(const TGame& game) {
    // Paused, the board's place stays the view, covered, and the status stays the page's text: the
    // whole surface on a phone would draw it a few pixels tall.
    const bool playing = (game.GameState == TGameState::Playing || game.GameState == TGameState::Paused) && game.BoardColumns > 0 && game.BoardRows > 0;
    // As the board shows: turned while it is upright.
    const TRect shown = game.ShownRect(game.BoardLeft - game.CellWidth / 2, game.BoardTop - game.CellHeight / 2,
                                       (game.BoardColumns + 1) * game.CellWidth, (game.BoardRows + 1) * game.CellHeight);
    const std::int32_t left = shown.Left;
    const std::int32_t top = shown.Top;
    const std::int32_t right = shown.Right;
    const std::int32_t bottom = shown.Bottom;
    const bool paused = game.GameState == TGameState::Paused;
    std::string region = std::to_string(playing) + std::to_string(paused) + " " + std::to_string(left) + " " + std::to_string(top) + " " +
                         std::to_string(right) + " " + std::to_string(bottom);
    if (region != FRegion) {
        js_board_region(playing, paused, left, top, right, bottom);
        FRegion = std::move(region);
    }
    if (!playing) {
        return;
    }

    // The same lines and the same share of the bar as the band draws this second.
    const std::int32_t remaining = game.TimeLimit - game.ElapsedSeconds;
    const auto bar = game.TimeLimit > 0 ? static_cast<std::int32_t>(RndRatio(
                                              static_cast<std::int64_t>(remaining) * game.TimeBarWidth, game.TimeLimit))
                                        : 0;
    const std::string time = TimeLine(game, remaining);
    const std::string hints = HintLine(game);
    const std::string shuffles = ShuffleLine(game);
    const std::string score = ScoreLine(game);
    const std::string bonus = BonusLine(game);
    const std::string& level = LevelName(game, game.Level);
    const std::string& rule = RuleLine(game);
    std::string status = level + '\n' + rule + '\n' + time + '\n' + std::to_string(bar) + '\n' + hints + '\n' +
                         shuffles + '\n' + score + '\n' + bonus;
    if (status != FStatus) {
        js_board_status(level.c_str(), rule.c_str(), time.c_str(), bar, game.TimeBarWidth, hints.c_str(),
                        shuffles.c_str(), score.c_str(), bonus.c_str());
        FStatus = std::move(status);
    }

    std::array<int, 3 * 4> marks{};
    const TRect cell = game.ShownRect(0, 0, game.CellWidth, game.CellHeight);
    std::string marked = std::to_string(cell.Right) + " " + std::to_string(cell.Bottom);
    // The pause covers the tiles, and their marks with them.
    const std::size_t markCount = game.GameState == TGameState::Playing ? game.DrawnMarkCount : 0;
    for (std::size_t i = 0; i < markCount; ++i) {
        const TDrawnMark& m = game.DrawnMarks[i];
        marks[3 * i] = m.X;
        marks[3 * i + 1] = m.Y;
        marks[3 * i + 2] = m.Raised ? 1 : 0;
        marked += " " + std::to_string(m.X) + "," + std::to_string(m.Y) + (m.Raised ? "r" : "s");
    }
    if (marked != FMarks) {
        js_board_marks(marks.data(), static_cast<int>(markCount), cell.Right, cell.Bottom);
        FMarks = std::move(marked);
    }
}

} // namespace pelmoravan

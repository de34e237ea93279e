// SPDX-License-Identifier: MIT
// What the browser tests read and drive in the page, linked only into the test build of the page
// (the shipped program exports none of it). Positions come from the game's own rules.
#include <emscripten.h>

#include <exception>
#include <utility>
#include <vector>

#include "game/tile_sprite.h"
#include "web/shell/page_form.h"

using namespace pelmoravan;

namespace {

// The house's tick, taken from the frame timer by pel_test_hold_timer.
TFrameTimer::TTimerEvent gHeldTick;

TGame* Game() {
    TWebForm* form = PageForm();
    return form != nullptr ? &form->Game() : nullptr;
}

const TCell* BoardCell(int col, int row) {
    const TGame* g = Game();
    if (g == nullptr || col < 0 || row < 0 || static_cast<std::size_t>(col) >= g->Board.size() ||
        static_cast<std::size_t>(row) >= g->Board[static_cast<std::size_t>(col)].size()) {
        return nullptr;
    }
    return &g->Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

// The centres of the marks on show: selected tiles, then hinted ones.
std::vector<TPoint> Marks() {
    std::vector<TPoint> marks;
    const TGame* g = Game();
    if (g == nullptr) {
        return marks;
    }
    for (const TCell& slot : g->Selected) {
        if (slot.Index != -1) {
            marks.push_back(g->ShownPoint(g->CellCentre(slot)));
        }
    }
    for (std::size_t k = 0; k < g->HintMarksShown(); ++k) {
        marks.push_back(g->ShownPoint(g->CellCentre(g->HintPair[k])));
    }
    return marks;
}

} // namespace

extern "C" {

// The ticks are the test's from now on: the frame timer still wakes, and delivers nothing.
EMSCRIPTEN_KEEPALIVE void pel_test_hold_timer() {
    if (PageForm() != nullptr && PageForm()->FrameTimer().OnTimer) {
        gHeldTick = std::move(PageForm()->FrameTimer().OnTimer);
        PageForm()->FrameTimer().OnTimer = nullptr;
    }
}

// n ticks of the house, as the frame timer would deliver them one interval apart (once it is
// held; until then straight to the game).
EMSCRIPTEN_KEEPALIVE void pel_test_tick(int n) {
    for (int i = 0; Game() != nullptr && i < n; ++i) {
        if (gHeldTick) {
            gHeldTick(1);
        } else {
            Game()->DXTimer1Timer(1);
        }
    }
}

EMSCRIPTEN_KEEPALIVE int pel_test_screen_width() { return PageForm() ? PageForm()->ScreenWidth() : 0; }

// What the end of a difficulty does with a score: the house offers it (the name prompt comes
// once the stored folder is read in).
EMSCRIPTEN_KEEPALIVE void pel_test_offer_score(int score) {
    if (PageForm() != nullptr) {
        TGameHost& host = PageForm()->Host();
        host.Run(host.UpdateScores(true, score));
    }
}

// The last level of the difficulty with only the tiles at (c1, r1) and (c2, r2) left: removing
// them ends the difficulty.
EMSCRIPTEN_KEEPALIVE void pel_test_last_pair(int c1, int r1, int c2, int r2) {
    TGame* g = Game();
    if (g == nullptr) {
        return;
    }
    g->Level = 10;
    for (int c = 0; c < g->BoardColumns; ++c) {
        for (int r = 0; r < g->BoardRows; ++r) {
            TCell& cell = g->Board[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
            const bool kept = (c == c1 && r == r1) || (c == c2 && r == r2);
            if (!kept && !cell.Removed) {
                cell.Removed = true;
                cell.Sprite->MarkDead();
            }
        }
    }
}

// A text the page's script hands over: written here with stringToUTF8, then used by the call
// that follows.
char gText[512];
EMSCRIPTEN_KEEPALIVE char* pel_test_text() { return gText; }

// The game reports the text in pel_test_text() as an error.
EMSCRIPTEN_KEEPALIVE void pel_test_report_error() {
    if (PageForm() != nullptr) {
        PageForm()->Host().ReportError(gText);
    }
}

// The house's start made a second time, as the page makes its first: the house refuses it, and
// the page shows the refusal as a start error.
EMSCRIPTEN_KEEPALIVE void pel_test_start_again() {
    if (PageForm() == nullptr) {
        return;
    }
    try {
        PageForm()->Host().Start([](TPictureCollection&, TPictureCollection&, TPictureCollection&, TWaveCollection&) {});
    } catch (const std::exception& error) {
        PageForm()->Host().ReportStartError(error.what());
    }
}

EMSCRIPTEN_KEEPALIVE int pel_test_waiting() { return PageForm() != nullptr && PageForm()->Host().Waiting() ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE int pel_test_columns() { return Game() ? Game()->BoardColumns : 0; }
EMSCRIPTEN_KEEPALIVE int pel_test_rows() { return Game() ? Game()->BoardRows : 0; }

// The picture of board cell (col, row), or -1 when it holds no tile or lies off the board.
EMSCRIPTEN_KEEPALIVE int pel_test_picture(int col, int row) {
    const TCell* cell = BoardCell(col, row);
    return cell == nullptr || cell->Removed ? -1 : cell->Picture;
}

// A shuffle asked for from outside the frame loop, e.g. while a dialog is open: returns 1 when
// it ran to its end at once, 0 when it is still under way.
EMSCRIPTEN_KEEPALIVE int pel_test_shuffle() {
    if (Game() == nullptr) {
        return 0;
    }
    Game()->Shuffle();
    return Game()->Shuffling ? 0 : 1;
}

EMSCRIPTEN_KEEPALIVE int pel_test_game_state() { return Game() ? static_cast<int>(Game()->GameState) : -1; }
EMSCRIPTEN_KEEPALIVE int pel_test_score() { return Game() ? Game()->Score : 0; }

EMSCRIPTEN_KEEPALIVE int pel_test_tile_count() {
    int count = 0;
    for (int col = 0; col < pel_test_columns(); ++col) {
        for (int row = 0; row < pel_test_rows(); ++row) {
            count += pel_test_picture(col, row) != -1 ? 1 : 0;
        }
    }
    return count;
}

// Surface pixels of the centre of board cell (col, row) as shown; 0 off the board.
EMSCRIPTEN_KEEPALIVE int pel_test_cell_centre_x(int col, int row) {
    const TCell* cell = BoardCell(col, row);
    return cell != nullptr ? Game()->ShownPoint(Game()->CellCentre(*cell)).X : 0;
}
EMSCRIPTEN_KEEPALIVE int pel_test_cell_centre_y(int col, int row) {
    const TCell* cell = BoardCell(col, row);
    return cell != nullptr ? Game()->ShownPoint(Game()->CellCentre(*cell)).Y : 0;
}

// The level in play from now on (its rule and its name), without a new deal.
EMSCRIPTEN_KEEPALIVE void pel_test_level(int level) {
    if (Game() != nullptr) {
        Game()->Level = level;
    }
}

// A pair that can be removed now, as c1 | r1 << 8 | c2 << 16 | r2 << 24; -1 for none.
EMSCRIPTEN_KEEPALIVE int pel_test_pair() {
    TGame* g = Game();
    if (g == nullptr || g->GameState != TGameState::Playing) {
        return -1;
    }
    for (int c1 = 0; c1 < g->BoardColumns; ++c1) {
        for (int r1 = 0; r1 < g->BoardRows; ++r1) {
            for (int c2 = c1; c2 < g->BoardColumns; ++c2) {
                for (int r2 = 0; r2 < g->BoardRows; ++r2) {
                    const TCell* a = BoardCell(c1, r1);
                    const TCell* b = BoardCell(c2, r2);
                    if ((c2 == c1 && r2 <= r1) || a->Removed || b->Removed || a->Picture != b->Picture) {
                        continue;
                    }
                    TCell corner1;
                    TCell corner2;
                    g->LinkTest(*a, *b, corner1, corner2);
                    if (corner1.Linked && corner2.Linked) {
                        return c1 | r1 << 8 | c2 << 16 | r2 << 24;
                    }
                }
            }
        }
    }
    return -1;
}

// 1 when a selection slot holds board cell (col, row).
EMSCRIPTEN_KEEPALIVE int pel_test_selected(int col, int row) {
    const TGame* g = Game();
    if (g == nullptr) {
        return 0;
    }
    for (const TCell& slot : g->Selected) {
        if (slot.Index != -1 && slot.Col == col && slot.Row == row) {
            return 1;
        }
    }
    return 0;
}

EMSCRIPTEN_KEEPALIVE int pel_test_mark_count() { return static_cast<int>(Marks().size()); }
EMSCRIPTEN_KEEPALIVE int pel_test_mark_x(int i) { return Marks().at(static_cast<std::size_t>(i)).X; }
EMSCRIPTEN_KEEPALIVE int pel_test_mark_y(int i) { return Marks().at(static_cast<std::size_t>(i)).Y; }

} // extern "C"

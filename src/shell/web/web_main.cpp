// The page's program: builds the main window and hands the page's events to it.
#include <emscripten.h>

#include <cstdio>
#include <exception>
#include <memory>

#include "shell/web/suspension.h"
#include "shell/web/web_form.h"

using namespace pelmoravan;

namespace {

std::unique_ptr<TWebForm> gForm;

EM_JS(int, js_param_language, (), { return Pel.params.lang === 'en' ? 1 : 0; });
EM_JS(double, js_param_seed, (), { return Pel.params.seed; });
EM_JS(int, js_area_width, (), { return Pel.area().width; });
EM_JS(int, js_area_height, (), { return Pel.area().height; });
EM_JS(void, js_started, (), { Pel.started(); });
EM_JS(void, js_failed, (const char* text), { Pel.failed(UTF8ToString(text)); });

} // namespace

int main() {
    try {
        const auto seed = static_cast<std::uint32_t>(js_param_seed());
        gForm = std::make_unique<TWebForm>(static_cast<std::uint8_t>(js_param_language()), seed,
                                           js_area_width(), js_area_height());
        gForm->Start();
        js_started();
    } catch (const std::exception& error) {
        // Building the window failed (a file the page could not load).
        js_failed(error.what());
    }
    return 0;
}

extern "C" {

EMSCRIPTEN_KEEPALIVE void pel_mouse(int button, int x, int y) {
    if (gForm) {
        gForm->MouseDown(button, x, y);
    }
}

// key: 0 Esc, 1 F9.
EMSCRIPTEN_KEEPALIVE void pel_key(int key, int down) {
    if (gForm) {
        gForm->KeyEvent(key == 0 ? TKey::Escape : TKey::F9, down != 0);
    }
}

EMSCRIPTEN_KEEPALIVE void pel_keys_lost() {
    if (gForm) {
        gForm->LetGoKeys();
    }
}

EMSCRIPTEN_KEEPALIVE void pel_menu(int item) {
    if (gForm && item >= 0 && item < static_cast<int>(MenuItemCount)) {
        gForm->MenuItem(static_cast<TMenuItem>(item));
    }
}

EMSCRIPTEN_KEEPALIVE void pel_shortcut(int item) {
    if (gForm && item >= 0 && item < static_cast<int>(MenuItemCount)) {
        gForm->Shortcut(static_cast<TMenuItem>(item));
    }
}

EMSCRIPTEN_KEEPALIVE void pel_resized(int width, int height) {
    if (gForm) {
        gForm->ViewportResized(width, height);
    }
}

// Some call waits for the page (a dialog, or one turn of the event loop).
EMSCRIPTEN_KEEPALIVE int pel_busy() { return TSuspension::InFlight() ? 1 : 0; }

// --- for the page's tests ---
EMSCRIPTEN_KEEPALIVE void pel_test_hold_timer() {
    if (gForm) {
        gForm->HoldTimer();
    }
}

// n ticks, as the frame timer would deliver them one interval apart.
EMSCRIPTEN_KEEPALIVE void pel_test_tick(int n) {
    for (int i = 0; gForm && i < n; ++i) {
        gForm->Game().DXTimer1Timer(1);
    }
}

EMSCRIPTEN_KEEPALIVE int pel_test_screen_width() { return gForm ? gForm->ScreenWidth() : 0; }

// What the end of a difficulty does with a score; returns once the prompt is open.
EMSCRIPTEN_KEEPALIVE void pel_test_offer_score(int score) {
    if (gForm) {
        gForm->UpdateScores(true, score);
    }
}

// The picture of board cell (col, row), or -1 when it holds no tile or lies off the board.
EMSCRIPTEN_KEEPALIVE int pel_test_picture(int col, int row) {
    if (!gForm || col < 0 || row < 0) {
        return -1;
    }
    const TGame& g = gForm->Game();
    if (col >= g.BoardColumns || row >= g.BoardRows) {
        return -1;
    }
    const TCell& cell = g.Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    return cell.Removed ? -1 : cell.Picture;
}

EMSCRIPTEN_KEEPALIVE int pel_test_columns() { return gForm ? gForm->Game().BoardColumns : 0; }
EMSCRIPTEN_KEEPALIVE int pel_test_rows() { return gForm ? gForm->Game().BoardRows : 0; }

// A shuffle asked for from outside the frame loop, e.g. while a dialog waits: returns 1 when it
// ran to its end at once (nothing suspended), 0 when it is still under way.
EMSCRIPTEN_KEEPALIVE int pel_test_shuffle() {
    if (!gForm) {
        return 0;
    }
    gForm->Game().Shuffle();
    return gForm->Game().Shuffling ? 0 : 1;
}

EMSCRIPTEN_KEEPALIVE int pel_game_state() { return gForm ? gForm->Game().GameState : -1; }
EMSCRIPTEN_KEEPALIVE int pel_score() { return gForm ? gForm->Game().Score : 0; }
EMSCRIPTEN_KEEPALIVE int pel_surface_width() { return gForm ? gForm->SurfaceWidth() : 0; }
EMSCRIPTEN_KEEPALIVE int pel_surface_height() { return gForm ? gForm->SurfaceHeight() : 0; }

EMSCRIPTEN_KEEPALIVE int pel_tile_count() {
    if (!gForm) {
        return 0;
    }
    int count = 0;
    for (const auto& column : gForm->Game().Board) {
        for (const TCell& cell : column) {
            count += cell.Removed ? 0 : 1;
        }
    }
    return count;
}

// Surface pixels of the centre of board cell (col, row), into out[0..1].
EMSCRIPTEN_KEEPALIVE void pel_cell_centre(int col, int row, int* out) {
    out[0] = out[1] = 0;
    if (!gForm || col < 0 || row < 0) {
        return;
    }
    const TGame& g = gForm->Game();
    if (static_cast<std::size_t>(col) >= g.Board.size() ||
        static_cast<std::size_t>(row) >= g.Board[static_cast<std::size_t>(col)].size()) {
        return;
    }
    const TCell& cell = g.Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    out[0] = cell.X + g.CellWidth / 2;
    out[1] = cell.Y + g.CellHeight / 2;
}

// Surface pixels of the centres of the marks on show: selected tiles, then hinted ones, as
// (x, y) pairs into out; returns how many.
EMSCRIPTEN_KEEPALIVE int pel_marks(int* out, int most) {
    if (!gForm) {
        return 0;
    }
    const TGame& g = gForm->Game();
    int n = 0;
    auto add = [&](const TCell& cell) {
        if (n < most) {
            out[2 * n] = cell.X + g.CellWidth / 2;
            out[2 * n + 1] = cell.Y + g.CellHeight / 2;
            ++n;
        }
    };
    for (const TCell& slot : g.Selected) {
        if (slot.Index != -1) {
            add(slot);
        }
    }
    // As drawn: the second hint mark only together with the first.
    for (std::size_t k = 0; k < g.HintPair.size() && g.HintPair[k].Hinted; ++k) {
        add(g.HintPair[k]);
    }
    return n;
}

} // extern "C"

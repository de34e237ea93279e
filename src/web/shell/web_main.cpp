// SPDX-License-Identifier: MIT
// The page's program: builds the main window and hands the page's events to it.
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>

#include "shell/command_line.h"
#include "web/shell/page_form.h"
#include "web/shell/web_form.h"

using namespace pelmoravan;

namespace {

std::unique_ptr<TWebForm> gForm;

// ?lang=en or ?lang=zh chooses; without it, the browser's first language does.
EM_JS(int, js_param_language, (), { return Pel.params.lang === 'en' ? 1 : Pel.params.lang === 'zh' ? 0 : -1; });
EM_JS(void, js_browser_language, (char* out, int size), { stringToUTF8(Pel.params.browserLanguage, out, size); });
EM_JS(double, js_param_seed, (), { return Pel.params.seed; });
// The screen the game lays itself out for, whatever the viewport; the page scales it to fit.
// 1024 wide takes the large cells (800 to 1023 would take the small ones), and 768 high leaves
// the Hard board clear of the status band and its bonus line.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
EM_JS(void, js_failed, (const char* text), { Pel.failed(UTF8ToString(text)); });

std::uint8_t StartLanguage() {
    const int asked = js_param_language();
    if (asked >= 0) {
        return static_cast<std::uint8_t>(asked);
    }
    // A language tag is short ("zh-Hant-TW"); a longer one is cut, which keeps its start.
    char browser[64] = {};
    js_browser_language(browser, static_cast<int>(sizeof browser));
    return LocaleLanguage(browser);
}

} // namespace

namespace pelmoravan {
TWebForm* PageForm() { return gForm.get(); }
} // namespace pelmoravan

int main() {
    try {
        const double seed = js_param_seed();
        gForm = std::make_unique<TWebForm>(
            StartLanguage(),
            seed < 0 ? std::nullopt : std::optional<std::uint32_t>(static_cast<std::uint32_t>(seed)), kScreenWidth,
            kScreenHeight);
        // Returns at once: the house starts once the stored folder is in.
        gForm->Start();
    } catch (const std::exception& error) {
        js_failed(error.what());
    }
    return 0;
}

// What the page's script calls; src/web/page/exports.txt lists each of them, and only they are exported.
extern "C" {

void pel_mouse(int button, int x, int y) {
    if (gForm) {
        gForm->MouseDown(button, x, y);
    }
}

// key: 0 Esc, 1 F9.
void pel_key(int key, int down) {
    if (gForm) {
        gForm->KeyEvent(key == 0 ? TKey::Escape : TKey::F9, down != 0);
    }
}

// key: the board cursor's keys in order (left, right, up, down, Home, End, Space or Enter,
// Backspace, M, T); ctrl: 1 while Ctrl is held.
void pel_board_key(int key, int ctrl) {
    if (gForm && key >= 0 && key <= static_cast<int>(TBoardKey::Status)) {
        gForm->BoardKey(static_cast<TBoardKey>(key), ctrl != 0);
    }
}

void pel_keys_lost() {
    if (gForm) {
        gForm->LetGoKeys();
    }
}

void pel_menu(int item) {
    if (gForm && item >= 0 && item < static_cast<int>(MenuItemCount)) {
        gForm->MenuItem(static_cast<TMenuItem>(item));
    }
}

void pel_shortcut(int item) {
    if (gForm && item >= 0 && item < static_cast<int>(MenuItemCount)) {
        gForm->Shortcut(static_cast<TMenuItem>(item));
    }
}

void pel_touch(int touch) {
    if (gForm) {
        gForm->SetTouch(touch != 0);
    }
}

// tall: the page's view is taller than wide; cssPixel: surface pixels in one CSS pixel.
void pel_view(int tall, double cssPixel) {
    if (gForm) {
        gForm->SetView(tall != 0, cssPixel);
    }
}

// After each tick and each command: the play buttons and the spoken status follow the game.
void pel_sync_page() {
    if (gForm) {
        gForm->SyncPage();
    }
}

// A dialog closed: its request's id, accepted 1 for Yes, OK or a name given, and the name (a
// malloc'd string this takes, or null).
void pel_answer(int id, int accepted, char* name) {
    TAnswer answer;
    answer.Accepted = accepted != 0;
    if (name != nullptr) {
        answer.Name = name;
        std::free(name);
    }
    if (gForm) {
        gForm->Answer(static_cast<std::uint32_t>(id), answer);
    }
}

// The turn the program asked for (the link line's next pass).
void pel_turn() {
    if (gForm) {
        gForm->Turn();
    }
}

} // extern "C"

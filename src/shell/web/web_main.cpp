// The page's program: builds the main window and hands the page's events to it.
#include <emscripten.h>

#include <cstdio>
#include <exception>
#include <memory>

#include "shell/web/page_form.h"
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

namespace pelmoravan {
TWebForm* PageForm() { return gForm.get(); }
} // namespace pelmoravan

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

// What the page's script calls; web/exports.txt lists each of them, and only they are exported.
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

void pel_resized(int width, int height) {
    if (gForm) {
        gForm->ViewportResized(width, height);
    }
}

// Some call waits for the page (a dialog, or one turn of the event loop).
int pel_busy() { return TSuspension::InFlight() ? 1 : 0; }

} // extern "C"

// SPDX-License-Identifier: MIT
#include "web/shell/web_words.h"

#include <emscripten.h>

namespace pelmoravan {

namespace {

// kind: TWordsKind's number (Cell 0, Selection 1, Outcome 2, Paused 3, Resumed 4, Status 5).
EM_JS(void, js_say, (const char* text, int kind, int urgent), { Pel.say(UTF8ToString(text), kind, !!urgent); });

} // namespace

void SayInPage(const TSpokenWords& words) {
    js_say(words.Text.c_str(), static_cast<int>(words.Kind), words.Urgent ? 1 : 0);
}

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#include "web/shell/web_words.h"

#include <emscripten.h>

namespace pelmoravan {

namespace {

EM_JS(void, js_say, (const char* text, int urgent), { Pel.say(UTF8ToString(text), !!urgent); });

} // namespace

void SayInPage(const std::string& text, bool urgent) { js_say(text.c_str(), urgent ? 1 : 0); }

} // namespace pelmoravan

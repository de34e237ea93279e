// SPDX-License-Identifier: MIT
#include "web/shell/web_dialogs.h"

#include <emscripten.h>

#include <string>
#include <vector>

namespace pelmoravan {

namespace {

// The request's list (the score list's headers and rows, About's lines), kept for the dialog
// shown next.
EM_JS(void, js_request_items, (const char* const* items, int count), {
    Pel.requestItems = [];
    for (let i = 0; i < count; i++) Pel.requestItems.push(UTF8ToString(HEAPU32[(items >> 2) + i]));
});

EM_JS(void, js_show_request, (int id, int kind, const char* caption, const char* text, const char* preset, const char* button, int error), {
    Pel.dialogs.show(id, kind, UTF8ToString(caption), UTF8ToString(text), UTF8ToString(preset),
                     UTF8ToString(button), !!error, Pel.requestItems || []);
    Pel.requestItems = null;
});

EM_JS(void, js_close_request, (int id), { Pel.dialogs.withdraw(id); });

} // namespace

void WebShowRequest(const TRequest& request, const std::string& caption, const std::string& button) {
    // Score rows go as name and score, one after the other, behind the three headers.
    std::vector<std::string> owned;
    if (request.Kind == TRequestKind::ScoreList) {
        owned = request.Headers;
        for (const TScoreRow& row : request.Rows) {
            owned.push_back(row.Name);
            owned.push_back(std::to_string(row.Score));
        }
    }
    const std::vector<std::string>& items = request.Kind == TRequestKind::ScoreList ? owned : request.Lines;
    std::vector<const char*> pointers;
    pointers.reserve(items.size());
    for (const std::string& item : items) {
        pointers.push_back(item.c_str());
    }
    js_request_items(pointers.data(), static_cast<int>(pointers.size()));
    js_show_request(static_cast<int>(request.Id), static_cast<int>(request.Kind), caption.c_str(),
                    request.Text.c_str(), request.Preset.c_str(), button.c_str(), request.Error);
}

void WebCloseRequest(std::uint32_t id) { js_close_request(static_cast<int>(id)); }

} // namespace pelmoravan

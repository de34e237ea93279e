#include "web/shell/web_dialogs.h"

#include <emscripten.h>

#include <array>
#include <cstdint>
#include <cstdlib>

#include "shell/dialog_texts.h"

namespace pelmoravan {

namespace {

EM_ASYNC_JS(int, js_ask_yes_no, (const char* caption, const char* text), {
    return await Pel.dialogs.yesNo(UTF8ToString(caption), UTF8ToString(text)) ? 1 : 0;
});

// A malloc'd answer, or null when the player cancels.
EM_ASYNC_JS(char*, js_input_name, (const char* caption, const char* prompt, const char* preset), {
    const answer = await Pel.dialogs.inputName(UTF8ToString(caption), UTF8ToString(prompt),
                                               UTF8ToString(preset));
    if (answer === null) return 0;
    const size = lengthBytesUTF8(answer) + 1;
    const out = _malloc(size);
    stringToUTF8(answer, out, size);
    return out;
});

// The rows as fields: names[i] and scores[i], count of them, kept for the list shown next.
EM_JS(void, js_score_rows, (const char* const* names, const std::int32_t* scores, int count), {
    Pel.scoreRows = [];
    for (let i = 0; i < count; i++) {
        Pel.scoreRows.push({ name: UTF8ToString(HEAPU32[(names >> 2) + i]), score: HEAP32[(scores >> 2) + i] });
    }
});

EM_ASYNC_JS(void, js_score_list_waiting, (const char* caption, const char* rank, const char* name, const char* score, const char* ok), {
    await Pel.dialogs.scoreList(UTF8ToString(caption), [UTF8ToString(rank), UTF8ToString(name), UTF8ToString(score)],
                                UTF8ToString(ok), Pel.scoreRows);
});

EM_JS(void, js_score_list, (const char* caption, const char* rank, const char* name, const char* score, const char* ok), {
    Pel.dialogs.scoreList(UTF8ToString(caption), [UTF8ToString(rank), UTF8ToString(name), UTF8ToString(score)],
                          UTF8ToString(ok), Pel.scoreRows);
});

EM_JS(void, js_about, (const char* texts), { Pel.dialogs.about(UTF8ToString(texts).split('\t')); });

EM_JS(void, js_save_dialog, (), {
    if (!document.querySelector('dialog#save')) Pel.dialogs.save();
});

EM_JS(void, js_message, (const char* caption, const char* text), {
    Pel.dialogs.message(UTF8ToString(caption), UTF8ToString(text));
});

} // namespace

bool WebAskYesNo(const std::string& caption, const std::string& text) {
    return js_ask_yes_no(caption.c_str(), text.c_str()) != 0;
}

std::optional<std::string> WebInputName(const std::string& caption, const std::string& prompt,
                                        const std::string& preset) {
    char* answer = js_input_name(caption.c_str(), prompt.c_str(), preset.c_str());
    if (answer == nullptr) {
        return std::nullopt;
    }
    std::string result(answer);
    std::free(answer);
    return result;
}

void WebShowScoreList(const TScoreEntries& entries, bool wait) {
    std::array<const char*, ScoreEntryCount> names{};
    std::array<std::int32_t, ScoreEntryCount> scores{};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        names[i] = entries[i].Name.c_str();
        scores[i] = entries[i].Score;
    }
    js_score_rows(names.data(), scores.data(), static_cast<int>(entries.size()));
    if (wait) {
        js_score_list_waiting(ScoreListCaption, ScoreListRankHeader, ScoreListNameHeader, ScoreListScoreHeader,
                              ScoreListOk);
    } else {
        js_score_list(ScoreListCaption, ScoreListRankHeader, ScoreListNameHeader, ScoreListScoreHeader, ScoreListOk);
    }
}

void WebShowAbout() {
    const std::string texts = std::string(AboutCaption) + "\t" + AboutTitle + "\t" + AboutVersion +
                              "\t" + AboutHomePageLabel + "\t" + AboutHomePage + "\t" +
                              AboutMailLabel + "\t" + AboutMailAddress + "\t" + AboutHowToPlay +
                              "\t" + AboutClose;
    js_about(texts.c_str());
}

void WebShowSaveDialog() { js_save_dialog(); }

void WebShowMessage(const std::string& caption, const std::string& text) {
    js_message(caption.c_str(), text.c_str());
}

} // namespace pelmoravan

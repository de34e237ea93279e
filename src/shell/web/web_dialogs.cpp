#include "shell/web/web_dialogs.h"

#include <emscripten.h>

#include <cstdlib>

#include "shell/dialog_texts.h"

namespace pelmoravan {

namespace {

// Counted while in flight, so that tests can wait for the storing to end.
EM_JS(void, js_persist, (), {
    Pel.persisting = (Pel.persisting || 0) + 1;
    FS.syncfs(false, (error) => {
        Pel.persisting -= 1;
        if (error) console.warn('pelmoravan: scores not stored', error);
    });
});

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

// rows: "name\tscore\n" ten times.
EM_ASYNC_JS(void, js_score_list, (const char* caption, const char* headers, const char* ok, const char* rows), {
    await Pel.dialogs.scoreList(UTF8ToString(caption), UTF8ToString(headers).split('\t'),
                                UTF8ToString(ok), UTF8ToString(rows));
});

EM_ASYNC_JS(void, js_about, (const char* texts), {
    await Pel.dialogs.about(UTF8ToString(texts).split('\t'));
});

EM_ASYNC_JS(void, js_save_dialog, (), { await Pel.dialogs.save(); });

EM_ASYNC_JS(void, js_message, (const char* caption, const char* text), {
    await Pel.dialogs.message(UTF8ToString(caption), UTF8ToString(text));
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

void WebShowScoreList(const TScoreEntries& entries) {
    std::string rows;
    for (const TScoreEntry& entry : entries) {
        std::string name = entry.Name;
        // Tabs and line breaks separate the fields here; in a name they show as spaces.
        for (char& c : name) {
            if (c == '\t' || c == '\n' || c == '\r') {
                c = ' ';
            }
        }
        rows += name + "\t" + std::to_string(entry.Score) + "\n";
    }
    const std::string headers = std::string(ScoreListRankHeader) + "\t" + ScoreListNameHeader + "\t" +
                                ScoreListScoreHeader;
    js_score_list(ScoreListCaption, headers.c_str(), ScoreListOk, rows.c_str());
}

void WebPersistScores() { js_persist(); }

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

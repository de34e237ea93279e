#pragma once
#include <optional>
#include <string>

#include "shell/score_file.h"

namespace pelmoravan {

// The page's modal dialogs (HTML <dialog>s). Each call waits, suspended, until the player
// answers; ticks and the page's events go on meanwhile. None may be called while another call
// is waiting (see TSuspension).
bool WebAskYesNo(const std::string& caption, const std::string& text);
std::optional<std::string> WebInputName(const std::string& caption, const std::string& prompt,
                                        const std::string& preset);
void WebShowScoreList(const TScoreEntries& entries);
// Writes the score folder back to the browser's storage; returns at once, the storing goes on.
void WebPersistScores();
void WebShowAbout();
void WebShowSaveDialog();
void WebShowMessage(const std::string& caption, const std::string& text);

// The score list's prompt and list on the page's dialogs.
class TWebScoreUi final : public INamePrompt, public IScoreListView {
public:
    std::optional<std::string> InputName(const std::string& caption, const std::string& prompt,
                                         const std::string& preset) override {
        return WebInputName(caption, prompt, preset);
    }
    // The file is complete when the list is shown: stored now, not once the player closes the
    // list, a reload or a closed tab right after cannot lose the score.
    void ShowScoreList(const TScoreEntries& entries) override {
        WebPersistScores();
        WebShowScoreList(entries);
    }
};

} // namespace pelmoravan

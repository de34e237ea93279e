#pragma once
#include <optional>
#include <string>

#include "shell/score_file.h"

namespace pelmoravan {

// The page's modal dialogs (HTML <dialog>s); each blocks the board while it is open. Those
// whose answer is used wait, suspended, until the player answers; ticks and the page's events
// go on meanwhile, and none of them may be called while another call is waiting (see
// TSuspension). The others return at once and the program goes on behind them.
bool WebAskYesNo(const std::string& caption, const std::string& text);
std::optional<std::string> WebInputName(const std::string& caption, const std::string& prompt,
                                        const std::string& preset);
// wait: until the player closes it (the list after a name is given).
void WebShowScoreList(const TScoreEntries& entries, bool wait);
void WebShowAbout();
// Opens no second one while one is open.
void WebShowSaveDialog();
void WebShowMessage(const std::string& caption, const std::string& text);

// The score list's prompt and list on the page's dialogs; the list waits when wait is set.
class TWebScoreUi final : public INamePrompt, public IScoreListView {
public:
    explicit TWebScoreUi(bool wait) : FWait(wait) {}
    std::optional<std::string> InputName(const std::string& caption, const std::string& prompt,
                                         const std::string& preset) override {
        return WebInputName(caption, prompt, preset);
    }
    void ShowScoreList(const TScoreEntries& entries) override { WebShowScoreList(entries, FWait); }

private:
    bool FWait;
};

} // namespace pelmoravan

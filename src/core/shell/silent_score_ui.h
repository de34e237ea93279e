#pragma once
#include <optional>
#include <string>

#include "shell/score_file.h"

namespace pelmoravan {

// Score dialogs that wait for nobody: the name is taken as offered and the list is not shown.
class TNoWaitScoreUi final : public INamePrompt, public IScoreListView {
public:
    std::optional<std::string> InputName(const std::string&, const std::string&, const std::string& preset) override {
        return preset;
    }
    void ShowScoreList(const TScoreEntries&) override {}
};

} // namespace pelmoravan

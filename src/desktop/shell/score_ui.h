#pragma once
#include <QPointer>
#include <QWidget>

#include "shell/score_file.h"

namespace pelmoravan {

// The name prompt and the score list as modal Qt dialogs over a window.
class TQtScoreUi final : public INamePrompt, public IScoreListView {
public:
    explicit TQtScoreUi(QWidget* window = nullptr) : FWindow(window) {}

    std::optional<std::string> InputName(const std::string& caption, const std::string& prompt,
                                         const std::string& preset) override;
    // ShowScoreList: a new TfmScores, filled, shown modally and destroyed.
    void ShowScoreList(const TScoreEntries& entries) override;

private:
    QPointer<QWidget> FWindow;
};

// UpdateScores of the running game: a file error is shown in a message box and the game goes
// on. Returns false when that happened.
bool UpdateScoresInWindow(QWidget* window, bool enter, std::int32_t score,
                          const std::string& path = ScoreFileName);

// The check before any window exists. On a file error: one line on standard error, one
// message box, and false (the program then ends with exit code 1).
bool CheckScoreFileAtStartup(const std::string& path = ScoreFileName, int argc = 0, char** argv = nullptr);

} // namespace pelmoravan

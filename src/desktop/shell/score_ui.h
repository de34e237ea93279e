#pragma once
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "shell/score_file.h"

namespace pelmoravan {

// The name prompt and the score list as modal Qt dialogs over a window, and the window's wait
// for the score file's lock: nested event loops, so that it draws and ticks, and a modal box.
class TQtScoreUi final : public INamePrompt, public IScoreListView, public IScoreLockWait {
public:
    // ending, when given, is asked after each slice of a wait before the box shows: true ends
    // the wait as the program's end would (Esc, read by the window).
    explicit TQtScoreUi(QWidget* window = nullptr, std::uint8_t language = 0, std::function<bool()> ending = {})
        : FWindow(window), FLanguage(language), FEnding(std::move(ending)) {}
    ~TQtScoreUi() override;
    TQtScoreUi(const TQtScoreUi&) = delete;
    TQtScoreUi& operator=(const TQtScoreUi&) = delete;

    std::optional<std::string> InputName(const std::string& caption, const std::string& prompt,
                                         const std::string& preset) override;
    // ShowScoreList: a new TfmScores, filled, shown modally and destroyed.
    void ShowScoreList(const TScoreEntries& entries) override;

    bool RunFor(int ms) override;
    void ShowBusy(const std::string& text) override;
    bool BusyCancelled() override { return FCancelled; }
    void CloseBusy() override;
    void TellNotRecorded(const std::string& text) override;
    std::uint8_t Language() const override { return FLanguage; }

private:
    QString Caption() const;

    QPointer<QWidget> FWindow;
    std::uint8_t FLanguage;
    std::function<bool()> FEnding;
    QPointer<QMessageBox> FBusy;
    bool FCancelled = false;
};

// UpdateScores of the running game, waiting for the lock as the window does (texts in
// language): a file error is shown in a message box, told on standard error with the file and
// the system's reason, and the game goes on. Returns false when that happened.
bool UpdateScoresInWindow(QWidget* window, bool enter, std::int32_t score,
                          const std::string& path = ScoreFileName, std::uint8_t language = 0,
                          std::function<bool()> ending = {});

// The check before any window exists. On a file error: one line on standard error, one
// message box, and false (the program then ends with exit code 1).
bool CheckScoreFileAtStartup(const std::string& path = ScoreFileName, int argc = 0, char** argv = nullptr);

} // namespace pelmoravan

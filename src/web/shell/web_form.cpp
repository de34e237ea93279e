#include "web/shell/web_form.h"

#include <emscripten.h>

#include <cstdio>
#include <exception>
#include <filesystem>

#include "web/media/web_catalog.h"
#include "media/binary_file.h"
#include "shell/score_file.h"
#include "shell/exit_question.h"
#include "shell/language_tables.h"
#include "screen/status_lines.h"
#include "shell/silent_score_ui.h"
#include "web/shell/suspension.h"
#include "web/shell/web_dialogs.h"
#include "web/shell/web_score_storage.h"
#include "web/shell/web_seed_source.h"
#include "web/shell/web_words.h"

// Each time the program lets the event loop run. Nothing here: the test build of the page links
// its own in its place, to count those turns; the page as shipped has no such hook.
extern "C" __attribute__((weak)) void PageYielding() {}

namespace pelmoravan {

namespace {

EM_JS(void, js_menu_build, (int index, const char* name, int parent, const char* shortcut, int visible, int checkMark, int hasChildren),
      { Pel.menu.add(index, UTF8ToString(name), parent, UTF8ToString(shortcut), !!visible, !!checkMark, !!hasChildren); });
EM_JS(void, js_menu_item, (int index, const char* caption, int enabled, int checked),
      { Pel.menu.update(index, UTF8ToString(caption), !!enabled, !!checked); });
EM_JS(void, js_title, (const char* caption), { document.title = UTF8ToString(caption); });
// texts: the language's control texts, "name=text" a line.
EM_JS(void, js_language, (int language, const char* texts), { Pel.setLanguage(language, UTF8ToString(texts)); });
EM_JS(void, js_play_button, (int slot, int item, const char* caption, int enabled),
      { Pel.controls.button(slot, item, UTF8ToString(caption), !!enabled); });
EM_JS(void, js_status, (const char* text), { Pel.controls.status(UTF8ToString(text)); });
// Only the test page counts these turns.
EM_JS(void, js_ended, (int language), { Pel.ended(language); });
EM_JS(void, js_log, (const char* text), { console.warn(UTF8ToString(text)); });

// Where the page keeps the score file: a folder the page keeps in the browser's storage.
constexpr const char* kScoreFolder = "/scores";

// The page's start options: the language and the seed it was asked for; the score and track
// files live in the page's stored folder, made the working directory at start.
TStartOptions PageOptions(std::uint8_t language, std::optional<std::uint32_t> seed) {
    TStartOptions options;
    if (language == 1) {
        options.Language = 1;
    }
    options.Seed = seed;
    return options;
}

} // namespace

TWebForm::TWebForm(std::uint8_t language, std::optional<std::uint32_t> seed, std::int32_t width,
                   std::int32_t height)
    : FDXDraw(width, height), FLanguage(language == 1 ? 1 : 0) {
    FHost = std::make_unique<TGameHost>(TFrontEndParts{*this, FDXDraw, FTimer.Timer(), FWaveOutput, FPlayer, FTracks,
                                                       std::make_unique<TWebSeedSource>()},
                                        PageOptions(language, seed));
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        const auto item = static_cast<TMenuItem>(i);
        const TMenuItemInfo& info = MenuItemInfo(item);
        js_menu_build(static_cast<int>(i), info.Name, info.Parent ? static_cast<int>(*info.Parent) : -1,
                      info.Shortcut, info.Visible, info.CheckMark, HasChildren(item));
    }
    // One suspension at a time: a tick due while the program lets one turn of the event loop
    // through comes just after that turn.
    FTimer.Holding = [] { return TSuspension::Yielding() || TSuspension::Storing(); };
    FPlayer.OnNotify = [this] { FHost->MediaPlayer1Notify(); };
}

TWebForm::~TWebForm() = default;

void TWebForm::Start() {
    // The menu shows its texts while the stored folder and the pictures load.
    FHost->Start([this](TPictureCollection& tiles, TPictureCollection& screens, TPictureCollection& backs,
                        TWaveCollection& waves) {
        // The score file lives in the page's stored folder; backups go beside it.
        FScoreStorage.Mount(kScoreFolder);
        std::error_code error;
        std::filesystem::current_path(kScoreFolder, error);
        if (TGameHost::CheckScoreFile(FHost->Options().ScorePath(), [this](const std::string& message) {
                ReportCommandError(message);
            })) {
            FScoreStorage.Store();
        }
        LoadWebCatalog(tiles, screens, backs, waves);
    });
}

void TWebForm::MouseDown(std::int32_t button, std::int32_t x, std::int32_t y) {
    if (FEnded || button < 0 || button > 2) {
        return;
    }
    // The page's buttons: 0 left, 1 middle, 2 right.
    // The title invites a start; a finger has no F2.
    if (FTouch && button == 0 && Game().GameState == TGameState::Title) {
        Shortcut(TMenuItem::NewGame1);
        return;
    }
    const TMouseButton Button = button == 0   ? TMouseButton::mbLeft
                                : button == 2 ? TMouseButton::mbRight
                                              : TMouseButton::mbMiddle;
    FHost->MouseDown(Button, x, y);
}

void TWebForm::KeyEvent(TKey key, bool down) {
    if (down) {
        FHost->Keys().Press(key);
    } else {
        FHost->Keys().Release(key);
    }
}

void TWebForm::BoardKey(TBoardKey key, bool ctrl) {
    if (!FEnded) {
        FHost->BoardKey(key, ctrl);
    }
}

void TWebForm::Say(const std::string& text, bool urgent) { SayInPage(text, urgent); }

void TWebForm::MenuItem(TMenuItem item) {
    if (FEnded) {
        return;
    }
    FHost->MenuItem(item);
}

void TWebForm::Shortcut(TMenuItem item) {
    if (FEnded) {
        return;
    }
    FHost->MenuItem(item, true);
}

bool TWebForm::AskYesNo(const std::string& text) {
    if (TSuspension::InFlight()) {
        js_log(("pelmoravan: question not asked while another dialog is open: " + text).c_str());
        return false;
    }
    TSuspension waiting(TSuspension::TKind::Dialog);
    return WebAskYesNo(Menu().WindowCaption(), text);
}

void TWebForm::UpdateScores(bool enter, std::int32_t score) {
    try {
        if (TSuspension::InFlight()) {
            // A call that waits while another waits already (a level that ends behind an open
            // prompt): the name is taken as offered, the list is not shown, and the folder is
            // stored as soon as the storage is free.
            TNoWaitScoreUi silent;
            pelmoravan::UpdateScores(enter, score, silent, silent);
            FScoreStorage.StoreSoon();
        } else if (score == -1) {
            // The list alone waits only for the storage; the frame loop holds meanwhile.
            TSuspension waiting(TSuspension::TKind::Storage);
            TWebScoreUi ui(false);
            pelmoravan::UpdateScores(enter, score, ui, ui, ScoreFileName, &FScoreStorage);
        } else {
            TSuspension waiting(TSuspension::TKind::Dialog);
            TWebScoreUi ui(true);
            pelmoravan::UpdateScores(enter, score, ui, ui, ScoreFileName, &FScoreStorage);
        }
    } catch (const EFileError& e) {
        std::fprintf(stderr, "pelmoravan: %s\n", e.Detail().c_str());
        ReportCommandError(e.what());
    }
}

void TWebForm::ScoresNotKept() {
    if (!FScoresNotKeptSaid) {
        FScoresNotKeptSaid = true;
        // Said before the start too, in the language the page was asked for.
        ReportCommandError(std::string(ControlTexts(FLanguage).ScoresNotKept));
    }
}

void TWebForm::ProcessOneMessage() {
    // One suspension at a time: nested inside another wait, there is nothing to let through.
    if (TSuspension::InFlight()) {
        return;
    }
    TSuspension waiting(TSuspension::TKind::Yield);
    PageYielding();
    emscripten_sleep(0);
}

std::int32_t TWebForm::ScreenWidth() const { return FDXDraw.Width(); }

void TWebForm::Terminate() {
    if (FEnded) {
        return;
    }
    FEnded = true;
    FTimer.Timer().SetEnabled(false);
    FPlayer.Close();
    js_ended(Game().Language);
}

// Dialogs whose answer nothing uses do not wait: the program goes on behind them, as the
// desktop's ticks do behind its modal dialogs.
void TWebForm::ShowSaveDialog() { WebShowSaveDialog(); }

void TWebForm::SyncMenu() {
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        const TMenuItemState& state = Menu().Item(static_cast<TMenuItem>(i));
        js_menu_item(static_cast<int>(i), state.Caption.c_str(), state.Enabled, state.Checked);
    }
}

// Shown after every change of language: the page's own texts follow it.
void TWebForm::ShowCaption(const std::string& caption) {
    js_title(caption.c_str());
    FLanguage = Game().Language;
    const TControlTexts& t = ControlTexts(FLanguage);
    std::string texts;
    for (const auto& [name, text] : {std::pair{"yes", t.Yes}, {"no", t.No}, {"ok", t.Ok}, {"cancel", t.Cancel},
                                     {"save", t.Save}, {"saveAs", t.SaveAs}, {"fileName", t.FileName},
                                     {"ended", t.Ended}, {"startAgain", t.StartAgain},
                                     {"turnDevice", t.TurnDevice}, {"playArea", t.PlayArea},
                                     {"playCommands", t.PlayCommands}, {"menu", t.Menu}}) {
        texts += std::string(name) + "=" + std::string(text) + "\n";
    }
    js_language(Game().Language, texts.c_str());
    FShownButtons = {};
    FBoardView.Reset();
    SyncPage();
}

void TWebForm::SyncPage() {
    const auto buttons = PlayButtons(Menu(), Game());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] != FShownButtons[i]) {
            js_play_button(static_cast<int>(i), static_cast<int>(buttons[i].Item), buttons[i].Caption.c_str(),
                           buttons[i].Enabled);
        }
    }
    FShownButtons = buttons;
    std::string status = StatusAnnouncement(Game());
    if (status != FShownStatus) {
        js_status(status.c_str());
        FShownStatus = std::move(status);
    }
    FBoardView.Sync(Game());
}

void TWebForm::CloseWindow() {
    // The desktop's Exit is immediate; a finger's may be a slip beside About.
    if (!FTouch || ExitConfirmed(Game(), std::string(ControlTexts(Game().Language).ExitQuestion))) {
        Terminate();
    }
}

void TWebForm::ShowAbout() { WebShowAbout(); }

void TWebForm::ReportCommandError(const std::string& message) { WebShowMessage(Menu().WindowCaption(), message); }

} // namespace pelmoravan

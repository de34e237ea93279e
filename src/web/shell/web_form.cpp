// SPDX-License-Identifier: MIT
#include "web/shell/web_form.h"

#include <emscripten.h>

#include <cstdio>
#include <exception>
#include <filesystem>

#include "web/media/web_catalog.h"
#include "shell/language_tables.h"
#include "web/shell/web_dialogs.h"
#include "web/shell/web_score_storage.h"
#include "web/shell/web_seed_source.h"
#include "web/shell/web_words.h"

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
EM_JS(void, js_ended, (int language), { Pel.ended(language); });
EM_JS(void, js_started, (), { Pel.started(); });
// pel_turn once, on a later turn of the page's loop.
EM_JS(void, js_request_turn, (), { Pel.requestTurn(); });

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
    : FDXDraw(width, height), FLayoutWidth(width), FLayoutHeight(height), FLanguage(language == 1 ? 1 : 0) {
    FHost = std::make_unique<TGameHost>(TFrontEndParts{*this, FDXDraw, FTimer.Timer(), FWaveOutput, FPlayer, FTracks,
                                                       std::make_unique<TWebSeedSource>(), &FScoreStorage},
                                        PageOptions(language, seed));
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        const auto item = static_cast<TMenuItem>(i);
        const TMenuItemInfo& info = MenuItemInfo(item);
        js_menu_build(static_cast<int>(i), info.Name, info.Parent ? static_cast<int>(*info.Parent) : -1,
                      info.Shortcut, info.Visible, info.CheckMark, HasChildren(item));
    }
    FPlayer.OnNotify = [this] { FHost->MediaPlayer1Notify(); };
}

TWebForm::~TWebForm() = default;

void TWebForm::Start() {
    // The menu bar and the page's texts in the language asked for before the first paint, so that
    // nothing moves when the house starts; the house applies them again then.
    FHost->ApplyLanguage(FLanguage);
    // The stored folder and the catalog's files arrive side by side; the house starts once both
    // are in. The score file lives in the stored folder; backups go beside it.
    FScoreStorage.Mount(kScoreFolder, [this](bool ok) { Mounted(ok); });
    // The page starts the program once the title's pictures are decoded; the rest follow.
    FCatalogIn = true;
    StartHouse();
}

void TWebForm::Mounted(bool ok) {
    std::error_code error;
    std::filesystem::current_path(kScoreFolder, error);
    // A file the check made or reset is stored at once; a failure is said once the house shows
    // its window.
    if (TGameHost::CheckScoreFile(FHost->Options().ScorePath(),
                                  [this](const std::string& message) { FCheckFailure = message; }) &&
        ok) {
        FScoreStorage.Store();
    }
    FScoresNotKeptLate = FScoresNotKeptLate || !ok;
    FMounted = true;
    StartHouse();
}

void TWebForm::StartHouse() {
    if (!FMounted || !FCatalogIn || FStarting) {
        return;
    }
    FStarting = true;
    try {
        FHost->Start([this](TPictureCollection& tiles, TPictureCollection& screens, TPictureCollection& backs,
                            TWaveCollection& waves) {
            if (!FCatalogFailure.empty()) {
                throw ECollectionError("Resource '" + FCatalogFailure + "' not found");
            }
            LoadWebCatalog(tiles, screens, backs, waves, FHost->UprightImageList);
        });
    } catch (const std::exception& error) {
        // A file the page could not load: said in a dialog, and the page ends once it closes.
        FHost->ReportStartError(error.what());
        return;
    }
    FHouseStarted = true;
    js_started();
    if (FScoresNotKeptLate) {
        ScoresNotKept();
    }
    if (!FCheckFailure.empty()) {
        FHost->ReportError(FCheckFailure);
    }
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

void TWebForm::Speak(const TSpokenWords& words) { SayInPage(words); }

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

void TWebForm::SetTouch(bool touch) {
    FTouch = touch;
    // A finger's Exit may be a slip beside About: it asks first while a game is in progress.
    FHost->AskBeforeExit(touch);
    FHost->TouchPointer(touch, FCssPixel);
    TurnBoard();
}

void TWebForm::SetView(bool tall, double cssPixel) {
    FTall = tall;
    FCssPixel = cssPixel > 0 ? cssPixel : 1.0;
    FHost->TouchPointer(FTouch, FCssPixel);
    TurnBoard();
}

void TWebForm::TurnBoard() {
    const TGameState state = Game().GameState;
    // A finger on a tall screen plays a tall board; the title, the game over and every mouse keep
    // the surface as it is.
    const bool upright = FTouch && FTall && (state == TGameState::Playing || state == TGameState::Paused) &&
                         Game().BoardColumns > 0;
    if (upright == FHost->BoardUpright()) {
        return;
    }
    const std::int32_t width = upright ? FLayoutHeight : FLayoutWidth;
    const std::int32_t height = upright ? FLayoutWidth : FLayoutHeight;
    FDXDraw.Resize(width, height);
    FHost->ShowBoardUpright(upright);
    FHost->SurfaceResized(width, height);
}

void TWebForm::ShowRequest(const TRequest& request) {
    const std::string caption = request.Caption.empty() ? Menu().WindowCaption() : request.Caption;
    const std::string button =
        request.Button.empty() ? std::string(ControlTexts(Game().Language).Ok) : request.Button;
    WebShowRequest(request, caption, button);
}

void TWebForm::CloseRequest(std::uint32_t id) { WebCloseRequest(id); }

void TWebForm::Answer(std::uint32_t id, const TAnswer& answer) { FHost->Answer(id, answer); }

void TWebForm::RequestTurn() { js_request_turn(); }

void TWebForm::Turn() { FHost->Turn(); }

void TWebForm::ScoresNotKept() {
    if (!FHouseStarted) {
        FScoresNotKeptLate = true; // said once the window shows its texts
        return;
    }
    if (!FScoresNotKeptSaid) {
        FScoresNotKeptSaid = true;
        FHost->ReportError(std::string(ControlTexts(FLanguage).ScoresNotKept));
    }
}

std::int32_t TWebForm::ScreenWidth() const { return FLayoutWidth; }

void TWebForm::Terminate(int exitCode) {
    // A page has no exit code: after a start-up error as after Exit it shows its ended state.
    static_cast<void>(exitCode);
    if (FEnded) {
        return;
    }
    FEnded = true;
    FTimer.Timer().SetEnabled(false);
    FPlayer.Close();
    js_ended(Game().Language);
}

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
                                     {"playCommands", t.PlayCommands}, {"menu", t.Menu},
                                     {"boardKeys", BoardWordTexts(FLanguage).KeysHelp}}) {
        texts += std::string(name) + "=" + std::string(text) + "\n";
    }
    js_language(Game().Language, texts.c_str());
    FShownButtons = {};
    FBoardView.Reset();
    SyncPage();
}

void TWebForm::SyncPage() {
    TurnBoard();
    const auto buttons = PlayButtons(Menu(), Game());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] != FShownButtons[i]) {
            js_play_button(static_cast<int>(i), static_cast<int>(buttons[i].Item), buttons[i].Caption.c_str(),
                           buttons[i].Enabled);
        }
    }
    FShownButtons = buttons;
    FBoardView.Sync(Game());
}

// Any question before it was asked by the house already.
void TWebForm::CloseWindow() { Terminate(0); }

void TWebForm::ShowStatus(const std::string& text) { js_status(text.c_str()); }

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
// The desktop game as the window test of the score file's busy box runs it
// (tests/window/busy_box.sh): the main window, dialogs, keys and frame timer of the shipped
// program (src/desktop/main.cpp), with two things added for the test and nothing shipped:
//  - the first game dealt (F2) becomes the tenth level of Easy with one pair left, so that a
//    click on each of its two tiles ends the difficulty and offers the score;
//  - each request the window is handed or takes down, and the end asked for, is written as a
//    line to LOG, after the wall clock's milliseconds: "MS shown ID KIND TEXT" (a score list's
//    TEXT is its first row, "NAME SCORE"), "MS withdrawn ID", "MS terminate CODE", and
//    "MS level-ten" once the board is set.
// Usage: level_ten_game LOG [the game's options]
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "desktop/shell/form1.h"
#include "desktop/shell/platform_guard.h"
#include "desktop/shell/qt_options.h"
#include "desktop/shell/score_ui.h"
#include "game/tile_sprite.h"
#include "shell/command_line.h"

namespace {

using namespace pelmoravan;

const char* KindName(TRequestKind kind) {
    switch (kind) {
    case TRequestKind::YesNo: return "YesNo";
    case TRequestKind::NameEntry: return "NameEntry";
    case TRequestKind::ScoreList: return "ScoreList";
    case TRequestKind::Message: return "Message";
    case TRequestKind::About: return "About";
    case TRequestKind::SaveFile: return "SaveFile";
    case TRequestKind::ScoreBusy: return "ScoreBusy";
    case TRequestKind::StartError: return "StartError";
    }
    return "?";
}

class TLoggedForm : public TForm1 {
public:
    TLoggedForm(TStartOptions options, std::FILE* log) : TForm1(std::move(options)), FLog(log) {}

    void ShowRequest(const TRequest& request) override {
        std::string text = request.Kind == TRequestKind::ScoreList && !request.Rows.empty()
                               ? request.Rows[0].Name + " " + std::to_string(request.Rows[0].Score)
                               : request.Text;
        for (char& c : text) {
            c = c == '\n' ? ' ' : c;
        }
        Line("shown " + std::to_string(request.Id) + " " + KindName(request.Kind) + " " + text);
        TForm1::ShowRequest(request);
    }
    void CloseRequest(std::uint32_t id) override {
        Line("withdrawn " + std::to_string(id));
        TForm1::CloseRequest(id);
    }
    void Terminate(int exitCode) override {
        Line("terminate " + std::to_string(exitCode));
        TForm1::Terminate(exitCode);
    }

    // The tenth level of Easy dealt as the game deals it, then every tile taken off but the one
    // at (0, 0) and the first other of its picture: on an empty board any two tiles link.
    void MakeLevelTen() {
        TGame& g = Game();
        g.Level = 9;
        g.AdvanceLevel();
        const TCell& first = g.Board[0][0];
        bool partner = false;
        for (auto& column : g.Board) {
            for (TCell& cell : column) {
                const bool kept = &cell == &first || (!partner && cell.Picture == first.Picture);
                partner = partner || (kept && &cell != &first);
                if (!kept && !cell.Removed) {
                    cell.Removed = true;
                    if (cell.Sprite != nullptr) {
                        cell.Sprite->MarkDead();
                        cell.Sprite = nullptr;
                    }
                }
            }
        }
        Line("level-ten");
    }

    void Line(const std::string& line) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        std::fprintf(FLog, "%lld %s\n", static_cast<long long>(ms.count()), line.c_str());
        std::fflush(FLog);
    }

private:
    std::FILE* FLog;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: level_ten_game LOG [the game's options]\n");
        return 2;
    }
    std::FILE* log = std::fopen(argv[1], "a");
    if (log == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    // The game's own command line from here on: LOG taken out.
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    args.push_back(nullptr);
    int count = argc - 1;
    char** line = args.data();

    const TCommandLine parsed = ParseCommandLine(std::vector<std::string>(line + 1, line + count),
                                                 std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), QtOptions());
    if (parsed.Action != TCommandLine::TAction::Run) {
        std::fprintf(stderr, "level_ten_game: only options that run the game are taken\n");
        return 2;
    }
    const TStartOptions options = parsed.Options;
    if (!CheckScoreFileAtStartup(options.ScorePath(), count, line)) {
        return 1;
    }
    auto guard = std::make_unique<TPlatformGuard>(count, line);
    QApplication app(count, line);
    guard.reset();
    auto form = std::make_unique<TLoggedForm>(options, log);
    form->show();
    // The first game dealt (F2) becomes the tenth level, once, as soon as it is seen.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (form->Game().GameState == TGameState::Playing) {
            watch.stop();
            form->MakeLevelTen();
        }
    });
    watch.start(10);
    const int code = QApplication::exec();
    // As the game itself ends: the system reclaims the rest.
    std::fflush(nullptr);
    std::_Exit(code);
}

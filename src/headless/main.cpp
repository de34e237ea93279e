// SPDX-License-Identifier: MIT
// pelmoravan-headless: the game's core with no window, sound or display, playing a whole
// difficulty by auto-play on a surface in memory.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "headless/headless.h"
#include "headless/soft_pixels.h"
#include "host/game_host.h"
#include "shell/data_dir.h"

namespace {

constexpr const char* kUsage =
    "Usage: pelmoravan-headless --auto [--difficulty easy|normal|hard] [--seed N]\n"
    "                           [--frames DIR [--every N]] [--data-dir DIR] [--language LANG]\n"
    "Plays a whole difficulty of Pelmoravan by auto-play with no window and no sound, and prints\n"
    "the score, the frames presented and skipped, and the time taken.\n"
    "\n"
    "  --auto              play by auto-play (the only way it plays)\n"
    "  --difficulty D      easy (the default), normal or hard\n"
    "  --frames DIR        write each frame presented as DIR/NNNNNN.png (a whole Easy\n"
    "                      difficulty presents about 5,600 frames, over 700 MB); the first\n"
    "                      frame that cannot be written stops the run\n"
    "  --every N           keep only the first frame and every Nth after it, under their\n"
    "                      numbers in the run\n"
    "  --seed N, --data-dir DIR, --language LANG  as for pelmoravan (see its --help)\n"
    "\n"
    "Exit status: 0 when the difficulty was played through with no error, 1 otherwise,\n"
    "2 for a bad option.\n";

int Fail(const std::string& what, int code) {
    std::fprintf(stderr, "pelmoravan-headless: %s\n", what.c_str());
    return code;
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace pelmoravan;
    THeadlessOptions options;
    options.AssetsDir = PELMORAVAN_ASSETS_DIR;
    std::string frames;
    std::int64_t every = 0;
    bool autoPlay = false;
    // Its own options here; the game's go to the game's parser.
    std::vector<std::string> gameArgs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--auto") {
            autoPlay = true;
        } else if ((arg == "--difficulty" || arg == "--frames" || arg == "--every") && i + 1 >= argc) {
            return Fail("option '" + arg + "' needs a value; try --help", 2);
        } else if (arg == "--difficulty") {
            const std::string name = argv[++i];
            options.Difficulty = name == "easy" ? 1 : name == "normal" ? 2 : name == "hard" ? 3 : 0;
            if (options.Difficulty == 0) {
                return Fail("bad value '" + name + "' for '--difficulty' (easy, normal or hard)", 2);
            }
        } else if (arg == "--frames") {
            frames = argv[++i];
        } else if (arg == "--every") {
            const std::string value = argv[++i];
            every = value.size() <= 9 && !value.empty() &&
                            value.find_first_not_of("0123456789") == std::string::npos
                        ? std::stoll(value)
                        : 0;
            if (every < 1) {
                return Fail("bad value '" + value + "' for '--every' (a whole number from 1)", 2);
            }
        } else {
            gameArgs.push_back(arg);
        }
    }
    const TCommandLine line = ParseCommandLine(gameArgs, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    switch (line.Action) {
    case TCommandLine::TAction::Help: std::fputs(kUsage, stdout); return 0;
    case TCommandLine::TAction::Version: std::fputs(VersionText().c_str(), stdout); return 0;
    case TCommandLine::TAction::Error: std::fprintf(stderr, "%s\n", line.Error.c_str()); return 2;
    case TCommandLine::TAction::Run: break;
    }
    if (!autoPlay) {
        return Fail("it only plays by auto-play: give --auto; try --help", 2);
    }
    if (every != 0 && frames.empty()) {
        return Fail("'--every' keeps frames that '--frames DIR' writes: give both; try --help", 2);
    }
    options.Game = line.Options;
    for (const std::string& dir : {options.Game.DataDir, frames}) {
        if (const std::string error = dir.empty() ? "" : MakeDataDir(dir); !error.empty()) {
            return Fail(error, 1);
        }
    }
    if (!TGameHost::CheckScoreFile(options.Game.ScorePath(), [](const std::string& message) { Fail(message, 1); })) {
        return 1;
    }
    try {
        TSoftPixels pixels(kHeadlessWidth, kHeadlessHeight, PELMORAVAN_FONT_FILE);
        TFrameWriter writer(pixels, frames, every);
        if (!frames.empty()) {
            if (const std::string error = writer.CheckFolder(); !error.empty()) {
                return Fail(error, 1);
            }
        }
        const auto start = std::chrono::steady_clock::now();
        const THeadlessResult result =
            RunHeadless(options, pixels, frames.empty() ? std::function<bool()>{} : std::function<bool()>(std::ref(writer)));
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        if (result.Stopped) {
            return Fail(writer.Error(), 1);
        }
        std::printf("score %d\nframes presented %lld, skipped %lld, in %lld ticks\ntime taken %.2f s for %.1f s of play\n",
                    result.Score, static_cast<long long>(result.Presented), static_cast<long long>(result.Skipped),
                    static_cast<long long>(result.Ticks), taken.count(), result.GameMilliseconds / 1000.0);
        for (const std::string& error : result.Errors) {
            Fail("the game reported: " + error, 1);
        }
        if (!result.Finished) {
            return Fail("the game did not come back to the title", 1);
        }
        return result.Errors.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        return Fail(error.what(), 1);
    }
}

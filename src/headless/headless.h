#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ports/paint_device.h"
#include "shell/command_line.h"

namespace pelmoravan {

// What a headless run is asked: the game's own options, the difficulty it plays (1 to 3), and
// the folder the pictures and tracks are read from.
struct THeadlessOptions {
    TStartOptions Game;
    std::int32_t Difficulty = 1;
    std::string AssetsDir;
};

// What it did: the final score, ticks and frames, and every error the game reported.
struct THeadlessResult {
    std::int32_t Score = 0;
    std::int64_t Ticks = 0;
    std::int64_t TicksWithoutFrame = 0;
    std::int64_t Presented = 0;
    std::int64_t Skipped = 0;
    std::uint32_t GameMilliseconds = 0;
    bool Finished = false;
    std::vector<std::string> Errors;
};

// The surface the game lays itself out for: the page's screen.
inline constexpr std::int32_t kHeadlessWidth = 1024;
inline constexpr std::int32_t kHeadlessHeight = 768;

// Plays a whole difficulty by auto-play on the device, with no sound and a clock moved by hand
// from one tick to the next: the name prompt takes the default name, and the question to go
// on is answered No. presented runs after each frame painted on the device.
THeadlessResult RunHeadless(const THeadlessOptions& options, IPaintDevice& device,
                            const std::function<void()>& presented = {});

} // namespace pelmoravan

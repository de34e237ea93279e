// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ports/paint_device.h"
#include "shell/command_line.h"

namespace pelmoravan {

class TSoftPixels;

// What a headless run is asked: the game's own options, the difficulty it plays (1 to 3), and
// the folder the pictures and tracks are read from.
struct THeadlessOptions {
    TStartOptions Game;
    std::int32_t Difficulty = 1;
    std::string AssetsDir;
};

// What it did: the final score, ticks and frames, every error the game reported, and whether
// the one who watched the frames stopped it.
struct THeadlessResult {
    std::int32_t Score = 0;
    std::int64_t Ticks = 0;
    std::int64_t TicksWithoutFrame = 0;
    std::int64_t Presented = 0;
    std::int64_t Skipped = 0;
    std::uint32_t GameMilliseconds = 0;
    bool Finished = false;
    bool Stopped = false;
    std::vector<std::string> Errors;
};

// The surface the game lays itself out for: the page's screen.
inline constexpr std::int32_t kHeadlessWidth = 1024;
inline constexpr std::int32_t kHeadlessHeight = 768;

// Plays a whole difficulty by auto-play on the device, with no sound and a clock moved by hand
// from one tick to the next: the name prompt takes the default name, and the question to go
// on is answered No. presented runs after each frame painted on the device, outside the game:
// it never throws into it, and the frames and the score are those of a run without it. When
// it answers false, the run stops before the next tick (Stopped) and it is not called again.
THeadlessResult RunHeadless(const THeadlessOptions& options, IPaintDevice& device,
                            const std::function<bool()>& presented = {});

// Keeps the frames of a run as PNG files in a folder: the first and every Nth after it, each
// named by its number in the run (000001.png, then 1 + N, ...), so that --every 1 keeps them
// all under the same names.
class TFrameWriter {
public:
    TFrameWriter(const TSoftPixels& pixels, std::string folder, std::int64_t every = 1);
    // Empty when a file can be written in the folder, else why not: said before the first tick
    // rather than after a whole game.
    std::string CheckFolder() const;
    // The presented hook of RunHeadless: false at the first frame that cannot be written,
    // with Error() telling which and why.
    bool operator()();
    const std::string& Error() const { return FError; }
    std::int64_t Written() const { return FWritten; }

private:
    const TSoftPixels& FPixels;
    std::string FFolder;
    std::int64_t FEvery;
    std::int64_t FNumber = 0;
    std::int64_t FWritten = 0;
    std::string FError;
};

} // namespace pelmoravan

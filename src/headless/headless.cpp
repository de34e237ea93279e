// SPDX-License-Identifier: MIT
#include "headless/headless.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>
#include <utility>

#include "headless/session.h"
#include "headless/soft_pixels.h"
#include "host/game_host.h"

namespace pelmoravan {

namespace {

// A game far longer than any difficulty can last has stopped making progress.
constexpr std::int64_t kMostTicks = 1'000'000;

} // namespace

THeadlessResult RunHeadless(const THeadlessOptions& options, IPaintDevice& device,
                            const std::function<bool()>& presented) {
    THeadlessResult result;
    THeadlessSession session(options, device, result, presented);
    TGameHost& host = session.Host();
    const TMenuItem difficulty = options.Difficulty == 3   ? TMenuItem::Hard1
                                 : options.Difficulty == 2 ? TMenuItem::Normal1
                                                           : TMenuItem::Easy1;
    for (const TMenuItem item : {difficulty, TMenuItem::NewGame1, TMenuItem::Auto1}) {
        host.MenuItem(item, true);
    }
    // Until the game is back on the title: the difficulty played through, or the time run out.
    // A turn asked for and the dialogs come before the clock moves on; no one is there to ask,
    // so each dialog takes the game's default answer (No, the offered name, OK).
    while (!session.Ended() && !result.Stopped && host.Game().GameState != TGameState::Title &&
           result.Ticks < kMostTicks) {
        session.Settle();
        if (!session.Shown().empty()) {
            const TRequest& request = session.Shown().front();
            TAnswer answer;
            answer.Accepted = request.Kind != TRequestKind::YesNo;
            answer.Name = request.Preset;
            session.Answer(answer);
        } else if (!session.Step()) {
            break;
        }
    }
    result.Finished = host.Game().GameState == TGameState::Title && !session.Ended() && !result.Stopped;
    result.Score = host.Game().Score;
    result.Skipped = static_cast<std::int64_t>(host.Draw().Flips()) - result.Presented;
    result.GameMilliseconds = session.Now();
    return result;
}

TFrameWriter::TFrameWriter(const TSoftPixels& pixels, std::string folder, std::int64_t every)
    : FPixels(pixels), FFolder(std::move(folder)), FEvery(std::max<std::int64_t>(every, 1)) {}

std::string TFrameWriter::CheckFolder() const {
    std::string probe = FFolder + "/.frames-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        return "cannot write frames in \"" + FFolder + "\": " + std::strerror(errno);
    }
    // A byte too: a full disk still makes an empty file.
    const char byte = 0;
    const int error = ::write(fd, &byte, 1) == 1 ? 0 : errno;
    ::close(fd);
    ::unlink(probe.c_str());
    if (error != 0) {
        return "cannot write frames in \"" + FFolder + "\": " + std::strerror(error);
    }
    return {};
}

bool TFrameWriter::operator()() {
    const std::int64_t number = ++FNumber;
    if ((number - 1) % FEvery != 0) {
        return true;
    }
    const std::string digits = std::to_string(number);
    const std::string name = FFolder + "/" + std::string(digits.size() < 6 ? 6 - digits.size() : 0, '0') + digits + ".png";
    try {
        FPixels.SavePng(name);
    } catch (const std::exception& error) {
        FError = error.what();
        return false;
    }
    ++FWritten;
    return true;
}

} // namespace pelmoravan

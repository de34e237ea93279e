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

#include "headless/soft_pixels.h"
#include "host/game_host.h"
#include "media/binary_file.h"
#include "media/catalog.h"

namespace pelmoravan {

namespace {

// A game far longer than any difficulty can last has stopped making progress.
constexpr std::int64_t kMostTicks = 1'000'000;

// The millisecond clock the frame timer reads, moved by hand to each wake-up it asks for.
class THandClock final : public IWakeUp {
public:
    std::uint32_t Now() override { return FNow; }
    void Arm(std::uint32_t ms) override {
        FDue = FNow + ms;
        FArmed = true;
    }
    void Disarm() override { FArmed = false; }
    // Moves to the pending wake-up; false when none is pending.
    bool Advance() {
        FNow = FDue;
        return std::exchange(FArmed, false);
    }

private:
    std::uint32_t FNow = 0;
    std::uint32_t FDue = 0;
    bool FArmed = false;
};

class TNoEffects final : public IWaveOutput {
public:
    bool Initialized() const override { return false; }
    void Play(const TWaveCollectionItem&) override {}
};

// Music that never plays: each start still writes its track file, as the game does.
class TNoMusic final : public IMediaPlayer {
public:
    void Close() override {}
    TPlayerMode Mode() const override { return TPlayerMode::Stopped; }
    void SetFileName(const std::string&) override {}
    void Open() override {}
    void Play() override {}
};

// The built-in tracks: "Sound1" is music/SOUND1.mid under the assets.
class TFileTracks final : public ITrackSource {
public:
    explicit TFileTracks(std::string folder) : FFolder(std::move(folder)) {}
    std::vector<std::uint8_t> Track(const std::string& name) override {
        std::string file = name;
        for (char& c : file) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        std::ifstream in(FFolder + "/" + file + ".mid", std::ios::binary);
        if (!in) {
            throw ETrackNotFound(name);
        }
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    std::string FFolder;
};

// The window and the play surface: no one to ask, so each request takes the game's default
// answer (No, the offered name, OK) on the loop's next turn; the house draws its frames on the
// device.
class THeadlessWindow final : public IGameWindow, public IPlaySurface {
public:
    THeadlessWindow(IPaintDevice& device, const std::function<bool()>& presented, THeadlessResult& result)
        : FDevice(device), FPresented(presented), FResult(result) {}

    bool Ended = false;
    bool TurnAsked = false;
    std::deque<TRequest> Shown;

    void ShowRequest(const TRequest& request) override {
        if (request.Error) {
            FResult.Errors.push_back(request.Text);
        }
        Shown.push_back(request);
    }
    void CloseRequest(std::uint32_t id) override {
        std::erase_if(Shown, [id](const TRequest& request) { return request.Id == id; });
    }
    void RequestTurn() override { TurnAsked = true; }
    std::int32_t ScreenWidth() const override { return kHeadlessWidth; }
    void Terminate(int) override { Ended = true; }
    void SyncMenu() override {}
    void ShowCaption(const std::string&) override {}
    void CloseWindow() override { Ended = true; }

    // The default answer to the request shown longest; false when none is shown.
    bool AnswerOne(TGameHost& host) {
        if (Shown.empty()) {
            return false;
        }
        const TRequest request = Shown.front();
        Shown.pop_front();
        TAnswer answer;
        answer.Accepted = request.Kind != TRequestKind::YesNo;
        answer.Name = request.Preset;
        host.Answer(request.Id, answer);
        return true;
    }

    IPaintDevice& Pixels() override { return FDevice; }
    bool CanDraw() const override { return true; }
    void Present(const std::vector<TRect>&) override {
        FResult.Presented += 1;
        // Whatever the watcher does, the game's tick goes on as without it: an error thrown
        // into it would end the tick half-way (the game swallows some) and change the play.
        if (FPresented && !FResult.Stopped) {
            bool goOn = false;
            try {
                goOn = FPresented();
            } catch (const std::exception& error) {
                FResult.Errors.push_back(error.what());
            }
            FResult.Stopped = !goOn;
        }
    }

private:
    IPaintDevice& FDevice;
    std::function<bool()> FPresented;
    THeadlessResult& FResult;
};

void LoadPictures(TPictureCollection& list, const std::vector<TCatalogPicture>& catalog, const std::string& assets) {
    for (const TCatalogPicture& entry : catalog) {
        auto picture = ReadBmp(assets + "/" + entry.Path);
        if (entry.Transparent) {
            picture->Key(entry.Key);
        }
        TPictureCollectionItem& item = list.Add(entry.Name);
        item.Picture = std::move(picture);
        item.Transparent = entry.Transparent;
        item.TransparentColor = entry.Key;
    }
}

} // namespace

THeadlessResult RunHeadless(const THeadlessOptions& options, IPaintDevice& device,
                            const std::function<bool()>& presented) {
    THeadlessResult result;
    THandClock clock;
    TFrameTimer timer(clock);
    TNoEffects effects;
    TNoMusic music;
    TFileTracks tracks(options.AssetsDir + "/music");
    THeadlessWindow window(device, presented, result);
    TGameHost host(TFrontEndParts{window, window, timer, effects, music, tracks, std::make_unique<TSteadyClockSeedSource>()},
                   options.Game);
    // Every tick must show a frame or find it unchanged.
    timer.OnTimer = [&result, &host, tick = timer.OnTimer](std::int32_t lag) {
        const std::uint64_t flips = host.Draw().Flips();
        result.Ticks += 1;
        tick(lag);
        result.TicksWithoutFrame += host.Draw().Flips() == flips ? 1 : 0;
    };
    host.Start([&options](TPictureCollection& tiles, TPictureCollection& screens, TPictureCollection& backs,
                          TWaveCollection&) {
        LoadPictures(tiles, CatalogTilePictures(), options.AssetsDir);
        LoadPictures(screens, CatalogScreenPictures(), options.AssetsDir);
        LoadPictures(backs, CatalogTileBacks(), options.AssetsDir);
    });

    const TMenuItem difficulty = options.Difficulty == 3   ? TMenuItem::Hard1
                                 : options.Difficulty == 2 ? TMenuItem::Normal1
                                                           : TMenuItem::Easy1;
    for (const TMenuItem item : {difficulty, TMenuItem::NewGame1, TMenuItem::Auto1}) {
        host.MenuItem(item, true);
    }
    // Until the game is back on the title: the difficulty played through, or the time run out.
    // A turn asked for and the dialogs come before the clock moves on.
    while (!window.Ended && !result.Stopped && host.Game().GameState != TGameState::Title &&
           result.Ticks < kMostTicks) {
        if (std::exchange(window.TurnAsked, false)) {
            host.Turn();
        } else if (!window.AnswerOne(host)) {
            if (!clock.Advance()) {
                break;
            }
            timer.Wake();
        }
    }
    result.Finished = host.Game().GameState == TGameState::Title && !window.Ended && !result.Stopped;
    result.Score = host.Game().Score;
    result.Skipped = static_cast<std::int64_t>(host.Draw().Flips()) - result.Presented;
    result.GameMilliseconds = clock.Now();
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

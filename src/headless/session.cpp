// SPDX-License-Identifier: MIT
#include "headless/session.h"

#include <cctype>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "headless/soft_pixels.h"
#include "host/game_host.h"
#include "media/binary_file.h"
#include "media/catalog.h"

namespace pelmoravan {

namespace {

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

// The window and the play surface: each request waits in a list until it is answered; the
// house draws its frames on the device.
class THeadlessWindow final : public IGameWindow, public IPlaySurface {
public:
    THeadlessWindow(IPaintDevice& device, const std::function<bool()>& presented, THeadlessResult& result)
        : FDevice(device), FPresented(presented), FResult(result) {}

    std::optional<int> Ended;
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
    void Terminate(int exitCode) override { Ended = exitCode; }
    void SyncMenu() override {}
    void ShowCaption(const std::string&) override {}
    void CloseWindow() override { Ended = 0; }

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

class THeadlessSession::TParts {
public:
    TParts(const THeadlessOptions& options, IPaintDevice& device, THeadlessResult& result,
           const std::function<bool()>& presented)
        : Options(options), Timer(Clock), Tracks(options.AssetsDir + "/music"), Window(device, presented, result),
          Host(TFrontEndParts{Window, Window, Timer, Effects, Music, Tracks, std::make_unique<TSteadyClockSeedSource>()},
               options.Game) {}

    THeadlessOptions Options;
    THandClock Clock;
    TFrameTimer Timer;
    TNoEffects Effects;
    TNoMusic Music;
    TFileTracks Tracks;
    THeadlessWindow Window;
    TGameHost Host;
};

THeadlessSession::THeadlessSession(const THeadlessOptions& options, IPaintDevice& device, THeadlessResult& result,
                                   const std::function<bool()>& presented)
    : FParts(std::make_unique<TParts>(options, device, result, presented)) {
    // Every tick must show a frame or find it unchanged.
    TGameHost& host = FParts->Host;
    FParts->Timer.OnTimer = [&result, &host, tick = FParts->Timer.OnTimer](std::int32_t lag) {
        const std::uint64_t flips = host.Draw().Flips();
        result.Ticks += 1;
        tick(lag);
        result.TicksWithoutFrame += host.Draw().Flips() == flips ? 1 : 0;
    };
    Start();
}

THeadlessSession::~THeadlessSession() = default;

TGameHost& THeadlessSession::Host() { return FParts->Host; }

void THeadlessSession::Start() {
    const std::string assets = FParts->Options.AssetsDir;
    try {
        FParts->Host.Start([&assets](TPictureCollection& tiles, TPictureCollection& screens, TPictureCollection& backs,
                                     TWaveCollection&) {
            LoadPictures(tiles, CatalogTilePictures(), assets);
            LoadPictures(screens, CatalogScreenPictures(), assets);
            LoadPictures(backs, CatalogTileBacks(), assets);
        });
    } catch (const std::exception& error) {
        FParts->Host.ReportStartError(error.what());
    }
}

const std::deque<TRequest>& THeadlessSession::Shown() const { return FParts->Window.Shown; }

bool THeadlessSession::Answer(const TAnswer& answer) {
    std::deque<TRequest>& shown = FParts->Window.Shown;
    if (shown.empty()) {
        return false;
    }
    const std::uint32_t id = shown.front().Id;
    shown.pop_front();
    FParts->Host.Answer(id, answer);
    return true;
}

std::optional<int> THeadlessSession::Ended() const { return FParts->Window.Ended; }

bool THeadlessSession::Step() {
    if (std::exchange(FParts->Window.TurnAsked, false)) {
        FParts->Host.Turn();
        return true;
    }
    if (!FParts->Clock.Advance()) {
        return false;
    }
    FParts->Timer.Wake();
    return true;
}

void THeadlessSession::Settle() {
    while (std::exchange(FParts->Window.TurnAsked, false)) {
        FParts->Host.Turn();
    }
}

std::uint32_t THeadlessSession::Now() const { return FParts->Clock.Now(); }

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
// The desktop half of the browser parity test: deals the board of the game's --seed option on a
// surface of the page's size, runs the given number of frames with the desktop's surface and
// writes the last one as a PNG, with a JSON list of what the frame drew (pictures' rectangles,
// texts' cells) for the comparison.
//   desktop_frame --seed N <surface width> <surface height> <screen width> <frames> <out.png> <out.json>
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <fstream>
#include <string>

#include "game/game.h"
#include "desktop/media/asset_loader.h"
#include "media/canvas_state.h"
#include "desktop/media/qt_surface.h"
#include "shell/apply_language.h"
#include "shell/command_line.h"

namespace pelmoravan {
namespace {

// Passes every call to the desktop's pixels and notes where pictures and texts went.
class TRecordingPixels final : public IPaintDevice {
public:
    explicit TRecordingPixels(TQtPixels& pixels) : S(pixels) {}
    std::string Log;

    std::int32_t Width() const override { return S.Width(); }
    std::int32_t Height() const override { return S.Height(); }
    void FillAll(std::uint32_t value) override {
        S.FillAll(value);
        Log.clear(); // what came before is covered
    }
    void FillRect(const TRect& rect, TColor color) override { S.FillRect(rect, color); }
    void Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) override {
        S.Polyline(points, color, width);
    }
    TTextExtent MeasureText(const std::string& text, std::int32_t points) override {
        return S.MeasureText(text, points);
    }
    void Text(std::int32_t x, std::int32_t y, const std::string& text, const TTextPaint& paint,
              const TTextExtent& extent) override {
        S.Text(x, y, text, paint, extent);
        Log += "{\"text\":\"" + Escaped(text) + "\",\"x\":" + std::to_string(x) + ",\"y\":" +
               std::to_string(y) + ",\"w\":" + std::to_string(extent.Advance) + ",\"h\":" +
               std::to_string(extent.Height) + ",\"color\":" + std::to_string(paint.Color) +
               ",\"brush\":" + (paint.Boxed ? std::to_string(paint.Box) : "null") + "},\n";
    }
    void Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                 std::int32_t pattern) override {
        S.Picture(item, x, y, pattern);
        Note(item, {x, y, x + item.Width(), y + item.Height()});
    }
    void StretchedPicture(const TPictureCollectionItem& item, const TRect& dest,
                          std::int32_t pattern) override {
        S.StretchedPicture(item, dest, pattern);
        Note(item, dest);
    }
    void WaveRows(const TPictureCollectionItem& item, std::int32_t pattern, const TWave& wave,
                  const std::vector<TWaveRow>& rows) override {
        S.WaveRows(item, pattern, wave, rows);
    }
    void Release() override { S.Release(); }

private:
    void Note(const TPictureCollectionItem& item, const TRect& r) {
        Log += "{\"picture\":\"" + Escaped(item.Name) + "\",\"left\":" + std::to_string(r.Left) +
               ",\"top\":" + std::to_string(r.Top) + ",\"right\":" + std::to_string(r.Right) +
               ",\"bottom\":" + std::to_string(r.Bottom) + "},\n";
    }
    static std::string Escaped(const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '"' || c == '\\') {
                out += '\\';
            }
            out += c;
        }
        return out;
    }
    TQtPixels& S;
};

class TFrameDraw final : public IDrawControl {
public:
    explicit TFrameDraw(ISurface& surface) : FSurface(surface) {}
    bool CanDraw() override { return true; }
    void Flip() override {}
    ISurface& Surface() override { return FSurface; }

private:
    ISurface& FSurface;
};

class TNoKeys final : public IKeyboard {
public:
    void Poll() override {}
    bool KeyDown(TKey) const override { return false; }
};

TFlow<> NoFlow() { co_return; }

// The window's answers, but for a display of the page's size; nothing is asked during a deal.
class TFrameHost final : public IGameWindow, public IGameHost {
public:
    TFrameHost(std::int32_t screen, ISurface& surface) : FScreen(screen), FSurface(surface) {}
    void ShowRequest(const TRequest&) override {}
    void CloseRequest(std::uint32_t) override {}
    void RequestTurn() override {}
    std::int32_t ScreenWidth() const override { return FScreen; }
    void Terminate(int) override {}
    void SyncMenu() override {}
    void ShowCaption(const std::string&) override {}
    void CloseWindow() override {}

    TRequestQueue& Requests() override { return FRequests; }
    void Run(TFlow<>) override {}
    TFlow<> UpdateScores(bool, std::int32_t) override { return NoFlow(); }
    void ReportError(const std::string&) override {}

    void PlaySound(const std::string&) override {}
    void PlaySoundAt(std::int32_t) override {}
    void PlayMusic(bool) override {}
    std::int32_t SurfaceWidth() const override { return FSurface.Width(); }
    std::int32_t SurfaceHeight() const override { return FSurface.Height(); }
    void EnableFrameTimer() override {}
    void ApplyLanguage(std::uint8_t) override {}

private:
    std::int32_t FScreen;
    ISurface& FSurface;
    TRequestQueue FRequests{*this};
};

} // namespace
} // namespace pelmoravan

int main(int argc, char** argv) {
    using namespace pelmoravan;
    // The seed as the game's command line reads it.
    const TCommandLine line = argc == 9 ? ParseCommandLine({argv[1], argv[2]}) : TCommandLine{};
    if (!line.Options.Seed) {
        std::fprintf(stderr, "usage: %s --seed N width height screen frames out.png out.json\n", argv[0]);
        return 2;
    }
    int qtArgc = 1; // Qt needs none of the arguments
    QApplication app(qtArgc, argv);
    const int width = std::stoi(argv[3]);
    const int height = std::stoi(argv[4]);
    const int frames = std::stoi(argv[6]);

    TQtPixels pixels(QSize(width, height));
    TRecordingPixels recording(pixels);
    TCanvas surface(recording);
    TFrameDraw draw(surface);
    TNoKeys keys;
    TFrameHost host(std::stoi(argv[5]), surface);
    TCountingSeedSource seeds(*line.Options.Seed);
    TPictureCollection tiles, screens, backs;
    TWaveCollection waves;
    LoadCatalog(tiles, screens, backs, waves);

    TGame game(host, host, seeds);
    game.ImageList = &tiles;
    game.DXImageList1 = &screens;
    game.BackImage = &backs;
    game.DXDraw = &draw;
    game.DXInput = &keys;
    game.DXSpriteEngine.SurfacesInitialized(width, height);
    ApplyLanguageTexts(game, 0);
    game.StartGame(game.Difficulty);
    for (int i = 0; i < frames; ++i) {
        game.DXTimer1Timer(0);
    }
    pixels.Release();
    if (!pixels.Image().save(QString::fromLocal8Bit(argv[7]), "PNG")) {
        std::fprintf(stderr, "desktop_frame: cannot write %s\n", argv[7]);
        return 1;
    }
    std::ofstream json(argv[8]);
    std::string log = recording.Log;
    if (log.size() >= 2) {
        log.erase(log.size() - 2); // the last ",\n"
    }
    json << "[\n" << log << "\n]\n";
    return json.good() ? 0 : 1;
}

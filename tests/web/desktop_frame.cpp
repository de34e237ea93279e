// The desktop half of the browser parity test: deals the board of a fixed seed on a surface of
// the page's size, runs the given number of frames with the desktop's surface and writes the
// last one as a PNG, with a JSON list of what the frame drew (pictures' rectangles, texts' cells)
// for the comparison.
//   desktop_frame <seed> <surface width> <surface height> <screen width> <frames> <out.png> <out.json>
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <fstream>
#include <string>

#include "audio/music.h"
#include "game/game.h"
#include "media/qt/asset_loader.h"
#include "media/qt/qt_surface.h"
#include "shell/apply_language.h"

namespace pelmoravan {
namespace {

// Passes every call to the desktop surface and notes where pictures and texts went.
class TRecordingSurface final : public ISurface, public ICanvas {
public:
    explicit TRecordingSurface(TQtSurface& surface) : S(surface) {}
    std::string Log;

    std::int32_t Width() const override { return S.Width(); }
    std::int32_t Height() const override { return S.Height(); }
    void Fill(std::uint32_t value) override {
        S.Fill(value);
        Log.clear(); // what came before is covered
    }
    ICanvas& Canvas() override { return *this; }
    void Draw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
              std::int32_t pattern) override {
        S.Draw(item, x, y, pattern);
        Note(item, {x, y, x + item.Width(), y + item.Height()});
    }
    void StretchDraw(const TPictureCollectionItem& item, const TRect& dest, std::int32_t pattern) override {
        S.StretchDraw(item, dest, pattern);
        Note(item, dest);
    }
    void WaveDraw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y, std::int32_t w,
                  std::int32_t h, std::int32_t pattern, std::int32_t amplitude, std::int32_t wavelength,
                  std::int32_t phase) override {
        S.WaveDraw(item, x, y, w, h, pattern, amplitude, wavelength, phase);
    }
    void SetBrushColor(TColor color) override {
        S.SetBrushColor(color);
        Solid = true;
        Brush = color;
    }
    void SetBrushStyle(TBrushStyle style) override {
        S.SetBrushStyle(style);
        Solid = style == TBrushStyle::bsSolid;
    }
    void SetPenColor(TColor color) override { S.SetPenColor(color); }
    void SetPenWidth(std::int32_t width) override { S.SetPenWidth(width); }
    void SetFontColor(TColor color) override {
        S.SetFontColor(color);
        Font = color;
    }
    void SetFontSize(std::int32_t points) override { S.SetFontSize(points); }
    void FillRect(const TRect& rect) override { S.FillRect(rect); }
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override {
        S.TextOut(x, y, text);
        Log += "{\"text\":\"" + Escaped(text) + "\",\"x\":" + std::to_string(x) + ",\"y\":" +
               std::to_string(y) + ",\"w\":" + std::to_string(S.TextWidth(text)) + ",\"h\":" +
               std::to_string(S.TextHeight(text)) + ",\"color\":" + std::to_string(Font) +
               ",\"brush\":" + (Solid ? std::to_string(Brush) : "null") + "},\n";
    }
    std::int32_t TextWidth(const std::string& text) override { return S.TextWidth(text); }
    std::int32_t TextHeight(const std::string& text) override { return S.TextHeight(text); }
    void Polyline(const std::vector<TPoint>& points) override { S.Polyline(points); }
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
    TQtSurface& S;
    bool Solid = true;
    TColor Brush = 0;
    TColor Font = 0;
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

// The window's answers, but for a display of the page's size; nothing is asked during a deal.
class TFrameHost final : public IGameHost {
public:
    TFrameHost(std::int32_t screen, ISurface& surface) : FScreen(screen), FSurface(surface) {}
    bool AskYesNo(const std::string&) override { return false; }
    void UpdateScores(bool, std::int32_t) override {}
    void PlaySound(const std::string&) override {}
    void PlaySoundAt(std::int32_t) override {}
    void ProcessOneMessage() override {}
    std::int32_t ScreenWidth() const override { return FScreen; }
    std::int32_t SurfaceWidth() const override { return FSurface.Width(); }
    std::int32_t SurfaceHeight() const override { return FSurface.Height(); }
    void EnableFrameTimer() override {}
    void Terminate() override {}
    void ShowSaveDialog() override {}

private:
    std::int32_t FScreen;
    ISurface& FSurface;
};

// Start-up plays music, which draws a track from the game's generator before the first deal; the
// core's music does the same here so that the deal takes the same seeds as the page's.
class TSilentPlayer final : public IMediaPlayer {
public:
    void Close() override {}
    TPlayerMode Mode() const override { return TPlayerMode::Stopped; }
    void SetFileName(const std::string&) override {}
    void Open() override {}
    void Play() override {}
};

class TAnyTracks final : public ITrackSource {
public:
    std::vector<std::uint8_t> Track(const std::string&) override { return {0x4d, 0x54, 0x68, 0x64}; }
};

} // namespace
} // namespace pelmoravan

int main(int argc, char** argv) {
    using namespace pelmoravan;
    if (argc != 8) {
        std::fprintf(stderr, "usage: %s seed width height screen frames out.png out.json\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const auto seed = static_cast<std::uint32_t>(std::stoul(argv[1]));
    const int width = std::stoi(argv[2]);
    const int height = std::stoi(argv[3]);
    const int frames = std::stoi(argv[5]);

    TQtSurface qtSurface(QSize(width, height));
    TRecordingSurface surface(qtSurface);
    TFrameDraw draw(surface);
    TNoKeys keys;
    TFrameHost host(std::stoi(argv[4]), surface);
    TCountingSeedSource seeds(seed);
    TPictureCollection tiles, screens, backs;
    TWaveCollection waves;
    LoadCatalog(tiles, screens, backs, waves);

    TGame game(host, seeds);
    game.ImageList = &tiles;
    game.DXImageList1 = &screens;
    game.BackImage = &backs;
    game.DXDraw = &draw;
    game.DXInput = &keys;
    game.DXSpriteEngine.SurfacesInitialized(width, height);
    ApplyLanguageTexts(game, 0);
    TSilentPlayer player;
    TAnyTracks tracks;
    const std::string trackFile = std::string(argv[6]) + ".mid";
    TBackgroundMusic(player, tracks, game.Rng, trackFile).PlayMusic(true);
    std::remove(trackFile.c_str());
    game.StartGame(game.Difficulty);
    for (int i = 0; i < frames; ++i) {
        game.DXTimer1Timer(0);
    }
    qtSurface.Release();
    if (!qtSurface.Image().save(QString::fromLocal8Bit(argv[6]), "PNG")) {
        std::fprintf(stderr, "desktop_frame: cannot write %s\n", argv[6]);
        return 1;
    }
    std::ofstream json(argv[7]);
    std::string log = surface.Log;
    if (log.size() >= 2) {
        log.erase(log.size() - 2); // the last ",\n"
    }
    json << "[\n" << log << "\n]\n";
    return json.good() ? 0 : 1;
}

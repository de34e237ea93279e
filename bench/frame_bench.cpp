// One playing frame of a full Hard board (240 tiles, 1920 x 1080). Twice: against a surface that
// only counts the calls, which is the core's own cost per frame, and against a software surface
// that does the pixel work a real one does (fills, nearest-pixel stretched copies with a colour
// key, text boxes, lines), which shows where a frame's time goes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/fakes.h"

namespace pelmoravan {
namespace {

// Pixels as 0xAARRGGBB; a colour key has already been turned into alpha 0 at load time.
class SoftPicture final : public IPictureData {
public:
    SoftPicture(std::int32_t width, std::int32_t height, std::uint32_t seed, bool keyed)
        : W(width), H(height), Pixels(static_cast<std::size_t>(width * height)) {
        for (std::int32_t y = 0; y < H; ++y) {
            for (std::int32_t x = 0; x < W; ++x) {
                const bool edge = x < 3 || y < 3 || x >= W - 3 || y >= H - 3;
                Pixels[static_cast<std::size_t>(y * W + x)] =
                    keyed && edge ? 0u : 0xFF000000u | ((seed * 2654435761u + static_cast<std::uint32_t>(x * 31 + y)) & 0xFFFFFFu);
            }
        }
    }
    std::int32_t Width() const override { return W; }
    std::int32_t Height() const override { return H; }
    std::int32_t W;
    std::int32_t H;
    std::vector<std::uint32_t> Pixels;
};

class SoftCanvas final : public ICanvas {
public:
    SoftCanvas(std::vector<std::uint32_t>& pixels, std::int32_t width, std::int32_t height)
        : Px(pixels), W(width), H(height) {}

    void SetBrushColor(TColor color) override {
        Brush = color;
        BrushSolid = true;
    }
    void SetBrushStyle(TBrushStyle style) override { BrushSolid = style == TBrushStyle::bsSolid; }
    void SetPenColor(TColor color) override { Pen = color; }
    void SetPenWidth(std::int32_t width) override { PenWidth = width; }
    void SetFontColor(TColor color) override { Font = color; }
    void SetFontSize(std::int32_t points) override { FontSize = points; }
    void FillRect(const TRect& r) override {
        if (BrushSolid) {
            Box(r, Brush);
        }
    }
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override {
        const std::int32_t w = TextWidth(text);
        const std::int32_t h = TextHeight(text);
        if (BrushSolid) {
            Box({x, y, x + w, y + h}, Brush);
        }
        // A glyph stand-in per character: a stroke of the font colour.
        for (std::int32_t i = 0; i < w; i += FontSize) {
            Box({x + i + 1, y + 2, x + i + FontSize / 2, y + h - 2}, Font);
        }
    }
    std::int32_t TextWidth(const std::string& text) override {
        return static_cast<std::int32_t>(text.size()) * FontSize * 2 / 3;
    }
    std::int32_t TextHeight(const std::string&) override { return FontSize * 4 / 3; }
    void Polyline(const std::vector<TPoint>& points) override {
        for (std::size_t i = 1; i < points.size(); ++i) {
            const TPoint a = points[i - 1];
            const TPoint b = points[i];
            const std::int32_t steps = std::max(std::abs(b.X - a.X), std::abs(b.Y - a.Y));
            for (std::int32_t s = 0; s <= steps; ++s) {
                const std::int32_t x = steps == 0 ? a.X : a.X + (b.X - a.X) * s / steps;
                const std::int32_t y = steps == 0 ? a.Y : a.Y + (b.Y - a.Y) * s / steps;
                Box({x - PenWidth / 2, y - PenWidth / 2, x + PenWidth - PenWidth / 2,
                     y + PenWidth - PenWidth / 2},
                    Pen);
            }
        }
    }
    void Release() override {}

    void Box(TRect r, TColor color) {
        r.Left = std::max(r.Left, 0);
        r.Top = std::max(r.Top, 0);
        r.Right = std::min(r.Right, W);
        r.Bottom = std::min(r.Bottom, H);
        const std::uint32_t argb = 0xFF000000u | ((color & 0xFFu) << 16) | (color & 0xFF00u) |
                                   ((color >> 16) & 0xFFu);
        for (std::int32_t y = r.Top; y < r.Bottom; ++y) {
            std::fill_n(Px.data() + y * W + r.Left, std::max(0, r.Right - r.Left), argb);
        }
    }

private:
    std::vector<std::uint32_t>& Px;
    std::int32_t W;
    std::int32_t H;
    TColor Brush = 0;
    bool BrushSolid = true;
    TColor Pen = 0;
    std::int32_t PenWidth = 1;
    TColor Font = 0;
    std::int32_t FontSize = 8;
};

class SoftSurface final : public ISurface, public IDrawControl {
public:
    SoftSurface(std::int32_t width = 1920, std::int32_t height = 1080)
        : W(width), H(height), Px(static_cast<std::size_t>(width * height)), Cv(Px, width, height) {}

    std::int32_t Width() const override { return W; }
    std::int32_t Height() const override { return H; }
    void Fill(std::uint32_t value) override { std::fill(Px.begin(), Px.end(), 0xFF000000u | value); }
    ICanvas& Canvas() override { return Cv; }
    void Draw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y, std::int32_t) override {
        StretchDraw(item, {x, y, x + item.Width(), y + item.Height()}, 0);
    }
    void StretchDraw(const TPictureCollectionItem& item, const TRect& dest, std::int32_t) override {
        const auto* pic = static_cast<const SoftPicture*>(item.Picture.get());
        const std::int32_t dw = dest.Right - dest.Left;
        const std::int32_t dh = dest.Bottom - dest.Top;
        if (pic == nullptr || dw <= 0 || dh <= 0) {
            return;
        }
        const std::int32_t stepX = pic->W * 65536 / dw;
        const std::int32_t stepY = pic->H * 65536 / dh;
        const std::int32_t y0 = std::max(dest.Top, 0);
        const std::int32_t y1 = std::min(dest.Bottom, H);
        const std::int32_t x0 = std::max(dest.Left, 0);
        const std::int32_t x1 = std::min(dest.Right, W);
        for (std::int32_t y = y0; y < y1; ++y) {
            const std::uint32_t* src = pic->Pixels.data() + ((y - dest.Top) * stepY >> 16) * pic->W;
            std::uint32_t* dst = Px.data() + y * W;
            for (std::int32_t x = x0; x < x1; ++x) {
                const std::uint32_t p = src[(x - dest.Left) * stepX >> 16];
                if ((p >> 24) != 0) {
                    dst[x] = p;
                }
            }
        }
    }
    void WaveDraw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y, std::int32_t w,
                  std::int32_t h, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        StretchDraw(item, {x, y, x + w, y + h}, 0);
    }

    bool CanDraw() override { return true; }
    void Flip() override { benchmark::DoNotOptimize(Px.data()); }
    ISurface& Surface() override { return *this; }

private:
    std::int32_t W;
    std::int32_t H;
    std::vector<std::uint32_t> Px;
    SoftCanvas Cv;
};

// Every operation costs a counter increment: what is left is the walk over the board.
class CountingCanvas final : public ICanvas {
public:
    void SetBrushColor(TColor) override { ++Calls; }
    void SetBrushStyle(TBrushStyle) override { ++Calls; }
    void SetPenColor(TColor) override { ++Calls; }
    void SetPenWidth(std::int32_t) override { ++Calls; }
    void SetFontColor(TColor) override { ++Calls; }
    void SetFontSize(std::int32_t) override { ++Calls; }
    void FillRect(const TRect&) override { ++Calls; }
    void TextOut(std::int32_t, std::int32_t, const std::string&) override { ++Calls; }
    std::int32_t TextWidth(const std::string& text) override { return static_cast<std::int32_t>(text.size()) * 8; }
    std::int32_t TextHeight(const std::string&) override { return 16; }
    void Polyline(const std::vector<TPoint>&) override { ++Calls; }
    void Release() override { ++Calls; }
    std::int64_t Calls = 0;
};

class CountingSurface final : public ISurface, public IDrawControl {
public:
    std::int32_t Width() const override { return 1920; }
    std::int32_t Height() const override { return 1080; }
    void Fill(std::uint32_t) override { ++Cv.Calls; }
    ICanvas& Canvas() override { return Cv; }
    void Draw(const TPictureCollectionItem&, std::int32_t, std::int32_t, std::int32_t) override { ++Cv.Calls; }
    void StretchDraw(const TPictureCollectionItem&, const TRect&, std::int32_t) override { ++Cv.Calls; }
    void WaveDraw(const TPictureCollectionItem&, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                  std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        ++Cv.Calls;
    }
    bool CanDraw() override { return true; }
    void Flip() override { benchmark::DoNotOptimize(Cv.Calls); }
    ISurface& Surface() override { return *this; }
    CountingCanvas Cv;
};

template <typename Surface>
struct PlayingBoard {
    testing::FakeHost host;
    testing::FakeSeedSource seeds;
    TPictureCollection tiles;
    TPictureCollection backs;
    TPictureCollection screens;
    Surface surface;
    TGame game{host, seeds};

    PlayingBoard() {
        host.Screen = 1920;
        host.Width = 1920;
        host.Height = 1080;
        for (int i = 1; i <= 100; ++i) {
            tiles.Add(std::to_string(i)).Picture = std::make_shared<SoftPicture>(50, 38, i, true);
        }
        for (int i = 1; i <= 10; ++i) {
            backs.Add("back" + std::to_string(i)).Picture = std::make_shared<SoftPicture>(57, 45, 1000 + i, true);
        }
        game.ImageList = &tiles;
        game.BackImage = &backs;
        game.DXImageList1 = &screens;
        game.DXDraw = &surface;
        game.Messages[10] = "Remain Time : ";
        game.Messages[11] = "Remain Hint(F4) : ";
        game.Messages[12] = "Remain Shuffle(F5) : ";
        game.Messages[1] = "No Change";
        game.LevelNames[1] = "First Step";
        game.BonusNames[3] = "Scores Add";
        game.StartGame(3); // Hard: 240 tiles
        game.Selected[0] = game.Board[2][3];
        game.Selected[1] = game.Board[9][7];
        game.BonusKind = 3;
        game.BonusAmount = 350;
    }
};

template <typename Surface>
void PlayingFrame(benchmark::State& state) {
    PlayingBoard<Surface> b;
    for (auto _ : state) {
        b.game.DisplayTicks = 0; // keep the bonus message on screen
        b.game.DrawPlayingScreen();
        b.surface.Canvas().Release();
        b.surface.Flip();
    }
    state.counters["tiles"] = static_cast<double>(b.game.DXSpriteEngine.Root()->Count());
}

void BM_PlayingFrameCore(benchmark::State& state) { PlayingFrame<CountingSurface>(state); }
void BM_PlayingFrameSoftwarePixels(benchmark::State& state) { PlayingFrame<SoftSurface>(state); }

// The black fill alone (8 MB written), for comparison with the whole software frame.
void BM_SoftwareFillOnly(benchmark::State& state) {
    SoftSurface surface;
    for (auto _ : state) {
        surface.Fill(0);
        surface.Flip();
    }
}

BENCHMARK(BM_PlayingFrameCore)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlayingFrameSoftwarePixels)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SoftwareFillOnly)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
} // namespace pelmoravan

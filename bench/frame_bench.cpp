// SPDX-License-Identifier: MIT
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
#include "media/canvas_state.h"
#include "ports/paint_device.h"

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

// The pixel work of a real device on a plain array of pixels.
class SoftSurface final : public IPaintDevice, public IDrawControl {
public:
    SoftSurface(std::int32_t width = 1920, std::int32_t height = 1080)
        : W(width), H(height), Px(static_cast<std::size_t>(width * height)) {}

    std::int32_t Width() const override { return W; }
    std::int32_t Height() const override { return H; }
    void FillAll(std::uint32_t value) override { std::fill(Px.begin(), Px.end(), 0xFF000000u | value); }
    void FillRect(const TRect& r, TColor color) override { Box(r, color); }
    void Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) override {
        for (std::size_t i = 1; i < points.size(); ++i) {
            const TPoint a = points[i - 1];
            const TPoint b = points[i];
            const std::int32_t steps = std::max(std::abs(b.X - a.X), std::abs(b.Y - a.Y));
            for (std::int32_t s = 0; s <= steps; ++s) {
                const std::int32_t x = steps == 0 ? a.X : a.X + (b.X - a.X) * s / steps;
                const std::int32_t y = steps == 0 ? a.Y : a.Y + (b.Y - a.Y) * s / steps;
                Box({x - width / 2, y - width / 2, x + width - width / 2, y + width - width / 2}, color);
            }
        }
    }
    TTextExtent MeasureText(const std::string& text, std::int32_t points) override {
        const auto w = static_cast<std::int32_t>(text.size()) * points * 2 / 3;
        const std::int32_t h = points * 4 / 3;
        return {w, points, h, {0, 0, w, h}};
    }
    void Text(std::int32_t x, std::int32_t y, const std::string&, const TTextPaint& paint,
              const TTextExtent& extent) override {
        const std::int32_t w = extent.Advance;
        const std::int32_t h = extent.Height;
        if (paint.Boxed) {
            Box({x, y, x + w, y + h}, paint.Box);
        }
        // A glyph stand-in per character: a stroke of the font colour.
        for (std::int32_t i = 0; i < w; i += paint.Points) {
            Box({x + i + 1, y + 2, x + i + paint.Points / 2, y + h - 2}, paint.Color);
        }
    }
    void Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y, std::int32_t) override {
        StretchedPicture(item, {x, y, x + item.Width(), y + item.Height()}, 0);
    }
    void StretchedPicture(const TPictureCollectionItem& item, const TRect& dest, std::int32_t) override {
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
    void WaveRows(const TPictureCollectionItem& item, std::int32_t, const TWave& wave,
                  const std::vector<TWaveRow>&) override {
        StretchedPicture(item, {wave.X, wave.Y, wave.X + wave.W, wave.Y + wave.H}, 0);
    }
    void Release() override {}

    bool CanDraw() override { return true; }
    void Flip() override { benchmark::DoNotOptimize(Px.data()); }
    ISurface& Surface() override { return Cv; }

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
    std::int32_t W;
    std::int32_t H;
    std::vector<std::uint32_t> Px;
    TCanvas Cv{*this};
};

// Every call costs a counter increment: what is left is the walk over the board and the canvas.
class CountingSurface final : public IPaintDevice, public IDrawControl {
public:
    std::int32_t Width() const override { return 1920; }
    std::int32_t Height() const override { return 1080; }
    void FillAll(std::uint32_t) override { ++Calls; }
    void FillRect(const TRect&, TColor) override { ++Calls; }
    void Polyline(const std::vector<TPoint>&, TColor, std::int32_t) override { ++Calls; }
    TTextExtent MeasureText(const std::string& text, std::int32_t) override {
        const auto w = static_cast<std::int32_t>(text.size()) * 8;
        return {w, 12, 16, {0, 0, w, 16}};
    }
    void Text(std::int32_t, std::int32_t, const std::string&, const TTextPaint&, const TTextExtent&) override {
        ++Calls;
    }
    void Picture(const TPictureCollectionItem&, std::int32_t, std::int32_t, std::int32_t) override { ++Calls; }
    void StretchedPicture(const TPictureCollectionItem&, const TRect&, std::int32_t) override { ++Calls; }
    void WaveRows(const TPictureCollectionItem&, std::int32_t, const TWave&, const std::vector<TWaveRow>&) override {
        ++Calls;
    }
    void Release() override { ++Calls; }
    bool CanDraw() override { return true; }
    void Flip() override { benchmark::DoNotOptimize(Calls); }
    ISurface& Surface() override { return Cv; }
    std::int64_t Calls = 0;

private:
    TCanvas Cv{*this};
};

template <typename Surface>
struct PlayingBoard {
    testing::FakeHost host;
    testing::FakeSeedSource seeds;
    TPictureCollection tiles;
    TPictureCollection backs;
    TPictureCollection screens;
    Surface surface;
    TGame game{host, host, seeds};

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
        b.surface.Surface().Canvas().Release();
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
        surface.FillAll(0);
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

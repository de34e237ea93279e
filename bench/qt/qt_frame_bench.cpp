// SPDX-License-Identifier: MIT
// The cost of real frames on the Qt surface: one playing frame of a full Hard board (240 tiles on
// 1920 x 1080) drawn by the game into the QImage and flipped, its parts, the waving title frame,
// and the flip's search for what changed.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/fakes.h"
#include "desktop/media/dxdraw.h"
#include "desktop/media/picture_data.h"
#include "media/play_draw.h"

namespace pelmoravan {
namespace {

// A hidden widget takes its new size only when shown; show it without a window.
void SizeSurface(TDXDraw& draw, int width, int height) {
    draw.setAttribute(Qt::WA_DontShowOnScreen);
    draw.resize(width, height);
    draw.show();
}

// A picture on its key colour with a filled shape in the middle, as the catalog's are.
std::shared_ptr<TQtPictureData> ShapePicture(int w, int h, QRgb key, int seed) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(key);
    QPainter painter(&image);
    painter.setBrush(QColor::fromHsv((seed * 37) % 360, 200, 200));
    painter.drawEllipse(QRect(4, 4, w - 8, h - 8));
    painter.end();
    return std::make_shared<TQtPictureData>(image);
}

// The surface painted at once, as the frame's parts are measured one by one: the play surface
// keeps a frame's drawing until its flip.
class TDirectDraw final : public IDrawControl {
public:
    explicit TDirectDraw(TDXDraw& draw) : FCanvas(draw.QtPixels()) {}
    bool CanDraw() override { return true; }
    void Flip() override {}
    ISurface& Surface() override { return FCanvas; }

private:
    TCanvas FCanvas;
};

struct QtPlayingBoard {
    testing::FakeHost host;
    testing::FakeSeedSource seeds;
    TPictureCollection tiles;
    TPictureCollection backs;
    TPictureCollection screens;
    TDXDraw draw;
    TPlayDraw play{draw}; // the house's drawing stack over it
    TDirectDraw direct{draw};
    TGame game{host, host, seeds};

    explicit QtPlayingBoard(int width = 1920, int height = 1080, int difficulty = 3) {
        SizeSurface(draw, width, height);
        host.Screen = width;
        host.Width = width;
        host.Height = height;
        for (int i = 1; i <= 100; ++i) {
            auto& item = tiles.Add(std::to_string(i));
            item.Picture = ShapePicture(50, 38, qRgb(199, 228, 255), i);
            item.TransparentColor = 16770247;
        }
        for (int i = 1; i <= 10; ++i) {
            auto& item = backs.Add("back" + std::to_string(i));
            item.Picture = ShapePicture(57, 45, qRgb(0, 0, 0), 1000 + i);
            item.TransparentColor = 0;
        }
        auto& logo = screens.Add("logo");
        logo.Picture = ShapePicture(400, 300, qRgb(0, 0, 0), 7);
        logo.Transparent = false;
        game.ImageList = &tiles;
        game.BackImage = &backs;
        game.DXImageList1 = &screens;
        game.DXDraw = &play;
        game.Messages[10] = "时间剩余 : ";
        game.Messages[11] = "剩余提示(F4) : ";
        game.Messages[12] = "剩余洗牌(F5) : ";
        game.Messages[13] = " 次";
        game.Messages[1] = "No Change";
        game.LevelNames[1] = "First Step";
        game.BonusNames[3] = "Scores Add";
        game.StartGame(difficulty); // Hard: 240 tiles
        game.Selected[0] = game.Board[2][3];
        game.Selected[1] = game.Board[9][7];
        game.BonusKind = 3;
        game.BonusAmount = 350;
    }
};

// Frames as the game draws them while playing: the clock moves once a second, so every tenth
// frame the bar and its number change (every frame with everyFrame).
void PlayFrames(benchmark::State& state, QtPlayingBoard& b, bool everyFrame = false) {
    std::int32_t elapsed = 0;
    for (auto _ : state) {
        b.game.DisplayTicks = 0; // keep the bonus message on screen
        b.game.ElapsedSeconds = (everyFrame ? elapsed++ : elapsed++ / 10) % 100;
        b.game.DrawPlayingScreen();
        b.play.Flip();
    }
    state.counters["tiles"] = static_cast<double>(b.game.DXSpriteEngine.Root()->Count());
    state.counters["pixels"] = b.draw.SurfaceWidth() * b.draw.SurfaceHeight();
}

void BM_QtPlayingFrame(benchmark::State& state) {
    QtPlayingBoard b;
    PlayFrames(state, b);
}

// Every frame differs from the last: what painting and presenting a frame costs.
void BM_QtPlayingFrameChanging(benchmark::State& state) {
    QtPlayingBoard b;
    PlayFrames(state, b, true);
}

// The window on a 1024 x 768 screen at the start of a game (Easy: 160 tiles), where the
// process's CPU use is measured.
void BM_QtPlayingFrameEasy1024(benchmark::State& state) {
    QtPlayingBoard b(1024, 738, 1);
    PlayFrames(state, b);
}

// The playing frame's parts one by one, to see where its time goes.
void BM_QtFillAfterFrame(benchmark::State& state) {
    QtPlayingBoard b;
    b.game.DXDraw = &b.direct;
    for (auto _ : state) {
        state.PauseTiming();
        b.game.DisplayTicks = 0;
        b.game.DrawPlayingScreen();
        b.direct.Surface().Canvas().Release();
        state.ResumeTiming();
        b.direct.Surface().Fill(0);
    }
}

void BM_QtTileBacks(benchmark::State& state) {
    QtPlayingBoard b;
    b.game.DXDraw = &b.direct;
    for (auto _ : state) {
        b.game.DrawTileBacks();
        b.direct.Surface().Canvas().Release();
    }
}

void BM_QtTilePictures(benchmark::State& state) {
    QtPlayingBoard b;
    b.game.DXDraw = &b.direct;
    for (auto _ : state) {
        b.game.DrawTilePictures();
        b.direct.Surface().Canvas().Release();
    }
}

void BM_QtStatusAndMarks(benchmark::State& state) {
    QtPlayingBoard b;
    b.game.DXDraw = &b.direct;
    for (auto _ : state) {
        b.game.DisplayTicks = 0;
        b.game.DrawStatusBand();
        b.game.DrawSelectionMarks();
        b.direct.Surface().Canvas().Release();
    }
}

// The waving title as the game draws it: the logo at one and a half times its size.
void TitleFrames(benchmark::State& state, QtPlayingBoard& b) {
    b.game.GameState = TGameState::Title;
    for (auto _ : state) {
        b.game.DrawTitleScreen();
    }
}

void BM_QtTitleFrame(benchmark::State& state) {
    QtPlayingBoard b;
    TitleFrames(state, b);
}

void BM_QtTitleFrame1024(benchmark::State& state) {
    QtPlayingBoard b(1024, 738, 1);
    TitleFrames(state, b);
}

// The flip compares what was written since the last one with what the window shows: its cost
// when the whole surface was written and nothing changed, and when everything did.
void BM_FlipUnchanged(benchmark::State& state) {
    TDXDraw draw;
    SizeSurface(draw, 1920, 1080);
    TPlayDraw play{draw};
    for (auto _ : state) {
        state.PauseTiming();
        play.Surface().Fill(1);
        play.Surface().Fill(0);
        state.ResumeTiming();
        play.Flip();
    }
}

void BM_FlipAllChanged(benchmark::State& state) {
    TDXDraw draw;
    SizeSurface(draw, 1920, 1080);
    TPlayDraw play{draw};
    std::uint32_t value = 0;
    for (auto _ : state) {
        state.PauseTiming();
        play.Surface().Fill(value++ & 1);
        state.ResumeTiming();
        play.Flip();
    }
}

BENCHMARK(BM_QtPlayingFrame)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_QtPlayingFrameChanging)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_QtPlayingFrameEasy1024)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_QtFillAfterFrame)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_QtTileBacks)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_QtTilePictures)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_QtStatusAndMarks)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_QtTitleFrame)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_QtTitleFrame1024)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FlipUnchanged)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FlipAllChanged)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
} // namespace pelmoravan

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

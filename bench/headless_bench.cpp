// SPDX-License-Identifier: MIT
// Ticks per second of a whole Easy difficulty played by auto-play through the headless front
// end: on a device that paints nothing (the core alone: rules, frame loop, canvas and frame
// record), and on the software pixels (the core and the painting of every frame).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "headless/headless.h"
#include "headless/soft_pixels.h"

namespace pelmoravan {
namespace {

class TNoPixels final : public IPaintDevice {
public:
    std::int32_t Width() const override { return kHeadlessWidth; }
    std::int32_t Height() const override { return kHeadlessHeight; }
    void FillAll(std::uint32_t) override {}
    void FillRect(const TRect&, TColor) override {}
    void Polyline(const std::vector<TPoint>&, TColor, std::int32_t) override {}
    TTextExtent MeasureText(const std::string& text, std::int32_t points) override {
        const auto height = points * 4 / 3;
        return {static_cast<std::int32_t>(text.size()) * height / 2, height, height, {0, 0, 1, height}};
    }
    void Text(std::int32_t, std::int32_t, const std::string&, const TTextPaint&, const TTextExtent&) override {}
    void Picture(const TPictureCollectionItem&, std::int32_t, std::int32_t, std::int32_t) override {}
    void StretchedPicture(const TPictureCollectionItem&, const TRect&, std::int32_t) override {}
    void WaveRows(const TPictureCollectionItem&, std::int32_t, const TWave&, const std::vector<TWaveRow>&) override {}
    void Release() override {}
};

void PlayEasy(benchmark::State& state, IPaintDevice& device) {
    const auto dir = std::filesystem::temp_directory_path() / "pelmoravan-headless-bench";
    THeadlessOptions options;
    options.Game.Seed = 20261207;
    options.Game.DataDir = dir.string();
    options.AssetsDir = PELMORAVAN_ASSETS_DIR;
    std::int64_t ticks = 0;
    for (auto _ : state) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        const THeadlessResult result = RunHeadless(options, device);
        if (!result.Finished || !result.Errors.empty()) {
            state.SkipWithError("the difficulty was not played through cleanly");
        }
        ticks += result.Ticks;
    }
    std::filesystem::remove_all(dir);
    state.counters["ticks/s"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}

void BM_HeadlessEasy_CoreAlone(benchmark::State& state) {
    TNoPixels device;
    PlayEasy(state, device);
}
BENCHMARK(BM_HeadlessEasy_CoreAlone)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HeadlessEasy_SoftwarePixels(benchmark::State& state) {
    TSoftPixels pixels(kHeadlessWidth, kHeadlessHeight, PELMORAVAN_FONT_FILE);
    PlayEasy(state, pixels);
}
BENCHMARK(BM_HeadlessEasy_SoftwarePixels)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace pelmoravan

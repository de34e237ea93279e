// SPDX-License-Identifier: MIT
// The best-score file and the music track file on disk: the start-up check, recording a score
// (read, insert, write the ten entries) and writing a new track for the player. Each runs in the
// temporary folder, so the figures include the file system.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "audio/music.h"
#include "shell/score_file.h"

namespace pelmoravan {
namespace {

namespace fs = std::filesystem;

std::string BenchPath(const char* name) {
    const fs::path dir = fs::temp_directory_path() / "pelmoravan-bench";
    fs::create_directories(dir);
    return (dir / name).string();
}

void BM_StartUpCheck(benchmark::State& state) {
    const std::string path = BenchPath("check.sco");
    fs::remove(path);
    static_cast<void>(ReadScores(path, true));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadScores(path, true));
    }
    fs::remove(path);
}

void BM_RecordScore(benchmark::State& state) {
    const std::string path = BenchPath("record.sco");
    fs::remove(path);
    static_cast<void>(ReadScores(path, true));
    std::int32_t score = 0;
    for (auto _ : state) {
        // Read, then record: always rank 1, the longest move.
        benchmark::DoNotOptimize(ReadScores(path));
        benchmark::DoNotOptimize(RecordScore(path, ++score, "Bench"));
    }
    fs::remove(path);
}

class IdlePlayer : public IMediaPlayer {
public:
    void Close() override {}
    TPlayerMode Mode() const override { return TPlayerMode::NotReady; }
    void SetFileName(const std::string&) override {}
    void Open() override {}
    void Play() override {}
};

// A track of the size of the largest built-in one.
class BenchTracks : public ITrackSource {
public:
    std::vector<std::uint8_t> Track(const std::string&) override { return std::vector<std::uint8_t>(26561, 0x90); }
};

void BM_NewMusicTrack(benchmark::State& state) {
    const std::string path = BenchPath("back.MID");
    IdlePlayer player;
    BenchTracks tracks;
    TSteadyClockSeedSource seeds;
    TRandom random(&seeds);
    TBackgroundMusic music(player, tracks, random, path);
    for (auto _ : state) {
        music.PlayMusic(true);
    }
    fs::remove(path);
}

BENCHMARK(BM_StartUpCheck)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordScore)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NewMusicTrack)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace pelmoravan

// What the background music costs: each built-in track synthesized on the mixer as the game opens
// it, rendered as fast as SDL's disk driver takes it (into /dev/null). The figure that counts is
// core_percent: the process's CPU time per second of music, in percent of one core, which is the
// share of a core the music takes while it plays in real time.
#include <QByteArray>
#include <SDL.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "audio/qt/qt_track_source.h"
#include "audio/rmid.h"
#include "audio/sdl/sdl_audio.h"

namespace pelmoravan {
namespace {

std::atomic<long long> MixedBytes{0};

void CountMixed(void*, Uint8*, int length) { MixedBytes += length; }

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_MusicSynthesis(benchmark::State& state) {
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", "/dev/null");
    qputenv("SDL_DISKAUDIODELAY", "0");
    const std::string name = "SOUND" + std::to_string(state.range(0));
    std::vector<std::uint8_t> track = UnwrapRmid(TQtTrackSource().Track(name));
    TSdlAudio audio(stderr);
    if (!audio.MusicAvailable()) {
        state.SkipWithError("no sound device or soundfont");
        return;
    }
    Mix_Music* music = Mix_LoadMUS_RW(SDL_RWFromConstMem(track.data(), static_cast<int>(track.size())), 1);
    if (music == nullptr) {
        state.SkipWithError(Mix_GetError());
        return;
    }
    int rate = 0;
    int channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    const double bytesPerSecond = rate * channels * SDL_AUDIO_BITSIZE(format) / 8.0;
    Mix_SetPostMix(&CountMixed, nullptr);
    Mix_PlayMusic(music, -1);
    double cpu = 0;
    double played = 0;
    for (auto _ : state) {
        const long long bytes0 = MixedBytes.load();
        const double cpu0 = ProcessCpuSeconds();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const double seconds = static_cast<double>(MixedBytes.load() - bytes0) / bytesPerSecond;
        cpu += ProcessCpuSeconds() - cpu0;
        played += seconds;
        state.SetIterationTime(seconds);
    }
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    state.counters["rate"] = rate;
    state.counters["core_percent"] = played > 0 ? 100.0 * cpu / played : 0.0;
}

BENCHMARK(BM_MusicSynthesis)->DenseRange(1, 5)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pelmoravan

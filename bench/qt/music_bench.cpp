// SPDX-License-Identifier: MIT
// What the background music costs: each built-in track rendered by the game's synthesizer as
// the mixer's music hook renders it (blocks of 8192 frames at the mixing rate), from its start to
// its end, with no device in the way. Counters:
//   core_percent  CPU time per second of music, in percent of one core: the share of a core the
//                 synthesis takes while the music plays in real time
//   peak_voices   the most voices sounding at once (looked at every 256 frames; in mode 0
//                 only at the end of each block)
// Arguments: the track (1-4) and the mode: 0 the game's synthesizer; 1 the same uncapped (256
// voices, the synthesizer's default); 2 uncapped with every note's release cut short, so that
// peak_voices counts only the voices of notes held down, which is what the cap must keep.
#include <benchmark/benchmark.h>
#include <fluidsynth.h>

#include <ctime>
#include <string>
#include <vector>

#include "desktop/audio/qt_track_source.h"
#include "audio/rmid.h"
#include "desktop/audio/music_synth.h"
#include "desktop/audio/sdl_audio.h"

namespace pelmoravan {
namespace {

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_MusicSynthesis(benchmark::State& state) {
    const std::string name = "SOUND" + std::to_string(state.range(0));
    const auto mode = state.range(1);
    const std::vector<std::uint8_t> track = UnwrapRmid(TQtTrackSource().Track(name));
    constexpr int Block = 8192;
    constexpr int Step = 256; // voices are counted this often
    std::vector<std::int16_t> out(static_cast<std::size_t>(Block) * 2);
    double cpu = 0;
    double played = 0;
    int peak = 0;
    for (auto _ : state) {
        TMusicSynth synth(TSdlAudio::MixRate, TSdlAudio::SoundFontPaths(), mode == 0 ? TMusicSynth::Polyphony : 256);
        if (!synth.Available()) {
            state.SkipWithError("no soundfont");
            return;
        }
        fluid_player_t* player = new_fluid_player(synth.Synth());
        fluid_player_add_mem(player, track.data(), track.size());
        fluid_player_play(player);
        if (mode == 2) {
            for (int channel = 0; channel < 16; ++channel) {
                fluid_synth_set_gen(synth.Synth(), channel, GEN_VOLENVRELEASE, -12000.0F);
            }
        }
        long frames = 0;
        const double cpu0 = ProcessCpuSeconds();
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) {
            if (mode == 0) {
                synth.Render(out.data(), Block);
                frames += Block;
            } else {
                synth.Render(out.data(), Step);
                frames += Step;
            }
            peak = std::max(peak, fluid_synth_get_active_voice_count(synth.Synth()));
        }
        cpu += ProcessCpuSeconds() - cpu0;
        played += static_cast<double>(frames) / TSdlAudio::MixRate;
        state.SetIterationTime(static_cast<double>(frames) / TSdlAudio::MixRate);
        delete_fluid_player(player);
    }
    state.counters["core_percent"] = played > 0 ? 100.0 * cpu / played : 0.0;
    state.counters["peak_voices"] = peak;
    state.counters["seconds"] = played / static_cast<double>(state.iterations());
}

BENCHMARK(BM_MusicSynthesis)
    ->ArgsProduct({{1, 2, 3, 4}, {0, 1, 2}})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
} // namespace pelmoravan

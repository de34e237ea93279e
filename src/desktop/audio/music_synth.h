// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace pelmoravan {

// The MIDI synthesizer behind the music, driven directly: one for the whole run, its soundfonts
// loaded once. Made cheap to run: no reverb and no chorus, a voice cap that the built-in tracks
// never reach, and samples read only for the instruments a track asks for.
class TMusicSynth {
public:
    // Voices sounding at once. With every release cut short, the built-in tracks sound at most
    // 62 voices for the notes they hold down ("SOUND3"; "SOUND1" 39, "SOUND2" 32, "SOUND4" 18:
    // the default soundfont gives many notes two voices), so 64 keeps every held note. Above
    // that only the fading tails of notes already let go pile up, to 130 voices, costing a
    // third more CPU; the synthesizer steals those first (bench/qt/music_bench.cpp shows the peaks).
    static constexpr int Polyphony = 64;
    // The loudness the mixer's own MIDI player gave the music at full music volume.
    static constexpr float Gain = 1.2F;

    // Loads every soundfont of the list (':' between paths) that exists, later ones taking
    // precedence; Available() says whether any did. Given programs, each soundfont is loaded
    // with only their presets and the percussion kits (see TSoundFontView), or whole when it
    // cannot be read so.
    TMusicSynth(int rate, const std::string& soundFonts, int polyphony = Polyphony,
                std::optional<std::set<int>> programs = std::nullopt);
    ~TMusicSynth();
    TMusicSynth(const TMusicSynth&) = delete;
    TMusicSynth& operator=(const TMusicSynth&) = delete;

    bool Available() const { return FLoaded > 0; }
    fluid_synth_t* Synth() const { return FSynth; }
    // Makes sure that the programs can be played: loads the whole soundfonts when they were
    // loaded without the presets of one of them.
    void Cover(const std::set<int>& programs);
    // Silences every note and puts the channels back as a fresh synthesizer has them.
    void Reset();
    // Renders frames of 16-bit interleaved stereo.
    void Render(std::int16_t* stereo, int frames);

private:
    fluid_settings_t* FSettings = nullptr;
    fluid_synth_t* FSynth = nullptr;
    int FLoaded = 0;
    std::optional<std::set<int>> FPrograms; // what the soundfonts were cut to, if they were
    std::vector<std::string> FCut;          // the soundfonts loaded cut
};

} // namespace pelmoravan

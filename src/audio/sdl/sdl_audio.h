#pragma once
#include <cstdio>
#include <string>

namespace pelmoravan {

// The sound device for the whole run: SDL's audio subsystem (nothing else of SDL) and the
// mixer. Without a usable device, or without a soundfont for MIDI, the game still runs: one
// line on standard error says so and the missing part stays silent.
class TSdlAudio {
public:
    static constexpr const char* DefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    // The mixing rate: the effects' own, and the MIDI synthesizer's work grows with it.
    static constexpr int MixRate = 22050;

    explicit TSdlAudio(std::FILE* log = stderr);
    ~TSdlAudio();
    TSdlAudio(const TSdlAudio&) = delete;
    TSdlAudio& operator=(const TSdlAudio&) = delete;

    bool Initialized() const { return FOpen; }
    bool MusicAvailable() const { return FOpen && FSoundFont; }

    // The soundfont list the mixer gets: SDL_SOUNDFONTS when set, else the default above.
    static std::string SoundFontPaths();

private:
    bool FSubsystem = false;
    bool FOpen = false;
    bool FSoundFont = false;
};

} // namespace pelmoravan

#include "audio/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace pelmoravan {
namespace {

constexpr int MixRate = 44100;
constexpr int MixChannels = 2;
constexpr int MixChunk = 1024; // about 23 ms: effects start promptly

// Mix_Init and Mix_Quit are not counted by the mixer; two devices alive at once (tests) share.
int MixerUsers = 0;

bool AnySoundFontExists(const std::string& paths) {
    std::stringstream list(paths);
    std::string path;
    while (std::getline(list, path, ':')) {
        std::error_code error;
        if (!path.empty() && std::filesystem::is_regular_file(path, error)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string TSdlAudio::SoundFontPaths() {
    const char* env = std::getenv("SDL_SOUNDFONTS");
    return env != nullptr && *env != '\0' ? std::string(env) : std::string(DefaultSoundFont);
}

TSdlAudio::TSdlAudio(std::FILE* log) {
    // SDL would otherwise install its own SIGINT/SIGTERM handlers and swallow Ctrl+C.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(log, "pelmoravan: no usable sound device (%s); playing without sound\n", SDL_GetError());
        return;
    }
    FSubsystem = true;
    if (MixerUsers++ == 0) {
        Mix_Init(MIX_INIT_MID);
    }
    if (Mix_OpenAudio(MixRate, AUDIO_S16SYS, MixChannels, MixChunk) != 0) {
        std::fprintf(log, "pelmoravan: no usable sound device (%s); playing without sound\n", Mix_GetError());
        return;
    }
    FOpen = true;

    const std::string fonts = SoundFontPaths();
    Mix_SetSoundFonts(fonts.c_str());
    FSoundFont = AnySoundFontExists(fonts);
    if (!FSoundFont) {
        std::fprintf(log, "pelmoravan: no MIDI soundfont at %s (package timgm6mb-soundfont); "
                          "playing without music\n", fonts.c_str());
    }
}

TSdlAudio::~TSdlAudio() {
    if (FOpen) {
        Mix_CloseAudio();
    }
    if (FSubsystem) {
        if (--MixerUsers == 0) {
            Mix_Quit();
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

} // namespace pelmoravan

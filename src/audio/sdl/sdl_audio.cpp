#include "audio/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace pelmoravan {
namespace {

constexpr int MixChannels = 2;
constexpr int MixChunk = 1024; // about 46 ms at the mixing rate: effects still start promptly

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

// The sound libraries under SDL write their own complaints straight to standard error while a
// device is being looked for (several lines from ALSA on a machine without a card). The game
// says in one line of its own what it means for the player, so theirs go nowhere meanwhile.
class TQuietStderr {
public:
    TQuietStderr() {
        std::fflush(stderr);
        FSaved = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (FSaved >= 0 && null >= 0) {
            dup2(null, STDERR_FILENO);
        }
        if (null >= 0) {
            close(null);
        }
    }
    ~TQuietStderr() {
        std::fflush(stderr);
        if (FSaved >= 0) {
            dup2(FSaved, STDERR_FILENO);
            close(FSaved);
        }
    }
    TQuietStderr(const TQuietStderr&) = delete;
    TQuietStderr& operator=(const TQuietStderr&) = delete;

private:
    int FSaved = -1;
};

} // namespace

std::string TSdlAudio::SoundFontPaths() {
    const char* env = std::getenv("SDL_SOUNDFONTS");
    return env != nullptr && *env != '\0' ? std::string(env) : std::string(DefaultSoundFont);
}

TSdlAudio::TSdlAudio(std::FILE* log) {
    // SDL would otherwise install its own SIGINT/SIGTERM handlers and swallow Ctrl+C.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::string failure;
    {
        TQuietStderr quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            failure = SDL_GetError();
        } else {
            FSubsystem = true;
            if (MixerUsers++ == 0) {
                Mix_Init(MIX_INIT_MID);
            }
            // The rate stays ours even when the device would rather have another: SDL converts,
            // which costs far less than synthesizing the music at the device's rate.
            if (Mix_OpenAudioDevice(MixRate, AUDIO_S16SYS, MixChannels, MixChunk, nullptr,
                                    SDL_AUDIO_ALLOW_CHANNELS_CHANGE) != 0) {
                failure = Mix_GetError();
            } else {
                FOpen = true;
            }
        }
    }
    if (!FOpen) {
        std::fprintf(log, "pelmoravan: no usable sound device (%s); playing without sound\n", failure.c_str());
        return;
    }

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

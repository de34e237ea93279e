// SPDX-License-Identifier: MIT
#include "desktop/audio/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "desktop/audio/music_synth.h"

namespace pelmoravan {
namespace {

constexpr int MixChannels = 2;
constexpr int MixChunk = 1024; // about 46 ms at the mixing rate: effects still start promptly

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

TSdlAudio::TSdlAudio(std::FILE* log, bool startNow, std::optional<std::set<int>> programs)
    : FLog(log), FPrograms(std::move(programs)) {
    if (startNow) {
        Start();
    }
}

void TSdlAudio::Start() { Launch(); }

void TSdlAudio::Launch() const {
    std::lock_guard<std::mutex> lock(FLock);
    if (!FLaunched) {
        FLaunched = true;
        auto* self = const_cast<TSdlAudio*>(this); // the start-up thread fills in what it found
        FStarter = std::thread([self] { self->StartUp(); });
    }
}

void TSdlAudio::StartUp() {
    std::FILE* log = FLog;
    // SDL would otherwise install its own SIGINT/SIGTERM handlers and swallow Ctrl+C.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::string failure;
    {
        TQuietStderr quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            failure = SDL_GetError();
        } else {
            FSubsystem = true;
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
    } else {
        const std::string fonts = SoundFontPaths();
        auto synth = std::make_unique<TMusicSynth>(MixRate, fonts, TMusicSynth::Polyphony, FPrograms);
        if (synth->Available()) {
            FSynth = std::move(synth);
        } else {
            std::fprintf(log, "pelmoravan: no MIDI soundfont at %s (package timgm6mb-soundfont); "
                              "playing without music\n", fonts.c_str());
        }
    }
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStarted = true;
    }
    FStartedSignal.notify_all();
    // What was queued meanwhile runs here; what a step queues runs in the next round.
    for (;;) {
        std::vector<std::function<void()>> then;
        {
            std::lock_guard<std::mutex> lock(FLock);
            if (FWhenStarted.empty()) {
                FOver = true;
                break;
            }
            then.swap(FWhenStarted);
        }
        for (auto& step : then) {
            step();
        }
    }
    FStartedSignal.notify_all();
    SDL_TLSCleanup(); // SDL keeps per-thread error texts; this thread is not one of its own
}

void TSdlAudio::WaitStartUpOver() const {
    Launch();
    std::unique_lock<std::mutex> lock(FLock);
    FStartedSignal.wait(lock, [this] { return FOver; });
}

void TSdlAudio::WaitStarted() const {
    Launch();
    std::unique_lock<std::mutex> lock(FLock);
    FStartedSignal.wait(lock, [this] { return FStarted; });
}

bool TSdlAudio::Initialized() const {
    WaitStarted();
    return FOpen;
}

bool TSdlAudio::MusicAvailable() const {
    WaitStarted();
    return FSynth != nullptr;
}

TMusicSynth* TSdlAudio::Synth() const {
    WaitStarted();
    return FSynth.get();
}

void TSdlAudio::WhenStarted(std::function<void()> then) {
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (!FOver) {
            FWhenStarted.push_back(std::move(then));
            return;
        }
    }
    then();
}

TSdlAudio::~TSdlAudio() {
    if (FStarter.joinable()) {
        FStarter.join();
    }
    if (FOpen) {
        Mix_CloseAudio();
    }
    FSynth.reset();
    if (FSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#pragma once
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace pelmoravan {

class TMusicSynth;

// The sound device for the whole run: SDL's audio subsystem (nothing else of SDL), the mixer and
// the music's synthesizer. They start on a thread of their own, so that the window shows without
// waiting for the sound server or the soundfont: at once, or when Start is called (the window
// calls it once its first frame is out). Whatever needs them starts them if need be and waits
// until they are up.
// Without a usable device, or without a soundfont for MIDI, the game still runs: one line on
// standard error says so and the missing part stays silent.
class TSdlAudio {
public:
    static constexpr const char* DefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    // The mixing rate: the effects' own, and the MIDI synthesizer's work grows with it.
    static constexpr int MixRate = 22050;

    // Given programs, the synthesizer loads only what they need (see TMusicSynth).
    explicit TSdlAudio(std::FILE* log = stderr, bool startNow = true,
                       std::optional<std::set<int>> programs = std::nullopt);
    ~TSdlAudio();
    TSdlAudio(const TSdlAudio&) = delete;
    TSdlAudio& operator=(const TSdlAudio&) = delete;

    // Starts the start-up thread; once is enough, later calls change nothing.
    void Start();

    // Both wait for the start-up to finish.
    bool Initialized() const;
    bool MusicAvailable() const;
    // The synthesizer once started; null without music. Waits for the start-up.
    TMusicSynth* Synth() const;

    // Runs `then` once the device and synthesizer are up (or known to be missing): at once on
    // the caller's thread when everything queued so far has run, else on the start-up thread.
    void WhenStarted(std::function<void()> then);
    // Waits until the start-up thread has run everything queued for it.
    void WaitStartUpOver() const;

    // The soundfont list: SDL_SOUNDFONTS when set, else the default above.
    static std::string SoundFontPaths();

private:
    // The start-up may be launched from a const accessor that needs the device.
    void Launch() const;
    void StartUp();
    void WaitStarted() const;

    std::FILE* FLog;
    std::optional<std::set<int>> FPrograms;
    bool FSubsystem = false;
    bool FOpen = false;
    std::unique_ptr<TMusicSynth> FSynth;

    mutable std::mutex FLock;
    mutable bool FLaunched = false;
    mutable std::condition_variable FStartedSignal;
    bool FStarted = false; // the device and synthesizer are decided
    bool FOver = false;    // and what was queued for then has run
    std::vector<std::function<void()>> FWhenStarted;
    mutable std::thread FStarter;
};

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#include "desktop/audio/sdl_music_player.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "audio/midi_programs.h"
#include "audio/rmid.h"
#include "desktop/audio/music_synth.h"
#include "desktop/audio/sdl_audio.h"

namespace pelmoravan {

TSdlMusicPlayer::TSdlMusicPlayer(TSdlAudio& audio, std::FILE* log) : FAudio(audio), FLog(log) {
    // The hook stays for the player's life: it is never set while our lock is held, since the
    // mixer holds its own lock around the hook, which takes ours.
    FAudio.WhenStarted([this] {
        if (FAudio.Initialized()) {
            Mix_HookMusic(&TSdlMusicPlayer::Mix, this);
        }
    });
}

TSdlMusicPlayer::~TSdlMusicPlayer() {
    FAudio.WaitStartUpOver(); // nothing queued on the start-up thread can reach us after this
    Close();
    if (FAudio.Initialized()) {
        // Waits for a hook that is running on the audio thread, so none can see us after this.
        Mix_HookMusic(nullptr, nullptr);
    }
}

void TSdlMusicPlayer::Complain(const std::string& why) {
    if (!FComplained) {
        FComplained = true;
        std::fprintf(FLog, "pelmoravan: cannot play the music (%s); playing without music\n", why.c_str());
    }
}

void TSdlMusicPlayer::Close() {
    std::lock_guard<std::mutex> lock(FLock);
    FGeneration += 1;
    FWanted = false;
    StopLocked();
    FData.clear();
    FOpen = false;
}

TPlayerMode TSdlMusicPlayer::Mode() const {
    if (!FOpen) {
        return TPlayerMode::NotReady;
    }
    std::lock_guard<std::mutex> lock(FLock);
    return FWanted ? TPlayerMode::Playing : TPlayerMode::Stopped;
}

void TSdlMusicPlayer::SetFileName(const std::string& path) { FFileName = path; }

void TSdlMusicPlayer::Open() {
    Close();
    FOpen = true;
    std::ifstream in(FFileName, std::ios::binary);
    std::lock_guard<std::mutex> lock(FLock);
    if (!in) {
        Complain("\"" + FFileName + "\" cannot be read");
        return;
    }
    FData = UnwrapRmid(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

void TSdlMusicPlayer::Play() {
    std::uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (FData.empty()) {
            return;
        }
        generation = ++FGeneration;
        FWanted = true;
    }
    // Starts now when the sound is up, or on the start-up thread the moment it is.
    FAudio.WhenStarted([this, generation] {
        std::lock_guard<std::mutex> lock(FLock);
        if (generation == FGeneration && FWanted) {
            StartLocked();
        }
    });
}

void TSdlMusicPlayer::StartLocked() {
    FSynth = FAudio.Synth();
    if (FSynth == nullptr) {
        FWanted = false; // the device layer has said why already; no end will be told
        return;
    }
    FSynth->Cover(ProgramChanges(FData));
    FPlayer = new_fluid_player(FSynth->Synth());
    if (FPlayer == nullptr || fluid_player_add_mem(FPlayer, FData.data(), FData.size()) != FLUID_OK ||
        fluid_player_play(FPlayer) != FLUID_OK) {
        Complain("the track is not a MIDI file the synthesizer reads");
        StopLocked();
        FWanted = false;
        return;
    }
    FBlock.clear();
    FBlockAt = 0;
    FRenderDone = false;
}

void TSdlMusicPlayer::StopLocked() {
    if (FPlayer == nullptr) {
        return;
    }
    fluid_player_stop(FPlayer);
    delete_fluid_player(FPlayer);
    FPlayer = nullptr;
    FSynth->Reset(); // no note of this track rings on into the next
    FBlock.clear();
    FBlockAt = 0;
}

void TSdlMusicPlayer::Mix(void* self, std::uint8_t* stream, int length) {
    auto* player = static_cast<TSdlMusicPlayer*>(self);
    std::lock_guard<std::mutex> lock(player->FLock);
    player->MixLocked(reinterpret_cast<std::int16_t*>(stream), length / 4);
}

void TSdlMusicPlayer::MixLocked(std::int16_t* out, int frames) {
    while (frames > 0 && FPlayer != nullptr) {
        if (FBlockAt >= FBlock.size()) {
            if (FRenderDone || fluid_player_get_status(FPlayer) != FLUID_PLAYER_PLAYING) {
                // The track is over and its last block has played: the end of this play request.
                StopLocked();
                FWanted = false;
                const std::uint64_t generation = FGeneration;
                if (Post) {
                    Post([this, generation] { Deliver(generation); });
                }
                return;
            }
            FBlock.resize(static_cast<std::size_t>(BlockFrames) * 2);
            FSynth->Render(FBlock.data(), BlockFrames);
            FBlockAt = 0;
            FRenderDone = fluid_player_get_status(FPlayer) != FLUID_PLAYER_PLAYING;
        }
        const std::size_t take = std::min(FBlock.size() - FBlockAt, static_cast<std::size_t>(frames) * 2);
        std::memcpy(out, FBlock.data() + FBlockAt, take * sizeof(std::int16_t));
        FBlockAt += take;
        out += take;
        frames -= static_cast<int>(take / 2);
    }
}

void TSdlMusicPlayer::Deliver(std::uint64_t generation) {
    bool current = false;
    {
        std::lock_guard<std::mutex> lock(FLock);
        current = generation == FGeneration && FOpen;
    }
    if (current && OnNotify) {
        OnNotify();
    }
}

} // namespace pelmoravan

#include "audio/sdl/sdl_music_player.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fstream>
#include <iterator>

#include "audio/rmid.h"
#include "audio/sdl/sdl_audio.h"

namespace pelmoravan {

std::atomic<TSdlMusicPlayer*> TSdlMusicPlayer::Current{nullptr};

TSdlMusicPlayer::TSdlMusicPlayer(const TSdlAudio& audio, std::FILE* log, QObject* parent)
    : QObject(parent), FAudio(audio), FLog(log) {
    if (FAudio.Initialized()) {
        Current = this;
        Mix_HookMusicFinished(&TSdlMusicPlayer::MusicFinished);
    }
}

TSdlMusicPlayer::~TSdlMusicPlayer() {
    Close();
    if (FAudio.Initialized()) {
        // Waits for a hook that is running on the audio thread, so none can see us after this.
        Mix_HookMusicFinished(nullptr);
        TSdlMusicPlayer* self = this;
        Current.compare_exchange_strong(self, nullptr);
    }
}

void TSdlMusicPlayer::MusicFinished() {
    TSdlMusicPlayer* player = Current.load();
    if (player == nullptr || player->FHalting.load()) {
        return; // our own stop, not the end of a track
    }
    const std::uint64_t generation = player->FGeneration.load();
    QMetaObject::invokeMethod(
        player, [player, generation] { player->Deliver(generation); }, Qt::QueuedConnection);
}

void TSdlMusicPlayer::Deliver(std::uint64_t generation) {
    if (generation == FGeneration.load() && FOpen) {
        emit Notify();
    }
}

void TSdlMusicPlayer::Complain(const std::string& why) {
    if (!FComplained) {
        FComplained = true;
        std::fprintf(FLog, "pelmoravan: cannot play the music (%s); playing without music\n", why.c_str());
    }
}

void TSdlMusicPlayer::Close() {
    FGeneration += 1;
    if (FMusic != nullptr) {
        FHalting = true;
        Mix_HaltMusic();
        FHalting = false;
        Mix_FreeMusic(FMusic);
        FMusic = nullptr;
    }
    FData.clear();
    FOpen = false;
}

TPlayerMode TSdlMusicPlayer::Mode() const {
    if (!FOpen) {
        return TPlayerMode::NotReady;
    }
    return FMusic != nullptr && Mix_PlayingMusic() != 0 ? TPlayerMode::Playing : TPlayerMode::Stopped;
}

void TSdlMusicPlayer::SetFileName(const std::string& path) { FFileName = path; }

void TSdlMusicPlayer::Open() {
    Close();
    FOpen = true;
    if (!FAudio.MusicAvailable()) {
        return; // the device layer has said why already
    }
    std::ifstream in(FFileName, std::ios::binary);
    if (!in) {
        Complain("\"" + FFileName + "\" cannot be read");
        return;
    }
    FData = UnwrapRmid(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    SDL_RWops* bytes = SDL_RWFromConstMem(FData.data(), static_cast<int>(FData.size()));
    FMusic = Mix_LoadMUS_RW(bytes, 1);
    if (FMusic == nullptr) {
        Complain(Mix_GetError());
    }
}

void TSdlMusicPlayer::Play() {
    if (FMusic == nullptr) {
        return;
    }
    FGeneration += 1;
    if (Mix_PlayMusic(FMusic, 0) != 0) {
        Complain(Mix_GetError());
    }
}

} // namespace pelmoravan

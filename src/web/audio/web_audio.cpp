// SPDX-License-Identifier: MIT
#include "web/audio/web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/collection.h"

namespace pelmoravan {

namespace {

TWebMusicPlayer* gPlayer = nullptr; // the page has one music player

EM_JS(void, js_play_wave, (int id), { Pel.audio.playWave(id); });
EM_JS(void, js_music_play, (const char* name), { Pel.audio.playMusic(UTF8ToString(name)); });
EM_JS(void, js_music_stop, (), { Pel.audio.stopMusic(); });

constexpr const char* kTrackFolder = "/music";

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

void TWebWaveOutput::Play(const TWaveCollectionItem& wave) {
    if (const auto* data = dynamic_cast<const TWebWaveData*>(wave.Wave.get())) {
        js_play_wave(data->Id);
    }
}

std::vector<std::uint8_t> TWebTrackSource::Track(const std::string& name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kTrackFolder, error)) {
        if (LowerAscii(entry.path().stem().string()) == LowerAscii(name)) {
            return ReadAll(entry.path());
        }
    }
    throw ETrackNotFound(name);
}

std::string TWebTrackSource::TrackNamed(const std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kTrackFolder, error)) {
        if (ReadAll(entry.path()) == bytes) {
            return entry.path().stem().string();
        }
    }
    return {};
}

TWebMusicPlayer::TWebMusicPlayer() { gPlayer = this; }

TWebMusicPlayer::~TWebMusicPlayer() {
    Close();
    gPlayer = nullptr;
}

void TWebMusicPlayer::Close() {
    if (FPlaying) {
        js_music_stop();
    }
    FPlaying = false;
    FOpen = false;
    FTrack.clear();
}

TPlayerMode TWebMusicPlayer::Mode() const {
    if (!FOpen) {
        return TPlayerMode::NotReady;
    }
    return FPlaying ? TPlayerMode::Playing : TPlayerMode::Stopped;
}

void TWebMusicPlayer::Open() {
    Close();
    FOpen = true;
    FTrack = TWebTrackSource::TrackNamed(ReadAll(FFileName));
}

void TWebMusicPlayer::Play() {
    if (!FOpen || FTrack.empty()) {
        return;
    }
    FPlaying = true;
    js_music_play(FTrack.c_str());
}

void TWebMusicPlayer::Ended() {
    if (!FPlaying) {
        return;
    }
    FPlaying = false;
    if (OnNotify) {
        OnNotify();
    }
}

} // namespace pelmoravan

extern "C" void pel_music_ended() {
    if (pelmoravan::gPlayer != nullptr) {
        pelmoravan::gPlayer->Ended();
    }
}

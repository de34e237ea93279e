// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/music.h"
#include "audio/sound_effects.h"

namespace pelmoravan {

// A wave decoded by the page's audio context; Id is its index there.
class TWebWaveData final : public IWaveData {
public:
    explicit TWebWaveData(std::int32_t id) : Id(id) {}
    const std::int32_t Id;
};

// Effects through Web Audio: each play is a new buffer source, so copies overlap.
class TWebWaveOutput final : public IWaveOutput {
public:
    bool Initialized() const override { return true; }
    void Play(const TWaveCollectionItem& wave) override;
};

// The built-in MIDI tracks, embedded in the program's file system under /music.
class TWebTrackSource final : public ITrackSource {
public:
    std::vector<std::uint8_t> Track(const std::string& name) override;
    // The base name ("SOUND1") of the built-in track with exactly these bytes; "" for none.
    static std::string TrackNamed(const std::vector<std::uint8_t>& bytes);
};

// The music player: the track file it is given is one of the built-in MIDI tracks; the page
// plays that track as rendered ahead for the browser (music/<name>.ogg) and reports its end.
class TWebMusicPlayer final : public IMediaPlayer {
public:
    TWebMusicPlayer();
    ~TWebMusicPlayer() override;

    void Close() override;
    TPlayerMode Mode() const override;
    void SetFileName(const std::string& path) override { FFileName = path; }
    void Open() override;
    void Play() override;

    // Called when a play request ends, after the mode has become Stopped.
    std::function<void()> OnNotify;
    // The page reports that the track ended.
    void Ended();

private:
    std::string FFileName;
    std::string FTrack; // rendered track opened, "" when the file is none of ours
    bool FOpen = false;
    bool FPlaying = false;
};

} // namespace pelmoravan

#pragma once
#include <QObject>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/music.h"

typedef struct _Mix_Music Mix_Music;

namespace pelmoravan {

class TSdlAudio;

// The music player on the mixer's music stream. The mixer reports the end of a track on its
// own audio thread; Notify is emitted on the thread this object lives on (the window's), and
// only for the end of the play request that is still current, never for a stop we asked for.
// A track that cannot be played (no device, no soundfont, bad data) leaves the player open and
// silent; the first such failure is told on the log once.
class TSdlMusicPlayer final : public QObject, public IMediaPlayer {
    Q_OBJECT
public:
    explicit TSdlMusicPlayer(const TSdlAudio& audio, std::FILE* log = stderr, QObject* parent = nullptr);
    ~TSdlMusicPlayer() override;

    void Close() override;
    TPlayerMode Mode() const override;
    void SetFileName(const std::string& path) override;
    void Open() override;
    void Play() override;

    const std::string& FileName() const { return FFileName; }

signals:
    void Notify();

private:
    static void MusicFinished(); // the mixer's hook
    void Deliver(std::uint64_t generation);
    void Complain(const std::string& why);

    const TSdlAudio& FAudio;
    std::FILE* FLog;
    std::string FFileName;
    bool FOpen = false;
    bool FComplained = false;
    std::vector<std::uint8_t> FData; // the mixer reads the track from here
    Mix_Music* FMusic = nullptr;
    std::atomic<bool> FHalting{false};
    std::atomic<std::uint64_t> FGeneration{0};

    static std::atomic<TSdlMusicPlayer*> Current;
};

} // namespace pelmoravan

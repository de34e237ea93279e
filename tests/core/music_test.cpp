// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "audio/music.h"
#include "audio/rmid.h"
#include "audio/sound_effects.h"
#include "core/file_size_limit.h"
#include "fakes.h"
#include "media/binary_file.h"

namespace pelmoravan {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::FakeSeedSource;

// A player that logs its calls; it plays until told the track ended.
class FakeMediaPlayer : public IMediaPlayer {
public:
    void Close() override {
        Log.push_back("Close");
        if (CloseFails) {
            throw std::runtime_error("device busy");
        }
        State = TPlayerMode::NotReady;
    }
    TPlayerMode Mode() const override { return State; }
    void SetFileName(const std::string& path) override {
        Log.push_back("SetFileName");
        FileName = path;
    }
    void Open() override {
        Log.push_back("Open");
        State = TPlayerMode::Open;
    }
    void Play() override {
        Log.push_back("Play");
        // What is played is what the file holds at this moment.
        std::ifstream in(FileName, std::ios::binary);
        Played.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        State = TPlayerMode::Playing;
    }
    void TrackEnds() { State = TPlayerMode::Stopped; }

    TPlayerMode State = TPlayerMode::NotReady;
    bool CloseFails = false;
    std::string FileName;
    std::vector<std::string> Log;
    std::vector<std::string> Played;
};

// "Sound1".."Sound5" hold "track 1".."track 5"; resource names ignore case.
class FakeTracks : public ITrackSource {
public:
    Bytes Track(const std::string& name) override {
        Asked.push_back(name);
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower.size() == 6 && lower.rfind("sound", 0) == 0 && lower[5] >= '1' && lower[5] <= '5') {
            const std::string text = "track " + lower.substr(5);
            return Bytes(text.begin(), text.end());
        }
        throw ETrackNotFound(name);
    }
    std::vector<std::string> Asked;
};

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("pelmoravan-music-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(::getpid())); // two runs at once (two work trees) never share it
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        Path = (Dir / "back.MID").string();
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string FileText() const {
        std::ifstream in(Path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path Dir;
    std::string Path;
    FakeMediaPlayer Player;
    FakeTracks Tracks;
    FakeSeedSource Seeds;
    TRandom Random{&Seeds};
};

TEST_F(MusicTest, StartWritesARandomTrackAndPlaysItFromTheFile) {
    TBackgroundMusic music(Player, Tracks, Random, Path);
    music.PlayMusic(true);
    EXPECT_EQ(Seeds.Calls, 1); // reseeded from the clock before the draw
    ASSERT_EQ(Tracks.Asked.size(), 1u);
    EXPECT_EQ(Player.Log, (std::vector<std::string>{"Close", "SetFileName", "Open", "Play"}));
    EXPECT_EQ(Player.FileName, Path);
    ASSERT_EQ(Player.Played.size(), 1u);
    EXPECT_EQ(Player.Played[0], FileText());
    EXPECT_EQ(FileText(), "track " + Tracks.Asked[0].substr(5));
}

TEST_F(MusicTest, StopClosesAndOnlyPreparesTheNextFile) {
    TBackgroundMusic music(Player, Tracks, Random, Path);
    music.PlayMusic(true);
    Player.Log.clear();
    music.PlayMusic(false);
    EXPECT_EQ(Player.Log, (std::vector<std::string>{"Close", "SetFileName"}));
    EXPECT_EQ(Player.Mode(), TPlayerMode::NotReady);
    EXPECT_EQ(Tracks.Asked.size(), 2u); // the file was written again
    EXPECT_EQ(FileText(), "track " + Tracks.Asked[1].substr(5));
    EXPECT_EQ(Player.Played.size(), 1u);
}

TEST_F(MusicTest, OnlyTheFirstFourTracksAreEverChosen) {
    std::mt19937 rng(7);
    for (int i = 0; i < 600; ++i) {
        Seeds.Script.push_back(rng());
    }
    TBackgroundMusic music(Player, Tracks, Random, Path);
    std::map<std::string, int> counts;
    for (int i = 0; i < 600; ++i) {
        music.PlayMusic(i % 2 == 0);
        counts[Tracks.Asked.back()] += 1;
    }
    EXPECT_EQ(counts.size(), 4u);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_GT(counts["Sound" + std::to_string(n)], 100) << n;
    }
    EXPECT_EQ(counts.count("Sound5"), 0u);
}

TEST_F(MusicTest, EndOfTrackStartsTheNextOnlyWhileMusicIsOn) {
    TBackgroundMusic music(Player, Tracks, Random, Path);
    music.PlayMusic(true);

    music.MediaPlayer1Notify(true); // still playing: a stale notification
    EXPECT_EQ(Player.Played.size(), 1u);

    Player.TrackEnds();
    music.MediaPlayer1Notify(true);
    EXPECT_EQ(Player.Played.size(), 2u);
    EXPECT_EQ(Player.Mode(), TPlayerMode::Playing);
    EXPECT_EQ(Seeds.Calls, 2);

    Player.TrackEnds();
    music.MediaPlayer1Notify(false);
    EXPECT_EQ(Player.Played.size(), 2u);

    // After switching off the player is closed: a late notification changes nothing.
    music.PlayMusic(false);
    music.MediaPlayer1Notify(true);
    EXPECT_EQ(Player.Played.size(), 2u);
}

TEST_F(MusicTest, SwitchingBackOnDrawsAFreshTrackAndPlaysFromItsStart) {
    Seeds.Script = {100, 200, 0x80000000u};
    TBackgroundMusic music(Player, Tracks, Random, Path);
    music.PlayMusic(true);
    music.PlayMusic(false);
    music.PlayMusic(true);
    EXPECT_EQ(Seeds.Calls, 3);
    EXPECT_EQ(Tracks.Asked.size(), 3u);
    EXPECT_EQ(std::count(Player.Log.begin(), Player.Log.end(), "Open"), 2);
    EXPECT_EQ(Player.Played.back(), FileText());
    EXPECT_EQ(FileText(), "track " + Tracks.Asked[2].substr(5));
}

TEST_F(MusicTest, AFailingCloseIsIgnoredAndABusyPlayerKeepsTheOldFile) {
    {
        std::ofstream(Path, std::ios::binary) << "old track";
    }
    Player.CloseFails = true;
    Player.State = TPlayerMode::Paused;
    TBackgroundMusic music(Player, Tracks, Random, Path);
    ASSERT_NO_THROW(music.PlayMusic(true));
    EXPECT_TRUE(Tracks.Asked.empty());
    EXPECT_EQ(Seeds.Calls, 0);
    EXPECT_EQ(Player.Played, std::vector<std::string>{"old track"});
}

TEST_F(MusicTest, ErrorsOfTheTrackAndTheFileGoToTheCaller) {
    class NoTracks : public ITrackSource {
    public:
        Bytes Track(const std::string& name) override { throw ETrackNotFound(name); }
    } none;
    TBackgroundMusic missing(Player, none, Random, Path);
    try {
        missing.PlayMusic(true);
        FAIL() << "no error";
    } catch (const ETrackNotFound& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Resource Sound", 0), 0u);
    }
    EXPECT_FALSE(fs::exists(Path));
    EXPECT_TRUE(Player.Played.empty());

    const std::string unwritable = (Dir / "no-such-folder" / "back.MID").string();
    TBackgroundMusic blocked(Player, Tracks, Random, unwritable);
    try {
        blocked.PlayMusic(true);
        FAIL() << "no error";
    } catch (const EFileCreateError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + unwritable + "\". No such file or directory");
    }
    EXPECT_TRUE(Player.Played.empty());
}

// The track file takes the place of whatever is at its path: a link there is replaced and its
// target left alone; what cannot be replaced is refused and left as it was.
TEST_F(MusicTest, TheTrackFileReplacesALinkAndNeverWritesThroughIt) {
    const fs::path target = Dir / "target";
    const fs::path scores = Dir / "Pelmoravan.sco";
    std::ofstream(target) << "precious";
    std::ofstream(scores) << "list";
    const std::vector<std::pair<fs::path, std::string>> links = {
        {target, "precious"}, {scores, "list"}, {Dir / "nowhere", ""}};
    const mode_t mask = ::umask(027);
    for (const auto& [to, before] : links) {
        fs::remove(Path);
        fs::create_symlink(to, Path);
        TBackgroundMusic music(Player, Tracks, Random, Path);
        music.PlayMusic(true);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Path))) << to;
        EXPECT_EQ(fs::status(Path).permissions(), fs::perms(0640)) << to;
        EXPECT_EQ(FileText(), "track " + Tracks.Asked.back().substr(5)) << to;
        EXPECT_EQ(fs::exists(to), !before.empty()) << to;
        if (!before.empty()) {
            std::ifstream in(to);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before) << to;
        }
    }
    ::umask(mask);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 3);

    fs::remove(Path);
    fs::create_directory(Path);
    ASSERT_EQ(::mkfifo((Dir / "fifo").c_str(), 0644), 0);
    for (const auto& [at, reason] : std::vector<std::pair<fs::path, std::string>>{
             {Path, "Is a directory"}, {Dir / "fifo", "Not a regular file"}}) {
        TBackgroundMusic music(Player, Tracks, Random, at.string());
        try {
            music.PlayMusic(true);
            ADD_FAILURE() << "no error for " << at;
        } catch (const EFileCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + at.string() + "\". " + reason);
        }
    }
    EXPECT_TRUE(fs::is_directory(Path));
    EXPECT_TRUE(fs::is_fifo(Dir / "fifo"));
}

TEST_F(MusicTest, AFailedWriteKeepsTheOldTrackAndNamesTheFileAndReason) {
    std::ofstream(Path) << "old track";
    class BigTracks : public ITrackSource {
    public:
        Bytes Track(const std::string&) override { return Bytes(1 << 16, 'm'); }
    } big;
    TBackgroundMusic music(Player, big, Random, Path);
    ::testing::internal::CaptureStderr();
    try {
        const TFileSizeLimit limit(4096); // the track's writes fail part-way, the line fits
        music.PlayMusic(true);
        ADD_FAILURE() << "no error";
    } catch (const EFileWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Stream write error");
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "pelmoravan: cannot write \"" + Path + "\": File too large\n");
    EXPECT_EQ(FileText(), "old track");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

Bytes MidiBytes() {
    const std::string text = "MThd\0\0\0\6\0\0\0\1\0\x78MTrk\0\0\0\4\0\xFF\x2F\0";
    return Bytes(text.begin(), text.end());
}

Bytes Riff(const std::string& form, const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes body(form.begin(), form.end());
    for (const auto& [id, data] : chunks) {
        body.insert(body.end(), id.begin(), id.end());
        const auto size = static_cast<std::uint32_t>(data.size());
        for (int i = 0; i < 4; ++i) body.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
        body.insert(body.end(), data.begin(), data.end());
        if (data.size() % 2 == 1) body.push_back(0);
    }
    Bytes out{'R', 'I', 'F', 'F'};
    const auto size = static_cast<std::uint32_t>(body.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

TEST(RmidTest, TheDataChunkIsTakenOutOfTheContainer) {
    const Bytes midi = MidiBytes();
    EXPECT_EQ(UnwrapRmid(Riff("RMID", {{"data", midi}})), midi);
    // Other chunks before it, one of odd length with its pad byte.
    EXPECT_EQ(UnwrapRmid(Riff("RMID", {{"LIST", Bytes(5, 'i')}, {"DISP", Bytes(8, 1)}, {"data", midi}})), midi);
}

TEST(RmidTest, OtherBytesPassUnchangedAndDamageIsSurvived) {
    const Bytes midi = MidiBytes();
    EXPECT_EQ(UnwrapRmid(midi), midi);
    const Bytes wave = Riff("WAVE", {{"data", Bytes(10, 3)}});
    EXPECT_EQ(UnwrapRmid(wave), wave);
    EXPECT_TRUE(UnwrapRmid({}).empty());

    Bytes cut = Riff("RMID", {{"data", midi}});
    cut.resize(cut.size() - 4);
    EXPECT_EQ(UnwrapRmid(cut), Bytes(midi.begin(), midi.end() - 4));

    // A chunk size that runs far past the end, before the data chunk.
    Bytes huge = Riff("RMID", {{"LIST", Bytes(4, 0)}, {"data", midi}});
    huge[16] = huge[17] = huge[18] = huge[19] = 0xFF;
    EXPECT_EQ(UnwrapRmid(huge), huge);

    std::mt19937 rng(3);
    const Bytes good = Riff("RMID", {{"LIST", Bytes(3, 'x')}, {"data", midi}});
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = good;
        damaged.resize(12 + rng() % (good.size() - 11));
        for (int f = 0; f < 3; ++f) damaged[rng() % damaged.size()] ^= static_cast<std::uint8_t>(rng());
        const Bytes out = UnwrapRmid(damaged);
        EXPECT_LE(out.size(), damaged.size());
    }
}

class RecordingOutput : public IWaveOutput {
public:
    bool Initialized() const override { return Ready; }
    void Play(const TWaveCollectionItem& wave) override { Played.push_back(wave.Name); }
    bool Ready = true;
    std::vector<std::string> Played;
};

TEST(SoundEffectsTest, PlaysByNameOrPositionAndStaysQuietWithoutADevice) {
    TWaveCollection waves;
    for (const char* name : {"Alert", "chimes", "ding", "notify", "Pagemove", "recycle", "TestSnd", "tada", "event"}) {
        waves.Add(name);
    }
    RecordingOutput output;
    TSoundEffects effects(waves, output);
    effects.PlaySound("RECYCLE");
    effects.PlaySound("recycle");
    effects.PlaySoundAt(4);
    EXPECT_EQ(output.Played, (std::vector<std::string>{"recycle", "recycle", "Pagemove"}));
    EXPECT_THROW(effects.PlaySound("Alert "), ECollectionError);
    EXPECT_THROW(effects.PlaySoundAt(9), std::out_of_range);

    output.Ready = false;
    effects.PlaySound("tada");
    EXPECT_EQ(output.Played.size(), 3u);
    EXPECT_NO_THROW(effects.PlaySound("missing")); // without sound the collection need not hold it
    EXPECT_NO_THROW(effects.PlaySoundAt(9));
}

} // namespace
} // namespace pelmoravan

namespace pelmoravan {
namespace {

// A standard MIDI file of one track holding the events as they are.
Bytes SmfWithEvents(const Bytes& events) {
    Bytes smf = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0,
                 static_cast<std::uint8_t>(events.size())};
    smf.insert(smf.end(), events.begin(), events.end());
    return smf;
}

TEST(TrackPrograms, EveryProgramChangeOfTheChosenTracksAndProgramZero) {
    class Tracks : public ITrackSource {
    public:
        Bytes Track(const std::string& name) override {
            if (name == "Sound1") { // running status after a change, between a sysex and a meta event
                return SmfWithEvents({0x00, 0xF0, 0x02, 0xC5, 0x7F, 0x00, 0xC3, 5, 0x10, 9, 0x00, 0xFF,
                                      0x01, 0x01, 0xC7, 0x00, 0x93, 60, 100, 0x00, 0xFF, 0x2F, 0x00});
            }
            if (name == "Sound2") { // in a container, on the percussion channel, then cut short
                Bytes smf = SmfWithEvents({0x00, 0xC9, 25, 0x00, 0xC2});
                Bytes rmid = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a',
                              static_cast<std::uint8_t>(smf.size()), 0, 0, 0};
                rmid.insert(rmid.end(), smf.begin(), smf.end());
                return rmid;
            }
            if (name == "Sound4") {
                return Bytes{'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'};
            }
            if (name == "Sound5") { // never chosen
                return SmfWithEvents({0x00, 0xC0, 99});
            }
            throw ETrackNotFound(name);
        }
    } tracks;
    EXPECT_EQ(TrackPrograms(tracks), (std::set<int>{0, 5, 9, 25}));
}

} // namespace
} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <cstdint>
#include <sys/stat.h>
#include <filesystem>
#include <atomic>
#include <fcntl.h>
#include <functional>
#include <chrono>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <grp.h>
#include <pwd.h>
#include <set>
#include <sys/wait.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/file_size_limit.h"
#include "core/lock_holder.h"
#include "host/game_host.h"
#include "media/binary_file.h"
#include "shell/language_tables.h"
#include "shell/score_file.h"
#include "core/score_driver.h"

namespace pelmoravan {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Answers name prompts from a script and records what was asked and shown.
class ScriptedScoreUi : public INamePrompt, public IScoreListView {
public:
    std::optional<std::string> InputName(const std::string& caption, const std::string& prompt,
                                         const std::string& preset) override {
        Captions.push_back(caption);
        Prompts.push_back(prompt);
        Presets.push_back(preset);
        if (DuringPrompt) {
            DuringPrompt();
        }
        return Answer;
    }
    void ShowScoreList(const TScoreEntries& entries) override { Shown.push_back(entries); }

    std::optional<std::string> Answer = std::string("Player");
    std::function<void()> DuringPrompt;
    std::vector<std::string> Captions;
    std::vector<std::string> Prompts;
    std::vector<std::string> Presets;
    std::vector<TScoreEntries> Shown;
};

class ScoreFileTest : public ::testing::Test {
public:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("pelmoravan-score-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        Path = (Dir / "Pelmoravan.sco").string();
    }
    void TearDown() override { fs::remove_all(Dir); }

    static Bytes ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    Bytes FileBytes() const { return ReadBytes(Path); }
    void WriteFile(const Bytes& bytes) const {
        std::ofstream out(Path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TScoreEntries Stored() const {
        const Bytes bytes = FileBytes();
        auto entries = DecodeScoreFile(bytes.data(), bytes.size());
        EXPECT_TRUE(entries.has_value());
        return entries.value_or(TScoreEntries{});
    }
    void Update(bool enter, std::int32_t score) { UpdateScores(enter, score, Ui, Ui, Path); }

    // A file holding scores 1000, 900, ..., 100 under the names "P1".."P10".
    void WriteDescending() {
        UpdateScores(false, -1, Ui, Ui, Path);
        Bytes bytes = FileBytes();
        for (int i = 0; i < 10; ++i) {
            // Appended rather than "P" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) on that.
            std::string name = "P";
            name += std::to_string(i + 1);
            const auto entry = EncodeScoreEntry({name, 1000 - 100 * i});
            std::copy(entry.begin(), entry.end(), bytes.begin() + 33 + 56 * i);
        }
        WriteFile(bytes);
    }

    static Bytes EmptyFile() {
        Bytes expected;
        expected.push_back(10);
        for (char c : std::string("Pelmoravan")) expected.push_back(static_cast<std::uint8_t>(c));
        expected.push_back(4);
        for (char c : std::string("V2.0")) expected.push_back(static_cast<std::uint8_t>(c));
        expected.insert(expected.end(), 6, 0);
        expected.push_back(7);
        for (char c : std::string("qorbent")) expected.push_back(static_cast<std::uint8_t>(c));
        expected.insert(expected.end(), 3, 0);
        expected.insert(expected.end(), 560, 0);
        return expected;
    }

    fs::path Dir;
    std::string Path;
    ScriptedScoreUi Ui;
};

TEST_F(ScoreFileTest, FirstStartWritesTheExactEmptyFile) {
    Update(false, -1);
    EXPECT_EQ(FileBytes(), EmptyFile());
    EXPECT_EQ(FileBytes().size(), 593u);
    EXPECT_TRUE(Ui.Shown.empty());
}

TEST_F(ScoreFileTest, AFileMadeAtTheEndOfADifficultyStillRecordsAndTheMenuListShows) {
    Update(true, 500);
    EXPECT_EQ(Ui.Captions, std::vector<std::string>{"No.1"});
    EXPECT_EQ(Stored()[0], (TScoreEntry{"Player", 500}));
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0], Stored());

    fs::remove(Path);
    Update(true, -1);
    ASSERT_EQ(Ui.Shown.size(), 2u);
    EXPECT_EQ(Ui.Shown[1], TScoreEntries{});
    EXPECT_EQ(FileBytes(), EmptyFile());
}

TEST_F(ScoreFileTest, ListOfAnUntouchedFileHasTenEmptyRows) {
    Update(false, -1);
    Update(true, -1);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0], TScoreEntries{});
    EXPECT_TRUE(Ui.Captions.empty());
    EXPECT_EQ(FileBytes(), EmptyFile());
}

TEST_F(ScoreFileTest, FirstScoreGoesToRankOneWithTheFixedPromptTexts) {
    WriteDescending();
    Ui.Answer = "Ann";
    Update(true, 5000);
    ASSERT_EQ(Ui.Captions, std::vector<std::string>{"No.1"});
    EXPECT_EQ(Ui.Prompts[0], "Please Input Your Name:");
    EXPECT_EQ(Ui.Presets[0], "Default User");
    const TScoreEntries stored = Stored();
    EXPECT_EQ(stored[0], (TScoreEntry{"Ann", 5000}));
    for (int i = 1; i < 10; ++i) {
        EXPECT_EQ(stored[i], (TScoreEntry{"P" + std::to_string(i), 1000 - 100 * (i - 1)}));
    }
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0], stored);
    EXPECT_EQ(FileBytes().size(), 593u);
}

TEST_F(ScoreFileTest, ScoreBetweenRanksTwoAndThreeTakesRankThree) {
    WriteDescending();
    Update(true, 850);
    EXPECT_EQ(Ui.Captions, std::vector<std::string>{"No.3"});
    const TScoreEntries stored = Stored();
    EXPECT_EQ(stored[1], (TScoreEntry{"P2", 900}));
    EXPECT_EQ(stored[2], (TScoreEntry{"Player", 850}));
    EXPECT_EQ(stored[3], (TScoreEntry{"P3", 800}));
    EXPECT_EQ(stored[9], (TScoreEntry{"P9", 200})); // the old rank 10 is gone
}

TEST_F(ScoreFileTest, ScoreBelowAllChangesNothing) {
    WriteDescending();
    const Bytes before = FileBytes();
    Update(true, 99);
    EXPECT_TRUE(Ui.Captions.empty());
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(ScoreFileTest, EqualScoreGoesAheadOfTheOlderOneAtTheSameRankEverywhere) {
    WriteDescending();
    Ui.Answer = "New";
    Update(true, 800);
    ASSERT_EQ(Ui.Captions, std::vector<std::string>{"No.3"});
    TScoreEntries stored = Stored();
    EXPECT_EQ(stored[2], (TScoreEntry{"New", 800}));
    EXPECT_EQ(stored[3], (TScoreEntry{"P3", 800}));
    EXPECT_EQ(Ui.Shown.back()[2], stored[2]);

    // Offered twice in a row, as at the end of Easy when the player stops: both stay.
    Ui.Answer = "Again";
    Update(true, 800);
    EXPECT_EQ(Ui.Captions.back(), "No.3");
    stored = Stored();
    EXPECT_EQ(stored[2], (TScoreEntry{"Again", 800}));
    EXPECT_EQ(stored[3], (TScoreEntry{"New", 800}));
    EXPECT_EQ(stored[4], (TScoreEntry{"P3", 800}));
    for (int i = 1; i < 10; ++i) {
        EXPECT_GE(stored[i - 1].Score, stored[i].Score);
    }
}

TEST_F(ScoreFileTest, EqualToTheLastRankStillEntersTheList) {
    WriteDescending();
    Update(true, 100);
    EXPECT_EQ(Ui.Captions, std::vector<std::string>{"No.10"});
    EXPECT_EQ(Stored()[9], (TScoreEntry{"Player", 100}));
}

TEST_F(ScoreFileTest, ZeroOnAnEmptyListTakesRankOne) {
    Update(false, -1);
    Update(true, 0);
    EXPECT_EQ(Ui.Captions, std::vector<std::string>{"No.1"});
    EXPECT_EQ(Stored()[0], (TScoreEntry{"Player", 0}));
}

TEST_F(ScoreFileTest, CancelledPromptRecordsThePreset) {
    Update(false, -1);
    Ui.Answer = std::nullopt;
    Update(true, 10);
    EXPECT_EQ(Stored()[0].Name, "Default User");
}

TEST_F(ScoreFileTest, LongNamesAreCutToTheFieldAtACharacterBoundary) {
    Update(false, -1);
    Ui.Answer = std::string(60, 'x');
    Update(true, 10);
    EXPECT_EQ(Stored()[0].Name, std::string(50, 'x'));

    // Fifty Chinese characters are 150 bytes: sixteen of them (48 bytes) fit.
    std::string chinese;
    for (int i = 0; i < 50; ++i) chinese += "排";
    Ui.Answer = chinese;
    Update(true, 20);
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "排";
    EXPECT_EQ(Stored()[0].Name, sixteen);
    EXPECT_EQ(Ui.Shown.back()[0].Name, sixteen);
    EXPECT_EQ(FileBytes()[33], 48);

    // A mix where the 50th byte falls inside a character.
    Ui.Answer = std::string(49, 'a') + "名次";
    Update(true, 30);
    EXPECT_EQ(Stored()[0].Name, std::string(49, 'a'));
}

TEST_F(ScoreFileTest, WrongTagResetsAfterKeepingTheOldBytesInTheFirstFreeBackup) {
    std::vector<Bytes> written;
    testing::internal::CaptureStderr();
    for (int variant = 0; variant < 4; ++variant) {
        WriteDescending();
        Bytes bytes = FileBytes();
        switch (variant) {
        case 0: bytes[0] ^= 0x10; break;           // one bit flipped in the length byte
        case 1: bytes[5] = 'X'; break;             // one tag character differs
        case 2: bytes.resize(10); break;           // shorter than the tag
        case 3: bytes.clear(); break;              // empty file: nothing to keep
        }
        written.push_back(bytes);
        WriteFile(bytes);
        fs::permissions(Path, variant == 0 ? fs::perms::owner_read | fs::perms::owner_write
                                           : fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        Ui = ScriptedScoreUi{};
        Update(true, 5000);
        TScoreEntries expected{};
        expected[0] = {"Player", 5000};
        EXPECT_EQ(FileBytes().size(), 593u) << "variant " << variant;
        EXPECT_EQ(Stored(), expected) << "variant " << variant;
        EXPECT_EQ(Ui.Captions, std::vector<std::string>{"No.1"}) << "variant " << variant;
        EXPECT_EQ(Ui.Shown, std::vector<TScoreEntries>{expected}) << "variant " << variant;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "pelmoravan: \"" + Path + "\" held no score list; its bytes are kept in \"" + Path + ".bak\"\n"
              "pelmoravan: \"" + Path + "\" held no score list; its bytes are kept in \"" + Path + ".bak1\"\n"
              "pelmoravan: \"" + Path + "\" held no score list; its bytes are kept in \"" + Path + ".bak2\"\n");
    EXPECT_EQ(ReadBytes(Path + ".bak"), written[0]);
    EXPECT_EQ(ReadBytes(Path + ".bak1"), written[1]);
    EXPECT_EQ(ReadBytes(Path + ".bak2"), written[2]);
    // Each backup as readable as the file it keeps, no more.
    EXPECT_EQ(fs::status(Path + ".bak").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(Path + ".bak1").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 4);
}

// A link at the score file's path: followed only to a score list; anything else it points at
// is left as it was, and the score lands in a new file at the path.
struct LinkAtThePath {
    const char* Name;
    std::function<fs::path(ScoreFileTest&)> Plant; // plants the link, returns its target
    bool Followed = false;
    bool DuringPrompt = false;
};

class ScoreFileLinkTest : public ScoreFileTest, public ::testing::WithParamInterface<LinkAtThePath> {};

TEST_P(ScoreFileLinkTest, OnlyAScoreListIsWrittenThroughALink) {
    const LinkAtThePath& c = GetParam();
    fs::create_directory(Dir / "elsewhere");
    fs::path target;
    struct stat before {};
    Bytes targetBytes;
    const auto look = [&](struct stat& info) {
        const bool kernel = target.string().rfind("/proc/", 0) == 0; // reading some does something
        return ::stat(target.c_str(), &info) == 0 && !kernel ? ReadBytes(target.string()) : Bytes{};
    };
    const auto plant = [&] {
        target = c.Plant(*this);
        targetBytes = look(before);
    };
    if (c.DuringPrompt) {
        WriteDescending();
        Ui.DuringPrompt = [&] {
            fs::remove(Path);
            plant();
        };
    } else {
        plant();
    }
    testing::internal::CaptureStderr();
    Update(true, 850);
    const std::string said = testing::internal::GetCapturedStderr();

    struct stat after {};
    const Bytes targetAfter = look(after);
    if (c.Followed) {
        EXPECT_TRUE(fs::is_symlink(Path));
        EXPECT_EQ(Stored()[2], (TScoreEntry{"Player", 850}));
        EXPECT_EQ(said, "");
    } else {
        EXPECT_FALSE(fs::is_symlink(Path));
        EXPECT_EQ(Stored()[0], (TScoreEntry{"Player", 850}));
        EXPECT_EQ(Stored()[1], TScoreEntry{});
        EXPECT_NE(said.find("\"" + Path + "\" is a link to \"" + target.string() + "\""), std::string::npos) << said;
        if (target.string().rfind("/proc/", 0) != 0) {
            EXPECT_EQ(targetAfter, targetBytes);
            EXPECT_EQ(after.st_mode, before.st_mode);
        }
        EXPECT_FALSE(fs::exists(Dir / "elsewhere" / "absent.sco")); // a dangling link made nothing
    }
    // Nothing was backed up: there was no damaged file of this game's to keep.
    for (const auto& entry : fs::recursive_directory_iterator(Dir)) {
        EXPECT_EQ(entry.path().string().find(".bak"), std::string::npos) << entry.path();
    }
}

fs::path ForeignNotes(ScoreFileTest& t) {
    const fs::path target = t.Dir / "elsewhere" / "notes.txt";
    std::ofstream(target) << "the player's own notes\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, t.Path);
    return target;
}

INSTANTIATE_TEST_SUITE_P(
    Links, ScoreFileLinkTest,
    ::testing::Values(
        LinkAtThePath{"ToAScoreList",
                      [](ScoreFileTest& t) {
                          const fs::path target = t.Dir / "elsewhere" / "list.sco";
                          t.WriteDescending();
                          fs::rename(t.Path, target);
                          fs::create_symlink(target, t.Path);
                          return target;
                      },
                      true},
        LinkAtThePath{"Dangling",
                      [](ScoreFileTest& t) {
                          const fs::path target = t.Dir / "elsewhere" / "absent.sco";
                          fs::create_symlink(target, t.Path);
                          return target;
                      }},
        LinkAtThePath{"ToAForeignFile", ForeignNotes},
        LinkAtThePath{"ToProcStatus",
                      [](ScoreFileTest& t) {
                          fs::create_symlink("/proc/self/status", t.Path);
                          return fs::path("/proc/self/status");
                      }},
        LinkAtThePath{"ToItsOwnMemory",
                      [](ScoreFileTest& t) {
                          fs::create_symlink("/proc/self/mem", t.Path);
                          return fs::path("/proc/self/mem");
                      }},
        LinkAtThePath{"ToAListOfAnotherSize",
                      [](ScoreFileTest& t) {
                          const fs::path target = t.Dir / "elsewhere" / "longer.sco";
                          t.WriteDescending();
                          std::ofstream(t.Path, std::ios::binary | std::ios::app) << "appended";
                          fs::rename(t.Path, target);
                          fs::create_symlink(target, t.Path);
                          return target;
                      }},
        LinkAtThePath{"PlantedDuringThePrompt", ForeignNotes, false, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ScoreFileTest, NothingIsResetWhenTheBackupCannotBeWrittenInFull) {
    WriteFile(Bytes(5000, 0xAB));
    {
        const TFileSizeLimit limit(4096); // the backup's writes fail part-way
        try {
            Update(false, -1);
            ADD_FAILURE() << "no error";
        } catch (const EFileCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + Path + ".bak\". File too large");
        }
    }
    EXPECT_EQ(FileBytes(), Bytes(5000, 0xAB));
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(ScoreFileTest, AFailedReadIsAnErrorNotAShortFile) {
    // Reading a process's own memory at offset 0 fails with an input/output error.
    try {
        UpdateScores(false, -1, Ui, Ui, "/proc/self/mem");
        FAIL() << "no error";
    } catch (const EFileReadError& e) {
        EXPECT_EQ(std::string(e.what()), "Stream read error");
    }
}

TEST_F(ScoreFileTest, OtherVersionAndAuthorAreAcceptedAndKept) {
    WriteDescending();
    Bytes bytes = FileBytes();
    bytes[11] = 3;
    bytes[12] = 'V';
    bytes[13] = '9';
    bytes[22] = 10;
    std::fill(bytes.begin() + 23, bytes.begin() + 33, 'z');
    WriteFile(bytes);
    Update(true, 950);
    EXPECT_EQ(Ui.Captions, std::vector<std::string>{"No.2"});
    const Bytes after = FileBytes();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 33, after.begin())); // header not rewritten
    EXPECT_EQ(Stored()[1], (TScoreEntry{"Player", 950}));
}

TEST_F(ScoreFileTest, ShortFileWithTheRightTagReadsMissingEntriesAsEmpty) {
    WriteDescending();
    Bytes bytes = FileBytes();
    bytes.resize(33 + 56 * 3 + 20); // three whole entries and part of a fourth
    WriteFile(bytes);
    Update(true, -1);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0][2], (TScoreEntry{"P3", 800}));
    EXPECT_EQ(Ui.Shown[0][3], TScoreEntry{});
    EXPECT_EQ(Ui.Shown[0][9], TScoreEntry{});
    EXPECT_EQ(FileBytes().size(), bytes.size()); // only looked at

    Update(true, 700);
    EXPECT_EQ(Ui.Captions, std::vector<std::string>{"No.4"});
    EXPECT_EQ(FileBytes().size(), 593u);
    EXPECT_EQ(Stored()[3], (TScoreEntry{"Player", 700}));
    EXPECT_EQ(Stored()[4], TScoreEntry{});
}

TEST_F(ScoreFileTest, StoredNamesLongerThanTheFieldAreCut) {
    WriteDescending();
    Bytes bytes = FileBytes();
    bytes[33] = 255;
    for (int i = 0; i < 50; ++i) bytes[34 + i] = 'n';
    bytes[33 + 56] = 200; // and one whose 50 bytes end inside a character
    for (int i = 0; i < 48; ++i) bytes[34 + 56 + i] = 'm';
    bytes[34 + 56 + 48] = 0xE6;
    bytes[34 + 56 + 49] = 0x8E;
    WriteFile(bytes);
    Update(true, -1);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0][0].Name, std::string(50, 'n'));
    EXPECT_EQ(Ui.Shown[0][1].Name, std::string(48, 'm'));
}

TEST_F(ScoreFileTest, ScoresAreSignedLittleEndian) {
    const auto bytes = EncodeScoreEntry({"ab", -2});
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 'a');
    EXPECT_EQ(bytes[51], 0);
    EXPECT_EQ((Bytes{bytes.begin() + 52, bytes.end()}), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(DecodeScoreEntry(EncodeScoreEntry({"x", 0x01020304}).data()).Score, 0x01020304);
}

TEST_F(ScoreFileTest, FileThatCannotBeCreatedOrOpenedReportsThePathAndReason) {
    // A data folder removed while the game ran is made again, and the score goes in.
    const std::string missingDir = (Dir / "missing" / "Pelmoravan.sco").string();
    UpdateScores(true, 70, Ui, Ui, missingDir);
    const Bytes made = ReadBytes(missingDir);
    ASSERT_TRUE(DecodeScoreFile(made.data(), made.size()).has_value());
    EXPECT_EQ((*DecodeScoreFile(made.data(), made.size()))[0], (TScoreEntry{"Player", 70}));
    fs::remove_all(Dir / "missing");

    // Something that is not a file stands at the path: it is reported, not replaced.
    fs::create_directory(Path);
    try {
        Update(true, -1);
        FAIL() << "no error";
    } catch (const EFileOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + Path + "\". Is a directory");
    }
    EXPECT_TRUE(fs::is_directory(Path));
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);

    // Neither is a FIFO, at once: reading one would wait for a writer for good.
    fs::remove(Path);
    ASSERT_EQ(mkfifo(Path.c_str(), 0644), 0);
    try {
        Update(false, -1);
        FAIL() << "no error";
    } catch (const EFileOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + Path + "\". Not a regular file");
    }
    EXPECT_TRUE(fs::is_fifo(Path));
}

// Random, truncated and bit-flipped files: nothing crashes, every call leaves a file that the
// next call accepts, and a recorded score is found at the rank the prompt named.
TEST_F(ScoreFileTest, SurvivesThousandsOfDamagedFiles) {
    std::mt19937 rng(20240601);
    WriteDescending();
    const Bytes good = FileBytes();
    int resets = 0;
    int backups = 0;
    int recorded = 0;
    testing::internal::CaptureStderr();
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes;
        switch (round % 3) {
        case 0: { // random bytes of random length, sometimes with the right tag in front
            bytes.resize(rng() % 700);
            for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
            if (rng() % 2 == 0 && bytes.size() >= 11) std::copy(good.begin(), good.begin() + 11, bytes.begin());
            break;
        }
        case 1: // truncated
            bytes.assign(good.begin(), good.begin() + static_cast<long>(rng() % (good.size() + 1)));
            break;
        default: { // bit flips
            bytes = good;
            const int flips = 1 + static_cast<int>(rng() % 8);
            for (int f = 0; f < flips; ++f) bytes[rng() % bytes.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
            break;
        }
        }
        WriteFile(bytes);
        const bool tagged = HasScoreTag(bytes.data(), bytes.size());
        Ui = ScriptedScoreUi{};
        Ui.Answer = std::string(rng() % 70, static_cast<char>('a' + rng() % 26));
        const std::int32_t score = static_cast<std::int32_t>(rng() % 1200) - 1;
        const bool enter = rng() % 4 != 0;
        ASSERT_NO_THROW(Update(enter, score)) << "round " << round;

        const Bytes after = FileBytes();
        ASSERT_TRUE(HasScoreTag(after.data(), after.size())) << "round " << round;
        const auto entries = DecodeScoreFile(after.data(), after.size());
        ASSERT_TRUE(entries.has_value());
        for (const auto& entry : *entries) {
            ASSERT_LE(entry.Name.size(), 50u);
        }
        if (!tagged) {
            // Reset to an empty list, which a finished game's score then enters at rank 1.
            TScoreEntries expected{};
            if (enter && score != -1) {
                expected[0] = {FitName(*Ui.Answer), score};
            }
            ASSERT_EQ(*entries, expected) << "round " << round;
            ASSERT_EQ(after.size(), 593u) << "round " << round;
            ASSERT_EQ(Ui.Shown.size(), enter ? 1u : 0u) << "round " << round;
            resets += 1;
            if (!bytes.empty()) {
                ASSERT_EQ(ReadBytes(Path + ".bak"), bytes) << "round " << round;
                fs::remove(Path + ".bak");
                backups += 1;
            }
        } else if (!Ui.Captions.empty()) {
            const int rank = std::stoi(Ui.Captions[0].substr(3));
            ASSERT_EQ((*entries)[rank - 1], (TScoreEntry{FitName(*Ui.Answer), score})) << "round " << round;
            ASSERT_EQ(Ui.Shown.size(), 1u);
            for (std::size_t i = 0; i < 10; ++i) {
                ASSERT_EQ(Ui.Shown[0][i], (TScoreEntry{CleanName((*entries)[i].Name), (*entries)[i].Score}));
            }
            ASSERT_GE(after.size(), 593u);
            recorded += 1;
        }
        // The next start accepts the file as it is.
        const Bytes before = FileBytes();
        ASSERT_NO_THROW(Update(false, -1));
        ASSERT_EQ(FileBytes(), before);
    }
    const std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), backups);
    // The rounds really went down every path.
    EXPECT_GT(resets, 300);
    EXPECT_GT(recorded, 300);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

// What may happen to the file while the player types a name: the score lands in the file the
// path names when the answer comes, placed against the list as it is then.
struct DuringThePrompt {
    const char* Name;
    std::function<void(ScoreFileTest&)> Act;
    std::vector<TScoreEntry> Expected; // the stored list's first entries
};

class ScoreFileDuringPromptTest : public ScoreFileTest,
                                  public ::testing::WithParamInterface<DuringThePrompt> {};

TEST_P(ScoreFileDuringPromptTest, TheScoreIsInTheFileAtThePath) {
    WriteDescending();
    Ui.DuringPrompt = [this] { GetParam().Act(*this); };
    testing::internal::CaptureStderr();
    Update(true, 850);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Ui.Captions, std::vector<std::string>{"No.3"}); // the rank found before the prompt
    const TScoreEntries stored = Stored();
    const std::vector<TScoreEntry>& expected = GetParam().Expected;
    EXPECT_EQ(std::vector<TScoreEntry>(stored.begin(), stored.begin() + static_cast<long>(expected.size())),
              expected);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0], stored);
    EXPECT_EQ(FileBytes().size(), 593u);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ScoreFileDuringPromptTest,
    ::testing::Values(
        // A second copy of the game records first, its prompt inside this one's, on its own
        // open file.
        DuringThePrompt{"AnotherCopyRecords",
                        [](ScoreFileTest& t) {
                            std::thread other([&t] {
                                ScriptedScoreUi ui;
                                ui.Answer = "B";
                                UpdateScores(true, 950, ui, ui, t.Path);
                            });
                            other.join();
                        },
                        {{"P1", 1000}, {"B", 950}, {"P2", 900}, {"Player", 850}, {"P3", 800}}},
        DuringThePrompt{"Replaced",
                        [](ScoreFileTest& t) {
                            const std::string fresh = t.Path + ".new";
                            ScriptedScoreUi ui;
                            UpdateScores(false, -1, ui, ui, fresh);
                            fs::rename(fresh, t.Path);
                        },
                        {{"Player", 850}, {}}},
        DuringThePrompt{"Deleted", [](ScoreFileTest& t) { fs::remove(t.Path); }, {{"Player", 850}, {}}},
        DuringThePrompt{"Damaged", [](ScoreFileTest& t) { t.WriteFile(Bytes(40, 'x')); }, {{"Player", 850}, {}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ScoreFileTest, AScoreThatNoLongerReachesTheListWritesNothingAndShowsTheListAsItIs) {
    WriteDescending();
    Bytes higher;
    Ui.DuringPrompt = [&] {
        Bytes bytes = FileBytes();
        const auto entry = EncodeScoreEntry({"Top", 5000});
        for (int i = 0; i < 10; ++i) std::copy(entry.begin(), entry.end(), bytes.begin() + 33 + 56 * i);
        WriteFile(bytes);
        higher = bytes;
    };
    Update(true, 850);
    EXPECT_EQ(FileBytes(), higher);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0][9], (TScoreEntry{"Top", 5000}));
}

// Another copy holds the lock at the record: the flow tries again each tick and never blocks;
// the busy box shows after ten ticks (a second), its Cancel records nothing and says so, and a
// lock that comes free while the box is up takes the box down and records the score, unless the
// box was cancelled already.
TEST_F(ScoreFileTest, ALockHeldElsewhereNeverBlocksTheWindowAndCanBeGivenUp) {
    WriteDescending();
    const Bytes before = FileBytes();
    auto kinds = [](const TScoreDriver& driver) {
        std::vector<TRequestKind> shown;
        for (const TRequest& request : driver.Shown) {
            shown.push_back(request.Kind);
        }
        return shown;
    };
    {
        LockHolder holder(Path);
        TScoreDriver cancelling;
        cancelling.OnTick = [&] { cancelling.CancelBusy = cancelling.TickCount > 12; };
        cancelling.Run(true, 850, Ui, Ui, Path);
        ASSERT_EQ(kinds(cancelling), (std::vector{TRequestKind::ScoreBusy, TRequestKind::Message}));
        EXPECT_EQ(cancelling.Shown[0].Text, ChineseControlTexts.ScoreFileBusy);
        EXPECT_EQ(cancelling.Shown[1].Text, ChineseControlTexts.ScoreNotRecorded);
        EXPECT_GE(cancelling.TickCount, 10);
        EXPECT_TRUE(Ui.Captions.empty());
        EXPECT_EQ(FileBytes(), before);

        // The start does not wait for it either: the first record checks the file instead.
        std::string reported;
        testing::internal::CaptureStderr();
        EXPECT_TRUE(TGameHost::CheckScoreFile(Path, [&](const std::string& text) { reported = text; }));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "pelmoravan: another copy of the game holds the lock of \"" + Path +
                      "\"; the score file is checked at the first record\n");
        EXPECT_EQ(reported, "");

        TScoreDriver patient;
        patient.OnTick = [&] {
            if (patient.TickCount == 15) {
                holder.LetGo();
            }
        };
        patient.Run(true, 850, Ui, Ui, Path);
        ASSERT_EQ(kinds(patient), (std::vector{TRequestKind::ScoreBusy, TRequestKind::NameEntry, TRequestKind::ScoreList}));
        EXPECT_EQ(patient.Withdrawn, std::vector<std::uint32_t>{patient.Shown[0].Id});
    }
    EXPECT_EQ(Stored()[2], (TScoreEntry{"Player", 850}));

    // A Cancel holds though the lock comes free before the next try: nothing is recorded.
    const Bytes recorded = FileBytes();
    auto holder = std::make_unique<LockHolder>(Path);
    TScoreDriver late;
    late.OnTick = [&] {
        late.CancelBusy = late.TickCount >= 13;
        if (late.TickCount == 14) {
            holder.reset();
        }
    };
    late.Run(true, 900, Ui, Ui, Path);
    EXPECT_EQ(kinds(late), (std::vector{TRequestKind::ScoreBusy, TRequestKind::Message}));
    EXPECT_EQ(FileBytes(), recorded);
}

// A full disk, or any failed write, while a file is made or reset: the path keeps what it had
// (nothing, or the damaged bytes), never an empty or partial file, and the error's detail
// names the file and the system's reason. The backup of a file that is still there is not
// kept, nor said to be: every start would otherwise add one.
TEST_F(ScoreFileTest, AFailedWriteLeavesThePathAsItWas) {
    {
        const TFileSizeLimit limit(100);
        try {
            Update(false, -1);
            ADD_FAILURE() << "no error";
        } catch (const EFileWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Stream write error");
            EXPECT_EQ(e.Detail(), "cannot write \"" + Path + "\": File too large");
        }
        EXPECT_FALSE(fs::exists(Path));
        WriteFile(Bytes(50, 'x'));
        testing::internal::CaptureStderr();
        EXPECT_THROW(Update(true, 10), EFileWriteError);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_EQ(FileBytes(), Bytes(50, 'x'));
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST(ScoreNames, ControlAndDirectionCharactersAreLeftOut) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Ann\tLee\r\n", "AnnLee"},
        {"\x1b[31mred\x1b[0m\x7f", "[31mred[0m"},
        {"a\xc2\x85" "b\xc2\x9f" "c\xc2\xa0" "d", "abc\xc2\xa0" "d"},                  // C1 out, no-break space kept
        {"\xe2\x80\xae" "evil\xe2\x80\xac\xe2\x80\xaa" "x\xe2\x80\xab\xe2\x80\xad", "evilx"}, // overrides, embeddings
        {"\xe2\x81\xa6" "iso\xe2\x81\xa9\xe2\x81\xa7\xe2\x81\xa8", "iso"},             // isolates
        {"排名 é \xe2\x80\x8f", "排名 é \xe2\x80\x8f"},                                  // text and marks stay
        {"\t\n", ""},
    };
    for (const auto& [name, clean] : cases) {
        EXPECT_EQ(CleanName(name), clean) << name;
    }
}

TEST_F(ScoreFileTest, NamesAreStoredCleanAndCutAfterwardsAndListedCleanWithoutRewriting) {
    Update(false, -1);
    Ui.Answer = "Eve\t\n\x1b[2J\xe2\x80\xae" "Lee";
    Update(true, 20);
    EXPECT_EQ(Stored()[0].Name, "Eve[2JLee");
    Ui.Answer = std::string(49, 'a') + "\t" + "名";
    Update(true, 30);
    EXPECT_EQ(Stored()[0].Name, std::string(49, 'a'));

    Bytes bytes = FileBytes();
    const auto raw = EncodeScoreEntry({"Row\nBreak\xe2\x81\xa6", 10});
    std::copy(raw.begin(), raw.end(), bytes.begin() + 33 + 56 * 2);
    WriteFile(bytes);
    Update(true, -1);
    EXPECT_EQ(Ui.Shown.back()[2].Name, "RowBreak");
    EXPECT_EQ(FileBytes(), bytes);
}

// Where the file is shared through a storage (the page's), each locked part is bracketed, what
// changed is stored, and the list is shown only after that.
TEST_F(ScoreFileTest, StorageBracketsEachLockedPartAndStoresBeforeTheListIsShown) {
    struct TLoggedStorage : IScoreStorage, IScoreListView {
        std::vector<std::string> Log;
        void BeginChange(std::function<void()> done) override {
            Log.push_back("begin");
            done();
        }
        void EndChange(bool changed, std::function<void()> done) override {
            Log.push_back(changed ? "store" : "end");
            done();
        }
        void ShowScoreList(const TScoreEntries&) override { Log.push_back("list"); }
    } storage;
    Ui.DuringPrompt = [&] { storage.Log.push_back("prompt"); };
    UpdateScores(true, 5, Ui, storage, Path, &storage); // the file is made first
    EXPECT_EQ(storage.Log, (std::vector<std::string>{"begin", "store", "prompt", "begin", "store", "list"}));
    storage.Log.clear();
    UpdateScores(true, -1, Ui, storage, Path, &storage);
    EXPECT_EQ(storage.Log, (std::vector<std::string>{"begin", "end", "list"}));
    storage.Log.clear();
    fs::remove(Path);
    fs::create_directory(Path);
    EXPECT_THROW(UpdateScores(true, 5, Ui, storage, Path, &storage), EFileOpenError);
    EXPECT_EQ(storage.Log, (std::vector<std::string>{"begin", "end"}));
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What a process running as user did and said on standard error; its code is body's answer.
struct AsUser {
    int Code = -1;
    std::string Said;
};
AsUser RunAs(const passwd& user, const std::function<int()>& body) {
    int out[2];
    if (::pipe(out) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDERR_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::umask(022);
        if (::setgroups(0, nullptr) != 0 || ::setgid(user.pw_gid) != 0 || ::setuid(user.pw_uid) != 0) {
            ::_exit(99);
        }
        ::_exit(body());
    }
    ::close(out[1]);
    AsUser result;
    char chunk[512];
    for (ssize_t got; (got = ::read(out[0], chunk, sizeof chunk)) > 0;) {
        result.Said.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(out[0]);
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.Code = WEXITSTATUS(status);
    }
    return result;
}

std::set<std::string> Listing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A shared folder with the sticky bit (as /tmp is), where a neighbour left something at the
// player's score file's path. What the player's start could not replace is never copied or
// written: one line names the file and the reason, and the start ends as for any score file that
// cannot be used, every time, with nothing new in the folder. The player's own damaged file there
// is reset as anywhere, its backup never writable by others. Needs root, to make the player (a
// second user) and act as them.
TEST(ScoreFileNeighbour, WhatTheStartCannotReplaceInAStickyFolderIsNeverCopiedOrWritten) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root: the player is a second user, made with useradd";
    }
    const char* const name = "pelmoravan-player";
    if (::getpwnam(name) == nullptr &&
        std::system("useradd --system --no-create-home --shell /usr/sbin/nologin pelmoravan-player >/dev/null 2>&1") != 0 &&
        ::getpwnam(name) == nullptr) {
        GTEST_SKIP() << "useradd could not make the user " << name;
    }
    const passwd player = *::getpwnam(name);
    const uid_t neighbour = player.pw_uid == 65534 ? 65533 : 65534;

    char made[] = "/tmp/pelmoravan-sticky-XXXXXX";
    ASSERT_NE(::mkdtemp(made), nullptr);
    const fs::path dir = made;
    ASSERT_EQ(::chmod(made, 01777), 0);
    const std::string path = (dir / ScoreFileName).string();
    const std::string named = "pelmoravan: Cannot open file \"" + path + "\". ";
    const auto start = [&] {
        return RunAs(player, [&] {
            const bool usable = TGameHost::CheckScoreFile(path, [](const std::string& message) {
                std::fprintf(stderr, "pelmoravan: %s\n", message.c_str());
            });
            return usable ? 0 : 1;
        });
    };
    const auto plant = [&](const fs::path& at, const std::string& bytes, uid_t owner) {
        std::ofstream(at, std::ios::binary) << bytes;
        ASSERT_EQ(::chown(at.c_str(), owner, owner), 0);
        ASSERT_EQ(::chmod(at.c_str(), 0666), 0);
    };
    const std::string notes = "a neighbour's notes, no score list\n";

    // A damaged file of the neighbour's, and a sparse one of 2 GiB.
    for (const bool huge : {false, true}) {
        SCOPED_TRACE(huge ? "2 GiB" : "small");
        plant(path, notes, neighbour);
        if (huge) {
            ASSERT_EQ(::truncate(path.c_str(), off_t{2} << 30), 0);
        }
        for (int again = 0; again < 2; ++again) {
            const AsUser run = start();
            EXPECT_EQ(run.Code, 1);
            EXPECT_EQ(run.Said.rfind(named, 0), 0u) << run.Said;
            EXPECT_NE(run.Said.find(huge ? "larger than 65536 bytes" : "Operation not permitted"), std::string::npos)
                << run.Said;
            EXPECT_EQ(std::count(run.Said.begin(), run.Said.end(), '\n'), 1) << run.Said;
            EXPECT_EQ(Listing(dir), std::set<std::string>{ScoreFileName});
        }
        EXPECT_EQ(fs::file_size(path), huge ? std::uintmax_t{2} << 30 : notes.size());
        fs::remove(path);
    }

    // A link of the neighbour's to a file of theirs: never written through, and, since it cannot
    // be replaced here, no line says it was.
    const fs::path theirs = dir / "notes.txt";
    plant(theirs, notes, neighbour);
    fs::create_symlink(theirs, path);
    ASSERT_EQ(::lchown(path.c_str(), neighbour, neighbour), 0);
    AsUser run = start();
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Said, "pelmoravan: Cannot create file \"" + path + "\". Operation not permitted\n");
    EXPECT_EQ(Listing(dir), (std::set<std::string>{ScoreFileName, "notes.txt"}));
    EXPECT_EQ(ReadAll(theirs), notes);
    fs::remove(path);
    fs::remove(theirs);

    // The player's own damaged file, world-writable: reset, its backup the player's and not.
    plant(path, notes, player.pw_uid);
    run = start();
    EXPECT_EQ(run.Code, 0) << run.Said;
    EXPECT_EQ(run.Said, "pelmoravan: \"" + path + "\" held no score list; its bytes are kept in \"" + path + ".bak\"\n");
    struct stat backup {};
    ASSERT_EQ(::stat((path + ".bak").c_str(), &backup), 0);
    EXPECT_EQ(backup.st_uid, player.pw_uid);
    EXPECT_EQ(backup.st_mode & 07777, 0644u);
    EXPECT_EQ(ReadAll(path + ".bak"), notes);
    EXPECT_EQ(fs::file_size(path), ScoreFileSize);

    // The player's own file far larger than a list: named, left as it is, nothing copied.
    fs::remove(path + ".bak");
    plant(path, std::string(70000, 'x'), player.pw_uid);
    run = start();
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Said.rfind(named + "It holds no score list and is larger than 65536 bytes", 0), 0u) << run.Said;
    EXPECT_EQ(Listing(dir), std::set<std::string>{ScoreFileName});
    EXPECT_EQ(fs::file_size(path), 70000u);
    fs::remove_all(dir);
}

} // namespace
} // namespace pelmoravan

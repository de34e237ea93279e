// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/game_host.h"
#include "shell/command_line.h"
#include "shell/data_dir.h"
#include "desktop/shell/qt_options.h"

namespace pelmoravan {
namespace {

using TAction = TCommandLine::TAction;
using Args = std::vector<std::string>;

TCommandLine Parse(const Args& args) { return ParseCommandLine(args, "/xdg", "/home/ann", QtOptions()); }

TEST(CommandLine, NoArgumentsKeepTheDefaultStart) {
    const TCommandLine line = Parse({});
    EXPECT_EQ(line.Action, TAction::Run);
    EXPECT_FALSE(line.Options.Language.has_value());
    EXPECT_EQ(line.Options.ScorePath(), "Pelmoravan.sco");
    EXPECT_EQ(TrackPath(line.Options), "back.MID");
    EXPECT_FALSE(line.Platform);
}

TEST(CommandLine, OptionsAndTheirValues) {
    struct Case {
        Args args;
        std::optional<std::uint8_t> language;
        std::string dataDir;
    };
    const std::vector<Case> cases = {
        {{"--language", "english"}, 1, ""},
        {{"--language=en"}, 1, ""},
        {{"--language", "zh"}, 0, ""},
        {{"--language", "Chinese", "--language", "EN"}, 1, ""}, // the last one wins
        {{"--data-dir", "a/b"}, std::nullopt, "a/b"},
        {{"--data-dir=/tmp/x y", "--language", "chinese"}, 0, "/tmp/x y"},
        {{"--xdg-data"}, std::nullopt, "/xdg/pelmoravan"},
    };
    for (const Case& c : cases) {
        const TCommandLine line = Parse(c.args);
        EXPECT_EQ(line.Action, TAction::Run) << c.args[0];
        EXPECT_EQ(line.Options.Language, c.language) << c.args[0];
        EXPECT_EQ(line.Options.DataDir, c.dataDir) << c.args[0];
    }
    EXPECT_EQ(Parse({"--data-dir", "d"}).Options.ScorePath(), "d/Pelmoravan.sco");
    EXPECT_FALSE(Parse({"--language", "en"}).Options.Seed.has_value()); // the clock's seeds
    EXPECT_EQ(Parse({"--seed", "0"}).Options.Seed, 0u);
    EXPECT_EQ(Parse({"--seed=4294967295"}).Options.Seed, 4294967295u);
    EXPECT_EQ(Parse({"--seed", "7", "--seed", "0042"}).Options.Seed, 42u);
    EXPECT_EQ(TrackPath(Parse({"--data-dir", "d/"}).Options), "d/back.MID");
}

TEST(CommandLine, XdgDataFallsBackToTheHomeFolder) {
    EXPECT_EQ(XdgDataDir("/data", "/home/ann"), "/data/pelmoravan");
    EXPECT_EQ(XdgDataDir(nullptr, "/home/ann"), "/home/ann/.local/share/pelmoravan");
    EXPECT_EQ(XdgDataDir("", "/home/ann"), "/home/ann/.local/share/pelmoravan");
    EXPECT_EQ(XdgDataDir("relative", "/home/ann"), "/home/ann/.local/share/pelmoravan");
    EXPECT_EQ(XdgDataDir(nullptr, nullptr), "");
    const TCommandLine line = ParseCommandLine({"--xdg-data"}, nullptr, nullptr);
    EXPECT_EQ(line.Action, TAction::Error);
    EXPECT_EQ(line.Error, "pelmoravan: option '--xdg-data' needs HOME or XDG_DATA_HOME; try --help");
}

// The start language a desktop's environment or a browser's first language gives.
TEST(CommandLine, TheLocaleChoosesTheStartLanguage) {
    const auto start = [](const char* all, const char* messages, const char* lang) {
        return LocaleLanguage(MessagesLocale(all, messages, lang));
    };
    EXPECT_EQ(start(nullptr, nullptr, "en_US.UTF-8"), 1);
    EXPECT_EQ(start(nullptr, nullptr, "zh_CN.UTF-8"), 0);
    EXPECT_EQ(start(nullptr, nullptr, "de_DE@euro"), 1);
    // The first that is set wins, an empty one counting as unset.
    EXPECT_EQ(start("zh_TW.UTF-8", "en_GB.UTF-8", "en_US.UTF-8"), 0);
    EXPECT_EQ(start("", "zh_HK", "en_US.UTF-8"), 0);
    EXPECT_EQ(start("fr_FR.UTF-8", nullptr, "zh_CN.UTF-8"), 1);
    EXPECT_EQ(start(nullptr, "", "ZH_sg"), 0);
    // C, POSIX and no locale keep the game's own start, Chinese.
    for (const char* neutral : {"C", "C.UTF-8", "POSIX", "c.utf8"}) {
        EXPECT_EQ(start(nullptr, nullptr, neutral), 0) << neutral;
    }
    EXPECT_EQ(start(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(start("", "", ""), 0);
    // Browser tags; "zhx" is another language, not Chinese.
    EXPECT_EQ(LocaleLanguage("zh-Hant-TW"), 0);
    EXPECT_EQ(LocaleLanguage("zh"), 0);
    EXPECT_EQ(LocaleLanguage("en-GB"), 1);
    EXPECT_EQ(LocaleLanguage("ja"), 1);
    EXPECT_EQ(LocaleLanguage("zhx"), 1);
}

TEST(CommandLine, HelpAndVersionAnswerFirst) {
    EXPECT_EQ(Parse({"--help"}).Action, TAction::Help);
    EXPECT_EQ(Parse({"-h", "--bogus"}).Action, TAction::Help);
    EXPECT_EQ(Parse({"--language", "en", "-v"}).Action, TAction::Version);
    EXPECT_EQ(Parse({"--version"}).Action, TAction::Version);
    EXPECT_EQ(Parse({"--bogus", "--help"}).Action, TAction::Error);
    EXPECT_EQ(VersionText(), "pelmoravan 2.2\n");
    const std::string usage = UsageText(QtOptions());
    for (const char* option : {"--help", "--version", "--language", "--data-dir", "--xdg-data", "--seed", "-platform"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

TEST(CommandLine, BadOptionsAreNamedOnOneLine) {
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--lang=en"}, "unknown option '--lang'"},
        {{"-x"}, "unknown option '-x'"},
        {{"level3"}, "unexpected argument 'level3'"},
        {{""}, "unexpected argument ''"}, // an empty "$VAR" from a launcher
        {{"--language", "french"}, "bad value 'french' for '--language' (chinese, english, zh or en)"},
        {{"--language"}, "option '--language' needs a value (chinese or english)"},
        {{"--data-dir"}, "option '--data-dir' needs a folder"},
        {{"--data-dir="}, "option '--data-dir' needs a folder"},
        {{"--help=yes"}, "option '--help' takes no value"},
        {{"--xdg-data=1"}, "option '--xdg-data' takes no value"},
        {{"--xdg-data", "--data-dir", "d"}, "options '--data-dir' and '--xdg-data' exclude each other"},
        {{"-platform"}, "option '-platform' needs a value"},
        {{"-platform", ""}, "option '-platform' needs a value"},
        {{"--display", ""}, "option '--display' needs a value"},
        {{"--seed"}, "option '--seed' needs a number"},
        {{"--seed", "4294967296"}, "bad value '4294967296' for '--seed' (a number from 0 to 4294967295)"},
        {{"--seed=-1"}, "bad value '-1' for '--seed' (a number from 0 to 4294967295)"},
        {{"--seed", "12x"}, "bad value '12x' for '--seed' (a number from 0 to 4294967295)"},
        {{"--seed", " 3"}, "bad value ' 3' for '--seed' (a number from 0 to 4294967295)"},
    };
    for (const auto& [args, what] : cases) {
        const TCommandLine line = Parse(args);
        EXPECT_EQ(line.Action, TAction::Error) << args[0];
        EXPECT_EQ(line.Error, "pelmoravan: " + what + "; try --help");
    }
}

TEST(CommandLine, QtOptionsPassWithTheirValues) {
    const TCommandLine line = Parse({"-platform", "offscreen", "-display", ":3", "-geometry", "800x600+0+0",
                                     "-style", "fusion", "-reverse", "-name", "x", "-title", "--help",
                                     "--language", "en"});
    EXPECT_EQ(line.Action, TAction::Run); // "--help" there is the title's value
    EXPECT_TRUE(line.Platform);
    EXPECT_EQ(line.Options.Language, 1);
    EXPECT_TRUE(Parse({"--platform", "xcb"}).Platform);
    EXPECT_FALSE(Parse({"-display", ":0"}).Platform);
}

TEST(DataDir, MadeWithItsParentsOrReportedWithTheReason) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "pelmoravan-data-dir-test";
    fs::remove_all(root);
    const std::string nested = (root / "a" / "b").string();
    EXPECT_EQ(MakeDataDir(nested), "");
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_EQ(MakeDataDir(nested), ""); // already there
    std::ofstream((root / "file").string()) << "x";
    EXPECT_EQ(MakeDataDir((root / "file").string()),
              "Cannot create folder \"" + (root / "file").string() + "\". Not a directory");
    EXPECT_EQ(MakeDataDir((root / "file" / "sub").string()),
              "Cannot create folder \"" + (root / "file" / "sub").string() + "\". Not a directory");
    fs::remove_all(root);
}

} // namespace
} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmoravan {

// How the game starts.
struct TStartOptions {
    // 0 Chinese, 1 English, applied as the Language commands do; none keeps the start-up texts.
    std::optional<std::uint8_t> Language;
    // The folder of the score file and the track file; empty: the working directory.
    std::string DataDir;
    // --seed N: the game's reseeds take N, N + 1, N + 2, ... instead of the clock, so that the
    // same N and the same moves give the same game. None: the clock, as always.
    std::optional<std::uint32_t> Seed;

    std::string ScorePath() const;
};

// What the command line asks for. The toolkit's own options are only noted.
struct TCommandLine {
    enum class TAction { Run, Help, Version, Error };
    TAction Action = TAction::Run;
    TStartOptions Options;
    // The toolkit's platform was named: no display variable is needed then.
    bool Platform = false;
    // With Error: the line for standard error, naming what was wrong.
    std::string Error;
};

// The options of the toolkit the window is made with. They reach the toolkit untouched; the
// game only steps over them. Names are without dashes: one dash and two both work.
struct TPlatformOptions {
    std::vector<std::string_view> WithValue;
    std::vector<std::string_view> Alone;
    // The option that picks the toolkit's platform: no display variable is needed with it.
    std::string_view NamesPlatform;
    // The lines --help gives them.
    std::string_view Usage;
};

// Reads the arguments after the program's name; the two variables are for --xdg-data. The first
// of a bad option, --help or --version decides; otherwise the last of a repeated option wins.
TCommandLine ParseCommandLine(const std::vector<std::string>& args, const char* xdgDataHome = nullptr,
                              const char* home = nullptr, const TPlatformOptions& platform = {});

// The text of --help and of --version, each ending with a new line.
std::string UsageText(const TPlatformOptions& platform = {});
std::string VersionText();

// The language a player starts in when no option names one, from a locale name: a Chinese one
// ("zh_CN.UTF-8", a browser's "zh-TW") gives 0, Chinese; any other named locale 1, English; C,
// POSIX (with or without a codeset) or none 0, the game's own start. The page hands in the
// browser's first language.
std::uint8_t LocaleLanguage(std::string_view locale);
// The locale the C library takes for messages: the first of LC_ALL, LC_MESSAGES and LANG that is
// set and not empty.
std::string_view MessagesLocale(const char* lcAll, const char* lcMessages, const char* lang);

// The folder --xdg-data names: $XDG_DATA_HOME/pelmoravan, or ~/.local/share/pelmoravan when that
// variable is unset, empty or not absolute. Empty when neither variable gives a folder.
std::string XdgDataDir(const char* xdgDataHome, const char* home);

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#include "shell/command_line.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "shell/data_dir.h"
#include "shell/score_file.h"
#include "shell/version.h"


namespace pelmoravan {
namespace {

bool Listed(const std::vector<std::string_view>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<std::uint8_t> LanguageNamed(const std::string& value) {
    const std::string name = Lower(value);
    if (name == "chinese" || name == "zh") {
        return 0;
    }
    if (name == "english" || name == "en") {
        return 1;
    }
    return std::nullopt;
}

// A whole decimal number from 0 to 4294967295, nothing else.
std::optional<std::uint32_t> SeedNamed(const std::string& value) {
    if (value.empty() || value.size() > 10 ||
        !std::all_of(value.begin(), value.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
        return std::nullopt;
    }
    const unsigned long long number = std::stoull(value);
    if (number > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(number);
}

TCommandLine Failed(std::string what) {
    TCommandLine line;
    line.Action = TCommandLine::TAction::Error;
    line.Error = "pelmoravan: " + std::move(what) + "; try --help";
    return line;
}

} // namespace

std::string TStartOptions::ScorePath() const { return DataFilePath(DataDir, ScoreFileName); }

TCommandLine ParseCommandLine(const std::vector<std::string>& args, const char* xdgDataHome,
                              const char* home, const TPlatformOptions& platform) {
    TCommandLine line;
    bool dataDirGiven = false;
    bool xdgData = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // --name=value or --name value.
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        auto takeValue = [&]() -> bool {
            if (!value && i + 1 < args.size()) {
                value = args[++i];
            }
            return value.has_value();
        };

        if (name == "--help" || name == "-h" || name == "--version" || name == "-v") {
            if (value) {
                return Failed("option '" + name + "' takes no value");
            }
            line.Action = name == "--help" || name == "-h" ? TCommandLine::TAction::Help
                                                           : TCommandLine::TAction::Version;
            return line;
        }
        if (name == "--language") {
            if (!takeValue()) {
                return Failed("option '--language' needs a value (chinese or english)");
            }
            line.Options.Language = LanguageNamed(*value);
            if (!line.Options.Language) {
                return Failed("bad value '" + *value + "' for '--language' (chinese, english, zh or en)");
            }
            continue;
        }
        if (name == "--seed") {
            if (!takeValue()) {
                return Failed("option '--seed' needs a number");
            }
            line.Options.Seed = SeedNamed(*value);
            if (!line.Options.Seed) {
                return Failed("bad value '" + *value + "' for '--seed' (a number from 0 to 4294967295)");
            }
            continue;
        }
        if (name == "--data-dir") {
            if (!takeValue() || value->empty()) {
                return Failed("option '--data-dir' needs a folder");
            }
            line.Options.DataDir = *value;
            dataDirGiven = true;
            continue;
        }
        if (name == "--xdg-data") {
            if (value) {
                return Failed("option '--xdg-data' takes no value");
            }
            xdgData = true;
            continue;
        }
        // The toolkit's options keep their whole spelling for it; here they are only stepped over.
        const std::string_view bare =
            std::string_view(arg).substr(std::min<std::size_t>(arg.size(), arg.rfind("--", 0) == 0 ? 2 : 1));
        if (arg.size() > 1 && arg[0] == '-' && Listed(platform.WithValue, bare)) {
            // An empty value (an unset "$VAR") would reach the toolkit as no choice at all.
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return Failed("option '" + arg + "' needs a value");
            }
            ++i;
            line.Platform = line.Platform || bare == platform.NamesPlatform;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-' && Listed(platform.Alone, bare)) {
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            return Failed("unknown option '" + name + "'");
        }
        return Failed("unexpected argument '" + arg + "'");
    }
    if (dataDirGiven && xdgData) {
        return Failed("options '--data-dir' and '--xdg-data' exclude each other");
    }
    if (xdgData) {
        line.Options.DataDir = XdgDataDir(xdgDataHome, home);
        if (line.Options.DataDir.empty()) {
            return Failed("option '--xdg-data' needs HOME or XDG_DATA_HOME");
        }
    }
    return line;
}

std::string UsageText(const TPlatformOptions& platform) {
    std::string text = "Usage: pelmoravan [OPTION]...\n"
           "A tile-matching puzzle: clear the board by linking pairs of equal tiles.\n"
           "\n"
           "  -h, --help             show this help and exit\n"
           "  -v, --version          show the version and exit\n"
           "      --language LANG    start in LANG: chinese (zh) or english (en); without it,\n"
           "                         the locale's: Chinese for a zh locale, C, POSIX or none\n"
           "                         (LC_ALL, LC_MESSAGES, LANG), English for any other\n"
           "      --data-dir DIR     keep Pelmoravan.sco and back.MID in DIR, made if missing,\n"
           "                         instead of the working directory\n"
           "      --xdg-data         keep them in $XDG_DATA_HOME/pelmoravan\n"
           "                         (~/.local/share/pelmoravan when that is unset)\n"
           "      --seed N           deal from N (0 to 4294967295) instead of the clock:\n"
           "                         the same N and the same moves give the same game\n"
           "\n";
    if (!platform.Usage.empty()) {
        text.append(platform.Usage).append("\n");
    }
    return text +
           "Exit status: 0 when the game ends, 1 when a file or folder of the game cannot be\n"
           "made, opened, read or written or no display is found, 2 for a bad option.\n";
}

std::string VersionText() { return std::string("pelmoravan ") + GameVersion + "\n"; }

std::uint8_t LocaleLanguage(std::string_view locale) {
    // The language part: up to the territory, codeset or modifier ("en_GB.UTF-8@euro", "zh-Hant").
    const std::string language = Lower(std::string(locale.substr(0, locale.find_first_of("_-.@"))));
    if (language.empty() || language == "c" || language == "posix" || language == "zh") {
        return 0;
    }
    return 1;
}

std::string_view MessagesLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

std::string XdgDataDir(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + "/pelmoravan";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share/pelmoravan";
    }
    return {};
}

} // namespace pelmoravan

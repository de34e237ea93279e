#include "shell/score_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "media/binary_file.h"
#include "shell/score_backup.h"

namespace pelmoravan {
namespace {

constexpr std::size_t ShortStringField = 11; // length byte and ten characters

void PutShortString(std::uint8_t* field, const std::string& text) {
    field[0] = static_cast<std::uint8_t>(text.size());
    std::memcpy(field + 1, text.data(), text.size());
}

// A cut in the middle of a multi-byte character leaves a lead byte without all of its
// continuation bytes at the end; drop that partial character.
void DropIncompleteTail(std::string& text) {
    std::size_t lead = text.size();
    int continuations = 0;
    while (lead > 0 && continuations < 4) {
        const auto byte = static_cast<unsigned char>(text[lead - 1]);
        if ((byte & 0xC0) != 0x80) {
            break;
        }
        --lead;
        ++continuations;
    }
    if (lead == 0) {
        return;
    }
    const auto first = static_cast<unsigned char>(text[lead - 1]);
    int needed = 0;
    if ((first & 0xE0) == 0xC0) {
        needed = 1;
    } else if ((first & 0xF0) == 0xE0) {
        needed = 2;
    } else if ((first & 0xF8) == 0xF0) {
        needed = 3;
    }
    if (needed > continuations) {
        text.erase(lead - 1);
    }
}

std::vector<std::uint8_t> EmptyFileBytes() {
    std::vector<std::uint8_t> bytes(ScoreFileSize, 0);
    const auto header = EncodeScoreHeader();
    std::copy(header.begin(), header.end(), bytes.begin());
    const auto empty = EncodeScoreEntry({});
    for (std::size_t i = 0; i < ScoreEntryCount; ++i) {
        std::copy(empty.begin(), empty.end(), bytes.begin() + ScoreHeaderSize + i * ScoreEntrySize);
    }
    return bytes;
}

} // namespace

std::array<std::uint8_t, ScoreHeaderSize> EncodeScoreHeader() {
    std::array<std::uint8_t, ScoreHeaderSize> header{};
    PutShortString(header.data(), "Pelmoravan");
    PutShortString(header.data() + ShortStringField, "V2.0");
    PutShortString(header.data() + 2 * ShortStringField, "qorbent");
    return header;
}

bool HasScoreTag(const std::uint8_t* header, std::size_t size) {
    if (size < ShortStringField) {
        return false;
    }
    const auto expected = EncodeScoreHeader();
    return std::equal(header, header + ShortStringField, expected.begin());
}

std::array<std::uint8_t, ScoreEntrySize> EncodeScoreEntry(const TScoreEntry& entry) {
    std::array<std::uint8_t, ScoreEntrySize> bytes{};
    PutShortString(bytes.data(), FitName(entry.Name));
    const auto score = static_cast<std::uint32_t>(entry.Score);
    for (int i = 0; i < 4; ++i) {
        bytes[52 + i] = static_cast<std::uint8_t>(score >> (8 * i));
    }
    return bytes;
}

TScoreEntry DecodeScoreEntry(const std::uint8_t* bytes) {
    TScoreEntry entry;
    const std::size_t length = std::min<std::size_t>(bytes[0], ScoreNameCapacity);
    entry.Name.assign(reinterpret_cast<const char*>(bytes + 1), length);
    if (bytes[0] > ScoreNameCapacity) {
        DropIncompleteTail(entry.Name);
    }
    std::uint32_t score = 0;
    for (int i = 0; i < 4; ++i) {
        score |= static_cast<std::uint32_t>(bytes[52 + i]) << (8 * i);
    }
    entry.Score = static_cast<std::int32_t>(score);
    return entry;
}

std::string FitName(const std::string& name, std::size_t capacity) {
    if (name.size() <= capacity) {
        return name;
    }
    std::string cut = name.substr(0, capacity);
    DropIncompleteTail(cut);
    return cut;
}

int ScoreRank(const TScoreEntries& entries, std::int32_t score) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].Score <= score) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

void InsertScore(TScoreEntries& entries, int rank, TScoreEntry entry) {
    const auto at = static_cast<std::size_t>(rank - 1);
    for (std::size_t i = entries.size() - 1; i > at; --i) {
        entries[i] = entries[i - 1];
    }
    entries[at] = std::move(entry);
}

std::optional<TScoreEntries> DecodeScoreFile(const std::uint8_t* bytes, std::size_t size) {
    if (!HasScoreTag(bytes, size)) {
        return std::nullopt;
    }
    TScoreEntries entries{};
    for (std::size_t i = 0; i < ScoreEntryCount; ++i) {
        const std::size_t at = ScoreHeaderSize + i * ScoreEntrySize;
        if (at + ScoreEntrySize <= size) {
            entries[i] = DecodeScoreEntry(bytes + at);
        }
    }
    return entries;
}

std::string CleanName(const std::string& name) {
    std::string clean;
    clean.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const auto next = [&](std::size_t k) {
            return i + k < name.size() ? static_cast<unsigned char>(name[i + k]) : 0;
        };
        if (byte < 0x20 || byte == 0x7F) {
            continue; // C0 controls and DEL
        }
        if (byte == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F) {
            ++i; // C1 controls, U+0080..U+009F
            continue;
        }
        // Embeddings and overrides U+202A..U+202E, isolates U+2066..U+2069: they would turn the
        // rows after them around in the list.
        if (byte == 0xE2 && ((next(1) == 0x80 && next(2) >= 0xAA && next(2) <= 0xAE) ||
                             (next(1) == 0x81 && next(2) >= 0xA6 && next(2) <= 0xA9))) {
            i += 2;
            continue;
        }
        clean += name[i];
    }
    return clean;
}

namespace {

// Opens the file at path, made if missing, and waits for its lock. A file replaced or removed
// while this copy waited is let go and the path opened again, so that what is written lands in
// the file the path names.
void OpenLocked(std::optional<TBinaryFile>& file, const std::string& path) {
    for (;;) {
        file.emplace(path, TFileMode::OpenOrCreate);
        file->Lock();
        if (file->IsAt(path)) {
            return;
        }
        file.reset();
    }
}

// The ten entries of the open file. A made file, or one with a wrong tag, becomes an empty
// list first (reset then tells so); a wrongly tagged one that held any bytes is backed up
// beside path.
TScoreEntries ReadOrReset(TBinaryFile& file, const std::string& path, bool& reset) {
    std::array<std::uint8_t, ScoreFileSize> bytes{};
    const std::size_t got = file.Read(bytes.data(), bytes.size());
    reset = false;
    if (std::optional<TScoreEntries> entries = DecodeScoreFile(bytes.data(), got)) {
        return *entries;
    }
    reset = true;
    // A file of someone else's, or a damaged one: start an empty list over it, but keep its
    // bytes first. Without a full copy nothing is overwritten.
    if (got > 0) {
        const std::string backup = BackUpFile(file, path);
        std::fprintf(stderr, "pelmoravan: \"%s\" held no score list; its bytes are kept in \"%s\"\n",
                     path.c_str(), backup.c_str());
        std::fflush(stderr);
    }
    const auto empty = EmptyFileBytes();
    file.Seek(0);
    file.WriteBuffer(empty.data(), empty.size());
    // Whatever stood past the list in the foreign file goes too.
    file.Truncate(ScoreFileSize);
    return TScoreEntries{};
}

// One locked part under the storage's brackets; an error ends it unchanged.
class TChange {
public:
    explicit TChange(IScoreStorage* storage) : FStorage(storage) {
        if (FStorage != nullptr) {
            FStorage->BeginChange();
        }
    }
    ~TChange() {
        if (FStorage != nullptr) {
            FStorage->EndChange(false);
        }
    }
    TChange(const TChange&) = delete;
    TChange& operator=(const TChange&) = delete;
    void End(bool changed) {
        IScoreStorage* storage = std::exchange(FStorage, nullptr);
        if (storage != nullptr) {
            storage->EndChange(changed);
        }
    }

private:
    IScoreStorage* FStorage;
};

// The list as shown: names without the characters that would garble a row. The file keeps
// what it holds.
TScoreEntries Shown(TScoreEntries entries) {
    for (TScoreEntry& entry : entries) {
        entry.Name = CleanName(entry.Name);
    }
    return entries;
}

} // namespace

void UpdateScores(bool enter, std::int32_t score, INamePrompt& prompt, IScoreListView& list,
                  const std::string& path, IScoreStorage* storage) {
    // The file is open only while this copy holds its lock, never across a dialog: another copy
    // of the game may record into it meanwhile, or the file may be replaced.
    std::optional<TBinaryFile> file;
    TScoreEntries entries;
    {
        TChange change(storage);
        OpenLocked(file, path);
        bool reset = false;
        entries = ReadOrReset(*file, path, reset);
        file->Close();
        change.End(reset);
    }
    if (!enter) {
        return;
    }
    if (score == -1) {
        list.ShowScoreList(Shown(entries));
        return;
    }
    const int offered = ScoreRank(entries, score);
    if (offered == 0) {
        return;
    }
    const std::optional<std::string> answer =
        prompt.InputName("No." + std::to_string(offered), "Please Input Your Name:", "Default User");
    const std::string name = FitName(CleanName(answer.value_or("Default User")));

    // Placed against the list as it is now, which may have changed during the prompt.
    {
        TChange change(storage);
        OpenLocked(file, path);
        bool changed = false;
        entries = ReadOrReset(*file, path, changed);
        if (const int rank = ScoreRank(entries, score); rank != 0) {
            InsertScore(entries, rank, {name, score});
            std::vector<std::uint8_t> out;
            out.reserve(ScoreEntryCount * ScoreEntrySize);
            for (const TScoreEntry& entry : entries) {
                const auto encoded = EncodeScoreEntry(entry);
                out.insert(out.end(), encoded.begin(), encoded.end());
            }
            file->Seek(static_cast<std::int64_t>(ScoreHeaderSize));
            file->WriteBuffer(out.data(), out.size());
            changed = true;
        }
        file->Close();
        change.End(changed);
    }
    list.ShowScoreList(Shown(entries));
}

} // namespace pelmoravan

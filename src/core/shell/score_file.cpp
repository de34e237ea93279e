// SPDX-License-Identifier: MIT
#include "shell/score_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#if defined(__linux__)
#include <sys/vfs.h>
#endif
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include "media/binary_file.h"
#include "shell/data_dir.h"
#include "shell/language_tables.h"
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

using TClock = std::chrono::steady_clock;
constexpr int LockRetryMs = 100;
constexpr auto LockPatience = std::chrono::seconds(1);

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void CannotOpen(const std::string& path, const std::string& reason) {
    throw EFileOpenError("Cannot open file \"" + path + "\". " + reason);
}
[[noreturn]] void CannotCreate(const std::string& path, const std::string& reason) {
    throw EFileCreateError("Cannot create file \"" + path + "\". " + reason);
}

void Say(const std::string& line) {
    std::fprintf(stderr, "pelmoravan: %s\n", line.c_str());
    std::fflush(stderr);
}

// Takes the file's lock without ever blocking on it. Patient (the start's check, before any
// window runs): tried again every 100 ms for a second, then EScoreFileBusy. Otherwise false at
// once when another copy holds it: the caller tries again on a later tick.
bool TakeLock(TBinaryFile& file, bool patient) {
    if (file.TryLock()) {
        return true;
    }
    if (!patient) {
        return false;
    }
    const TClock::time_point start = TClock::now();
    while (TClock::now() - start < LockPatience) {
        std::this_thread::sleep_for(std::chrono::milliseconds(LockRetryMs));
        if (file.TryLock()) {
            return true;
        }
    }
    throw EScoreFileBusy("another copy of the game holds the lock of \"" + file.Path() + "\"");
}

// The folder of path when it has gone (removed while the game ran): made again, as at the
// start, so that the score goes in.
void MakeFolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (folder.empty() || std::filesystem::exists(folder, error)) {
        return;
    }
    if (const std::string failed = MakeDataDir(folder.string()); !failed.empty()) {
        throw EFileCreateError(failed);
    }
}

// An empty list written beside path, locked (nobody else knows its name yet) and moved into
// place: over what is there with replace, else only where nothing is (nullopt when something
// appeared meanwhile). A failed write leaves path as it was.
std::optional<TBinaryFile> PlaceEmptyList(const std::string& path, bool replace) {
    const auto empty = EmptyFileBytes();
    TFileBeside made = WriteBeside(path, empty.data(), empty.size(), true);
    TBinaryFile file(made.Fd, path);
    file.TryLock();
    int error = 0;
    if (replace) {
        error = ::rename(made.Name.c_str(), path.c_str()) == 0 ? 0 : errno;
    } else {
        // link() fails where a file appeared meanwhile; a file system without hard links gets
        // the nearest thing.
        error = ::link(made.Name.c_str(), path.c_str()) == 0 ? 0 : errno;
        if (error == EPERM || error == ENOSYS || error == EOPNOTSUPP || error == EMLINK) {
            struct stat there {};
            error = ::lstat(path.c_str(), &there) == 0                    ? EEXIST
                    : ::rename(made.Name.c_str(), path.c_str()) == 0 ? 0
                                                                          : errno;
        }
    }
    ::unlink(made.Name.c_str());
    if (error == EEXIST && !replace) {
        return std::nullopt;
    }
    if (error != 0) {
        CannotCreate(path, Reason(error));
    }
    return file;
}

// Opens path for reading and writing without following a link, or the target of a link with
// follow; only a regular file. Empty when something else took the path's place meanwhile.
std::optional<TBinaryFile> OpenRegular(const std::string& path, bool follow) {
    // Non-blocking only for the open itself: a FIFO that slipped in is refused below instead
    // of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        if (errno == ELOOP || errno == ENOENT) {
            return std::nullopt;
        }
        CannotOpen(path, Reason(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        CannotOpen(path, "Not a regular file");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::optional<TBinaryFile>(std::in_place, fd, path);
}

// The first bytes of the file, up to a whole list.
std::optional<TScoreEntries> ReadList(TBinaryFile& file, std::size_t& got) {
    std::array<std::uint8_t, ScoreFileSize> bytes{};
    got = file.Read(bytes.data(), bytes.size());
    return DecodeScoreFile(bytes.data(), got);
}

std::string LinkTarget(const std::string& path) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    return error ? std::string("?") : target.string();
}

// The largest file that is copied to a backup and reset: far above a list's 593 bytes, far
// below what would stall the start or fill the disk.
constexpr off_t LargestKeptFile = 65536;

// True for the kernel's own files (procfs, sysfs): they pass for regular files, but their sizes
// say nothing of what they hold, and reading or writing some does something.
bool OnKernelFiles(int fd) {
#if defined(__linux__)
    constexpr unsigned long ProcFiles = 0x9fa0;
    constexpr unsigned long SysFiles = 0x62656572;
    struct statfs where {};
    if (::fstatfs(fd, &where) != 0) {
        return true; // nothing known of it: not a list to write through a link to
    }
    const auto type = static_cast<unsigned long>(where.f_type);
    return type == ProcFiles || type == SysFiles;
#else
    static_cast<void>(fd);
    return false;
#endif
}

// What a link is followed to: a regular file of exactly a list's size.
bool ListSized(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_size == static_cast<off_t>(ScoreFileSize);
}

// Zero when this user may put a new file in path's place, over the file there (described by
// file): the folder lets it write, and a sticky folder only lets the file's or the folder's
// owner do so. Else the system's reason why not.
int CannotReplace(const std::string& path, const struct stat& file) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || ::access(folder.c_str(), W_OK | X_OK) != 0) {
        return errno;
    }
    const uid_t user = ::geteuid();
    if ((info.st_mode & S_ISVTX) != 0 && user != 0 && file.st_uid != user && info.st_uid != user) {
        return EPERM;
    }
    return 0;
}

// The score file open and locked, with its list, made or reset to an empty one first when
// needed (then changed is set).
struct TOpenList {
    std::optional<TBinaryFile> File;
    TScoreEntries Entries{};
    bool Changed = false;
};

// A file of someone else's, or a damaged one, at path (open and locked): reset to an empty list,
// its bytes kept in a backup first. Nothing is written where the reset could not follow (a
// folder that does not let this user replace the file, such as another user's file in a
// sticky folder) or where the copy could fill the disk: the file is then left as it is and
// cannot be used. A backup whose reset failed is removed again, so that every start does not
// leave another one.
TBinaryFile ResetList(TBinaryFile& file, const std::string& path) {
    struct stat info {};
    if (::fstat(file.Descriptor(), &info) != 0) {
        CannotOpen(path, Reason(errno));
    }
    if (info.st_size > LargestKeptFile) {
        CannotOpen(path, "It holds no score list and is larger than " + std::to_string(LargestKeptFile) +
                             " bytes; it is left as it is");
    }
    if (const int refused = CannotReplace(path, info); refused != 0) {
        CannotOpen(path, "It holds no score list and cannot be replaced (" + Reason(refused) + "); it is left as it is");
    }
    std::string backup;
    if (info.st_size > 0) {
        backup = BackUpFile(file, path, info.st_mode);
    }
    std::optional<TBinaryFile> reset = [&] {
        try {
            return PlaceEmptyList(path, true);
        } catch (...) {
            if (!backup.empty()) {
                ::unlink(backup.c_str());
            }
            throw;
        }
    }();
    if (!backup.empty()) {
        Say("\"" + path + "\" held no score list; its bytes are kept in \"" + backup + "\"");
    }
    return std::move(*reset);
}

// Opens the score file at path under its lock: the file path names once the lock is taken,
// made when missing, reset when damaged, put in place of a link that is not to a score list.
// Empty when another copy holds the lock and patient is not set.
std::optional<TOpenList> OpenLocked(const std::string& path, bool patient) {
    for (;;) {
        struct stat there {};
        if (::lstat(path.c_str(), &there) != 0) {
            if (errno != ENOENT) {
                CannotCreate(path, Reason(errno));
            }
            MakeFolderOf(path);
            if (std::optional<TBinaryFile> made = PlaceEmptyList(path, false)) {
                if (made->IsAt(path, false)) {
                    return TOpenList{std::move(made), {}, true};
                }
            }
            continue;
        }
        if (S_ISDIR(there.st_mode)) {
            CannotOpen(path, Reason(EISDIR));
        }
        if (!S_ISREG(there.st_mode) && !S_ISLNK(there.st_mode)) {
            CannotOpen(path, "Not a regular file"); // a FIFO, socket or device: never opened
        }
        const bool link = S_ISLNK(there.st_mode);
        struct stat target {};
        std::optional<TBinaryFile> file;
        // A link is opened only when its target could be a list: the kernel's files (a link to
        // the game's own memory) and anything of another size are never opened through one.
        if (!link || (::stat(path.c_str(), &target) == 0 && ListSized(target))) {
            try {
                if (std::optional<TBinaryFile> opened = OpenRegular(path, link)) {
                    file.emplace(std::move(*opened));
                }
            } catch (const EFileOpenError&) {
                if (!link) {
                    throw;
                }
                // A target this game cannot open holds no list it could use.
            }
            if (!file && !link) {
                continue;
            }
            struct stat opened {};
            if (file && link &&
                (::fstat(file->Descriptor(), &opened) != 0 || !ListSized(opened) || OnKernelFiles(file->Descriptor()))) {
                file.reset();
            }
        }
        if (file) {
            if (!TakeLock(*file, patient)) {
                return std::nullopt;
            }
            if (!file->IsAt(path, link)) {
                continue; // replaced or removed while this copy waited
            }
            std::size_t got = 0;
            if (std::optional<TScoreEntries> entries = ReadList(*file, got)) {
                return TOpenList{std::move(file), *entries, false};
            }
            if (!link) {
                return TOpenList{ResetList(*file, path), {}, true};
            }
            file.reset();
        }
        // A link to anything but a score list is never written through: a dangling one would
        // make its target, others would overwrite or copy a file the player did not mean.
        const std::string pointsTo = LinkTarget(path);
        std::optional<TBinaryFile> made = PlaceEmptyList(path, true);
        Say("\"" + path + "\" is a link to \"" + pointsTo +
            "\", which holds no score list; a new score file takes the link's place and the target is left as it is");
        if (made->IsAt(path, false)) {
            return TOpenList{std::move(made), {}, true};
        }
    }
}

// The list as shown: names without the characters that would garble a row. The file keeps
// what it holds.
TScoreEntries Shown(TScoreEntries entries) {
    for (TScoreEntry& entry : entries) {
        entry.Name = CleanName(entry.Name);
    }
    return entries;
}

} // namespace

TScoreEntries ShownScores(TScoreEntries entries) { return Shown(std::move(entries)); }

std::optional<TScoreStep> ReadScores(const std::string& path, bool patient) {
    if (patient) {
        RemoveStaleTemporaries(path); // left by a copy of the game killed while writing
    }
    std::optional<TOpenList> open = OpenLocked(path, patient);
    if (!open) {
        return std::nullopt;
    }
    open->File->Close();
    return TScoreStep{open->Entries, open->Changed};
}

std::optional<TScoreStep> RecordScore(const std::string& path, std::int32_t score, const std::string& name) {
    std::optional<TOpenList> open = OpenLocked(path, false);
    if (!open) {
        return std::nullopt;
    }
    TScoreStep step{open->Entries, open->Changed};
    // Placed against the list as it is now, which may have changed while the player typed.
    if (const int rank = ScoreRank(step.Entries, score); rank != 0) {
        InsertScore(step.Entries, rank, {FitName(CleanName(name)), score});
        std::vector<std::uint8_t> out;
        out.reserve(ScoreEntryCount * ScoreEntrySize);
        for (const TScoreEntry& entry : step.Entries) {
            const auto encoded = EncodeScoreEntry(entry);
            out.insert(out.end(), encoded.begin(), encoded.end());
        }
        open->File->Seek(static_cast<std::int64_t>(ScoreHeaderSize));
        open->File->WriteBuffer(out.data(), out.size());
        step.Changed = true;
    }
    open->File->Close();
    return step;
}

} // namespace pelmoravan

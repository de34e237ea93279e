// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "media/binary_file.h"

namespace pelmoravan {

// The best-score file: a 33-byte header and ten 56-byte entries, rank 1 first, little-endian.
inline constexpr const char* ScoreFileName = "Pelmoravan.sco";
inline constexpr std::size_t ScoreHeaderSize = 33;
inline constexpr std::size_t ScoreEntrySize = 56;
inline constexpr std::size_t ScoreEntryCount = 10;
inline constexpr std::size_t ScoreFileSize = ScoreHeaderSize + ScoreEntryCount * ScoreEntrySize;
inline constexpr std::size_t ScoreNameCapacity = 50; // bytes of UTF-8

struct TScoreEntry {
    std::string Name;
    std::int32_t Score = 0;
    bool operator==(const TScoreEntry&) const = default;
};
using TScoreEntries = std::array<TScoreEntry, ScoreEntryCount>; // [0] is rank 1

// The lock was not free within a second and nobody could be asked to wait longer. A file
// error like any other to a caller that does not look for it.
class EScoreFileBusy : public EFileError {
public:
    using EFileError::EFileError;
};

// --- the byte layout ---
std::array<std::uint8_t, ScoreHeaderSize> EncodeScoreHeader();
// Accepted when the first 11 bytes are the length 10 and the tag; version and author are free.
bool HasScoreTag(const std::uint8_t* header, std::size_t size);
std::array<std::uint8_t, ScoreEntrySize> EncodeScoreEntry(const TScoreEntry& entry);
TScoreEntry DecodeScoreEntry(const std::uint8_t* bytes);

// The longest prefix of a UTF-8 name that fits in capacity bytes without splitting a character.
std::string FitName(const std::string& name, std::size_t capacity = ScoreNameCapacity);

// The name without C0 and C1 controls, DEL and the bidirectional embedding, override and
// isolate characters, which would break or turn around a row of the list.
std::string CleanName(const std::string& name);

// The rank (1..10) a score takes, or 0 when every stored score is greater. A score equal to a
// stored one goes ahead of it: the list stays descending and the older equal entry moves down.
int ScoreRank(const TScoreEntries& entries, std::int32_t score);
// Puts the entry at rank, moving the entries below it down; the last one drops off.
void InsertScore(TScoreEntries& entries, int rank, TScoreEntry entry);

// The ten entries of a file's first size bytes, or nullopt when its tag is wrong. An entry that
// the bytes do not hold completely (a short file) reads as empty.
std::optional<TScoreEntries> DecodeScoreFile(const std::uint8_t* bytes, std::size_t size);

// The list as shown: names without the characters CleanName leaves out. The file keeps what it
// holds.
TScoreEntries ShownScores(TScoreEntries entries);

// One locked step on the score file at path: its list, and whether the step changed the file.
struct TScoreStep {
    TScoreEntries Entries{};
    bool Changed = false;
};

// The file's list, under its exclusive lock (flock). A missing file (and a missing folder of
// it) is made and a wrongly tagged one reset to an empty list (Changed). A made or reset file is
// written beside path and moved into place, so that a failed write leaves the path as it was;
// a missing file never replaces one that appeared meanwhile. A reset file that held any bytes
// is first copied whole to a backup beside path with its own permissions (one line on standard
// error names it).
// A reset file that held any bytes is copied with its permissions less the umask, never
// writable by others, and the line comes once the reset is done. Nothing is copied or reset
// where the reset could not follow (a folder that does not let this user replace the file, such
// as another user's file in a sticky folder), nor a file over 65,536 bytes: such a file is left
// as it is and cannot be used (EFileOpenError naming it and why).
// A symbolic link at path is followed only to a score list: a regular file of exactly 593
// bytes, not one of the kernel's (procfs, sysfs), holding a list. Any other link is never
// written through: a new file takes its place, its target stays as it is, and one line on
// standard error names both once it did.
// The lock is never waited for in one piece: nullopt at once when another copy holds it, and
// the caller tries again later. Patient (only before any window runs: the start's check), it is
// tried every 100 ms for a second, then EScoreFileBusy is thrown; it first removes the files a
// copy killed while writing left half-written beside path (RemoveStaleTemporaries).
// File errors (EFileError) go to the caller: a path that is no regular file, a backup that
// cannot be written (then nothing is reset), a failed read or write.
std::optional<TScoreStep> ReadScores(const std::string& path, bool patient = false);

// Records score under name (stored without the characters CleanName leaves out, cut to the
// field) at the rank it takes in the list as it is now, when it takes one; the file as for
// ReadScores. Nullopt when another copy holds the lock.
std::optional<TScoreStep> RecordScore(const std::string& path, std::int32_t score, const std::string& name);

} // namespace pelmoravan

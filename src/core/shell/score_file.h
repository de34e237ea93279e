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

// The modal name prompt; nullopt when the player cancels.
class INamePrompt {
public:
    virtual ~INamePrompt() = default;
    virtual std::optional<std::string> InputName(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& preset) = 0;
};

// The modal list of the ten entries.
class IScoreListView {
public:
    virtual ~IScoreListView() = default;
    virtual void ShowScoreList(const TScoreEntries& entries) = 0;
};

// Brackets each locked read, change and write of the file where it is shared through more than
// the file system (the page's storage, which other tabs of the page share).
class IScoreStorage {
public:
    virtual ~IScoreStorage() = default;
    // Before the file is opened: take the lock the other sharers take, and bring the file up to
    // date from the storage.
    virtual void BeginChange() = 0;
    // After the file is closed: store it when it changed, then let the lock go. Called with
    // changed false when an error ended the change.
    virtual void EndChange(bool changed) = 0;
};

// What the window does while another copy of the game holds the score file's lock. The rule
// (try again every 100 ms, the box after a second, Cancel) is UpdateScores'; the window only
// runs, shows and closes.
class IScoreLockWait {
public:
    virtual ~IScoreLockWait() = default;
    // Lets the window run for about ms milliseconds: it draws, ticks and reads keys, and comes
    // back early when the box below is answered. False when the program is ending meanwhile.
    virtual bool RunFor(int ms) = 0;
    // A modal box with text and a Cancel button, shown without waiting for the answer.
    virtual void ShowBusy(const std::string& text) = 0;
    // True once the player chose Cancel in that box (Esc too).
    virtual bool BusyCancelled() = 0;
    // Closes that box: the lock came free.
    virtual void CloseBusy() = 0;
    // A modal message, waited for.
    virtual void TellNotRecorded(const std::string& text) = 0;
    // The language of the box's texts: 1 English, anything else Chinese.
    virtual std::uint8_t Language() const = 0;
};

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

// Makes sure the file exists with the right tag (enter false), shows the list (enter true and
// score -1), or records a score that reaches the list under the player's name and shows the
// list. A missing file (and a missing folder of it) is made and a wrongly tagged one reset to
// an empty list, which then goes on to be shown or recorded into (enter true). A made or reset
// file is written beside path and moved into place, so that a failed write leaves the path as
// it was; a missing file never replaces one that appeared meanwhile. A reset file that held
// any bytes is first copied whole to a backup beside path with its own permissions, less the
// umask and never writable by others (one line on standard error names it once the reset is
// done). Nothing is copied or reset where the reset could not follow (a folder that does not
// let this user replace the file, such as another user's file in a sticky folder), nor a file
// over 65,536 bytes: such a file is left as it is and cannot be used (EFileOpenError naming it
// and why).
// A symbolic link at path is followed only to a score list: a regular file of exactly 593
// bytes, not one of the kernel's (procfs, sysfs), holding a list. Any other link is never
// written through: a new file takes its place, its target stays as it is, and one line on
// standard error names both once it did.
// At the start-up check (enter false), the files a killed copy left half-written beside path
// are removed first (RemoveStaleTemporaries).
// The file is read and written under an exclusive lock (flock) and closed while the player
// answers the prompt: the score is then placed against the list as it is after the answer,
// the prompt's rank being the one found before it. Names are stored without the characters
// CleanName leaves out, and listed so.
// The lock is never waited for in one piece. With wait, the window runs while the lock is
// tried again every 100 ms; after a second it shows a box, whose Cancel gives up the call
// (a score is then not recorded, and the window says so). Without wait, the lock is tried for
// a second, then EScoreFileBusy is thrown.
// File errors (EFileError) go to the caller: a path that is no regular file, a backup that
// cannot be written (then nothing is reset), a failed read or write.
// With storage, each locked part is bracketed by its BeginChange and EndChange, and the list
// is shown only once what changed is stored.
void UpdateScores(bool enter, std::int32_t score, INamePrompt& prompt, IScoreListView& list,
                  const std::string& path = ScoreFileName, IScoreStorage* storage = nullptr,
                  IScoreLockWait* wait = nullptr);

} // namespace pelmoravan

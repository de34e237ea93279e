// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace pelmoravan {

// Errors of the file layer. Their texts are what the player sees in a message box; the detail
// is the line for standard error, naming the file and the system's reason where the text
// does not ("Stream write error").
class EFileError : public std::runtime_error {
public:
    explicit EFileError(const std::string& text, std::string detail = {})
        : std::runtime_error(text), FDetail(detail.empty() ? text : std::move(detail)) {}
    const std::string& Detail() const { return FDetail; }

private:
    std::string FDetail;
};
class EFileCreateError : public EFileError {
public:
    using EFileError::EFileError;
};
class EFileOpenError : public EFileError {
public:
    using EFileError::EFileError;
};
class EFileWriteError : public EFileError {
public:
    using EFileError::EFileError;
};
class EFileReadError : public EFileError {
public:
    using EFileError::EFileError;
};

enum class TFileMode {
    Create,        // new or emptied, for writing
    OpenReadWrite, // existing file, for reading and writing
    OpenOrCreate,  // for reading and writing, made empty if missing, never emptied
};

// A binary file for the game's two small files (score list and music track). Opening failures
// carry the path and the system's reason. Only regular files are opened (symbolic links are
// followed): a FIFO, socket or device at the path is refused at once, since reading or writing
// one could block the start for good. A short read is not an error (callers decide what
// missing bytes mean), a failed read is, and so is a short write.
class TBinaryFile {
public:
    TBinaryFile(const std::string& path, TFileMode mode);
    // Takes over fd, a regular file open for reading and writing, known as path in errors.
    TBinaryFile(int fd, std::string path);
    ~TBinaryFile();
    TBinaryFile(const TBinaryFile&) = delete;
    TBinaryFile& operator=(const TBinaryFile&) = delete;
    TBinaryFile(TBinaryFile&& other) noexcept;
    TBinaryFile& operator=(TBinaryFile&&) = delete;

    // Returns how many bytes were read before the end of the file; the rest of the buffer is
    // left as it was.
    std::size_t Read(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
    void Seek(std::int64_t offset);
    // Cuts the file to size bytes (what was written is handed to the system first).
    void Truncate(std::uint64_t size);
    // Hands what was written to the system, so that it is on disk while a dialog is open.
    void Flush();
    // Flushes and closes; data the system could not take is reported as a write error.
    void Close();
    // Takes the exclusive lock other copies of the game take on this file, without waiting:
    // false while another holds it. It ends with Close. Where the file system has no locks,
    // it goes on without one.
    bool TryLock();
    // True while path still names this open file (a replaced or removed file no longer does);
    // a symbolic link at path counts as naming its target only when followed.
    bool IsAt(const std::string& path, bool followLinks = true) const;
    int Descriptor() const;
    const std::string& Path() const { return FPath; }

private:
    std::FILE* FFile = nullptr;
    std::string FPath;
};

// The process's file-creation mask, read without changing it (umask() would, for every thread).
unsigned CreationMask();

// What the name of a file being written beside path adds to it, before six random letters and
// digits: a pattern no backup or other file of the game's has.
inline constexpr const char* TemporarySuffix = ".tmp-";
// How old such a file must be before a start takes it for one a killed copy left behind.
inline constexpr int StaleTemporarySeconds = 60;

// A new file of a unique name beside path, holding bytes, with the mode any new file of the
// player's gets, and still open for reading and writing (Fd).
struct TFileBeside {
    std::string Name;
    int Fd = -1;
};
// Writes it, and with sync waits until it is on disk; a failed write removes it again and is thrown as "Stream write error" with the
// path and the system's reason as detail. The caller moves it into place and closes Fd.
TFileBeside WriteBeside(const std::string& path, const void* bytes, std::size_t count, bool sync);

// Puts a whole file at path: the bytes go to a new file of a unique name in the same folder,
// which then takes the path's place. Whatever stood there, a symbolic link too, is replaced,
// never written through, and a failed write leaves the old file as it was. A folder, FIFO,
// socket or device at the path is refused (EFileCreateError). A write error is thrown as
// "Stream write error", with the path and the system's reason as detail.
void ReplaceFile(const std::string& path, const void* bytes, std::size_t count);

// Removes the files beside path that a copy of the game killed while writing left behind: those
// of path's name with TemporarySuffix and six letters or digits, regular files of this user's,
// untouched for over StaleTemporarySeconds. Anything else, a backup too, is left alone; errors
// are ignored.
void RemoveStaleTemporaries(const std::string& path);

// True when anything is at the path; a folder there then fails to open with its own reason
// instead of being "created" over.
bool FileExists(const std::string& path);

} // namespace pelmoravan

// SPDX-License-Identifier: MIT
#include "media/binary_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pelmoravan {
namespace {

std::string Reason(int error) { return std::strerror(error); }

constexpr const char* NotRegular = "Not a regular file";

[[noreturn]] void Refuse(TFileMode mode, const std::string& path, const std::string& reason) {
    if (mode == TFileMode::Create) {
        throw EFileCreateError("Cannot create file \"" + path + "\". " + reason);
    }
    throw EFileOpenError("Cannot open file \"" + path + "\". " + reason);
}

// A folder is left to open() so that it fails with the system's own reason, as it always did.
bool OtherThanFileOrFolder(const struct stat& info) {
    return !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

} // namespace

unsigned CreationMask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<unsigned>(std::stoul(line.substr(6), nullptr, 8));
        }
    }
    return 022;
}

TBinaryFile::TBinaryFile(const std::string& path, TFileMode mode) : FPath(path) {
    // Looked at before opening: opening some devices already does something.
    struct stat info {};
    const bool existed = ::stat(path.c_str(), &info) == 0;
    // Errors are worded by what was at the path: creating a missing file or opening one.
    const TFileMode wording =
        mode != TFileMode::OpenOrCreate ? mode : existed ? TFileMode::OpenReadWrite : TFileMode::Create;
    if (existed && OtherThanFileOrFolder(info)) {
        Refuse(wording, path, NotRegular);
    }
    // Non-blocking only for the open itself: a FIFO that slipped in after the look is then
    // refused below instead of waiting for a reader or writer.
    const int flags = mode == TFileMode::Create         ? O_WRONLY | O_CREAT | O_TRUNC
                      : mode == TFileMode::OpenOrCreate ? O_RDWR | O_CREAT
                                                        : O_RDWR;
    errno = 0;
    const int fd = ::open(path.c_str(), flags | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        Refuse(wording, path, Reason(errno));
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        Refuse(wording, path, NotRegular);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FFile = ::fdopen(fd, mode == TFileMode::Create ? "wb" : "r+b");
    if (FFile == nullptr) {
        const int error = errno;
        ::close(fd);
        Refuse(wording, path, Reason(error));
    }
}

TBinaryFile::TBinaryFile(int fd, std::string path) : FPath(std::move(path)) {
    FFile = ::fdopen(fd, "r+b");
    if (FFile == nullptr) {
        const int error = errno;
        ::close(fd);
        Refuse(TFileMode::OpenReadWrite, FPath, Reason(error));
    }
}

TBinaryFile::TBinaryFile(TBinaryFile&& other) noexcept
    : FFile(std::exchange(other.FFile, nullptr)), FPath(std::move(other.FPath)) {}

TBinaryFile::~TBinaryFile() {
    if (FFile != nullptr) {
        std::fclose(FFile);
    }
}

std::size_t TBinaryFile::Read(void* buffer, std::size_t count) {
    const std::size_t got = std::fread(buffer, 1, count, FFile);
    if (got < count && std::ferror(FFile) != 0) {
        throw EFileReadError("Stream read error", "cannot read \"" + FPath + "\": " + Reason(errno));
    }
    return got;
}

void TBinaryFile::WriteBuffer(const void* buffer, std::size_t count) {
    if (std::fwrite(buffer, 1, count, FFile) != count) {
        throw EFileWriteError("Stream write error", "cannot write \"" + FPath + "\": " + Reason(errno));
    }
}

void TBinaryFile::Seek(std::int64_t offset) {
    if (std::fseek(FFile, static_cast<long>(offset), SEEK_SET) != 0) {
        throw EFileError("Stream seek error");
    }
}

void TBinaryFile::Truncate(std::uint64_t size) {
    Flush();
    if (::ftruncate(::fileno(FFile), static_cast<off_t>(size)) != 0) {
        throw EFileWriteError("Stream write error", "cannot write \"" + FPath + "\": " + Reason(errno));
    }
}

void TBinaryFile::Flush() {
    if (std::fflush(FFile) != 0) {
        throw EFileWriteError("Stream write error", "cannot write \"" + FPath + "\": " + Reason(errno));
    }
}

void TBinaryFile::Close() {
    std::FILE* file = FFile;
    FFile = nullptr;
    if (file != nullptr && std::fclose(file) != 0) {
        throw EFileWriteError("Stream write error", "cannot write \"" + FPath + "\": " + Reason(errno));
    }
}

bool TBinaryFile::TryLock() {
    for (;;) {
        if (::flock(::fileno(FFile), LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno == EWOULDBLOCK) {
            return false;
        }
        if (errno != EINTR) {
            return true; // a file system without locks
        }
    }
}

bool TBinaryFile::IsAt(const std::string& path, bool followLinks) const {
    struct stat atPath {};
    struct stat open {};
    const int looked = followLinks ? ::stat(path.c_str(), &atPath) : ::lstat(path.c_str(), &atPath);
    return looked == 0 && ::fstat(::fileno(FFile), &open) == 0 && atPath.st_dev == open.st_dev &&
           atPath.st_ino == open.st_ino;
}

int TBinaryFile::Descriptor() const { return ::fileno(FFile); }

TFileBeside WriteBeside(const std::string& path, const void* bytes, std::size_t count, bool sync) {
    TFileBeside file{path + TemporarySuffix + "XXXXXX", -1};
    file.Fd = ::mkstemp(file.Name.data());
    if (file.Fd < 0) {
        Refuse(TFileMode::Create, path, Reason(errno));
    }
    ::fcntl(file.Fd, F_SETFD, FD_CLOEXEC);
    // A temporary file is private to its owner; the file that takes the path's place gets the
    // mode any other new file of the player's would.
    int error = ::fchmod(file.Fd, static_cast<mode_t>(0666 & ~CreationMask())) == 0 ? 0 : errno;
    const auto* next = static_cast<const char*>(bytes);
    while (count > 0 && error == 0) {
        const ssize_t done = ::write(file.Fd, next, count);
        if (done < 0) {
            error = errno == EINTR ? 0 : errno;
            continue;
        }
        next += done;
        count -= static_cast<std::size_t>(done);
    }
    if (sync && error == 0 && ::fsync(file.Fd) != 0 && errno != EINVAL) {
        error = errno;
    }
    if (error != 0) {
        ::close(file.Fd);
        ::unlink(file.Name.c_str());
        throw EFileWriteError("Stream write error", "cannot write \"" + path + "\": " + Reason(error));
    }
    return file;
}

void ReplaceFile(const std::string& path, const void* bytes, std::size_t count) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        Refuse(TFileMode::Create, path, S_ISDIR(info.st_mode) ? Reason(EISDIR) : NotRegular);
    }
    TFileBeside file = WriteBeside(path, bytes, count, false);
    if (::close(file.Fd) != 0) {
        const int closeError = errno;
        ::unlink(file.Name.c_str());
        throw EFileWriteError("Stream write error", "cannot write \"" + path + "\": " + Reason(closeError));
    }
    if (::rename(file.Name.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(file.Name.c_str());
        Refuse(TFileMode::Create, path, Reason(renameError));
    }
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::filesystem::path at(path);
    const std::string prefix = at.filename().string() + TemporarySuffix;
    const std::filesystem::path folder = at.parent_path().empty() ? "." : at.parent_path();
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        return;
    }
    DIR* list = ::fdopendir(dir);
    if (list == nullptr) {
        ::close(dir);
        return;
    }
    const time_t before = ::time(nullptr) - StaleTemporarySeconds;
    const uid_t player = ::geteuid();
    while (const dirent* entry = ::readdir(list)) {
        const std::string name = entry->d_name;
        // Only mkstemp's six letters and digits after the prefix: a backup or another file that
        // merely starts alike is never one of these.
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0 ||
            !std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; })) {
            continue;
        }
        struct stat info {};
        if (::fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == player && info.st_mtime < before) {
            ::unlinkat(dir, name.c_str(), 0);
        }
    }
    ::closedir(list);
}

} // namespace pelmoravan

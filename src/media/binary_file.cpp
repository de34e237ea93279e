#include "media/binary_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

TBinaryFile::TBinaryFile(const std::string& path, TFileMode mode) {
    // Looked at before opening: opening some devices already does something.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && OtherThanFileOrFolder(info)) {
        Refuse(mode, path, NotRegular);
    }
    // Non-blocking only for the open itself: a FIFO that slipped in after the look is then
    // refused below instead of waiting for a reader or writer.
    const int flags = mode == TFileMode::Create ? O_WRONLY | O_CREAT | O_TRUNC : O_RDWR;
    errno = 0;
    const int fd = ::open(path.c_str(), flags | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        Refuse(mode, path, Reason(errno));
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        Refuse(mode, path, NotRegular);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FFile = ::fdopen(fd, mode == TFileMode::Create ? "wb" : "r+b");
    if (FFile == nullptr) {
        const int error = errno;
        ::close(fd);
        Refuse(mode, path, Reason(error));
    }
}

TBinaryFile::~TBinaryFile() {
    if (FFile != nullptr) {
        std::fclose(FFile);
    }
}

std::size_t TBinaryFile::Read(void* buffer, std::size_t count) {
    const std::size_t got = std::fread(buffer, 1, count, FFile);
    if (got < count && std::ferror(FFile) != 0) {
        throw EFileReadError("Stream read error");
    }
    return got;
}

void TBinaryFile::WriteBuffer(const void* buffer, std::size_t count) {
    if (std::fwrite(buffer, 1, count, FFile) != count) {
        throw EFileWriteError("Stream write error");
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
        throw EFileWriteError("Stream write error");
    }
}

void TBinaryFile::Flush() {
    if (std::fflush(FFile) != 0) {
        throw EFileWriteError("Stream write error");
    }
}

void TBinaryFile::Close() {
    std::FILE* file = FFile;
    FFile = nullptr;
    if (file != nullptr && std::fclose(file) != 0) {
        throw EFileWriteError("Stream write error");
    }
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace pelmoravan

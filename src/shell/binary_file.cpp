#include "shell/binary_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace pelmoravan {
namespace {

std::string Reason(int error) { return std::strerror(error); }

} // namespace

TBinaryFile::TBinaryFile(const std::string& path, TFileMode mode) {
    errno = 0;
    if (mode == TFileMode::Create) {
        FFile = std::fopen(path.c_str(), "wb");
        if (FFile == nullptr) {
            throw EFileCreateError("Cannot create file \"" + path + "\". " + Reason(errno));
        }
    } else {
        FFile = std::fopen(path.c_str(), "r+b");
        if (FFile == nullptr) {
            throw EFileOpenError("Cannot open file \"" + path + "\". " + Reason(errno));
        }
    }
}

TBinaryFile::~TBinaryFile() {
    if (FFile != nullptr) {
        std::fclose(FFile);
    }
}

std::size_t TBinaryFile::Read(void* buffer, std::size_t count) {
    return std::fread(buffer, 1, count, FFile);
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

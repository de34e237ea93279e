// SPDX-License-Identifier: MIT
#include "shell/score_backup.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "media/binary_file.h"

namespace pelmoravan {
namespace {

// Writes all of count bytes or returns the system's error.
int WriteAll(int fd, const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t done = ::write(fd, bytes, count);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes += done;
        count -= static_cast<std::size_t>(done);
    }
    return 0;
}

} // namespace

std::string BackUpFile(TBinaryFile& file, const std::string& path, unsigned mode) {
    std::string name;
    int fd = -1;
    for (unsigned n = 0; fd < 0; ++n) {
        name = path + ".bak" + (n == 0 ? std::string() : std::to_string(n));
        // Exclusive: a name that is taken, even by a dangling link, is skipped, never reused.
        // Private until it has the mode of the file it keeps.
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) {
            throw EFileCreateError("Cannot create file \"" + name + "\". " + std::strerror(errno));
        }
    }

    // The bytes are no more readable to others than they were: the file's own permissions, less
    // what this user's new files never get, and never writable by everyone (a neighbour's file
    // of mode 0666 would otherwise hand a file of this user's to anyone).
    const unsigned kept = mode & 0777 & ~CreationMask() & ~static_cast<unsigned>(S_IWOTH);
    int error = ::fchmod(fd, static_cast<mode_t>(kept)) == 0 ? 0 : errno;
    try {
        file.Seek(0);
        std::vector<std::uint8_t> chunk(64 * 1024);
        for (;;) {
            const std::size_t got = file.Read(chunk.data(), chunk.size());
            if (error != 0 || got == 0 || (error = WriteAll(fd, chunk.data(), got)) != 0) {
                break;
            }
        }
    } catch (...) {
        ::close(fd);
        ::unlink(name.c_str());
        throw;
    }
    // On disk before the reset overwrites the only other copy.
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(name.c_str());
        throw EFileCreateError("Cannot create file \"" + name + "\". " + std::strerror(error));
    }
    return name;
}

} // namespace pelmoravan

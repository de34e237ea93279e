// SPDX-License-Identifier: MIT
#pragma once
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pelmoravan {

// Another process holds the file's lock (`flock FILE sleep 60`, in a group of its own so that
// the sleep, which inherits the lock, goes with it).
class LockHolder {
public:
    explicit LockHolder(const std::string& path) {
        const char* argv[] = {"flock", path.c_str(), "sleep", "60", nullptr};
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attr, 0);
        if (posix_spawnp(&FPid, "flock", nullptr, &attr, const_cast<char* const*>(argv), environ) != 0) {
            FPid = 0;
        }
        posix_spawnattr_destroy(&attr);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        while (FPid > 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::flock(fd, LOCK_UN);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::close(fd);
    }
    ~LockHolder() { LetGo(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    void LetGo() {
        if (FPid > 0) {
            ::kill(-FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
            FPid = 0;
        }
    }

private:
    pid_t FPid = 0;
};

} // namespace pelmoravan

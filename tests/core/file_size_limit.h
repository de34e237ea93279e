// SPDX-License-Identifier: MIT
#pragma once
#include <csignal>
#include <sys/resource.h>

namespace pelmoravan {

// Caps the size of files this process may write, so that writes fail part-way even for root;
// the signal the system would send is ignored, and both are restored however the scope ends.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &FPreviousAction);
        getrlimit(RLIMIT_FSIZE, &FPreviousLimit);
        rlimit limit = FPreviousLimit;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FPreviousLimit);
        sigaction(SIGXFSZ, &FPreviousAction, nullptr);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    struct sigaction FPreviousAction {};
    rlimit FPreviousLimit{};
};

} // namespace pelmoravan

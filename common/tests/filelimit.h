// A full disk for the tests, even when they run as root: while it lives, no file of this
// process grows beyond the given size (the write fails with EFBIG instead of a signal).
#pragma once
#include <csignal>
#include <sys/resource.h>

namespace dz::testing {

struct FileSizeLimit {
    rlimit old{};
    void (*oldHandler)(int) = nullptr;
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
};

}  // namespace dz::testing

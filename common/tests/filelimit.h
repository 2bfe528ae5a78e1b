// A full disk for the tests, even when they run as root: while it lives, no file of this
// process grows beyond the given size. The write then fails with EFBIG only because the process
// ignores SIGXFSZ as every program does from its first line (the test main makes the same call);
// the limit leaves the signal as it finds it, so a process that forgot the call dies here too.
#pragma once
#include <sys/resource.h>

namespace dz::testing {

struct FileSizeLimit {
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
};

}  // namespace dz::testing

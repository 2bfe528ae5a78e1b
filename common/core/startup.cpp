#include "common/core/startup.h"

#include <csignal>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace dz {

void ignoreFileSizeSignal() {
    struct sigaction sa {};
    sa.sa_handler = SIG_IGN;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGXFSZ, &sa, nullptr);
}

void keepFreedMemory() {
#if defined(__GLIBC__)
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

}  // namespace dz

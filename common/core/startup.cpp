#include "common/core/startup.h"

#include <csignal>

namespace dz {

void ignoreFileSizeSignal() {
    struct sigaction sa {};
    sa.sa_handler = SIG_IGN;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGXFSZ, &sa, nullptr);
}

}  // namespace dz

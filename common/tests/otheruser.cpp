// What another user's process does to a program's lock, for the tests that need one: run (as that
// user) with a verb and a name, it takes the name, writes '1' (taken) or '0' to its output and
// waits to be killed.
//   lock PATH   opens PATH (made when missing) and holds an exclusive flock on it
//   bind NAME   binds and listens on the abstract local socket NAME
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
bool lockFile(const char* path) {
    int fd = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = ::open(path, O_RDONLY | O_CLOEXEC);
    return fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

bool bindName(const char* name) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const size_t n = std::strlen(name);
    if (n + 1 > sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path + 1, name, n);
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto len = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + n);
    return s >= 0 && ::bind(s, reinterpret_cast<const sockaddr*>(&addr), len) == 0 && ::listen(s, 1) == 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const bool ok = std::strcmp(argv[1], "lock") == 0 ? lockFile(argv[2])
                    : std::strcmp(argv[1], "bind") == 0 ? bindName(argv[2])
                                                        : false;
    const char c = ok ? '1' : '0';
    if (::write(1, &c, 1) != 1) return 1;
    for (;;) ::pause();
}

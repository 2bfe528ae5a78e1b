// A file far longer than any reader of a file read at start may take: a regular file of a head,
// then filler, then a hole up to a total that no reader should come near (the hole reads as zero
// bytes and costs no disk). A reader that keeps only what it can use stops early; fed() tells how
// many bytes the calling thread has read since the file was made, so a test sees the bound.
// Make it and read it on the same thread.
#pragma once
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace dz::testing {

class FedFile {
public:
    static constexpr uint64_t kTotal = uint64_t(64) << 20;  // what an unbounded reader would take
    static constexpr uint64_t kFilled = uint64_t(4) << 20;  // the filler written before the hole

    FedFile(const QString& path, const std::string& head, std::string filler)
        : path_(QFile::encodeName(path).toStdString()) {
        ::unlink(path_.c_str());
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) return;
        if (filler.empty()) filler.push_back('x');  // not "= \"x\"": GCC 12 at -O3 misreads it as an overlap
        std::string chunk;
        while (chunk.size() < (1u << 16)) chunk += filler;
        bool ok = put(fd, head);
        for (uint64_t n = head.size(); ok && n < kFilled; n += chunk.size()) ok = put(fd, chunk);
        ok = ok && ::ftruncate(fd, off_t(kTotal)) == 0;
        ::close(fd);
        if (ok) start_ = readBytes();
    }
    ~FedFile() { ::unlink(path_.c_str()); }
    FedFile(const FedFile&) = delete;
    FedFile& operator=(const FedFile&) = delete;

    // The bytes this thread has read since the file was made (all files; the others are small);
    // kTotal when the file could not be made, so that a test of the bound fails.
    uint64_t fed() const { return start_ == UINT64_MAX ? kTotal : readBytes() - start_; }

private:
    static bool put(int fd, const std::string& bytes) {
        for (size_t at = 0; at < bytes.size();) {
            const ssize_t w = ::write(fd, bytes.data() + at, bytes.size() - at);
            if (w <= 0) return false;
            at += size_t(w);
        }
        return true;
    }
    // The thread's "rchar": every byte its read calls returned.
    static uint64_t readBytes() {
        FILE* io = std::fopen("/proc/thread-self/io", "r");
        if (!io) return 0;
        unsigned long long n = 0;
        const bool found = std::fscanf(io, "rchar: %llu", &n) == 1;
        std::fclose(io);
        return found ? uint64_t(n) : 0;
    }

    std::string path_;
    uint64_t start_ = UINT64_MAX;
};

}  // namespace dz::testing

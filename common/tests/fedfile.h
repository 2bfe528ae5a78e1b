// A file without end for the readers of files read at start: a named pipe that a thread feeds
// with a head and then filler, up to a total far beyond what any reader may keep. A reader that
// keeps only what it can use stops early and closes the pipe; fed() tells how much it took, so a
// test sees the bound without a file of gigabytes on the disk or in the memory.
#pragma once
#include <QFile>
#include <QString>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace dz::testing {

class FedFile {
public:
    static constexpr uint64_t kTotal = uint64_t(64) << 20;

    FedFile(const QString& path, std::string head, std::string filler)
        : path_(QFile::encodeName(path).toStdString()) {
        std::signal(SIGPIPE, SIG_IGN);  // a reader that stops makes the feeder's write fail, nothing more
        ::unlink(path_.c_str());
        ::mkfifo(path_.c_str(), 0600);
        std::string chunk;
        while (chunk.size() < (1u << 16)) chunk += filler.empty() ? std::string("x") : filler;
        feeder_ = std::thread([this, head = std::move(head), chunk = std::move(chunk)] {
            const int fd = ::open(path_.c_str(), O_WRONLY);  // waits for the reader
            if (fd < 0) return;
            opened_ = true;
            if (!stop_) {
                auto put = [&](const std::string& bytes) {
                    for (size_t at = 0; at < bytes.size() && fed_ < kTotal;) {
                        const ssize_t w = ::write(fd, bytes.data() + at, std::min<uint64_t>(bytes.size() - at, kTotal - fed_));
                        if (w <= 0) return false;
                        at += size_t(w);
                        fed_ += uint64_t(w);
                    }
                    return fed_ < kTotal;
                };
                if (put(head))
                    while (put(chunk)) {
                    }
            }
            ::close(fd);
        });
    }
    ~FedFile() {
        join();
        ::unlink(path_.c_str());
    }
    FedFile(const FedFile&) = delete;
    FedFile& operator=(const FedFile&) = delete;

    // The bytes the reader took (it has closed the pipe by now).
    uint64_t fed() {
        join();
        return fed_;
    }

private:
    void join() {
        if (!feeder_.joinable()) return;
        // A reader that never opened the pipe leaves the feeder waiting in its open: free it.
        int fd = -1;
        if (!opened_) {
            stop_ = true;
            fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
        }
        feeder_.join();
        if (fd >= 0) ::close(fd);
    }

    std::string path_;
    std::thread feeder_;
    std::atomic<bool> opened_{false}, stop_{false};
    uint64_t fed_ = 0;
};

}  // namespace dz::testing

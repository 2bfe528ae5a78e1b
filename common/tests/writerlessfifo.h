// A named pipe that no process writes, in the place of a file a program reads at start. A reader
// that opens it as a file waits in its open for good: if the test is not done with it within a
// second, a watchdog opens the writing end (and closes it), so that such a reader sees an empty
// file and the test fails on released() instead of hanging.
#pragma once
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace dz::testing {

class WriterlessFifo {
public:
    explicit WriterlessFifo(const QString& path) : path_(QFile::encodeName(path).toStdString()) {
        ::unlink(path_.c_str());
        made_ = ::mkfifo(path_.c_str(), 0600) == 0;
        watchdog_ = std::thread([this] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
            while (!done_ && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            while (!done_) {
                // Succeeds only while a reader waits in its open: it then gets an empty file.
                const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    released_ = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }
    ~WriterlessFifo() {
        stop();
        ::unlink(path_.c_str());
    }
    WriterlessFifo(const WriterlessFifo&) = delete;
    WriterlessFifo& operator=(const WriterlessFifo&) = delete;

    bool made() const { return made_; }
    // Whether a reader had to be freed from its open: it waited a second or more.
    bool released() {
        stop();
        return released_;
    }

private:
    void stop() {
        done_ = true;
        if (watchdog_.joinable()) watchdog_.join();
    }

    std::string path_;
    bool made_ = false;
    std::thread watchdog_;
    std::atomic<bool> done_{false}, released_{false};
};

}  // namespace dz::testing

// A yardstick for keyeval's "Kezdés": a plain subset-sum evaluator of its own, sharing no code
// with the program. It reads the key file and the draw file itself, counts for every set of
// numbers the key rows that hold it (sums over supersets), and gives each draw of the period its
// hit distribution from the 256 subsets of its numbers; from those the tallies of the plus and
// plain plays and the number of listed plays. A program run over the same files is set beside it.
#pragma once
#include <array>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench::yardstick {

struct Tallies {
    std::array<int64_t, 9> plain{}, plus{};
    int64_t listed = 0;
    int64_t draws = 0;
};

// A file mapped into memory, read-only.
class Mapped {
public:
    explicit Mapped(const char* path) {
        const int fd = ::open(path, O_RDONLY);
        if (fd < 0) return;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_size > 0) {
            void* p = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (p != MAP_FAILED) {
                data_ = static_cast<const char*>(p);
                size_ = size_t(st.st_size);
            }
        }
        ::close(fd);
    }
    ~Mapped() {
        if (data_) ::munmap(const_cast<char*>(data_), size_);
    }
    Mapped(const Mapped&) = delete;
    Mapped& operator=(const Mapped&) = delete;
    std::string_view bytes() const { return {data_ ? data_ : "", size_}; }

private:
    const char* data_ = nullptr;
    size_t size_ = 0;
};

inline int twoDigits(const char* p) {
    if (p[0] < '0' || p[0] > '9' || p[1] < '0' || p[1] > '9') return -1;
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// extra[e]: extra number e (1..4) ticked; from, to: "YYYYMMDD NNN".
inline Tallies evaluate(const char* keyPath, const char* drawPath, const std::array<bool, 5>& extra, int minHits,
                        std::string_view from, std::string_view to) {
    constexpr uint32_t kSets = 1u << 20;
    // 16-bit counts: a key holds at most 32736 rows, and half the table stays in cache.
    std::vector<uint16_t> c(kSets, 0);
    // The key: rows of up to eight two-digit numbers, each line blank-trimmed.
    const Mapped keyFile(keyPath);
    const std::string_view key = keyFile.bytes();
    for (size_t b = 0; b < key.size();) {
        size_t e = key.find('\n', b);
        if (e == std::string_view::npos) e = key.size();
        size_t lo = b, hi = e;
        while (lo < hi && (key[lo] == ' ')) ++lo;
        while (hi > lo && (key[hi - 1] == ' ' || key[hi - 1] == '\r')) --hi;
        if (hi - lo == 23) {
            uint32_t set = 0;
            for (int i = 0; i < 8; ++i) {
                const int n = twoDigits(key.data() + lo + 3 * i);
                if (n == 0) break;
                if (n >= 1 && n <= 20) set |= 1u << (n - 1);
            }
            ++c[set];
        }
        b = e + 1;
    }
    for (uint32_t bit = 1; bit < kSets; bit <<= 1)
        for (uint32_t hi = 0; hi < kSets; hi += 2 * bit)
            for (uint32_t s = hi; s < hi + bit; ++s) c[s] = uint16_t(c[s] + c[s | bit]);

    int k = 0;
    for (int e = 1; e <= 4; ++e) k += extra[size_t(e)] ? 1 : 0;
    static constexpr int64_t binom[9][9] = {{1},
                                            {1, 1},
                                            {1, 2, 1},
                                            {1, 3, 3, 1},
                                            {1, 4, 6, 4, 1},
                                            {1, 5, 10, 10, 5, 1},
                                            {1, 6, 15, 20, 15, 6, 1},
                                            {1, 7, 21, 35, 35, 21, 7, 1},
                                            {1, 8, 28, 56, 70, 56, 28, 8, 1}};
    Tallies t;
    const Mapped drawFile(drawPath);
    const std::string_view draws = drawFile.bytes();
    for (size_t b = 0; b < draws.size();) {
        size_t e = draws.find('\n', b);
        if (e == std::string_view::npos) e = draws.size();
        const std::string_view line(draws.data() + b, e - b);
        b = e + 1;
        const std::string_view dk = line.substr(0, 12);
        if (dk < from) continue;
        if (dk > to) break;
        uint32_t bits[8];
        int d = 0;
        uint32_t seen = 0;
        for (int i = 0; i < 8 && 13 + 3 * i + 2 <= int(line.size()); ++i) {
            const int n = twoDigits(line.data() + 13 + 3 * i);
            if (n >= 1 && n <= 20 && !(seen >> (n - 1) & 1u)) {
                seen |= 1u << (n - 1);
                bits[d++] = 1u << (n - 1);
            }
        }
        const int x = line.size() >= 39 ? twoDigits(line.data() + 37) : -1;
        const bool plus = x >= 1 && x <= 4 && extra[size_t(x)];
        // Moments: m[j] = the sum over the draw's j-subsets of the rows holding them.
        int64_t m[9] = {};
        uint32_t sub[256];
        sub[0] = 0;
        for (int s = 1; s < (1 << d); ++s) {
            sub[s] = sub[s & (s - 1)] | bits[__builtin_ctz(unsigned(s))];
            m[__builtin_popcount(unsigned(s))] += c[sub[s]];
        }
        m[0] = c[0];
        const int thr = plus ? minHits : std::max(minHits, 5);
        for (int h = 0; h <= d; ++h) {
            int64_t v = 0;
            for (int j = h; j <= d; ++j) v += ((j - h) & 1 ? -1 : 1) * binom[j][h] * m[j];
            if (plus) {
                t.plus[size_t(h)] += v;
                t.plain[size_t(h)] += int64_t(k - 1) * v;
            } else {
                t.plain[size_t(h)] += int64_t(k) * v;
            }
            if (h >= thr) t.listed += v * ((plus ? 1 : 0) + (h > 4 ? (plus ? k - 1 : k) : 0));
        }
        ++t.draws;
    }
    return t;
}

}  // namespace bench::yardstick

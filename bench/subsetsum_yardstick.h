// A yardstick for keyeval's "Kezdés": a subset-sum evaluator of its own, sharing no code with the
// program, written as a careful evaluator of the same work would be. It reads the key file and the
// draw file itself (the draw file in large blocks, every line split and its key compared, the
// lines of the period parsed), counts for every set of numbers the key rows that hold it (sums
// over supersets, 16-bit), and gives each draw of the period its hit distribution from one flat
// pass over the 256 subsets of its numbers: the moments m[j] (the rows holding each j-subset,
// summed) give the classes exactly. The classes of 4..8 hits need the 163 subsets of 4..8 numbers;
// the smaller ones lie in a few thousand hot table entries. From the classes come the tallies of
// the plus and plain plays and the number of listed plays. The key is taken as the generators
// write it: rows of distinct numbers.
//
// rowByRow() counts the same classes the plain way, a popcount for every row and draw, to check
// the yardstick itself.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace bench::yardstick {

struct Tallies {
    std::array<int64_t, 9> plain{}, plus{};
    int64_t listed = 0;
    int64_t draws = 0;
    bool operator==(const Tallies&) const = default;
};

inline int twoDigits(const char* p) {
    const unsigned a = unsigned(p[0] - '0'), b = unsigned(p[1] - '0');
    return a <= 9 && b <= 9 ? int(a * 10 + b) : -1;
}

// Calls f(line) for every line of a file (its end of line dropped), read in blocks of 1 MiB; f
// returns false to stop. False when the file cannot be opened.
template <class F>
bool forEachLine(const char* path, F&& f) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    constexpr size_t kBlock = size_t(1) << 20;
    std::vector<char> buf(kBlock + 4096);
    size_t kept = 0;  // bytes of an unfinished line at the start of buf
    bool go = true;
    for (;;) {
        if (kept == buf.size()) buf.resize(buf.size() * 2);  // a line longer than the buffer
        const ssize_t got = ::read(fd, buf.data() + kept, buf.size() - kept);
        if (got < 0) break;
        const size_t have = kept + size_t(got);
        const char* p = buf.data();
        const char* end = p + have;
        for (;;) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
            if (!nl) break;
            const char* e = nl > p && nl[-1] == '\r' ? nl - 1 : nl;
            if (!f(std::string_view(p, size_t(e - p)))) {
                go = false;
                break;
            }
            p = nl + 1;
        }
        if (!go) break;
        kept = size_t(end - p);
        if (got == 0) {
            if (kept) f(std::string_view(p, kept));  // a last line without an end
            break;
        }
        std::memmove(buf.data(), p, kept);
    }
    ::close(fd);
    return true;
}

// The rows of a key file as sets of numbers (bit n - 1 for n); a line that is not 23 characters
// once its blanks are trimmed ends the key.
inline std::vector<uint32_t> keySets(const char* keyPath) {
    std::vector<uint32_t> rows;
    forEachLine(keyPath, [&](std::string_view l) {
        size_t lo = 0, hi = l.size();
        while (lo < hi && l[lo] == ' ') ++lo;
        while (hi > lo && l[hi - 1] == ' ') --hi;
        if (lo == hi) return true;
        if (hi - lo != 23) return false;
        uint32_t set = 0;
        for (int i = 0; i < 8; ++i) {
            const int n = twoDigits(l.data() + lo + 3 * i);
            if (n == 0) break;
            if (n >= 1 && n <= 20) set |= 1u << (n - 1);
        }
        rows.push_back(set);
        return true;
    });
    return rows;
}

// One draw of the period: its numbers as a set and whether its extra number is a ticked one.
struct Draw {
    uint32_t set;
    bool plus;
};

// Every draw whose key (the line's first 12 characters) lies in from..to, the file read to the
// first key past to.
template <class F>
void forEachDraw(const char* drawPath, const std::array<bool, 5>& extra, std::string_view from, std::string_view to,
                 F&& f) {
    forEachLine(drawPath, [&](std::string_view line) {
        const std::string_view key = line.substr(0, 12);
        if (key < from) return true;
        if (key > to) return false;
        uint32_t set = 0;
        for (int i = 0; i < 8 && size_t(13 + 3 * i + 2) <= line.size(); ++i) {
            const int n = twoDigits(line.data() + 13 + 3 * i);
            if (n >= 1 && n <= 20) set |= 1u << (n - 1);
        }
        const int x = line.size() >= 39 ? twoDigits(line.data() + 37) : -1;
        f(Draw{set, x >= 1 && x <= 4 && extra[size_t(x)]});
        return true;
    });
}

// The classes of a period: rows with h hits summed over the draws whose extra number is ticked
// and over the others. The tallies are linear in them.
struct Classes {
    std::array<int64_t, 9> plusDraws{}, otherDraws{};
    int64_t draws = 0;
};

inline Tallies talliesOf(const Classes& c, const std::array<bool, 5>& extra, int minHits) {
    int k = 0;
    for (int e = 1; e <= 4; ++e) k += extra[size_t(e)] ? 1 : 0;
    Tallies t;
    for (int h = 0; h <= 8; ++h) {
        const int64_t p = c.plusDraws[size_t(h)], o = c.otherDraws[size_t(h)];
        t.plus[size_t(h)] = p;
        t.plain[size_t(h)] = int64_t(k - 1) * p + int64_t(k) * o;
        if (h >= minHits) t.listed += p * (1 + (h > 4 ? k - 1 : 0));
        if (h >= std::max(minHits, 5)) t.listed += o * k;
    }
    t.draws = c.draws;
    return t;
}

// For every set of numbers s (bit n - 1 for n), the rows holding s: the rows counted by their set,
// then the sums over supersets, one number at a time. 16 bits a set: a key holds at most 32736
// rows, and the table takes 2 MB.
inline std::vector<uint16_t> supersetCounts(const std::vector<uint32_t>& rows) {
    constexpr uint32_t kSets = 1u << 20;
    std::vector<uint16_t> c(kSets, 0);
    for (uint32_t set : rows) ++c[set];
    for (uint32_t bit = 1; bit < kSets; bit <<= 1)
        for (uint32_t hi = 0; hi < kSets; hi += 2 * bit) {
            uint16_t* lo = c.data() + hi;
            const uint16_t* up = lo + bit;
            for (uint32_t s = 0; s < bit; ++s) lo[s] = uint16_t(lo[s] + up[s]);
        }
    return c;
}

inline constexpr int64_t kBinom[9][9] = {{1},
                                         {1, 1},
                                         {1, 2, 1},
                                         {1, 3, 3, 1},
                                         {1, 4, 6, 4, 1},
                                         {1, 5, 10, 10, 5, 1},
                                         {1, 6, 15, 20, 15, 6, 1},
                                         {1, 7, 21, 35, 35, 21, 7, 1},
                                         {1, 8, 28, 56, 70, 56, 28, 8, 1}};

// The moments of a draw: m[j] = the rows holding each j-subset of its n numbers, summed, in one
// flat pass over the subsets (each made from the one without its lowest place). Returns n.
inline int moments(const uint16_t* table, uint32_t set, uint32_t (&m)[9]) {
    static constexpr auto sizes = [] {
        std::array<uint8_t, 256> s{};
        for (int i = 0; i < 256; ++i) s[size_t(i)] = uint8_t(__builtin_popcount(unsigned(i)));
        return s;
    }();
    uint32_t bits[8];
    int n = 0;
    for (uint32_t r = set; r; r &= r - 1) bits[n++] = r & (0u - r);
    uint32_t sub[256];
    sub[0] = 0;
    for (uint32_t& v : m) v = 0;
    m[0] = table[0];
    const int count = 1 << n;
    for (int s = 1; s < count; ++s) {
        sub[s] = sub[s & (s - 1)] | bits[__builtin_ctz(unsigned(s))];
        m[sizes[size_t(s)]] += table[sub[s]];
    }
    return n;
}

// extra[e]: extra number e (1..4) ticked; from, to: "YYYYMMDD NNN".
inline Tallies evaluate(const char* keyPath, const char* drawPath, const std::array<bool, 5>& extra, int minHits,
                        std::string_view from, std::string_view to) {
    const std::vector<uint16_t> c = supersetCounts(keySets(keyPath));
    const uint16_t* table = c.data();
    Classes cl;
    forEachDraw(drawPath, extra, from, to, [&](Draw d) {
        uint32_t m[9];
        const int n = moments(table, d.set, m);
        std::array<int64_t, 9>& into = d.plus ? cl.plusDraws : cl.otherDraws;
        for (int h = 0; h <= n; ++h) {
            int64_t v = 0;
            for (int j = h; j <= n; ++j) v += ((j - h) & 1 ? -1 : 1) * kBinom[j][h] * int64_t(m[j]);
            into[size_t(h)] += v;
        }
        ++cl.draws;
    });
    return talliesOf(cl, extra, minHits);
}

// "Kiértékelés hozamra" over the same files: a stake unit a play, the prizes by class from the
// minimum up (a plain play of 4 hits earns nothing), the latest 32736 per-draw nets kept.
struct Money {
    int64_t draws = 0, stake = 0, winnings = 0;
    std::vector<int64_t> lastNets;
    bool operator==(const Money&) const = default;
};
inline Money winnings(const char* keyPath, const char* drawPath, const std::array<bool, 5>& extra, int minHits,
                      std::string_view from, std::string_view to) {
    constexpr int64_t plusPrize[9] = {0, 0, 0, 0, 1, 4, 24, 150, 10000}, plainPrize[9] = {0, 0, 0, 0, 0, 2, 8, 50, 1000};
    constexpr size_t kKept = 32736;
    const std::vector<uint32_t> rows = keySets(keyPath);
    const std::vector<uint16_t> c = supersetCounts(rows);
    int k = 0;
    for (int e = 1; e <= 4; ++e) k += extra[size_t(e)] ? 1 : 0;
    // What a row earns by its hits in either kind of draw, as weights of the moments:
    // sum over rows of W(h) = sum over j of w[j] m[j], w[j] = sum over h <= j of (-1)^(j-h) C(j,h) W(h).
    int64_t wPlus[9] = {}, wOther[9] = {};
    for (int j = 0; j <= 8; ++j)
        for (int h = 0; h <= j; ++h) {
            const int64_t sign = (j - h) & 1 ? -1 : 1;
            const int64_t plain = h >= minHits && h > 4 ? plainPrize[h] : 0, plus = h >= minHits ? plusPrize[h] : 0;
            wPlus[j] += sign * kBinom[j][h] * (plus + (k - 1) * plain);
            wOther[j] += sign * kBinom[j][h] * k * plain;
        }
    const int64_t cost = int64_t(rows.size()) * k;
    Money out;
    std::vector<int64_t> ring(kKept);
    forEachDraw(drawPath, extra, from, to, [&](Draw d) {
        uint32_t m[9];
        const int n = moments(c.data(), d.set, m);
        const int64_t* w = d.plus ? wPlus : wOther;
        int64_t won = 0;
        for (int j = 0; j <= n; ++j) won += w[j] * int64_t(m[j]);
        out.winnings += won;
        ring[size_t(out.draws) % kKept] = won - cost;
        ++out.draws;
    });
    out.stake = out.draws * cost;
    const int64_t kept = std::min<int64_t>(out.draws, int64_t(kKept));
    for (int64_t i = out.draws - kept; i < out.draws; ++i) out.lastNets.push_back(ring[size_t(i) % kKept]);
    return out;
}

// One draw's classes row by row, with the processor's popcount where it has one.
#if defined(__x86_64__)
__attribute__((target("popcnt")))
#endif
inline void classesOf(const std::vector<uint32_t>& rows, uint32_t set, std::array<int64_t, 9>& into) {
    int64_t hist[9] = {};
    for (uint32_t r : rows) ++hist[__builtin_popcount(r & set)];
    for (int h = 0; h <= 8; ++h) into[size_t(h)] += hist[h];
}

// The classes row by row: the hits of every row in every draw of the period.
inline Classes rowByRow(const char* keyPath, const char* drawPath, const std::array<bool, 5>& extra,
                        std::string_view from, std::string_view to) {
    const std::vector<uint32_t> rows = keySets(keyPath);
    Classes cl;
    forEachDraw(drawPath, extra, from, to, [&](Draw d) {
        classesOf(rows, d.set, d.plus ? cl.plusDraws : cl.otherDraws);
        ++cl.draws;
    });
    return cl;
}

}  // namespace bench::yardstick

#include "common/core/synth.h"

#include "common/core/random.h"

#include <algorithm>
#include <cstdio>

namespace dz {

std::string drawRecordLine(int year, int month, int day, int drawNo, const int numbers[8], int extra) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d %03d %02d %02d %02d %02d %02d %02d %02d %02d %02d", year, month, day,
                  drawNo, numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5], numbers[6],
                  numbers[7], extra);
    return buf;
}

namespace {
int daysIn(int y, int m) {
    static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
    return d[m - 1];
}
}  // namespace

std::string synthDrawHistory(size_t count, const SynthOptions& o) {
    Random rng(o.seed);
    std::string out;
    out.reserve(count * 41);
    int y = o.year, m = o.month, d = o.day, k = 1;
    for (size_t i = 0; i < count; ++i) {
        int pool[20];
        for (int n = 0; n < 20; ++n) pool[n] = n + 1;
        for (int j = 0; j < 8; ++j) std::swap(pool[j], pool[j + rng.drawNumber(20 - j) - 1]);
        std::sort(pool, pool + 8);
        out += drawRecordLine(y, m, d, k, pool, rng.drawNumber(4));
        out += "\r\n";
        if (++k > o.drawsPerDay) {
            k = 1;
            if (++d > daysIn(y, m)) {
                d = 1;
                if (++m > 12) {
                    m = 1;
                    ++y;
                }
            }
        }
    }
    return out;
}

std::string dayRecords(int year, int month, int day, const std::vector<std::array<int, 8>>& draws) {
    std::string out;
    int k = 1;
    for (const auto& d : draws) out += drawRecordLine(year, month, day, k++, d.data(), 1) + "\r\n";
    return out;
}

}  // namespace dz

#include "subsetfile.h"

#include "core/draws.h"
#include "core/textfmt.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace drawstat {

namespace {

struct BinomialTable {
    std::array<std::array<long long, 21>, 21> c{};
    constexpr BinomialTable() {
        for (int n = 0; n <= 20; ++n) {
            c[size_t(n)][0] = 1;
            for (int m = 1; m <= n; ++m) c[size_t(n)][size_t(m)] = c[size_t(n - 1)][size_t(m - 1)] + c[size_t(n - 1)][size_t(m)];
        }
    }
};
constexpr BinomialTable kBinomial;

void putDigits(char* out, int width, long long v) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = char('0' + v % 10);
        v /= 10;
    }
}

}  // namespace

long long binomial(int n, int m) {
    if (n < 0 || n > 20 || m < 0 || m > n) return 0;
    return kBinomial.c[size_t(n)][size_t(m)];
}

int subsetRank(int k, const int* x) {
    long long r = binomial(20, k);
    for (int i = 0; i < k; ++i) r -= binomial(20 - x[i], k - i);
    return int(r);
}

bool isDrawKey(std::string_view key) {
    if (key.size() != 12 || key[8] != ' ') return false;
    for (size_t i = 0; i < 12; ++i)
        if (i != 8 && (key[i] < '0' || key[i] > '9')) return false;
    return true;
}

std::string zeroedCounterFile(int k) {
    const int n = subsetCount(k), len = recordLength(k);
    std::string out(size_t(n + 1) * size_t(len), '0');
    std::array<int, 8> a{};
    for (int i = 0; i < k; ++i) a[size_t(i)] = i + 1;
    char* p = out.data();
    auto putRecordFrame = [&](char* rec) {
        rec[0] = char(2 * k + 17);
        rec[1] = 0;
        std::memcpy(rec + 2 + 2 * k + 5, kZeroKey.data(), 12);
    };
    for (int r = 0; r < n; ++r, p += len) {
        putRecordFrame(p);
        for (int i = 0; i < k; ++i) putDigits(p + 2 + 2 * i, 2, a[size_t(i)]);
        // next subset in lexicographic order
        int i = k - 1;
        while (i >= 0 && a[size_t(i)] == 20 - k + i + 1) --i;
        if (i < 0) continue;
        ++a[size_t(i)];
        for (int j = i + 1; j < k; ++j) a[size_t(j)] = a[size_t(j - 1)] + 1;
    }
    putRecordFrame(p);  // the trailer: zeros and the zero key
    return out;
}

CounterFile::Status CounterFile::load(const QString& path, int k, CounterFile& out) {
    auto bytes = dz::readFileBytes(path);
    if (!bytes) return Status::Missing;
    auto f = fromBytes(k, std::move(*bytes));
    if (!f) return Status::WrongSize;
    out = std::move(*f);
    return Status::Ok;
}

std::optional<CounterFile> CounterFile::fromBytes(int k, std::string bytes) {
    if (k < 4 || k > 8) return std::nullopt;
    CounterFile f;
    f.k_ = k;
    f.n_ = subsetCount(k);
    f.len_ = recordLength(k);
    if (bytes.size() != size_t(f.n_ + 1) * size_t(f.len_)) return std::nullopt;
    f.bytes_ = std::move(bytes);
    return f;
}

int CounterFile::count(int r) const {
    const std::string_view s = countField(r);
    int v = 0;
    bool digits = true;
    for (char c : s) {
        if (c < '0' || c > '9') {
            digits = false;
            break;
        }
        v = v * 10 + (c - '0');
    }
    if (digits) return v;
    const double d = dz::val(s);
    return int(dz::roundHalfEven(std::clamp(d, 0.0, double(kMaxHitCount))));
}

void CounterFile::setRecord(int r, int count, std::string_view key) {
    char* t = text(r);
    t[-2] = char(2 * k_ + 17);
    t[-1] = 0;
    putDigits(t + 2 * k_, 5, std::clamp(count, 0, kMaxHitCount));
    std::memcpy(t + 2 * k_ + 5, key.data(), std::min<size_t>(12, key.size()));
}

void CounterFile::setHighWaterKey(std::string_view key) {
    std::memcpy(text(n_ + 1) + 2 * k_ + 5, key.data(), std::min<size_t>(12, key.size()));
}

std::optional<std::string> readDrawBytes(const QString& path) { return dz::readFileBytes(path); }

namespace {

// The position choices p0 < .. < p(k-1) of 0..7, in lexicographic order, k bytes each.
std::vector<uint8_t> positionChoices(int k) {
    std::vector<uint8_t> out;
    for (unsigned m = 0; m < 256; ++m) {
        if (std::popcount(m) != k) continue;
        for (uint8_t i = 0; i < 8; ++i)
            if (m & (1u << i)) out.push_back(i);
    }
    return out;
}

// The eight numbers of a draw line, strictly ascending 1..20; false for a line that is no draw.
bool drawNumbers(std::string_view item, int* x) {
    if (item.size() < 36) return false;
    int prev = 0;
    for (int i = 0; i < 8; ++i) {
        const int v = dz::fieldValue(item, dz::numberColumn(i + 1));
        if (v <= prev || v > 20) return false;
        x[i] = prev = v;
    }
    return true;
}

}  // namespace

CountInResult countIn(CounterFile& file, std::string_view drawBytes,
                      const std::function<bool(std::string_view key)>& slice) {
    CountInResult res;
    const int k = file.k(), n = file.records();
    const std::string highWater(file.highWaterKey());
    const std::vector<uint8_t> choices = positionChoices(k);
    const size_t nChoices = choices.size() / size_t(k);

    std::vector<uint32_t> added(size_t(n) + 1, 0);
    std::vector<uint32_t> last(size_t(n) + 1, 0);  // index + 1 into keys of the draw that hit it last
    std::vector<const char*> keys;                 // keys of the counted draws, in the draw bytes
    std::string_view lastKey;                      // of the last line whose key is a draw key
    unsigned sinceSlice = 0;
    bool stop = false;

    forEachDrawItem(drawBytes, [&](std::string_view item) {
        if (stop) return;
        if (slice && ++sinceSlice >= 4096) {
            sinceSlice = 0;
            if (!slice(keys.empty() ? std::string_view{} : std::string_view(keys.back(), 12))) {
                stop = true;
                return;
            }
        }
        if (item.size() < 12) return;
        const std::string_view key = item.substr(0, 12);
        if (!isDrawKey(key)) return;
        lastKey = key;
        if (key <= std::string_view(highWater)) return;
        int x[8];
        if (!drawNumbers(item, x)) return;
        keys.push_back(key.data());
        const uint32_t drawNo = uint32_t(keys.size());
        // c[i][j]: what number i takes off the rank in slot j
        int c[8][8];
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < k; ++j) c[i][j] = int(binomial(20 - x[i], k - j));
        const uint8_t* p = choices.data();
        for (size_t s = 0; s < nChoices; ++s, p += k) {
            int r = n;
            for (int j = 0; j < k; ++j) r -= c[p[j]][j];
            ++added[size_t(r)];
            last[size_t(r)] = drawNo;
        }
    });
    if (stop) {
        res.stopped = true;
        return res;
    }
    for (int r = 1; r <= n; ++r) {
        if (!added[size_t(r)]) continue;
        const long long sum = (long long)file.count(r) + added[size_t(r)];
        file.setRecord(r, int(std::min<long long>(sum, kMaxHitCount)), std::string_view(keys[last[size_t(r)] - 1], 12));
        res.changed = true;
    }
    if (!lastKey.empty() && lastKey > std::string_view(highWater)) {
        file.setHighWaterKey(lastKey);
        res.changed = true;
    }
    res.counted = (long long)keys.size();
    if (!keys.empty()) res.lastCountedKey.assign(keys.back(), 12);
    return res;
}

}  // namespace drawstat

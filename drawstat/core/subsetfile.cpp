#include "drawstat/core/subsetfile.h"

#include "common/core/draws.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace dz::drawstat {

namespace {

void putDigits(char* out, int width, long long v) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = char('0' + v % 10);
        v /= 10;
    }
}

}  // namespace

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

namespace {

// The eight numbers of a draw record, strictly ascending 1..20; false for a line that is no draw.
bool drawNumbers(const dz::DrawRecord& rec, int* x) {
    int prev = 0;
    for (int i = 0; i < 8; ++i) {
        const int v = rec.num[size_t(i)];
        if (v <= prev || v > 20) return false;
        x[i] = prev = v;
    }
    return true;
}

// A draw key as a number (YYYYMMDD * 1000 + NNN), and back.
uint64_t keyNumber(std::string_view key) {
    uint64_t v = 0;
    for (size_t i = 0; i < 12; ++i)
        if (i != 8) v = v * 10 + uint64_t(key[i] - '0');
    return v;
}
std::string keyText(uint64_t v) {
    std::string s(12, ' ');
    for (int i = 11; i >= 0; --i) {
        if (i == 8) continue;
        s[size_t(i)] = char('0' + v % 10);
        v /= 10;
    }
    return s;
}

// Calls hit(rank) for every K-subset of the draw x[0..7]; t[j][v] is what number v takes off the
// rank in slot j, so the rank is built up slot by slot as the positions are chosen.
template <int K, int J = 0>
struct Subsets {
    template <class Hit>
    static void run(const int (&t)[8][21], const int* x, int from, int partial, Hit& hit) {
        if constexpr (J == K) {
            hit(partial);
        } else {
            for (int p = from; p <= 8 - (K - J); ++p) Subsets<K, J + 1>::run(t, x, p + 1, partial - t[J][x[p]], hit);
        }
    }
};

}  // namespace

CountInResult countIn(CounterFile& file, const dz::DrawFile& draws,
                      const std::function<bool(std::string_view key)>& slice) {
    CountInResult res;
    const int k = file.k(), n = file.records();
    const std::string highWater(file.highWaterKey());
    int t[8][21] = {};
    for (int j = 0; j < k; ++j)
        for (int v = 1; v <= 20; ++v) t[j][v] = int(binomial(20 - v, k - j));

    std::vector<uint32_t> added(size_t(n) + 1, 0);
    std::vector<uint64_t> last(size_t(n) + 1, 0);  // the key of the last draw that held the subset
    std::string lastCounted;                       // the key of the last draw counted
    std::string lastKey;                           // of the last line whose key is a draw key
    unsigned sinceSlice = 0;
    uint64_t at = 0;
    auto hit = [&](int r) {
        ++added[size_t(r)];
        last[size_t(r)] = at;
    };

    dz::DrawReader reader(draws);
    for (auto batch = reader.next(); !batch.empty(); batch = reader.next()) {
        for (const dz::DrawLine& l : batch) {
            if (slice && ++sinceSlice >= 4096) {
                sinceSlice = 0;
                if (!slice(lastCounted)) {
                    res.stopped = true;
                    res.counted = 0;
                    return res;
                }
            }
            if (l.item.size() < 12) continue;
            const std::string_view key = l.item.substr(0, 12);
            if (!isDrawKey(key)) continue;
            lastKey.assign(key);
            if (key <= std::string_view(highWater)) continue;
            int x[8];
            if (!drawNumbers(l.record, x)) continue;
            lastCounted.assign(key);
            ++res.counted;
            at = keyNumber(key);
            switch (k) {
            case 4: Subsets<4>::run(t, x, 0, n, hit); break;
            case 5: Subsets<5>::run(t, x, 0, n, hit); break;
            case 6: Subsets<6>::run(t, x, 0, n, hit); break;
            case 7: Subsets<7>::run(t, x, 0, n, hit); break;
            default: Subsets<8>::run(t, x, 0, n, hit); break;
            }
        }
    }
    for (int r = 1; r <= n; ++r) {
        if (!added[size_t(r)]) continue;
        const long long sum = (long long)file.count(r) + added[size_t(r)];
        file.setRecord(r, int(std::min<long long>(sum, kMaxHitCount)), keyText(last[size_t(r)]));
        res.changed = true;
    }
    if (!lastKey.empty() && std::string_view(lastKey) > std::string_view(highWater)) {
        file.setHighWaterKey(lastKey);
        res.changed = true;
    }
    res.lastCountedKey = lastCounted;
    return res;
}

}  // namespace dz::drawstat

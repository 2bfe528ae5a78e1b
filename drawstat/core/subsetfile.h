// The subset counter file: one fixed record for every k-subset of 1..20 in lexicographic order,
// a trailer with the high-water key, and the count-in of new draws. Held whole in memory: a
// count-in counts there and the file is replaced whole, so a stopped or killed run never leaves
// counts raised without the trailer that records them.
#pragma once
#include "common/core/combinations.h"
#include "common/core/draws.h"
#include "common/core/textfile.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace dz::drawstat {

inline constexpr int kMaxHitCount = 99999;
inline constexpr std::string_view kZeroKey = "00000000 000";

// C(20, k): the subset records of the file.
inline int subsetCount(int k) { return int(binomial(20, k)); }
inline int recordLength(int k) { return 2 * k + 19; }
// The whole file as regeneration writes it: every count zero, every key the zero key.
std::string zeroedCounterFile(int k);
// Whether the 12 characters form a draw key: eight digits, a blank, three digits.
bool isDrawKey(std::string_view key);

class CounterFile {
public:
    enum class Status { Ok, Missing, WrongSize };
    // A file of the wrong size (cut, grown, foreign) is not a counter file: WrongSize.
    static Status load(const QString& path, int k, CounterFile& out);
    static std::optional<CounterFile> fromBytes(int k, std::string bytes);

    int k() const { return k_; }
    int records() const { return n_; }
    const std::string& bytes() const { return bytes_; }
    bool save(const QString& path) const { return dz::writeOwnBytes(path, bytes_); }

    // Fields of record r (1 .. records() + 1), as stored.
    std::string_view subsetField(int r) const { return {text(r), size_t(2 * k_)}; }
    std::string_view countField(int r) const { return {text(r) + 2 * k_, 5}; }
    std::string_view keyField(int r) const { return {text(r) + 2 * k_ + 5, 12}; }
    // The count's numeric value, within 0..99999.
    int count(int r) const;
    std::string_view highWaterKey() const { return keyField(n_ + 1); }

    void setRecord(int r, int count, std::string_view key);
    void setHighWaterKey(std::string_view key);

private:
    const char* text(int r) const { return bytes_.data() + size_t(r - 1) * size_t(len_) + 2; }
    char* text(int r) { return bytes_.data() + size_t(r - 1) * size_t(len_) + 2; }
    int k_ = 0, n_ = 0, len_ = 0;
    std::string bytes_;
};

struct CountInResult {
    long long counted = 0;        // draws counted in
    std::string lastCountedKey;   // the key of the last of them
    bool stopped = false;         // the run was stopped: the file is unchanged
    bool changed = false;         // a count or the high-water key changed
};

// Counts every draw whose key is above the file's high-water key into the records of its
// k-subsets. A line counts only when its key is a draw key and its eight numbers read as strictly
// ascending values of 1..20. The high-water key becomes the greater of the old one and the key of
// the last line whose key is a draw key. slice, when given, is called every few thousand lines
// with the key of the draw being counted; when it returns false the run stops and the file is
// left as it was.
CountInResult countIn(CounterFile& file, const dz::DrawFile& draws,
                      const std::function<bool(std::string_view key)>& slice = {});
}  // namespace dz::drawstat

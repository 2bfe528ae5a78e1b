// The draw record and the draw files ("vevud.txt", and the partial-day "vevud.dat" of the same layout).
#pragma once
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dz {

inline constexpr const char* kDrawHistoryFile = "vevud.txt";
inline constexpr const char* kPartialDayFile = "vevud.dat";
// The most lines a key list or a draw list holds.
inline constexpr int kRowLimit = 32736;
// The full list of draws shows at most this many of the last lines.
inline constexpr int kFullListLimit = 32700;

// W: analyses that honour it take the draws whose index is greater than W.
inline long long drawWindowStart(long long drawCount) { return std::max<long long>(1, drawCount - kRowLimit); }

// One record as the analysis passes see it: fields by fixed column, each by its numeric value.
struct DrawRecord {
    uint32_t mask = 0;             // bit n set for every number field that reads as 1..20
    std::array<int8_t, 8> num{};   // value of number field i: 0..20, or -1 when outside (not counted)
    int8_t extra = -1;             // value of the extra number field when it reads as 0..20, else -1
};

// The record of one input item (the line read as one field). Short or faulty fields read as
// the runtime reads them: a missing field is 0, a field outside 0..20 is -1.
DrawRecord parseDrawRecord(std::string_view item);
// Value of the two-character field at a 1-based column ("05" and " 5" are 5; missing is 0).
int fieldValue(std::string_view item, size_t column1, size_t width = 2);

inline constexpr size_t numberColumn(int i /*1..8*/) { return 14 + 3 * static_cast<size_t>(i - 1); }
inline std::string_view drawKey(std::string_view item) { return item.substr(0, std::min<size_t>(12, item.size())); }
// Columns 13..39: a blank, the eight numbers and the extra number.
inline std::string_view numbersPart(std::string_view item) {
    return item.size() < 13 ? std::string_view{} : item.substr(12, std::min<size_t>(27, item.size() - 12));
}

// A whole draw file in memory: every line counts as one draw (index = line number, 1-based in
// the programs, 0-based here).
class DrawFile {
public:
    DrawFile() = default;
    // nullopt when the file cannot be opened.
    static std::optional<DrawFile> load(const QString& path);
    static DrawFile fromBytes(std::string bytes);

    size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    // The whole line, line end dropped.
    std::string_view line(size_t i) const { return lines_[i]; }
    // The line read as one input field: leading blanks skipped, ended by a comma.
    std::string_view item(size_t i) const;
    const DrawRecord& record(size_t i) const { return records_[i]; }
    const std::vector<DrawRecord>& records() const { return records_; }

private:
    std::shared_ptr<const std::string> bytes_;
    std::vector<std::string_view> lines_;
    std::vector<DrawRecord> records_;
};

// The draw count and the line count of a file without parsing records; nullopt when it cannot be opened.
std::optional<size_t> countLines(const QString& path);

// C(n, k) as a double, 0 when n < k.
double countCombinations(int n, int k);

}  // namespace dz

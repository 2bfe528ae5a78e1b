// The draw record and the draw files ("vevud.txt", and the partial-day "vevud.dat" of the same layout).
#pragma once
#include "common/core/suite.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dz {

inline constexpr const char* kDrawHistoryFile = "vevud.txt";
inline constexpr const char* kPartialDayFile = "vevud.dat";
// The full list of draws shows at most this many of the last lines.
inline constexpr int kFullListLimit = 32700;

// W: analyses that honour it take the draws whose index is greater than W.
inline long long drawWindowStart(long long drawCount) { return std::max<long long>(1, drawCount - kRowLimit); }

// One record as the analysis passes see it: fields by fixed column, each by its numeric value.
struct DrawRecord {
    uint32_t mask = 0;             // bit n set for every number field that reads as 1..20
    std::array<int8_t, 8> num{};   // value of number field i: 0..20, or -1 when outside (not counted)
    int8_t extra = -1;             // value of the extra number field when it reads as 0..20, else -1
    bool twoDigits = false;        // every field, the extra number's too, is two digits: field i
                                   // holds the value num[i] shows, or one of 21..99 where num[i] is -1
};

// The record of one input item (the line read as one field). Short or faulty fields read as
// their numeric value (val, halves to even): a missing field is 0, a field outside 0..20 is -1.
DrawRecord parseDrawRecord(std::string_view item);
// Value of the two-character field at a 1-based column ("05" and " 5" are 5; missing is 0).
int fieldValue(std::string_view item, size_t column1, size_t width = 2);

inline constexpr size_t numberColumn(int i /*1..8*/) { return 14 + 3 * static_cast<size_t>(i - 1); }
inline std::string_view drawKey(std::string_view item) { return item.substr(0, std::min<size_t>(12, item.size())); }
// Columns 13..39: a blank, the eight numbers and the extra number.
inline std::string_view numbersPart(std::string_view item) {
    return item.size() < 13 ? std::string_view{} : item.substr(12, std::min<size_t>(27, item.size() - 12));
}

// What a reader hands on of one line: lists show no more of a line than this.
inline constexpr size_t kDrawLineKept = 4096;
// What a reader keeps of a line read as one input field: the key, the numbers part and the
// record lie within its first 39 characters.
inline constexpr size_t kDrawItemKept = 40;

// One line of a draw file as a reader hands it on. The views stay valid until the reader's next batch.
struct DrawLine {
    size_t index = 0;         // 0-based line number (from the reader's first line)
    std::string_view line;    // the line, its end dropped, cut to kDrawLineKept bytes
    std::string_view item;    // the line read as one input field (leading blanks skipped, ended by
                              // a comma), cut to kDrawItemKept bytes
    DrawRecord record;        // read from the item
};

// The instructions a reader's line scan uses: the processor's best (the default), or the baseline
// that every processor of its family has (SSE2 on x86-64), so that tests can read the same bytes
// both ways.
enum class LineScan { Best, Baseline };
// Its name: "avx2", "sse2" or "plain" (processors without vector scans, and builds with DIZOV_SCALAR).
const char* lineScanName(LineScan scan = LineScan::Best);

// A draw file ("vevud.txt", "vevud.dat") to be read in passes: every line counts as one draw.
// Nothing is kept in memory between passes but the open file: each pass streams the file in large
// blocks, so a history of 1.5 million draws costs a few megabytes, and a line of any length is read
// without building it whole. A UTF-8 byte order mark at the start is skipped. Copies share the file.
class DrawFile {
public:
    DrawFile();
    // nullopt when the file cannot be opened or is no regular file (a pipe, a device). The passes
    // read the file as it was opened.
    static std::optional<DrawFile> load(const QString& path);
    // A file held in memory (tests, fuzzing, synthetic histories).
    static DrawFile fromBytes(std::string bytes);

    // The number of lines: a counting pass the first time (no parsing), remembered after.
    size_t size() const;
    bool empty() const { return size() == 0; }
    uint64_t byteSize() const;

    struct Source;

private:
    friend class DrawReader;
    std::shared_ptr<Source> src_;
};

// A pass over a draw file, in batches of lines in file order.
class DrawReader {
public:
    // From line firstLine on (lines before it are split but not parsed).
    explicit DrawReader(const DrawFile& file, size_t firstLine = 0, LineScan scan = LineScan::Best);
    // Only the last n lines (fewer when the file has fewer), the file read from its end: their
    // indexes count from 0 at the first of them.
    static DrawReader tail(const DrawFile& file, size_t n, LineScan scan = LineScan::Best);
    ~DrawReader();
    DrawReader(DrawReader&&) noexcept;
    DrawReader& operator=(DrawReader&&) noexcept;

    // The next lines; empty at the end of the file.
    std::span<const DrawLine> next();

private:
    struct State;
    std::unique_ptr<State> s_;
};

// f(const DrawLine&) for every line from firstLine on. Inlined, so that a pass built for a
// processor's own instructions (target clones) runs f with them.
template <class F>
[[gnu::always_inline]] inline void forEachDraw(const DrawFile& file, F&& f, size_t firstLine = 0,
                                               LineScan scan = LineScan::Best) {
    DrawReader r(file, firstLine, scan);
    for (auto batch = r.next(); !batch.empty(); batch = r.next())
        for (const DrawLine& l : batch) f(l);
}

// The line count of a file without parsing records; nullopt when it cannot be opened.
std::optional<size_t> countLines(const QString& path);

}  // namespace dz

// Reading and writing the suite's plain text files: cp1250, CR LF written, CR LF or LF read,
// every write replaces the file whole through a temporary file in the same folder.
#pragma once
#include "common/core/suite.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dz {

// Every reader below opens its file with openForReading: a file that "cannot be opened" includes
// one that is no regular file.

// The whole file as bytes; nullopt when it cannot be opened (missing, unreadable, no regular file).
std::optional<std::string> readFileBytes(const QString& path);

// The bytes without a UTF-8 byte order mark at their start (editors put one before the first line);
// every reader of a whole file below skips it.
std::string_view withoutBom(std::string_view bytes);

// The most characters of one line that a reader keeps as text or a list shows: far more than any
// record, key row or setting holds, and a file of one huge line never becomes a huge text.
inline constexpr size_t kLineTextLimit = 4096;
// A line or item as text: decoded from cp1250, cut at kLineTextLimit characters.
QString decodeCapped(std::string_view bytes);

// Splits bytes into lines: CR LF, LF or a lone CR ends a line, so no CR reaches one; a last line without an
// end counts, an empty tail after the last end does not. The views point into bytes.
std::vector<std::string_view> splitLines(std::string_view bytes);

// Lines of a text file, decoded, each cut at kLineTextLimit characters; nullopt when it cannot be opened.
std::optional<QStringList> readLines(const QString& path);

// Comma-separated input items: leading blanks and tabs are skipped, an item ends at a comma or
// at the end of its line (a comma lets the next item start on the same line), an empty line gives
// an empty item. Trailing blanks stay in the item.
class InputItemReader {
public:
    explicit InputItemReader(std::string_view bytes) : s_(withoutBom(bytes)) {}
    bool atEnd() const { return pos_ >= s_.size(); }
    // The next item; call only while !atEnd().
    std::string_view next();
    // The next item where one in double quotes is taken without them (a comma inside belongs to
    // it, the rest up to its end is dropped), as settings files are read.
    std::string_view nextField();

private:
    std::string_view s_;
    size_t pos_ = 0;
};
// The first input item of one line (what reading a line as one field gives); the line is taken as
// it is, a byte order mark belongs to a file's start only.
std::string_view firstItem(std::string_view line);

// All input items of a file, decoded, each cut at kLineTextLimit characters; nullopt when it cannot be opened.
std::optional<QStringList> readInputItems(const QString& path);
// The first input item of a file (empty when the file is empty), cut at kLineTextLimit characters;
// nullopt when it cannot be opened.
std::optional<QString> readFirstItem(const QString& path);

// Reads a file a line at a time without holding it whole (lines end as splitLines ends them, a
// byte order mark at the start is skipped): f(line, cut) for every line until f returns false;
// a line longer than maxLine is passed cut to its first maxLine bytes with cut set. False when
// the file cannot be opened.
bool forEachLine(const QString& path, size_t maxLine, const std::function<bool(std::string_view, bool)>& f);
// The same, reading no more than maxBytes bytes of the file: a line cut short by that end is
// passed as the last one.
bool forEachLine(const QString& path, size_t maxLine, uint64_t maxBytes,
                 const std::function<bool(std::string_view, bool)>& f);

// The bytes that count lines (or items) of at most maxLine bytes can take with their line ends and
// a byte order mark: the most a bounded reader need read of a file for them, whatever the file is.
constexpr uint64_t readBudget(size_t count, size_t maxLine) { return uint64_t(count) * (uint64_t(maxLine) + 2) + 3; }

// Reads a file's input items as a stream, split as InputItemReader::next splits them (a byte
// order mark at the start skipped): f(item, cut) for every item until f returns false; an item
// longer than maxItem is passed cut to its first maxItem bytes with cut set. Reading stops after
// maxBytes bytes of the file (the item then read so far is the last). False when the file cannot
// be opened.
bool forEachItem(const QString& path, size_t maxItem, uint64_t maxBytes,
                 const std::function<bool(std::string_view, bool)>& f);
// The first maxItems input items of a file, read so, each cut at maxItem bytes; nullopt when the
// file cannot be opened.
std::optional<std::vector<std::string>> readItems(const QString& path, size_t maxItems, size_t maxItem = kLineTextLimit);

// What is kept of a settings, selection or list file read at start (their lines are short, their
// line counts small), so that a huge file in its place neither stalls the start nor fills the memory.
inline constexpr size_t kStartFileLines = size_t(kRowLimit);  // the most lines a list holds
inline constexpr size_t kStartLineBytes = 512;    // far longer than any setting, row or description

// Opens a file for reading, the one way every reader of the suite opens one: without waiting (a
// named pipe that no process writes must not stop the program) and only when it is a regular
// file, a link to one included; anything else (a pipe, a device, a folder) is not opened at all.
// The descriptor reads as usual (O_NONBLOCK cleared); -1 when the file is not opened.
int openRegularFile(const QString& path);
// The same into a QFile. False when it is not opened: at start such a file counts as missing,
// chosen in a dialog it gets the program's "cannot open" message.
bool openForReading(QFile& file, const QString& path);

// The head of a text file, read as a stream: its first maxLines lines (ended as splitLines ends
// them, a byte order mark at the start skipped), each cut at maxLine bytes and followed by "\n"
// where the file ended it. Reading stops after the bytes that many lines of that length can take,
// so that a file of one huge line or of gigabytes costs no more than the lines kept. nullopt when
// the file cannot be opened or is no regular file (openForReading).
std::optional<std::string> readHead(const QString& path, size_t maxLines, size_t maxLine = kStartLineBytes);
// The same lines decoded, at most maxLines of them, each cut at maxLine bytes.
std::optional<QStringList> readLines(const QString& path, size_t maxLines, size_t maxLine = kStartLineBytes);

// Writes lines, each ended by CR LF, in cp1250, replacing the file whole. False when any step
// failed; the old file then stays as it was.
bool writeLines(const QString& path, const QStringList& lines);
bool writeBytes(const QString& path, std::string_view bytes);

// A file a program writes without the user naming it (settings, counters, lists, the key file
// pointer) is written only where its name is missing, a regular file or a link to one: a link to
// anything else or to nothing, a folder, a pipe or a device of that name stays as it is.
bool ownFileWritable(const QString& path);
// Whether nothing at all has that name: no file, no link (not even one to nothing). A start file's
// defaults are written only then.
bool nameIsFree(const QString& path);
// writeLines and writeBytes for such files: false, with nothing written, where !ownFileWritable.
bool writeOwnLines(const QString& path, const QStringList& lines);
bool writeOwnBytes(const QString& path, std::string_view bytes);

}  // namespace dz

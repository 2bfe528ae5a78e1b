#include "textfile.h"

#include "cp1250.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

namespace dz {

std::optional<std::string> readFileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    std::string out;
    const qint64 size = f.size();
    if (size > 0) out.reserve(static_cast<size_t>(size));
    char buf[1 << 16];
    for (;;) {
        const qint64 n = f.read(buf, sizeof buf);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

std::string_view withoutBom(std::string_view bytes) {
    return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? bytes.substr(3) : bytes;
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    // A line ends at CR LF, LF or a lone CR (as the original runtime's line input ends it), so
    // that no CR ever reaches a line; the input item reader ends its items the same way.
    std::vector<std::string_view> lines;
    const char* const base = bytes.data();
    const size_t n = bytes.size();
    size_t pos = 0;
    size_t lf = 0;  // the next LF at or after pos (n when none); kept, so CR-only text stays linear
    bool lfKnown = false;
    while (pos < n) {
        if (!lfKnown || lf < pos) {
            const void* p = std::memchr(base + pos, '\n', n - pos);
            lf = p ? static_cast<size_t>(static_cast<const char*>(p) - base) : n;
            lfKnown = true;
        }
        size_t end = lf;
        if (const void* cr = std::memchr(base + pos, '\r', end - pos))
            end = static_cast<size_t>(static_cast<const char*>(cr) - base);
        lines.push_back(bytes.substr(pos, end - pos));
        if (end < n && bytes[end] == '\r') ++end;
        if (end < n && bytes[end] == '\n') ++end;
        pos = end;
    }
    return lines;
}

std::optional<QStringList> readLines(const QString& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    QStringList out;
    for (auto l : splitLines(*bytes)) out << cp1250::decode(l);
    return out;
}

std::string_view InputItemReader::next() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    const size_t begin = pos_;
    while (pos_ < s_.size() && s_[pos_] != ',' && s_[pos_] != '\n' && s_[pos_] != '\r') ++pos_;
    std::string_view item = s_.substr(begin, pos_ - begin);
    if (pos_ < s_.size()) {
        if (s_[pos_] == ',') {
            ++pos_;
        } else {
            if (s_[pos_] == '\r') ++pos_;
            if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
        }
    }
    return item;
}

std::string_view InputItemReader::nextField() {
    size_t p = pos_;
    while (p < s_.size() && (s_[p] == ' ' || s_[p] == '\t')) ++p;
    if (p >= s_.size() || s_[p] != '"') return next();
    const size_t begin = p + 1;
    size_t end = begin;
    while (end < s_.size() && s_[end] != '"' && s_[end] != '\n' && s_[end] != '\r') ++end;
    const std::string_view item = s_.substr(begin, end - begin);
    pos_ = end < s_.size() && s_[end] == '"' ? end + 1 : end;
    next();  // what stands after the closing quote, up to the item's end
    return item;
}

std::string_view firstItem(std::string_view line) {
    InputItemReader r(line);
    return r.atEnd() ? std::string_view{} : r.next();
}

std::optional<QStringList> readInputItems(const QString& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    QStringList out;
    InputItemReader r(*bytes);
    while (!r.atEnd()) out << cp1250::decode(r.next());
    return out;
}

std::optional<QString> readFirstItem(const QString& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    InputItemReader r(*bytes);
    return r.atEnd() ? QString() : cp1250::decode(r.next());
}

bool writeBytes(const QString& path, std::string_view bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (!bytes.empty() && f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        f.cancelWriting();
        return false;
    }
    // commit() passes over a failure of its own last flush (a full disk) and would put a cut
    // file in place of the old one: flush here, where a failure can still cancel.
    if (!f.flush() || f.error() != QFileDevice::NoError) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool writeLines(const QString& path, const QStringList& lines) {
    QByteArray out;
    qsizetype total = 0;
    for (const auto& l : lines) total += l.size() + 2;
    out.reserve(total);
    for (const auto& l : lines) {
        out += cp1250::encode(l);
        out += "\r\n";
    }
    return writeBytes(path, std::string_view(out.constData(), size_t(out.size())));
}

}  // namespace dz

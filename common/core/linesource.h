// Lines made when they are asked for. A list of thousands of lines keeps compact records and
// formats a line only when a view, an export, a copy or assistive technology reads it.
#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dz {

class LineSource {
public:
    virtual ~LineSource() = default;
    virtual int count() const = 0;
    virtual QString line(int i) const = 0;
};

// Every line of a source, in order (for an export or a save: the lines are built here, once).
QStringList allLines(const LineSource& s);

// Records in the order they are shown, each formatted by one function.
template <class Record>
class RecordLines : public LineSource {
public:
    using Format = std::function<QString(const Record&)>;
    RecordLines(std::vector<Record> records, Format format) : records_(std::move(records)), format_(std::move(format)) {}
    int count() const override { return int(records_.size()); }
    QString line(int i) const override { return format_(records_[size_t(i)]); }
    const std::vector<Record>& records() const { return records_; }

private:
    std::vector<Record> records_;
    Format format_;
};

// Lines already made (a list that also takes single lines keeps them this way).
class StringLines : public LineSource {
public:
    explicit StringLines(QStringList lines) : lines_(std::move(lines)) {}
    int count() const override { return int(lines_.size()); }
    QString line(int i) const override { return lines_[i]; }

private:
    QStringList lines_;
};

// Lines kept as the bytes a file holds, each decoded when it is read. The bytes lie in blocks
// of a fixed size (a line never spans two), which the allocator hands out again from one fill to
// the next instead of mapping fresh memory for one large buffer.
class ByteLines : public LineSource {
public:
    using Decode = QString (*)(std::string_view);
    explicit ByteLines(Decode decode) : decode_(decode) {}
    void reserve(size_t lines) { at_.reserve(lines); }
    void append(std::string_view line) {
        if (line.size() > kBlock) {
            // a line longer than a block gets a block of its own
            blocks_.emplace_back(line);
            at_.push_back({uint32_t(blocks_.size() - 1), 0, uint32_t(line.size())});
            blocks_.emplace_back();
            return;
        }
        if (blocks_.empty() || blocks_.back().size() + line.size() > kBlock) {
            blocks_.emplace_back();
            blocks_.back().reserve(kBlock);
        }
        std::string& b = blocks_.back();
        at_.push_back({uint32_t(blocks_.size() - 1), uint32_t(b.size()), uint32_t(line.size())});
        b.append(line);
    }
    int count() const override { return int(at_.size()); }
    QString line(int i) const override {
        const At& a = at_[size_t(i)];
        return decode_(std::string_view(blocks_[a.block]).substr(a.offset, a.size));
    }

private:
    static constexpr size_t kBlock = 16384;
    struct At {
        uint32_t block, offset, size;
    };
    Decode decode_;
    std::vector<std::string> blocks_;
    std::vector<At> at_;
};

}  // namespace dz

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

// Lines kept as the bytes a file holds, in one buffer, each decoded when it is read.
class ByteLines : public LineSource {
public:
    using Decode = QString (*)(std::string_view);
    explicit ByteLines(Decode decode) : decode_(decode) {}
    void reserve(size_t lines, size_t bytes) {
        ends_.reserve(lines);
        bytes_.reserve(bytes);
    }
    void append(std::string_view line) {
        bytes_.append(line);
        ends_.push_back(bytes_.size());
    }
    int count() const override { return int(ends_.size()); }
    QString line(int i) const override {
        const size_t begin = i == 0 ? 0 : ends_[size_t(i) - 1];
        return decode_(std::string_view(bytes_).substr(begin, ends_[size_t(i)] - begin));
    }

private:
    Decode decode_;
    std::string bytes_;
    std::vector<size_t> ends_;
};

}  // namespace dz

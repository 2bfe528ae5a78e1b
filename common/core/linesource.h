// Lines made when they are asked for. A list of thousands of lines keeps compact records and
// formats a line only when a view, an export, a copy or assistive technology reads it.
#pragma once
#include <QString>
#include <QStringList>
#include <functional>
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

}  // namespace dz

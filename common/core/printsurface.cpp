#include "common/core/printsurface.h"

#include <algorithm>

namespace dz {

RecordingSurface::RecordingSurface(std::function<double(const QString&, double)> widthInPoints)
    : width_(std::move(widthInPoints)) {
    if (!width_) width_ = [](const QString& text, double points) { return double(text.size()) * 0.6 * points; };
}

double RecordingSurface::toUnits(double points) const { return points / 72.0 * unitsPerInch(scale_); }

double RecordingSurface::lineHeight() const { return toUnits(size_ * 1.15); }

void RecordingSurface::setScale(PrintScale scale) {
    ops_.push_back({Op::Scale, {}, scale == PrintScale::Millimetres ? 0.0 : 1.0});
    scale_ = scale;
}

void RecordingSurface::setFontName(const QString& name) {
    ops_.push_back({Op::FontName, name, 0});
    font_ = name;
}

void RecordingSurface::setFontSize(double points) {
    ops_.push_back({Op::FontSize, {}, points});
    size_ = points;
}

void RecordingSurface::setBold(bool bold) {
    ops_.push_back({Op::Bold, {}, bold ? 1.0 : 0.0});
    bold_ = bold;
}

void RecordingSurface::setCurrentX(double x) {
    ops_.push_back({Op::CurrentX, {}, x});
    x_ = x;
}

void RecordingSurface::setCurrentY(double y) {
    ops_.push_back({Op::CurrentY, {}, y});
    y_ = y;
}

void RecordingSurface::print(const QString& text, bool endLine) {
    ops_.push_back({Op::Print, text, endLine ? 1.0 : 0.0});
    texts_.push_back({page_, x_, y_, text, font_, size_, bold_, scale_, endLine});
    if (endLine) {
        x_ = 0;
        y_ += lineHeight();
    } else {
        x_ += toUnits(width_(text, size_));
    }
}

void RecordingSurface::printEmptyLine() {
    ops_.push_back({Op::EmptyLine, {}, 0});
    x_ = 0;
    y_ += lineHeight();
}

double RecordingSurface::textWidth(const QString& text) {
    ops_.push_back({Op::TextWidth, text, 0});
    return toUnits(width_(text, size_));
}

double RecordingSurface::pageHeight() { return pageHeightMm_ / 25.4 * unitsPerInch(scale_); }

void RecordingSurface::newPage() {
    ops_.push_back({Op::NewPage, {}, 0});
    ++page_;
    x_ = y_ = 0;
}

bool RecordingSurface::endDoc() {
    ops_.push_back({Op::EndDoc, {}, 0});
    ended_ = true;
    return true;
}

int RecordingSurface::count(Op op) const {
    return int(std::count_if(ops_.begin(), ops_.end(), [op](const Operation& o) { return o.op == op; }));
}

int RecordingSurface::printedPages() const {
    // A page is put out when something follows its new page; the first page always is.
    int pages = 1, pending = 0;
    for (const Operation& o : ops_) {
        if (o.op == Op::NewPage) {
            ++pending;
        } else if (o.op == Op::Print && pending) {
            pages += pending;
            pending = 0;
        }
    }
    return pages;
}

}  // namespace dz

#include "printsurface.h"

#include "dialogs.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace dz::ui {

// ---- recording ----

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

// ---- Qt ----

namespace {

class QtPrintSurface : public PrintSurface {
public:
    explicit QtPrintSurface(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}
    ~QtPrintSurface() override {
        if (painter_.isActive()) painter_.end();
    }

    bool begin() {
        if (!painter_.begin(printer_.get())) return false;
        dpiX_ = printer_->logicalDpiX();
        dpiY_ = printer_->logicalDpiY();
        return true;
    }

    void setScale(PrintScale scale) override { scale_ = scale; }
    void setFontName(const QString& name) override {
        if (name != fontName_) {
            fontName_ = name;
            fontDirty_ = true;
        }
    }
    void setFontSize(double points) override {
        if (points != size_) {
            size_ = points;
            fontDirty_ = true;
        }
    }
    void setBold(bool bold) override {
        if (bold != bold_) {
            bold_ = bold;
            fontDirty_ = true;
        }
    }
    void setCurrentX(double x) override { x_ = x; }
    void setCurrentY(double y) override { y_ = y; }

    void print(const QString& text, bool endLine) override {
        applyFont();
        flushPages();
        const double dx = x_ * unitX(), dy = y_ * unitY();
        // A position off every page (a huge shift) prints nothing, rather than asking the
        // engine for coordinates it cannot hold.
        if (std::isfinite(dx) && std::isfinite(dy) && std::abs(dx) < 1e7 && std::abs(dy) < 1e7 && !text.isEmpty())
            draw(QPointF(dx, dy), text);
        if (endLine) {
            x_ = 0;
            y_ += fonts_[current_].height / unitY();
        } else {
            x_ += advance(text) / unitX();
        }
    }

    void printEmptyLine() override {
        applyFont();
        x_ = 0;
        y_ += fonts_[current_].height / unitY();
    }

    double textWidth(const QString& text) override {
        applyFont();
        return advance(text) / unitX();
    }

    double pageHeight() override { return printer_->height() / unitY(); }

    void newPage() override {
        ++pendingPages_;
        x_ = y_ = 0;
    }

    bool endDoc() override {
        // The page asked for last is never printed: the form or list is already out.
        pendingPages_ = 0;
        return painter_.end();
    }

private:
    struct FontEntry {
        QFont font;
        QFontMetricsF metrics;
        double ascent, height;
        // The marks and numbers repeat thousands of times: their shaping and widths are kept.
        QHash<QString, double> widths;
        QHash<QString, QList<QGlyphRun>> runs;
    };

    // Short texts are shaped once and then drawn as kept glyphs; texts of digits and blanks (key
    // rows, row numbers) are put together from their characters' glyphs; others go through drawText.
    void draw(QPointF topLeft, const QString& text) {
        FontEntry& e = fonts_[current_];
        if (text.size() <= 16) {
            for (const QGlyphRun& r : shaped(text)) painter_.drawGlyphRun(topLeft, r);
        } else if (!drawComposed(topLeft, text)) {
            painter_.drawText(QPointF(topLeft.x(), topLeft.y() + e.ascent), text);
        }
    }

    const QList<QGlyphRun>& shaped(const QString& text) {
        FontEntry& e = fonts_[current_];
        auto it = e.runs.find(text);
        if (it == e.runs.end()) {
            QTextLayout layout(text, e.font, printer_.get());
            layout.beginLayout();
            QTextLine line = layout.createLine();
            layout.endLayout();
            // The runs' glyphs stand on the line's baseline, measured from its top.
            QList<QGlyphRun> runs = layout.glyphRuns();
            if (line.isValid() && line.ascent() != e.ascent)
                for (QGlyphRun& r : runs) {
                    QList<QPointF> pos = r.positions();
                    for (QPointF& p : pos) p.ry() += e.ascent - line.ascent();
                    r.setPositions(pos);
                }
            it = e.runs.insert(text, runs);
        }
        return *it;
    }

    bool drawComposed(QPointF topLeft, const QString& text) {
        for (QChar ch : text)
            if (ch != QLatin1Char(' ') && ch != QLatin1Char('.') && !(ch >= QLatin1Char('0') && ch <= QLatin1Char('9')))
                return false;
        QList<quint32> glyphs;
        QList<QPointF> positions;
        glyphs.reserve(text.size());
        positions.reserve(text.size());
        QRawFont font;
        double x = 0;
        for (QChar ch : text) {
            const QString one(ch);
            if (ch != QLatin1Char(' ')) {
                const QList<QGlyphRun>& runs = shaped(one);
                if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1) return false;
                const QGlyphRun& r = runs[0];
                if (!font.isValid()) font = r.rawFont();
                else if (r.rawFont() != font) return false;
                glyphs << r.glyphIndexes()[0];
                positions << QPointF(x + r.positions()[0].x(), r.positions()[0].y());
            }
            x += advance(one);
        }
        if (glyphs.isEmpty()) return true;
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter_.drawGlyphRun(topLeft, run);
        return true;
    }

    double unitX() const { return dpiX_ / unitsPerInch(scale_); }
    double unitY() const { return dpiY_ / unitsPerInch(scale_); }

    void applyFont() {
        if (!fontDirty_) return;
        fontDirty_ = false;
        const QString key = fontName_ + QLatin1Char('|') + QString::number(size_) + QLatin1String(bold_ ? "|b" : "|");
        auto it = index_.find(key);
        if (it == index_.end()) {
            QFont f(fontName_);
            f.setPointSizeF(size_ > 0 && size_ < 2000 ? size_ : 12);
            f.setBold(bold_);
            QFontMetricsF m(f, printer_.get());
            fonts_.push_back({f, m, m.ascent(), m.height(), {}, {}});
            it = index_.insert(key, int(fonts_.size()) - 1);
        }
        current_ = *it;
        painter_.setFont(fonts_[current_].font);
    }

    double advance(const QString& text) {
        FontEntry& e = fonts_[current_];
        if (text.size() > 32) return e.metrics.horizontalAdvance(text);
        auto it = e.widths.find(text);
        if (it == e.widths.end()) it = e.widths.insert(text, e.metrics.horizontalAdvance(text));
        return *it;
    }

    void flushPages() {
        for (; pendingPages_ > 0; --pendingPages_) printer_->newPage();
    }

    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    double dpiX_ = 1200, dpiY_ = 1200;
    PrintScale scale_ = PrintScale::Twips;
    QString fontName_ = QStringLiteral("times new roman");
    double size_ = 10;
    bool bold_ = false;
    bool fontDirty_ = true;
    std::vector<FontEntry> fonts_;
    QHash<QString, int> index_;
    int current_ = 0;
    double x_ = 0, y_ = 0;
    int pendingPages_ = 0;
};

std::unique_ptr<PrintSurface> started(std::unique_ptr<QPrinter> printer) {
#ifdef __GLIBC__
    // Qt's PDF writer (CUPS jobs are PDF too) takes and frees a buffer of some megabytes for every
    // page. By default the C library hands that memory back to the system each time and faults
    // it in again on the next page, which made a key of 8184 forms take half a minute.
    static const bool tuned = [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 128 << 20);
        mallopt(M_TOP_PAD, 16 << 20);
        return true;
    }();
    (void)tuned;
#endif
    auto s = std::make_unique<QtPrintSurface>(std::move(printer));
    if (!s->begin()) return nullptr;
    return s;
}

}  // namespace

std::unique_ptr<PrintSurface> openPdfPrintJob(const QString& pdfFile, const QString& documentName) {
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(pdfFile);
    p->setDocName(documentName);
    p->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                 QPageLayout::Millimeter));
    p->setFullPage(true);
    return started(std::move(p));
}

std::unique_ptr<PrintSurface> openQtPrintJob(const QString& documentName) {
    const QString pdf = qEnvironmentVariable("DIZOV_PRINT_PDF");
    if (!pdf.isEmpty()) return openPdfPrintJob(pdf, documentName);
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    auto p = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    p->setDocName(documentName);
    return started(std::move(p));
}

namespace {
struct PrintSeam {
    std::function<std::shared_ptr<PrintSurface>()> factory;
    std::vector<std::shared_ptr<RecordingSurface>> jobs;
};
PrintSeam& printSeam() {
    static PrintSeam s;
    return s;
}
}  // namespace

std::shared_ptr<PrintSurface> openPrintJob(const QString& documentName) {
    if (seam::enabled()) {
        if (printSeam().factory) return printSeam().factory();
        auto job = std::make_shared<RecordingSurface>();
        printSeam().jobs.push_back(job);
        return job;
    }
    return openQtPrintJob(documentName);
}

namespace seam {
void setPrintJobFactory(std::function<std::shared_ptr<PrintSurface>()> factory) {
    printSeam().factory = std::move(factory);
}
const std::vector<std::shared_ptr<RecordingSurface>>& printJobs() { return printSeam().jobs; }
void resetPrintJobs() {
    printSeam().factory = nullptr;
    printSeam().jobs.clear();
}
}  // namespace seam

}  // namespace dz::ui

#include "common/platform/printsurface.h"

#include "common/platform/dialogs.h"
#include "common/platform/printseam.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRawFont>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cups/cups.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace dz::ui {

namespace {

// Hands the PDF writer's output on to the save file and remembers a write that did not go
// through whole: neither the file nor the writer treats a short write (a full disk) as an error.
class WholeWrites : public QIODevice {
public:
    explicit WholeWrites(QIODevice* to) : to_(to) { open(QIODevice::WriteOnly); }
    bool failed() const { return failed_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        for (qint64 done = 0; done < len;) {
            const qint64 n = to_->write(data + done, len - done);
            if (n <= 0) {
                failed_ = true;
                return -1;
            }
            done += n;
        }
        return len;
    }

private:
    QIODevice* to_;
    bool failed_ = false;
};

// A queue name as the print system takes it: Qt names an instance of a queue "queue/instance".
struct QueueName {
    QByteArray name, instance;
    explicit QueueName(const QString& printer)
        : name(printer.section(QLatin1Char('/'), 0, 0).toLocal8Bit()),
          instance(printer.section(QLatin1Char('/'), 1).toLocal8Bit()) {}
};

// Whether the print server lists the queue as taking jobs. Qt lists a queue that rejects jobs
// like any other, and its printer then drops the server's refusal of the job.
bool queueAcceptsJobs(const QString& printer) {
    const QueueName q(printer);
    cups_dest_t* dest =
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, q.name.constData(), q.instance.isEmpty() ? nullptr : q.instance.constData());
    if (!dest) return false;  // gone since Qt listed it, or the server does not answer
    const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool yes = !accepting || qstrcmp(accepting, "false") != 0;
    cupsFreeDests(1, dest);
    return yes;
}

bool ippSucceeded(ipp_status_t status) { return status <= IPP_STATUS_OK_EVENTS_COMPLETE; }

// Hands a finished PDF document to the queue as one job, with the options Qt's printer gives its
// jobs, and tells whether the server took every part of it. A queue that is paused takes the job
// and holds it: that is no failure. A job the server refuses half way is cancelled.
bool submitPdfJob(const QString& printer, const QString& title, const QPrinter& layout, QIODevice& pdf) {
    const QueueName q(printer);
    const QByteArray media = layout.pageLayout().pageSize().key().toLocal8Bit();
    const char* sides = "one-sided";
    switch (layout.duplex()) {
        case QPrinter::DuplexNone: break;
        case QPrinter::DuplexShortSide: sides = "two-sided-short-edge"; break;
        case QPrinter::DuplexLongSide: sides = "two-sided-long-edge"; break;
        case QPrinter::DuplexAuto:
            sides = layout.pageLayout().orientation() == QPageLayout::Portrait ? "two-sided-long-edge"
                                                                               : "two-sided-short-edge";
            break;
    }
    int count = 0;
    cups_option_t* options = nullptr;
    count = cupsAddOption("media", media.constData(), count, &options);
    count = cupsAddOption("sides", sides, count, &options);
    if (layout.pageLayout().orientation() == QPageLayout::Landscape)
        count = cupsAddOption("landscape", "", count, &options);
    const QByteArray name = title.toLocal8Bit();
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, q.name.constData(), name.constData(), count, options);
    cupsFreeOptions(count, options);
    if (job <= 0) return false;  // refused: not accepting jobs, too many jobs, not allowed

    bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, q.name.constData(), job, name.constData(), CUPS_FORMAT_PDF, 1) ==
                HTTP_STATUS_CONTINUE;
    char buffer[1 << 16];
    while (sent) {
        const qint64 n = pdf.read(buffer, sizeof buffer);
        if (n <= 0) {
            sent = n == 0;
            break;
        }
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, buffer, size_t(n)) == HTTP_STATUS_CONTINUE;
    }
    // The server's answer to the document comes with its end, also after a failed write.
    const bool finished = ippSucceeded(cupsFinishDocument(CUPS_HTTP_DEFAULT, q.name.constData()));
    if (sent && finished) return true;
    cupsCancelJob2(CUPS_HTTP_DEFAULT, q.name.constData(), job, 0);
    return false;
}

// Whether a PDF file was written to its end: the PDF writer does not report a failed write (a
// full temporary folder), and a cut document must not go out as a print.
bool endsLikeAPdf(QIODevice& pdf) {
    const qint64 size = pdf.size();
    if (size < 32 || !pdf.seek(size - 32)) return false;
    const bool whole = pdf.read(32).contains("%%EOF");
    return pdf.seek(0) && whole;
}

// A printer job, or a PDF written into a temporary file beside its target that replaces the
// target only when the whole document was written: Qt's painter does not report a failed write
// (a full disk), the save file does. A printer job is drawn by Qt's printer into a temporary file
// and then handed to the print server here, which tells whether it took the job.
class QtPrintSurface : public PrintSurface {
public:
    QtPrintSurface(std::unique_ptr<QPrinter> printer, std::unique_ptr<QTemporaryFile> spool)
        : printer_(std::move(printer)), spool_(std::move(spool)), device_(printer_.get()) {}
    explicit QtPrintSurface(std::unique_ptr<QSaveFile> file)
        : file_(std::move(file)), sink_(std::make_unique<WholeWrites>(file_.get())),
          pdf_(std::make_unique<QPdfWriter>(sink_.get())), device_(pdf_.get()) {}
    QPdfWriter& pdf() { return *pdf_; }
    ~QtPrintSurface() override {
        // A document never ended leaves the target as it was (the save file drops its temporary).
        if (painter_.isActive()) painter_.end();
    }

    bool begin() {
        if (!painter_.begin(device_)) return false;
        dpiX_ = device_->logicalDpiX();
        dpiY_ = device_->logicalDpiY();
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

    double pageHeight() override { return device_->height() / unitY(); }

    void newPage() override {
        ++pendingPages_;
        x_ = y_ = 0;
    }

    bool endDoc() override {
        // The page asked for last is never printed: the form or list is already out.
        pendingPages_ = 0;
        const bool ended = painter_.end();
        if (printer_)
            return ended && endsLikeAPdf(*spool_) &&
                   submitPdfJob(printer_->printerName(), printer_->docName(), *printer_, *spool_);
        if (!file_) return ended;
        // The save file reports some failed writes only to flush(), and a short one to nobody.
        if (!ended || sink_->failed() || !file_->flush() || file_->error() != QFileDevice::NoError)
            file_->cancelWriting();
        return file_->commit();  // the temporary file replaces the target, or is dropped
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
            QTextLayout layout(text, e.font, device_);
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
            QFontMetricsF m(f, device_);
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
        for (; pendingPages_ > 0; --pendingPages_) device_->newPage();
    }

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QTemporaryFile> spool_;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<WholeWrites> sink_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPagedPaintDevice* device_;
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

void tuneAllocator() {
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
}

std::unique_ptr<PrintSurface> started(std::unique_ptr<QtPrintSurface> s) {
    tuneAllocator();
    if (!s->begin()) return nullptr;
    return s;
}

}  // namespace

std::unique_ptr<PrintSurface> openPdfPrintJob(const QString& pdfFile, const QString& documentName) {
    auto file = std::make_unique<QSaveFile>(pdfFile);
    // No folder of that name, a folder in the file's place, a folder that cannot be written.
    if (QFileInfo(pdfFile).isDir() || !file->open(QIODevice::WriteOnly)) return nullptr;
    auto s = std::make_unique<QtPrintSurface>(std::move(file));
    QPdfWriter& pdf = s->pdf();
    pdf.setResolution(1200);
    pdf.setTitle(documentName);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                  QPageLayout::Millimeter));
    return started(std::move(s));
}

QString pdfPrintFile() { return qEnvironmentVariable("DIZOV_PRINT_PDF"); }

std::unique_ptr<PrintSurface> openQtPrintJob(const QString& documentName) {
    const QString pdf = pdfPrintFile();
    if (!pdf.isEmpty()) return openPdfPrintJob(pdf, documentName);
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    // A queue that rejects jobs is no printer to print on: said before the document is drawn.
    if (info.isNull() || !queueAcceptsJobs(info.printerName())) return nullptr;
    // Qt's printer draws the document with the queue's page size and margins into the spool
    // file (a name without ".pdf", which would turn it into a plain PDF writer); the job is sent
    // from there when the document ends.
    auto spool = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/dizov-print-XXXXXX"));
    if (!spool->open()) return nullptr;
    auto p = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    p->setDocName(documentName);
    p->setOutputFileName(spool->fileName());
    return started(std::make_unique<QtPrintSurface>(std::move(p), std::move(spool)));
}

std::shared_ptr<PrintSurface> openPrintJob(const QString& documentName) {
    if (seam::enabled()) return seam::printJob();
    return openQtPrintJob(documentName);
}

}  // namespace dz::ui

// The operating-system printer behind the print surface (core/printsurface.h): Qt's default
// printer with no dialog, or a PDF file (library dizov_print, which only keyprint links); and the
// seam through which tests record print jobs (platform/printseam.h).
#pragma once
#include "common/core/printsurface.h"
#include "common/platform/printseam.h"

#include <QString>
#include <memory>

namespace dz::ui {

// The PDF file that print jobs go into instead of the printer: the environment variable
// DIZOV_PRINT_PDF; empty for the printer.
QString pdfPrintFile();

// The operating-system printer through Qt: the default printer with no dialog, or the PDF file
// of pdfPrintFile(). nullptr when no printer can be reached (none installed, a queue that rejects
// jobs, or the PDF file cannot be opened). On a printer, endDoc() hands the document to the print
// server and is false when the server refuses the job; a paused queue takes it and holds it.
std::unique_ptr<PrintSurface> openQtPrintJob(const QString& documentName);
// The same into a given PDF file (A4, the whole sheet printable). The file is replaced only when
// the whole document was written: endDoc() is false after a failed write, and the old file stays.
std::unique_ptr<PrintSurface> openPdfPrintJob(const QString& pdfFile, const QString& documentName);

// What a program calls: the Qt job, or while the dialog seam is on, what the seam supplies.
std::shared_ptr<PrintSurface> openPrintJob(const QString& documentName);

}  // namespace dz::ui

// Reading printed PDF documents back with the poppler tools (pdftotext, pdfinfo).
#pragma once
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace dz::keyprint::testing {

// A tool's standard output, as text.
inline QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The pages of a PDF file; -1 when it is none.
inline int pages(const QString& pdf) {
    static const QRegularExpression re(QStringLiteral(R"(Pages:\s+(\d+))"));
    const auto m = re.match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline bool toolsPresent() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

}  // namespace dz::keyprint::testing

#include "common/platform/dialogs.h"

#include "common/core/folder.h"
#include "common/core/keyfile.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>
#include <deque>

namespace dz::ui {
namespace {
struct SeamState {
    bool on = false;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<QString>> inputs;
    std::vector<seam::ShownMessage> messages;
    std::vector<FileDialogRequest> dialogs;
    std::vector<QString> prompts;
};
SeamState& st() {
    static SeamState s;
    return s;
}

Answer firstButton(Buttons b) {
    switch (b) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel: return Answer::Yes;
        case Buttons::RetryCancel: return Answer::Retry;
        default: return Answer::Ok;
    }
}

QString plain(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// A line too wide for any box wraps, and the wrap must keep every word in sight: a word too long
// for a line (a path) may break after any of its characters (a zero-width space, which shows
// nothing), and the "!" or "?" that ends a line stays with the word before it (a no-break space).
QString wrappable(const QString& text) {
    constexpr qsizetype kLongWord = 40;
    QString t;
    t.reserve(text.size() * 2);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype end = i;
        while (end < n && text[end] != QLatin1Char(' ') && text[end] != QLatin1Char('\n')) ++end;
        if (end - i <= kLongWord) {
            t += QStringView(text).mid(i, end - i);
        } else {
            for (qsizetype k = i; k < end; ++k) {
                t += text[k];
                if (!text[k].isHighSurrogate()) t += QChar(0x200B);
            }
        }
        if (end < n) {
            // a blank before the "!" or "?" that ends a line
            const bool beforeMark = text[end] == QLatin1Char(' ') && end + 1 < n &&
                                    (text[end + 1] == QLatin1Char('!') || text[end + 1] == QLatin1Char('?')) &&
                                    (end + 2 == n || text[end + 2] == QLatin1Char('\n'));
            t += beforeMark ? QChar(0x00A0) : text[end];
            ++end;
        }
        i = end;
    }
    return t;
}

// Qt wraps a message wider than about 500 pixels at that width, which breaks lines written to
// stand whole and leaves their ends alone on the next line. A message whose lines fit the screen
// gets a label wide enough for its widest line; a wider one gets the widest label the box may
// have, and wraps there.
void setText(QMessageBox& box, QWidget* parent, const QString& text) {
    const QString lines = plain(text);
    box.setText(lines);
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!label || !screen) return;
    const int screenWidth = screen->availableGeometry().width();
    // Qt's own limit of a message box's width, less the icon and the margins.
    const int room = (screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000)) - 120;
    const QFontMetrics fm(label->font());
    int widest = 0;
    for (const QString& line : lines.split(QLatin1Char('\n'))) widest = std::max(widest, fm.horizontalAdvance(line));
    if (widest > room) {
        box.setText(wrappable(lines));
        label->setMinimumWidth(room);
        return;
    }
    // The label lays its text out a little wider than the advance the metrics give (fractional
    // glyph positions), and a label just as wide as the advance wraps its last word alone onto a
    // line of its own: take the narrowest width at which no line wraps.
    const bool wrap = label->wordWrap();
    label->setWordWrap(true);
    const int unwrapped = label->heightForWidth(QWIDGETSIZE_MAX);
    int width = widest;
    while (width < room && label->heightForWidth(width) > unwrapped) ++width;
    label->setWordWrap(wrap);
    label->setMinimumWidth(width);
}
}  // namespace

QString shownMessage(const QString& text) {
    // Laying out a line of megabytes takes Qt minutes and gigabytes. The messages quote their
    // texts capped (quoted()); this is the last guard, for a line built without the cap.
    const qsizetype n = text.size();
    auto isBreak = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    qsizetype lineStart = 0;
    bool longLine = false;
    for (qsizetype i = 0; i < n; ++i) {
        if (isBreak(text[i])) lineStart = i + 1;
        else if (i - lineStart >= kShownLine) longLine = true;
        if (longLine) break;
    }
    if (!longLine) return text;
    QString out;
    out.reserve(std::min<qsizetype>(n, 4 * kShownLine));
    for (qsizetype i = 0; i < n;) {
        qsizetype end = i;
        while (end < n && !isBreak(text[end])) ++end;
        if (end - i <= kShownLine) {
            out += QStringView(text).mid(i, end - i);
        } else {
            // The start and the end of the line, where a message's own words stand around what
            // it quotes; never half a character.
            qsizetype keep = kShownLine - kShownEnd;
            if (text[i + keep - 1].isHighSurrogate()) --keep;
            qsizetype from = end - kShownEnd;
            if (text[from].isLowSurrogate()) ++from;
            out += QStringView(text).mid(i, keep);
            out += QStringLiteral("...");
            out += QStringView(text).mid(from, end - from);
        }
        qsizetype next = end;
        while (next < n && isBreak(text[next])) ++next;
        out += QStringView(text).mid(end, next - end);
        i = next;
    }
    return out;
}

Answer message(QWidget* parent, const QString& fullText, Icon icon, const QString& fullTitle, Buttons buttons) {
    const QString text = shownMessage(fullText);
    const QString title = shownMessage(fullTitle);
    if (st().on) {
        st().messages.push_back({text, title, icon, buttons});
        if (st().answers.empty()) return firstButton(buttons);
        const Answer a = st().answers.front();
        st().answers.pop_front();
        return a;
    }
    QMessageBox box(parent);
    box.setTextFormat(Qt::PlainText);
    setText(box, parent, text);
    box.setWindowTitle(title);
    switch (icon) {
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
        case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::None: break;
    }
    switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case Buttons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel: return Answer::Cancel;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Retry: return Answer::Retry;
        default: return Answer::Ok;
    }
}

std::optional<QString> fileDialog(QWidget* parent, const FileDialogRequest& r) {
    if (st().on) {
        st().dialogs.push_back(r);
        if (st().files.empty()) return std::nullopt;
        auto f = st().files.front();
        st().files.pop_front();
        return f;
    }
    QFileDialog dlg(parent, r.title);
    dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !r.confirmOverwrite);
    const QStringList filters{QStringLiteral("Minden (*)"), QStringLiteral("Text (*.txt)")};
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(filters.value(r.filterIndex, filters.first()));
    if (!r.startFolder.isEmpty()) dlg.setDirectory(r.startFolder);
    if (!r.defaultSuffix.isEmpty()) dlg.setDefaultSuffix(r.defaultSuffix);
    if (!r.fileName.isEmpty()) dlg.selectFile(r.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().first();
}

std::optional<QString> inputBox(QWidget* parent, const QString& prompt, const QString& title, const QString& preset) {
    if (st().on) {
        st().prompts.push_back(prompt);
        if (st().inputs.empty()) return std::nullopt;
        auto v = st().inputs.front();
        st().inputs.pop_front();
        return v;
    }
    bool ok = false;
    const QString v = QInputDialog::getText(parent, title, plain(prompt), QLineEdit::Normal, preset, &ok);
    if (!ok) return std::nullopt;
    return v;
}

namespace seam {
void enable(bool on) { st().on = on; }
bool enabled() { return st().on; }
void reset() {
    const bool on = st().on;
    st() = SeamState{};
    st().on = on;
}
void queueAnswer(Answer a) { st().answers.push_back(a); }
void queueFile(std::optional<QString> f) { st().files.push_back(std::move(f)); }
void queueInput(std::optional<QString> t) { st().inputs.push_back(std::move(t)); }
const std::vector<ShownMessage>& messages() { return st().messages; }
const std::vector<FileDialogRequest>& fileDialogs() { return st().dialogs; }
const std::vector<QString>& inputPrompts() { return st().prompts; }
}  // namespace seam

std::optional<QString> keyFileDialog(QWidget* parent, const QString& fallbackName) {
    const key::DialogStart start = key::dialogStart(programFolder());
    FileDialogRequest req;
    req.startFolder = start.folder;
    req.fileName = start.fromPointer ? start.name : fallbackName;
    req.filterIndex = 0;
    return fileDialog(parent, req);
}

}  // namespace dz::ui

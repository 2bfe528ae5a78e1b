// Message boxes and file dialogs of the suite, with seams that let a test answer them.
#pragma once
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace dz::ui {

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

// Plain text, never rich text; a lone CR breaks the line like CR LF does. What a message quotes
// is capped where it is built (dz::quoted, dz::quotedPath); as a last guard a line longer than
// kShownLine characters shows its start, "..." and its last kShownEnd characters, so that the
// words that end it still show (the seam records it so).
inline constexpr qsizetype kShownLine = 1000;
inline constexpr qsizetype kShownEnd = 100;
QString shownMessage(const QString& text);
Answer message(QWidget* parent, const QString& text, Icon icon = Icon::None, const QString& title = QString(),
               Buttons buttons = Buttons::Ok);

struct FileDialogRequest {
    bool save = false;
    QString startFolder;
    QString fileName;         // preset name
    QString defaultSuffix;    // "txt": added when the user types a name without one
    bool confirmOverwrite = false;
    int filterIndex = 0;      // 0: "Minden" (every file), 1: "Text" (*.txt)
    QString title;
};
// The chosen full name, nullopt on Cancel.
std::optional<QString> fileDialog(QWidget* parent, const FileDialogRequest& request);
// The open dialog for a key file, started at the key file saved last ("filenev.txt"), every file
// shown; before any key file was saved it starts in the program folder and offers fallbackName.
std::optional<QString> keyFileDialog(QWidget* parent, const QString& fallbackName = QString());

// A text input box: a prompt, a line to type in, OK and Cancel; nullopt on Cancel.
std::optional<QString> inputBox(QWidget* parent, const QString& prompt, const QString& title,
                                const QString& preset = QString());

namespace seam {
struct ShownMessage {
    QString text, title;
    Icon icon;
    Buttons buttons;
};
// While the seam is on, no dialog is shown: each call takes the next queued answer (a message box
// without one answers with its first button, a file dialog or input box with Cancel) and is recorded.
void enable(bool on = true);
bool enabled();
void reset();  // clears queues and records, keeps the seam on
void queueAnswer(Answer a);
void queueFile(std::optional<QString> fullName);
void queueInput(std::optional<QString> text);
const std::vector<ShownMessage>& messages();
const std::vector<FileDialogRequest>& fileDialogs();
const std::vector<QString>& inputPrompts();
}  // namespace seam

}  // namespace dz::ui

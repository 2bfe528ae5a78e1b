// The key files of the program folder as the key file list shows them: one table of records
// (real name, shown entry, date text) and two orders over it, by name and by date, so that the
// entry a user picks always names the file it shows.
#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <string_view>
#include <vector>

namespace dz::keyeval {

// The key file list's column for the name, in twips.
inline constexpr int kNameColumnTwips = 2445;

// Whether a file's first input item is one key row of 8 numbers: 23 characters once trimmed,
// the third a blank.
bool isKeyRowItem(std::string_view item);
// The first input item of a file, reading no further than its first line; nullopt when it
// cannot be opened.
std::optional<QString> firstLineItem(const QString& path);

// The date text of a file: its first 12 characters name the day and sort in date order.
QString dateText(const QDateTime& modified);

// The shown entry: the lower-cased name fitted to the column (cut with ".." when it had to be
// shortened), a tab, the date text. width gives a text's width in the same unit as limit.
using WidthFn = std::function<int(const QString&)>;
QString displayEntry(const QString& name, const QString& date, const WidthFn& width, int limit);

class KeyFileList {
public:
    enum class View { Name, Date };
    struct Record {
        QString name;   // the real file name, without folder
        QString entry;  // as the list shows it
        QString date;
    };

    // Lists the key files of a folder (".txt" in any case whose first item is a key row).
    void scan(const QString& folder, const WidthFn& width, int limit);
    void add(const QString& name, const QString& date, const WidthFn& width, int limit);

    int size() const { return int(recs_.size()); }
    QStringList entries(View v) const;
    // The real name behind the entry at a position of a view; empty when out of range.
    QString nameAt(View v, int pos) const;
    // Forgets the entries at these positions of the name view (the files stay on disk).
    void removeFromNameView(const std::vector<int>& positions);

private:
    void order();
    const std::vector<int>& orderOf(View v) const { return v == View::Name ? byName_ : byDate_; }
    std::vector<Record> recs_;
    std::vector<int> byName_, byDate_;
};

}  // namespace dz::keyeval

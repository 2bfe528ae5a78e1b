#include "keyeval/core/keyfilelist.h"

#include "common/core/cp1250.h"
#include "keyeval/core/evaluation.h"
#include "common/core/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <numeric>
#include <set>

namespace dz::keyeval {

bool isKeyRowItem(std::string_view item) {
    size_t b = 0, e = item.size();
    while (b < e && item[b] == ' ') ++b;
    while (e > b && item[e - 1] == ' ') --e;
    return e - b == 23 && item[b + 2] == ' ';
}

std::optional<QString> firstLineItem(const QString& path) {
    const auto head = readHead(path, 1, kLineTextLimit);
    if (!head) return std::nullopt;
    return cp1250::decode(firstItem(*head));
}

QString dateText(const QDateTime& modified) { return modified.toString(QStringLiteral("yyyy.MM.dd. HH:mm")).left(12); }

QString displayEntry(const QString& name, const QString& date, const WidthFn& width, int limit) {
    const QString lower = name.toLower();
    auto fitted = [&](int len) { return (lower + QString(len, QLatin1Char(' '))).left(len); };
    QString e = fitted(32);
    if (lower.size() > 32) e.replace(30, 2, QStringLiteral(".."));
    int k = 0;
    while (k < 30 && width(e.left(32 - k)) > limit) {
        ++k;
        e = fitted(32 - k);
    }
    if (k > 0 && e.mid(30 - k, 2) != QStringLiteral("  ")) e.replace(30 - k, 2, QStringLiteral(".."));
    return e + QLatin1Char('\t') + date;
}

void KeyFileList::scan(const QString& folder, const WidthFn& width, int limit) {
    recs_.clear();
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& fi : files) {
        if (!fi.fileName().endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) continue;
        const auto item = firstLineItem(fi.absoluteFilePath());
        if (!item) continue;
        const QByteArray bytes = cp1250::encode(*item);
        if (!isKeyRowItem(std::string_view(bytes.constData(), size_t(bytes.size())))) continue;
        recs_.push_back({fi.fileName(), QString(), dateText(fi.lastModified())});
        recs_.back().entry = displayEntry(fi.fileName(), recs_.back().date, width, limit);
    }
    order();
}

void KeyFileList::add(const QString& name, const QString& date, const WidthFn& width, int limit) {
    recs_.push_back({name, displayEntry(name, date, width, limit), date});
    order();
}

void KeyFileList::order() {
    byName_.resize(recs_.size());
    std::iota(byName_.begin(), byName_.end(), 0);
    byDate_ = byName_;
    auto nameLess = [this](int a, int b) {
        const Record &x = recs_[size_t(a)], &y = recs_[size_t(b)];
        if (x.entry != y.entry) return cp1250::less(x.entry, y.entry);
        return cp1250::less(x.name, y.name);
    };
    std::stable_sort(byName_.begin(), byName_.end(), nameLess);
    std::stable_sort(byDate_.begin(), byDate_.end(), [&](int a, int b) {
        const Record &x = recs_[size_t(a)], &y = recs_[size_t(b)];
        if (x.date != y.date) return cp1250::less(x.date, y.date);
        return nameLess(a, b);
    });
}

QStringList KeyFileList::entries(View v) const {
    QStringList out;
    for (int i : orderOf(v)) out << recs_[size_t(i)].entry;
    return out;
}

QString KeyFileList::nameAt(View v, int pos) const {
    const auto& o = orderOf(v);
    if (pos < 0 || pos >= int(o.size())) return {};
    return recs_[size_t(o[size_t(pos)])].name;
}

void KeyFileList::removeFromNameView(const std::vector<int>& positions) {
    std::set<int> gone;
    for (int p : positions)
        if (p >= 0 && p < int(byName_.size())) gone.insert(byName_[size_t(p)]);
    std::vector<Record> kept;
    for (size_t i = 0; i < recs_.size(); ++i)
        if (!gone.count(int(i))) kept.push_back(std::move(recs_[i]));
    recs_ = std::move(kept);
    order();
}

}  // namespace dz::keyeval

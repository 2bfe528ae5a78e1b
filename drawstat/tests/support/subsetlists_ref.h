// The subset windows' lists as strings, made the way the windows made them before the lists kept
// records: the reference every record line, the saved list files and the exports must equal.
#pragma once
#include "common/core/cp1250.h"
#include "common/core/draws.h"
#include "common/core/folder.h"
#include "drawstat/core/subsetlists.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/platform/widgets.h"
#include "drawstat/ui/mainwindow.h"
#include "drawstat/ui/subsetwindow.h"

#include <QCheckBox>
#include <QDir>
#include <gtest/gtest.h>
#include <algorithm>

namespace dz::drawstat::testing {

// The draw whose numbers the life path is also traced for, and the one after it, which holds the
// same numbers but the greatest: a match that misses a number shows as a hit in the second.
inline constexpr int kTwinDraw = 23;

namespace ref {

// What a list box shows of lines filled in one call.
inline QStringList shown(QStringList rows, bool sorted) {
    if (sorted) std::stable_sort(rows.begin(), rows.end(), dz::cp1250::less);
    return rows;
}

struct MostDrawn {
    QStringList rows;
    std::array<QStringList, 2> leastPages;
};
// Every candidate record under its text (count as five digits, numbers, key), sorted as text: the
// greatest 32736 are the most drawn, whatever order the file holds its records in.
inline MostDrawn mostDrawn(const CounterFile& f, const SubsetProfile& p) {
    MostDrawn res;
    std::vector<std::pair<std::string, int>> order;
    for (int r = 1; r <= f.records(); ++r) {
        const int c = f.count(r);
        if (p.mostDrawn.method == MostDrawnRules::Method::SortAll || c >= 1)
            order.emplace_back(dz::format(c, "00000").toStdString() + std::string(f.subsetField(r)) + std::string(f.keyField(r)), r);
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const size_t top = std::min<size_t>(order.size(), size_t(dz::kRowLimit));
    const size_t from = order.size() - top;
    for (size_t i = from; i < order.size(); ++i) res.rows << mostDrawnRow(f, order[i].second);
    if (p.leastDrawn == LeastDrawn::Pages) {
        const size_t lowFrom = from > size_t(dz::kRowLimit) ? from - size_t(dz::kRowLimit) : 0;
        for (size_t i = lowFrom; i < from; ++i) res.leastPages[0] << mostDrawnRow(f, order[i].second);
        for (size_t i = 0; i < lowFrom; ++i) res.leastPages[1] << mostDrawnRow(f, order[i].second);
    }
    return res;
}

inline std::vector<QStringList> neverDrawn(const CounterFile& f, const SubsetProfile& p) {
    std::vector<QStringList> pages(size_t(std::max(1, p.pageCount)));
    size_t page = 0;
    for (int r = 1; r <= f.records(); ++r) {
        if (f.count(r) > 0) continue;
        if (pages[page].size() >= dz::kRowLimit && page + 1 < pages.size()) ++page;
        pages[page] << neverDrawnRow(f, r, p.neverDrawn.leadingBlank);
    }
    return pages;
}

inline QStringList leastDrawn(const CounterFile& f, const QString& firstMostDrawnRow) {
    const double v = dz::val(dz::mid(firstMostDrawnRow, 1, 5));
    const int m = int(dz::roundHalfEven(std::clamp(v, -1.0, double(kMaxHitCount))));
    const QByteArray bound = dz::cp1250::encode(dz::mid(firstMostDrawnRow, 1, 25) + QLatin1Char(' '));
    const std::string_view s0(bound.constData(), size_t(bound.size()));
    QStringList out;
    for (int r = 1; r <= f.records(); ++r) {
        if (f.count(r) > m) continue;
        const std::string s = leastDrawnRowBytes(f, r);
        if (std::string_view(s) < s0) out << dz::cp1250::decode(s);
    }
    return out;
}

// The numbers a row's number text names ("01 02 03 04"), one bit each.
inline uint32_t numberMask(const QString& numberText) {
    uint32_t mask = 0;
    for (const QString& field : numberText.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int n = field.toInt();
        if (n >= 1 && n <= 20) mask |= 1u << n;
    }
    return mask;
}

// A draw holds the subset when every number of the subset is among the draw's numbers.
inline QStringList lifePath(const dz::DrawFile& draws, const SubsetProfile& p, const QString& numberText) {
    QStringList rows;
    const uint32_t subset = numberMask(numberText);
    long long lastHit = 0, n = 0, hits = 0;
    dz::forEachDraw(draws, [&](const dz::DrawLine& l) {
        ++n;
        const std::string_view item = l.item;
        const bool hit = subset != 0 && (subset & ~l.record.mask) == 0;
        if (!hit) return;
        std::string row(1, ' ');
        row.append(item.substr(0, 13));
        row += "  ";
        rows << dz::cp1250::decode(row) + dz::str(n - lastHit);
        ++hits;
        lastHit = n;
    });
    rows << p.lifePath->closingLead + dz::str(hits) + p.lifePath->closingSpacer + dz::str(n - lastHit);
    return rows;
}

}  // namespace ref

// Every line of a list, read one by one (the list stays over its records).
inline QStringList linesOf(const dz::ui::ListBox* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i);
    return out;
}

// The bytes a list file of these lines holds.
inline std::string fileBytes(const QStringList& lines) {
    const QString path = dz::programFile(QStringLiteral("reference.tmp"));
    dz::writeLines(path, lines);
    return dz::readFileBytes(path).value_or(std::string("<missing>"));
}
inline std::string fileBytesOf(const QString& name) {
    return dz::readFileBytes(dz::programFile(name)).value_or(std::string("<missing>"));
}

// The newest export of the program folder.
inline std::string lastExport() {
    const QStringList names = QDir(dz::programFolder()).entryList({QStringLiteral("lista*")}, QDir::Files, QDir::Name);
    return names.isEmpty() ? std::string("<none>") : fileBytesOf(names.last());
}

// Runs "Legtöbbször", "Nemhúzottak" and the life path of the first most-drawn row in a window over
// its counter file and draw file, and holds every list, list file and export against the reference.
inline void expectWindowListsAsBefore(SubsetWindow& w, const std::string& what) {
    SCOPED_TRACE(what + " " + w.profile().counterFile.toStdString());
    const SubsetProfile& p = w.profile();
    CounterFile f;
    ASSERT_EQ(CounterFile::load(dz::programFile(p.counterFile), p.k, f), CounterFile::Status::Ok);

    w.Command3D3_Click();
    ASSERT_NE(w.List1->source(), nullptr);  // over records, not strings
    const ref::MostDrawn most = ref::mostDrawn(f, p);
    const QStringList list1 = ref::shown(most.rows, w.List1->sorted());
    EXPECT_EQ(linesOf(w.List1), list1);
    EXPECT_EQ(fileBytesOf(p.listFile), fileBytes(list1));
    if (p.leastDrawn == LeastDrawn::Pages) {
        EXPECT_EQ(linesOf(w.List2[0]), most.leastPages[0]);
        EXPECT_EQ(linesOf(w.List2[1]), most.leastPages[1]);
        EXPECT_EQ(fileBytesOf(p.leastFile), fileBytes(most.leastPages[0] + most.leastPages[1]));
        w.List2_KeyPress(0, 'L');
        EXPECT_EQ(lastExport(), fileBytes(most.leastPages[0]));
    }

    w.Command3D4_Click();
    const std::vector<QStringList> never = ref::neverDrawn(f, p);
    long long total = 0;
    for (const auto& page : never) total += page.size();
    const int pages = std::max(1, p.pageCount);
    if (!(p.neverDrawn.start == NeverDrawnRules::Start::SearchFirst && total == 0)) {
        for (int i = 0; i < pages; ++i) {
            EXPECT_EQ(linesOf(w.List2[size_t(i)]), never[size_t(i)]) << "page " << i;
        }
    }
    if (total > 0) {
        w.List2_KeyPress(0, 'L');
        EXPECT_EQ(lastExport(), fileBytes(never[0]));
    }
    if (p.leastDrawn == LeastDrawn::Fallback && total == 0 && w.List3) {
        const QStringList least = ref::shown(ref::leastDrawn(f, list1.value(0)), w.List3->sorted());
        EXPECT_EQ(linesOf(w.List3), least);
        w.List3_KeyPress('L');
        if (!least.isEmpty()) {
            EXPECT_EQ(lastExport(), fileBytes(least));
        }
    }

    if (!p.lifePath || list1.isEmpty()) return;
    if (w.SSCheck1) w.SSCheck1->setChecked(false);
    const auto draws = dz::DrawFile::load(dz::programFile(p.drawFile));
    ASSERT_TRUE(draws);
    // the first row, and the row of the twin draw's first k numbers where the list holds it
    QString twin;
    dz::forEachDraw(*draws, [&](const dz::DrawLine& l) {
        if (l.index == size_t(kTwinDraw)) twin = QString::fromLatin1(dz::mid(l.item, 14, size_t(3 * p.k - 1)));
    });
    std::vector<int> rows{0};
    for (int r = 0; r < list1.size(); ++r)
        if (!twin.isEmpty() && lifePathNumberText(list1[r], p.k) == twin) {
            rows.push_back(r);
            break;
        }
    for (const int row : rows) {
        SCOPED_TRACE("life path of " + list1[row].toStdString());
        w.List1->setListIndex(row);
        w.SSCommand1_Click();
        const QStringList life = ref::lifePath(*draws, p, lifePathNumberText(list1[row], p.k));
        EXPECT_EQ(linesOf(w.lifePathList()), life);
        if (p.pageCount > 0) {
            w.List2_KeyPress(int(w.List2.size()) - 1, 'L');
            EXPECT_EQ(lastExport(), fileBytes(life));
        }
    }
}

// A history of n draws, each of eight numbers drawn by a fixed sequence; every 25th repeats the
// draw before it with its greatest number changed.
inline std::string syntheticDraws(int n) {
    std::string out;
    uint32_t x = 12345;
    int prev[8] = {};
    for (int i = 0; i < n; ++i) {
        bool taken[21] = {};
        int d[8], got = 0;
        while (got < 8) {
            x = x * 1103515245u + 12345u;
            const int v = 1 + int((x >> 16) % 20);
            if (!taken[v]) taken[v] = true, ++got;
        }
        got = 0;
        for (int v = 1; v <= 20; ++v)
            if (taken[v]) d[got++] = v;
        if (i % 25 == kTwinDraw + 1 && prev[6] < 19) {
            std::copy(prev, prev + 8, d);
            d[7] = prev[7] < 20 ? prev[7] + 1 : prev[6] + 1;
        }
        std::copy(d, d + 8, prev);
        out += dz::drawRecordLine(2010, 1 + i / 2800, 1 + (i / 100) % 28, 1 + i % 100, d, 1 + i % 4) + "\r\n";
    }
    return out;
}

// The counter files the lists are held against: counted from the draws (few drawn), many equal
// counts with some never drawn, every subset drawn, and two edited by hand (subsets out of their
// order, a byte above 127 in a key and in a subset; the first and the last subset swapped).
inline std::vector<std::pair<std::string, std::string>> counterCases(int k, const std::string& draws) {
    std::vector<std::pair<std::string, std::string>> out;
    CounterFile counted = *CounterFile::fromBytes(k, zeroedCounterFile(k));
    countIn(counted, draws);
    out.emplace_back("counted", counted.bytes());
    auto key = [](int r) { return QStringLiteral("2010%1%2 %3").arg(1 + r % 12, 2, 10, QLatin1Char('0')).arg(1 + r % 28, 2, 10, QLatin1Char('0')).arg(r % 999, 3, 10, QLatin1Char('0')).toStdString(); };
    CounterFile ties = *CounterFile::fromBytes(k, zeroedCounterFile(k));
    for (int r = 1; r <= ties.records(); ++r)
        if (int c = (r * 7919) % 13) ties.setRecord(r, c, key(r));
    out.emplace_back("ties", ties.bytes());
    CounterFile full = *CounterFile::fromBytes(k, zeroedCounterFile(k));
    for (int r = 1; r <= full.records(); ++r) full.setRecord(r, 1 + (r * 7919) % 13, key(r));
    out.emplace_back("full", full.bytes());
    std::string edited = full.bytes();
    const size_t len = size_t(recordLength(k));
    auto subsetAt = [&](int r) { return size_t(r - 1) * len + 2; };
    for (int r = 1; r + 26 <= full.records(); r += 97) {
        // swap the subsets of two records of the same count with one more of that count between them
        std::swap_ranges(edited.begin() + long(subsetAt(r)), edited.begin() + long(subsetAt(r) + size_t(2 * k)),
                         edited.begin() + long(subsetAt(r + 26)));
    }
    edited[subsetAt(full.records()) + 2 * size_t(k) + 5 + 3] = char(0xE9);
    edited[subsetAt(full.records() - 1) + 1] = char(0xE9);
    out.emplace_back("edited", edited);
    // every count 1, the first and the last record's subsets swapped: the greatest numbers first
    CounterFile ones = *CounterFile::fromBytes(k, zeroedCounterFile(k));
    for (int r = 1; r <= ones.records(); ++r) ones.setRecord(r, 1, key(r));
    std::string swapped = ones.bytes();
    std::swap_ranges(swapped.begin() + long(subsetAt(1)), swapped.begin() + long(subsetAt(1) + size_t(2 * k)),
                     swapped.begin() + long(subsetAt(ones.records())));
    out.emplace_back("swapped", swapped);
    return out;
}

// Every size's window under one program's profiles, over every counter case of 300 drawn draws.
template <class ProfileOf>
void expectEveryWindowAsBefore(ProfileOf profileOf) {
    const std::string draws = syntheticDraws(300);
    for (int k = 4; k <= 8; ++k) {
        const SubsetProfile p = profileOf(k);
        ASSERT_TRUE(dz::writeBytes(dz::programFile(p.drawFile), draws));
        for (const auto& [what, bytes] : counterCases(k, draws)) {
            ASSERT_TRUE(dz::writeBytes(dz::programFile(p.counterFile), bytes));
            SubsetWindow w(p);
            expectWindowListsAsBefore(w, what);
        }
    }
}

}  // namespace dz::drawstat::testing

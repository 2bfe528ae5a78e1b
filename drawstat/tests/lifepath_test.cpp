// The subset windows' life path over draw lines of every form, against the field-by-field reading
// of every line: records of two-digit fields are passed over by their number mask, and must give
// the same rows as lines whose fields read any other way.
#include "drawstat/core/subsetprofile.h"
#include "drawstat/tests/support/subsetlists_ref.h"

#include <gtest/gtest.h>
#include <random>

using namespace dz::drawstat;

namespace {
// A field of two characters as the life path reads it: its digits, blanks passed over, up to the
// first other character.
int fieldValue(std::string_view s, size_t at) {
    int v = 0;
    for (size_t i = at; i < at + 2 && i < s.size() && (s[i] == ' ' || (s[i] >= '0' && s[i] <= '9')); ++i)
        if (s[i] != ' ') v = v * 10 + (s[i] - '0');
    return v;
}

// The life path read field by field from every line: the row's numbers, in the row's order, each
// found after the one before among the line's eight fields (columns 14, 17, ... 35); for eight
// numbers the 23 characters of the fields equal the row's.
QStringList fieldByFieldLifePath(const dz::DrawFile& draws, const SubsetProfile& p, const QString& numberText) {
    const std::string want = numberText.toStdString();
    std::vector<int> x;
    for (int i = 0; i < p.k; ++i) x.push_back(fieldValue(want, size_t(3 * i)));
    QStringList rows;
    long long n = 0, last = 0, hits = 0;
    dz::forEachDraw(draws, [&](const dz::DrawLine& l) {
        ++n;
        const std::string_view item = l.item;
        const std::string_view fields = item.size() > 13 ? item.substr(13, 23) : std::string_view{};
        bool hit = true;
        if (p.k == 8) {
            hit = fields == want;
        } else {
            size_t j = 0;
            for (int v : x) {
                while (j < 8 && fieldValue(fields, 3 * j) != v) ++j;
                if (j++ >= 8) {
                    hit = false;
                    break;
                }
            }
        }
        if (!hit) return;
        rows << QStringLiteral(" ") + QString::fromLatin1(item.substr(0, 13)) + QStringLiteral("  ") + dz::str(n - last);
        ++hits;
        last = n;
    });
    rows << p.lifePath->closingLead + dz::str(hits) + p.lifePath->closingSpacer + dz::str(n - last);
    return rows;
}
}  // namespace

TEST(SubsetLifePath, EveryFormOfDrawLineAsReadFieldByField) {
    std::mt19937 g(4106);
    std::uniform_int_distribution<int> pick(0, 99), number(1, 12);
    std::string bytes;
    for (int i = 1; i <= 4000; ++i) {
        // numbers of a small range, so that subsets are often held; mostly ascending, as drawn
        std::vector<int> d;
        while (d.size() < 8) {
            const int n = number(g);
            if (std::find(d.begin(), d.end(), n) == d.end()) d.push_back(n);
        }
        if (pick(g) < 80) std::sort(d.begin(), d.end());
        char key[16];
        std::snprintf(key, sizeof key, "20100506 %03d", i % 1000);
        std::string line = key;
        for (int n : d) {
            const int form = pick(g);
            char f[8];
            if (form < 75) std::snprintf(f, sizeof f, "%02d", n);
            else if (form < 82) std::snprintf(f, sizeof f, "%2d", n);       // " 5"
            else if (form < 87) std::snprintf(f, sizeof f, "%-2d", n);      // "5 "
            else if (form < 91) std::snprintf(f, sizeof f, "%02d", 21 + pick(g) % 9);  // outside 1..20
            else if (form < 94) std::snprintf(f, sizeof f, "\t%d", n % 10);
            else if (form < 97) std::snprintf(f, sizeof f, "%d.", n % 10);
            else std::snprintf(f, sizeof f, "00");
            line += ' ';
            line += f;
        }
        const int extra = pick(g);
        line += extra < 90 ? " 01" : extra < 95 ? " 1x" : "";
        if (pick(g) < 2) line.resize(size_t(pick(g) % 30));  // a short line
        bytes += line + (pick(g) < 95 ? "\r\n" : "\n");
    }
    const dz::DrawFile f = dz::DrawFile::fromBytes(bytes);
    const struct {
        int k;
        const char* numbers;
    } cases[] = {
        {4, "03 07 09 11"}, {4, "09 03 11 07"},  // the row's order, not sorted
        {5, "01 02 03 04 05"}, {6, "02 04 06 08 10 12"}, {7, "01 03 05 07 09 11 12"},
        {4, " 3  7  9 11"},  // blank fields of the row
        {4, "00 03 07 09"}, {4, "03 07 09 25"},  // a number outside 1..20
        {4, "03 07 09 x1"}, {8, "01 02 03 04 05 06 07 08"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.numbers);
        const SubsetProfile p = drawstatSubsetProfile(c.k);
        const LifePathResult r = lifePath(f, p, text);
        const QStringList want = fieldByFieldLifePath(f, p, text);
        EXPECT_EQ(dz::allLines(*r.rows), want) << c.k << " '" << c.numbers << "'";
        EXPECT_EQ(r.hits, want.size() - 1) << c.numbers;
    }
}

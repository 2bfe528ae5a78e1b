// keygengroup's groups: the choice, the confirmation, "jeloles2.txt", and the
// grouped generation through the one engine.
#include "keygen/core/groups.h"
#include "common/core/random.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "keygen/tests/scripted_random.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <bit>
#include <chrono>

using namespace dz::keygen;
using dz::keygen::testing::FixedRandom;

namespace {

void choose(GroupChoice& c, int group, std::initializer_list<int> numbers) {
    c.current = group;
    for (int n : numbers) clickCell(c, n);
}

GroupLimits limits(std::initializer_list<std::tuple<int, int, int>> gs) {
    GroupLimits l;
    for (int g = 1; g <= kGroups; ++g) l.max[size_t(g)] = 20;
    for (auto [g, lo, hi] : gs) {
        l.min[size_t(g)] = lo;
        l.max[size_t(g)] = hi;
        if (lo > 0) l.minSum += lo;
        if (hi > 0) l.maxSum += hi;
    }
    return l;
}

GenInputs grouped(const GroupRule& rule, NumberMask chosen, int t, int a, long long rows) {
    GenInputs in;
    in.chosen = chosen;
    in.type = t;
    in.overlap = a;
    in.rows = rows;
    in.groups = &rule;
    in.reseedEachRun = false;
    return in;
}

NumberMask range(int lo, int hi) {
    NumberMask m = 0;
    for (int n = lo; n <= hi; ++n) m |= 1u << n;
    return m;
}

class CountingRandom : public FixedRandom {
public:
    using FixedRandom::FixedRandom;
    double next() override {
        ++calls;
        return FixedRandom::next();
    }
    long long calls = 0;
};

}  // namespace

TEST(GroupChoice, CaptionsAndColours) {
    EXPECT_EQ(groupCaption(1), QStringLiteral("első"));
    EXPECT_EQ(groupCaption(5), QStringLiteral("ötödik"));
    EXPECT_EQ(groupCaption(10), QStringLiteral("tizedik"));
    EXPECT_EQ(groupColour(2), (std::array<int, 3>{255, 255, 0}));
    EXPECT_EQ(groupColour(8), (std::array<int, 3>{192, 192, 255}));
    EXPECT_EQ(groupColour(10), (std::array<int, 3>{0, 128, 0}));
}

TEST(GroupChoice, ClickChoosesAndReleases) {
    GroupChoice c;
    choose(c, 1, {1, 2, 3});
    choose(c, 2, {4});
    EXPECT_EQ(c.count, 4);
    EXPECT_EQ(c.label1, QStringLiteral(" 4"));
    EXPECT_EQ(c.memberText[1], QStringLiteral("3"));
    EXPECT_EQ(c.memberText[2], QStringLiteral("1"));
    EXPECT_EQ(c.groupOf[2], 1);
    // releasing while another group is current takes it out of its own group
    c.current = 2;
    clickCell(c, 2);
    EXPECT_FALSE(c.chosen[2]);
    EXPECT_EQ(c.groupOf[2], 0);
    EXPECT_EQ(c.memberText[1], QStringLiteral("2"));
    EXPECT_EQ(c.memberText[2], QStringLiteral("1"));
    EXPECT_EQ(c.count, 3);
    // a group that had members and lost them all shows "0"
    clickCell(c, 4);
    EXPECT_EQ(c.memberText[2], QStringLiteral("0"));
    EXPECT_EQ(c.chosenMask(), (1u << 1) | (1u << 3));
}

TEST(GroupChoice, ANumberIsInAtMostOneGroup) {
    GroupChoice c;
    choose(c, 3, {7});
    // the key loader unchose 7 but left its membership; choosing it into group 1 moves it
    c.chosen[7] = false;
    --c.count;
    choose(c, 1, {7});
    EXPECT_EQ(c.groupOf[7], 1);
    EXPECT_EQ(c.memberText[3], QStringLiteral("0"));
    EXPECT_EQ(c.memberText[1], QStringLiteral("1"));
    // choosing it again into the group it stands in does not count it twice
    c.chosen[7] = false;
    --c.count;
    choose(c, 1, {7});
    EXPECT_EQ(c.memberText[1], QStringLiteral("1"));
    clickCell(c, 7);
    EXPECT_EQ(c.groupOf[7], 0);
    EXPECT_EQ(c.memberText[1], QStringLiteral("0"));
}

TEST(GroupChoice, ClearKeepsTheCurrentGroup) {
    GroupChoice c;
    choose(c, 4, {1, 2});
    c.minText[4] = QStringLiteral("1");
    clearChoice(c);
    EXPECT_EQ(c.count, 0);
    EXPECT_EQ(c.current, 4);
    EXPECT_TRUE(c.label1.isEmpty());
    EXPECT_TRUE(c.memberText[4].isEmpty());
    EXPECT_TRUE(c.minText[4].isEmpty());
    EXPECT_EQ(c.chosenMask(), 0u);
    EXPECT_EQ(c.groupOf[1], 0);
}

TEST(Confirm, WorkedExample) {
    // 1, 2, 3 into group 1 and 4 into group 2; group 1 min 1 max 2; group 2 empty limits.
    GroupChoice c;
    choose(c, 1, {1, 2, 3});
    choose(c, 2, {4});
    c.minText[1] = QStringLiteral("1");
    c.maxText[1] = QStringLiteral("2");
    ConfirmOutcome o = confirm(c);
    ASSERT_EQ(o.status, ConfirmOutcome::Status::Accepted);
    EXPECT_FALSE(o.message);
    EXPECT_EQ(o.limits.min[1], 1);
    EXPECT_EQ(o.limits.max[1], 2);
    EXPECT_EQ(o.limits.min[2], 0);
    EXPECT_EQ(o.limits.max[2], 20);
    EXPECT_EQ(o.limits.max[7], 20);
    EXPECT_EQ(o.limits.minSum, 1);
    EXPECT_EQ(o.limits.maxSum, 2);
    EXPECT_EQ(c.minText[1], QStringLiteral(" 1"));
    EXPECT_EQ(c.maxText[1], QStringLiteral(" 2"));
    EXPECT_TRUE(c.minText[2].isEmpty());
    EXPECT_TRUE(c.maxText[2].isEmpty());
}

TEST(Confirm, MaximumAboveMembersRefused) {
    GroupChoice c;
    choose(c, 1, {1, 2});
    c.maxText[1] = QStringLiteral("3");
    c.maxText[2] = QStringLiteral("7abc");  // a later group's box is not rewritten
    GroupLimits tables = limits({{1, 1, 2}});  // the program's tables before
    const GroupLimits before = tables;
    ConfirmOutcome o = confirm(c);
    ASSERT_EQ(o.status, ConfirmOutcome::Status::Refused);
    ASSERT_TRUE(o.message);
    EXPECT_EQ(o.message->text, QStringLiteral("Hibás adat összefüggés az 1. csoportban !"));
    EXPECT_EQ(o.message->title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(o.message->icon, MessageIcon::Critical);
    EXPECT_EQ(c.maxText[1], QStringLiteral(" 3"));
    EXPECT_EQ(c.maxText[2], QStringLiteral("7abc"));
    EXPECT_EQ(tables, before);  // nothing applied: "Mégsem" leaves the tables as they were
    // maximum below minimum, group 3
    GroupChoice d;
    choose(d, 3, {5, 6, 7});
    d.minText[3] = QStringLiteral("3");
    d.maxText[3] = QStringLiteral("2");
    ConfirmOutcome p = confirm(d);
    EXPECT_EQ(p.message->text, QStringLiteral("Hibás adat összefüggés az 3. csoportban !"));
    // a group with members and an empty maximum is unlimited but adds nothing to the sum
    GroupChoice e;
    choose(e, 1, {1, 2, 3});
    choose(e, 2, {4, 5});
    e.maxText[2] = QStringLiteral("2");
    ConfirmOutcome q = confirm(e);
    ASSERT_EQ(q.status, ConfirmOutcome::Status::Accepted);
    EXPECT_EQ(q.limits.max[1], 20);
    EXPECT_EQ(q.limits.maxSum, 2);
}

TEST(Confirm, NothingChosenDoesNothing) {
    GroupChoice c;
    c.minText[1] = QStringLiteral("5");
    ConfirmOutcome o = confirm(c);
    EXPECT_EQ(o.status, ConfirmOutcome::Status::Ignored);
    EXPECT_FALSE(o.message);
    EXPECT_EQ(c.minText[1], QStringLiteral("5"));
}

TEST(GroupedFile, RoundTrip251Lines) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/jeloles2.txt");
    GroupChoice c;
    choose(c, 1, {1, 2, 3});
    choose(c, 2, {4});
    choose(c, 7, {15, 9});
    c.minText[1] = QStringLiteral("1");
    c.maxText[1] = QStringLiteral("2");
    c.minText[7] = QStringLiteral("1,5 x");  // a comma in a box text
    c.maxText[7] = QStringLiteral("2");
    ASSERT_EQ(confirm(c).status, ConfirmOutcome::Status::Accepted);
    c.minText[7] = QStringLiteral("1,5 x");
    ASSERT_TRUE(saveGroupedSelection(path, c));
    const std::string bytes = dz::readFileBytes(path).value();
    const QStringList lines = groupedSelectionLines(c);
    ASSERT_EQ(lines.size(), 251);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 251);
    EXPECT_EQ(bytes.substr(0, 8), "kulcs2\r\n");
    EXPECT_EQ(lines[1], QStringLiteral(" 1 "));   // 1 chosen
    EXPECT_EQ(lines[2], QStringLiteral(" 1 "));   // 1 in group 1
    EXPECT_EQ(lines[3], QStringLiteral(" 0 "));   // 1 not in group 2
    EXPECT_EQ(lines[1 + 11 * 4], QStringLiteral(" 0 "));  // 5 not chosen
    EXPECT_EQ(lines[221], QStringLiteral(" 1"));  // group 1 minimum box after the confirmation
    EXPECT_EQ(lines[222], QStringLiteral(" 2"));
    EXPECT_EQ(lines[223], QStringLiteral("3"));
    EXPECT_EQ(lines[224], QString());
    EXPECT_EQ(lines[221 + 18], QStringLiteral("1,5 x"));

    GroupChoice back;
    back.current = 5;
    LoadOutcome o = loadGroupedSelection(path, back);
    ASSERT_EQ(o.status, LoadStatus::Loaded);
    EXPECT_FALSE(o.message);
    EXPECT_EQ(back.chosen, c.chosen);
    EXPECT_EQ(back.count, c.count);
    EXPECT_EQ(back.groupOf, c.groupOf);
    EXPECT_EQ(back.memberText, c.memberText);
    EXPECT_EQ(back.minText[1], QStringLiteral("1"));  // without the leading blank
    EXPECT_EQ(back.maxText[1], QStringLiteral("2"));
    EXPECT_EQ(back.minText[7], QStringLiteral("1,5 x"));  // not cut at the comma
    EXPECT_EQ(back.maxText[7], QStringLiteral("2"));      // and nothing after it shifted
    EXPECT_EQ(back.memberText[7], QStringLiteral("2"));
    EXPECT_EQ(back.label1, QStringLiteral(" 6"));
    EXPECT_EQ(back.current, 7);  // the group of the highest chosen number
    // written again: the same bytes but for the blanks the load dropped
    EXPECT_EQ(groupedSelectionLines(back).mid(0, 221), lines.mid(0, 221));
}

TEST(GroupedFile, WrongMarkerAndMissingFile) {
    GroupChoice c;
    choose(c, 1, {1});
    GroupChoice keep = c;
    EXPECT_EQ(loadGroupedSelection(QStringLiteral("/nonexistent/jeloles2.txt"), c).status, LoadStatus::CannotOpen);
    EXPECT_EQ(c.chosen, keep.chosen);
    EXPECT_EQ(c.count, 1);
    LoadOutcome o = loadGroupedSelectionBytes("kulcs1\r\n01 02 \r\n", c);
    EXPECT_EQ(o.status, LoadStatus::WrongMarker);
    ASSERT_TRUE(o.message);
    EXPECT_EQ(o.message->text, QStringLiteral("Ez nem csoportosított kijelölés mentés file !"));
    EXPECT_EQ(c.count, 0);  // cleared
    EXPECT_EQ(c.chosenMask(), 0u);
    EXPECT_EQ(loadGroupedSelectionBytes("", c).status, LoadStatus::WrongMarker);

    // A file cut short, with stray values: what it holds loads, the rest reads as empty.
    o = loadGroupedSelectionBytes("kulcs2\r\n 1 \r\n 1 \r\n 7 \r\n-1\r\n 0 ", c);
    EXPECT_EQ(o.status, LoadStatus::Loaded);
    EXPECT_EQ(c.chosenMask(), 1u << 1);
    EXPECT_EQ(c.groupOf[1], 1);
    EXPECT_TRUE(c.memberText[1].isEmpty());  // the label lines are missing: read as empty
    EXPECT_TRUE(c.minText[10].isEmpty());
}

TEST(GroupedFile, NumberMarkedInTwoGroupsLoadsReleased) {
    QStringList lines{QStringLiteral("kulcs2")};
    for (int n = 1; n <= 20; ++n) {
        lines << (n <= 2 ? QStringLiteral(" 1 ") : QStringLiteral(" 0 "));
        for (int g = 1; g <= 10; ++g)
            lines << ((n == 1 && (g == 1 || g == 3)) || (n == 2 && g == 2) ? QStringLiteral(" 1 ") : QStringLiteral(" 0 "));
    }
    for (int i = 0; i < 30; ++i) lines << QString();
    QByteArray b = lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
    GroupChoice c;
    loadGroupedSelectionBytes(std::string_view(b.constData(), size_t(b.size())), c);
    EXPECT_FALSE(c.chosen[1]);
    EXPECT_EQ(c.groupOf[1], 0);
    EXPECT_TRUE(c.chosen[2]);
    EXPECT_EQ(c.groupOf[2], 2);
    EXPECT_EQ(c.count, 1);
    EXPECT_EQ(c.current, 2);  // the last group selected: number 2 in group 2
    EXPECT_TRUE(c.memberText[1].isEmpty());  // the label lines of the file are empty
}

TEST(Grouped, ConfirmationMessage) {
    EXPECT_EQ(confirmationMessage(u"")->text, QStringLiteral("Először a *kijelöl* gombot válassza !"));
    EXPECT_TRUE(confirmationMessage(u" 0"));
    EXPECT_FALSE(confirmationMessage(u" 5"));
}

TEST(Grouped, SumMessages) {
    const QString blanks35(35, QLatin1Char(' '));
    // three groups with minima 1, 2, 2 and t = 4
    GroupRule r1 = GroupRule::from({}, limits({{1, 1, 3}, {2, 2, 3}, {3, 2, 3}}));
    Validation v = validate(grouped(r1, range(1, 12), 4, 2, 10));
    ASSERT_TRUE(v.error);
    EXPECT_EQ(v.error->text, QStringLiteral("A játéktipus minimuma a csoportok minimumának összege !\r") + blanks35 +
                                 QStringLiteral(" 5"));
    EXPECT_EQ(v.error->title, QStringLiteral("Vumo-Soft/2010"));
    // maxima summing to 6 and t = 7
    GroupRule r2 = GroupRule::from({}, limits({{1, 0, 3}, {2, 0, 3}}));
    Validation w = validate(grouped(r2, range(1, 12), 7, 2, 10));
    ASSERT_TRUE(w.error);
    EXPECT_EQ(w.error->text, QStringLiteral("A játéktipus maximuma a csoportok maximumának összege !\r") + blanks35 +
                                 QStringLiteral(" 6"));
    // a group with an unlimited maximum adds nothing: one other group of maximum 3, t = 5
    GroupChoice c;
    choose(c, 1, {1, 2, 3, 4, 5, 6});
    choose(c, 2, {7, 8, 9});
    c.maxText[2] = QStringLiteral("3");
    ConfirmOutcome o = confirm(c);
    ASSERT_EQ(o.status, ConfirmOutcome::Status::Accepted);
    GroupRule r3 = GroupRule::from(c.groupOf, o.limits);
    Validation x = validate(grouped(r3, c.chosenMask(), 5, 2, 10));
    ASSERT_TRUE(x.error);
    EXPECT_EQ(x.error->text, QStringLiteral("A játéktipus maximuma a csoportok maximumának összege !\r") + blanks35 +
                                 QStringLiteral(" 3"));
    // the order: the type range first, then the sums, then the plain checks
    EXPECT_EQ(validate(grouped(r1, range(1, 12), 9, 2, 10)).error->text, QStringLiteral("A játéktipus 2-8 közötti lehet !"));
    GroupRule open = GroupRule::from({}, limits({{1, 0, 8}}));
    EXPECT_EQ(validate(grouped(open, 0, 5, 2, 10)).error->text, QStringLiteral("Nincs szám kiválasztva !"));
    EXPECT_EQ(validate(grouped(open, range(1, 8), 5, 2, 0)).error->text,
              QStringLiteral("Nincs a generálandó sorok száma megadva !"));
    EXPECT_EQ(validate(grouped(open, range(1, 8), 5, 5, 10)).error->text,
              QStringLiteral("A játéktipus és az  azonosság különbsége minimum 1 !"));
    // no quota and no adjustment with groups
    GenInputs in = grouped(open, range(1, 8), 5, 4, 10);
    in.adjust = true;
    Validation ok = validate(in);
    ASSERT_TRUE(ok.ok());
    EXPECT_FALSE(ok.adjustment);
    EXPECT_EQ(ok.inputs.rows, 10);
    EXPECT_EQ(ok.label4, QStringLiteral(" 6"));
}

TEST(Grouped, FeasibleTwoGroupRunKeepsItsLimits) {
    // groups {1..5} and {6..10}, each min 2 max 3, t = 5, A = 4
    GroupChoice c;
    choose(c, 1, {1, 2, 3, 4, 5});
    choose(c, 2, {6, 7, 8, 9, 10});
    c.minText[1] = c.minText[2] = QStringLiteral("2");
    c.maxText[1] = c.maxText[2] = QStringLiteral("3");
    ConfirmOutcome o = confirm(c);
    ASSERT_EQ(o.status, ConfirmOutcome::Status::Accepted);
    EXPECT_EQ(o.limits.minSum, 4);
    EXPECT_EQ(o.limits.maxSum, 6);
    const GroupRule rule = GroupRule::from(c.groupOf, o.limits);
    for (uint64_t seed : {1ull, 2ull, 3ull, 4ull}) {
        FixedRandom r(seed);
        Validation v = validate(grouped(rule, c.chosenMask(), 5, 4, 150));
        ASSERT_TRUE(v.ok());
        GenerationResult res = generate(v.inputs, r);
        EXPECT_GT(res.rows.size(), 50u);
        EXPECT_TRUE(std::is_sorted(res.rows.begin(), res.rows.end()));
        for (size_t i = 0; i < res.masks.size(); ++i) {
            const NumberMask m = res.masks[i];
            EXPECT_TRUE(rule.rowKeepsLimits(m)) << res.rows[i].toStdString();
            const int a = std::popcount(m & range(1, 5)), b = std::popcount(m & range(6, 10));
            EXPECT_TRUE(a >= 2 && a <= 3 && b >= 2 && b <= 3);
            for (size_t j = 0; j < i; ++j) EXPECT_LE(std::popcount(m & res.masks[j]), 4);
        }
    }
}

TEST(Grouped, NoQuota) {
    // N = 8, t = 5, R = 10, A = 4: Label4 " 6", but numbers may stand in more rows
    GroupRule rule = GroupRule::from({}, limits({{1, 0, 5}}));
    bool above = false;
    for (uint64_t seed = 1; seed <= 20 && !above; ++seed) {
        FixedRandom r(seed);
        Validation v = validate(grouped(rule, range(1, 8), 5, 4, 10));
        EXPECT_EQ(v.label4, QStringLiteral(" 6"));
        GenerationResult res = generate(v.inputs, r);
        for (long long u : res.uses) above = above || u > 6;
    }
    EXPECT_TRUE(above);
}

TEST(Grouped, OnlyOneRowExistsRunsTheSlots) {
    // t = 8 with exactly 8 chosen numbers and A = 7: one row, then 5·R slots of overlap failures
    GroupRule rule = GroupRule::from({}, limits({{1, 0, 8}}));
    FixedRandom r(1);
    GenerationResult res = generate(validate(grouped(rule, range(1, 8), 8, 7, 20)).inputs, r);
    EXPECT_EQ(res.rows.size(), 1u);
    EXPECT_EQ(res.lastEnd, RunEnd::Slots);
}

TEST(Grouped, InfeasibleLimitsRunOutTheBudgetQuickly) {
    // group 1 released below its minimum after the confirmation: no row passes the minimum test
    GroupChoice c;
    choose(c, 1, {1, 2, 3});
    choose(c, 2, {4, 5, 6, 7, 8, 9});
    c.minText[1] = QStringLiteral("3");
    c.maxText[1] = QStringLiteral("3");
    c.maxText[2] = QStringLiteral("3");
    ConfirmOutcome o = confirm(c);
    ASSERT_EQ(o.status, ConfirmOutcome::Status::Accepted);
    clickCell(c, 3);  // released afterwards
    const GroupRule rule = GroupRule::from(c.groupOf, o.limits);
    CountingRandom r(5);
    std::atomic<bool> stop{false};
    const auto t0 = std::chrono::steady_clock::now();
    GenerationResult res = generate(validate(grouped(rule, c.chosenMask(), 5, 2, 200)).inputs, r, stopOn(stop));
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_TRUE(res.rows.empty());
    EXPECT_EQ(res.lastEnd, RunEnd::Slots);
    EXPECT_GE(r.calls, 5LL * 200 * 100 * 5);  // every slot got its 100 attempts
    EXPECT_LT(secs, 2.0);
    EXPECT_EQ(res.label1, QStringLiteral(" 0"));
    EXPECT_EQ(res.label7, QStringLiteral(" 0"));
    // and it stays stoppable
    stop = true;
    GenerationResult s = generate(validate(grouped(rule, c.chosenMask(), 5, 2, 200)).inputs, r, stopOn(stop));
    EXPECT_TRUE(s.stopped);
}

TEST(Grouped, MaximumReachedEndsTheRowByDraws) {
    // every chosen number in one group of maximum 2, t = 3 (the sum admits it through group 2)
    GroupRule rule = GroupRule::from({0, 1, 1, 1, 1}, limits({{1, 0, 2}, {2, 0, 3}}));
    FixedRandom r(2);
    GenerationResult res = generate(validate(grouped(rule, range(1, 4), 3, 2, 10)).inputs, r);
    EXPECT_TRUE(res.rows.empty());
    EXPECT_EQ(res.lastEnd, RunEnd::Draws);
}

// The runtime's text forms as list lines, labels and files need them.
#include "common/core/textfmt.h"
#include "common/tests/qtprint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace dz;

TEST(TextForms, NumberToTextAndMasks) {
    struct Case {
        long long v;
        const char* mask;  // nullptr: str()
        const char* want;
    };
    const Case cases[] = {
        {0, nullptr, " 0"},
        {5, nullptr, " 5"},
        {-5, nullptr, "-5"},
        {200000, nullptr, " 200000"},  // whole values never turn into "2e+05"
        {5, "00", "05"},
        {123, "00", "123"},  // never cut
        {-5, "00", "-05"},
        {7, "000", "007"},
        {1000, "000", "1000"},
        {std::numeric_limits<long long>::min(), "00", "-9223372036854775808"},
        {5, "@@", " 5"},
        {123, "@@", "123"},
        {5, "@@@", "  5"},
        {42, "@@@@", "  42"},
        {42, "@@@@@", "   42"},
        {42, "@@@@@@", "    42"},
        {1234567, "@@@@@@", "1234567"},
        {-7, "@@@@", "  -7"},
        {12, "0 0 0 0", "0 0 1 2"},
        {1234, "0 0 0 0", "1 2 3 4"},
        {0, "##0", "0"},
        {125970, "##0", "125970"},
        {-3, "##0", "-3"},
    };
    for (const Case& c : cases) {
        const QString got = c.mask ? format(c.v, c.mask) : str(c.v);
        EXPECT_EQ(got, QString::fromLatin1(c.want)) << c.v << " mask " << (c.mask ? c.mask : "str");
    }
    EXPECT_EQ(formatText(QStringLiteral("ab"), "@@@@"), QStringLiteral("  ab"));
    EXPECT_EQ(formatText(QStringLiteral("abcdef"), "@@"), QStringLiteral("abcdef"));
    EXPECT_EQ(formatText(QString(), "@@"), QStringLiteral("  "));
    EXPECT_EQ(formatText(QStringLiteral("őz"), "@@@"), QStringLiteral(" őz"));
}

TEST(TextForms, NumericValueOfText) {
    const double kMax = std::numeric_limits<double>::max();
    struct Case {
        const char* text;
        double want;
        bool numeric;
    };
    const Case cases[] = {
        {"5", 5, true},
        {" 5", 5, true},
        {"05", 5, true},
        {"\t 7", 7, true},
        {" 5 ", 5, true},
        {"12ab", 12, false},
        // Blanks, tabs and line feeds are skipped wherever they stand; IsNumeric still wants one
        // number with blanks only around it.
        {"5 6", 56, false},
        {"1 2", 12, false},
        {" 7 0", 70, false},
        {"1 2ab 3", 12, false},
        {"- 3", -3, false},
        {"1 . 5", 1.5, false},
        {"1\t2\n3", 123, false},
        {"\n5", 5, false},
        {"1 e 3", 1000, false},
        {"12 345 678 901 234 567 890", 12345678901234567890.0, false},
        {"1 2.5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1", 12.500000000000000000001, false},
        {"  1-2", 1, false},
        {"abc", 0, false},
        {"", 0, false},
        {"  ", 0, false},
        {"-3", -3, true},
        {"+4", 4, true},
        {"-", 0, false},
        {".", 0, false},
        {"1.5", 1.5, true},
        {".5", 0.5, true},
        {"3.", 3, true},
        {"0.3", 0.3, true},  // correctly rounded, not 0.30000000000000004
        {"1e3", 1000, true},
        {"2E+2", 200, true},
        {"1e", 1, false},
        {"1e-", 1, false},
        {"e5", 0, false},
        {"0e999", 0, true},  // zero times a huge power is still zero
        {"1e400", kMax, true},
        {"-1e400", -kMax, true},
        {"1e-400", 0, true},
        {"0.0000000000000000000000000000001e-400", 0, true},
        {"0000000000000000000000001", 1, true},
        {"12345678901234567890", 12345678901234567890.0, true},
        {"18446744073709551616", 18446744073709551616.0, true},
    };
    for (const Case& c : cases) {
        const std::string_view s(c.text);
        EXPECT_EQ(val(s), c.want) << '"' << c.text << '"';
        const QString q = QString::fromLatin1(c.text);
        EXPECT_EQ(val(QStringView(q)), c.want) << '"' << c.text << '"';
        EXPECT_EQ(isNumeric(q), c.numeric) << '"' << c.text << '"';
    }
    // A character outside ASCII ends the number like any other.
    EXPECT_EQ(val(QStringView(u"7ő")), 7);
    EXPECT_EQ(val(QStringView(u"ő7")), 0);
    EXPECT_EQ(val(std::string_view("7\xF5")), 7);
}

TEST(TextForms, WholeNumberConversions) {
    struct Case {
        double x;
        long long rounded, intPart;
    };
    const Case cases[] = {
        {0.5, 0, 0},     {1.5, 2, 1},    {2.5, 2, 2},     {3.5, 4, 3},   {-0.5, 0, -1},
        {-1.5, -2, -2},  {-2.5, -2, -3}, {2.4999, 2, 2},  {2.6, 3, 2},   {-2.1, -2, -3},
        {7, 7, 7},       {-0.0, 0, 0},   {125970, 125970, 125970},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(roundHalfEven(c.x), c.rounded) << c.x;
        EXPECT_EQ(intPart(c.x), c.intPart) << c.x;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(roundHalfEven(nan), 0);
    EXPECT_EQ(intPart(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(roundHalfEven(1e300), std::numeric_limits<long long>::max());
    EXPECT_EQ(intPart(-1e300), std::numeric_limits<long long>::min());
}

TEST(TextForms, MidWithOutOfRangeBounds) {
    const QString s = QStringLiteral("abcdef");
    struct Case {
        qsizetype start, count;
        const char* want;
    };
    const Case cases[] = {
        {2, 3, "bcd"}, {1, 6, "abcdef"}, {6, 5, "f"}, {7, 1, ""},  {0, 3, ""},
        {-1, 3, ""},   {1, 0, ""},       {1, -1, ""}, {3, -100, ""}, {100, 2, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mid(s, c.start, c.count), QString::fromLatin1(c.want)) << c.start << "," << c.count;
        if (c.start >= 0 && c.count >= 0) {
            EXPECT_EQ(mid(std::string_view("abcdef"), size_t(c.start), size_t(c.count)), std::string_view(c.want))
                << c.start << "," << c.count;
        }
    }
    EXPECT_EQ(mid(QString(), 1, 1), QString());
    EXPECT_EQ(mid(std::string_view(), 1, 1), std::string_view());
}

TEST(TextForms, QuotedTextsShowControlCharactersAsMarks) {
    const QString raw = QStringLiteral("01\t02") + QChar(0) + QChar(0x1B) + QChar(0x7F) + QChar(0x85) + QChar(0x202E) +
                        QStringLiteral("\r\né");
    const QString shown = QStringLiteral("01\u240902\u2400\u241b\u2421\ufffd\ufffd\u240d\u240aé");
    EXPECT_EQ(withVisibleControls(raw), shown);
    EXPECT_EQ(quoted(raw), shown);
    EXPECT_EQ(quoted(QString(kQuoted, QChar(1)) + QLatin1Char('x')), QString(kQuoted, QChar(0x2401)) + QStringLiteral("..."));
    EXPECT_EQ(quotedPath(QStringLiteral("/a/b\nc.txt")), QStringLiteral("/a/b\u240ac.txt"));
    const QString longPath = QStringLiteral("/") + QString(300, QChar(9)) + QStringLiteral("/k\x01.txt");
    EXPECT_EQ(quotedPath(longPath), QStringLiteral("/") + QString(kQuoted - 8, QChar(0x2409)) + QStringLiteral(".../k\u2401.txt"));
}

TEST(TextForms, QuotedTextsAreCapped) {
    const QString cap(kQuoted, QLatin1Char('q'));
    const QString smile = QString::fromUcs4(U"\U0001F600");
    const QString pair = QString(kQuoted - 1, QLatin1Char('a')) + smile + QLatin1Char('b');
    struct Case {
        QString text, shown;
    };
    const Case cases[] = {
        {QString(), QString()},
        {cap, cap},  // the cap's length whole
        {cap + QLatin1Char('r'), cap + QStringLiteral("...")},
        {pair, QString(kQuoted - 1, QLatin1Char('a')) + QStringLiteral("...")},  // never half a character
    };
    for (const Case& c : cases) EXPECT_EQ(quoted(c.text), c.shown) << c.text.left(20).toStdString();

    // A path keeps its start and its file's name.
    const QString folder = QStringLiteral("/home/") + QString(300, QLatin1Char('d'));
    const QString path = folder + QStringLiteral("/lista001.txt");
    const QString shown = quotedPath(path);
    EXPECT_EQ(shown.size(), kQuoted + 3);
    EXPECT_EQ(shown, path.left(kQuoted - 13) + QStringLiteral(".../lista001.txt"));
    EXPECT_EQ(quotedPath(QStringLiteral("/x/k.txt")), QStringLiteral("/x/k.txt"));
    // a name longer than half the cap keeps its end; a text without "/" its start
    const QString longName = QStringLiteral("/a/") + QString(400, QLatin1Char('n')) + QStringLiteral(".txt");
    EXPECT_EQ(quotedPath(longName), longName.left(kQuoted / 2) + QStringLiteral("...") + longName.right(kQuoted / 2));
    EXPECT_EQ(quotedPath(cap + cap), cap + QStringLiteral("..."));
    // a surrogate pair at either cut stays whole or goes whole
    const QString faces = QStringLiteral("/") + QString(kQuoted, QLatin1Char('f')).replace(QLatin1Char('f'), smile);
    const QString cutFaces = quotedPath(QStringLiteral("/k") + faces);
    EXPECT_FALSE(cutFaces.front().isLowSurrogate());
    for (qsizetype i = 0; i + 1 < cutFaces.size(); ++i)
        EXPECT_EQ(cutFaces[i].isHighSurrogate(), cutFaces[i + 1].isLowSurrogate()) << i;
}

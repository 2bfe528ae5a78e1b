// Random bytes through every reader of the core (the fuzz target's properties, bounded so that
// it runs in every sanitizer build), and the inputs the fuzzer found kept as cases.
#include "common/tests/readercheck.h"

#include <gtest/gtest.h>

#include <random>

using namespace dz;

namespace {
// Bytes a ragged draw or key file is made of, with whole random bytes among them.
std::string randomText(std::mt19937& g) {
    static const char kPieces[][12] = {"0", "1", "2", "05", " 5", "20", "21", "99", "-", "+", ".", "e", "E",
                                       " ", "  ", "\t", ",", "\r", "\n", "\r\n", "\xF5", "\xFB", "\x80",
                                       "20101231 ", "264 ", "0e9", "1e400"};
    std::uniform_int_distribution<int> len(0, 120), piece(0, int(std::size(kPieces)) - 1), byte(0, 255),
        coin(0, 5);
    std::string s;
    const int n = len(g);
    for (int i = 0; i < n; ++i) {
        if (coin(g) == 0) s += static_cast<char>(byte(g));
        else s += kPieces[piece(g)];
    }
    return s;
}
}  // namespace

TEST(ReadersRandomInput, PropertiesHoldForRandomBytes) {
    std::mt19937 g(20101231);
    for (int i = 0; i < 4000; ++i) {
        const std::string s = randomText(g);
        const std::string fault = dz::testing::checkReaders(s);
        ASSERT_TRUE(fault.empty()) << fault << " for " << ::testing::PrintToString(s);
    }
    // A few large ragged files: a long line, CR-only text, a history with damage.
    std::string big(200000, '7');
    EXPECT_EQ(dz::testing::checkReaders(big), "");
    EXPECT_EQ(dz::testing::checkReaders(std::string(100000, '\r')), "");
    std::string ragged;
    for (int i = 0; i < 3000; ++i) ragged += (i % 7 ? "20101231 264 01 02 03 05 08 13 19 20 04\r\n" : "\r\r\n,,\t\n");
    EXPECT_EQ(dz::testing::checkReaders(ragged), "");
}

// Faults the fuzzer and the review found in the readers, kept as regular cases.
TEST(ReadersRandomInput, FoundFaults) {
    // Zero with a huge exponent gave the largest double instead of 0 (0 * inf is NaN).
    EXPECT_EQ(val(std::string_view("0e999")), 0);
    EXPECT_EQ(val(std::string_view("00.000e99999")), 0);
    // A CR before a CR LF, or a lone CR, reached the line (and so a field or a length check).
    for (const char* s : {"a\r\r\n", "20101231 264 01\r02\n", "\r"}) {
        for (auto l : splitLines(s)) EXPECT_EQ(l.find('\r'), std::string_view::npos) << ::testing::PrintToString(s);
        EXPECT_EQ(dz::testing::checkReaders(s), "");
    }
    EXPECT_EQ(dz::testing::streamRead(DrawFile::fromBytes("20101231 264 01 02 03 05 08 13 19 20 04\r\r\n"))[0].line.size(), 39u);
    // Byte order marks and ragged records around the one-go field read and the line-end scan.
    const std::vector<std::string> found{
        std::string("\xEF\xBB\xBF"),
        std::string("\xEF\xBB\xBF\xEF\xBB\xBF 001 0  3 19 2q 0<\r\n20\r*.0\xFF\xCF\xCE\xE7\xDE\xD1\xFF\xE7 001 0  ", 48),
        std::string("\xEF\xBB\xBF\xEF\xBB\xBF" "0.25.0 03 0\xFF\x01" "2\0" "7 01 02 03 0\x85" "B\xCF\0\0\0\0" "4 05 0\0\0", 48),
    };
    for (const std::string& s : found) EXPECT_EQ(dz::testing::checkReaders(s), "") << ::testing::PrintToString(s);
}

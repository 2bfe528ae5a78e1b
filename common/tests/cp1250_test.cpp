// The code page of the suite's files: every byte both ways, the Hungarian letters on their bytes.
#include "common/core/cp1250.h"
#include "common/tests/qtprint.h"

#include <gtest/gtest.h>

#include <set>

using namespace dz;

TEST(Cp1250, EveryByteDecodesAndEncodesBackUnchanged) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const QString text = cp1250::decode(all);
    ASSERT_EQ(text.size(), 256);
    std::set<char16_t> distinct;
    for (QChar c : text) distinct.insert(c.unicode());
    EXPECT_EQ(distinct.size(), 256u) << "two bytes decode to one character";
    const QByteArray back = cp1250::encode(text);
    EXPECT_EQ(std::string(back.constData(), size_t(back.size())), all);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(static_cast<unsigned char>(cp1250::toByte(text[b])), b);
}

TEST(Cp1250, HungarianLettersMapToTheirBytes) {
    struct Case {
        char16_t ch;
        unsigned char byte;
    };
    const Case cases[] = {
        {u'á', 0xE1}, {u'é', 0xE9}, {u'í', 0xED}, {u'ó', 0xF3}, {u'ö', 0xF6}, {u'ő', 0xF5},
        {u'ú', 0xFA}, {u'ü', 0xFC}, {u'ű', 0xFB}, {u'Á', 0xC1}, {u'É', 0xC9}, {u'Í', 0xCD},
        {u'Ó', 0xD3}, {u'Ö', 0xD6}, {u'Ő', 0xD5}, {u'Ú', 0xDA}, {u'Ü', 0xDC}, {u'Ű', 0xDB},
        {u'€', 0x80}, {u'Š', 0x8A}, {u'ž', 0x9E}, {u'\u00A0', 0xA0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<unsigned char>(cp1250::toByte(QChar(c.ch))), c.byte) << int(c.ch);
        EXPECT_EQ(cp1250::decode(std::string(1, static_cast<char>(c.byte))), QString(QChar(c.ch)));
    }
    const QString sentence = QStringLiteral("Árvíztűrő tükörfúrógép márt fut ! ");
    EXPECT_EQ(cp1250::decode(cp1250::encode(sentence)), sentence);
    EXPECT_EQ(cp1250::encode(QStringLiteral("ő")), QByteArray("\xF5"));
}

TEST(Cp1250, CharactersOutsideThePageBecomeQuestionMarks) {
    // õ and û are the Latin-1 neighbours of ő and ű: they must not take their bytes.
    EXPECT_EQ(cp1250::encode(QStringLiteral("õû中")), QByteArray("???"));
    EXPECT_EQ(cp1250::encode(QString::fromUtf16(u"a\U0001F600b")), QByteArray("a??b"));  // both halves of a pair
    EXPECT_EQ(cp1250::decode(std::string_view()), QString());
}

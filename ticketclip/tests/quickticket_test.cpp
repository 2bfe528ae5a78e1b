#include "ticketclip/core/submission.h"

#include <gtest/gtest.h>

using namespace dz::ticketclip;

namespace {
Choices choices(int stake, int draws, std::array<bool, 4> extras) {
    Choices c;
    c.stake = stake;
    c.draws = draws;
    c.extras = extras;
    return c;
}

const QStringList kSixRows = {"01 05 09 14 20", "02 03 11 16 19", "04 07 08 12 17",
                              "06 10 13 15 18", "01 02 03 04 05", "11 12 13 14 15"};
}  // namespace

TEST(QuickTicket, WorkedExampleTwoLinesEndingWithTheLastExtraNumber) {
    const QStringList lines = quickTicketLines(kSixRows, choices(2, 5, {true, false, true, false}), 4);
    const QStringList expected = {
        "PT5,2,1,5,9,14,20,0,0,0,B,1,3,,2,2,3,11,16,19,0,0,0,B,1,3,,2,4,7,8,12,17,0,0,0,B,1,3,,2,6,10,13,15,18,0,0,0,B,1,3",
        "PT5,2,1,2,3,4,5,0,0,0,B,1,3,,2,11,12,13,14,15,0,0,0,B,1,3"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(quickTicketText(lines), expected[0] + "\r\n" + expected[1] + "\r\n");
}

TEST(QuickTicket, SingleRowsAndChoices) {
    struct Case {
        QStringList rows;
        Choices c;
        int fieldsPerTicket;
        QStringList expected;
    };
    const Case cases[] = {
        // One row of eight numbers: no "0" items.
        {{"01 02 03 04 05 06 07 08"}, choices(1, 1, {false, false, false, true}), 4, {"PT1,1,1,2,3,4,5,6,7,8,B,4"}},
        // A trailing blank as the generators write it changes nothing; 50 draws, all extras.
        {{"01 02 03 04 05 06 07 20 "}, choices(3, 50, {true, true, true, true}), 4,
         {"PT50,3,1,2,3,4,5,6,7,20,B,1,2,3,4"}},
        // Game type 2 fills six "0" items.
        {{"07 19"}, choices(1, 2, {true, false, false, false}), 4, {"PT2,1,7,19,0,0,0,0,0,0,B,1"}},
        // Exactly one ticket gives one line; one row more a second line of one field.
        {{"01 02", "03 04"}, choices(1, 1, {false, true, false, false}), 2,
         {"PT1,1,1,2,0,0,0,0,0,0,B,2,,1,3,4,0,0,0,0,0,0,B,2"}},
        {{"01 02", "03 04", "05 06"}, choices(1, 1, {false, true, false, false}), 2,
         {"PT1,1,1,2,0,0,0,0,0,0,B,2,,1,3,4,0,0,0,0,0,0,B,2", "PT1,1,5,6,0,0,0,0,0,0,B,2"}},
        // A blank inside a field is skipped; a field without a digit is "0".
        {{" 5 ab 07"}, choices(1, 1, {true, false, false, false}), 1, {"PT1,1,5,0,7,0,0,0,0,0,B,1"}},
        // The end of a short line follows the stake item's length, whatever it is.
        {{"01", "02"}, choices(12, 1, {true, false, false, false}), 4, {"PT1,12,1,0,0,0,0,0,0,0,B,1,,12,2,0,0,0,0,0,0,0,B,1"}},
        {{}, choices(1, 1, {true, false, false, false}), 4, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(quickTicketLines(c.rows, c.c, c.fieldsPerTicket), c.expected) << c.rows.join('|').toStdString();
}

TEST(QuickTicket, InstructionMessageLinesJoinedByCarriageReturns) {
    const QString m = instructionMessage();
    EXPECT_FALSE(m.contains('\n'));
    const QStringList parts = m.split('\r');
    ASSERT_EQ(parts.size(), 10);
    EXPECT_EQ(parts[0], "A program most icon állapotban a TÁLCÁRA kerül !");
    EXPECT_TRUE(parts[1].isEmpty());
    EXPECT_EQ(parts[2], "A vágólap tartalmát a  Ctrl/V  billentyűk egyidejű lenyomásával, vagy az egér jobb");
    EXPECT_EQ(parts[9], "Visszatérés a programba: a tálcán lévő iconra történő klikkeléssel.");
}

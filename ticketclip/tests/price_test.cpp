#include "ticketclip/core/submission.h"

#include <gtest/gtest.h>

using namespace dz::ticketclip;

TEST(Price, WorkedExampleOfAThirtySevenRowKey) {
    const Params p = defaultParams();
    Choices c;
    Price r = computePrice(37, p, c, false);  // after the load
    EXPECT_EQ(numberText(r.price), "7400");
    EXPECT_EQ(numberText(r.withJoker), "9400");
    EXPECT_EQ(r.limit, Limit::None);
    c.stake = 2;
    r = computePrice(37, p, c, true);
    EXPECT_EQ(numberText(r.price), "14800");
    EXPECT_EQ(numberText(r.withJoker), "16800");
    c.draws = 10;
    r = computePrice(37, p, c, true);
    EXPECT_EQ(numberText(r.price), "148000");
    EXPECT_EQ(r.joker, 4000);
    EXPECT_EQ(numberText(r.withJoker), "152000");
    c.extras = {true, false, true, false};
    r = computePrice(37, p, c, true);
    EXPECT_EQ(numberText(r.price), "296000");
    EXPECT_EQ(numberText(r.withJoker), "300000");
    EXPECT_EQ(r.limit, Limit::Price);
    EXPECT_EQ(limitMessage(r.limit, p.maxStake),
              "A teljes kulcsot az SZRT. limit miatt 200000 Ft.\regy menetben, egy azonosítóra nem lehet feladni !");
}

TEST(Price, LimitsAreStrictAndTheJokerMessageComesOnlyBelowThePriceLimit) {
    Params p = defaultParams();
    Choices c;
    p.maxStake = 7400;  // price equal to the limit passes, the Joker sum does not
    EXPECT_EQ(computePrice(37, p, c, true).limit, Limit::PriceWithJoker);
    EXPECT_EQ(limitMessage(Limit::PriceWithJoker, p.maxStake),
              "A teljes kulcsot jokerrel az SZRT. limit miatt 7400 Ft.\regy menetben, egy azonosítóra nem lehet feladni !");
    p.maxStake = 7399;
    EXPECT_EQ(computePrice(37, p, c, true).limit, Limit::Price);
    p.maxStake = 9400;
    EXPECT_EQ(computePrice(37, p, c, true).limit, Limit::None);
}

TEST(Price, JokerFactorsTicketsAndAnEmptyKey) {
    const int draws[] = {1, 2, 5, 10, 20, 50};
    const long long factor[] = {1, 1, 1, 2, 3, 8};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(jokerFactor(draws[i]), factor[i]);
    EXPECT_EQ(ticketsFor(0, 4), 1);
    EXPECT_EQ(ticketsFor(4, 4), 1);
    EXPECT_EQ(ticketsFor(5, 4), 2);
    const Price empty = computePrice(0, defaultParams(), Choices{}, false);
    EXPECT_EQ(numberText(empty.price), "0");
    EXPECT_EQ(numberText(empty.withJoker), "200");
}

TEST(Price, LargestValuesDoNotOverflow) {
    Params p;
    p.fieldsPerTicket = {0, 1, 1, 1, 1};
    p.pricePerField = {0, 32767, 1, 1, 1};
    p.basketSize = 32767;
    p.jokerPrice = 32767;
    p.maxStake = 3e38f;
    Choices c;
    c.stake = 5;
    c.draws = 50;
    c.extras = {true, true, true, true};
    const Price r = computePrice(32736, p, c, true);
    EXPECT_EQ(numberText(r.price), "1072660512000");  // 32736 x 32767 x 5 x 50 x 4
    EXPECT_EQ(r.joker, 32736LL * 32767 * 8);
    EXPECT_EQ(partSize(p), 32767);
    p.fieldsPerTicket[1] = 32767;
    EXPECT_EQ(partSize(p), 32767LL * 32767);
    EXPECT_EQ(totalParts(32736, p), 1);
}

TEST(Parts, TakingPartsAndCountingTickets) {
    Params p = defaultParams();  // 4 fields a ticket, 7 tickets a basket: 28 rows
    QStringList rest;
    for (int i = 1; i <= 70; ++i) rest << QString::number(i);
    EXPECT_EQ(totalParts(70, p), 3);
    EXPECT_EQ(totalParts(0, p), 1);
    EXPECT_EQ(totalParts(56, p), 2);
    const QStringList first = takePart(rest, partSize(p));
    EXPECT_EQ(first.size(), 28);
    EXPECT_EQ(first.front(), "1");
    EXPECT_EQ(rest.front(), "29");
    takePart(rest, partSize(p));
    const QStringList last = takePart(rest, partSize(p));
    EXPECT_EQ(last.size(), 14);
    EXPECT_EQ(ticketsFor(last.size(), 4), 4);
    EXPECT_TRUE(rest.isEmpty());
    EXPECT_TRUE(takePart(rest, 28).isEmpty());
}

#include "fb/Decimal.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using fb::Decimal;
using fb::DecimalOverflow;

TEST(Decimal, ParsesAndPrints) {
    struct Case { const char* in; const char* out2; const char* plain; };
    const Case cases[] = {
        {"0", "0.00", "0"},         {"1.15", "1.15", "1.15"},   {"-0,5", "-0.50", "-0.5"},
        {"1 234,50", "1234.50", "1234.5"}, {"12.34567", "12.35", "12.3457"}, {"-12.00005", "-12.00", "-12.0001"},
        {"+7", "7.00", "7"},        {"0.005", "0.01", "0.005"}, {"-0.005", "-0.01", "-0.005"},
    };
    for (const auto& c : cases) {
        const auto d = Decimal::parse(QString::fromUtf8(c.in));
        ASSERT_TRUE(d.has_value()) << c.in;
        EXPECT_EQ(d->toString(2), QString::fromUtf8(c.out2)) << c.in;
        EXPECT_EQ(d->toPlainString(), QString::fromUtf8(c.plain)) << c.in;
    }
}

TEST(Decimal, RejectsGarbage) {
    for (const char* bad : {"", "abc", "1.2.3", "-", "1,2,3", "12a"})
        EXPECT_FALSE(Decimal::parse(QString::fromUtf8(bad)).has_value()) << bad;
    EXPECT_THROW(Decimal::fromString(QStringLiteral("x")), std::invalid_argument);
}

TEST(Decimal, ArithmeticIsExact) {
    // 0.1 + 0.2 is exactly 0.3 here, unlike binary floating point.
    EXPECT_EQ(Decimal::fromString("0.1") + Decimal::fromString("0.2"), Decimal::fromString("0.3"));
    EXPECT_EQ(Decimal::fromString("1.5") * Decimal(20), Decimal(30));
    EXPECT_EQ((Decimal::fromString("2.345") * Decimal::fromString("3")).toString(3), "7.035");
    EXPECT_EQ((Decimal(10) / Decimal(3)).toString(4), "3.3333");
    EXPECT_THROW(Decimal(1) / Decimal(0), std::domain_error);
}

TEST(Decimal, PercentRoundsHalfAwayFromZero) {
    struct Case { const char* base; int pct; const char* expect; };
    const Case cases[] = {
        {"100.10", 7, "7.01"},   // 7.007
        {"0.50", 1, "0.01"},     // 0.005 rounds up
        {"-0.50", 1, "-0.01"},   // and away from zero when negative
        {"1000", 150, "1500.00"},
        {"33.33", 10, "3.33"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decimal::fromString(c.base).percent(c.pct).toString(2), c.expect) << c.base << " " << c.pct;
}

TEST(Decimal, TimesRoundedRoundsOnceHalfAwayFromZero) {
    struct Case { const char *a, *b; int decimals; const char* expect; };
    const Case cases[] = {
        {"0.03", "0.165", 2, "0.0000"},   // 0.00495 stays below half a kopeck
        {"0.01", "0.5", 2, "0.0100"},     // exactly half goes up
        {"-0.01", "0.5", 2, "-0.0100"},   // and away from zero
        {"2.5", "1", 0, "3.0000"},
        {"1.2345", "0.5", 4, "0.6173"},   // 0.61725
        {"999999999.99", "9999.999", 2, "9999998999900.0000"},  // the product needs more than 64 bits
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decimal::fromString(c.a).timesRounded(Decimal::fromString(c.b), c.decimals).toString(4), c.expect)
            << c.a << " x " << c.b;
}

TEST(Decimal, ScaledConversions) {
    EXPECT_EQ(Decimal::fromScaled(115, 2), Decimal::fromString("1.15"));
    EXPECT_EQ(Decimal::fromScaled(1500, 3), Decimal::fromString("1.5"));
    EXPECT_EQ(Decimal::fromString("1.155").toScaled(2), 116);
    EXPECT_EQ(Decimal::fromString("-1.155").toScaled(2), -116);
    EXPECT_EQ(Decimal::fromString("2.5").rounded(0), Decimal(3));
    EXPECT_EQ(Decimal::fromString("-2.5").rounded(0), Decimal(-3));
    EXPECT_LT(Decimal::fromString("-1"), Decimal::fromString("0.01"));
}

TEST(Decimal, ArithmeticRefusesToWrapAround) {
    const Decimal big = Decimal::fromString("461168601842738");
    const Decimal max = Decimal::fromUnits(std::numeric_limits<qint64>::max());
    const struct {
        const char* what;
        std::function<Decimal()> op;
    } cases[] = {
        {"three line sums", [&] { return big + big + big; }},
        {"1000 units of 10^12", [] { return Decimal(1000) * Decimal::fromString("1000000000000"); }},
        {"difference", [&] { return -max - Decimal(1); }},
        {"negation of the least", [] { return -Decimal::fromUnits(std::numeric_limits<qint64>::min()); }},
        {"from an integer", [] { return Decimal(qint64(1) << 62); }},
        {"read back at scale 0", [] { return Decimal::fromScaled(std::numeric_limits<qint64>::max(), 0); }},
        {"quotient", [&] { return max / Decimal::fromString("0.5"); }},
    };
    for (const auto& c : cases) EXPECT_THROW(c.op(), DecimalOverflow) << c.what;
    // What a NUMERIC(15,2) column holds.
    EXPECT_TRUE(Decimal::fromString("9999999999999.99").fitsNumeric(15, 2));
    EXPECT_FALSE(Decimal::fromString("10000000000000").fitsNumeric(15, 2));
    EXPECT_FALSE(Decimal::fromString("-10000000000000").fitsNumeric(15, 2));
    EXPECT_TRUE(Decimal::fromString("999999999999.999").fitsNumeric(15, 3));
}

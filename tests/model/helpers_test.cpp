#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "model/Helpers.h"

TEST(NoValueText, IsADash)
{
    EXPECT_EQ(NoValueText, QStringLiteral("-"));
}

TEST(MakeNextName, CountsUpTheTrailingNumberKeepingItsWidth)
{
    const struct {
        const char* name;
        const char* next;
    } cases[] = {
        {"Схема 1", "Схема 2"},
        {"Name007", "Name008"},
        {"Name099", "Name100"},
        {"Name9", "Name10"},
        {"Name00", "Name01"},
        {"Name", "Name1"},
        {"Name0", "Name1"},
        {"", "1"},
        {"7", "8"},
        {"099", "100"},
        {"999", "1000"},
        {"Name0999", "Name1000"},
        {"Name000", "Name001"},
        {"  a-b_ 19", "  a-b_ 20"},
        {"Датчик 3.9", "Датчик 3.10"},
        {"x 2147483647", "x 2147483648"},
        {"x 4294967295", "x 4294967296"},
        {"x 18446744073709551615", "x 18446744073709551616"},
        {"x 99999999999999999999999999", "x 100000000000000000000000000"},
        {"x 000000000000000000000000009", "x 000000000000000000000000010"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeNextName(QString::fromUtf8(c.name)), QString::fromUtf8(c.next)) << c.name;
}

TEST(MakeNextName, OnlyAsciiDigitsFormTheNumber)
{
    // An Arabic-Indic three is a digit to Unicode, not to a numbered name.
    const QString name = QStringLiteral("Имя") + QChar(0x0663);
    EXPECT_EQ(MakeNextName(name), name + QStringLiteral("1"));
}

namespace {
std::vector<int> Digits()
{
    return std::vector<int>(DigitBuffer, DigitBuffer + DigitCount);
}
}

TEST(ParseDigits, ReadsDigitsOfTheRadixFromTheRight)
{
    const struct {
        const char* text;
        int radix;
        std::vector<int> digits;
    } cases[] = {
        {"1 0110", 2, {0, 1, 1, 0, 1}},
        {"21x0", 3, {0}},
        {"", 10, {}},
        {"   ", 10, {}},
        {"12345678 9", 10, {9, 8, 7, 6, 5, 4, 3, 2}},
        {"102", 2, {}},
        {"0120 2", 3, {2, 0, 2, 1, 0}},
        {"7 65 ", 8, {5, 6, 7}},
        {"8", 8, {}},
        {"-1", 10, {1}},
        {"11", 0, {}},
        {"11", -3, {}},
        {":9", 16, {9}},
    };
    for (const auto& c : cases) {
        ParseDigits(QString::fromUtf8(c.text), c.radix);
        EXPECT_EQ(Digits(), c.digits) << '"' << c.text << "\" radix " << c.radix;
    }
}

TEST(ParseDigits, StartsAfreshOnEveryCall)
{
    ParseDigits(QStringLiteral("1111"), 2);
    ASSERT_EQ(DigitCount, 4);
    ParseDigits(QStringLiteral("x"), 2);
    EXPECT_EQ(DigitCount, 0);
}

namespace {
// The plain stepping loop, as the frames have always wrapped their values.
double SteppedWrap(double value, double low, double high)
{
    const double range = std::fabs(high - low);
    if (value >= high)
        while (value >= high)
            value -= range;
    else if (value < low)
        while (value < low)
            value += range;
    return value;
}

void ExpectInside(double result, double low, double high)
{
    EXPECT_GE(result, low);
    EXPECT_LT(result, high);
}
}

TEST(WrapValue, BringsValuesIntoTheHalfOpenRange)
{
    const struct {
        double value, low, high, expected;
        bool changed;
    } cases[] = {
        {190, -180, 180, -170, true},
        {-10, 0, 360, 350, true},
        {360, 0, 360, 0, true},
        {180, -180, 180, -180, true},
        {0, 0, 360, 0, false},
        {-180, -180, 180, -180, false},
        {359.5, 0, 360, 359.5, false},
        {725, 0, 360, 5, true},
        {-725, 0, 360, 355, true},
        {3 * 360 + 0.5, 0, 360, 0.5, true},
    };
    for (const auto& c : cases) {
        bool changed = !c.changed;
        EXPECT_EQ(WrapValue(c.value, c.low, c.high, changed), c.expected) << c.value;
        EXPECT_EQ(changed, c.changed) << c.value;
    }
}

TEST(WrapValue, MatchesTheSteppingLoopBitForBitWhileFewStepsAreNeeded)
{
    std::mt19937_64 random(12345);
    const struct {
        double low, high;
    } ranges[] = {{-180, 180}, {0, 360}, {0, 0.3}, {-3.14159, 3.14159}, {0.1, 0.7}, {-5000, 65535.99}};
    for (const auto& r : ranges) {
        const double range = r.high - r.low;
        std::uniform_real_distribution<double> pick(r.low - 40 * range, r.high + 40 * range);
        for (int i = 0; i < 20000; ++i) {
            const double value = pick(random);
            const double expected = SteppedWrap(value, r.low, r.high);
            if (!(expected >= r.low && expected < r.high))
                continue;  // the loop's own rounding slip; checked below to stay inside
            bool changed = false;
            const double result = WrapValue(value, r.low, r.high, changed);
            ASSERT_EQ(result, expected) << value << " in [" << r.low << ", " << r.high << ")";
            ASSERT_EQ(changed, value != expected);
        }
    }
}

TEST(WrapValue, StaysInsideAndEndsForHugeValues)
{
    const double values[] = {1e17, -1e17, 1e300, -1e300, std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(), 4.5e15, 123456789.123};
    const struct {
        double low, high;
    } ranges[] = {{0, 0.1}, {-180, 180}, {0, 360}, {1e16, 1e16 + 4}, {-1e308, 1e308}, {-0.5, 0.5}};
    for (const auto& r : ranges)
        for (double value : values) {
            bool changed = false;
            const double result = WrapValue(value, r.low, r.high, changed);
            SCOPED_TRACE(value);
            ExpectInside(result, r.low, r.high);
        }
}

TEST(WrapValue, ResultStaysInsideWhereSteppingRoundsOut)
{
    std::mt19937_64 random(777);
    std::uniform_real_distribution<double> pick(-100, 100);
    for (int i = 0; i < 20000; ++i) {
        const double low = pick(random) * 1e-3;
        const double high = low + std::fabs(pick(random)) * 1e-5 + 1e-12;
        const double value = pick(random);
        bool changed = false;
        ExpectInside(WrapValue(value, low, high, changed), low, high);
    }
}

TEST(WrapValue, EmptyOrReversedRangeLeavesTheValue)
{
    bool changed = true;
    EXPECT_EQ(WrapValue(5, 10, 10, changed), 5);
    EXPECT_FALSE(changed);
    changed = true;
    EXPECT_EQ(WrapValue(500, 360, 0, changed), 500);
    EXPECT_FALSE(changed);
    changed = true;
    EXPECT_EQ(WrapValue(5, std::nan(""), 10, changed), 5);
    EXPECT_FALSE(changed);
}

TEST(WrapValue, NotANumberAndInfinitiesGiveLow)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double value : {std::nan(""), inf, -inf}) {
        bool changed = false;
        EXPECT_EQ(WrapValue(value, -180, 180, changed), -180) << value;
        EXPECT_TRUE(changed);
    }
}

TEST(WrapValue, InfiniteBoundsKeepValuesInsideThem)
{
    const double inf = std::numeric_limits<double>::infinity();
    bool changed = true;
    EXPECT_EQ(WrapValue(42, -inf, inf, changed), 42);
    EXPECT_FALSE(changed);
    const double result = WrapValue(-42, 0, inf, changed);
    EXPECT_TRUE(changed);
    ExpectInside(result, 0, inf);
}

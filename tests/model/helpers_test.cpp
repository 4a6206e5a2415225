#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

#include "model/Helpers.h"

TEST(MakeNextName, CountsUpTheTrailingNumberKeepingItsWidth)
{
    const struct {
        const char* name;
        const char* next;
    } cases[] = {
        {"Name007", "Name008"}, {"Name099", "Name100"}, {"999", "1000"}, {"Датчик 3.9", "Датчик 3.10"}, {"Name", "Name1"}, {"", "1"}, {"x 18446744073709551615", "x 18446744073709551616"}, {"x 000000000000000000000000009", "x 000000000000000000000000010"}, {"Имя\u0663", "Имя\u06631"},   // an Arabic-Indic three is a digit to Unicode, not to a name
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeNextName(QString::fromUtf8(c.name)), QString::fromUtf8(c.next)) << c.name;
}

// Each call starts afresh: a case with no digits follows one with many.
TEST(ParseDigits, ReadsDigitsOfTheRadixFromTheRight)
{
    // clang-format off
    const struct { const char* text; int radix; std::vector<int> digits; } cases[] = {
        {"1 0110", 2, {0, 1, 1, 0, 1}}, {"12345678 9", 10, {9, 8, 7, 6, 5, 4, 3, 2}}, {"   ", 10, {}},
        {"7 65 ", 8, {5, 6, 7}}, {"8", 8, {}}, {"-1", 10, {1}}, {"11", 0, {}}, {":9", 16, {9}},
    };
    // clang-format on
    for (const auto& c : cases) {
        ParseDigits(QString::fromUtf8(c.text), c.radix);
        EXPECT_EQ(std::vector<int>(DigitBuffer, DigitBuffer + DigitCount), c.digits)
            << '"' << c.text << "\" radix " << c.radix;
    }
}

TEST(WrapValue, BringsValuesIntoTheHalfOpenRangeAndLeavesBadRangesAlone)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    // clang-format off
    const struct { double value, low, high, expected; bool changed; } cases[] = {
        {180, -180, 180, -180, true}, {-10, 0, 360, 350, true}, {0, 0, 360, 0, false},
        {5, 10, 10, 5, false}, {500, 360, 0, 500, false}, {5, nan, 10, 5, false},   // no range: unchanged
        {nan, -180, 180, -180, true}, {inf, -180, 180, -180, true}, {-inf, -180, 180, -180, true},
        {42, -inf, inf, 42, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        bool changed = !c.changed;
        EXPECT_EQ(WrapValue(c.value, c.low, c.high, changed), c.expected) << c.value;
        EXPECT_EQ(changed, c.changed) << c.value;
    }
}

// Up to 63 ranges out the result is the stepping loop's, bit for bit; far out, and where
// stepping would round out of the range, it still ends inside.
TEST(WrapValue, MatchesSteppingNearTheRangeAndStaysInsideFarAway)
{
    const auto stepped = [](double value, double low, double high) {
        const double range = std::fabs(high - low);
        while (value >= high)
            value -= range;
        while (value < low)
            value += range;
        return value;
    };
    std::mt19937_64 random(12345);
    const struct {
        double low, high;
    } ranges[] = {
        {-180, 180}, {0, 360}, {0, 0.3}, {-3.14159, 3.14159}, {-5000, 65535.99}, {1e16, 1e16 + 4}, {-1e308, 1e308}};
    for (const auto& r : ranges) {
        const double range = r.high - r.low;
        std::uniform_real_distribution<double> near(r.low - 63 * range, r.high + 63 * range);
        for (int i = 0; i < 20000 && std::isfinite(range); ++i) {
            const double value = near(random);
            const double expected = stepped(value, r.low, r.high);
            bool changed = false;
            const double result = WrapValue(value, r.low, r.high, changed);
            if (expected >= r.low && expected < r.high) {   // else the loop's own rounding slip
                ASSERT_EQ(result, expected) << value << " in [" << r.low << ", " << r.high << ")";
            }
            ASSERT_TRUE(result >= r.low && result < r.high) << value;
        }
        for (double value : {1e17, -1e300, std::numeric_limits<double>::max(), -4.5e15, 1e-3}) {
            bool changed = false;
            const double result = WrapValue(value, r.low, r.high, changed);
            EXPECT_TRUE(result >= r.low && result < r.high) << value << " in [" << r.low << ", " << r.high << ")";
        }
    }
}

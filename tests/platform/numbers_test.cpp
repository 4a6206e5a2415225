#include <gtest/gtest.h>

#include "platform/Numbers.h"

TEST(StrToInt, AcceptsBlanksSignAndDecimalDigitsWithin32Bits)
{
    // clang-format off
    const struct { const char* text; std::optional<int> value; } cases[] = {
        {"0", 0}, {"42", 42}, {"  -17 ", -17}, {"+5", 5}, {"007", 7},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}, {"99999999999999999999", std::nullopt},
        {"", std::nullopt}, {" ", std::nullopt}, {"-", std::nullopt}, {"1.5", std::nullopt},
        {"0x10", std::nullopt}, {"$10", std::nullopt}, {"1 2", std::nullopt}, {"12a", std::nullopt},
        {"--1", std::nullopt}, {"１２", std::nullopt},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(StrToInt(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(StrToFloat, ReadsDecimalNumbersWithTheSystemSeparator)
{
    // clang-format off
    const struct { const char* text; std::optional<long double> value; } cases[] = {
        {"1.5", 1.5L}, {" -0.25 ", -0.25L}, {"+3", 3.0L}, {"1e3", 1000.0L}, {"2.5E-1", 0.25L},
        {".5", 0.5L}, {"5.", 5.0L}, {"-0", 0.0L}, {"", std::nullopt}, {".", std::nullopt}, {"1,5", std::nullopt},
        {"1e", std::nullopt},
        {"inf", std::nullopt}, {"-INF", std::nullopt}, {"nan", std::nullopt}, {"0x1p3", std::nullopt},
        {"1e99999", std::nullopt}, {"1.2.3", std::nullopt}, {"1 5", std::nullopt},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(StrToFloat(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(FormatFloat, RoundsHalfAwayFromZeroToThePattern)
{
    // clang-format off
    const struct { const char* pattern; long double value; const char* text; } cases[] = {
        {"0.00", 0.0L, "0.00"}, {"0.00", 1.5L, "1.50"}, {"0.00", 0.125L, "0.13"},
        {"0.00", -0.125L, "-0.13"}, {"0.00", 2.675L, "2.68"}, {"0.00", -1.26L, "-1.26"},
        {"0.00", 0.285L, "0.29"}, {"0.00", 57 / 200.0L, "0.29"},   // a quotient just off a decimal half
        {"0.00", -0.004L, "0.00"}, {"0.00", -0.005L, "-0.01"}, {"0.00", 999.999L, "1000.00"},
        {"0.00", 123456789.126L, "123456789.13"}, {"00", 7.0L, "07"}, {"00", 7.5L, "08"},
        {"00", -0.4L, "00"}, {"00", 123.0L, "123"}, {"0000", 59.0L, "0059"}, {"0000", 2207.0L, "2207"},
        {"0000", -12.5L, "-0013"}, {"0", 0.5L, "1"}, {"0.00", 1.005L, "1.01"}, {"0.00", 0.4876L, "0.49"},
        {"0.00", -0.0049L, "0.00"}, {"0.00", 123456789012.345L, "123456789012.35"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.pattern, c.value), QString::fromLatin1(c.text)) << c.pattern << " " << double(c.value);
}

// The engine data's values are shown in the general form.
TEST(Numbers, TheSystemSeparatorServesReadingAndShowingInBothForms)
{
    const std::pair<long double, const char*> general[] = {
        {1500, "1500"}, {-2.5L, "-2.5"}, {0.1L, "0.1"}, {123456789012345.0L, "123456789012345"}};
    for (const auto& [value, text] : general)
        EXPECT_EQ(FloatToStr(value), text);
    SetDecimalSeparator(u',');
    EXPECT_TRUE(StrToFloat("1,5") == 1.5L && !StrToFloat("1.5"));
    EXPECT_EQ(FormatFloat("0.00", 3.14159L), "3,14");
    EXPECT_EQ(FloatToStr(1500.125L), "1500,125");
    SetDecimalSeparator(u'.');
}

TEST(Numbers, FormattedTextsReadBack)
{
    for (int raw = -3000; raw <= 3000; raw += 7) {
        const long double value = raw / 100.0L;
        const auto back = StrToFloat(FormatFloat("0.00", value));
        ASSERT_TRUE(back.has_value());
        EXPECT_NEAR(static_cast<double>(*back), static_cast<double>(value), 1e-9);
    }
}

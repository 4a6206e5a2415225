// The shared value rules at the edges no frame reaches: numbers beyond 64 bits, fields across a
// byte boundary and overlong info lines.
#include <gtest/gtest.h>
#include <limits>

#include "frames/shared/Fields.h"

namespace {
TMessageImage Body(std::initializer_list<std::uint8_t> bytes)
{
    TMessageImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin() + 1);
    return image;
}
}

TEST(ToRaw, CutsTowardZeroAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(ToRaw(-1.99L, 1, Round::Trunc), -1);
    const long double inf = std::numeric_limits<long double>::infinity();
    for (Round rounding : {Round::AddHalf, Round::HalfAway, Round::Trunc}) {
        for (long double bad : {inf, -inf, std::numeric_limits<long double>::quiet_NaN(), 1e19L, -1e19L, 1e4000L})
            EXPECT_FALSE(ToRaw(bad, 1, rounding)) << double(bad);
        EXPECT_FALSE(ToRaw(0x1p62L, 4, rounding)) << "2^64 after scaling";
        EXPECT_EQ(ToRaw(9e18L, 1, rounding), 9000000000000000000LL);
    }
    EXPECT_EQ(ToRaw(-0x1p63L, 1, Round::Trunc), std::numeric_limits<std::int64_t>::min());
}

TEST(Num, EditAndCellConvertAndShowOneFieldEach)
{
    const Num decimal{Bits{1, 0, 14, 2}, 10, 0.1L};
    const Num integer{Bits{1, 0, 14, 2}};
    // clang-format off
    struct Case { const Num* num; const char* text; std::optional<std::int64_t> edit, cell; };
    // clang-format on
    const Case cases[] = {
        {&decimal, "-1.26", -12, -13},
        {&decimal, "1e30", std::nullopt, std::nullopt},   // scaled beyond 64 bits
        {&integer, "12.5", std::nullopt, 13},             // an integer edit refuses a fraction, the cell rounds it
        {&integer, "99999999999", std::nullopt, 99999999999LL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.num->fromEdit(c.text), c.edit) << c.text;
        EXPECT_EQ(c.num->fromCell(c.text), c.cell) << c.text;
    }
}

TEST(Bits, FieldsAndFlagsAcrossTheByteBoundary)
{
    EXPECT_EQ((Bits{1, 4, 8, 2}.get(Body({0x21, 0x43}))), 0x32u);
    EXPECT_EQ((Bits{1, 0, 4}.getSigned(Body({0x0F}))), -1);

    TMessageImage two = Body({0x00, 0x00});
    const bool high[] = {false, false, true, true};
    StoreFlags(two, Bits{1, 6, 4, 2}, high);   // a part across the byte boundary
    EXPECT_EQ(two, Body({0x00, 0x03}));
}

TEST(FormatLine, TakesTextsLongerThanALine)
{
    EXPECT_EQ(FormatLine("%s!", std::string(300, 'x').c_str()).size(), 301);
}

// The value rules shared by every frame, as tables.
#include "frames/Fields.h"
#include "platform/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
TMessageImage Body(std::initializer_list<std::uint8_t> bytes)
{
    TMessageImage image{};
    std::size_t i = 1;
    for (std::uint8_t b : bytes)
        image[i++] = b;
    return image;
}
}

TEST(ToRaw, RoundsAsFrameEditAndGridCellDo)
{
    struct Row { long double value, scale; Round rounding; std::int64_t raw; };
    const Row rows[] = {
        {-1.26L, 10, Round::AddHalf, -12},   // toward zero after the half is added
        {-1.26L, 10, Round::HalfAway, -13},
        {1.26L, 10, Round::AddHalf, 13},
        {1.26L, 10, Round::HalfAway, 13},
        {-12.5L, 1, Round::HalfAway, -13},
        {12.5L, 1, Round::HalfAway, 13},
        {-12.5L, 1, Round::AddHalf, -12},
        {12.34L, 256, Round::AddHalf, 3159},
        {1600, 40.96L, Round::AddHalf, 65536},   // cut to the field by the caller
        {-1.99L, 1, Round::Trunc, -1},
        {7.5L, 1, Round::HalfAway, 8},
    };
    for (const Row& r : rows) {
        const auto raw = ToRaw(r.value, r.scale, r.rounding);
        ASSERT_TRUE(raw) << static_cast<double>(r.value);
        EXPECT_EQ(*raw, r.raw) << static_cast<double>(r.value) << " x " << static_cast<double>(r.scale);
    }
}

TEST(ToRaw, ValuesBeyondSixtyFourBitsOrNotFiniteDoNotConvert)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    for (Round rounding : {Round::AddHalf, Round::HalfAway, Round::Trunc}) {
        EXPECT_FALSE(ToRaw(inf, 1, rounding));
        EXPECT_FALSE(ToRaw(-inf, 1, rounding));
        EXPECT_FALSE(ToRaw(nan, 1, rounding));
        EXPECT_FALSE(ToRaw(1e19L, 1, rounding));
        EXPECT_FALSE(ToRaw(-1e19L, 1, rounding));
        EXPECT_FALSE(ToRaw(1e4000L, 1, rounding));   // no double can hold it
        EXPECT_FALSE(ToRaw(0x1p62L, 4, rounding));   // 2^64 after scaling
        EXPECT_EQ(ToRaw(9e18L, 1, rounding), 9000000000000000000LL);
        EXPECT_EQ(ToRaw(-0x1p63L, 1, Round::Trunc), std::numeric_limits<std::int64_t>::min());
    }
}

TEST(Num, EditAndCellConvertOneFieldEach)
{
    const Num decimal{Bits{1, 0, 14, 2}, 10, 0.1L};
    const Num integer{Bits{1, 0, 14, 2}};
    struct Row { const Num* num; const char* text; std::optional<std::int64_t> edit, cell; };
    const Row rows[] = {
        {&decimal, "-1.26", -12, -13},
        {&decimal, "12.3", 123, 123},
        {&decimal, "", std::nullopt, std::nullopt},
        {&decimal, "abc", std::nullopt, std::nullopt},
        {&decimal, "1e30", std::nullopt, std::nullopt},   // scaled beyond 64 bits
        {&decimal, "inf", std::nullopt, std::nullopt},
        {&integer, "12", 12, 12},
        {&integer, "12.5", std::nullopt, 13},   // an integer edit refuses a fraction, the cell rounds it
        {&integer, "-12.5", std::nullopt, -13},
        {&integer, "99999999999", std::nullopt, 99999999999LL},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.num->fromEdit(r.text), r.edit) << r.text;
        EXPECT_EQ(r.num->fromCell(r.text), r.cell) << r.text;
    }
}

TEST(Num, ShowsDecimalsWithTwoPlacesAndIntegersAsDigits)
{
    const Num tilt{Bits{1, 0, 15, 2}, 256, 0.00390625L};
    const Num level{Bits{1, 0, 8}};
    const Num offset{Bits{1, 0, 8}, 0, 0, true};
    const Num signedDecimal{Bits{1, 0, 8}, 10, 0.1L, true};
    EXPECT_EQ(tilt.text(Body({0x00, 0x81})), "1.00");
    EXPECT_EQ(tilt.text(Body({0x20, 0x00})), "0.13");   // 0.125 rounds half away here
    EXPECT_EQ(level.text(Body({0xFE})), "254");
    EXPECT_EQ(offset.text(Body({0xFE})), "-2");
    EXPECT_EQ(signedDecimal.text(Body({0xF3})), "-1.30");
}

TEST(Bits, SharedByteIsWrittenByItsFirstFieldAndOredByTheRest)
{
    // Byte 1: field A bits 0-3 (first), field B bits 4-6 (later); bit 7 belongs to no field.
    const Num a{Bits{1, 0, 4}};
    const Num b{Bits{1, 4, 3}};
    struct Row { const char* textA; const char* textB; std::uint8_t before, after; };
    const Row rows[] = {
        {"5", "3", 0xFF, 0x35},
        {"5", "x", 0xFF, 0x05},    // the later field fails: its bits stay as the clearing left them
        {"x", "3", 0xFF, 0x3F},    // the first field fails: its bits stay, the rest is cleared
        {"x", "x", 0xA5, 0x05},
        {"21", "9", 0x00, 0x15},   // each value cut to its width
    };
    for (const Row& r : rows) {
        TMessageImage image = Body({r.before, 0x77});
        if (const auto raw = a.fromEdit(r.textA))
            a.bits.store(image, *raw);
        else
            a.bits.keepOnly(image);
        if (const auto raw = b.fromEdit(r.textB))
            b.bits.orIn(image, *raw);
        EXPECT_EQ(image[1], r.after) << r.textA << " " << r.textB;
        EXPECT_EQ(image[2], 0x77) << "the next byte is not touched";
    }
}

TEST(Bits, CheckBoxPartIsClearedThenSetAndMaskedStoreKeepsTheRest)
{
    TMessageImage image = Body({0xFF});
    const Bits part{1, 2, 4};   // the check boxes own bits 2-5
    part.clear(image);
    EXPECT_EQ(image[1], 0xC3);
    for (int box : {0, 2})   // boxes 1 and 3 checked
        Bits{1, static_cast<std::uint8_t>(2 + box), 1}.orIn(image, 1);
    EXPECT_EQ(image[1], 0xD7);

    TMessageImage word = Body({0x00, 0x80});
    Bits{1, 0, 15, 2}.set(word, -256);   // two's complement cut, bit 15 stays
    EXPECT_EQ(word[1], 0x00);
    EXPECT_EQ(word[2], 0xFF);
    EXPECT_EQ((Bits{1, 0, 15, 2}.get(word)), 0x7F00u);
    EXPECT_EQ((Bits{1, 4, 8, 2}.get(Body({0x21, 0x43}))), 0x32u);
    EXPECT_EQ((Bits{1, 0, 4}.getSigned(Body({0x0F}))), -1);
}

TEST(Combos, CodesAndItems)
{
    struct Out { int item, code; };
    for (const Out& r : {Out{-1, 0}, Out{0, 0}, Out{3, 3}, Out{4, 5}, Out{5, 6}, Out{6, 7}})
        EXPECT_EQ(OutputStateCode(r.item), r.code) << r.item;
    for (const Out& r : {Out{0, 0}, Out{3, 3}, Out{-1, 4}, Out{4, 5}, Out{6, 7}})
        EXPECT_EQ(OutputStateItem(r.code), r.item) << r.code;
    EXPECT_EQ(OutputStateItems.size(), 7);
    EXPECT_EQ(OutputStateItems[OutputStateItem(7)], "Вкл., клапан заблокирован");
    EXPECT_EQ(OutputStateItems[4], "Вкл., превышен ток");

    for (const Out& r : {Out{-1, 0}, Out{0, 0}, Out{1, 1}, Out{2, 2}})
        EXPECT_EQ(InputCode(r.item), r.code) << r.item;
    for (const Out& r : {Out{0, 0}, Out{1, 1}, Out{2, 2}, Out{-1, 3}})
        EXPECT_EQ(InputItem(r.code), r.item) << r.code;
    for (const Out& r : {Out{-1, 1}, Out{0, 0}, Out{1, 1}})
        EXPECT_EQ(TwoItemBit(r.item), r.code) << r.item;
    EXPECT_EQ(InputItems, (QStringList{"Свободен", "+24 В", "Масса"}));
}

TEST(DigitColumn, TextGroupsFourFromTheRight)
{
    const int eight[] = {1, 0, 1, 0, 0, 0, 0, 1};
    const int six[] = {5, 0, 0, 0, 1, 7};
    const int two[] = {1, 2};
    EXPECT_EQ(DigitText(eight), "1000 0101");
    EXPECT_EQ(DigitText(six), "71 0005");
    EXPECT_EQ(DigitText(two), "21");
    EXPECT_EQ(DigitText(six, 0), "710005");
    EXPECT_EQ(DigitText(std::span<const int>()), "");
}

TEST(DigitColumn, ReadClearsTheCoveredBitsThenSetsTheDigitsFound)
{
    Bits outputs[8];
    for (std::uint8_t i = 0; i < 8; ++i)
        outputs[i] = Bits{1, i, 1};
    const DigitColumn bits{outputs, 2};
    Bits states[2] = {Bits{2, 0, 3}, Bits{2, 3, 3}};
    const DigitColumn codes{states, 8};

    struct Row { const DigitColumn* column; const char* text; std::uint8_t b1, b2; };
    const Row rows[] = {
        {&bits, "101", 0x05, 0xFF},           // three digits set outputs 1-3 and clear 4-8
        {&bits, "", 0x00, 0xFF},              // an empty cell clears every covered bit
        {&bits, "1111 0000", 0xF0, 0xFF},
        {&bits, "12", 0x00, 0xFF},            // '2' is no binary digit: the walk stops at once
        {&bits, "1x01", 0x01, 0xFF},          // digits left of a foreign character are not read
        {&codes, "47", 0xFF, 0xE7},           // raw codes: a digit 4 stores code 4
        {&codes, "", 0xFF, 0xC0},             // bits 6-7 of byte 2 are not the column's
    };
    for (const Row& r : rows) {
        TMessageImage image = Body({0xFF, 0xFF});
        r.column->read(image, r.text);
        EXPECT_EQ(image[1], r.b1) << r.text;
        EXPECT_EQ(image[2], r.b2) << r.text;
    }
    EXPECT_EQ(bits.text(Body({0x05})), "0000 0101");
    EXPECT_EQ(codes.text(Body({0, 0x27})), "47");
}

TEST(FormatLine, PrintsLikeTheCLibrary)
{
    // An exact binary tie prints as the C library rounds it, unlike FormatFloat.
    EXPECT_EQ(FormatLine("F=%.2f", 0.125), "F=0.12");
    EXPECT_EQ(FormatFloat("0.00", 0.125L), "0.13");
    EXPECT_EQ(FormatLine("E=%u, IN3-2=%c%c", 5u, '2', '1'), "E=5, IN3-2=21");
    const std::string longer(300, 'x');
    EXPECT_EQ(FormatLine("%s!", longer.c_str()).size(), 301);
    const std::uint8_t message[16] = {0x43, 0x00, 0x81};
    EXPECT_EQ(DigitChar(ImageOf(message), Bits{1, 15, 1, 2}), '1');
}

TEST(Flags, PartIsClearedThenEachSetFlagSetsItsBit)
{
    const Bits part{1, 2, 4};   // bits 2-5 of byte 1
    TMessageImage image = Body({0xFF});
    const bool flags[] = {true, false, true};
    StoreFlags(image, part, flags);
    EXPECT_EQ(image[1], 0xD7);
    EXPECT_TRUE(FlagAt(image, part, 0));
    EXPECT_FALSE(FlagAt(image, part, 1));
    EXPECT_TRUE(FlagAt(image, part, 2));
    EXPECT_FALSE(FlagAt(image, part, 3));

    const Bits word{1, 6, 4, 2};   // a part across the byte boundary
    TMessageImage two = Body({0x00, 0x00});
    const bool high[] = {false, false, true, true};
    StoreFlags(two, word, high);
    EXPECT_EQ(two[1], 0x00);
    EXPECT_EQ(two[2], 0x03);
}

// The value rules shared by every frame, as tables, and where they meet an edit.
#include "frames/shared/Fields.h"
#include "frames/shared/FieldControls.h"
#include "platform/Numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
TMessageImage Body(std::initializer_list<std::uint8_t> bytes)
{
    TMessageImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin() + 1);
    return image;
}
}

TEST(ToRaw, RoundsAsFrameEditAndGridCellDoAndRefusesWhatDoesNotFit)
{
    struct Case { long double value, scale; Round rounding; std::int64_t raw; };
    const Case cases[] = {
        {-1.26L, 10, Round::AddHalf, -12},   // toward zero after the half is added
        {-1.26L, 10, Round::HalfAway, -13},
        {12.34L, 256, Round::AddHalf, 3159},
        {1600, 40.96L, Round::AddHalf, 65536},   // cut to the field by the caller
        {-1.99L, 1, Round::Trunc, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToRaw(c.value, c.scale, c.rounding), c.raw) << double(c.value) << " x " << double(c.scale);

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
    struct Case { const Num* num; const char* text; std::optional<std::int64_t> edit, cell; };
    const Case cases[] = {
        {&decimal, "-1.26", -12, -13},
        {&decimal, "1e30", std::nullopt, std::nullopt},   // scaled beyond 64 bits
        {&integer, "12.5", std::nullopt, 13},   // an integer edit refuses a fraction, the cell rounds it
        {&integer, "99999999999", std::nullopt, 99999999999LL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.num->fromEdit(c.text), c.edit) << c.text;
        EXPECT_EQ(c.num->fromCell(c.text), c.cell) << c.text;
    }

    EXPECT_EQ((Num{Bits{1, 0, 15, 2}, 256, 0.00390625L}.text(Body({0x20, 0x00}))), "0.13");   // 0.125 rounds half away
    EXPECT_EQ((Num{Bits{1, 0, 8}, 0, 0, true}.text(Body({0xFE}))), "-2");
    EXPECT_EQ((Num{Bits{1, 0, 8}, 10, 0.1L, true}.text(Body({0xF3}))), "-1.30");
}

TEST(Bits, MaskedStoreKeepsTheRestAndFlagsSetTheirBits)
{
    TMessageImage word = Body({0x00, 0x80});
    Bits{1, 0, 15, 2}.set(word, -256);   // two's complement cut, bit 15 stays
    EXPECT_EQ(word, Body({0x00, 0xFF}));
    EXPECT_EQ((Bits{1, 4, 8, 2}.get(Body({0x21, 0x43}))), 0x32u);
    EXPECT_EQ((Bits{1, 0, 4}.getSigned(Body({0x0F}))), -1);

    TMessageImage image = Body({0xFF});
    const bool flags[] = {true, false, true};
    StoreFlags(image, Bits{1, 2, 4}, flags);   // bits 2-5 of byte 1: cleared, then each set flag
    EXPECT_EQ(image[1], 0xD7);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(FlagAt(image, Bits{1, 2, 4}, k), k == 0 || k == 2) << k;
    TMessageImage two = Body({0x00, 0x00});
    const bool high[] = {false, false, true, true};
    StoreFlags(two, Bits{1, 6, 4, 2}, high);   // a part across the byte boundary
    EXPECT_EQ(two, Body({0x00, 0x03}));
}

TEST(Combos, CodesAndItems)
{
    using Pairs = std::vector<std::pair<int, int>>;   // item, code
    for (const auto& [item, code] : Pairs{{-1, 0}, {0, 0}, {3, 3}, {4, 5}, {6, 7}})
        EXPECT_EQ(OutputStateCode(item), code) << item;
    for (const auto& [item, code] : Pairs{{0, 0}, {3, 3}, {-1, 4}, {4, 5}, {6, 7}})
        EXPECT_EQ(OutputStateItem(code), item) << code;
    for (const auto& [item, code] : Pairs{{-1, 0}, {0, 0}, {2, 2}})
        EXPECT_EQ(InputCode(item), code) << item;
    EXPECT_EQ(InputItem(3), -1) << "code 3 has no item";
    for (const auto& [item, code] : Pairs{{-1, 1}, {0, 0}, {1, 1}})
        EXPECT_EQ(TwoItemBit(item), code) << item;
}

TEST(DigitColumn, TextGroupsFourFromTheRightAndReadClearsThenSetsTheDigitsFound)
{
    const int six[] = {5, 0, 0, 0, 1, 7};
    EXPECT_EQ(DigitText(six), "71 0005");
    EXPECT_EQ(DigitText(six, 0), "710005");

    Bits outputs[8];
    for (std::uint8_t i = 0; i < 8; ++i)
        outputs[i] = Bits{1, i, 1};
    const DigitColumn bits{outputs, 2};
    Bits states[2] = {Bits{2, 0, 3}, Bits{2, 3, 3}};
    const DigitColumn codes{states, 8};
    struct Case { const DigitColumn* column; const char* text; std::uint8_t b1, b2; };
    const Case cases[] = {
        {&bits, "101", 0x05, 0xFF},           // three digits set outputs 1-3 and clear 4-8
        {&bits, "12", 0x00, 0xFF},            // '2' is no binary digit: the walk stops at once
        {&bits, "1x01", 0x01, 0xFF},          // digits left of a foreign character are not read
        {&codes, "47", 0xFF, 0xE7},           // raw codes: a digit 4 stores code 4
        {&codes, "", 0xFF, 0xC0},             // bits 6-7 of byte 2 are not the column's
    };
    for (const Case& c : cases) {
        TMessageImage image = Body({0xFF, 0xFF});
        c.column->read(image, c.text);
        EXPECT_EQ(image, Body({c.b1, c.b2})) << c.text;
    }
    EXPECT_EQ(bits.text(Body({0x05})), "0000 0101");
    EXPECT_EQ(codes.text(Body({0, 0x27})), "47");
}

TEST(FormatLine, PrintsLikeTheCLibrary)
{
    // An exact binary tie prints as the C library rounds it, unlike FormatFloat.
    EXPECT_EQ(FormatLine("F=%.2f", 0.125), "F=0.12");
    EXPECT_EQ(FormatFloat("0.00", 0.125L), "0.13");
    EXPECT_EQ(FormatLine("%s!", std::string(300, 'x').c_str()).size(), 301);
    const std::uint8_t message[16] = {0x43, 0x00, 0x81};
    EXPECT_EQ(DigitChar(ImageOf(message), Bits{1, 15, 1, 2}), '1');
}

TEST(ReadWrappedEdit, WrapsIntoTheRangeAndShowsTheWrappedValue)
{
    const auto twoPlaces = [](long double v) { return FormatFloat("0.00", v); };
    const auto whole = [](long double v) { return FormatFloat("0", v); };
    struct Row { const char* text; double low, high; std::optional<long double> value; const char* shown; };
    const Row rows[] = {
        {"190", -180, 180, -170.0L, "-170.00"},
        {"360", 0, 360, 0.0L, "0.00"},
        {"12.5", 0, 360, 12.5L, "12.5"},     // inside the range: the text is left as typed
        {"abc", 0, 360, std::nullopt, "abc"},
    };
    for (const Row& r : rows) {
        TEdit edit;
        edit.SetText(r.text);
        EXPECT_EQ(ReadWrappedEdit(edit, r.low, r.high, twoPlaces), r.value) << r.text;
        EXPECT_EQ(edit.Text(), r.shown) << r.text;
    }
    TEdit edit;
    edit.SetText("300");
    EXPECT_EQ(ReadWrappedEdit(edit, 0, 256, whole), 44.0L);
    EXPECT_EQ(edit.Text(), "44");
}

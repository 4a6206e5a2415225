// The boom-length frames and the seventh travel frame: an angle, a length and one or two inputs
// between body, frame, grid and info line, with the wrap of the typed values into their ranges.
#include "AngleValueSupport.h"

namespace {
constexpr int BoomLengthA = 13, BoomLengthB = 14, BoomLengthC = 39, BoomLengthC2 = 52, TravelG = 84;
}

TEST(AngleValueFrames, EveryRowIsAnswerOnlyWithItsDecoderAndInputItems)
{
    const QStringList ground = {"Свободен", "Масса"}, codes = {"Свободен", "+24 В", "Масса"};
    const struct { int row; TDescribeMessage decoder; QStringList items; bool twoInputs; } rows[] = {
        {BoomLengthA, DescribeBoomLengthAAnswer, ground, false}, {BoomLengthB, DescribeBoomLengthBAnswer, codes, true},
        {BoomLengthC, DescribeBoomLengthCAnswer, codes, true},   {BoomLengthC2, DescribeBoomLengthCAnswer, codes, true},
        {TravelG, DescribeTravelGAnswer, codes, true},           {25, DescribeAzimuthAAnswer, ground, false},
        {26, DescribeAzimuthBAnswer, codes, false},
        {82, DescribeAzimuthCAnswer, {"Свободен", "Плюс", "Масса"}, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        ShownDevice shown(r.row, {});
        ExpectAnswerOnly(*shown.device.info, shown.frame());
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeAnswer, r.decoder);
        EXPECT_EQ(shown.frame().IN1ComboBox->Items(), r.items);
        EXPECT_EQ(shown.frame().IN2ComboBox != nullptr, r.twoInputs);
    }
}

TEST(AngleLengthFrames, BodyShownInFrameGridAndInfoLine)
{
    const ShownRow rows[] = {
        {BoomLengthA, {0x80, 0x81, 0x00, 0x01}, "1.50", "1.00", 1, -1, "1", "ANG=1.50, LEN=1.00, IN1=1"},
        {BoomLengthA, {0xFF, 0x7F, 0xFF, 0xFF}, "128.00", "256.00", 0, -1, "0", "ANG=128.00, LEN=256.00, IN1=0"},
        // Sign in bit 0, the magnitude doubled above it; the length in 12 bits under the inputs.
        {BoomLengthB, {0x01, 0x03, 0x00, 0x9F}, "-1.50", "15.00", 2, 1, "12", "ANG=-1.50, LEN=15.00, IN2-1=12"},
        // A sign without magnitude is zero; code 3 has no item but shows as '3'.
        {BoomLengthB, {0x01, 0x00, 0x80, 0xF0}, "0.00", "0.50", -1, -1, "33", "ANG=0.00, LEN=0.50, IN2-1=33"},
        {BoomLengthC, {0x80, 0x01, 0xFF, 0x4F}, "1.50", "4095", 1, 0, "01", "ANG=1.50, LEN=4095, IN2-1=01"},
        {BoomLengthC2, {0xFF, 0xFF, 0x0A, 0x20}, "256.00", "10", 0, 2, "20", "ANG=256.00, LEN=10, IN2-1=20"},
        {TravelG, {0x9F, 0x8C, 0x07, 0xB0}, "359.99", "7", 2, -1, "32", "ANG=359.99, LEN=7, IN2-1=32"},
        {TravelG, {0xFF, 0xFF, 0x00, 0x00}, "655.35", "0", 0, 0, "00", "ANG=655.35, LEN=0, IN2-1=00"},
    };
    for (const ShownRow& r : rows)
        ExpectShown(r);
}

TEST(AngleLengthFrames, FrameBuildsTheBodyAndRewritesWrappedEdits)
{
    const TypedRow rows[] = {
        // The angle drops to 15 bits and the input bit is set by the combo alone.
        {BoomLengthA, {0, 0, 0, 0}, "1.5", "-1", 0, -1, {0x80, 0x01, 0x00, 0xFF}, "1.5", "255"},
        {BoomLengthA, {0, 0, 0, 0}, "-1", "1", 1, -1, {0x01, 0xFF, 0x00, 0x01}, "-1", "1"},
        // Inside the range, yet a full word of steps: the word runs over to 0.
        {BoomLengthA, {0, 0, 0x34, 0x12}, "0", "255.999", 0, -1, {0, 0, 0, 0}, "0", "255.999"},
        {BoomLengthA, {0, 0, 0, 0}, "0", "256", 0, -1, {0, 0, 0, 0}, "0", "0"},
        // A bad angle keeps its bits but not the input bit; a bad length keeps its word.
        {BoomLengthA, {0x23, 0x81, 0x34, 0x12}, "abc", "x", 0, -1, {0x23, 0x01, 0x34, 0x12}, "abc", "x"},
        // A cleared two-item combo sets the input.
        {BoomLengthA, {0x23, 0x01, 0x34, 0x12}, "", "", -1, -1, {0x23, 0x81, 0x34, 0x12}, "", ""},

        {BoomLengthB, {0, 0, 0, 0}, "-1.5", "16", 2, 1, {0x01, 0x03, 0x00, 0x90}, "-1.5", "0"},
        {BoomLengthB, {0, 0, 0, 0}, "128", "15.999", -1, -1, {0, 0, 0, 0}, "128", "15.999"},
        {BoomLengthB, {0, 0, 0, 0}, "-128", "-1", -1, -1, {0x01, 0x00, 0x00, 0x0F}, "-128", "15"},
        {BoomLengthB, {0, 0, 0, 0}, "127.99", "1.5", 0, 0, {0xFA, 0xFF, 0x80, 0x01}, "127.99", "1.5"},
        // A bad length clears only the inputs before the combos OR theirs in; a bad angle keeps its word.
        {BoomLengthB, {0x34, 0x12, 0x12, 0xF5}, "abc", "abc", 1, 2, {0x34, 0x12, 0x12, 0x65}, "abc", "abc"},
        // Code 3 received and not selectable: the next answer carries 0.
        {BoomLengthB, {0, 0, 0, 0xF0}, "0", "x", -1, -1, {0, 0, 0, 0}, "0", "x"},

        // A whole-unit length is cut (its cell is rounded, below).
        {BoomLengthC, {0, 0, 0, 0}, "255.999", "10.7", 2, 0, {0x00, 0x00, 0x0A, 0x80}, "255.999", "10.7"},
        {BoomLengthC, {0, 0, 0, 0}, "1.5", "4096", 0, 1, {0x80, 0x01, 0x00, 0x10}, "1.5", "0"},
        {BoomLengthC2, {0, 0, 0, 0}, "1", "-1", 0, 0, {0x00, 0x01, 0xFF, 0x0F}, "1", "4095"},
        // The rewritten text is the value that is cut, so it reads back the same.
        {BoomLengthC2, {0, 0, 0, 0}, "0", "-0.5", 0, 0, {0, 0, 0xFF, 0x0F}, "0", "4095.5"},
        {BoomLengthC, {0x11, 0x22, 0x12, 0xF5}, "x", "y", -1, -1, {0x11, 0x22, 0x12, 0x05}, "x", "y"},

        // The wrapped angle is held in single precision, and shown as such.
        {TravelG, {0, 0, 0, 0}, "-0.01", "3", 1, 2, {0x9F, 0x8C, 0x03, 0x60}, "359.989990234375", "3"},
        {TravelG, {0, 0, 0, 0}, "360", "0", 0, 0, {0, 0, 0, 0}, "0", "0"},
        {TravelG, {0, 0, 0, 0}, "720.5", "0", 0, 0, {0x32, 0x00, 0, 0}, "0.5", "0"},
        {TravelG, {0, 0, 0, 0}, "12.34", "0", 0, 0, {0xD2, 0x04, 0, 0}, "12.34", "0"},
        // Single precision: 0.005 lies below its half step and is cut to 0.
        {TravelG, {0, 0, 0, 0}, "0.005", "0", 0, 0, {0, 0, 0, 0}, "0.005", "0"},
        {TravelG, {0x11, 0x22, 0x33, 0xF4}, "-", "-", 0, 1, {0x11, 0x22, 0x33, 0x14}, "-", "-"},
    };
    for (const TypedRow& r : rows)
        ExpectTyped(r);
}

TEST(AngleLengthFrames, GridCellsReachTheBodyWithoutWrapping)
{
    const CellRow rows[] = {
        {BoomLengthA, {0x00, 0x80, 0, 0}, 3, "1.5", {0x80, 0x81, 0, 0}},   // the input bit stays
        {BoomLengthA, {0x00, 0x00, 0, 0}, 3, "-1", {0x00, 0x7F, 0, 0}},
        {BoomLengthA, {0, 0, 0, 0}, 4, "1.001", {0, 0, 0x00, 0x01}},
        {BoomLengthA, {0, 0, 0, 0}, 4, "-0.001953125", {0, 0, 0xFF, 0xFF}},   // half a step: away from zero
        {BoomLengthA, {0, 0x00, 0, 0}, 5, "1", {0, 0x80, 0, 0}},
        {BoomLengthA, {0, 0x80, 0, 0}, 5, "", {0, 0x00, 0, 0}},
        {BoomLengthA, {1, 2, 3, 4}, 3, "abc", {1, 2, 3, 4}},
        {BoomLengthA, {1, 2, 3, 4}, 6, "5", {1, 2, 3, 4}},

        {BoomLengthB, {0, 0, 0, 0}, 3, "-1.5", {0x01, 0x03, 0, 0}},
        {BoomLengthB, {0, 0, 0, 0}, 3, "1.502", {0x02, 0x03, 0, 0}},
        {BoomLengthB, {0x01, 0, 0, 0}, 3, "-0.001", {0x00, 0x00, 0, 0}},
        {BoomLengthB, {0, 0, 0x00, 0xF0}, 4, "15", {0, 0, 0x00, 0xFF}},   // the inputs above stay
        {BoomLengthB, {0, 0, 0, 0x05}, 5, "21", {0, 0, 0, 0x65}},
        {BoomLengthB, {0, 0, 0, 0xF5}, 5, "3", {0, 0, 0, 0x05}},   // no digit of radix 3

        {BoomLengthC, {0, 0, 0, 0}, 3, "1.5", {0x80, 0x01, 0, 0}},
        {BoomLengthC, {0, 0, 0, 0xF0}, 4, "10.7", {0, 0, 0x0B, 0xF0}},
        {BoomLengthC2, {0, 0, 0, 0}, 4, "4096", {0, 0, 0, 0}},
        {BoomLengthC2, {0, 0, 0, 0x30}, 5, "1 2", {0, 0, 0, 0x90}},

        {TravelG, {0, 0, 0, 0}, 3, "400", {0x40, 0x9C, 0, 0}},   // beyond the turn: not wrapped
        {TravelG, {0, 0, 0, 0}, 3, "655.36", {0, 0, 0, 0}},
    };
    for (const CellRow& r : rows)
        ExpectCell(r);
}

TEST(AngleLengthFrames, EmulatedAnswerRewritesTheEditOnceAndStaysPut)
{
    // Before an emulated answer the builder runs without UpdatingControls: the wrapped texts
    // raise one change each, and building again from them gives the same body.
    ShownDevice shown(TravelG, {0, 0, 0, 0});
    {
        TUpdatingControls updating;
        shown.frame().ANGEdit->SetText("-0.01");
        shown.frame().SecondEdit->SetText("-1");
    }
    const int before = shown.device.changes;
    shown.device.info->FrameToAnswer();
    const Body first = BodyOf(shown.device.Answer(), 4);
    shown.device.info->FrameToAnswer();
    EXPECT_EQ(shown.device.changes, before + 2);
    EXPECT_EQ(BodyOf(shown.device.Answer(), 4), first);
    EXPECT_EQ(shown.frame().SecondEdit->Text(), "4095");

    FrameDevice rowless(BoomLengthA, false);   // not in the grid yet: the frame is still shown
    rowless.Answer()[3] = 0x80;
    rowless.ShowAnswer();
    EXPECT_EQ(rowless.Frame<TBoomLengthAFrame>().LENEdit->Text(), "0.50");
}

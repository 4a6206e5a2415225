// The angle-value frames (boom length, the seventh travel sensor, azimuth): an angle, a second
// value and one or two inputs between body, frame, grid and info line, with the wrap of typed
// values into their ranges.
#include "frames/BoomLengthA.h"
#include "FrameRig.h"

#include <string>

namespace {
constexpr int BoomLengthA = 13, BoomLengthB = 14, BoomLengthC = 39, BoomLengthC2 = 52, TravelG = 84;
constexpr int AzimuthA = 25, AzimuthB = 26, AzimuthC = 82;

std::size_t BodySize(int row) { return static_cast<std::size_t>(DeviceCatalogue[row].AnswerLength - 2); }

// A row's device with the body shown in its frame and grid, as after an exchange.
struct ShownDevice {
    ShownDevice(int row, const Body& body) : device(row)
    {
        SetBody(device.Answer(), body);
        device.ShowAnswer();
    }
    TAngleValueFrame& frame() { return device.Frame<TAngleValueFrame>(); }
    FrameDevice device;
};

// Body -> edits, combos (item2 -1 without a second input), grid columns 3-6 and the info line.
struct ShownRow { int row; Body body; const char *angle, *second; int item1, item2; const char *inputs, *line; };
void ExpectShown(const ShownRow& r)
{
    SCOPED_TRACE("row " + std::to_string(r.row) + ": " + r.line);
    ShownDevice shown(r.row, r.body);
    TAngleValueFrame& frame = shown.frame();
    EXPECT_EQ(frame.ANGEdit->Text(), r.angle);
    EXPECT_EQ(frame.SecondEdit->Text(), r.second);
    EXPECT_EQ(frame.IN1ComboBox->ItemIndex(), r.item1);
    EXPECT_EQ(frame.IN2ComboBox ? frame.IN2ComboBox->ItemIndex() : -1, r.item2);
    const TStringsRow& grid = shown.device.grid;
    EXPECT_EQ((std::vector<QString>{grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}),
              (std::vector<QString>{r.angle, r.second, r.inputs, "-"}));
    EXPECT_EQ(DeviceCatalogue[r.row].DescribeAnswer(shown.device.Answer().data()), r.line);
}

// Edits and combos -> body, with the edits as they read afterwards (wrapped values rewritten).
struct TypedRow {
    int row; Body before; const char *angle, *second; int item1, item2; Body after; const char *angleShown, *secondShown;
};
void ExpectTyped(const TypedRow& r)
{
    SCOPED_TRACE("row " + std::to_string(r.row) + ": " + r.angle + " / " + r.second);
    ShownDevice shown(r.row, r.before);
    TAngleValueFrame& frame = shown.frame();
    {
        TUpdatingControls updating;
        frame.ANGEdit->SetText(r.angle);
        frame.SecondEdit->SetText(r.second);
        frame.IN1ComboBox->SetItemIndex(r.item1);
        if (frame.IN2ComboBox)
            frame.IN2ComboBox->SetItemIndex(r.item2);
    }
    shown.device.BuildAnswer();
    EXPECT_EQ(BodyOf(shown.device.Answer(), BodySize(r.row)), r.after);
    EXPECT_EQ(frame.ANGEdit->Text(), r.angleShown);
    EXPECT_EQ(frame.SecondEdit->Text(), r.secondShown);
}

// A grid cell -> body; cells are never wrapped.
struct CellRow { int row; Body before; int column; const char* text; Body after; };
void ExpectCell(const CellRow& r)
{
    SCOPED_TRACE("row " + std::to_string(r.row) + ": " + std::to_string(r.column) + " '" + r.text + "'");
    ShownDevice shown(r.row, r.before);
    shown.device.info->GridToAnswer(r.text, r.column);
    EXPECT_EQ(BodyOf(shown.device.Answer(), BodySize(r.row)), r.after);
}
}

TEST(AngleLengthFrames, BodyShownInFrameGridAndInfoLine)
{
    const ShownRow rows[] = {
        {BoomLengthA, {0x80, 0x81, 0x00, 0x01}, "1.50", "1.00", 1, -1, "1", "ANG=1.50, LEN=1.00, IN1=1"},
        // Sign in bit 0, the magnitude doubled above it; the length in 12 bits under the inputs.
        {BoomLengthB, {0x01, 0x03, 0x00, 0x9F}, "-1.50", "15.00", 2, 1, "12", "ANG=-1.50, LEN=15.00, IN2-1=12"},
        // A sign without magnitude is zero; code 3 has no item but shows as '3'.
        {BoomLengthB, {0x01, 0x00, 0x80, 0xF0}, "0.00", "0.50", -1, -1, "33", "ANG=0.00, LEN=0.50, IN2-1=33"},
        {BoomLengthC, {0x80, 0x01, 0xFF, 0x4F}, "1.50", "4095", 1, 0, "01", "ANG=1.50, LEN=4095, IN2-1=01"},
        {TravelG, {0x9F, 0x8C, 0x07, 0xB0}, "359.99", "7", 2, -1, "32", "ANG=359.99, LEN=7, IN2-1=32"},
    };
    for (const ShownRow& r : rows)
        ExpectShown(r);
}

TEST(AngleLengthFrames, FrameBuildsTheBodyAndRewritesWrappedEdits)
{
    const TypedRow rows[] = {
        // The angle drops to 15 bits and the input bit is set by the combo alone.
        {BoomLengthA, {0, 0, 0, 0}, "1.5", "-1", 0, -1, {0x80, 0x01, 0x00, 0xFF}, "1.5", "255"},
        // Inside the range, yet a full word of steps: the word runs over to 0.
        {BoomLengthA, {0, 0, 0x34, 0x12}, "0", "255.999", 0, -1, {0, 0, 0, 0}, "0", "255.999"},
        {BoomLengthA, {0, 0, 0, 0}, "0", "256", 0, -1, {0, 0, 0, 0}, "0", "0"},
        // A bad angle keeps its bits but not the input bit; a bad length keeps its word.
        {BoomLengthA, {0x23, 0x81, 0x34, 0x12}, "abc", "x", 0, -1, {0x23, 0x01, 0x34, 0x12}, "abc", "x"},
        // A cleared two-item combo sets the input.
        {BoomLengthA, {0x23, 0x01, 0x34, 0x12}, "", "", -1, -1, {0x23, 0x81, 0x34, 0x12}, "", ""},

        {BoomLengthB, {0, 0, 0, 0}, "-1.5", "16", 2, 1, {0x01, 0x03, 0x00, 0x90}, "-1.5", "0"},
        {BoomLengthB, {0, 0, 0, 0}, "128", "15.999", -1, -1, {0, 0, 0, 0}, "128", "15.999"},
        // A bad length clears only the inputs before the combos OR theirs in; a bad angle keeps its word.
        {BoomLengthB, {0x34, 0x12, 0x12, 0xF5}, "abc", "abc", 1, 2, {0x34, 0x12, 0x12, 0x65}, "abc", "abc"},
        // Code 3 received and not selectable: the next answer carries 0.
        {BoomLengthB, {0, 0, 0, 0xF0}, "0", "x", -1, -1, {0, 0, 0, 0}, "0", "x"},

        // A whole-unit length is cut (its cell is rounded, below).
        {BoomLengthC, {0, 0, 0, 0}, "255.999", "10.7", 2, 0, {0x00, 0x00, 0x0A, 0x80}, "255.999", "10.7"},
        {BoomLengthC, {0, 0, 0, 0}, "1.5", "4096", 0, 1, {0x80, 0x01, 0x00, 0x10}, "1.5", "0"},
        // The rewritten text is the value that is cut, so it reads back the same.
        {BoomLengthC2, {0, 0, 0, 0}, "0", "-0.5", 0, 0, {0, 0, 0xFF, 0x0F}, "0", "4095.5"},
        {BoomLengthC, {0x11, 0x22, 0x12, 0xF5}, "x", "y", -1, -1, {0x11, 0x22, 0x12, 0x05}, "x", "y"},

        // The wrapped angle is held in single precision, and shown as such.
        {TravelG, {0, 0, 0, 0}, "-0.01", "3", 1, 2, {0x9F, 0x8C, 0x03, 0x60}, "359.989990234375", "3"},
        {TravelG, {0, 0, 0, 0}, "720.5", "0", 0, 0, {0x32, 0x00, 0, 0}, "0.5", "0"},
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
        {BoomLengthA, {0, 0, 0, 0}, 4, "-0.001953125", {0, 0, 0xFF, 0xFF}},   // half a step: away from zero
        {BoomLengthA, {0, 0x80, 0, 0}, 5, "", {0, 0x00, 0, 0}},
        {BoomLengthA, {1, 2, 3, 4}, 3, "abc", {1, 2, 3, 4}},

        {BoomLengthB, {0, 0, 0, 0}, 3, "-1.5", {0x01, 0x03, 0, 0}},
        {BoomLengthB, {0x01, 0, 0, 0}, 3, "-0.001", {0x00, 0x00, 0, 0}},
        {BoomLengthB, {0, 0, 0x00, 0xF0}, 4, "15", {0, 0, 0x00, 0xFF}},   // the inputs above stay
        {BoomLengthB, {0, 0, 0, 0x05}, 5, "21", {0, 0, 0, 0x65}},
        {BoomLengthB, {0, 0, 0, 0xF5}, 5, "3", {0, 0, 0, 0x05}},   // no digit of radix 3

        {BoomLengthC, {0, 0, 0, 0xF0}, 4, "10.7", {0, 0, 0x0B, 0xF0}},
        {BoomLengthC2, {0, 0, 0, 0}, 4, "4096", {0, 0, 0, 0}},
        {BoomLengthC2, {0, 0, 0, 0x30}, 5, "1 2", {0, 0, 0, 0x90}},

        {TravelG, {0, 0, 0, 0}, 3, "400", {0x40, 0x9C, 0, 0}},   // beyond the turn: not wrapped
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

TEST(AzimuthFrames, BodyShownInFrameGridAndInfoLine)
{
    const ShownRow rows[] = {
        {AzimuthA, {0xB4, 0x80, 0x85, 0, 0}, "-180", "-5", 0, -1, "0", "ANG=-180, T=-5, IN1=0"},
        {AzimuthA, {0xFF, 0x3F, 0x80, 0xAA, 0x55}, "255", "0", 0, -1, "0", "ANG=255, T=0, IN1=0"},
        {AzimuthC, {0x05, 0xE0, 0x03, 0, 0}, "-5", "3", 2, -1, "3", "ANG=-5, T=3, IN1=3"},   // code 3 shows "Масса"
        {AzimuthB, {0xFF, 0xAB}, "359.65", "-20", 2, -1, "2", "ANG=359.65, T=-20, IN1=2"},
        {AzimuthB, {0x01, 0xC0}, "0.35", "-60", -1, -1, "3", "ANG=0.35, T=-60, IN1=3"},
    };
    for (const ShownRow& r : rows)
        ExpectShown(r);
}

TEST(AzimuthFrames, FrameBuildsTheBodyAndRewritesOnlyTheWrappedAngle)
{
    const TypedRow rows[] = {
        {AzimuthA, {0, 0, 0, 0, 0}, "180", "-5", 1, -1, {0xB4, 0xC0, 0x85, 0, 0}, "-180", "-5"},
        {AzimuthA, {0, 0x80, 0, 0x12, 0x34}, "-181", "127", 0, -1, {0xB3, 0x00, 0x7F, 0x12, 0x34}, "179", "127"},
        // The bits of byte 2 below the input stay; a cleared two-item combo sets the input.
        {AzimuthA, {0, 0x3F, 0, 0, 0}, "10", "-1", -1, -1, {0x0A, 0x7F, 0x81, 0, 0}, "10", "-1"},
        // Whole degrees only: a decimal text changes nothing.
        {AzimuthA, {0x07, 0x80, 0x09, 0, 0}, "12.5", "1.5", 0, -1, {0x07, 0x80, 0x09, 0, 0}, "12.5", "1.5"},

        {AzimuthC, {0, 0, 0, 0, 0}, "-1", "-128", 2, -1, {0x01, 0xC0, 0x80, 0, 0}, "-1", "-128"},
        // Code 3 received: the combo shows "Масса" and the next answer carries code 2.
        {AzimuthC, {0x05, 0x60, 0x03, 0, 0}, "5", "3", 2, -1, {0x05, 0x40, 0x03, 0, 0}, "5", "3"},
        // No selection builds code 0 and leaves the angle's sign alone.
        {AzimuthC, {0x05, 0xE0, 0x03, 0, 0}, "abc", "abc", -1, -1, {0x05, 0x80, 0x03, 0, 0}, "abc", "abc"},

        {AzimuthB, {0, 0}, "360", "-20", 0, -1, {0x00, 0x28}, "0", "-20"},
        {AzimuthB, {0, 0}, "359.9", "-21", 2, -1, {0x00, 0xA8}, "359.9", "-21"},   // 1024 steps, cut to 10 bits
        {AzimuthB, {0, 0}, "-0.3", "2", 0, -1, {0xFF, 0x03}, "359.7", "2"},
        // The temperature also rewrites the input's bits; a bad one clears only those.
        {AzimuthB, {0x12, 0xEB}, "x", "x", -1, -1, {0x12, 0x2B}, "x", "x"},
        {AzimuthB, {0x12, 0xEB}, "x", "-23", 1, -1, {0x12, 0x67}, "x", "-23"},
    };
    for (const TypedRow& r : rows)
        ExpectTyped(r);
}

TEST(AzimuthFrames, CoarseTemperatureRoundsToItsStep)
{
    // The field is byte 2 bits 2-5 in place; the grid shows the stored step.
    const struct { const char* typed; int field; const char* shown; } rows[] = {
                {"-20", 40, "-20"}, {"-22", 40, "-20"}, {"-23", 36, "-24"}, {"1", 60, "0"},
                {"2", 0, "-60"},    {"-60", 0, "-60"},  {"-58", 4, "-56"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        ShownDevice shown(AzimuthB, {0, 0});
        shown.frame().SecondEdit->SetText(r.typed);
        shown.device.BuildAnswer();
        EXPECT_EQ(shown.device.Answer()[2] & 0x3C, r.field);
        EXPECT_EQ(shown.device.grid.Cell(4), r.shown);
    }
}

TEST(AzimuthFrames, GridCellsReachTheBodyWithoutWrapping)
{
    const CellRow rows[] = {
        {AzimuthA, {0, 0x40, 0, 0, 0}, 3, "200", {0xC8, 0x40, 0, 0, 0}},
        {AzimuthA, {0x05, 0x80, 0, 0, 0}, 3, "-0.4", {0x00, 0x00, 0, 0, 0}},
        {AzimuthA, {0, 0, 0, 0, 0}, 4, "129", {0, 0, 0x01, 0, 0}},
        {AzimuthA, {0, 0xC0, 0, 0, 0}, 5, "", {0, 0x80, 0, 0, 0}},
        {AzimuthA, {1, 2, 3, 4, 5}, 3, "x", {1, 2, 3, 4, 5}},

        {AzimuthC, {0, 0x80, 0, 0, 0}, 5, "1", {0, 0xA0, 0, 0, 0}},
        {AzimuthC, {0, 0xE0, 0, 0, 0}, 5, "2", {0, 0x80, 0, 0, 0}},   // code 2 cannot be typed

        {AzimuthB, {0, 0xFC}, 3, "359.9", {0x00, 0xFC}},
        {AzimuthB, {0, 0xFC}, 3, "400", {0x72, 0xFC}},   // 1138 steps, cut to 10 bits
        {AzimuthB, {0, 0xC3}, 4, "-21.5", {0, 0xEB}},
        {AzimuthB, {0, 0xFF}, 5, "3", {0, 0x3F}},
    };
    for (const CellRow& r : rows)
        ExpectCell(r);
}

TEST(AngleValueFrames, AbsurdTextsLeaveTheFramingBytesAndEndQuickly)
{
    // Huge, tiny and overlong numbers in every edit and cell of every row: the wraps end and
    // the line engine's bytes stay untouched.
    const char* texts[] = {"1e300", "-1e300", "1e-300", "-1e-300", "2147483648", "-2147483649", "1e4932", " 7 ", ""};
    for (int row : {BoomLengthA, BoomLengthB, BoomLengthC, TravelG, AzimuthA, AzimuthB, AzimuthC}) {
        for (const char* text : texts) {
            SCOPED_TRACE(std::to_string(row) + ": " + text);
            ShownDevice shown(row, {});
            FrameDevice& device = shown.device;
            device.Answer()[0] = 0xAA;
            device.Answer()[BodySize(row) + 1] = 0x55;
            shown.frame().ANGEdit->SetText(text);
            shown.frame().SecondEdit->SetText(text);
            device.BuildAnswer();
            device.BuildAnswer();
            for (int column : {3, 4, 5})
                device.info->GridToAnswer(text, column);
            device.ShowAnswer();
            EXPECT_EQ(device.Answer()[0], 0xAA);
            EXPECT_EQ(device.Answer()[BodySize(row) + 1], 0x55);
            for (std::size_t i = BodySize(row) + 2; i < device.Answer().size(); ++i)
                EXPECT_EQ(device.Answer()[i], 0) << "byte " << i;
        }
    }
}

// The three azimuth frames: angle, temperature and input between body, frame, grid and info
// line, with the angle wrapped into its range; and absurd texts in every angle-value frame.
#include "AngleValueSupport.h"

namespace {
constexpr int AzimuthA = 25, AzimuthB = 26, AzimuthC = 82;
}

TEST(AzimuthFrames, BodyShownInFrameGridAndInfoLine)
{
    const ShownRow rows[] = {
        {AzimuthA, {0xB4, 0x80, 0x85, 0, 0}, "-180", "-5", 0, -1, "0", "ANG=-180, T=-5, IN1=0"},
        {AzimuthA, {0x0A, 0x40, 0x19, 0, 0}, "10", "25", 1, -1, "1", "ANG=10, T=25, IN1=1"},
        {AzimuthA, {0xFF, 0x3F, 0x80, 0xAA, 0x55}, "255", "0", 0, -1, "0", "ANG=255, T=0, IN1=0"},
        {AzimuthC, {0x05, 0xE0, 0x03, 0, 0}, "-5", "3", 2, -1, "3", "ANG=-5, T=3, IN1=3"},   // code 3 shows "Масса"
        {AzimuthC, {0x05, 0x20, 0x03, 0, 0}, "5", "3", 1, -1, "1", "ANG=5, T=3, IN1=1"},
        {AzimuthB, {0xFF, 0xAB}, "359.65", "-20", 2, -1, "2", "ANG=359.65, T=-20, IN1=2"},
        {AzimuthB, {0x01, 0xC0}, "0.35", "-60", -1, -1, "3", "ANG=0.35, T=-60, IN1=3"},
        {AzimuthB, {0x00, 0x7E}, "180.00", "0", 1, -1, "1", "ANG=180.00, T=0, IN1=1"},
    };
    for (const ShownRow& r : rows)
        ExpectShown(r);
}

TEST(AzimuthFrames, FrameBuildsTheBodyAndRewritesOnlyTheWrappedAngle)
{
    const TypedRow rows[] = {
        {AzimuthA, {0, 0, 0, 0, 0}, "180", "-5", 1, -1, {0xB4, 0xC0, 0x85, 0, 0}, "-180", "-5"},
        {AzimuthA, {0, 0, 0, 0, 0}, "190", "128", 0, -1, {0xAA, 0x80, 0x00, 0, 0}, "-170", "128"},
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
        {AzimuthB, {0, 0}, "0.3", "1", 1, -1, {0x01, 0x7C}, "0.3", "1"},
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
        {AzimuthA, {0, 0x00, 0, 0, 0}, 3, "-2.5", {0x03, 0x80, 0, 0, 0}},
        {AzimuthA, {0x05, 0x80, 0, 0, 0}, 3, "-0.4", {0x00, 0x00, 0, 0, 0}},
        {AzimuthA, {0, 0, 0, 0, 0}, 4, "-5", {0, 0, 0x85, 0, 0}},
        {AzimuthA, {0, 0, 0, 0, 0}, 4, "129", {0, 0, 0x01, 0, 0}},
        {AzimuthA, {0, 0x80, 0, 0, 0}, 5, "1", {0, 0xC0, 0, 0, 0}},
        {AzimuthA, {0, 0xC0, 0, 0, 0}, 5, "", {0, 0x80, 0, 0, 0}},
        {AzimuthA, {1, 2, 3, 4, 5}, 3, "x", {1, 2, 3, 4, 5}},
        {AzimuthA, {1, 2, 3, 4, 5}, 6, "9", {1, 2, 3, 4, 5}},

        {AzimuthC, {0, 0x80, 0, 0, 0}, 5, "1", {0, 0xA0, 0, 0, 0}},
        {AzimuthC, {0, 0xE0, 0, 0, 0}, 5, "2", {0, 0x80, 0, 0, 0}},   // code 2 cannot be typed

        {AzimuthB, {0, 0xFC}, 3, "0.3", {0x01, 0xFC}},
        {AzimuthB, {0, 0xFC}, 3, "359.9", {0x00, 0xFC}},
        {AzimuthB, {0, 0xFC}, 3, "400", {0x72, 0xFC}},   // 1138 steps, cut to 10 bits
        {AzimuthB, {0, 0xC3}, 4, "-21.5", {0, 0xEB}},
        {AzimuthB, {0, 0x3F}, 5, "2", {0, 0xBF}},
        {AzimuthB, {0, 0xFF}, 5, "3", {0, 0x3F}},
        {AzimuthB, {0x12, 0x34}, 4, "x", {0x12, 0x34}},
    };
    for (const CellRow& r : rows)
        ExpectCell(r);
}

TEST(AngleValueFrames, AbsurdTextsLeaveTheFramingBytesAndEndQuickly)
{
    // Huge, tiny and overlong numbers in every edit and cell of every row: the wraps end and
    // the line engine's bytes stay untouched.
    const char* texts[] = {"1e300", "-1e300", "1e-300", "-1e-300", "2147483648", "-2147483649", "1e4932", " 7 ", ""};
    for (int row : {13, 14, 39, 52, 84, AzimuthA, AzimuthB, AzimuthC}) {
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

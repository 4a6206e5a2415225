// The angle-value frames (boom length, the seventh travel sensor, azimuth): an angle, a second
// value and one or two inputs between body, frame, grid and info line, with the wrap of typed
// values into their ranges.
#include "frames/BoomLengthA.h"
#include "FrameRig.h"

#include <string>

namespace {
constexpr int BoomLengthA = 13, BoomLengthB = 14, BoomLengthC = 39, BoomLengthC2 = 52, TravelG = 84;
constexpr int AzimuthA = 25, AzimuthB = 26, AzimuthC = 82;
const char* const Length1 = "ANGEdit;LENEdit;IN1ComboBox";
const char* const Length2 = "ANGEdit;LENEdit;IN1ComboBox;IN2ComboBox";
const char* const Azimuth = "ANGEdit;T1Edit;IN1ComboBox";

std::size_t BodySize(int row) { return static_cast<std::size_t>(DeviceCatalogue[row].AnswerLength - 2); }
}

TEST(AngleLengthFrames, BodyShownInFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {BoomLengthA, Ans, "80 81 00 01", Length1, "1.50;1.00;1", "1.50|1.00|1|-", "ANG=1.50, LEN=1.00, IN1=1"},
        // Sign in bit 0, the magnitude doubled above it; the length in 12 bits under the inputs.
        {BoomLengthB, Ans, "01 03 00 9F", Length2, "-1.50;15.00;2;1", "-1.50|15.00|12|-", "ANG=-1.50, LEN=15.00, IN2-1=12"},
        // A sign without magnitude is zero; code 3 has no item but shows as '3'.
        {BoomLengthB, Ans, "01 00 80 F0", Length2, "0.00;0.50;-1;-1", "0.00|0.50|33|-", "ANG=0.00, LEN=0.50, IN2-1=33"},
        {BoomLengthC, Ans, "80 01 FF 4F", Length2, "1.50;4095;1;0", "1.50|4095|01|-", "ANG=1.50, LEN=4095, IN2-1=01"},
        {TravelG, Ans, "9F 8C 07 B0", Length2, "359.99;7;2;-1", "359.99|7|32|-", "ANG=359.99, LEN=7, IN2-1=32"},
    });
}

TEST(AngleLengthFrames, FrameBuildsTheBodyAndRewritesWrappedEdits)
{
    CheckAll<Built>({
        // The angle drops to 15 bits and the input bit is set by the combo alone.
        {BoomLengthA, Ans, "00 00 00 00", "ANGEdit=1.5;LENEdit=-1;IN1ComboBox=0", "80 01 00 FF", "1.5;255;0"},
        // Inside the range, yet a full word of steps: the word runs over to 0.
        {BoomLengthA, Ans, "00 00 34 12", "ANGEdit=0;LENEdit=255.999;IN1ComboBox=0", "00 00 00 00", "0;255.999;0"},
        {BoomLengthA, Ans, "00 00 00 00", "ANGEdit=0;LENEdit=256;IN1ComboBox=0", "00 00 00 00", "0;0;0"},
        // A bad angle keeps its bits but not the input bit; a bad length keeps its word.
        {BoomLengthA, Ans, "23 81 34 12", "ANGEdit=abc;LENEdit=x;IN1ComboBox=0", "23 01 34 12", "abc;x;0"},
        // A cleared two-item combo sets the input.
        {BoomLengthA, Ans, "23 01 34 12", "ANGEdit=;LENEdit=;IN1ComboBox=-1", "23 81 34 12", ";;-1"},

        {BoomLengthB, Ans, "00 00 00 00", "ANGEdit=-1.5;LENEdit=16;IN1ComboBox=2;IN2ComboBox=1", "01 03 00 90", "-1.5;0;2;1"},
        {BoomLengthB, Ans, "00 00 00 00", "ANGEdit=128;LENEdit=15.999;IN1ComboBox=-1;IN2ComboBox=-1", "00 00 00 00", "128;15.999;-1;-1"},
        // A bad length clears only the inputs before the combos OR theirs in; a bad angle keeps its word.
        {BoomLengthB, Ans, "34 12 12 F5", "ANGEdit=abc;LENEdit=abc;IN1ComboBox=1;IN2ComboBox=2", "34 12 12 65", "abc;abc;1;2"},
        // Code 3 received and not selectable: the next answer carries 0.
        {BoomLengthB, Ans, "00 00 00 F0", "ANGEdit=0;LENEdit=x;IN1ComboBox=-1;IN2ComboBox=-1", "00 00 00 00", "0;x;-1;-1"},

        // A whole-unit length is cut (its cell is rounded, below).
        {BoomLengthC, Ans, "00 00 00 00", "ANGEdit=255.999;LENEdit=10.7;IN1ComboBox=2;IN2ComboBox=0", "00 00 0A 80", "255.999;10.7;2;0"},
        {BoomLengthC, Ans, "00 00 00 00", "ANGEdit=1.5;LENEdit=4096;IN1ComboBox=0;IN2ComboBox=1", "80 01 00 10", "1.5;0;0;1"},
        // The rewritten text is the value that is cut, so it reads back the same.
        {BoomLengthC2, Ans, "00 00 00 00", "ANGEdit=0;LENEdit=-0.5;IN1ComboBox=0;IN2ComboBox=0", "00 00 FF 0F", "0;4095.5;0;0"},
        {BoomLengthC, Ans, "11 22 12 F5", "ANGEdit=x;LENEdit=y;IN1ComboBox=-1;IN2ComboBox=-1", "11 22 12 05", "x;y;-1;-1"},

        // The wrapped angle is held in single precision, and shown as such.
        {TravelG, Ans, "00 00 00 00", "ANGEdit=-0.01;LENEdit=3;IN1ComboBox=1;IN2ComboBox=2", "9F 8C 03 60", "359.989990234375;3;1;2"},
        {TravelG, Ans, "00 00 00 00", "ANGEdit=720.5;LENEdit=0;IN1ComboBox=0;IN2ComboBox=0", "32 00 00 00", "0.5;0;0;0"},
        // Single precision: 0.005 lies below its half step and is cut to 0.
        {TravelG, Ans, "00 00 00 00", "ANGEdit=0.005;LENEdit=0;IN1ComboBox=0;IN2ComboBox=0", "00 00 00 00", "0.005;0;0;0"},
        {TravelG, Ans, "11 22 33 F4", "ANGEdit=-;LENEdit=-;IN1ComboBox=0;IN2ComboBox=1", "11 22 33 14", "-;-;0;1"},
    });
}

TEST(AngleLengthFrames, GridCellsReachTheBodyWithoutWrapping)
{
    CheckAll<Typed>({
        {BoomLengthA, Ans, 3, "1.5", "00 80 00 00", "80 81 00 00"},   // the input bit stays
        {BoomLengthA, Ans, 4, "-0.001953125", "00 00 00 00", "00 00 FF FF"},   // half a step: away from zero
        {BoomLengthA, Ans, 5, "", "00 80 00 00", "00 00 00 00"},
        {BoomLengthA, Ans, 3, "abc", "01 02 03 04", "01 02 03 04"},

        {BoomLengthB, Ans, 3, "-1.5", "00 00 00 00", "01 03 00 00"},
        {BoomLengthB, Ans, 3, "-0.001", "01 00 00 00", "00 00 00 00"},
        {BoomLengthB, Ans, 4, "15", "00 00 00 F0", "00 00 00 FF"},   // the inputs above stay
        {BoomLengthB, Ans, 5, "21", "00 00 00 05", "00 00 00 65"},
        {BoomLengthB, Ans, 5, "3", "00 00 00 F5", "00 00 00 05"},   // no digit of radix 3

        {BoomLengthC, Ans, 4, "10.7", "00 00 00 F0", "00 00 0B F0"},
        {BoomLengthC2, Ans, 4, "4096", "00 00 00 00", "00 00 00 00"},
        {BoomLengthC2, Ans, 5, "1 2", "00 00 00 30", "00 00 00 90"},

        {TravelG, Ans, 3, "400", "00 00 00 00", "40 9C 00 00"},   // beyond the turn: not wrapped
    });
}

TEST(AngleLengthFrames, EmulatedAnswerRewritesTheEditOnceAndStaysPut)
{
    // Before an emulated answer the builder runs without UpdatingControls: the wrapped texts
    // raise one change each, and building again from them gives the same body.
    Rig rig(TravelG);
    rig.Set("ANGEdit=-0.01;LENEdit=-1");
    const int before = rig.changes;
    rig.info->FrameToAnswer();
    const QString first = rig.Hex(Ans, ".. .. .. ..");
    rig.info->FrameToAnswer();
    EXPECT_EQ(rig.changes, before + 2);
    EXPECT_EQ(rig.Hex(Ans, ".. .. .. .."), first);
    EXPECT_EQ(rig.Read("LENEdit"), "4095");

    Rig rowless(BoomLengthA, false);   // not in the grid yet: the frame is still shown
    rowless.Answer()[3] = 0x80;
    rowless.Show(Ans);
    EXPECT_EQ(rowless.Frame<TBoomLengthAFrame>().LENEdit->Text(), "0.50");
}

TEST(AzimuthFrames, BodyShownInFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {AzimuthA, Ans, "B4 80 85 00 00", Azimuth, "-180;-5;0", "-180|-5|0|-", "ANG=-180, T=-5, IN1=0"},
        {AzimuthA, Ans, "FF 3F 80 AA 55", Azimuth, "255;0;0", "255|0|0|-", "ANG=255, T=0, IN1=0"},
        {AzimuthC, Ans, "05 E0 03 00 00", Azimuth, "-5;3;2", "-5|3|3|-", "ANG=-5, T=3, IN1=3"},   // code 3 shows "Масса"
        {AzimuthB, Ans, "FF AB", Azimuth, "359.65;-20;2", "359.65|-20|2|-", "ANG=359.65, T=-20, IN1=2"},
        {AzimuthB, Ans, "01 C0", Azimuth, "0.35;-60;-1", "0.35|-60|3|-", "ANG=0.35, T=-60, IN1=3"},
    });
}

TEST(AzimuthFrames, FrameBuildsTheBodyAndRewritesOnlyTheWrappedAngle)
{
    CheckAll<Built>({
        {AzimuthA, Ans, "00 00 00 00 00", "ANGEdit=180;T1Edit=-5;IN1ComboBox=1", "B4 C0 85 00 00", "-180;-5;1"},
        {AzimuthA, Ans, "00 80 00 12 34", "ANGEdit=-181;T1Edit=127;IN1ComboBox=0", "B3 00 7F 12 34", "179;127;0"},
        // The bits of byte 2 below the input stay; a cleared two-item combo sets the input.
        {AzimuthA, Ans, "00 3F 00 00 00", "ANGEdit=10;T1Edit=-1;IN1ComboBox=-1", "0A 7F 81 00 00", "10;-1;-1"},
        // Whole degrees only: a decimal text changes nothing.
        {AzimuthA, Ans, "07 80 09 00 00", "ANGEdit=12.5;T1Edit=1.5;IN1ComboBox=0", "07 80 09 00 00", "12.5;1.5;0"},

        {AzimuthC, Ans, "00 00 00 00 00", "ANGEdit=-1;T1Edit=-128;IN1ComboBox=2", "01 C0 80 00 00", "-1;-128;2"},
        // Code 3 received: the combo shows "Масса" and the next answer carries code 2.
        {AzimuthC, Ans, "05 60 03 00 00", "ANGEdit=5;T1Edit=3;IN1ComboBox=2", "05 40 03 00 00", "5;3;2"},
        // No selection builds code 0 and leaves the angle's sign alone.
        {AzimuthC, Ans, "05 E0 03 00 00", "ANGEdit=abc;T1Edit=abc;IN1ComboBox=-1", "05 80 03 00 00", "abc;abc;-1"},

        {AzimuthB, Ans, "00 00", "ANGEdit=360;T1Edit=-20;IN1ComboBox=0", "00 28", "0;-20;0"},
        {AzimuthB, Ans, "00 00", "ANGEdit=359.9;T1Edit=-21;IN1ComboBox=2", "00 A8", "359.9;-21;2"},   // 1024 steps, cut to 10 bits
        {AzimuthB, Ans, "00 00", "ANGEdit=-0.3;T1Edit=2;IN1ComboBox=0", "FF 03", "359.7;2;0"},
        // The temperature also rewrites the input's bits; a bad one clears only those.
        {AzimuthB, Ans, "12 EB", "ANGEdit=x;T1Edit=x;IN1ComboBox=-1", "12 2B", "x;x;-1"},
        {AzimuthB, Ans, "12 EB", "ANGEdit=x;T1Edit=-23;IN1ComboBox=1", "12 67", "x;-23;1"},
    });
}

TEST(AzimuthFrames, CoarseTemperatureRoundsToItsStep)
{
    // The field is byte 2 bits 2-5 in place; the grid shows the stored step.
    const struct { const char* set; int field; const char* shown; } rows[] = {
        {"T1Edit=-20", 40, "-20"}, {"T1Edit=-22", 40, "-20"}, {"T1Edit=-23", 36, "-24"}, {"T1Edit=1", 60, "0"},
        {"T1Edit=2", 0, "-60"},    {"T1Edit=-60", 0, "-60"},  {"T1Edit=-58", 4, "-56"}};
    for (const auto& r : rows) {
        Rig rig(AzimuthB);
        rig.Set(r.set), rig.Build(Ans);
        EXPECT_EQ(rig.Answer()[2] & 0x3C, r.field) << r.set;
        EXPECT_EQ(rig.grid.Cell(4), r.shown) << r.set;
    }
}

TEST(AzimuthFrames, GridCellsReachTheBodyWithoutWrapping)
{
    CheckAll<Typed>({
        {AzimuthA, Ans, 3, "200", "00 40 00 00 00", "C8 40 00 00 00"},
        {AzimuthA, Ans, 3, "-0.4", "05 80 00 00 00", "00 00 00 00 00"},
        {AzimuthA, Ans, 4, "129", "00 00 00 00 00", "00 00 01 00 00"},
        {AzimuthA, Ans, 5, "", "00 C0 00 00 00", "00 80 00 00 00"},
        {AzimuthA, Ans, 3, "x", "01 02 03 04 05", "01 02 03 04 05"},

        {AzimuthC, Ans, 5, "1", "00 80 00 00 00", "00 A0 00 00 00"},
        {AzimuthC, Ans, 5, "2", "00 E0 00 00 00", "00 80 00 00 00"},   // code 2 cannot be typed

        {AzimuthB, Ans, 3, "400", "00 FC", "72 FC"},   // 1138 steps, cut to 10 bits
        {AzimuthB, Ans, 4, "-21.5", "00 C3", "00 EB"},
        {AzimuthB, Ans, 5, "3", "00 FF", "00 3F"},
    });
}

TEST(AngleValueFrames, AbsurdTextsLeaveTheFramingBytesAndEndQuickly)
{
    // Huge, tiny and overlong numbers in every edit and cell of every row: the wraps end and
    // the line engine's bytes stay untouched.
    const char* texts[] = {"1e300", "-1e300", "1e-300", "-1e-300", "2147483648", "-2147483649", "1e4932", " 7 ", ""};
    for (int row : {BoomLengthA, BoomLengthB, BoomLengthC, TravelG, AzimuthA, AzimuthB, AzimuthC}) {
        for (const char* text : texts) {
            SCOPED_TRACE(std::to_string(row) + ": " + text);
            Rig device(row);
            device.Show(Ans);
            device.Answer()[0] = 0xAA;
            device.Answer()[BodySize(row) + 1] = 0x55;
            device.Frame<TAngleValueFrame>().ANGEdit->SetText(text);
            device.Frame<TAngleValueFrame>().SecondEdit->SetText(text);
            device.Build(Ans);
            device.Build(Ans);
            for (int column : {3, 4, 5})
                device.info->GridToAnswer(text, column);
            device.Show(Ans);
            EXPECT_EQ(device.Answer()[0], 0xAA);
            EXPECT_EQ(device.Answer()[BodySize(row) + 1], 0x55);
            for (std::size_t i = BodySize(row) + 2; i < device.Answer().size(); ++i)
                EXPECT_EQ(device.Answer()[i], 0) << "byte " << i;
        }
    }
}

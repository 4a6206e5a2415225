// The single-value sensor frames on their catalogue rows, one or more rows per model's rules: the
// answer word moved between body, frame, grid and info line through the device's slots. The bytes
// around the word (the XOR byte 5A) are the line engine's.
#include "frames/SingleValue.h"
#include "FrameRig.h"

namespace {
constexpr int TiltA = 27, TiltB = 28, PressureA = 7, PressureB = 33, WindSpeed = 24, TensionB = 22, TensionC = 46;
constexpr int LineProximityA = 15, LineProximityC = 43;
}

TEST(SingleValueFrames, WordShownInFrameGridAndInfoLine)
{
    // The edit and column 3, the combos (lowest-numbered input first) and column 5.
    CheckAll<Shown>({
        {TiltB, Ans, "00 81", "ANGEdit;IN1ComboBox", "1.00;1", "1.00|-|1|-", "ANG=1.00, IN1=1"},   // item 1 is "+24 В" here
        {TiltA, Ans, "00 81", "ANGEdit;IN1ComboBox", "1.00;1", "1.00|-|1|-", "ANG=1.00, IN1=1"},
        {TiltA, Ans, "20 00", "ANGEdit;IN1ComboBox", "0.13;0", "0.13|-|0|-", "ANG=0.12, IN1=0"},   // 0.125: the two roundings
        {TiltA, Ans, "00 FF", "ANGEdit", "127.00", "127.00|-|1|-", "ANG=127.00, IN1=1"},
        {PressureA, Ans, "80 00", "PEdit", "3.13", "3.13|-|-|-", "P=3.12"},   // exactly 3.125
        {PressureA, Ans, "00 28", "PEdit", "250.00", "250.00|-|-|-", "P=250.00"},
        {PressureB, Ans, "00 E8", "PEdit;IN1ComboBox", "250.00;-1", "250.00|-|3|-", "P=250.00, IN1=3"},
        {WindSpeed, Ans, "7B 80", "VEdit;IN1ComboBox", "12.30;2", "12.30|-|2|-", "V=12.30, IN1=2"},
        {TensionB, Ans, "0A 40", "FEdit;IN1ComboBox", "10;1", "10|-|1|-", "F=10, IN1=1"},
        {LineProximityA, Ans, "FF 3F", "EEdit;IN2ComboBox;IN3ComboBox", "1023;0;-1", "1023|-|30|-", "E=1023, IN3-2=30"},
        {LineProximityA, Ans, "05 60", "EEdit;IN2ComboBox;IN3ComboBox", "5;1;2", "5|-|21|-", "E=5, IN3-2=21"},
    });
    Rig prox(LineProximityA);
    prox.SetHex(Ans, "00 60");
    prox.Show(Ans);
    EXPECT_EQ(prox.Frame<TLineProximityAFrame>().IN3ComboBox->Text(), "Масса");
}

TEST(SingleValueFrames, FrameBuildsTheWord)
{
    CheckAll<Built>({
        {TiltA, Ans, "00 81 5A", "ANGEdit=12.34;IN1ComboBox=0", "57 0C 5A"},
        // Before the first display: an empty edit keeps the value bits, a two-item combo without
        // selection sets its bit, a three-item one adds nothing.
        {TiltA, Ans, "34 12 5A", "", "34 92 5A"},
        {PressureB, Ans, "00 E8 5A", "", "00 28 5A"},
        {PressureA, Ans, "00 28 5A", "PEdit=1600", "00 00 5A"},                 // 65536 cut to 16 bits
        {TensionB, Ans, "0A 40 5A", "FEdit=abc;IN1ComboBox=2", "0A 80 5A"},     // value kept, input rebuilt
        {TensionB, Ans, "00 00 5A", "FEdit=-1;IN1ComboBox=2", "FF BF 5A"},      // two's complement cut to 14 bits
        {TensionC, Ans, "FF FF 5A", "FEdit=10", "0A 00 5A"},                     // unused bits cleared
        {LineProximityA, Ans, "05 60 5A", "EEdit=6;IN2ComboBox=2;IN3ComboBox=1", "06 90 5A"},
        {LineProximityA, Ans, "FF FF 5A", "EEdit=5;IN2ComboBox=1;IN3ComboBox=2", "05 60 5A"},
    });
    Rig rig(TiltA);
    rig.Set("ANGEdit=1");
    EXPECT_GT(rig.changes, 0) << "the edit is bound to the change handler";
}

TEST(SingleValueFrames, GridCellChangesOnlyItsColumn)
{
    CheckAll<Typed>({
        {TiltA, Ans, 3, "-1", "00 80 5A", "00 FF 5A"},     // raw -256 in 15 bits, bit 15 stays
        {TiltA, Ans, 5, "", "FF FF 5A", "FF 7F 5A"},       // an empty digit column clears the input
        {TiltA, Ans, 4, "9", "00 7F 5A", "00 7F 5A"},      // an unused column changes nothing
        {TensionC, Ans, 3, "-12.5", "00 C0 5A", "F3 FF 5A"},   // -13 cut to 14 bits
        {LineProximityA, Ans, 5, "21", "00 00 5A", "00 60 5A"},
        {LineProximityA, Ans, 5, "1", "05 F0 5A", "05 40 5A"},     // IN3 cleared, IN2 from the digit
        {LineProximityA, Ans, 5, "21x", "05 F0 5A", "05 00 5A"},   // no digit found: both cleared
        {LineProximityC, Ans, 5, "2", "00 3C 5A", "00 BC 5A"},     // unused bits 10-13 stay
    });
}

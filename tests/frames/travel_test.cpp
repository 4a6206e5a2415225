// The four travel sensor frames of their own (first, second, fourth and fifth): the count L and
// its input moved between body, frame, grid and info line through the device's slots.
#include "FrameRig.h"

namespace {
constexpr int A = 32, B = 35, D = 68, E = 72;   // a catalogue row of each

struct Device : FrameDevice {
    explicit Device(int row, bool twelveBit = false) : FrameDevice(row)
    {
        if (auto* box = info->Frame->findChild<TCheckBox*>("checkBox12Bit"))
            box->SetChecked(twelveBit);
    }
};
}

TEST(TravelFrames, AnswerBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {A, Ans, "05 00 C1", "LEdit;T1Edit;IN1ComboBox", "-5;24;1", "-5|24|1|-", "L=-5, T=24, IN1=1"},
        {A, Ans, "FF FF 7F", "LEdit;T1Edit;IN1ComboBox", "65535;84;-1", "65535|84|3|-", "L=65535, T=84, IN1=3"},
        {B, Ans, "00 00 06", "LEdit;IN1ComboBox", "65536;2", "65536|-|2|-", "L=65536, IN1=2"},
        {D, Ans, "88 43", "LEdit;IN1ComboBox", "904;1", "904|-|1|-", "L=904 IN=1"},
        {E, Ans, "FF FF", "LEdit;IN1ComboBox", "32767;1", "32767|-|1|-", "L=32767 IN=1"},
    });
    const char* before = "EE EE EE";
    CheckAll<Built>({
        {A, Ans, before, "LEdit=-5;T1Edit=25;IN1ComboBox=2", "05 00 C2"},   // sign and magnitude; 25 °C is stored as 64
        {A, Ans, before, "LEdit=2.5;T1Edit=-41;IN1ComboBox=0", "03 00 00"},   // rounded half away; -41 °C as 0
        {A, Ans, before, "LEdit=-2.5;T1Edit=-43;IN1ComboBox=1", "03 00 FD"},   // -43 + 42 = -1, AND 0x7C
        {A, Ans, before, "LEdit=x;T1Edit=0;IN1ComboBox=1", "EE EE A9"},   // L kept with its sign
        // Nothing fits 64 bits: L kept; an empty T only clears bits 0-1.
        {A, Ans, before, "LEdit=1e30;T1Edit=;IN1ComboBox=2", "EE EE EE"},
        {B, Ans, before, "LEdit=4194304;IN1ComboBox=-1", "00 00 00"},   // wraps to 0
        {B, Ans, before, "LEdit=2.5;IN1ComboBox=0", "EE EE EC"},        // an integer edit refuses 2.5
        {69, Ans, before, "checkBox12Bit=1;LEdit=5000;IN1ComboBox=0", "88 03"},   // 5000 AND 0x0FFF = 904
        {69, Ans, before, "checkBox12Bit=0;LEdit=16384;IN1ComboBox=2", "00 80"},   // 14 bits of the count
        {69, Ans, before, "checkBox12Bit=0;LEdit=100;IN1ComboBox=-1", "64 C0"},    // no selection sends "Метка"
        {75, Ans, before, "LEdit=x;IN1ComboBox=1", "EE EE"},   // the mark does not get through either
    });
    // The temperature comes back in the field's steps, wrapping round beyond it.
    CheckAll<Stepped>({{A, "LEdit=0;T1Edit=26", "T1Edit", "28"}, {A, "LEdit=0;T1Edit=-43", "T1Edit", "84"},
                       {A, "LEdit=0;T1Edit=86", "T1Edit", "-40"}});
}

TEST(TravelFrames, GridCellsReachTheBody)
{
    struct Case { int row; Body before; int column; const char* text; Body after; bool twelveBit = false; };
    const Case cases[] = {
        // The first: L sign and magnitude, T cut toward zero, one input digit.
        {A, {0x11, 0x22, 0xEE}, 3, "7.5", {8, 0, 0x6E}},
        {A, {0x11, 0x22, 0x6E}, 4, "25.9", {0x11, 0x22, 0x02 | 64}},   // trunc(67.9) = 67 -> 64
        {A, {0x11, 0x22, 0x6F}, 5, "3", {0x11, 0x22, 0x6C}},           // no radix-3 digit
        // The second: the 22-bit count keeps the input bits.
        {B, {0x11, 0x22, 0x33}, 3, "65535.5", {0, 0, 0x07}},
        // The fourth: count under the state, state as a plain number.
        {D, {0x11, 0xA2}, 3, "5000", {0x88, 0x83}, true},
        {D, {0x11, 0xA2}, 5, "5", {0x11, 0x62}},                       // the low two bits
        {D, {0x11, 0xA2}, 5, "2.0", {0x11, 0xA2}},                     // not an integer
        // The fifth: count under the mark.
        {E, {0x11, 0xA2}, 3, "40000", {0x40, 0x9C}},
        {E, {0x11, 0xA2}, 5, "2", {0x11, 0x22}},
    };
    for (const Case& c : cases) {
        Device device(c.row, c.twelveBit);
        EXPECT_EQ(AfterCell(device, c.before, c.column, c.text), c.after) << c.row << " column " << c.column << " " << c.text;
    }
}

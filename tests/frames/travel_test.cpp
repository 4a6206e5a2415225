// The four travel sensor frames of their own (first, second, fourth and fifth): the count L and
// its input moved between body, frame, grid and info line through the device's slots.
#include "FrameRig.h"

namespace {
constexpr int A = 32, B = 35, D = 68, E = 72;   // a catalogue row of each
const char* const Count14 = "checkBox12Bit=0";
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
    CheckAll<Typed>({
        // The first: L sign and magnitude, T cut toward zero, one input digit.
        {A, Ans, 3, "7.5", "11 22 EE", "08 00 6E"},
        {A, Ans, 4, "25.9", "11 22 6E", "11 22 42"},   // trunc(67.9) = 67 -> 64
        {A, Ans, 5, "3", "11 22 6F", "11 22 6C"},      // no radix-3 digit
        // The second: the 22-bit count keeps the input bits.
        {B, Ans, 3, "65535.5", "11 22 33", "00 00 07"},
        // The fourth: count under the state, state as a plain number.
        {D, Ans, 3, "5000", "11 A2", "88 83", "checkBox12Bit=1"},
        {D, Ans, 5, "5", "11 A2", "11 62", Count14},   // the low two bits
        {D, Ans, 5, "2.0", "11 A2", "11 A2", Count14},   // not an integer
        // The fifth: count under the mark.
        {E, Ans, 3, "40000", "11 A2", "40 9C"},
        {E, Ans, 5, "2", "11 A2", "11 22"},
    });
}

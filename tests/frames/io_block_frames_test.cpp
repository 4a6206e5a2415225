// The input/output blocks between body, frame, grid and info line: "IoBlock-1"/"IoBlock-3" (rows
// 5, 65), "IoBlock-2" at its output and input addresses (41, 42), the input and load blocks (6,
// 51) and the switched power-line proximity sensor (16).
#include "FrameRig.h"

namespace {
const char* const BNames =
    "T1Edit;T2Edit;P1Edit;P2Edit;OUT1ComboBox;OUT2ComboBox;OUT3ComboBox;OUT4ComboBox;OUT5ComboBox;OUT6ComboBox";
const char* const CNames = "OUT1ComboBox;OUT2ComboBox;OUT3ComboBox;OUT4ComboBox;OUT5ComboBox";
const char* const ProximityNames = "EEdit;ANGEdit;IN1ComboBox;IN2ComboBox;IN3ComboBox";
const char* const DNames = "FEdit;FLEdit;IN1ComboBox;IN2ComboBox;IN3ComboBox;IN4ComboBox;IN5ComboBox;IN6ComboBox";
}

TEST(IoBlockBFrame, BetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {5, Req, "A5", "OUT1CheckBox;OUT2CheckBox;OUT8CheckBox", "1;0;1", "1010 0101", "OUT8-1=1010 0101"},
        {5, Ans, "19 C8 FF 05 D1 65", BNames, "25;200;12.70;0.50;4;-1;1;2;1;6", "25|200|-|71 2145",
         "T1=25, T2=200, P1=12.70, P2=0.50, OUT6-1=71 2145"},
        // Bit 7 of the pressure bytes is bit 2 of OUT6 and OUT5, not pressure.
        {65, Ans, "FF 00 80 80 00 C0", BNames, "255;0;0.00;0.00;0;0;0;0;6;-1", "255|0|-|47 0000",
         "T1=255, T2=0, P1=0.00, P2=0.00, OUT6-1=47 0000"},
    });
    CheckAll<Built>({
        {5, Req, "00", "OUT1CheckBox=1;OUT8CheckBox=1", "81"},
        // "Вкл., превышен ток" is code 5, no selection code 0; OUT6 code 7 lifts bit 7 of P1's byte.
        {5, Ans, "EE EE EE EE EE EE 00",
         "T1Edit=25;T2Edit=200;P1Edit=12.7;P2Edit=0.5;OUT1ComboBox=4;OUT3ComboBox=1;OUT4ComboBox=2;OUT5ComboBox=1;"
         "OUT6ComboBox=6",
         "19 C8 FF 05 D1 45 00"},
        // Cut to the fields; an unconverted P2 keeps its bits and still carries OUT5's bit 2.
        {5, Ans, "11 11 11 11 11 11", "T1Edit=300;T2Edit=-1;P1Edit=12.8;P2Edit=x;OUT5ComboBox=6", "2C FF 00 91 00 C0"},
        // Unconverted temperatures keep their bytes; -1.26 rounds toward zero after the half.
        {65, Ans, "11 11 11 11 11 11", "T2Edit=abc;P1Edit=-1.26;P2Edit=0.04", "11 11 74 00 00 00"},
    });
    CheckAll<Stepped>({{5, "P2Edit=12.7", "P2Edit", "12.70"}});
    const char* before = "11 22 B3 C4 55 66";
    CheckAll<Typed>({
        {5, Req, 2, "11", "F0", "03"},
        {65, Ans, 3, "7.5", before, "08 22 B3 C4 55 66"},   // half away from zero
        {65, Ans, 6, "71 2145", before, "11 22 B3 44 D1 65"},   // the pressures keep their bits 0-6
        {65, Ans, 6, "98 0001", before, "11 22 33 44 00 01"},   // '8' is no octal digit: code 0 to its left
        {65, Ans, 6, "4", before, "11 22 33 44 00 04"},         // a digit 4 is the raw code 4
    });
}

TEST(IoBlockCFrame, NineOutputsPwmAndFiveOutputStates)
{
    const char* boxes = "OUT1CheckBox;OUT2CheckBox;OUT8CheckBox;OUT9CheckBox;PWMEdit";
    CheckAll<Shown>({
        {41, Req, "81 F9", boxes, "1;1;0;1;31", "0000 0011", "PWM=31, OUT9-1=1 0000 0011"},
        {41, Req, "7F 06", boxes, "0;1;1;0;0", "1111 1110", "PWM=0, OUT9-1=0 1111 1110"},   // unused bits
        {41, Ans, "B7 D5", CNames, "4;2;6;4;4", "-|-|-|5 5725", "OUT5-1=5 5725"},
        {41, Ans, "10 00", CNames, "0;0;0;-1;0", "-|-|-|0 4000", "OUT5-1=0 4000"},   // code 4 has no item
    });
    CheckAll<Built>({
        {41, Req, "EE AE", "OUT1CheckBox=1;PWMEdit=31", "00 F9"},
        {41, Req, "EE AE", "OUT9CheckBox=1;PWMEdit=32", "80 00"},   // PWM 32 is 0
        {41, Req, "EE AE", "OUT1CheckBox=1;OUT2CheckBox=1;PWMEdit=x", "01 A9"},   // PWM kept, bits 1-2 cleared
        {41, Ans, "FF FF", "OUT1ComboBox=4;OUT2ComboBox=2;OUT3ComboBox=6;OUT4ComboBox=4;OUT5ComboBox=4", "B7 55"},
    });
    CheckAll<Typed>({
        // The cell holds OUT8..OUT1: OUT9 and the PWM bits stay as they are.
        {41, Req, 2, "1111 1111", "80 AE", "FF AF"},
        {41, Ans, 6, "5 5725", "FF FF", "B7 D5"},
        {41, Ans, 6, "", "FF FF", "00 80"},   // byte 2 bit 7 belongs to no output
    });
}

TEST(IoBlockDFrame, FrequencyFuelLevelAndSixInputs)
{
    CheckAll<Shown>({
        {42, Req, "FE", "OUT1CheckBox;OUT2CheckBox", "0;1", "10", "OUT2-1=10"},
        {42, Ans, "24 1F FF E4", DNames, "4095;100;0;1;2;0;1;1", "4095|100|22 0210|-", "F=4095, FL=100, IN6-1=22 0210"},
        // Code 3 shows no item; bits 5-7 of byte 2 belong to nothing.
        {42, Ans, "FF E0 00 7F", DNames, "0;127;-1;-1;-1;-1;0;0", "0|127|00 3333|-", "F=0, FL=127, IN6-1=00 3333"},
    });
    const char* before = "AA EB 77 C5";
    CheckAll<Built>({
        {42, Ans, before,
         "FEdit=4095;FLEdit=100;IN1ComboBox=0;IN2ComboBox=2;IN3ComboBox=1;IN4ComboBox=0;IN5ComboBox=1;IN6ComboBox=1",
         "18 1F FF E4"},
        {42, Ans, before, "FEdit=4096;FLEdit=128", "00 10 00 80"},   // cut; a one-bit input without a selection is set
        // Unconverted: F keeps byte 2 bits 0-3 and byte 3, FL its bits 0-6.
        {42, Ans, before, "FEdit=x;FLEdit=y;IN5ComboBox=0;IN6ComboBox=0", "00 0B 77 45"},
        {42, Ans, before,
         "FEdit=-1;FLEdit=5;IN1ComboBox=2;IN2ComboBox=2;IN3ComboBox=2;IN4ComboBox=2;IN5ComboBox=0;IN6ComboBox=1",
         "AA 1F FF 05"},
    });
    CheckAll<Typed>({
        {42, Ans, 3, "4095", before, "AA EF FF C5"},   // bits 4-7 of byte 2 stay
        {42, Ans, 4, "100", before, "AA EB 77 E4"},    // IN5 stays
        {42, Ans, 5, "21 0120", before, "18 FB 77 C5"},
        {42, Ans, 5, "13 2", before, "02 EB 77 45"},   // '3' ends the digits
    });
}

TEST(LineProximityBFrame, BetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {16, Req, "5A", "OUT1CheckBox;OUT2CheckBox;OUT3CheckBox;OUT4CheckBox", "0;1;0;1", "1010", "OUT4-1=1010"},
        {16, Ans, "FF 6F 00 2D", ProximityNames, "4095;45.00;0;1;2", "4095|45.00|210|-", "E=4095, ANG=45.00, IN3-1=210"},
        // Code 3 of IN2 and IN3 shows empty combos and the digits 3.
        {16, Ans, "00 F0 FD FF", ProximityNames, "0;127.99;1;-1;-1", "0|127.99|332|-", "E=0, ANG=127.99, IN3-1=332"},
    });
    const char* before = "AB CD 12 34";
    CheckAll<Built>({
        {16, Req, "F0", "OUT1CheckBox=1;OUT4CheckBox=1", "09"},   // bits 4-7 are 0 when built from the frame
        {16, Ans, before, "EEdit=4095;ANGEdit=45;IN1ComboBox=0;IN2ComboBox=1;IN3ComboBox=2", "FF 6F 00 2D"},
        {16, Ans, before, "EEdit=4096;ANGEdit=128", "00 00 00 80"},   // cut to 0; no IN1 item sets IN1
        // Unconverted: E keeps byte 1 and byte 2 bits 0-3, ANG its word; the inputs are rebuilt.
        {16, Ans, before, "EEdit=x;ANGEdit=y;IN1ComboBox=1;IN2ComboBox=2;IN3ComboBox=0", "AB 8D 12 B4"},
    });
    CheckAll<Stepped>({{16, "ANGEdit=127.99", "ANGEdit", "127.99"}, {16, "ANGEdit=128", "ANGEdit", "0.00"}});
    before = "AB CD 12 B4";
    CheckAll<Typed>({
        {16, Req, 2, "0101", "F0", "F5"},   // a grid edit keeps bits 4-7
        {16, Ans, 3, "4095", before, "FF CF 12 B4"},   // IN2 and IN3 stay
        {16, Ans, 4, "0.5", before, "AB CD 80 80"},    // IN1 stays
        {16, Ans, 5, "210", before, "AB 6D 12 34"},
        {16, Ans, 5, "31", before, "AB 0D 12 B4"},     // '3' ends the digits
    });
}

TEST(IoBlockEFrame, BitMapsBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Built>({
        {6, Req, "5A 5A 77", "OUT1CheckBox=1;OUT16CheckBox=1", "01 80 77"},   // the XOR byte is the line engine's
        {6, Ans, "5A 5A 5A 5A", "IN17CheckBox=1;OUT9CheckBox_=1", "00 00 41 00"},
        {6, Ans, "5A 5A 5A 5A", "IN1CheckBox=1;IN8CheckBox=1;IN9CheckBox=1;OUT2CheckBox_=1;OUT7CheckBox_=1",
         "81 01 00 42"},
    });
    CheckAll<Shown>({
        // OUT9-OUT16 have no column.
        {6, Req, "C3 A5", "OUT1CheckBox;OUT3CheckBox;OUT9CheckBox;OUT16CheckBox", "1;0;1;1", "1100 0011",
         "OUT16-1=1010 0101 1100 0011"},
        {6, Ans, "81 01 41 42",
         "IN1CheckBox;IN9CheckBox;IN17CheckBox;IN18CheckBox;OUT2CheckBox_;OUT9CheckBox_;OUT14CheckBox_",
         "1;1;1;0;1;1;0", "-|-|1000 0001|0100 0010", "IN18-1=01 0000 0001 1000 0001, OUT14-1=00 0001 0100 0010"},
        {6, Ans, "FF FF FF FF", "IN16CheckBox;OUT8CheckBox_", "1;1", "-|-|1111 1111|1111 1111",
         "IN18-1=11 1111 1111 1111 1111, OUT14-1=11 1111 1111 1111"},
    });
    const char* before = "5A 5A 5A 5A";
    CheckAll<Typed>({
        {6, Req, 2, "101", before, "05 5A 5A 5A"},           // OUT1, OUT3; OUT9-OUT16 kept
        {6, Req, 2, "1 1111 1111", before, "FF 5A 5A 5A"},   // a ninth digit has no field
        {6, Ans, 5, "1000 0000", before, "80 5A 5A 5A"},
        {6, Ans, 6, "11", before, "5A 5A 5A 03"},            // OUT9-OUT14 in byte 3 kept
    });
}

TEST(IoBlockFFrame, BitMapsBetweenBodyFrameGridAndInfoLine)
{
    const char* inputs = "IN1CheckBox;IN2CheckBox;IN3CheckBox;INcCheckBox";
    CheckAll<Built>({
        {51, Req, "FF FF", "OUT1CheckBox=1;OUT13CheckBox=1", "01 10"},   // the unused bits 5-7 go out as 0
        {51, Ans, "FF 5A", "IN1CheckBox=1;INcCheckBox=1", "81 5A"},      // the unused bits 3-6 as well
    });
    CheckAll<Shown>({
        {51, Req, "5C EA", "OUT3CheckBox;OUT12CheckBox;OUT13CheckBox", "1;1;0", "0101 1100", "OUT13-1=0 1010 0101 1100"},
        {51, Ans, "87", inputs, "1;1;1;1", "-|-|1 111|-", "INc=1, IN3-1=111"},
        {51, Ans, "05", inputs, "1;0;1;0", "-|-|0 101|-", "INc=0, IN3-1=101"},
    });
    CheckAll<Typed>({
        {51, Req, 2, "101", "5A 5A", "05 5A"},   // byte 2 kept
        {51, Ans, 5, "1 000", "5A", "D8"},       // INc set, IN1-IN3 cleared, bits 3-6 kept
        {51, Ans, 5, "", "5A", "58"},
    });
}

TEST(BlockFrames, CellsWrittenOnceAndControlsWaitForData)
{
    const struct { int row; const char* answer; bool waits; } rows[] = {
        {0, "01 02 03 04 05 06 07", true}, {2, "01 02 03 04 05 06 07", true}, {3, "12 34 56 78", true},
        {38, "12 34 56 78", true},         {5, "01 02 03 04 05 06", true},    {41, "01 02", true},
        {42, "01 02 03 04", true},          {16, "01 02 03 04", true},         {30, "95", false},
        {58, "E4", false},                  {6, "12 00 FF", false},            {51, "87", false},
    };
    for (const auto& r : rows)
        ExpectQuietAndWaiting(r.row, r.answer, r.waits);
}

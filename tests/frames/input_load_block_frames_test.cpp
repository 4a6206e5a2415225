// The two input and load blocks: sixteen outputs and eighteen inputs (row 6), thirteen outputs
// and four inputs (row 51), between body, check boxes, grid and info line.
#include "IoFrames.h"

namespace {
constexpr int E = 6, F = 51;
}

TEST(IoBlockEFrame, BitMapsBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Built>({
        {E, Req, "5A 5A 77", "OUT1CheckBox=1;OUT16CheckBox=1", "01 80 77"},   // the XOR byte is the line engine's
        {E, Ans, "5A 5A 5A 5A", "IN17CheckBox=1;OUT9CheckBox_=1", "00 00 41 00"},
        {E, Ans, "5A 5A 5A 5A", "IN1CheckBox=1;IN8CheckBox=1;IN9CheckBox=1;OUT2CheckBox_=1;OUT7CheckBox_=1",
         "81 01 00 42"},
    });
    CheckAll<Shown>({
        // OUT9-OUT16 have no column.
        {E, Req, "C3 A5", "OUT1CheckBox;OUT3CheckBox;OUT9CheckBox;OUT16CheckBox", "1;0;1;1", "1100 0011",
         "OUT16-1=1010 0101 1100 0011"},
        {E, Ans, "81 01 41 42",
         "IN1CheckBox;IN9CheckBox;IN17CheckBox;IN18CheckBox;OUT2CheckBox_;OUT9CheckBox_;OUT14CheckBox_",
         "1;1;1;0;1;1;0", "-|-|1000 0001|0100 0010", "IN18-1=01 0000 0001 1000 0001, OUT14-1=00 0001 0100 0010"},
        {E, Ans, "FF FF FF FF", "IN16CheckBox;OUT8CheckBox_", "1;1", "-|-|1111 1111|1111 1111",
         "IN18-1=11 1111 1111 1111 1111, OUT14-1=11 1111 1111 1111"},
    });
    const char* before = "5A 5A 5A 5A";
    CheckAll<Typed>({
        {E, Req, 2, "101", before, "05 5A 5A 5A"},           // OUT1, OUT3; OUT9-OUT16 kept
        {E, Req, 2, "1 1111 1111", before, "FF 5A 5A 5A"},   // a ninth digit has no field
        {E, Req, 5, "1", before, before},                    // the request has column 2 only
        {E, Ans, 5, "1000 0000", before, "80 5A 5A 5A"},
        {E, Ans, 6, "11", before, "5A 5A 5A 03"},            // OUT9-OUT14 in byte 3 kept
    });
}

TEST(IoBlockFFrame, BitMapsBetweenBodyFrameGridAndInfoLine)
{
    const char* inputs = "IN1CheckBox;IN2CheckBox;IN3CheckBox;INcCheckBox";
    CheckAll<Built>({
        {F, Req, "FF FF", "OUT1CheckBox=1;OUT13CheckBox=1", "01 10"},   // the unused bits 5-7 go out as 0
        {F, Ans, "FF 5A", "IN1CheckBox=1;INcCheckBox=1", "81 5A"},      // the unused bits 3-6 as well
    });
    CheckAll<Shown>({
        {F, Req, "5C EA", "OUT3CheckBox;OUT12CheckBox;OUT13CheckBox", "1;1;0", "0101 1100", "OUT13-1=0 1010 0101 1100"},
        {F, Ans, "87", inputs, "1;1;1;1", "-|-|1 111|-", "INc=1, IN3-1=111"},
        {F, Ans, "78", inputs, "0;0;0;0", "-|-|0 000|-", "INc=0, IN3-1=000"},
        {F, Ans, "05", inputs, "1;0;1;0", "-|-|0 101|-", "INc=0, IN3-1=101"},
    });
    CheckAll<Typed>({
        {F, Req, 2, "101", "5A 5A", "05 5A"},   // byte 2 kept
        {F, Ans, 5, "1 000", "5A", "D8"},       // INc set, IN1-IN3 cleared, bits 3-6 kept
        {F, Ans, 5, "1111", "5A", "DF"},
        {F, Ans, 5, "", "5A", "58"},
    });
}

TEST(InputLoadBlockFrames, CellsAreWrittenOnlyWhenTheyDiffer)
{
    ExpectQuietAndWaiting(E, "12 00 FF", false);
    ExpectQuietAndWaiting(F, "87", false);
}

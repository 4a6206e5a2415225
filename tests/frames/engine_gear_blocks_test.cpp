// The engine block (row 0) and the transmission block (row 2): their shared request byte of two
// outputs, and each answer between body, frame, grid and info line.
#include "FrameRig.h"

namespace {
const char* const EngineNames =
    "T1Edit;T3Edit;T5Edit;V1Edit;P1Edit;UPEdit;UGCheckBox;BP7CheckBox;BP6CheckBox;BP5CheckBox;BP2CheckBox;OUT1ComboBox";
const char* const GearNames = "T8Edit;P16Edit;P10Edit;P11Edit;P14Edit;P15Edit;OUT1ComboBox;OUT2ComboBox";
}

TEST(BlockFrames, RequestByteOfTwoOutputs)
{
    CheckAll<Shown>({
        {0, Req, "FC", "OUT1CheckBox;OUT2CheckBox", "0;0", "00", "OUT2-1=00"},   // bits 2-7 belong to no output
        {2, Req, "FF", "OUT1CheckBox;OUT2CheckBox", "1;1", "11", "OUT2-1=11"},
    });
    CheckAll<Built>(
        {{0, Req, "FF", "", "00"}, {0, Req, "FC", "OUT1CheckBox=1", "01"}, {2, Req, "55", "OUT2CheckBox=1", "02"}});
    // A grid edit keeps bits 2-7.
    CheckAll<Typed>({{0, Req, 2, "10", "FD", "FE"}, {2, Req, 2, "", "FF", "FC"}, {0, Req, 2, "x1", "80", "81"}});
}

TEST(EngineBlockFrame, AnswerBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {0, Ans, "32 5A 50 FF 55 78 8C", EngineNames, "80;85;90;1000;2.55;24.00;1;0;0;0;1;-1", "80|85|1 0001|4",
         "T1=80, T2=85, T3=90, V=1000, P=2.55, Up=24.00, Ug=1, BP7-6,2=0001, OUT1=4"},
        {0, Ans, "FF FF FE 01 FD 7A 55", EngineNames, "254;253;255;5100;0.01;24.40;0;1;0;1;0;4", "254|253|0 1010|5",
         "T1=254, T2=253, T3=255, V=5100, P=0.01, Up=24.40, Ug=0, BP7-6,2=1010, OUT1=5"},
    });
    const char* before = "EE EE EE EE EE EE FF";
    CheckAll<Built>({
        {0, Ans, before,
         "T1Edit=80;T3Edit=85;T5Edit=90;V1Edit=1000;P1Edit=2.55;UPEdit=24;UGCheckBox=1;BP2CheckBox=1;OUT1ComboBox=4",
         "32 5A 50 FF 55 78 8D"},
        // Speed in steps of 20 rpm, halves upward, low 8 bits; the state byte is rebuilt whole.
        {0, Ans, before, "V1Edit=1009", "32 EE EE EE EE EE 00"},
        {0, Ans, before, "V1Edit=1010", "33 EE EE EE EE EE 00"},
        {0, Ans, before, "P1Edit=2.56;UPEdit=24.4", "EE EE EE 00 EE 7A 00"},
        {0, Ans, before, "P1Edit=0.005;UPEdit=0.09", "EE EE EE 01 EE 00 00"},
        // Integers keep their low 8 bits; a bad text keeps its byte and the next is still read.
        {0, Ans, before, "T1Edit=300;T3Edit=-1;T5Edit=x;V1Edit=1e3;P1Edit=2,5;UPEdit=7", "EE EE 2C EE FF 23 00"},
        {0, Ans, before, "BP7CheckBox=1;OUT1ComboBox=6", "EE EE EE EE EE EE 47"},
    });
    CheckAll<Stepped>({{0, "V1Edit=1015", "V1Edit", "1020"}, {0, "UPEdit=24.3", "UPEdit", "24.40"},
                       {0, "P1Edit=1.234", "P1Edit", "1.23"}});
    before = "11 22 33 44 55 66 8D";
    CheckAll<Typed>({
        {0, Ans, 3, "80.5", before, "11 22 51 44 55 66 8D"},   // half away from zero, no scale
        {0, Ans, 4, "300", before, "11 22 33 44 2C 66 8D"},
        // Flags: bits 3-7 from the digits, the output code stays; and the other way round.
        {0, Ans, 5, "", before, "11 22 33 44 55 66 05"},
        {0, Ans, 5, "0 1110", before, "11 22 33 44 55 66 75"},
        {0, Ans, 6, "3", before, "11 22 33 44 55 66 8B"},
        {0, Ans, 6, "8", before, "11 22 33 44 55 66 88"},   // no digit in radix 8
        {0, Ans, 2, "1", before, before},
    });
}

TEST(GearBlockBFrame, AnswerBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {2, Ans, "96 5F 0A 0B 0F 0E 2B", GearNames, "95;1.50;0.10;0.11;0.14;0.15;3;4", "95|1.50|-|53",
         "T8=95, P16=1.50, P10=0.10, P11=0.11, P14=0.14, P15=0.15, OUT2-1=53"},
        {2, Ans, "FF 00 00 00 00 00 EC", GearNames, "0;2.55;0.00;0.00;0.00;0.00;-1;4", "0|2.55|-|54",
         "T8=0, P16=2.55, P10=0.00, P11=0.00, P14=0.00, P15=0.00, OUT2-1=54"},
    });
    const char* before = "EE EE EE EE EE EE FF";
    CheckAll<Built>({
        {2, Ans, before,
         "T8Edit=95;P16Edit=1.5;P10Edit=0.1;P11Edit=0.11;P14Edit=0.14;P15Edit=0.15;OUT1ComboBox=3;OUT2ComboBox=4",
         "96 5F 0A 0B 0F 0E 2B"},
        {2, Ans, before, "T8Edit=256;P16Edit=2.56;P10Edit=2.55;P11Edit=-0.01;P14Edit=0.004;P15Edit=0.005",
         "00 00 FF 00 01 00 00"},
        {2, Ans, before, "OUT2ComboBox=6", "EE EE EE EE EE EE 38"},   // OUT1 writes the byte, bits 6-7 thus 0
    });
    before = "11 22 33 44 55 66 EB";
    CheckAll<Typed>({
        {2, Ans, 3, "95.5", before, "11 60 33 44 55 66 EB"},
        {2, Ans, 4, "-0.01", before, "FF 22 33 44 55 66 EB"},
        {2, Ans, 6, "1", before, "11 22 33 44 55 66 C1"},   // OUT2 cleared, bits 6-7 kept
        {2, Ans, 6, "7 0", before, "11 22 33 44 55 66 F8"},
    });
}

// The answer-only blocks (transmission, inputs, ultrasonic range finder) on their catalogue rows.
#include "FrameRig.h"

#include <string>

namespace {
constexpr int GearBlockA = 1, IoBlockA = 4, IoBlockA2 = 64, Ultrasonic = 85;
const char* const GearEdits = "T7Edit;P13Edit;P8Edit;P9Edit;L4Edit";
const char* const Ranges = "Edit1;Edit2;Edit3;Edit4;Edit5;Edit6;Edit7;Edit8";
const char* const Inputs = "IN1ComboBox;IN2ComboBox;IN3ComboBox;IN4ComboBox;IN5ComboBox;IN6ComboBox;IN7ComboBox;"
                           "IN8ComboBox;IN9ComboBox;IN10ComboBox;IN11ComboBox;IN12ComboBox;IN13ComboBox;IN14ComboBox;"
                           "IN15ComboBox;IN16ComboBox";

// "IN1ComboBox=1;IN2ComboBox=0;...": the items of the sixteen inputs in order.
std::string InputItems(std::initializer_list<int> items)
{
    std::string set;
    int input = 0;
    for (int item : items)
        set += "IN" + std::to_string(++input) + "ComboBox=" + std::to_string(item) + ";";
    return set;
}
}

// Each field on its own: a text that does not convert keeps only its own byte. The XOR byte after
// each body stays the line engine's.
TEST(GearBlockAFrame, AnswerBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({{GearBlockA, Ans, "19 05 1F 1F 50", GearEdits, "25;0.05;0.31;3.10;80", "25|0.31|-|-",
                      "T7=25, P8=0.31, P9=3.10, P13=0.05, L4=80"}});
    const char* before = "EE EE EE EE EE";
    CheckAll<Built>({
        // P8 256 cut to 0, P9 3.14 -> 31.
        {GearBlockA, Ans, before, "T7Edit=25;P13Edit=0.05;P8Edit=2.56;P9Edit=3.14;L4Edit=80", "19 05 00 1F 50 00"},
        {GearBlockA, Ans, before, "T7Edit=-1;P13Edit=1.234;P8Edit=;P9Edit=abc;L4Edit=1.5", "FF 7B EE EE EE 00"},
    });
    before = "01 02 03 04 05";
    CheckAll<Typed>({
        {GearBlockA, Ans, 3, "7.5", before, "08 02 03 04 05"},   // half away from zero
        {GearBlockA, Ans, 4, "2.56", before, "01 02 00 04 05"},
        {GearBlockA, Ans, 5, "1", before, before},
    });
}

TEST(IoBlockAFrame, AnswerBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({{IoBlockA2, Ans, "91 91 1B C6", Inputs, "1;0;1;2;1;0;1;2;-1;2;1;0;2;1;0;1", "-|-|2101 2101|-",
                      "IN16-1=2012 0123 2101 2101"}});
    CheckAll<Built>({
        {IoBlockA, Ans, "FF FF FF FF", InputItems({1, 0, 1, 2, 1, 0, 1, 2, -1, 2, 1, 0, 2, 1, 0, 1}).c_str(),
         "91 91 18 86 00"},   // bit 6 sent as 0
        {IoBlockA, Ans, "FF FF FF FF", InputItems({-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}).c_str(),
         "00 00 00 80 00"},   // IN16 without a chosen item is set
    });
    CheckAll<Typed>({
        {IoBlockA, Ans, 5, "21", "FF FF AB CD", "09 00 AB CD"},   // missing digits count as 0
        {IoBlockA, Ans, 4, "1", "FF FF AB CD", "FF FF AB CD"},
    });
}

TEST(UltrasonicFrame, AnswerBetweenBodyFrameAndInfoLineButNotTheGrid)
{
    CheckAll<Shown>({{Ultrasonic, Ans, "00 01 32 64 FF 80 07 0A", Ranges, "0.00;0.01;0.50;1.00;2.55;1.28;0.07;0.10",
                      "-|-|-|-", "V1=0.00 V2=0.01 V3=0.50 V4=1.00 V5=2.55 V6=1.28 V7=0.07 V8=0.10"}});
    // The edits are read in order until one does not convert.
    const char* before = "EE EE EE EE EE EE EE EE";
    CheckAll<Built>({
        // Single precision: 2.55 is 254.99.. cm and gives 255; 2.56 gives 256, cut to 0.
        {Ultrasonic, Ans, before, "Edit1=2.55;Edit2=2.56;Edit3=0.5;Edit4=0.01;Edit5=1;Edit6=0;Edit7=-0.5;Edit8=0.29",
         "FF 00 32 01 64 00 CF 1D 00"},
        {Ultrasonic, Ans, before, "Edit1=0.1;Edit2=1e40;Edit3=3;Edit4=4;Edit5=5;Edit6=6;Edit7=7;Edit8=8",
         "0A EE EE EE EE EE EE EE 00"},
    });
    before = "01 02 03 04 05 06 07 08";
    CheckAll<Typed>({{Ultrasonic, Ans, 3, "1", before, before}, {Ultrasonic, Ans, 5, "1", before, before}});
}

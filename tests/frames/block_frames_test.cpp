// The blocks between body, frame, grid and info line: "IoBlock-1"/"IoBlock-3" (rows 5, 65),
// "IoBlock-2" at its output and input addresses (41, 42), the input and load blocks (6, 51), the
// switched power-line proximity sensor (16), the engine block (0) and the transmission blocks (1,
// 2) with their shared request byte of two outputs, the answer-only input blocks (4, 64) and
// ultrasonic range finder (85), and the logic controller (63: limiters and locks in the request,
// drives and status flags in the answer).
#include <string>

#include "FrameRig.h"

namespace {
const char* const BNames =
    "T1Edit;T2Edit;P1Edit;P2Edit;OUT1ComboBox;OUT2ComboBox;OUT3ComboBox;OUT4ComboBox;OUT5ComboBox;OUT6ComboBox";
const char* const COutputs = "OUT1CheckBox;OUT2CheckBox;OUT8CheckBox;OUT9CheckBox;PWMEdit";
const char* const CNames = "OUT1ComboBox;OUT2ComboBox;OUT3ComboBox;OUT4ComboBox;OUT5ComboBox";
const char* const ProximityNames = "EEdit;ANGEdit;IN1ComboBox;IN2ComboBox;IN3ComboBox";
const char* const DNames = "FEdit;FLEdit;IN1ComboBox;IN2ComboBox;IN3ComboBox;IN4ComboBox;IN5ComboBox;IN6ComboBox";
const char* const EngineNames =
    "T1Edit;T3Edit;T5Edit;V1Edit;P1Edit;UPEdit;UGCheckBox;BP7CheckBox;BP6CheckBox;BP5CheckBox;BP2CheckBox;OUT1ComboBox";
const char* const FInputs = "IN1CheckBox;IN2CheckBox;IN3CheckBox;INcCheckBox";
const char* const GearNames = "T8Edit;P16Edit;P10Edit;P11Edit;P14Edit;P15Edit;OUT1ComboBox;OUT2ComboBox";
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

constexpr int Controller = 63;
// RA..RD, LA..LD, boom mode, crane type; then the locks kvg, gps, vps, sts.
const char* const RequestNames = "raBox;rbBox;rcBox;rdBox;laBox;lbBox;lcBox;ldBox;stModeBox;craneTypeBox;kvgCheck;gpsCheck;"
                                 "vpsCheck;stsCheck";
// GP, VP, ST, POV, LG, PG, work mode, joystick mode; then GP_kan, VP_kan, ST_kan, P_low, nft2,
// nft1, motoclk_dis, gns_state.
const char* const AnswerNames = "gpBox;vpBox;stBox;povBox;lgBox;pgBox;workModeBox;joystickModeBox;gpKanCheck;vpKanCheck;"
                                "stKanCheck;pLowCheck;nftCrash2Check;nftCrash1Check;motoHoursDisableCheckBox;"
                                "groundDisableCheckBox";
}

// Shown twice, each cell is written once; and, where `waits`, a fresh frame's edits are read-only
// until the device has data (its other controls wait as a cleared side does: frame_fit_test).
TEST(BlockFrames, CellsWrittenOnceAndEditsWaitForData)
{
    // clang-format off
    const struct { int row; const char* answer; bool waits; } rows[] = {
        {0, "01 02 03 04 05 06 07", true}, {2, "01 02 03 04 05 06 07", true}, {3, "12 34 56 78", true},
        {38, "12 34 56 78", true},         {5, "01 02 03 04 05 06", true},    {41, "01 02", true},
        {42, "01 02 03 04", true},          {16, "01 02 03 04", true},         {30, "95", false},
        {58, "E4", false},                  {6, "12 00 FF", false},            {51, "87", false},
    };
    // clang-format on
    for (const auto& r : rows) {
        Rig rig(r.row);
        rig.SetHex(Ans, r.answer);
        for (int pass = 0; pass < 2; ++pass) {
            rig.Show(Req);
            rig.Show(Ans);
        }
        for (int column = 2; column <= 6; ++column)
            EXPECT_EQ(rig.grid.Writes[static_cast<std::size_t>(column)], 1) << r.row << " column " << column;
        Rig fresh(r.row);
        for (const QWidget* panel : {fresh.info->RequestPanel, fresh.info->AnswerPanel}) {
            for (TControl* control : Controls(panel)) {
                const auto* edit = dynamic_cast<const TEdit*>(control);
                EXPECT_TRUE(!r.waits || !edit || edit->ReadOnly()) << r.row << " " << control->Name().toStdString();
            }
        }
    }
}

TEST(BlockFrames, BodiesShownInFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {5, Req, "A5", "OUT1CheckBox;OUT2CheckBox;OUT8CheckBox", "1;0;1", "1010 0101", "OUT8-1=1010 0101"},
        {5, Req, "5A", "OUT4CheckBox;OUT5CheckBox;OUT6CheckBox", "1;1;0", "0101 1010", "OUT8-1=0101 1010"},
        // Bit 7 of the pressure bytes is bit 2 of OUT6 and OUT5, not pressure.
        {5, Ans, "19 C8 FF 05 D1 65", BNames, "25;200;12.70;0.50;4;-1;1;2;1;6", "25|200|-|71 2145",
         "T1=25, T2=200, P1=12.70, P2=0.50, OUT6-1=71 2145"},
        {41, Req, "81 FF", COutputs, "1;1;0;1;31", "0000 0011", "PWM=31, OUT9-1=1 0000 0011"},   // bits 1-2 unused
        {41, Ans, "B7 D5", CNames, "4;2;6;4;4", "-|-|-|5 5725", "OUT5-1=5 5725"},
        {41, Ans, "10 00", CNames, "0;0;0;-1;0", "-|-|-|0 4000", "OUT5-1=0 4000"},   // code 4 has no item
        {42, Req, "FE", "OUT1CheckBox;OUT2CheckBox", "0;1", "10", "OUT2-1=10"},
        {42, Ans, "24 1F FF E4", DNames, "4095;100;0;1;2;0;1;1", "4095|100|22 0210|-", "F=4095, FL=100, IN6-1=22 0210"},
        // Code 3 shows no item; bits 5-7 of byte 2 belong to nothing.
        {42, Ans, "FF E0 00 7F", DNames, "0;127;-1;-1;-1;-1;0;0", "0|127|00 3333|-", "F=0, FL=127, IN6-1=00 3333"},
        {16, Req, "5A", "OUT1CheckBox;OUT2CheckBox;OUT3CheckBox;OUT4CheckBox", "0;1;0;1", "1010", "OUT4-1=1010"},
        {16, Ans, "FF 6F 00 2D", ProximityNames, "4095;45.00;0;1;2", "4095|45.00|210|-", "E=4095, ANG=45.00, IN3-1=210"},
        // Code 3 of IN2 and IN3 shows empty combos and the digits 3.
        {16, Ans, "00 F0 FD FF", ProximityNames, "0;127.99;1;-1;-1", "0|127.99|332|-", "E=0, ANG=127.99, IN3-1=332"},
        // OUT9-OUT16 have no column.
        {6, Req, "C3 A5", "OUT1CheckBox;OUT3CheckBox;OUT9CheckBox;OUT16CheckBox", "1;0;1;1", "1100 0011",
         "OUT16-1=1010 0101 1100 0011"},
        {6, Ans, "81 01 41 42",
         "IN1CheckBox;IN9CheckBox;IN17CheckBox;IN18CheckBox;OUT2CheckBox_;OUT9CheckBox_;OUT14CheckBox_",
         "1;1;1;0;1;1;0", "-|-|1000 0001|0100 0010", "IN18-1=01 0000 0001 1000 0001, OUT14-1=00 0001 0100 0010"},
        {51, Req, "5C EA", "OUT3CheckBox;OUT12CheckBox;OUT13CheckBox", "1;1;0", "0101 1100", "OUT13-1=0 1010 0101 1100"},
        {51, Ans, "85", FInputs, "1;0;1;1", "-|-|1 101|-", "INc=1, IN3-1=101"},
        {2, Req, "FE", "OUT1CheckBox;OUT2CheckBox", "0;1", "10", "OUT2-1=10"},   // bits 2-7 belong to no output
        {0, Ans, "32 5A 50 FF 55 78 8C", EngineNames, "80;85;90;1000;2.55;24.00;1;0;0;0;1;-1", "80|85|1 0001|4",
         "T1=80, T2=85, T3=90, V=1000, P=2.55, Up=24.00, Ug=1, BP7-6,2=0001, OUT1=4"},
        {0, Ans, "FF FF FE 01 FD 7A 55", EngineNames, "254;253;255;5100;0.01;24.40;0;1;0;1;0;4", "254|253|0 1010|5",
         "T1=254, T2=253, T3=255, V=5100, P=0.01, Up=24.40, Ug=0, BP7-6,2=1010, OUT1=5"},
        {2, Ans, "96 5F 0A 0B 0F 0E 2B", GearNames, "95;1.50;0.10;0.11;0.14;0.15;3;4", "95|1.50|-|53",
         "T8=95, P16=1.50, P10=0.10, P11=0.11, P14=0.14, P15=0.15, OUT2-1=53"},
        {GearBlockA, Ans, "19 05 1F 1F 50", GearEdits, "25;0.05;0.31;3.10;80", "25|0.31|-|-",
         "T7=25, P8=0.31, P9=3.10, P13=0.05, L4=80"},
        {IoBlockA2, Ans, "91 91 1B C6", Inputs, "1;0;1;2;1;0;1;2;-1;2;1;0;2;1;0;1", "-|-|2101 2101|-",
         "IN16-1=2012 0123 2101 2101"},
        {Ultrasonic, Ans, "00 01 32 64 FF 80 07 0A", Ranges, "0.00;0.01;0.50;1.00;2.55;1.28;0.07;0.10",
         "-|-|-|-", "V1=0.00 V2=0.01 V3=0.50 V4=1.00 V5=2.55 V6=1.28 V7=0.07 V8=0.10"},
        {Controller, Ans, "49 96 27", AnswerNames, "1;2;0;1;2;1;1;1;1;0;0;1;1;0;0;1", "1001001|10010110|100111|",
         "GP=1, VP=2, ST=0, POV=1, LG=2, PG=1, GP_kan=1, VP_kan=0, ST_kan=0, P_low=1, work_mode=1, "
         "joystick_mode=1, nft_crash_2=1, nft_crash_1=0, motoclk_dis=0, gns_state=1"},
        // Drive code 3 has no item; bits 6 and 7 of byte 3 carry nothing.
        {Controller, Ans, "FF FF FF", AnswerNames, "-1;-1;-1;-1;-1;-1;1;1;1;1;1;1;1;1;1;1", "11111111|11111111|11111111|",
         "GP=3, VP=3, ST=3, POV=3, LG=3, PG=3, GP_kan=1, VP_kan=1, ST_kan=1, P_low=1, work_mode=1, "
         "joystick_mode=1, nft_crash_2=1, nft_crash_1=1, motoclk_dis=1, gns_state=1"},
    });
}

// A text that does not convert keeps its field's bits where the frame says so; the byte after
// each body (the XOR byte) and the address byte stay the line engine's.
TEST(BlockFrames, FramesBuildTheBodies)
{
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
        {41, Req, "EE AE", "OUT1CheckBox=1;PWMEdit=31", "00 F9"},
        {41, Req, "EE AE", "OUT9CheckBox=1;PWMEdit=32", "80 00"},                 // PWM 32 is 0
        {41, Req, "EE AE", "OUT1CheckBox=1;OUT2CheckBox=1;PWMEdit=x", "01 A9"},   // PWM kept, bits 1-2 cleared
        {41, Ans, "FF FF", "OUT1ComboBox=4;OUT2ComboBox=2;OUT3ComboBox=6;OUT4ComboBox=4;OUT5ComboBox=4", "B7 55"},
        {42, Ans, "AA EB 77 C5",
         "FEdit=4095;FLEdit=100;IN1ComboBox=0;IN2ComboBox=2;IN3ComboBox=1;IN4ComboBox=0;IN5ComboBox=1;IN6ComboBox=1",
         "18 1F FF E4"},
        {42, Ans, "AA EB 77 C5", "FEdit=4096;FLEdit=128", "00 10 00 80"},   // cut; a one-bit input without a selection is set
        // Unconverted: F keeps byte 2 bits 0-3 and byte 3, FL its bits 0-6.
        {42, Ans, "AA EB 77 C5", "FEdit=x;FLEdit=y;IN5ComboBox=0;IN6ComboBox=0", "00 0B 77 45"},
        {16, Req, "F0", "OUT1CheckBox=1;OUT4CheckBox=1", "09"},   // bits 4-7 are 0 when built from the frame
        {16, Ans, "AB CD 12 34", "EEdit=4095;ANGEdit=45;IN1ComboBox=0;IN2ComboBox=1;IN3ComboBox=2", "FF 6F 00 2D"},
        {16, Ans, "AB CD 12 34", "EEdit=4096;ANGEdit=128", "00 00 00 80"},   // cut to 0; no IN1 item sets IN1
        // Unconverted: E keeps byte 1 and byte 2 bits 0-3, ANG its word; the inputs are rebuilt.
        {16, Ans, "AB CD 12 34", "EEdit=x;ANGEdit=y;IN1ComboBox=1;IN2ComboBox=2;IN3ComboBox=0", "AB 8D 12 B4"},
        {6, Req, "5A 5A 77", "OUT1CheckBox=1;OUT16CheckBox=1", "01 80 77"},   // the XOR byte is the line engine's
        {6, Ans, "5A 5A 5A 5A", "IN17CheckBox=1;OUT9CheckBox_=1", "00 00 41 00"},
        {6, Ans, "5A 5A 5A 5A", "IN1CheckBox=1;IN8CheckBox=1;IN9CheckBox=1;OUT2CheckBox_=1;OUT7CheckBox_=1",
         "81 01 00 42"},
        {51, Req, "FF FF", "OUT1CheckBox=1;OUT13CheckBox=1", "01 10"},   // the unused bits 5-7 go out as 0
        {51, Ans, "FF 5A", "IN1CheckBox=1;INcCheckBox=1", "81 5A"},      // the unused bits 3-6 as well
        {0, Req, "FF", "", "00"},
        {0, Req, "FC", "OUT1CheckBox=1", "01"},
        {2, Req, "55", "OUT2CheckBox=1", "02"},
        {0, Ans, "EE EE EE EE EE EE FF",
         "T1Edit=80;T3Edit=85;T5Edit=90;V1Edit=1000;P1Edit=2.55;UPEdit=24;UGCheckBox=1;BP2CheckBox=1;OUT1ComboBox=4",
         "32 5A 50 FF 55 78 8D"},
        // Speed in steps of 20 rpm, halves upward, low 8 bits; the state byte is rebuilt whole.
        {0, Ans, "EE EE EE EE EE EE FF", "V1Edit=1009", "32 EE EE EE EE EE 00"},
        {0, Ans, "EE EE EE EE EE EE FF", "V1Edit=1010", "33 EE EE EE EE EE 00"},
        {0, Ans, "EE EE EE EE EE EE FF", "P1Edit=2.56;UPEdit=24.4", "EE EE EE 00 EE 7A 00"},
        // Integers keep their low 8 bits; a bad text keeps its byte and the next is still read.
        {0, Ans, "EE EE EE EE EE EE FF", "T1Edit=300;T3Edit=-1;T5Edit=x;V1Edit=1e3;P1Edit=2,5;UPEdit=7", "EE EE 2C EE FF 23 00"},
        {0, Ans, "EE EE EE EE EE EE FF", "BP7CheckBox=1;OUT1ComboBox=6", "EE EE EE EE EE EE 47"},
        {2, Ans, "EE EE EE EE EE EE FF",
         "T8Edit=95;P16Edit=1.5;P10Edit=0.1;P11Edit=0.11;P14Edit=0.14;P15Edit=0.15;OUT1ComboBox=3;OUT2ComboBox=4",
         "96 5F 0A 0B 0F 0E 2B"},
        {2, Ans, "EE EE EE EE EE EE FF", "T8Edit=256;P16Edit=2.56;P10Edit=2.55;P11Edit=-0.01;P14Edit=0.004;P15Edit=0.005",
         "00 00 FF 00 01 00 00"},
        {2, Ans, "EE EE EE EE EE EE FF", "OUT2ComboBox=6", "EE EE EE EE EE EE 38"},   // OUT1 writes the byte, bits 6-7 thus 0
        // P8 256 cut to 0, P9 3.14 -> 31.
        {GearBlockA, Ans, "EE EE EE EE EE", "T7Edit=25;P13Edit=0.05;P8Edit=2.56;P9Edit=3.14;L4Edit=80", "19 05 00 1F 50 00"},
        {GearBlockA, Ans, "EE EE EE EE EE", "T7Edit=-1;P13Edit=1.234;P8Edit=;P9Edit=abc;L4Edit=1.5", "FF 7B EE EE EE 00"},
        {IoBlockA, Ans, "FF FF FF FF", InputItems({1, 0, 1, 2, 1, 0, 1, 2, -1, 2, 1, 0, 2, 1, 0, 1}).c_str(),
         "91 91 18 86 00"},   // bit 6 sent as 0
        {IoBlockA, Ans, "FF FF FF FF", InputItems({-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}).c_str(),
         "00 00 00 80 00"},   // IN16 without a chosen item is set
        // Single precision: 2.55 is 254.99.. cm and gives 255; 2.56 gives 256, cut to 0.
        {Ultrasonic, Ans, "EE EE EE EE EE EE EE EE", "Edit1=2.55;Edit2=2.56;Edit3=0.5;Edit4=0.01;Edit5=1;Edit6=0;Edit7=-0.5;Edit8=0.29",
         "FF 00 32 01 64 00 CF 1D 00"},
        {Ultrasonic, Ans, "EE EE EE EE EE EE EE EE", "Edit1=0.1;Edit2=1e40;Edit3=3;Edit4=4;Edit5=5;Edit6=6;Edit7=7;Edit8=8",
         "0A EE EE EE EE EE EE EE 00"},   // the edits are read in order until one does not convert
        {Controller, Req, "00 00 00", "raBox=1;rbBox=2;rcBox=3;rdBox=0;laBox=3;lbBox=2;lcBox=1;ldBox=0;stModeBox=1;craneTypeBox=1;"
                                      "kvgCheck=1;gpsCheck=0;vpsCheck=1;stsCheck=0",
         "39 1B 8B 00"},
        // A cleared editor (no selection) must not send "без ограничения" (code 3) or stray bits:
        // it adds nothing; only the crane type reads any index but 0 as Crane-2.
        {Controller, Req, "FF FF FF", "raBox=-1;rbBox=-1;rcBox=-1;rdBox=-1;laBox=-1;lbBox=-1;lcBox=-1;ldBox=-1;stModeBox=-1;"
                                      "craneTypeBox=-1;kvgCheck=0;gpsCheck=0;vpsCheck=0;stsCheck=0",
         "00 00 80 00"},
        // No selection adds nothing: a new frame answers all off.
        {Controller, Ans, "FF FF FF", "gpBox=-1;vpBox=-1;stBox=-1;povBox=-1;lgBox=-1;pgBox=-1;workModeBox=-1;"
                                      "joystickModeBox=-1",
         "00 00 00 00"},
    });
}

TEST(BlockFrames, TypedCellsReachTheBodies)
{
    CheckAll<Typed>({
        {5, Req, 2, "11", "F0", "03"},
        {65, Ans, 3, "7.5", "11 22 B3 C4 55 66", "08 22 B3 C4 55 66"},       // half away from zero
        {65, Ans, 6, "71 2145", "11 22 B3 C4 55 66", "11 22 B3 44 D1 65"},   // the pressures keep their bits 0-6
        {65, Ans, 6, "98 0001", "11 22 B3 C4 55 66", "11 22 33 44 00 01"},   // '8' is no octal digit: code 0 to its left
        {41, Req, 2, "1111 1111", "80 AE", "FF AF"},                         // OUT8..OUT1: OUT9 and the PWM bits stay
        {41, Ans, 6, "5 5725", "FF FF", "B7 D5"},
        {41, Ans, 6, "", "FF FF", "00 80"},                   // byte 2 bit 7 belongs to no output
        {42, Ans, 3, "4095", "AA EB 77 C5", "AA EF FF C5"},   // bits 4-7 of byte 2 stay
        {42, Ans, 4, "100", "AA EB 77 C5", "AA EB 77 E4"},    // IN5 stays
        {42, Ans, 5, "21 0120", "AA EB 77 C5", "18 FB 77 C5"},
        {16, Req, 2, "0101", "F0", "F5"},                     // a grid edit keeps bits 4-7
        {16, Ans, 3, "4095", "AB CD 12 B4", "FF CF 12 B4"},   // IN2 and IN3 stay
        {16, Ans, 4, "0.5", "AB CD 12 B4", "AB CD 80 80"},    // IN1 stays
        {16, Ans, 5, "210", "AB CD 12 B4", "AB 6D 12 34"},
        {16, Ans, 5, "31", "AB CD 12 B4", "AB 0D 12 B4"},   // '3' ends the digits
        {6, Req, 2, "101", "5A 5A 5A 5A", "05 5A 5A 5A"},   // OUT1, OUT3; OUT9-OUT16 kept
        {6, Ans, 5, "1000 0000", "5A 5A 5A 5A", "80 5A 5A 5A"},
        {6, Ans, 6, "11", "5A 5A 5A 5A", "5A 5A 5A 03"},   // OUT9-OUT14 in byte 3 kept
        {51, Req, 2, "101", "5A 5A", "05 5A"},             // byte 2 kept
        {51, Ans, 5, "1 000", "5A", "D8"},                 // INc set, IN1-IN3 cleared, bits 3-6 kept
        {51, Ans, 5, "", "5A", "58"},
        {0, Req, 2, "10", "FD", "FE"},
        {2, Req, 2, "", "FF", "FC"},
        {0, Req, 2, "x1", "80", "81"},                                         // bits 2-7 stay
        {0, Ans, 3, "80.5", "11 22 33 44 55 66 8D", "11 22 51 44 55 66 8D"},   // half away from zero, no scale
        {0, Ans, 4, "300", "11 22 33 44 55 66 8D", "11 22 33 44 2C 66 8D"},
        // Flags: bits 3-7 from the digits, the output code stays; and the other way round.
        {0, Ans, 5, "0 1110", "11 22 33 44 55 66 8D", "11 22 33 44 55 66 75"},
        {0, Ans, 6, "3", "11 22 33 44 55 66 8D", "11 22 33 44 55 66 8B"},
        {0, Ans, 2, "1", "11 22 33 44 55 66 8D", "11 22 33 44 55 66 8D"},
        {2, Ans, 3, "95.5", "11 22 33 44 55 66 EB", "11 60 33 44 55 66 EB"},
        {2, Ans, 4, "-0.01", "11 22 33 44 55 66 EB", "FF 22 33 44 55 66 EB"},
        {2, Ans, 6, "7 0", "11 22 33 44 55 66 EB", "11 22 33 44 55 66 F8"},
        {GearBlockA, Ans, 3, "7.5", "01 02 03 04 05", "08 02 03 04 05"},   // half away from zero
        {GearBlockA, Ans, 4, "2.56", "01 02 03 04 05", "01 02 00 04 05"},
        {GearBlockA, Ans, 5, "1", "01 02 03 04 05", "01 02 03 04 05"},
        {IoBlockA, Ans, 5, "21", "FF FF AB CD", "09 00 AB CD"},   // missing digits count as 0
        {IoBlockA, Ans, 4, "1", "FF FF AB CD", "FF FF AB CD"},
        {Ultrasonic, Ans, 3, "1", "01 02 03 04 05 06 07 08", "01 02 03 04 05 06 07 08"},
    });
}

// The request less its unused bits 5 and 6 of byte 3, which the grid does not show; a drive code
// 3 of the answer has no item and comes back as 0.
TEST(LogicControllerFrame, BodiesBuiltBackFromWhatIsShown)
{
    // clang-format off
    const struct { bool request; const char* body; const char* built; } rows[] = {
        {Req, "FF FF FF", "FF FF 9F 00"}, {Ans, "49 96 27", "49 96 27 00"}, {Ans, "FF FF FF", "00 F0 3F 00"},
    };
    // clang-format on
    for (const auto& r : rows) {
        Rig rig(Controller);
        rig.SetHex(r.request, r.body);
        rig.Show(r.request);
        if (r.request) {   // the answer's controls are read in the shown table
            EXPECT_EQ(rig.Read(RequestNames), "3;3;3;3;3;3;3;3;1;1;1;1;1;1");
        }
        rig.SetHex(r.request, "00 00 00");
        rig.Build(r.request);
        EXPECT_EQ(rig.Hex(r.request, r.built), r.built);
        EXPECT_EQ(rig.grid.Writes[2], 0);
    }
}

TEST(LogicControllerFrame, GridTakesNoTypedValuesAndIsRewrittenEveryTime)
{
    for (int column = 2; column <= 6; ++column)
        CheckAll<Typed>({{Controller, Req, column, "11", "01 02 03", "01 02 03"}, {Controller, Ans, column, "11", "04 05 06", "04 05 06"}});
    Rig rig(Controller);
    rig.Show(Ans);
    rig.Show(Ans);
    EXPECT_EQ(std::vector<int>(rig.grid.Writes.begin() + 3, rig.grid.Writes.begin() + 7), (std::vector<int>{2, 2, 2, 0}));
}

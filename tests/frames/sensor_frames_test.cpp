// The small answer-only devices on their catalogue rows: the fifth tilt sensor, the data receiver,
// the engine data, the temperature sensor, the current meter, the clock (date and time), and the
// four travel sensor frames of their own (first, second, fourth and fifth: the count L and its
// input).
#include "frames/Clock.h"
#include "frames/EngineData.h"
#include "frames/Temperature.h"
#include "FrameRig.h"
#include "platform/Numbers.h"

namespace {
constexpr int TiltD = 83, Receiver = 76, Engine = 81, Temperature = 80, Meter = 61;
const char* const ReceiverNames = "FEdit;blockCheckBox;hornCheckBox;noreplyCheckBox;batteryLowCheckBox";
const char* const MeterNames = "Bit8Box;Bit7Box;Bit2Box;VoltageEdit;I1Edit;I2Edit";
constexpr int TravelA = 32, TravelB = 35, TravelD = 68, TravelE = 72;   // a catalogue row of each
const char* const Count14 = "checkBox12Bit=0";
constexpr int ClockRow = 53;

// Pins the clock's idea of now for a scope.
struct PinnedNow {
    explicit PinnedNow(const QDateTime& now) { Now = now, TClockFrame::CurrentDateTime = [] { return Now; }; }
    ~PinnedNow() { TClockFrame::CurrentDateTime = saved; }
    static inline QDateTime Now;
    QDateTime (*saved)() = TClockFrame::CurrentDateTime;
};

// The edits run day to second; the body the other way: second, minute, hour, year - 2000, month, day.
const char* const Edits = "DayEdit;MonthEdit;YearEdit;HourEdit;MinEdit;SecEdit";
}

TEST(SensorFrames, BodiesShownInFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {TiltD, Ans, "D2 04 40", "ANGEdit;IN1ComboBox", "12.34;1", "12.34|-|1|-", "ANG=12.34, IN1=1"},
        {TiltD, Ans, "FF FF FF", "ANGEdit;IN1ComboBox", "655.35;3", "655.35|-|3|-", "ANG=655.35, IN1=3"},   // every code has an item
        {Receiver, Ans, "34 92", ReceiverNames, "564;1;0;0;1", "564|-|1001|-", "F=564, Block=1, Horn=0, Noreply=0, BatLow=1"},
        {Receiver, Ans, "88 23", ReceiverNames, "904;0;0;1;0", "904|-|0010|-", "F=904, Block=0, Horn=0, Noreply=1, BatLow=0"},
        {Engine, Ans, "FF FF FF", "RpmEdit;OilPressureEdit", "8191.875;1020", "8191.875|1020|-|-",
         "RPM=8191.875000, P=1020"},
        {Temperature, Ans, "41", "TempEdit", "25", "25|-|-|-", "T=25"},
        {Meter, Ans, "00 00 00 00", MeterNames, "0;0;0;0;0;0", "|0|0|0", "Bits=, U=0, I1=0, I2=0"},
        {Meter, Ans, "81 2C 05 06", MeterNames, "1;0;0;300;5;6", "1000000|300|5|6", "Bits=1000000, U=300, I1=5, I2=6"},
        {Meter, Ans, "03 FF FF 00", MeterNames, "0;0;1;511;255;0", "1|511|255|0", "Bits=1, U=511, I1=255, I2=0"},
        {TravelA, Ans, "05 00 C1", "LEdit;T1Edit;IN1ComboBox", "-5;24;1", "-5|24|1|-", "L=-5, T=24, IN1=1"},
        {TravelA, Ans, "FF FF 7F", "LEdit;T1Edit;IN1ComboBox", "65535;84;-1", "65535|84|3|-", "L=65535, T=84, IN1=3"},
        {TravelB, Ans, "00 00 06", "LEdit;IN1ComboBox", "65536;2", "65536|-|2|-", "L=65536, IN1=2"},
        {TravelD, Ans, "88 43", "LEdit;IN1ComboBox", "904;1", "904|-|1|-", "L=904 IN=1"},
        {TravelE, Ans, "FF FF", "LEdit;IN1ComboBox", "32767;1", "32767|-|1|-", "L=32767 IN=1"},
        {ClockRow, Ans, "05 07 09 18 03 01", Edits, "01;03;2024;09;07;05", "07|05|-|-", "01.03.2024 09:07:05"},
        {ClockRow, Ans, "FF 64 17 FF 00 00", Edits, "00;00;2255;23;100;255", "100|255|-|-", "00.00.2255 23:100:255"},
        // 1999 typed is stored as 207 and comes back as 2207.
        {ClockRow, Ans, "00 00 00 CF 01 01", Edits, "01;01;2207;00;00;00", "00|00|-|-", "01.01.2207 00:00:00"},
    });
}

TEST(SensorFrames, FramesBuildTheBodies)
{
    CheckAll<Built>({
        // Bits 0-5 of byte 3 are not kept.
        {TiltD, Ans, "55 55 3F", "ANGEdit=655.36;IN1ComboBox=1", "00 00 40"},   // 65536 keeps its low 16 bits
        {TiltD, Ans, "55 55 3F", "ANGEdit=12.345;IN1ComboBox=3", "D3 04 C0"},   // + 0.5, truncated
        {TiltD, Ans, "55 55 3F", "ANGEdit=abc;IN1ComboBox=2", "00 00 80"},      // no number: angle 0, input still taken
        {TiltD, Ans, "55 55 3F", "ANGEdit=1;IN1ComboBox=-1", "64 00 C0"},       // no selection: code 3
        {TiltD, Ans, "55 55 3F", "ANGEdit=-1;IN1ComboBox=0", "9D FF 00"},       // trunc(-99.5) = -99 -> 65437
        {Receiver, Ans, "00 00", "FEdit=5000", "88 03"},                    // 5000 & 0xFFF
        {Receiver, Ans, "00 F0", "FEdit=-1", "FF 0F"},                      // low 12 bits, old flags gone
        {Receiver, Ans, "34 F2", "FEdit=abc;blockCheckBox=1", "34 82"},     // force kept, flags rebuilt
        {Engine, Ans, "55 55 55", "RpmEdit=1500.06;OilPressureEdit=250", "E0 2E 3F"},   // 12000.48 truncated; (250 + 2) / 4
        {Engine, Ans, "55 55 55", "RpmEdit=abc;OilPressureEdit=", "00 00 00"},           // not the old value
        {Engine, Ans, "55 55 55", "RpmEdit=8192;OilPressureEdit=1022", "00 00 00"},      // 65536 and 256 keep their low bits
        {Engine, Ans, "55 55 55", "RpmEdit=-1.5;OilPressureEdit=-10", "F4 FF FE"},       // (-10 + 2) / 4 = -2, toward zero
        {Temperature, Ans, "77", "TempEdit=-50", "00"}, {Temperature, Ans, "77", "TempEdit=300", "FF"},
        {Temperature, Ans, "77", "TempEdit=abc", "28"}, {Temperature, Ans, "77", "TempEdit=12.5", "28"},
        {Meter, Ans, "55 55 55 55", "VoltageEdit=600;I1Edit=0;I2Edit=0", "01 58 00 00"},   // bit 8 set, low 8 bits of 600
        {Meter, Ans, "55 55 55 55", "Bit8Box=1;Bit2Box=1;VoltageEdit=511;I1Edit=255;I2Edit=255", "83 FF FF FF"},
        {Meter, Ans, "55 55 55 55", "VoltageEdit=x;I1Edit=300;I2Edit=", "00 00 2C 00"},   // no number: 0
        {TravelA, Ans, "EE EE EE", "LEdit=-5;T1Edit=25;IN1ComboBox=2", "05 00 C2"},   // sign and magnitude; 25 °C is stored as 64
        {TravelA, Ans, "EE EE EE", "LEdit=2.5;T1Edit=-41;IN1ComboBox=0", "03 00 00"},   // rounded half away; -41 °C as 0
        {TravelA, Ans, "EE EE EE", "LEdit=-2.5;T1Edit=-43;IN1ComboBox=1", "03 00 FD"},   // -43 + 42 = -1, AND 0x7C
        {TravelA, Ans, "EE EE EE", "LEdit=x;T1Edit=0;IN1ComboBox=1", "EE EE A9"},   // L kept with its sign
        // Nothing fits 64 bits: L kept; an empty T only clears bits 0-1.
        {TravelA, Ans, "EE EE EE", "LEdit=1e30;T1Edit=;IN1ComboBox=2", "EE EE EE"},
        {TravelB, Ans, "EE EE EE", "LEdit=4194304;IN1ComboBox=-1", "00 00 00"},   // wraps to 0
        {TravelB, Ans, "EE EE EE", "LEdit=2.5;IN1ComboBox=0", "EE EE EC"},        // an integer edit refuses 2.5
        {69, Ans, "EE EE EE", "checkBox12Bit=1;LEdit=5000;IN1ComboBox=0", "88 03"},   // 5000 AND 0x0FFF = 904
        {69, Ans, "EE EE EE", "checkBox12Bit=0;LEdit=16384;IN1ComboBox=2", "00 80"},   // 14 bits of the count
        {69, Ans, "EE EE EE", "checkBox12Bit=0;LEdit=100;IN1ComboBox=-1", "64 C0"},    // no selection sends "Метка"
        {75, Ans, "EE EE EE", "LEdit=x;IN1ComboBox=1", "EE EE"},   // the mark does not get through either
        {ClockRow, Ans, "EE EE EE EE EE EE", "CurrentTimeBox=0;DayEdit=1;MonthEdit=1;YearEdit=1999;HourEdit=0;MinEdit=0;SecEdit=0",
         "00 00 00 CF 01 01"},   // 1999 keeps its low 8 bits
        // No conversion: the byte is kept.
        {ClockRow, Ans, "EE EE EE EE EE EE", "CurrentTimeBox=0;DayEdit=1;MonthEdit=x;YearEdit=;HourEdit=300;MinEdit=-1;SecEdit=7",
         "07 FF 2C EE EE 01"},
    });
    CheckAll<Stepped>({
        {Engine, "RpmEdit=1500.06;OilPressureEdit=250", "RpmEdit;OilPressureEdit", "1500;252"},
        {Engine, "RpmEdit=-1.5;OilPressureEdit=-10", "RpmEdit;OilPressureEdit", "8190.5;1016"},
        // The temperature comes back in the field's steps, wrapping round beyond it.
        {TravelA, "LEdit=0;T1Edit=26", "T1Edit", "28"}, {TravelA, "LEdit=0;T1Edit=-43", "T1Edit", "84"},
        {TravelA, "LEdit=0;T1Edit=86", "T1Edit", "-40"},
    });
    // The temperature's byte holds T + 40 at the ends of the edit's range as well.
    EXPECT_EQ(TemperatureByte(-2147483648LL), 0);
    EXPECT_EQ(TemperatureByte(2147483647LL), 255);
}

TEST(SensorFrames, TypedCellsReachTheBodies)
{
    CheckAll<Typed>({
        {TiltD, Ans, 3, "-1", "11 22 55", "9C FF 55"},       // half away from zero: -100 -> 65436
        {TiltD, Ans, 3, "655.36", "11 22 55", "00 00 55"},
        {TiltD, Ans, 3, "abc", "11 22 55", "11 22 55"},
        {TiltD, Ans, 5, "6", "11 22 55", "11 22 95"},        // bits 6-7 only, from the low two bits
        {TiltD, Ans, 5, "1.5", "11 22 55", "11 22 55"},     // a plain integer only
        {TiltD, Ans, 4, "1", "11 22 55", "11 22 55"},
        {Receiver, Ans, 3, "5000", "00 F0", "88 F3"},   // masked to 12 bits, flags stay
        {Receiver, Ans, 3, "12.5", "00 A0", "0D A0"},   // half away from zero
        {Receiver, Ans, 5, "3010", "34 02", "34 A2"},   // any digit 1-3 sets its flag
        {Receiver, Ans, 5, "1410", "34 F2", "34 22"},   // the reading stops at the 4
        {Receiver, Ans, 5, "1", "34 F2", "34 12"},      // digit 0 is BatLow; missing digits clear
        {Receiver, Ans, 6, "1111", "34 92", "34 92"},
        {Engine, Ans, 3, "1500.06", "55 55 55", "E0 2E 55"},
        {Engine, Ans, 3, "abc", "55 55 55", "00 00 55"},   // no number: 0, as in the frame
        {Engine, Ans, 4, "250", "55 55 55", "55 55 3F"},
        {Engine, Ans, 4, "250.5", "55 55 55", "55 55 00"},   // an integer field
        {Engine, Ans, 5, "1", "55 55 55", "55 55 55"},
        {Temperature, Ans, 3, "-100", "77", "00"}, {Temperature, Ans, 3, "12.5", "77", "77"},
        {Temperature, Ans, 4, "25", "77", "77"},
        // The first: L sign and magnitude, T cut toward zero, one input digit.
        {TravelA, Ans, 3, "7.5", "11 22 EE", "08 00 6E"},
        {TravelA, Ans, 4, "25.9", "11 22 6E", "11 22 42"},   // trunc(67.9) = 67 -> 64
        {TravelA, Ans, 5, "3", "11 22 6F", "11 22 6C"},      // no radix-3 digit
        // The second: the 22-bit count keeps the input bits.
        {TravelB, Ans, 3, "65535.5", "11 22 33", "00 00 07"},
        // The fourth: count under the state, state as a plain number.
        {TravelD, Ans, 3, "5000", "11 A2", "88 83", "checkBox12Bit=1"},
        {TravelD, Ans, 5, "5", "11 A2", "11 62", Count14},   // the low two bits
        {TravelD, Ans, 5, "2.0", "11 A2", "11 A2", Count14},   // not an integer
        // The fifth: count under the mark.
        {TravelE, Ans, 3, "40000", "11 A2", "40 9C"},
        {TravelE, Ans, 5, "2", "11 A2", "11 22"},
        {ClockRow, Ans, 3, "7.5", "22 11 33", "22 08 33"},   // the minute, half away from zero
        {ClockRow, Ans, 4, "-1", "22 11 33", "FF 11 33"},    // the second, low 8 bits
        {ClockRow, Ans, 3, "abc", "22 11 33", "22 11 33"},
        {ClockRow, Ans, 5, "1", "22 11 33", "22 11 33"},
    });
    for (int column = 2; column <= 6; ++column)   // not typed in the grid
        CheckAll<Typed>({{Meter, Ans, column, "101", "81 2C 05 06", "81 2C 05 06"}, {Meter, Ans, column, "", "81 2C 05 06", "81 2C 05 06"}});
}

TEST(EngineDataFrame, GeneralFormOfValuesFollowsTheSeparator)
{
    const std::pair<long double, const char*> cases[] = {
        {1500, "1500"}, {-2.5L, "-2.5"}, {0.1L, "0.1"}, {123456789012345.0L, "123456789012345"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FloatToStr(value), text);
    SetDecimalSeparator(u',');
    const QString comma = FloatToStr(1500.125L);
    SetDecimalSeparator(u'.');
    EXPECT_EQ(comma, "1500,125");
}

TEST(ClockFrame, CurrentTimeIsTakenWhenTheAnswerIsBuilt)
{
    Rig rig(ClockRow);
    {
        PinnedNow now(QDateTime(QDate(2031, 7, 4), QTime(8, 5, 9)));
        rig.Build(Ans);
        EXPECT_EQ(rig.Hex(Ans, ".. .. .. .. .. .. .."), "09 05 08 1F 07 04 00");
        EXPECT_EQ(rig.Read(Edits), "04;07;2031;08;05;09");
    }
    {
        PinnedNow later(QDateTime(QDate(2031, 7, 4), QTime(8, 6, 0)));
        rig.info->FrameToAnswer();   // as the emulation calls it, before each answer
        EXPECT_EQ(rig.Hex(Ans, ".. .."), "00 06");
    }
    rig.Set("CurrentTimeBox=0;MinEdit=30");
    rig.Build(Ans);
    EXPECT_EQ(rig.Answer()[2], 30) << "unticked, the typed time is kept";
}

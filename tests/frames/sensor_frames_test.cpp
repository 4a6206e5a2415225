// The answer-only sensors on their catalogue rows: the single-value frames (one word, the XOR
// byte 5A after it staying the line engine's), the angle-value frames (boom length, the seventh
// travel sensor, azimuth: an angle, a second value and inputs, with the wrap of typed values into
// their ranges), the fifth tilt sensor, the data receiver, the engine data, the temperature sensor,
// the current meter, the clock (date and time), and the four travel sensor frames of their own
// (first, second, fourth and fifth: the count L and its input).
#include <string>

#include "FrameRig.h"
#include "frames/BoomLengthA.h"
#include "frames/Clock.h"
#include "frames/Temperature.h"

namespace {
constexpr int TiltA = 27, TiltB = 28, PressureA = 7, PressureB = 33, WindSpeed = 24, TensionB = 22, TensionC = 46;
constexpr int LineProximityA = 15, LineProximityC = 43;
constexpr int BoomLengthA = 13, BoomLengthB = 14, BoomLengthC = 39, BoomLengthC2 = 52, TravelG = 84;
constexpr int AzimuthA = 25, AzimuthB = 26, AzimuthC = 82;
const char* const Length1 = "ANGEdit;LENEdit;IN1ComboBox";
const char* const Length2 = "ANGEdit;LENEdit;IN1ComboBox;IN2ComboBox";
const char* const Azimuth = "ANGEdit;T1Edit;IN1ComboBox";
constexpr int TiltD = 83, Receiver = 76, Engine = 81, Temperature = 80, Meter = 61;
const char* const ReceiverNames = "FEdit;blockCheckBox;hornCheckBox;noreplyCheckBox;batteryLowCheckBox";
const char* const MeterNames = "Bit8Box;Bit7Box;Bit2Box;VoltageEdit;I1Edit;I2Edit";
constexpr int TravelA = 32, TravelB = 35, TravelD = 68, TravelE = 72;   // a catalogue row of each
const char* const Count14 = "checkBox12Bit=0";
constexpr int ClockRow = 53;

// Pins the clock's idea of now for a scope.
struct PinnedNow {
    explicit PinnedNow(const QDateTime& now)
    {
        Now = now, TClockFrame::CurrentDateTime = [] { return Now; };
    }
    ~PinnedNow() { TClockFrame::CurrentDateTime = saved; }
    static inline QDateTime Now;
    QDateTime (*saved)() = TClockFrame::CurrentDateTime;
};

// The edits run day to second; the body the other way: second, minute, hour, year - 2000, month, day.
const char* const Edits = "DayEdit;MonthEdit;YearEdit;HourEdit;MinEdit;SecEdit";

std::size_t BodySize(int row) { return static_cast<std::size_t>(DeviceCatalogue[row].AnswerLength - 2); }
}

TEST(SensorFrames, BodiesShownInFrameGridAndInfoLine)
{
    CheckAll<Shown>({
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
        {TiltB, Ans, "00 81", "ANGEdit;IN1ComboBox", "1.00;1", "1.00|-|1|-", "ANG=1.00, IN1=1"},   // item 1 is "+24 В" here
        {TiltA, Ans, "20 00", "ANGEdit;IN1ComboBox", "0.13;0", "0.13|-|0|-", "ANG=0.12, IN1=0"},   // 0.125: the two roundings
        {TiltA, Ans, "00 FF", "ANGEdit", "127.00", "127.00|-|1|-", "ANG=127.00, IN1=1"},
        {PressureA, Ans, "80 00", "PEdit", "3.13", "3.13|-|-|-", "P=3.12"},   // exactly 3.125
        {PressureB, Ans, "00 E8", "PEdit;IN1ComboBox", "250.00;-1", "250.00|-|3|-", "P=250.00, IN1=3"},
        {WindSpeed, Ans, "7B 80", "VEdit;IN1ComboBox", "12.30;2", "12.30|-|2|-", "V=12.30, IN1=2"},
        {TensionB, Ans, "0A 40", "FEdit;IN1ComboBox", "10;1", "10|-|1|-", "F=10, IN1=1"},
        {LineProximityA, Ans, "FF 3F", "EEdit;IN2ComboBox;IN3ComboBox", "1023;0;-1", "1023|-|30|-", "E=1023, IN3-2=30"},
        {LineProximityA, Ans, "05 60", "EEdit;IN2ComboBox;IN3ComboBox", "5;1;2", "5|-|21|-", "E=5, IN3-2=21"},
        // Every other single-value model once, with its own factor, width and inputs.
        {21, Ans, "80 01", "FEdit", "3.00", "3.00|-|-|-", "F=3.00"},                                     // tension, 1/128
        {21, Ans, "FF FF", "FEdit", "511.99", "511.99|-|-|-", "F=511.99"},                               // the whole word
        {46, Ans, "FF FF", "FEdit", "16383", "16383|-|-|-", "F=16383"},                                  // 14 bits
        {23, Ans, "10 80", "FEdit;IN1ComboBox", "16;1", "16|-|1|-", "F=16, IN1=1"},                      // compression
        {49, Ans, "E8 C3", "DEdit", "10.00", "10.00|-|-|-", "D=10.00"},                                  // fuel, 1/100
        {29, Ans, "00 81", "ANGEdit;IN1ComboBox", "1.00;1", "1.00|-|1|-", "ANG=1.00, IN1=1"},            // tilt C
        {17, Ans, "FF FF", "LEdit", "65535", "65535|-|-|-", "L=65535"},                                  // 16 bits
        {40, Ans, "05 80", "LEdit;IN1ComboBox", "5;2", "5|-|2|-", "F=5, IN1=2"},                         // travel F
        {LineProximityC, Ans, "FF FF", "EEdit;IN1ComboBox", "1023;-1", "1023|-|3|-", "E=1023, IN1=3"},   // 10 bits
        {BoomLengthA, Ans, "80 81 00 01", Length1, "1.50;1.00;1", "1.50|1.00|1|-", "ANG=1.50, LEN=1.00, IN1=1"},
        // Sign in bit 0, the magnitude doubled above it; the length in 12 bits under the inputs.
        {BoomLengthB, Ans, "01 03 00 9F", Length2, "-1.50;15.00;2;1", "-1.50|15.00|12|-", "ANG=-1.50, LEN=15.00, IN2-1=12"},
        // A sign without magnitude is zero; code 3 has no item but shows as '3'.
        {BoomLengthB, Ans, "01 00 80 F0", Length2, "0.00;0.50;-1;-1", "0.00|0.50|33|-", "ANG=0.00, LEN=0.50, IN2-1=33"},
        {BoomLengthC, Ans, "80 01 FF 4F", Length2, "1.50;4095;1;0", "1.50|4095|01|-", "ANG=1.50, LEN=4095, IN2-1=01"},
        {TravelG, Ans, "9F 8C 07 B0", Length2, "359.99;7;2;-1", "359.99|7|32|-", "ANG=359.99, LEN=7, IN2-1=32"},
        {AzimuthA, Ans, "B4 80 85 00 00", Azimuth, "-180;-5;0", "-180|-5|0|-", "ANG=-180, T=-5, IN1=0"},
        {AzimuthA, Ans, "FF 3F 80 AA 55", Azimuth, "255;0;0", "255|0|0|-", "ANG=255, T=0, IN1=0"},
        {AzimuthC, Ans, "05 E0 03 00 00", Azimuth, "-5;3;2", "-5|3|3|-", "ANG=-5, T=3, IN1=3"},   // code 3 shows "Масса"
        {AzimuthB, Ans, "FF AB", Azimuth, "359.65;-20;2", "359.65|-20|2|-", "ANG=359.65, T=-20, IN1=2"},
        {AzimuthB, Ans, "01 C0", Azimuth, "0.35;-60;-1", "0.35|-60|3|-", "ANG=0.35, T=-60, IN1=3"},
    });
}

TEST(SensorFrames, FramesBuildTheBodies)
{
    CheckAll<Built>({
        // Bits 0-5 of byte 3 are not kept.
        {TiltD, Ans, "55 55 3F", "ANGEdit=655.36;IN1ComboBox=1", "00 00 40"},           // 65536 keeps its low 16 bits
        {TiltD, Ans, "55 55 3F", "ANGEdit=abc;IN1ComboBox=2", "00 00 80"},              // no number: angle 0, input still taken
        {TiltD, Ans, "55 55 3F", "ANGEdit=1;IN1ComboBox=-1", "64 00 C0"},               // no selection: code 3
        {TiltD, Ans, "55 55 3F", "ANGEdit=-1;IN1ComboBox=0", "9D FF 00"},               // trunc(-99.5) = -99 -> 65437
        {Receiver, Ans, "00 F0", "FEdit=-1", "FF 0F"},                                  // low 12 bits, old flags gone
        {Receiver, Ans, "34 F2", "FEdit=abc;blockCheckBox=1", "34 82"},                 // force kept, flags rebuilt
        {Engine, Ans, "55 55 55", "RpmEdit=1500.06;OilPressureEdit=250", "E0 2E 3F"},   // 12000.48 truncated; (250 + 2) / 4
        {Engine, Ans, "55 55 55", "RpmEdit=abc;OilPressureEdit=", "00 00 00"},          // not the old value
        {Engine, Ans, "55 55 55", "RpmEdit=8192;OilPressureEdit=1022", "00 00 00"},     // 65536 and 256 keep their low bits
        {Engine, Ans, "55 55 55", "RpmEdit=-1.5;OilPressureEdit=-10", "F4 FF FE"},      // (-10 + 2) / 4 = -2, toward zero
        {Temperature, Ans, "77", "TempEdit=-50", "00"},
        {Temperature, Ans, "77", "TempEdit=300", "FF"},
        {Temperature, Ans, "77", "TempEdit=12.5", "28"},                                   // an integer edit: no number, 0 °C
        {Meter, Ans, "55 55 55 55", "VoltageEdit=600;I1Edit=0;I2Edit=0", "01 58 00 00"},   // bit 8 set, low 8 bits of 600
        {Meter, Ans, "55 55 55 55", "Bit8Box=1;Bit2Box=1;VoltageEdit=511;I1Edit=255;I2Edit=255", "83 FF FF FF"},
        {Meter, Ans, "55 55 55 55", "VoltageEdit=x;I1Edit=300;I2Edit=", "00 00 2C 00"},   // no number: 0
        {TravelA, Ans, "EE EE EE", "LEdit=-5;T1Edit=25;IN1ComboBox=2", "05 00 C2"},       // sign and magnitude; 25 °C is stored as 64
        {TravelA, Ans, "EE EE EE", "LEdit=2.5;T1Edit=86;IN1ComboBox=0", "03 00 00"},      // rounded half away; 86 °C wraps to -40
        {TravelA, Ans, "EE EE EE", "LEdit=-2.5;T1Edit=-43;IN1ComboBox=1", "03 00 FD"},    // -43 + 42 = -1, AND 0x7C
        {TravelA, Ans, "EE EE EE", "LEdit=x;T1Edit=0;IN1ComboBox=1", "EE EE A9"},         // L kept with its sign
        // Nothing fits 64 bits: L kept; an empty T only clears bits 0-1.
        {TravelA, Ans, "EE EE EE", "LEdit=1e30;T1Edit=;IN1ComboBox=2", "EE EE EE"},
        {TravelB, Ans, "EE EE EE", "LEdit=4194304;IN1ComboBox=-1", "00 00 00"},        // wraps to 0
        {TravelB, Ans, "EE EE EE", "LEdit=2.5;IN1ComboBox=0", "EE EE EC"},             // an integer edit refuses 2.5
        {69, Ans, "EE EE EE", "checkBox12Bit=1;LEdit=5000;IN1ComboBox=0", "88 03"},    // 5000 AND 0x0FFF = 904
        {69, Ans, "EE EE EE", "checkBox12Bit=0;LEdit=16384;IN1ComboBox=2", "00 80"},   // 14 bits of the count
        {69, Ans, "EE EE EE", "checkBox12Bit=0;LEdit=100;IN1ComboBox=-1", "64 C0"},    // no selection sends "Метка"
        {75, Ans, "EE EE EE", "LEdit=x;IN1ComboBox=1", "EE EE"},                       // the mark does not get through either
        {ClockRow, Ans, "EE EE EE EE EE EE", "CurrentTimeBox=0;DayEdit=1;MonthEdit=1;YearEdit=1999;HourEdit=0;MinEdit=0;SecEdit=0",
         "00 00 00 CF 01 01"},   // 1999 keeps its low 8 bits
        {ClockRow, Ans, "EE EE EE EE EE EE", "CurrentTimeBox=0;DayEdit=31;MonthEdit=12;YearEdit=2000;HourEdit=23;MinEdit=59;SecEdit=58",
         "3A 3B 17 00 0C 1F"},   // 2000 is stored less 2000
        // No conversion: the byte is kept.
        {ClockRow, Ans, "EE EE EE EE EE EE", "CurrentTimeBox=0;DayEdit=1;MonthEdit=x;YearEdit=;HourEdit=300;MinEdit=-1;SecEdit=7",
         "07 FF 2C EE EE 01"},
        {TiltA, Ans, "00 81 5A", "ANGEdit=12.34;IN1ComboBox=0", "57 0C 5A"},
        // Before the first display: an empty edit keeps the value bits, a two-item combo without
        // selection sets its bit, a three-item one adds nothing.
        {TiltA, Ans, "34 12 5A", "", "34 92 5A"},
        {PressureB, Ans, "00 E8 5A", "", "00 28 5A"},
        {PressureA, Ans, "00 28 5A", "PEdit=1600", "00 00 5A"},                 // 65536 cut to 16 bits
        {PressureB, Ans, "00 00 5A", "PEdit=100;IN1ComboBox=1", "00 50 5A"},    // each model's own steps per unit
        {21, Ans, "00 00 5A", "FEdit=3.5", "C0 01 5A"},                         // 448
        {WindSpeed, Ans, "00 00 5A", "VEdit=12.5;IN1ComboBox=2", "7D 80 5A"},   // 125
        {49, Ans, "00 00 5A", "DEdit=10.25", "01 04 5A"},                       // 1025
        {TensionB, Ans, "0A 40 5A", "FEdit=abc;IN1ComboBox=2", "0A 80 5A"},     // value kept, input rebuilt
        {TensionB, Ans, "00 00 5A", "FEdit=-1;IN1ComboBox=2", "FF BF 5A"},      // two's complement cut to 14 bits
        {TensionC, Ans, "FF FF 5A", "FEdit=10", "0A 00 5A"},                    // unused bits cleared
        {LineProximityA, Ans, "FF FF 5A", "EEdit=5;IN2ComboBox=1;IN3ComboBox=2", "05 60 5A"},
        // The angle drops to 15 bits and the input bit is set by the combo alone.
        {BoomLengthA, Ans, "00 00 00 00", "ANGEdit=1.5;LENEdit=-1;IN1ComboBox=0", "80 01 00 FF", "1.5;255;0"},
        // Inside the range, yet a full word of steps: the word runs over to 0.
        {BoomLengthA, Ans, "00 00 34 12", "ANGEdit=0;LENEdit=255.999;IN1ComboBox=0", "00 00 00 00", "0;255.999;0"},
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
        // The rewritten text is the value that is cut, so it reads back the same.
        {BoomLengthC2, Ans, "00 00 00 00", "ANGEdit=0;LENEdit=-0.5;IN1ComboBox=0;IN2ComboBox=1", "00 00 FF 1F", "0;4095.5;0;1"},
        {BoomLengthC, Ans, "11 22 12 F5", "ANGEdit=x;LENEdit=y;IN1ComboBox=-1;IN2ComboBox=-1", "11 22 12 05", "x;y;-1;-1"},
        // The wrapped angle is held in single precision, and shown as such.
        {TravelG, Ans, "00 00 00 00", "ANGEdit=-0.01;LENEdit=3;IN1ComboBox=1;IN2ComboBox=2", "9F 8C 03 60", "359.989990234375;3;1;2"},
        {TravelG, Ans, "00 00 00 00", "ANGEdit=720.5;LENEdit=0;IN1ComboBox=0;IN2ComboBox=0", "32 00 00 00", "0.5;0;0;0"},
        // Single precision: 0.005 lies below its half step and is cut to 0.
        {TravelG, Ans, "00 00 00 00", "ANGEdit=0.005;LENEdit=0;IN1ComboBox=0;IN2ComboBox=0", "00 00 00 00", "0.005;0;0;0"},
        {TravelG, Ans, "11 22 33 F4", "ANGEdit=-;LENEdit=-;IN1ComboBox=0;IN2ComboBox=1", "11 22 33 14", "-;-;0;1"},
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
        {AzimuthB, Ans, "00 00", "ANGEdit=360;T1Edit=1;IN1ComboBox=0", "00 3C", "0;1;0"},             // 1 °C: the top step, 0
        {AzimuthB, Ans, "00 00", "ANGEdit=359.9;T1Edit=-22;IN1ComboBox=2", "00 A8", "359.9;-22;2"},   // 1024 steps cut to 10 bits; a half step up
        {AzimuthB, Ans, "00 00", "ANGEdit=-0.3;T1Edit=2;IN1ComboBox=0", "FF 03", "359.7;2;0"},
        // The temperature also rewrites the input's bits; a bad one clears only those.
        {AzimuthB, Ans, "12 EB", "ANGEdit=x;T1Edit=x;IN1ComboBox=-1", "12 2B", "x;x;-1"},
        {AzimuthB, Ans, "12 EB", "ANGEdit=x;T1Edit=-23;IN1ComboBox=1", "12 67", "x;-23;1"},
    });
    // The temperature's byte holds T + 40 at the ends of the edit's range as well.
    EXPECT_EQ(TemperatureByte(-2147483648LL), 0);
    EXPECT_EQ(TemperatureByte(2147483647LL), 255);
}

TEST(SensorFrames, TypedCellsReachTheBodies)
{
    CheckAll<Typed>({
        {TiltD, Ans, 3, "-1", "11 22 55", "9C FF 55"},   // half away from zero: -100 -> 65436
        {TiltD, Ans, 3, "abc", "11 22 55", "11 22 55"},
        {TiltD, Ans, 5, "6", "11 22 55", "11 22 95"},     // bits 6-7 only, from the low two bits
        {TiltD, Ans, 5, "1.5", "11 22 55", "11 22 55"},   // a plain integer only
        {TiltD, Ans, 4, "1", "11 22 55", "11 22 55"},
        {Receiver, Ans, 3, "5000", "00 F0", "88 F3"},   // masked to 12 bits, flags stay
        {Receiver, Ans, 5, "3010", "34 02", "34 A2"},   // any digit 1-3 sets its flag
        {Receiver, Ans, 5, "1", "34 F2", "34 12"},      // digit 0 is BatLow; missing digits clear
        {Receiver, Ans, 6, "1111", "34 92", "34 92"},
        {Engine, Ans, 3, "1500.06", "55 55 55", "E0 2E 55"},
        {Engine, Ans, 3, "abc", "55 55 55", "00 00 55"},   // no number: 0, as in the frame
        {Engine, Ans, 4, "250", "55 55 55", "55 55 3F"},
        {Engine, Ans, 4, "250.5", "55 55 55", "55 55 00"},   // an integer field
        {Engine, Ans, 5, "1", "55 55 55", "55 55 55"},
        {Temperature, Ans, 3, "-100", "77", "00"},
        {Temperature, Ans, 3, "12.5", "77", "77"},
        {Temperature, Ans, 4, "25", "77", "77"},
        // The first: L sign and magnitude, T cut toward zero, one input digit.
        {TravelA, Ans, 3, "7.5", "11 22 EE", "08 00 6E"},
        {TravelA, Ans, 4, "25.9", "11 22 6E", "11 22 42"},      // trunc(67.9) = 67 -> 64
        {TravelA, Ans, 5, "3", "11 22 6F", "11 22 6C"},         // no radix-3 digit
        {TravelB, Ans, 3, "65535.5", "11 22 33", "00 00 07"},   // the second: the 22-bit count keeps the input bits
        // The fourth: count under the state, state as a plain number.
        {TravelD, Ans, 3, "5000", "11 A2", "88 83", "checkBox12Bit=1"},
        {TravelD, Ans, 5, "5", "11 A2", "11 62", Count14},     // the low two bits
        {TravelD, Ans, 5, "2.0", "11 A2", "11 A2", Count14},   // not an integer
        {TravelE, Ans, 3, "40000", "11 A2", "40 9C"},          // the fifth: count under the mark
        {TravelE, Ans, 5, "2", "11 A2", "11 22"},
        {ClockRow, Ans, 3, "7.5", "22 11 33", "22 08 33"},   // the minute, half away from zero
        {ClockRow, Ans, 4, "-1", "22 11 33", "FF 11 33"},    // the second, low 8 bits
        {ClockRow, Ans, 3, "abc", "22 11 33", "22 11 33"},
        {ClockRow, Ans, 5, "1", "22 11 33", "22 11 33"},
        {TiltA, Ans, 3, "-1", "00 80 5A", "00 FF 5A"},         // raw -256 in 15 bits, bit 15 stays
        {TiltA, Ans, 5, "", "FF FF 5A", "FF 7F 5A"},           // an empty digit column clears the input
        {TiltA, Ans, 4, "9", "00 7F 5A", "00 7F 5A"},          // an unused column changes nothing
        {TensionC, Ans, 3, "-12.5", "00 C0 5A", "F3 FF 5A"},   // -13 cut to 14 bits
        {LineProximityA, Ans, 5, "21", "00 00 5A", "00 60 5A"},
        {LineProximityA, Ans, 5, "21x", "05 F0 5A", "05 00 5A"},               // no digit found: both cleared
        {LineProximityC, Ans, 5, "2", "00 3C 5A", "00 BC 5A"},                 // unused bits 10-13 stay
        {BoomLengthA, Ans, 3, "1.5", "00 80 00 00", "80 81 00 00"},            // the input bit stays
        {BoomLengthA, Ans, 4, "-0.001953125", "00 00 00 00", "00 00 FF FF"},   // half a step: away from zero
        {BoomLengthA, Ans, 5, "", "00 80 00 00", "00 00 00 00"},
        {BoomLengthA, Ans, 3, "abc", "01 02 03 04", "01 02 03 04"},
        {BoomLengthB, Ans, 3, "-1.5", "00 00 00 00", "01 03 00 00"},
        {BoomLengthB, Ans, 3, "-0.001", "01 00 00 00", "00 00 00 00"},
        {BoomLengthB, Ans, 4, "15", "00 00 00 F0", "00 00 00 FF"},   // the inputs above stay
        {BoomLengthB, Ans, 5, "3", "00 00 00 F5", "00 00 00 05"},    // no digit of radix 3
        {BoomLengthC, Ans, 4, "10.7", "00 00 00 F0", "00 00 0B F0"},
        {BoomLengthC2, Ans, 4, "4096", "00 00 00 00", "00 00 00 00"},
        {BoomLengthC2, Ans, 5, "1 2", "00 00 00 30", "00 00 00 90"},
        {TravelG, Ans, 3, "400", "00 00 00 00", "40 9C 00 00"},   // beyond the turn: not wrapped
        {AzimuthA, Ans, 3, "200", "00 40 00 00 00", "C8 40 00 00 00"},
        {AzimuthA, Ans, 3, "-0.4", "05 80 00 00 00", "00 00 00 00 00"},
        {AzimuthA, Ans, 4, "129", "00 00 00 00 00", "00 00 01 00 00"},
        {AzimuthA, Ans, 5, "", "00 C0 00 00 00", "00 80 00 00 00"},
        {AzimuthA, Ans, 3, "x", "01 02 03 04 05", "01 02 03 04 05"},
        {AzimuthC, Ans, 5, "1", "00 80 00 00 00", "00 A0 00 00 00"},
        {AzimuthC, Ans, 5, "2", "00 E0 00 00 00", "00 80 00 00 00"},   // code 2 cannot be typed
        {AzimuthB, Ans, 3, "400", "00 FC", "72 FC"},                   // 1138 steps, cut to 10 bits
        {AzimuthB, Ans, 4, "-21.5", "00 C3", "00 EB"},
        {AzimuthB, Ans, 5, "3", "00 FF", "00 3F"},
    });
    for (int column = 2; column <= 6; ++column)   // not typed in the grid
        CheckAll<Typed>({{Meter, Ans, column, "101", "81 2C 05 06", "81 2C 05 06"}, {Meter, Ans, column, "", "81 2C 05 06", "81 2C 05 06"}});
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
    EXPECT_EQ(rig.object.Answer[2], 30) << "unticked, the typed time is kept";
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
    rowless.object.Answer[3] = 0x80;
    rowless.Show(Ans);
    EXPECT_EQ(rowless.Frame<TBoomLengthAFrame>().LENEdit->Text(), "0.50");
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
            device.object.Answer[0] = 0xAA;
            device.object.Answer[BodySize(row) + 1] = 0x55;
            device.Frame<TAngleValueFrame>().ANGEdit->SetText(text);
            device.Frame<TAngleValueFrame>().SecondEdit->SetText(text);
            device.Build(Ans);
            device.Build(Ans);
            for (int column : {3, 4, 5})
                device.info->GridToAnswer(text, column);
            device.Show(Ans);
            EXPECT_EQ(device.object.Answer[0], 0xAA);
            EXPECT_EQ(device.object.Answer[BodySize(row) + 1], 0x55);
            for (std::size_t i = BodySize(row) + 2; i < device.object.Answer.size(); ++i)
                EXPECT_EQ(device.object.Answer[i], 0) << "byte " << i;
        }
    }
}

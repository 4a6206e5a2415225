// The clock frame on its catalogue row: date and time between body, frame, grid and info line.
#include "frames/Clock.h"
#include "FrameRig.h"

namespace {
constexpr int ClockRow = 53;

// Pins the clock's idea of now for a scope.
struct PinnedNow {
    explicit PinnedNow(QDateTime now) { Now = now, TClockFrame::CurrentDateTime = [] { return Now; }; }
    ~PinnedNow() { TClockFrame::CurrentDateTime = saved; }
    static inline QDateTime Now;
    QDateTime (*saved)() = TClockFrame::CurrentDateTime;
};

// The edits run day to second; the body the other way: second, minute, hour, year - 2000, month, day.
const char* const Edits = "DayEdit;MonthEdit;YearEdit;HourEdit;MinEdit;SecEdit";
}

TEST(ClockFrame, DateAndTimeBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {ClockRow, Ans, "05 07 09 18 03 01", Edits, "01;03;2024;09;07;05", "07|05|-|-", "01.03.2024 09:07:05"},
        {ClockRow, Ans, "FF 64 17 FF 00 00", Edits, "00;00;2255;23;100;255", "100|255|-|-", "00.00.2255 23:100:255"},
        // 1999 typed is stored as 207 and comes back as 2207.
        {ClockRow, Ans, "00 00 00 CF 01 01", Edits, "01;01;2207;00;00;00", "00|00|-|-", "01.01.2207 00:00:00"},
    });
    const char* before = "EE EE EE EE EE EE";
    CheckAll<Built>({
        {ClockRow, Ans, before, "CurrentTimeBox=0;DayEdit=1;MonthEdit=1;YearEdit=1999;HourEdit=0;MinEdit=0;SecEdit=0",
         "00 00 00 CF 01 01"},   // 1999 keeps its low 8 bits
        // No conversion: the byte is kept.
        {ClockRow, Ans, before, "CurrentTimeBox=0;DayEdit=1;MonthEdit=x;YearEdit=;HourEdit=300;MinEdit=-1;SecEdit=7",
         "07 FF 2C EE EE 01"},
    });
    before = "22 11 33";
    CheckAll<Typed>({
        {ClockRow, Ans, 3, "7.5", before, "22 08 33"},   // the minute, half away from zero
        {ClockRow, Ans, 4, "-1", before, "FF 11 33"},    // the second, low 8 bits
        {ClockRow, Ans, 3, "abc", before, before},
        {ClockRow, Ans, 5, "1", before, before},
    });
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

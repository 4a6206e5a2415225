// The clock frame on its catalogue row: date and time between body, frame, grid and info line.
#include "frames/Clock.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int ClockRow = 53;

// Pins the clock's idea of now for a scope.
struct PinnedNow {
    explicit PinnedNow(QDateTime now) { Now = now, TClockFrame::CurrentDateTime = [] { return Now; }; }
    ~PinnedNow() { TClockFrame::CurrentDateTime = saved; }
    static inline QDateTime Now;
    QDateTime (*saved)() = TClockFrame::CurrentDateTime;
};

// Day, month, year, hour, minute, second; the body runs the other way: second, minute, hour,
// year - 2000, month, day.
std::vector<TEdit*> Edits(const TClockFrame& f) { return {f.DayEdit, f.MonthEdit, f.YearEdit, f.HourEdit, f.MinEdit, f.SecEdit}; }
}

TEST(ClockFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Case { Body body; std::vector<QString> edits, shown; };
    const Case cases[] = {
        {{5, 7, 9, 24, 3, 1}, {"01", "03", "2024", "09", "07", "05"}, {"07", "05", "-", "-", "01.03.2024 09:07:05"}},
        {{255, 100, 23, 255, 0, 0}, {"00", "00", "2255", "23", "100", "255"}, {"100", "255", "-", "-", "00.00.2255 23:100:255"}},
    };
    for (const Case& c : cases) {
        FrameDevice device(ClockRow);
        EXPECT_EQ(ShowBody(device, c.body), c.shown);
        EXPECT_EQ(EditTexts(Edits(device.Frame<TClockFrame>())), c.edits);
    }
}

TEST(ClockFrame, TypedDateAndTimeBuildTheAnswer)
{
    struct Case { std::vector<QString> edits; Body body; };
    const Case cases[] = {
        {{"01", "03", "2024", "09", "07", "05"}, {5, 7, 9, 24, 3, 1}},
        {{"1", "1", "1999", "0", "0", "0"}, {0, 0, 0, 207, 1, 1}},           // 1999 keeps its low 8 bits
        {{"1", "x", "", "300", "-1", "7"}, {7, 255, 44, 0xEE, 0xEE, 1}},     // no conversion: byte kept
    };
    for (const Case& c : cases) {
        FrameDevice device(ClockRow);
        auto& frame = device.Frame<TClockFrame>();
        frame.CurrentTimeBox->SetChecked(false);
        SetEditTexts(Edits(frame), c.edits);
        EXPECT_EQ(BuildOver(device, Body(6, 0xEE)), c.body) << c.edits[2].toStdString();
    }
}

TEST(ClockFrame, CurrentTimeIsTakenWhenTheAnswerIsBuilt)
{
    FrameDevice device(ClockRow);
    auto& frame = device.Frame<TClockFrame>();
    {
        PinnedNow now(QDateTime(QDate(2031, 7, 4), QTime(8, 5, 9)));
        EXPECT_EQ(BuildOver(device, Body(6, 0)), (Body{9, 5, 8, 31, 7, 4}));
        EXPECT_EQ(EditTexts(Edits(frame)), (std::vector<QString>{"04", "07", "2031", "08", "05", "09"}));
    }
    {
        PinnedNow later(QDateTime(QDate(2031, 7, 4), QTime(8, 6, 0)));
        device.info->FrameToAnswer();   // as the emulation calls it, before each answer
        EXPECT_EQ(BodyOf(device.Answer(), 2), (Body{0, 6}));
    }
    frame.CurrentTimeBox->SetChecked(false);
    frame.MinEdit->SetText("30");
    device.BuildAnswer();
    EXPECT_EQ(device.Answer()[2], 30) << "unticked, the typed time is kept";
}

TEST(ClockFrame, GridCellsSetMinuteAndSecond)
{
    struct Case { int column; const char* text; std::uint8_t second, minute; };
    const Case cases[] = {
        {3, "7.5", 0x22, 8},       // half away from zero
        {4, "-1", 255, 0x11},      // the low 8 bits of -1
        {3, "abc", 0x22, 0x11},    // no conversion: unchanged
        {5, "1", 0x22, 0x11},      // other columns change nothing
    };
    for (const Case& c : cases) {
        FrameDevice device(ClockRow);
        EXPECT_EQ(AfterCell(device, {0x22, 0x11, 0x33}, c.column, c.text), (Body{c.second, c.minute, 0x33})) << c.column << " " << c.text;
    }
}

// The clock frame on its catalogue row: date and time between body, frame, grid and info line.
#include "frames/Clock.h"
#include "FrameDevice.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr int ClockRow = 53;

// Answer body: second, minute, hour, year - 2000, month, day.
void SetBody(TMessageImage& answer, std::vector<std::uint8_t> body)
{
    for (std::size_t i = 0; i < body.size(); ++i)
        answer[i + 1] = body[i];
}
std::vector<std::uint8_t> Body(const TMessageImage& answer) { return {answer.begin() + 1, answer.begin() + 7}; }

// Pins the clock's idea of now for a scope.
class PinnedNow {
public:
    explicit PinnedNow(QDateTime now) : saved_(TClockFrame::CurrentDateTime)
    {
        Now = now;
        TClockFrame::CurrentDateTime = [] { return Now; };
    }
    ~PinnedNow() { TClockFrame::CurrentDateTime = saved_; }
    static inline QDateTime Now;

private:
    QDateTime (*saved_)();
};

std::vector<QString> Edits(const TClockFrame& f)
{
    return {f.DayEdit->Text(), f.MonthEdit->Text(), f.YearEdit->Text(),
            f.HourEdit->Text(), f.MinEdit->Text(), f.SecEdit->Text()};
}
}

TEST(ClockFrame, RowMakesTheFrameWithItsControls)
{
    FrameDevice device(ClockRow);
    auto& frame = device.Frame<TClockFrame>();
    EXPECT_STREQ(frame.ClassName(), "TClockFrame");
    EXPECT_EQ(DeviceCatalogue[ClockRow].DescribeAnswer, DescribeClockAnswer);
    EXPECT_EQ(DeviceCatalogue[ClockRow].DescribeRequest, nullptr);

    std::vector<QString> names;
    for (const TControl* control : Controls(frame.InPanel))
        names.push_back(control->Name());
    const std::vector<QString> expected = {
        "DateLabel", "D1Label", "D2Label", "TimeLabel", "T1Label", "T2Label",
        "DayEdit", "DayUpDown", "MonthEdit", "MonthUpDown", "YearEdit", "YearUpDown",
        "HourEdit", "HourUpDown", "MinEdit", "MinUpDown", "SecEdit", "SecUpDown", "CurrentTimeBox"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(frame.DateLabel->Caption(), "Дата:");
    EXPECT_EQ(frame.TimeLabel->Caption(), "Время:");
    EXPECT_EQ(frame.D1Label->Caption(), ".");
    EXPECT_EQ(frame.T2Label->Caption(), ":");
    EXPECT_EQ(frame.CurrentTimeBox->Caption(), "Текущее время");
    EXPECT_TRUE(frame.CurrentTimeBox->Checked());

    const std::pair<TEdit*, TUpDown*> pairs[] = {
        {frame.DayEdit, frame.DayUpDown}, {frame.MonthEdit, frame.MonthUpDown}, {frame.YearEdit, frame.YearUpDown},
        {frame.HourEdit, frame.HourUpDown}, {frame.MinEdit, frame.MinUpDown}, {frame.SecEdit, frame.SecUpDown}};
    for (const auto& [edit, upDown] : pairs) {
        EXPECT_EQ(edit->Tag, 0) << edit->Name().toStdString();
        EXPECT_EQ(upDown->TagWidget(), edit) << upDown->Name().toStdString();
        EXPECT_EQ(upDown->Min(), 0);
        EXPECT_EQ(upDown->Max(), 100);
    }

    const TDeviceInfo& info = *device.info;
    EXPECT_TRUE(info.GridToAnswer && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_FALSE(info.GridToRequest || info.FrameToRequest || info.RequestToFrame || info.RequestToGrid);
    EXPECT_EQ(info.RequestPanel, nullptr);
    EXPECT_EQ(info.AnswerPanel, frame.InPanel);
}

TEST(ClockFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        std::vector<std::uint8_t> body;
        std::vector<QString> edits;   // day, month, year, hour, minute, second
        const char* minute;
        const char* second;
        const char* info;
    };
    const Row rows[] = {
        {{5, 7, 9, 24, 3, 1}, {"01", "03", "2024", "09", "07", "05"}, "07", "05", "01.03.2024 09:07:05"},
        {{0, 0, 0, 207, 12, 31}, {"31", "12", "2207", "00", "00", "00"}, "00", "00", "31.12.2207 00:00:00"},
        {{255, 100, 23, 255, 0, 0}, {"00", "00", "2255", "23", "100", "255"}, "100", "255", "00.00.2255 23:100:255"},
    };
    for (const Row& r : rows) {
        FrameDevice device(ClockRow);
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        EXPECT_EQ(Edits(device.Frame<TClockFrame>()), r.edits);
        EXPECT_EQ(device.grid.Cell(3), r.minute);
        EXPECT_EQ(device.grid.Cell(4), r.second);
        EXPECT_EQ(device.grid.Cell(5), "-");
        EXPECT_EQ(device.grid.Cell(6), "-");
        EXPECT_EQ(DescribeClockAnswer(device.Answer().data()), r.info);
    }
}

TEST(ClockFrame, TypedDateAndTimeBuildTheAnswer)
{
    struct Row {
        std::vector<QString> edits;   // day, month, year, hour, minute, second
        std::vector<std::uint8_t> body;   // second, minute, hour, year - 2000, month, day
    };
    const Row rows[] = {
        {{"01", "03", "2024", "09", "07", "05"}, {5, 7, 9, 24, 3, 1}},
        {{"1", "1", "1999", "0", "0", "0"}, {0, 0, 0, 207, 1, 1}},    // 1999 keeps its low 8 bits
        {{"1", "x", "", "300", "-1", "7"}, {7, 255, 44, 0xEE, 0xEE, 1}},   // no conversion: byte kept
    };
    for (const Row& r : rows) {
        FrameDevice device(ClockRow);
        auto& frame = device.Frame<TClockFrame>();
        frame.CurrentTimeBox->SetChecked(false);
        SetBody(device.Answer(), {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
        TEdit* edits[] = {frame.DayEdit, frame.MonthEdit, frame.YearEdit, frame.HourEdit, frame.MinEdit, frame.SecEdit};
        for (int i = 0; i < 6; ++i)
            edits[i]->SetText(r.edits[static_cast<std::size_t>(i)]);
        device.BuildAnswer();
        EXPECT_EQ(Body(device.Answer()), r.body) << r.edits[2].toStdString();
        EXPECT_EQ(device.Answer()[7], 0) << "the XOR byte belongs to the line engine";
    }

    // The year typed as 1999 comes back as 2207.
    FrameDevice device(ClockRow);
    auto& frame = device.Frame<TClockFrame>();
    frame.CurrentTimeBox->SetChecked(false);
    frame.YearEdit->SetText("1999");
    device.BuildAnswer();
    device.ShowAnswer();
    EXPECT_EQ(frame.YearEdit->Text(), "2207");
}

TEST(ClockFrame, CurrentTimeIsTakenWhenTheAnswerIsBuilt)
{
    FrameDevice device(ClockRow);
    auto& frame = device.Frame<TClockFrame>();
    {
        PinnedNow now(QDateTime(QDate(2031, 7, 4), QTime(8, 5, 9)));
        device.BuildAnswer();
        EXPECT_EQ(Body(device.Answer()), (std::vector<std::uint8_t>{9, 5, 8, 31, 7, 4}));
        EXPECT_EQ(Edits(frame), (std::vector<QString>{"04", "07", "2031", "08", "05", "09"}));
    }
    {
        PinnedNow later(QDateTime(QDate(2031, 7, 4), QTime(8, 6, 0)));
        device.info->FrameToAnswer();   // as the emulation calls it, before each answer
        EXPECT_EQ(device.Answer()[1], 0);
        EXPECT_EQ(device.Answer()[2], 6);
    }
    frame.CurrentTimeBox->SetChecked(false);
    frame.MinEdit->SetText("30");
    device.BuildAnswer();
    EXPECT_EQ(device.Answer()[2], 30) << "unticked, the typed time is kept";
}

TEST(ClockFrame, GridCellsSetMinuteAndSecond)
{
    struct Row { int column; const char* text; std::uint8_t minute, second; };
    const Row rows[] = {
        {3, "7.5", 8, 0x22},       // half away from zero
        {3, "7.4", 7, 0x22},
        {4, "59.5", 0x11, 60},
        {4, "-1", 0x11, 255},      // the low 8 bits of -1
        {3, "300", 44, 0x22},
        {3, "abc", 0x11, 0x22},    // no conversion: unchanged
        {3, "1e30", 0x11, 0x22},
        {5, "1", 0x11, 0x22},      // other columns change nothing
        {6, "1", 0x11, 0x22},
    };
    for (const Row& r : rows) {
        FrameDevice device(ClockRow);
        SetBody(device.Answer(), {0x22, 0x11, 0x33, 0x44, 0x55, 0x66});
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(device.Answer()[2], r.minute) << r.column << " " << r.text;
        EXPECT_EQ(device.Answer()[1], r.second) << r.column << " " << r.text;
        EXPECT_EQ(device.Answer()[3], 0x33);
    }
}

TEST(ClockFrame, CellsAreWrittenOnlyWhenTheyDiffer)
{
    FrameDevice device(ClockRow);
    SetBody(device.Answer(), {1, 2, 3, 4, 5, 6});
    device.ShowAnswer();
    device.ShowAnswer();
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(device.grid.Writes[column], 1) << "column " << column;
    device.Answer()[1] = 9;   // the second changes
    device.ShowAnswer();
    EXPECT_EQ(device.grid.Writes[3], 1);
    EXPECT_EQ(device.grid.Writes[4], 2);
    EXPECT_EQ(device.grid.Cell(4), "09");
}

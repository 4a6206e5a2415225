#include "frames/Clock.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
// The answer body, one byte each.
constexpr Bits SecondByte{1, 0, 8};
constexpr Bits MinuteByte{2, 0, 8};
constexpr Bits HourByte{3, 0, 8};
constexpr Bits YearByte{4, 0, 8};   // year - 2000
constexpr Bits MonthByte{5, 0, 8};
constexpr Bits DayByte{6, 0, 8};
constexpr int YearBase = 2000;
constexpr int ClockRow = 53;

constexpr int FieldHeight = 28;

// A year typed from 2000 on is stored less 2000; every value keeps its low 8 bits.
std::int64_t YearRaw(int year) { return year >= YearBase ? year - YearBase : year; }
std::uint32_t Year(const TMessageImage& answer) { return YearByte.get(answer) + YearBase; }

void StoreEdit(TMessageImage& answer, const Bits& bits, const TEdit* edit, bool year = false)
{
    if (const std::optional<int> value = StrToInt(edit->Text()))
        bits.store(answer, year ? YearRaw(*value) : *value);
}

QString TwoDigits(std::uint32_t value) { return FormatFloat("00", value); }
}

QDateTime (*TClockFrame::CurrentDateTime)() = &QDateTime::currentDateTime;

TClockFrame::TClockFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    const auto label = [this](const char* name, const char* caption, int left, int top, int width) {
        TLabel* l = AddLabel(InPanel, name, QString::fromUtf8(caption), left, top);
        l->SetBounds(left, top, width, FieldHeight);
        return l;
    };
    const auto edit = [this](const char* name, int left, int top, int width) {
        TEdit* e = AddEdit(InPanel, name, left, top, width, EditUInt);
        e->SetHeight(FieldHeight);
        return e;
    };
    DateLabel = label("DateLabel", "Дата:", 6, 6, 66);
    D1Label = label("D1Label", ".", 124, 6, 8);
    D2Label = label("D2Label", ".", 184, 6, 8);
    TimeLabel = label("TimeLabel", "Время:", 6, 42, 66);
    T1Label = label("T1Label", ":", 124, 42, 8);
    T2Label = label("T2Label", ":", 184, 42, 8);
    DayEdit = edit("DayEdit", 72, 6, 50);
    DayUpDown = AddUpDown(InPanel, "DayUpDown", DayEdit);
    MonthEdit = edit("MonthEdit", 132, 6, 50);
    MonthUpDown = AddUpDown(InPanel, "MonthUpDown", MonthEdit);
    YearEdit = edit("YearEdit", 192, 6, 66);
    YearUpDown = AddUpDown(InPanel, "YearUpDown", YearEdit);
    HourEdit = edit("HourEdit", 72, 42, 50);
    HourUpDown = AddUpDown(InPanel, "HourUpDown", HourEdit);
    MinEdit = edit("MinEdit", 132, 42, 50);
    MinUpDown = AddUpDown(InPanel, "MinUpDown", MinEdit);
    SecEdit = edit("SecEdit", 192, 42, 50);
    SecUpDown = AddUpDown(InPanel, "SecUpDown", SecEdit);
    CurrentTimeBox = AddFrameStateBox(InPanel, "CurrentTimeBox", QStringLiteral("Текущее время"), 72, 78, 150);
    InPanel->SetHeight(114);
    FitHeight();
    FillAnswerOnlySlots(this);
    CurrentTimeBox->SetChecked(true);
}

void TClockFrame::showDateTime(const QDateTime& now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    DayEdit->SetText(TwoDigits(static_cast<std::uint32_t>(date.day())));
    MonthEdit->SetText(TwoDigits(static_cast<std::uint32_t>(date.month())));
    YearEdit->SetText(FormatFloat("0000", date.year()));
    HourEdit->SetText(TwoDigits(static_cast<std::uint32_t>(time.hour())));
    MinEdit->SetText(TwoDigits(static_cast<std::uint32_t>(time.minute())));
    SecEdit->SetText(TwoDigits(static_cast<std::uint32_t>(time.second())));
}

void TClockFrame::FrameToAnswer()
{
    if (CurrentTimeBox->Checked())
        showDateTime(CurrentDateTime());
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreEdit(answer, DayByte, DayEdit);
    StoreEdit(answer, MonthByte, MonthEdit);
    StoreEdit(answer, YearByte, YearEdit, true);
    StoreEdit(answer, HourByte, HourEdit);
    StoreEdit(answer, MinuteByte, MinEdit);
    StoreEdit(answer, SecondByte, SecEdit);
}

void TClockFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    DayEdit->SetText(TwoDigits(DayByte.get(answer)));
    MonthEdit->SetText(TwoDigits(MonthByte.get(answer)));
    YearEdit->SetText(FormatFloat("0000", Year(answer)));
    HourEdit->SetText(TwoDigits(HourByte.get(answer)));
    MinEdit->SetText(TwoDigits(MinuteByte.get(answer)));
    SecEdit->SetText(TwoDigits(SecondByte.get(answer)));
}

void TClockFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, TwoDigits(MinuteByte.get(answer)));
    WriteCell(*Info, 4, TwoDigits(SecondByte.get(answer)));
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, NoValueText);
}

void TClockFrame::GridToAnswer(const QString& text, int column)
{
    if (column != 3 && column != 4)
        return;
    const Num field{column == 3 ? MinuteByte : SecondByte};
    if (const std::optional<std::int64_t> raw = field.fromCell(text))
        field.bits.store(Info->SchemeObject->Answer, *raw);
}

TFrame* CreateClockFrame(QWidget* owner, TDeviceInfo* info) { return new TClockFrame(owner, info); }

QString DescribeClockAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("%02u.%02u.%04u %02u:%02u:%02u", DayByte.get(m), MonthByte.get(m),
                      Year(m), HourByte.get(m), MinuteByte.get(m), SecondByte.get(m));
}

void RegisterClockFrame() { BindRows({ClockRow}, CreateClockFrame, nullptr, DescribeClockAnswer); }

#include "frames/Temperature.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
constexpr int TemperatureRow = 80;
constexpr Bits TemperatureBits{1, 0, 8};
constexpr int Offset = 40;
constexpr int Lowest = -40;
constexpr int Highest = 215;

constexpr int FieldHeight = 28;

int Celsius(const TMessageImage& answer) { return static_cast<int>(TemperatureBits.get(answer)) - Offset; }
}

std::uint8_t TemperatureByte(std::int64_t celsius)
{
    if (celsius < Lowest)
        return 0;
    if (celsius > Highest)
        return 255;
    return static_cast<std::uint8_t>(celsius + Offset);
}

TTemperatureFrame::TTemperatureFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    FLabel = AddLabel(InPanel, "FLabel", "T:", 6, 6);
    FLabel->SetBounds(6, 6, 66, FieldHeight);
    TempEdit = AddEdit(InPanel, "TempEdit", 72, 6, 114, EditSInt);
    TempEdit->SetHeight(FieldHeight);
    FUpDown = AddUpDown(InPanel, "FUpDown", TempEdit, -128, 127, 1, true);
    InPanel->SetHeight(42);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TTemperatureFrame::FrameToAnswer()
{
    // An emulated sensor always answers: a text that is no number sends 0 °C.
    const int celsius = StrToInt(TempEdit->Text()).value_or(0);
    TemperatureBits.store(Info->SchemeObject->Answer, TemperatureByte(celsius));
}

void TTemperatureFrame::AnswerToFrame() { TempEdit->SetText(QString::number(Celsius(Info->SchemeObject->Answer))); }

void TTemperatureFrame::AnswerToGrid()
{
    WriteCell(*Info, 3, QString::number(Celsius(Info->SchemeObject->Answer)));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, NoValueText);
}

void TTemperatureFrame::GridToAnswer(const QString& text, int column)
{
    if (column != 3)
        return;
    if (const std::optional<int> celsius = StrToInt(text))
        TemperatureBits.store(Info->SchemeObject->Answer, TemperatureByte(*celsius));
}

TFrame* CreateTemperatureFrame(QWidget* owner, TDeviceInfo* info) { return new TTemperatureFrame(owner, info); }

QString DescribeTemperatureAnswer(const std::uint8_t* message)
{
    return FormatLine("T=%d", Celsius(ImageOf(message)));
}

void RegisterTemperatureFrames()
{
    BindRows({TemperatureRow}, CreateTemperatureFrame, nullptr, DescribeTemperatureAnswer);
}

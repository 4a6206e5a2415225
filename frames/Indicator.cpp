#include "frames/Indicator.h"

#include "frames/shared/BlockFields.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
// Request and answer carry the same byte.
constexpr Bits ValueBits{1, 0, 7};   // percent, 0..127
constexpr Bits AlarmBit{1, 7, 1};
constexpr Bits AlarmColumnFields[] = {AlarmBit};
constexpr DigitColumn AlarmColumn{AlarmColumnFields, 2, 4};

constexpr int RowTop = 8;
constexpr int EditLeft = 96;
constexpr int EditWidth = 60;
constexpr int SideHeight = 36;

// The value's text is converted by itself: a text that does not convert keeps the value bits,
// the alarm bit is rebuilt from its box either way.
void StoreByte(TMessageImage& image, const TEdit* valueEdit, const TCheckBox* alarmBox)
{
    const Num value{ValueBits};
    if (const std::optional<std::int64_t> raw = value.fromEdit(valueEdit->Text()))
        ValueBits.store(image, *raw);
    else
        ValueBits.keepOnly(image);
    AlarmBit.orIn(image, alarmBox->Checked() ? 1 : 0);
}

void ShowByte(const TMessageImage& image, TEdit* valueEdit, TCheckBox* alarmBox)
{
    valueEdit->SetText(QString::number(ValueBits.get(image)));
    alarmBox->SetChecked(AlarmBit.get(image) != 0);
}

QString DescribeByte(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("Value=%u, Alarm=%c", ValueBits.get(m), DigitChar(m, AlarmBit));
}
}

TIndicatorFrame::TIndicatorFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    const QString valueCaption = QStringLiteral("Value, %:");
    const QString alarmCaption = QStringLiteral("Alarm");

    ValueLabel = AddLabel(OutPanel, "ValueLabel", valueCaption, 6, RowTop);
    ValueEdit = AddEdit(OutPanel, "ValueEdit", EditLeft, RowTop - 3, EditWidth, EditUInt);
    ValueUpDown = AddUpDown(OutPanel, "ValueUpDown", ValueEdit, 0, 127);
    AlarmCheckBox = AddCheckBox(OutPanel, "AlarmCheckBox", alarmCaption, 180, RowTop);
    OutPanel->SetHeight(SideHeight);

    ValueLabel_ = AddLabel(InPanel, "ValueLabel_", valueCaption, 6, RowTop);
    ValueEdit_ = AddEdit(InPanel, "ValueEdit_", EditLeft, RowTop - 3, EditWidth, EditUInt);
    ValueUpDown_ = AddUpDown(InPanel, "ValueUpDown_", ValueEdit_, 0, 127);
    AlarmCheckBox_ = AddCheckBox(InPanel, "AlarmCheckBox_", alarmCaption, 180, RowTop);
    AutoAnswerBox = AddFrameStateBox(InPanel, "AutoAnswerBox", QStringLiteral("Автоматическое формирование"), 4,
                                     RowTop + SideHeight - 4, FrameWidth - 4);
    InPanel->SetHeight(2 * SideHeight);

    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TIndicatorFrame::FrameToRequest() { StoreByte(Info->SchemeObject->Request, ValueEdit, AlarmCheckBox); }

void TIndicatorFrame::RequestToFrame() { ShowByte(Info->SchemeObject->Request, ValueEdit, AlarmCheckBox); }

void TIndicatorFrame::RequestToGrid() { WriteCell(*Info, 2, AlarmColumn.text(Info->SchemeObject->Request)); }

void TIndicatorFrame::GridToRequest(const QString& text, int column)
{
    if (column == 2)
        AlarmColumn.read(Info->SchemeObject->Request, text);
}

void TIndicatorFrame::FrameToAnswer()
{
    // The emulated answer repeats the request as the request controls show it. Copying into the
    // answer controls fires their change events, so the answer's grid cells follow as well.
    if (AutoAnswerBox->Checked()) {
        ValueEdit_->SetText(ValueEdit->Text());
        AlarmCheckBox_->SetChecked(AlarmCheckBox->Checked());
    }
    StoreByte(Info->SchemeObject->Answer, ValueEdit_, AlarmCheckBox_);
}

void TIndicatorFrame::AnswerToFrame() { ShowByte(Info->SchemeObject->Answer, ValueEdit_, AlarmCheckBox_); }

void TIndicatorFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, QString::number(ValueBits.get(answer)));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, AlarmColumn.text(answer));
}

void TIndicatorFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (column == 3)
        SetCellValue(answer, Num{ValueBits}, text);
    else if (column == 6)
        AlarmColumn.read(answer, text);
}

TFrame* CreateIndicatorFrame(QWidget* owner, TDeviceInfo* info) { return new TIndicatorFrame(owner, info); }

QString DescribeIndicatorRequest(const std::uint8_t* message) { return DescribeByte(message); }
QString DescribeIndicatorAnswer(const std::uint8_t* message) { return DescribeByte(message); }

void RegisterIndicatorFrames()
{
    BindRows({58, 59}, CreateIndicatorFrame, DescribeIndicatorRequest, DescribeIndicatorAnswer);
}

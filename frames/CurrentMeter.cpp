#include "frames/CurrentMeter.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "platform/Numbers.h"

namespace {
constexpr int CurrentMeterRow = 61;
constexpr Bits StatusByte{1, 0, 8};
constexpr Bits StatusBits{1, 1, 7};   // the seven status flags above the voltage's top bit
constexpr Bits VoltageTopBit{1, 0, 1};
constexpr Bits VoltageLow{2, 0, 8};
constexpr Bits Current1{3, 0, 8};
constexpr Bits Current2{4, 0, 8};
constexpr int VoltageTop = 256;

constexpr int FieldHeight = 28;
constexpr int EditLeft = 72;
constexpr int EditWidth = 114;
constexpr int BoxesLeft = 84;
constexpr int BoxPitch = 28;

int Voltage(const TMessageImage& answer)
{
    return static_cast<int>(VoltageTopBit.get(answer)) * VoltageTop + static_cast<int>(VoltageLow.get(answer));
}
QString StatusText(const TMessageImage& answer) { return FormatBits(static_cast<std::uint8_t>(StatusBits.get(answer))); }
int Number(const TEdit* edit) { return StrToInt(edit->Text()).value_or(0); }
}

TCurrentMeterFrame::TCurrentMeterFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    ButLabel = AddLabel(InPanel, "ButLabel", "Bits:", 6, 6);
    ButLabel->SetBounds(6, 6, 50, FieldHeight);
    But3Label = AddLabel(InPanel, "But3Label", "8", BoxesLeft - 18, 6);
    But3Label->SetBounds(BoxesLeft - 18, 6, 14, FieldHeight);
    // Left to right from the highest bit, as the block's documentation numbers them.
    // clang-format off
    const struct { TCheckBox** box; const char* name; const char* hint; } boxes[] = {
        {&Bit8Box, "Bit8Box", "Ready"},
        {&Bit7Box, "Bit7Box", "Phase Break"},
        {&Bit6Box, "Bit6Box", "Phase Skew"},
        {&Bit5Box, "Bit5Box", "Phase Alteration"},
        {&Bit4Box, "Bit4Box", "I1 Skew"},
        {&Bit3Box, "Bit3Box", "I2 Skew"},
        {&Bit2Box, "Bit2Box", "Eeprom failure"},
    };
    // clang-format on
    int left = BoxesLeft;
    for (const auto& b : boxes) {
        *b.box = AddCheckBox(InPanel, b.name, QString(), left, 12, 18);
        (*b.box)->SetHint(QString::fromLatin1(b.hint));
        left += BoxPitch;
    }
    But1Label = AddLabel(InPanel, "But1Label", "2", left, 6);
    But1Label->SetBounds(left, 6, 14, FieldHeight);
    Bevel1 = AddBevel(InPanel, "Bevel1", 6, 40, 312, 3, TBevelShape::BottomLine);

    const auto row = [this](TLabel*& label, const char* labelName, const char* caption, TEdit*& edit,
                            const char* editName, TUpDown*& upDown, const char* upDownName, int max, int top) {
        label = AddLabel(InPanel, labelName, QString::fromUtf8(caption), 6, top);
        label->SetBounds(6, top, EditLeft - 6, FieldHeight);
        edit = AddEdit(InPanel, editName, EditLeft, top, EditWidth, EditUInt);
        edit->SetHeight(FieldHeight);
        // The field's range; stepping past either end wraps round.
        upDown = AddUpDown(InPanel, upDownName, edit, 0, max, 1, true);
    };
    row(VoltageLabel, "VoltageLabel", "U, В:", VoltageEdit, "VoltageEdit", VoltageUpDown, "VoltageUpDown", 511, 50);
    row(Label1, "Label1", "I1, А:", I1Edit, "I1Edit", UpDown1, "UpDown1", 255, 86);
    row(Label2, "Label2", "I2, А:", I2Edit, "I2Edit", UpDown2, "UpDown2", 255, 122);
    Bevel2 = AddBevel(InPanel, "Bevel2", 6, 156, 312, 3, TBevelShape::BottomLine);
    Panel3 = AddPanel(InPanel, "Panel3", 0, 162, FrameWidth, 6);
    InPanel->SetHeight(168);
    FitHeight();
    FillAnswerOnlySlots(this);
    statusBoxes_ = {Bit2Box, Bit3Box, Bit4Box, Bit5Box, Bit6Box, Bit7Box, Bit8Box};
}

void TCurrentMeterFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    const int voltage = Number(VoltageEdit);
    StatusByte.store(answer, voltage >= VoltageTop ? 1 : 0);
    for (std::size_t k = 0; k < statusBoxes_.size(); ++k)
        if (statusBoxes_[k]->Checked())
            Bits{1, static_cast<std::uint8_t>(k + 1), 1}.orIn(answer, 1);
    VoltageLow.store(answer, voltage);
    Current1.store(answer, Number(I1Edit));
    Current2.store(answer, Number(I2Edit));
}

void TCurrentMeterFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    for (std::size_t k = 0; k < statusBoxes_.size(); ++k)
        statusBoxes_[k]->SetChecked(FlagAt(answer, StatusBits, static_cast<int>(k)));
    VoltageEdit->SetText(QString::number(Voltage(answer)));
    I1Edit->SetText(QString::number(Current1.get(answer)));
    I2Edit->SetText(QString::number(Current2.get(answer)));
}

void TCurrentMeterFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, StatusText(answer));
    WriteCell(*Info, 4, QString::number(Voltage(answer)));
    WriteCell(*Info, 5, QString::number(Current1.get(answer)));
    WriteCell(*Info, 6, QString::number(Current2.get(answer)));
}

// The grid shows this block's answer but does not edit it; after an edit the grid writes the
// cells from the answer again.
void TCurrentMeterFrame::GridToAnswer(const QString&, int) {}

TFrame* CreateCurrentMeterFrame(QWidget* owner, TDeviceInfo* info) { return new TCurrentMeterFrame(owner, info); }

QString DescribeCurrentMeterAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("Bits=%s, U=%d, I1=%d, I2=%d", StatusText(m).toLatin1().constData(), Voltage(m),
                      static_cast<int>(Current1.get(m)), static_cast<int>(Current2.get(m)));
}

void RegisterCurrentMeterFrames()
{
    BindRows({CurrentMeterRow}, CreateCurrentMeterFrame, nullptr, DescribeCurrentMeterAnswer);
}

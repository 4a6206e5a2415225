#include "frames/EngineBlock.h"

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "platform/Numbers.h"

namespace {
constexpr int EngineBlockRow = 0;

// The answer body: one unsigned byte per value.
constexpr Bits SpeedByte{1, 0, 8};   // in steps of 20 rpm
constexpr Num T5{{2, 0, 8}};
constexpr Num T1{{3, 0, 8}};
constexpr Num Pressure{{4, 0, 8}, 100, 0.01L};
constexpr Num T3{{5, 0, 8}};
constexpr Num Supply{{6, 0, 8}, 5, 0.2L};
constexpr Bits StateByte{7, 0, 8};
constexpr Bits Out1Code{7, 0, 3};
// BP2, BP5, BP6, BP7, Ug: the column's rightmost digit first.
constexpr Bits FlagPart{7, 3, 5};
constexpr Bits FlagBits[] = {{7, 3, 1}, {7, 4, 1}, {7, 5, 1}, {7, 6, 1}, {7, 7, 1}};
constexpr DigitColumn FlagColumn{FlagBits, 2, 4};
constexpr DigitColumn Out1Column{std::span<const Bits>(&Out1Code, 1), 8, 4};

constexpr int RpmPerStep = 20;

// The speed is typed in rpm and stored in steps of 20, halves upward: trunc(rpm / 20 + 0.5),
// worked in integers so that the halfway points are exact.
std::int64_t SpeedSteps(int rpm) { return (static_cast<std::int64_t>(rpm) + RpmPerStep / 2) / RpmPerStep; }
std::uint32_t Speed(const TMessageImage& answer) { return SpeedByte.get(answer) * RpmPerStep; }
}

TEngineBlockFrame::TEngineBlockFrame(QWidget* owner, TDeviceInfo* info) : TTwoOutputBlockFrame(owner, info)
{
    TTLabel = AddLabel(InPanel, "TTLabel", QStringLiteral("T, °C:"), 4, 6);
    AddEditField(*this, InPanel, "T1", QStringLiteral("1"), 62, 76, 4, 70, EditUInt).Into(T1Label, T1Edit, T1UpDown);
    AddEditField(*this, InPanel, "T3", QStringLiteral("3"), 62, 76, 28, 70, EditUInt).Into(T3Label, T3Edit, T3UpDown);
    AddEditField(*this, InPanel, "T5", QStringLiteral("5"), 62, 76, 52, 70, EditUInt).Into(T5Label, T5Edit, T5UpDown);
    AddEditField(*this, InPanel, "V1", QStringLiteral("V, об/мин:"), 152, 252, 4, 66, EditUInt)
        .Into(V1Label, V1Edit, V1UpDown);
    AddEditField(*this, InPanel, "P1", QStringLiteral("P, МПа:"), 152, 252, 28, 66, EditUFloat)
        .Into(P1Label, P1Edit, P1UpDown);
    AddEditField(*this, InPanel, "UP", QStringLiteral("U пит, В:"), 152, 252, 52, 66, EditUFloat)
        .Into(UPLabel, UPEdit, UPUpDown);
    Bevel1 = AddBevel(InPanel, "Bevel1", 4, 80, 316, 2);
    UGLabel = AddLabel(InPanel, "UGLabel", QStringLiteral("U с ген:"), 4, 88);
    UGCheckBox = AddCheckBox(InPanel, "UGCheckBox", QString(), 84, 88, 17);
    BPLabel = AddLabel(InPanel, "BPLabel", QStringLiteral("BP:"), 120, 88);
    BP7Label = AddLabel(InPanel, "BP7Label", QStringLiteral("7"), 158, 88);
    BP7CheckBox = AddCheckBox(InPanel, "BP7CheckBox", QString(), 170, 88, 17);
    BP6Label = AddLabel(InPanel, "BP6Label", QStringLiteral("6"), 196, 88);
    BP6CheckBox = AddCheckBox(InPanel, "BP6CheckBox", QString(), 208, 88, 17);
    BP5Label = AddLabel(InPanel, "BP5Label", QStringLiteral("5"), 234, 88);
    BP5CheckBox = AddCheckBox(InPanel, "BP5CheckBox", QString(), 246, 88, 17);
    BP2Label = AddLabel(InPanel, "BP2Label", QStringLiteral("2"), 272, 88);
    BP2CheckBox = AddCheckBox(InPanel, "BP2CheckBox", QString(), 284, 88, 17);
    Bevel2 = AddBevel(InPanel, "Bevel2", 4, 112, 316, 2);
    OUTLabel_ = AddLabel(InPanel, "OUTLabel_", QStringLiteral("OUT:"), 4, 122);
    OUT1Label_ = AddLabel(InPanel, "OUT1Label_", QStringLiteral("1"), 58, 122);
    OUT1ComboBox = AddComboBox(InPanel, "OUT1ComboBox", OutputStateItems, 72, 120, 246);
    InPanel->SetHeight(150);
    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TEngineBlockFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreEditValue(answer, T1, T1Edit);
    StoreEditValue(answer, T3, T3Edit);
    StoreEditValue(answer, T5, T5Edit);
    if (const std::optional<int> rpm = StrToInt(V1Edit->Text()))
        SpeedByte.store(answer, SpeedSteps(*rpm));
    StoreEditValue(answer, Pressure, P1Edit);
    StoreEditValue(answer, Supply, UPEdit);
    // The state byte is rebuilt whole on every call.
    StateByte.store(answer, 0);
    StoreCheckBoxes(answer, FlagPart, {BP2CheckBox, BP5CheckBox, BP6CheckBox, BP7CheckBox, UGCheckBox});
    Out1Code.orIn(answer, OutputStateCode(OUT1ComboBox->ItemIndex()));
}

void TEngineBlockFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    T1Edit->SetText(T1.text(answer));
    T3Edit->SetText(T3.text(answer));
    T5Edit->SetText(T5.text(answer));
    V1Edit->SetText(QString::number(Speed(answer)));
    P1Edit->SetText(Pressure.text(answer));
    UPEdit->SetText(Supply.text(answer));
    ShowCheckBoxes(answer, FlagPart, {BP2CheckBox, BP5CheckBox, BP6CheckBox, BP7CheckBox, UGCheckBox});
    OUT1ComboBox->SetItemIndex(OutputStateItem(static_cast<int>(Out1Code.get(answer))));
}

void TEngineBlockFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, T1.text(answer));
    WriteCell(*Info, 4, T3.text(answer));
    WriteCell(*Info, 5, FlagColumn.text(answer));
    WriteCell(*Info, 6, Out1Column.text(answer));
}

void TEngineBlockFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    switch (column) {
    case 3:
        StoreCellValue(answer, T1, text);
        break;
    case 4:
        StoreCellValue(answer, T3, text);
        break;
    case 5:
        FlagColumn.read(answer, text);
        break;
    case 6:
        Out1Column.read(answer, text);
        break;
    default:
        break;
    }
}

TFrame* CreateEngineBlockFrame(QWidget* owner, TDeviceInfo* info) { return new TEngineBlockFrame(owner, info); }

QString DescribeEngineBlockRequest(const std::uint8_t* message) { return DescribeTwoOutputRequest(message); }

QString DescribeEngineBlockAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    // The line names the temperatures 1, 3, 5 of the frame as T1, T2, T3.
    return FormatLine("T1=%u, T2=%u, T3=%u, V=%u, P=%.2f, Up=%.2f, Ug=%c, BP7-6,2=%c%c%c%c, OUT1=%c",
                      T1.bits.get(m), T3.bits.get(m), T5.bits.get(m), Speed(m),
                      static_cast<double>(Pressure.value(m)), static_cast<double>(Supply.value(m)),
                      DigitChar(m, FlagBits[4]), DigitChar(m, FlagBits[3]), DigitChar(m, FlagBits[2]),
                      DigitChar(m, FlagBits[1]), DigitChar(m, FlagBits[0]), DigitChar(m, Out1Code));
}

void RegisterEngineBlockFrames()
{
    BindRows({EngineBlockRow}, CreateEngineBlockFrame, DescribeEngineBlockRequest, DescribeEngineBlockAnswer);
}

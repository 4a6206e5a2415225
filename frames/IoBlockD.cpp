#include "frames/IoBlockD.h"

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
constexpr int IoBlock2InputsRow = 42;

// Answer. The frequency keeps bits 0-3 in byte 2 under IN6 and bits 4-11 in byte 3.
constexpr SplitField Frequency(Bits{2, 0, 4}, Bits{3, 0, 8});
constexpr Num FuelLevel{Bits{4, 0, 7}};
constexpr Bits In5Bit{4, 7, 1};
constexpr Bits In6Bit{2, 4, 1};
// IN1..IN4 are input codes in byte 1; IN5 and IN6 single bits shown as the digit of "Масса".
constexpr SplitField Inputs[6] = {
    // clang-format off
    SplitField(Bits{1, 0, 2}), SplitField(Bits{1, 2, 2}), SplitField(Bits{1, 4, 2}), SplitField(Bits{1, 6, 2}),
    SplitField::GroundBit(In5Bit), SplitField::GroundBit(In6Bit),
    // clang-format on
};
constexpr int InputRadix = 3;
constexpr std::size_t CodeInputs = 4;   // IN1..IN4 have three items, IN5 and IN6 two

int Input(const TMessageImage& m, int input) { return '0' + Inputs[input - 1].digit(m); }
}

TIoBlockDFrame::TIoBlockDFrame(QWidget* owner, TDeviceInfo* info) : TTwoOutputBlockFrame(owner, info)
{
    const TNumberField f = AddValueField(*this, InPanel, QStringLiteral("F"), QStringLiteral("F, Гц:"), 6, EditUInt);
    const TNumberField fl =
        AddValueField(*this, InPanel, QStringLiteral("FL"), QStringLiteral("FL, %:"), 6 + IoRowPitch, EditUInt);
    FLabel = f.label, FEdit = f.edit, FUpDown = f.upDown;
    FLLabel = fl.label, FLEdit = fl.edit, FLUpDown = fl.upDown;
    const int bevelTop = 6 + 2 * IoRowPitch;
    Bevel = AddBevel(InPanel, QStringLiteral("Bevel"), 6, bevelTop, 312, 3, TBevelShape::BottomLine);
    const int firstTop = bevelTop + 6;
    INLabel = AddComboRows(*this, InPanel, QStringLiteral("IN"), QString(), firstTop, InLabels, InCombos,
                           [](std::size_t i) -> const QStringList& {
                               return i < CodeInputs ? InputItems : GroundInputItems;
                           });
    InPanel->SetHeight(firstTop + static_cast<int>(InCombos.size()) * IoRowPitch);
    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TIoBlockDFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (column == 3) {
        if (const std::optional<std::int64_t> raw = Num{}.fromCell(text))
            Frequency.set(answer, *raw);
    } else if (column == 4) {
        SetCellValue(answer, FuelLevel, text);
    } else if (column == 5) {
        ReadSplitDigits(Inputs, answer, text, InputRadix);
    }
}

void TIoBlockDFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    Inputs[0].low.store(answer, InputCode(InCombos[0]->ItemIndex()));
    for (std::size_t i = 1; i < CodeInputs; ++i)
        Inputs[i].orIn(answer, InputCode(InCombos[i]->ItemIndex()));
    // The frequency writes byte 2 first (IN6 is OR-ed in after) and byte 3 whole.
    if (const std::optional<int> f = StrToInt(FEdit->Text())) {
        Frequency.low.store(answer, *f);
        Frequency.high.store(answer, *f >> Frequency.low.width);
    } else {
        Frequency.low.keepOnly(answer);
    }
    In6Bit.orIn(answer, TwoItemBit(InCombos[5]->ItemIndex()));
    StoreFirstField(answer, FuelLevel, FLEdit);
    In5Bit.orIn(answer, TwoItemBit(InCombos[4]->ItemIndex()));
}

void TIoBlockDFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    for (std::size_t i = 0; i < CodeInputs; ++i)
        InCombos[i]->SetItemIndex(InputItem(static_cast<int>(Inputs[i].get(answer))));
    InCombos[4]->SetItemIndex(static_cast<int>(In5Bit.get(answer)));
    InCombos[5]->SetItemIndex(static_cast<int>(In6Bit.get(answer)));
    FEdit->SetText(QString::number(Frequency.get(answer)));
    FLEdit->SetText(FuelLevel.text(answer));
}

void TIoBlockDFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, QString::number(Frequency.get(answer)));
    WriteCell(*Info, 4, FuelLevel.text(answer));
    WriteCell(*Info, 5, SplitDigitsText(Inputs, answer));
    WriteCell(*Info, 6, NoValueText);
}

TFrame* CreateIoBlockDFrame(QWidget* owner, TDeviceInfo* info) { return new TIoBlockDFrame(owner, info); }

QString DescribeIoBlockDRequest(const std::uint8_t* message) { return DescribeTwoOutputRequest(message); }

QString DescribeIoBlockDAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("F=%u, FL=%u, IN6-1=%c%c %c%c%c%c", Frequency.get(m), FuelLevel.bits.get(m), Input(m, 6),
                      Input(m, 5), Input(m, 4), Input(m, 3), Input(m, 2), Input(m, 1));
}

void RegisterIoBlockDFrames()
{
    BindRows({IoBlock2InputsRow}, CreateIoBlockDFrame, DescribeIoBlockDRequest, DescribeIoBlockDAnswer);
}

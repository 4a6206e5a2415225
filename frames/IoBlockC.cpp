#include "frames/IoBlockC.h"

#include <algorithm>
#include <span>

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int IoBlock2OutputsRow = 41;

// Request: OUT2..OUT9 fill byte 1, OUT1 and the PWM value share byte 2.
constexpr Bits Out2To9Byte{1, 0, 8};
constexpr Bits Out1Bit{2, 0, 1};
constexpr Num Pwm{Bits{2, 3, 5}};
// Grid column 2 holds OUT1..OUT8 only: a ninth digit does not fit the cell's eight, so OUT9
// is left to its check box and a grid edit keeps it.
// clang-format off
constexpr Bits ColumnOutputs[8] = {{2, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 2, 1},
                                   {1, 3, 1}, {1, 4, 1}, {1, 5, 1}, {1, 6, 1}};
// clang-format on
constexpr DigitColumn OutputsColumn{ColumnOutputs, 2, 4};

// Answer: output-state codes, OUT1 first; OUT3 keeps its bit 2 in byte 2.
constexpr SplitField OutCodes[5] = {
    SplitField(Bits{2, 0, 3}),
    SplitField(Bits{2, 3, 3}),
    SplitField(Bits{1, 0, 2}, Bits{2, 6, 1}),
    SplitField(Bits{1, 2, 3}),
    SplitField(Bits{1, 5, 3}),
};
constexpr int CodeRadix = 8;

const QStringList& OutputStates(std::size_t) { return OutputStateItems; }

// Request output 1..9 as a digit, read where the frame stores its box.
int Output(const TMessageImage& m, int output)
{
    return output == 1 ? DigitChar(m, Out1Bit) : '0' + static_cast<int>(FlagAt(m, Out2To9Byte, output - 2));
}
int Code(const TMessageImage& m, int output) { return '0' + OutCodes[output - 1].digit(m); }
}

TIoBlockCFrame::TIoBlockCFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    const TOutputBoxes outputs = AddOutputBoxes(*this, OutPanel, 9, 6, QStringLiteral("OUT9Label"));
    std::copy(outputs.boxes.begin(), outputs.boxes.end(), OutBoxes.begin());
    OUTLabel = outputs.outLabel;
    OUT9Label = outputs.leftLabel;
    OUT1Label = outputs.rightLabel;
    const int pwmTop = 6 + IoRowPitch;
    PWMLabel1 = AddRowLabel(*this, OutPanel, QStringLiteral("PWMLabel1"), QStringLiteral("PWM:"), 6, pwmTop, 56);
    PWMEdit = AddEdit(OutPanel, QStringLiteral("PWMEdit"), 62, pwmTop, 80, EditUInt);
    PWMEdit->SetHeight(IoFieldHeight);
    PWMUpDown = AddUpDown(OutPanel, QStringLiteral("PWMUpDown"), PWMEdit);
    PWMLabel2 = AddRowLabel(*this, OutPanel, QStringLiteral("PWMLabel2"), QStringLiteral("%"), 148, pwmTop, 20);
    OutPanel->SetHeight(pwmTop + IoRowPitch);

    OUTLabel_ = AddComboRows(*this, InPanel, QStringLiteral("OUT"), QStringLiteral("_"), 6, OutLabels_, OutCombos,
                             OutputStates);
    InPanel->SetHeight(6 + static_cast<int>(OutCombos.size()) * IoRowPitch);
    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TIoBlockCFrame::GridToRequest(const QString& text, int column)
{
    if (column == 2)
        OutputsColumn.read(Info->SchemeObject->Request, text);
}

void TIoBlockCFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 6)
        ReadSplitDigits(OutCodes, Info->SchemeObject->Answer, text, CodeRadix);
}

void TIoBlockCFrame::FrameToRequest()
{
    TMessageImage& request = Info->SchemeObject->Request;
    StoreBoxes(request, Out2To9Byte, std::span<TCheckBox* const>(OutBoxes).subspan(1));
    StoreFirstField(request, Pwm, PWMEdit);
    Out1Bit.orIn(request, OutBoxes[0]->Checked() ? 1 : 0);
}

void TIoBlockCFrame::RequestToFrame()
{
    const TMessageImage& request = Info->SchemeObject->Request;
    ShowBoxes(request, Out2To9Byte, std::span<TCheckBox* const>(OutBoxes).subspan(1));
    OutBoxes[0]->SetChecked(Out1Bit.get(request) != 0);
    PWMEdit->SetText(Pwm.text(request));
}

void TIoBlockCFrame::RequestToGrid() { WriteCell(*Info, 2, OutputsColumn.text(Info->SchemeObject->Request)); }

void TIoBlockCFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    const auto code = [this](int output) {
        return OutputStateCode(OutCombos[static_cast<std::size_t>(output - 1)]->ItemIndex());
    };
    // OUT1 writes byte 2 (its bit 7 stays 0) and OUT4 byte 1; the other codes are OR-ed in.
    OutCodes[0].low.store(answer, code(1));
    OutCodes[1].orIn(answer, code(2));
    OutCodes[3].low.store(answer, code(4));
    OutCodes[4].orIn(answer, code(5));
    OutCodes[2].orIn(answer, code(3));
}

void TIoBlockCFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    for (std::size_t i = 0; i < OutCombos.size(); ++i)
        OutCombos[i]->SetItemIndex(OutputStateItem(static_cast<int>(OutCodes[i].get(answer))));
}

void TIoBlockCFrame::AnswerToGrid()
{
    WriteCell(*Info, 3, NoValueText);
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, SplitDigitsText(OutCodes, Info->SchemeObject->Answer));
}

TFrame* CreateIoBlockCFrame(QWidget* owner, TDeviceInfo* info) { return new TIoBlockCFrame(owner, info); }

QString DescribeIoBlockCRequest(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("PWM=%u, OUT9-1=%c %c%c%c%c %c%c%c%c", Pwm.bits.get(m), Output(m, 9), Output(m, 8),
                      Output(m, 7), Output(m, 6), Output(m, 5), Output(m, 4), Output(m, 3), Output(m, 2),
                      Output(m, 1));
}

QString DescribeIoBlockCAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("OUT5-1=%c %c%c%c%c", Code(m, 5), Code(m, 4), Code(m, 3), Code(m, 2), Code(m, 1));
}

void RegisterIoBlockCFrames()
{
    BindRows({IoBlock2OutputsRow}, CreateIoBlockCFrame, DescribeIoBlockCRequest, DescribeIoBlockCAnswer);
}

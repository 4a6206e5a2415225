#include "frames/LineProximityB.h"

#include <algorithm>

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int LineProx2Row = 16;

// Request: OUT1..OUT4 in bits 0-3; the upper half of the byte belongs to no output.
constexpr Bits RequestByte{1, 0, 8};
constexpr Bits OutputPart{1, 0, 4};
constexpr Bits OutputBits[4] = {{1, 0, 1}, {1, 1, 1}, {1, 2, 1}, {1, 3, 1}};
constexpr DigitColumn OutputsColumn{OutputBits, 2, 4};

// Answer: two little-endian words, each with inputs in its spare top bits.
constexpr Num FieldStrength{Bits{1, 0, 12, 2}};
constexpr Num Angle{Bits{3, 0, 15, 2}, 256.0L, 0.00390625L};
constexpr Bits In1Bit{4, 7, 1};
constexpr SplitField Inputs[3] = {
    SplitField::GroundBit(In1Bit),
    SplitField(Bits{2, 6, 2}),
    SplitField(Bits{2, 4, 2}),
};
constexpr int InputRadix = 3;

int Bit(const TMessageImage& m, int output) { return DigitChar(m, OutputBits[output - 1]); }
int Input(const TMessageImage& m, int input) { return '0' + Inputs[input - 1].digit(m); }
}

TLineProximityBFrame::TLineProximityBFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    const TOutputBoxes outputs = AddOutputBoxes(*this, OutPanel, 4, 6, QStringLiteral("OUT4Label"));
    std::copy(outputs.boxes.begin(), outputs.boxes.end(), OutBoxes.begin());
    OUTLabel = outputs.outLabel;
    OUT4Label = outputs.leftLabel;
    OUT1Label = outputs.rightLabel;
    OutPanel->SetHeight(6 + IoRowPitch);

    const TNumberField e = AddValueField(*this, InPanel, QStringLiteral("E"), QStringLiteral("E, В:"), 6, EditUInt);
    const TNumberField ang =
        AddValueField(*this, InPanel, QStringLiteral("ANG"), QStringLiteral("ANG, °:"), 6 + IoRowPitch, EditUFloat);
    ELabel = e.label, EEdit = e.edit, EUpDown = e.upDown;
    ANGLabel = ang.label, ANGEdit = ang.edit, ANGUpDown = ang.upDown;
    const int bevelTop = 6 + 2 * IoRowPitch;
    Bevel1 = AddBevel(InPanel, QStringLiteral("Bevel1"), 6, bevelTop, 312, 3, TBevelShape::BottomLine);
    const int firstTop = bevelTop + 6;
    INLabel = AddComboRows(*this, InPanel, QStringLiteral("IN"), QString(), firstTop, InLabels, InCombos,
                           [](std::size_t i) -> const QStringList& { return i == 0 ? GroundInputItems : InputItems; });
    InPanel->SetHeight(firstTop + static_cast<int>(InCombos.size()) * IoRowPitch);
    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TLineProximityBFrame::GridToRequest(const QString& text, int column)
{
    if (column == 2)
        OutputsColumn.read(Info->SchemeObject->Request, text);
}

void TLineProximityBFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (column == 3 || column == 4) {
        SetCellValue(answer, column == 3 ? FieldStrength : Angle, text);
    } else if (column == 5) {
        ReadSplitDigits(Inputs, answer, text, InputRadix);
    }
}

void TLineProximityBFrame::FrameToRequest()
{
    TMessageImage& request = Info->SchemeObject->Request;
    RequestByte.store(request, 0);
    StoreBoxes(request, OutputPart, OutBoxes);
}

void TLineProximityBFrame::RequestToFrame() { ShowBoxes(Info->SchemeObject->Request, OutputPart, OutBoxes); }

void TLineProximityBFrame::RequestToGrid() { WriteCell(*Info, 2, OutputsColumn.text(Info->SchemeObject->Request)); }

void TLineProximityBFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreFirstField(answer, FieldStrength, EEdit);
    StoreFirstField(answer, Angle, ANGEdit);
    In1Bit.set(answer, TwoItemBit(InCombos[0]->ItemIndex()));
    Inputs[1].orIn(answer, InputCode(InCombos[1]->ItemIndex()));
    Inputs[2].orIn(answer, InputCode(InCombos[2]->ItemIndex()));
}

void TLineProximityBFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    EEdit->SetText(FieldStrength.text(answer));
    ANGEdit->SetText(Angle.text(answer));
    InCombos[0]->SetItemIndex(static_cast<int>(In1Bit.get(answer)));
    InCombos[1]->SetItemIndex(InputItem(static_cast<int>(Inputs[1].get(answer))));
    InCombos[2]->SetItemIndex(InputItem(static_cast<int>(Inputs[2].get(answer))));
}

void TLineProximityBFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, FieldStrength.text(answer));
    WriteCell(*Info, 4, Angle.text(answer));
    WriteCell(*Info, 5, SplitDigitsText(Inputs, answer));
    WriteCell(*Info, 6, NoValueText);
}

TFrame* CreateLineProximityBFrame(QWidget* owner, TDeviceInfo* info) { return new TLineProximityBFrame(owner, info); }

QString DescribeLineProximityBRequest(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("OUT4-1=%c%c%c%c", Bit(m, 4), Bit(m, 3), Bit(m, 2), Bit(m, 1));
}

QString DescribeLineProximityBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("E=%u, ANG=%.2f, IN3-1=%c%c%c", FieldStrength.bits.get(m), static_cast<double>(Angle.value(m)),
                      Input(m, 3), Input(m, 2), Input(m, 1));
}

void RegisterLineProximityBFrames()
{
    BindRows({LineProx2Row}, CreateLineProximityBFrame, DescribeLineProximityBRequest, DescribeLineProximityBAnswer);
}

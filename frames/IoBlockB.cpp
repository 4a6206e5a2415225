#include "frames/IoBlockB.h"

#include <algorithm>

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int IoBlock1Row = 5;
constexpr int IoBlock3Row = 65;

// Request: OUT1..OUT8 in bits 0..7.
constexpr Bits OutputsByte{1, 0, 8};
// clang-format off
constexpr Bits OutputBits[8] = {{1, 0, 1}, {1, 1, 1}, {1, 2, 1}, {1, 3, 1},
                                {1, 4, 1}, {1, 5, 1}, {1, 6, 1}, {1, 7, 1}};
// clang-format on
constexpr DigitColumn OutputsColumn{OutputBits, 2, 4};

// Answer.
constexpr Num T1{Bits{1, 0, 8}};
constexpr Num T2{Bits{2, 0, 8}};
constexpr Num P1{Bits{3, 0, 7}, 10.0L, 0.1L};
constexpr Num P2{Bits{4, 0, 7}, 10.0L, 0.1L};
// Output-state codes, OUT1 first; OUT5 and OUT6 keep their bit 2 in the pressure bytes.
constexpr SplitField OutCodes[6] = {
    // clang-format off
    SplitField(Bits{6, 0, 3}), SplitField(Bits{6, 3, 3}), SplitField(Bits{5, 0, 3}),
    SplitField(Bits{5, 3, 3}), SplitField(Bits{6, 6, 2}, Bits{4, 7, 1}), SplitField(Bits{5, 6, 2}, Bits{3, 7, 1}),
    // clang-format on
};
constexpr int CodeRadix = 8;

const QStringList& OutputStates(std::size_t) { return OutputStateItems; }

int Bit(const TMessageImage& m, int bit) { return DigitChar(m, OutputBits[bit]); }
int Code(const TMessageImage& m, int output) { return '0' + OutCodes[output - 1].digit(m); }
}

TIoBlockBFrame::TIoBlockBFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    const TOutputBoxes outputs = AddOutputBoxes(*this, OutPanel, 8, 6, QStringLiteral("OUT6Label"));
    std::copy(outputs.boxes.begin(), outputs.boxes.end(), OutBoxes.begin());
    OUTLabel = outputs.outLabel;
    OUT6Label = outputs.leftLabel;
    OUT1Label = outputs.rightLabel;
    OutPanel->SetHeight(6 + IoRowPitch);

    TTLabel = AddRowLabel(*this, InPanel, QStringLiteral("TTLabel"), QStringLiteral("T, °C:"), 6, 6, 82);
    TNumberField t1 = AddNumberField(*this, InPanel, QStringLiteral("T"), QStringLiteral("1"), 94, 6, EditUInt);
    TNumberField t2 = AddNumberField(*this, InPanel, QStringLiteral("T"), QStringLiteral("2"), 204, 6, EditUInt);
    const int pTop = 6 + IoRowPitch;
    PLabel = AddRowLabel(*this, InPanel, QStringLiteral("PLabel"), QStringLiteral("P, МПа:"), 6, pTop, 82);
    TNumberField p1 = AddNumberField(*this, InPanel, QStringLiteral("P"), QStringLiteral("1"), 94, pTop, EditUFloat);
    TNumberField p2 = AddNumberField(*this, InPanel, QStringLiteral("P"), QStringLiteral("2"), 204, pTop, EditUFloat);
    T1Label = t1.label, T1Edit = t1.edit, T1UpDown = t1.upDown;
    T2Label = t2.label, T2Edit = t2.edit, T2UpDown = t2.upDown;
    P1Label = p1.label, P1Edit = p1.edit, P1UpDown = p1.upDown;
    P2Label = p2.label, P2Edit = p2.edit, P2UpDown = p2.upDown;

    const int bevelTop = pTop + IoRowPitch;
    Bevel1 = AddBevel(InPanel, QStringLiteral("Bevel1"), 6, bevelTop, 312, 3, TBevelShape::BottomLine);
    const int firstTop = bevelTop + 6;
    OUTLabel_ = AddComboRows(*this, InPanel, QStringLiteral("OUT"), QStringLiteral("_"), firstTop, OutLabels_,
                             OutCombos, OutputStates);
    InPanel->SetHeight(firstTop + static_cast<int>(OutCombos.size()) * IoRowPitch);
    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TIoBlockBFrame::GridToRequest(const QString& text, int column)
{
    if (column == 2)
        OutputsColumn.read(Info->SchemeObject->Request, text);
}

void TIoBlockBFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (column == 3 || column == 4) {
        SetCellValue(answer, column == 3 ? T1 : T2, text);
    } else if (column == 6) {
        ReadSplitDigits(OutCodes, answer, text, CodeRadix);
    }
}

void TIoBlockBFrame::FrameToRequest() { StoreBoxes(Info->SchemeObject->Request, OutputsByte, OutBoxes); }

void TIoBlockBFrame::RequestToFrame() { ShowBoxes(Info->SchemeObject->Request, OutputsByte, OutBoxes); }

void TIoBlockBFrame::RequestToGrid() { WriteCell(*Info, 2, OutputsColumn.text(Info->SchemeObject->Request)); }

void TIoBlockBFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreFirstField(answer, T1, T1Edit);
    StoreFirstField(answer, T2, T2Edit);
    StoreFirstField(answer, P1, P1Edit);
    StoreFirstField(answer, P2, P2Edit);
    // Bytes 6 and 5 are written by OUT1 and OUT3; the rest of their bits, and the top bits of
    // the pressure bytes, are OR-ed in.
    OutCodes[0].low.store(answer, OutputStateCode(OutCombos[0]->ItemIndex()));
    OutCodes[1].orIn(answer, OutputStateCode(OutCombos[1]->ItemIndex()));
    OutCodes[2].low.store(answer, OutputStateCode(OutCombos[2]->ItemIndex()));
    for (std::size_t i = 3; i < OutCombos.size(); ++i)
        OutCodes[i].orIn(answer, OutputStateCode(OutCombos[i]->ItemIndex()));
}

void TIoBlockBFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    T1Edit->SetText(T1.text(answer));
    P1Edit->SetText(P1.text(answer));
    T2Edit->SetText(T2.text(answer));
    P2Edit->SetText(P2.text(answer));
    for (std::size_t i = 0; i < OutCombos.size(); ++i)
        OutCombos[i]->SetItemIndex(OutputStateItem(static_cast<int>(OutCodes[i].get(answer))));
}

void TIoBlockBFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, T1.text(answer));
    WriteCell(*Info, 4, T2.text(answer));
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, SplitDigitsText(OutCodes, answer));
}

TFrame* CreateIoBlockBFrame(QWidget* owner, TDeviceInfo* info) { return new TIoBlockBFrame(owner, info); }

QString DescribeIoBlockBRequest(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("OUT8-1=%c%c%c%c %c%c%c%c", Bit(m, 7), Bit(m, 6), Bit(m, 5), Bit(m, 4), Bit(m, 3),
                      Bit(m, 2), Bit(m, 1), Bit(m, 0));
}

QString DescribeIoBlockBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("T1=%u, T2=%u, P1=%.2f, P2=%.2f, OUT6-1=%c%c %c%c%c%c", T1.bits.get(m), T2.bits.get(m),
                      static_cast<double>(P1.value(m)), static_cast<double>(P2.value(m)), Code(m, 6), Code(m, 5), Code(m, 4), Code(m, 3),
                      Code(m, 2), Code(m, 1));
}

void RegisterIoBlockBFrames()
{
    BindRows({IoBlock1Row, IoBlock3Row}, CreateIoBlockBFrame, DescribeIoBlockBRequest, DescribeIoBlockBAnswer);
}

#include "frames/IoBlockF.h"

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
// Request: OUT1-OUT8 in byte 1, OUT9-OUT13 in bits 0-4 of byte 2 (bits 5-7 go out as 0).
constexpr Bits RequestHighByte{2, 0, 8};
constexpr TBoxPart RequestParts[] = {{Bits{1, 0, 8}, 0}, {Bits{2, 0, 5}, 8}};
constexpr std::array<Bits, 8> Byte1Fields = ByteFields(1);
constexpr std::array<Bits, 8> Byte2Fields = ByteFields(2);
constexpr DigitColumn RequestColumn{Byte1Fields, 2, 4};   // OUT1-OUT8 only

// Answer: IN1-IN3 in bits 0-2, INc in bit 7; bits 3-6 unused.
constexpr Bits InFields[] = {{1, 0, 1}, {1, 1, 1}, {1, 2, 1}, {1, 7, 1}};   // IN1, IN2, IN3, INc
constexpr DigitColumn InColumn{InFields, 2, 3};

constexpr int RowLeft = 60;
constexpr int FirstRowTop = 6;
constexpr int BoxWidth = 17;
}

TIoBlockFFrame::TIoBlockFFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    int top = FirstRowTop;
    OUTLabel = AddLabel(OutPanel, "OUTLabel", "OUT:", 6, top);
    PlaceRow(OUTCheckBox, 0, AddBoxRow(*this, OutPanel, "OUT", QString(), 1, 8, RowLeft, top));
    top += BoxRowHeight;
    // The short row stands right-aligned, so that each box sits under the box of its bit above.
    PlaceRow(OUTCheckBox, 8, AddBoxRow(*this, OutPanel, "OUT", QString(), 9, 5, RowLeft + 3 * BoxStep, top));
    OutPanel->SetHeight(top + BoxRowHeight + 4);

    // INc stands apart from IN3-IN1, as the blank of its grid column sets it apart.
    INLabel = AddLabel(InPanel, "INLabel", "IN:", 6, FirstRowTop);
    int x = RowLeft + 3 * BoxStep;
    INcLabel = AddLabel(InPanel, "INcLabel", "c", x, FirstRowTop);
    INcCheckBox = AddCheckBox(InPanel, "INcCheckBox", QString(), x + 12, FirstRowTop + 1, BoxWidth);
    x += 2 * BoxStep;
    IN3Label = AddLabel(InPanel, "IN3Label", "3", x, FirstRowTop);
    x += 14;
    IN3CheckBox = AddCheckBox(InPanel, "IN3CheckBox", QString(), x, FirstRowTop + 1, BoxWidth);
    IN2CheckBox = AddCheckBox(InPanel, "IN2CheckBox", QString(), x + BoxStep, FirstRowTop + 1, BoxWidth);
    IN1CheckBox = AddCheckBox(InPanel, "IN1CheckBox", QString(), x + 2 * BoxStep, FirstRowTop + 1, BoxWidth);
    IN1Label = AddLabel(InPanel, "IN1Label", "1", x + 3 * BoxStep, FirstRowTop);
    InPanel->SetHeight(FirstRowTop + BoxRowHeight + 4);

    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TIoBlockFFrame::FrameToRequest()
{
    TMessageImage& request = Info->SchemeObject->Request;
    RequestHighByte.store(request, 0);
    StoreBoxParts(request, RequestParts, OUTCheckBox);
}

void TIoBlockFFrame::RequestToFrame() { ShowBoxParts(Info->SchemeObject->Request, RequestParts, OUTCheckBox); }

void TIoBlockFFrame::RequestToGrid() { WriteCell(*Info, 2, RequestColumn.text(Info->SchemeObject->Request)); }

void TIoBlockFFrame::GridToRequest(const QString& text, int column)
{
    if (column == 2)
        RequestColumn.read(Info->SchemeObject->Request, text);
}

void TIoBlockFFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    Bits{1, 0, 8}.store(answer, 0);   // the unused bits 3-6 go out as 0
    const TCheckBox* boxes[] = {IN1CheckBox, IN2CheckBox, IN3CheckBox, INcCheckBox};
    for (std::size_t i = 0; i < std::size(boxes); ++i)
        InFields[i].set(answer, boxes[i]->Checked() ? 1 : 0);
}

void TIoBlockFFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    TCheckBox* boxes[] = {IN1CheckBox, IN2CheckBox, IN3CheckBox, INcCheckBox};
    for (std::size_t i = 0; i < std::size(boxes); ++i)
        boxes[i]->SetChecked(InFields[i].get(answer) != 0);
}

void TIoBlockFFrame::AnswerToGrid()
{
    WriteCell(*Info, 3, NoValueText);
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, InColumn.text(Info->SchemeObject->Answer));
    WriteCell(*Info, 6, NoValueText);
}

void TIoBlockFFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 5)
        InColumn.read(Info->SchemeObject->Answer, text);
}

TFrame* CreateIoBlockFFrame(QWidget* owner, TDeviceInfo* info) { return new TIoBlockFFrame(owner, info); }

QString DescribeIoBlockFRequest(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    const auto& h = Byte2Fields;
    const auto& l = Byte1Fields;
    return FormatLine("OUT13-1=%c %c%c%c%c %c%c%c%c %c%c%c%c",
                      DigitChar(m, h[4]),
                      DigitChar(m, h[3]), DigitChar(m, h[2]), DigitChar(m, h[1]), DigitChar(m, h[0]),
                      DigitChar(m, l[7]), DigitChar(m, l[6]), DigitChar(m, l[5]), DigitChar(m, l[4]),
                      DigitChar(m, l[3]), DigitChar(m, l[2]), DigitChar(m, l[1]), DigitChar(m, l[0]));
}

QString DescribeIoBlockFAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("INc=%c, IN3-1=%c%c%c", DigitChar(m, InFields[3]), DigitChar(m, InFields[2]),
                      DigitChar(m, InFields[1]), DigitChar(m, InFields[0]));
}

void RegisterIoBlockFFrames()
{
    BindRows({51}, CreateIoBlockFFrame, DescribeIoBlockFRequest, DescribeIoBlockFAnswer);
}

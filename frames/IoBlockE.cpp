#include "frames/IoBlockE.h"

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
// Request: OUT1-OUT8 in byte 1, OUT9-OUT16 in byte 2.
constexpr Bits RequestLow{1, 0, 8};
constexpr Bits RequestHigh{2, 0, 8};
// Answer: IN1-IN8 in byte 1, IN9-IN16 in byte 2, OUT9-OUT14 then IN17, IN18 in byte 3,
// OUT1-OUT8 in byte 4.
constexpr Bits InLow{1, 0, 8};
constexpr Bits InHigh{2, 0, 8};
constexpr Bits OutHigh{3, 0, 6};
constexpr Bits InTop{3, 6, 2};
constexpr Bits OutLow{4, 0, 8};

constexpr std::array<Bits, 8> Byte1Fields = ByteFields(1);
constexpr std::array<Bits, 8> Byte2Fields = ByteFields(2);
constexpr std::array<Bits, 8> Byte3Fields = ByteFields(3);
constexpr std::array<Bits, 8> Byte4Fields = ByteFields(4);
// Column 2 shows byte 1 of the request (OUT1-OUT8), column 5 byte 1 of the answer (IN1-IN8) and
// column 6 its byte 4 (OUT1-OUT8).
constexpr DigitColumn Byte1Column{Byte1Fields, 2, 4};
constexpr DigitColumn Byte4Column{Byte4Fields, 2, 4};

constexpr int RowLeft = 60;
constexpr int FirstRowTop = 6;

// Which boxes own which part: OUTCheckBox over the request, INCheckBox and OUTCheckBox_ over
// the answer. Byte 3 is shared: OUT9-OUT14 below, IN17 and IN18 on top; together they own it.
constexpr TBoxPart RequestParts[] = {{RequestLow, 0}, {RequestHigh, 8}};
constexpr TBoxPart InParts[] = {{InLow, 0}, {InHigh, 8}, {InTop, 16}};
constexpr TBoxPart OutParts[] = {{OutLow, 0}, {OutHigh, 8}};
}

TIoBlockEFrame::TIoBlockEFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    // Short rows stand right-aligned, so that each box sits under the box of its bit above.
    int top = FirstRowTop;
    OUTLabel = AddLabel(OutPanel, "OUTLabel", "OUT:", 6, top);
    PlaceRow(OUTCheckBox, 0, AddBoxRow(*this, OutPanel, "OUT", QString(), 1, 8, RowLeft, top));
    top += BoxRowHeight;
    PlaceRow(OUTCheckBox, 8, AddBoxRow(*this, OutPanel, "OUT", QString(), 9, 8, RowLeft, top));
    OutPanel->SetHeight(top + BoxRowHeight + 4);

    top = FirstRowTop;
    INLabel = AddLabel(InPanel, "INLabel", "IN:", 6, top);
    PlaceRow(INCheckBox, 0, AddBoxRow(*this, InPanel, "IN", QString(), 1, 8, RowLeft, top));
    top += BoxRowHeight;
    PlaceRow(INCheckBox, 8, AddBoxRow(*this, InPanel, "IN", QString(), 9, 8, RowLeft, top));
    top += BoxRowHeight;
    PlaceRow(INCheckBox, 16, AddBoxRow(*this, InPanel, "IN", QString(), 17, 2, RowLeft + 6 * BoxStep, top));
    top += BoxRowHeight + 4;
    Bevel1 = AddBevel(InPanel, "Bevel1", 6, top, FrameWidth - 12, 2);
    top += 8;
    OUTLabel_ = AddLabel(InPanel, "OUTLabel_", "OUT:", 6, top);
    PlaceRow(OUTCheckBox_, 0, AddBoxRow(*this, InPanel, "OUT", "_", 1, 8, RowLeft, top));
    top += BoxRowHeight;
    PlaceRow(OUTCheckBox_, 8, AddBoxRow(*this, InPanel, "OUT", "_", 9, 6, RowLeft + 2 * BoxStep, top));
    InPanel->SetHeight(top + BoxRowHeight + 4);

    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TIoBlockEFrame::FrameToRequest() { StoreBoxParts(Info->SchemeObject->Request, RequestParts, OUTCheckBox); }

void TIoBlockEFrame::RequestToFrame() { ShowBoxParts(Info->SchemeObject->Request, RequestParts, OUTCheckBox); }

void TIoBlockEFrame::RequestToGrid() { WriteCell(*Info, 2, Byte1Column.text(Info->SchemeObject->Request)); }

void TIoBlockEFrame::GridToRequest(const QString& text, int column)
{
    if (column == 2)
        Byte1Column.read(Info->SchemeObject->Request, text);
}

void TIoBlockEFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreBoxParts(answer, InParts, INCheckBox);
    StoreBoxParts(answer, OutParts, OUTCheckBox_);
}

void TIoBlockEFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    ShowBoxParts(answer, InParts, INCheckBox);
    ShowBoxParts(answer, OutParts, OUTCheckBox_);
}

void TIoBlockEFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, NoValueText);
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, Byte1Column.text(answer));
    WriteCell(*Info, 6, Byte4Column.text(answer));
}

void TIoBlockEFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 5)
        Byte1Column.read(Info->SchemeObject->Answer, text);
    else if (column == 6)
        Byte4Column.read(Info->SchemeObject->Answer, text);
}

TFrame* CreateIoBlockEFrame(QWidget* owner, TDeviceInfo* info) { return new TIoBlockEFrame(owner, info); }

QString DescribeIoBlockERequest(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    const auto& h = Byte2Fields;
    const auto& l = Byte1Fields;
    return FormatLine("OUT16-1=%c%c%c%c %c%c%c%c %c%c%c%c %c%c%c%c",
                      DigitChar(m, h[7]), DigitChar(m, h[6]), DigitChar(m, h[5]), DigitChar(m, h[4]),
                      DigitChar(m, h[3]), DigitChar(m, h[2]), DigitChar(m, h[1]), DigitChar(m, h[0]),
                      DigitChar(m, l[7]), DigitChar(m, l[6]), DigitChar(m, l[5]), DigitChar(m, l[4]),
                      DigitChar(m, l[3]), DigitChar(m, l[2]), DigitChar(m, l[1]), DigitChar(m, l[0]));
}

QString DescribeIoBlockEAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    const auto& b1 = Byte1Fields;
    const auto& b2 = Byte2Fields;
    const auto& b3 = Byte3Fields;
    const auto& b4 = Byte4Fields;
    return FormatLine("IN18-1=%c%c %c%c%c%c %c%c%c%c %c%c%c%c %c%c%c%c, OUT14-1=%c%c %c%c%c%c %c%c%c%c %c%c%c%c",
                      DigitChar(m, b3[7]), DigitChar(m, b3[6]),
                      DigitChar(m, b2[7]), DigitChar(m, b2[6]), DigitChar(m, b2[5]), DigitChar(m, b2[4]),
                      DigitChar(m, b2[3]), DigitChar(m, b2[2]), DigitChar(m, b2[1]), DigitChar(m, b2[0]),
                      DigitChar(m, b1[7]), DigitChar(m, b1[6]), DigitChar(m, b1[5]), DigitChar(m, b1[4]),
                      DigitChar(m, b1[3]), DigitChar(m, b1[2]), DigitChar(m, b1[1]), DigitChar(m, b1[0]),
                      DigitChar(m, b3[5]), DigitChar(m, b3[4]),
                      DigitChar(m, b3[3]), DigitChar(m, b3[2]), DigitChar(m, b3[1]), DigitChar(m, b3[0]),
                      DigitChar(m, b4[7]), DigitChar(m, b4[6]), DigitChar(m, b4[5]), DigitChar(m, b4[4]),
                      DigitChar(m, b4[3]), DigitChar(m, b4[2]), DigitChar(m, b4[1]), DigitChar(m, b4[0]));
}

void RegisterIoBlockEFrames()
{
    BindRows({6}, CreateIoBlockEFrame, DescribeIoBlockERequest, DescribeIoBlockEAnswer);
}

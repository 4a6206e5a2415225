#include "frames/shared/TwoOutputBlock.h"

#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"

namespace {
constexpr Bits RequestByte{1, 0, 8};
// OUT1 first: the column's rightmost digit.
constexpr Bits OutputBits[] = {{1, 0, 1}, {1, 1, 1}};
constexpr Bits OutputPart{1, 0, 2};
constexpr DigitColumn OutputColumn{OutputBits, 2, 4};
}

TTwoOutputBlockFrame::TTwoOutputBlockFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    OUTLabel = AddLabel(OutPanel, "OUTLabel", QStringLiteral("OUT:"), 8, 6);
    TakeRow(AddBoxRow(*this, OutPanel, "OUT", QString(), 1, 2, 54, 6), OUT2Label, {&OUT2CheckBox, &OUT1CheckBox},
            OUT1Label);
    OutPanel->SetHeight(30);
}

void TTwoOutputBlockFrame::GridToRequest(const QString& text, int column)
{
    // Bits 2-7 belong to no output: a grid edit keeps them.
    if (column == 2)
        OutputColumn.read(Info->SchemeObject->Request, text);
}

void TTwoOutputBlockFrame::FrameToRequest()
{
    TMessageImage& request = Info->SchemeObject->Request;
    RequestByte.store(request, 0);
    StoreCheckBoxes(request, OutputPart, {OUT1CheckBox, OUT2CheckBox});
}

void TTwoOutputBlockFrame::RequestToFrame()
{
    ShowCheckBoxes(Info->SchemeObject->Request, OutputPart, {OUT1CheckBox, OUT2CheckBox});
}

void TTwoOutputBlockFrame::RequestToGrid() { WriteCell(*Info, 2, OutputColumn.text(Info->SchemeObject->Request)); }

QString DescribeTwoOutputRequest(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("OUT2-1=%c%c", DigitChar(m, OutputBits[1]), DigitChar(m, OutputBits[0]));
}

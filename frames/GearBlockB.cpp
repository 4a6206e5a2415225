#include "frames/GearBlockB.h"

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int GearBlockBRow = 2;

// The answer body: one unsigned byte per value, pressures in hundredths of a MPa.
constexpr Num P16{{1, 0, 8}, 100, 0.01L};
constexpr Num T8{{2, 0, 8}};
constexpr Num P10{{3, 0, 8}, 100, 0.01L};
constexpr Num P11{{4, 0, 8}, 100, 0.01L};
constexpr Num P15{{5, 0, 8}, 100, 0.01L};
constexpr Num P14{{6, 0, 8}, 100, 0.01L};
// OUT1 first: the column's rightmost digit. Bits 6-7 belong to no output.
constexpr Bits OutputCodes[] = {{7, 0, 3}, {7, 3, 3}};
constexpr DigitColumn OutputColumn{OutputCodes, 8, 4};

void ShowCode(TComboBox* combo, const TMessageImage& answer, const Bits& code)
{
    combo->SetItemIndex(OutputStateItem(static_cast<int>(code.get(answer))));
}
}

TGearBlockBFrame::TGearBlockBFrame(QWidget* owner, TDeviceInfo* info) : TTwoOutputBlockFrame(owner, info)
{
    TTLabel = AddLabel(InPanel, "TTLabel", QStringLiteral("T, °C:"), 4, 6);
    AddEditField(*this, InPanel, "T8", QStringLiteral("8"), 62, 76, 4, 70, EditUInt).Into(T8Label, T8Edit, T8UpDown);
    PPLabel = AddLabel(InPanel, "PPLabel", QStringLiteral("P, МПа:"), 152, 6);
    AddEditField(*this, InPanel, "P16", QStringLiteral("16"), 226, 252, 4, 66, EditUFloat)
        .Into(P16Label, P16Edit, P16UpDown);
    Bevel1 = AddBevel(InPanel, "Bevel1", 4, 31, 316, 2);
    PLabel = AddLabel(InPanel, "PLabel", QStringLiteral("P, МПа:"), 4, 42);
    AddEditField(*this, InPanel, "P10", QStringLiteral("10"), 76, 100, 40, 70, EditUFloat)
        .Into(P10Label, P10Edit, P10UpDown);
    AddEditField(*this, InPanel, "P11", QStringLiteral("11"), 222, 248, 40, 70, EditUFloat)
        .Into(P11Label, P11Edit, P11UpDown);
    AddEditField(*this, InPanel, "P14", QStringLiteral("14"), 76, 100, 64, 70, EditUFloat)
        .Into(P14Label, P14Edit, P14UpDown);
    AddEditField(*this, InPanel, "P15", QStringLiteral("15"), 222, 248, 64, 70, EditUFloat)
        .Into(P15Label, P15Edit, P15UpDown);
    Bevel2 = AddBevel(InPanel, "Bevel2", 4, 92, 316, 2);
    OUTLabel_ = AddLabel(InPanel, "OUTLabel_", QStringLiteral("OUT:"), 4, 102);
    OUT1Label_ = AddLabel(InPanel, "OUT1Label_", QStringLiteral("1"), 58, 102);
    OUT1ComboBox = AddComboBox(InPanel, "OUT1ComboBox", OutputStateItems, 72, 100, 246);
    OUT2Label_ = AddLabel(InPanel, "OUT2Label_", QStringLiteral("2"), 58, 128);
    OUT2ComboBox = AddComboBox(InPanel, "OUT2ComboBox", OutputStateItems, 72, 126, 246);
    InPanel->SetHeight(154);
    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TGearBlockBFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreEditValue(answer, T8, T8Edit);
    StoreEditValue(answer, P16, P16Edit);
    StoreEditValue(answer, P10, P10Edit);
    StoreEditValue(answer, P11, P11Edit);
    StoreEditValue(answer, P14, P14Edit);
    StoreEditValue(answer, P15, P15Edit);
    // OUT1 writes the whole byte (bits 6-7 thus 0), OUT2 is OR-ed in.
    OutputCodes[0].store(answer, OutputStateCode(OUT1ComboBox->ItemIndex()));
    OutputCodes[1].orIn(answer, OutputStateCode(OUT2ComboBox->ItemIndex()));
}

void TGearBlockBFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    T8Edit->SetText(T8.text(answer));
    P16Edit->SetText(P16.text(answer));
    P10Edit->SetText(P10.text(answer));
    P11Edit->SetText(P11.text(answer));
    P14Edit->SetText(P14.text(answer));
    P15Edit->SetText(P15.text(answer));
    ShowCode(OUT1ComboBox, answer, OutputCodes[0]);
    ShowCode(OUT2ComboBox, answer, OutputCodes[1]);
}

void TGearBlockBFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, T8.text(answer));
    WriteCell(*Info, 4, P16.text(answer));
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, OutputColumn.text(answer));
}

void TGearBlockBFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    switch (column) {
    case 3:
        StoreCellValue(answer, T8, text);
        break;
    case 4:
        StoreCellValue(answer, P16, text);
        break;
    case 6:
        OutputColumn.read(answer, text);
        break;
    default:   // column 5 shows no inputs: nothing to take
        break;
    }
}

TFrame* CreateGearBlockBFrame(QWidget* owner, TDeviceInfo* info) { return new TGearBlockBFrame(owner, info); }

QString DescribeGearBlockBRequest(const std::uint8_t* message) { return DescribeTwoOutputRequest(message); }

QString DescribeGearBlockBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    const auto pressure = [&m](const Num& field) { return static_cast<double>(field.value(m)); };
    return FormatLine("T8=%u, P16=%.2f, P10=%.2f, P11=%.2f, P14=%.2f, P15=%.2f, OUT2-1=%c%c", T8.bits.get(m),
                      pressure(P16), pressure(P10), pressure(P11), pressure(P14), pressure(P15),
                      DigitChar(m, OutputCodes[1]), DigitChar(m, OutputCodes[0]));
}

void RegisterGearBlockBFrames()
{
    BindRows({GearBlockBRow}, CreateGearBlockBFrame, DescribeGearBlockBRequest, DescribeGearBlockBAnswer);
}

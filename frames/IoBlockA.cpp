#include "frames/IoBlockA.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
// Two bits per input, four inputs a byte from byte 1, IN1 at the lowest bits; byte 4 holds
// IN13-IN15, a bit 6 that is always sent as 0, and IN16 in bit 7.
constexpr int CodedInputs = 15;
constexpr Bits CodeBits(int input)   // 0-based
{
    return Bits{static_cast<std::uint8_t>(1 + input / 4), static_cast<std::uint8_t>(input % 4 * 2), 2};
}
constexpr Bits GroundBit{4, 7, 1};
// IN16 shows as '2' ("Масса") in the info line.
constexpr int GroundDigit = 2;

// Grid column 5: IN8 ... IN1 (bytes 2 and 1), radix 3.
constexpr std::array<Bits, 8> GridFields = {CodeBits(0), CodeBits(1), CodeBits(2), CodeBits(3),
                                            CodeBits(4), CodeBits(5), CodeBits(6), CodeBits(7)};
constexpr DigitColumn GridColumn{GridFields, 3, 4};

constexpr int FieldHeight = 24;
constexpr int RowPitch = 28;
constexpr int ComboLeft = 90;
constexpr int ComboWidth = 150;
}

TIoBlockAFrame::TIoBlockAFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    INLabel = AddLabel(InPanel, "INLabel", QStringLiteral("IN:"), 6, 6);
    INLabel->SetBounds(6, 6, 42, FieldHeight);
    for (int i = 0; i < InputCount; ++i) {
        const QString number = QString::number(i + 1);
        const int top = 6 + i * RowPitch;
        TLabel* label = AddLabel(InPanel, "IN" + number + "Label", number, 48, top);
        label->SetBounds(48, top, 30, FieldHeight);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        TComboBox* combo = AddComboBox(InPanel, "IN" + number + "ComboBox",
                                       i < CodedInputs ? InputItems : GroundInputItems, ComboLeft, top, ComboWidth);
        INLabels[static_cast<std::size_t>(i)] = label;
        INComboBoxes[static_cast<std::size_t>(i)] = combo;
    }
    InPanel->SetHeight(6 + InputCount * RowPitch + 6);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TIoBlockAFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    for (int i = 0; i < CodedInputs; ++i) {
        const int code = InputCode(INComboBoxes[static_cast<std::size_t>(i)]->ItemIndex());
        // The first input of a byte writes the whole byte, the others are OR-ed in.
        if (i % 4 == 0)
            CodeBits(i).store(answer, code);
        else
            CodeBits(i).orIn(answer, code);
    }
    GroundBit.orIn(answer, TwoItemBit(INComboBoxes[CodedInputs]->ItemIndex()));
}

void TIoBlockAFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    for (int i = 0; i < CodedInputs; ++i)
        INComboBoxes[static_cast<std::size_t>(i)]->SetItemIndex(InputItem(static_cast<int>(CodeBits(i).get(answer))));
    INComboBoxes[CodedInputs]->SetItemIndex(static_cast<int>(GroundBit.get(answer)));
}

void TIoBlockAFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, NoValueText);
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, GridColumn.text(answer));
    WriteCell(*Info, 6, NoValueText);
}

void TIoBlockAFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 5)
        GridColumn.read(Info->SchemeObject->Answer, text);
}

TFrame* CreateIoBlockAFrame(QWidget* owner, TDeviceInfo* info) { return new TIoBlockAFrame(owner, info); }

QString DescribeIoBlockAAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    int c[CodedInputs] = {};
    for (int i = 0; i < CodedInputs; ++i)
        c[i] = DigitChar(m, CodeBits(i));
    const int in16 = '0' + (GroundBit.get(m) ? GroundDigit : 0);
    return FormatLine("IN16-1=%c%c%c%c %c%c%c%c %c%c%c%c %c%c%c%c", in16, c[14], c[13], c[12], c[11], c[10],
                      c[9], c[8], c[7], c[6], c[5], c[4], c[3], c[2], c[1], c[0]);
}

void RegisterIoBlockAFrames()
{
    BindRows({4, 64}, CreateIoBlockAFrame, nullptr, DescribeIoBlockAAnswer);
}

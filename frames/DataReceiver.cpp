#include "frames/DataReceiver.h"

#include <array>

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int DataReceiverRow = 76;

// The answer word: the force in its low twelve bits, the four flags in its top four.
constexpr Bits ForceBits{1, 0, 12, 2};
constexpr Bits FlagsPart{2, 4, 4};   // BatLow, Noreply, Horn, Block from bit 4 of byte 2
constexpr std::array<Bits, 4> FlagBits = {
    Bits{2, 4, 1}, Bits{2, 5, 1}, Bits{2, 6, 1}, Bits{2, 7, 1}};   // BatLow first
// The flags are digits of radix 4 (the reading stops at any other character) written without
// blanks, Block leftmost.
constexpr DigitColumn FlagsColumn{FlagBits, 4, 0};
const Num Force{ForceBits};

constexpr int FieldHeight = 28;
constexpr int BoxLeft = 72;
constexpr int BoxWidth = 240;
constexpr int BoxPitch = 24;
}

TDataReceiverFrame::TDataReceiverFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    FLabel = AddLabel(InPanel, "FLabel", QStringLiteral("F, кг:"), 6, 6);
    FLabel->SetBounds(6, 6, 66, FieldHeight);
    Bevel1 = AddBevel(InPanel, "Bevel1", 6, 42, 312, 3, TBevelShape::BottomLine);
    FEdit = AddEdit(InPanel, "FEdit", BoxLeft, 6, 114, EditUInt);
    FEdit->SetHeight(FieldHeight);
    // The force takes twelve bits; stepping past either end wraps round.
    FUpDown = AddUpDown(InPanel, "FUpDown", FEdit, 0, 4095, 1, true);
    int top = 52;
    const auto box = [this, &top](const char* name, const char* caption) {
        TCheckBox* b = AddCheckBox(InPanel, name, QString::fromUtf8(caption), BoxLeft, top, BoxWidth);
        top += BoxPitch;
        return b;
    };
    blockCheckBox = box("blockCheckBox", "Блокировка");
    hornCheckBox = box("hornCheckBox", "Звуковой сигнал");
    noreplyCheckBox = box("noreplyCheckBox", "Пульт не отвечает");
    batteryLowCheckBox = box("batteryLowCheckBox", "Замена батареи");
    InPanel->SetHeight(top + 6);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TDataReceiverFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    // A force that does not convert keeps the word as it was; the flags are rebuilt either way.
    if (const std::optional<std::int64_t> raw = Force.fromEdit(FEdit->Text()))
        ForceBits.store(answer, *raw);
    StoreCheckBoxes(answer, FlagsPart, {batteryLowCheckBox, noreplyCheckBox, hornCheckBox, blockCheckBox});
}

void TDataReceiverFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    FEdit->SetText(Force.text(answer));
    ShowCheckBoxes(answer, FlagsPart, {batteryLowCheckBox, noreplyCheckBox, hornCheckBox, blockCheckBox});
}

void TDataReceiverFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, Force.text(answer));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, FlagsColumn.text(answer));
    WriteCell(*Info, 6, NoValueText);
}

void TDataReceiverFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (column == 3) {
        if (const std::optional<std::int64_t> raw = Force.fromCell(text))
            ForceBits.set(answer, *raw);
    } else if (column == 5) {
        FlagsColumn.read(answer, text);
    }
}

TFrame* CreateDataReceiverFrame(QWidget* owner, TDeviceInfo* info) { return new TDataReceiverFrame(owner, info); }

QString DescribeDataReceiverAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("F=%u, Block=%c, Horn=%c, Noreply=%c, BatLow=%c", ForceBits.get(m), DigitChar(m, FlagBits[3]),
                      DigitChar(m, FlagBits[2]), DigitChar(m, FlagBits[1]), DigitChar(m, FlagBits[0]));
}

void RegisterDataReceiverFrames()
{
    BindRows({DataReceiverRow}, CreateDataReceiverFrame, nullptr, DescribeDataReceiverAnswer);
}

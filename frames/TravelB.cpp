#include "frames/TravelB.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "frames/shared/TravelFields.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
constexpr int TravelBRow = 35;

// L bits 16-21 sit in bits 2-7 of byte 3, above the input code.
constexpr Bits HighCountBits{3, 2, 6};
constexpr int HighCountShift = 14;   // L >> 14, masked to bits 2-7, lands them in place
constexpr std::int64_t HighCountMask = 0xFC;

constexpr int FieldHeight = 28;
constexpr int EditLeft = 72;
constexpr int EditWidth = 114;

std::uint32_t Count(const TMessageImage& answer)
{
    return ((answer[3] & HighCountMask) << HighCountShift) + TravelWord.get(answer);
}

// The low 22 bits of the count (two's complement for a negative one); the input bits stay.
void StoreCount(TMessageImage& answer, std::int64_t count)
{
    TravelWord.store(answer, count);
    HighCountBits.set(answer, ((count >> HighCountShift) & HighCountMask) >> HighCountBits.shift);
}
}

TTravelBFrame::TTravelBFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    const auto label = [this](const char* name, const char* caption, int left, int top, int width) {
        TLabel* l = AddLabel(InPanel, name, QString::fromUtf8(caption), left, top);
        l->SetBounds(left, top, width, FieldHeight);
        return l;
    };
    LLabel = label("LLabel", "L, ед.:", 6, 6, 66);
    LEdit = AddEdit(InPanel, "LEdit", EditLeft, 6, EditWidth, EditUInt);
    LEdit->SetHeight(FieldHeight);
    LUpDown = AddUpDown(InPanel, "LUpDown", LEdit);
    const TSingleInputRow input = AddSingleInputRow(42, InputItems, EditLeft, EditWidth);
    Bevel1 = input.Bevel, INLabel = input.Heading, IN1Label = input.Number, IN1ComboBox = input.Combo;
    InPanel->SetHeight(84);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TTravelBFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (const std::optional<int> count = StrToInt(LEdit->Text()))
        StoreCount(answer, *count);
    TravelInput.clear(answer);
    OrTravelInput(answer, IN1ComboBox->ItemIndex());
}

void TTravelBFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    LEdit->SetText(QString::number(Count(answer)));
    IN1ComboBox->SetItemIndex(TravelInputItem(answer));
}

void TTravelBFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, QString::number(Count(answer)));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, TravelInputText(answer));
    WriteCell(*Info, 6, NoValueText);
}

void TTravelBFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (column == 3) {
        if (const std::optional<std::int64_t> count = TextToRaw(text, 1, Round::HalfAway))
            StoreCount(answer, *count);
    } else if (column == 5) {
        ReadTravelInputCell(answer, text);
    }
}

TFrame* CreateTravelBFrame(QWidget* owner, TDeviceInfo* info) { return new TTravelBFrame(owner, info); }

QString DescribeTravelBAnswer(const std::uint8_t* message)
{
    const TMessageImage answer = ImageOf(message);
    return FormatLine("L=%i, IN1=%c", static_cast<int>(Count(answer)), DigitChar(answer, TravelInput));
}

void RegisterTravelBFrames() { BindRows({TravelBRow}, CreateTravelBFrame, nullptr, DescribeTravelBAnswer); }

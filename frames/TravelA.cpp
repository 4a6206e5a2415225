#include "frames/TravelA.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "frames/shared/TravelFields.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
constexpr int TravelARow = 32;

// Byte 3: the sign of L in bit 7, the temperature in bits 2-6, the input in bits 0-1.
constexpr Bits SignBit{3, 7, 1};
constexpr Bits TemperatureBits{3, 2, 5};
constexpr std::uint8_t TemperatureMask = 0x7C;
// The stored temperature is T + 40 in steps of 4; adding 42 also rounds to the nearest step.
constexpr int TemperatureOffset = 40;
constexpr std::int64_t TemperatureRounding = 42;

constexpr int FieldHeight = 28;
constexpr int EditLeft = 72;
constexpr int EditWidth = 114;

std::int64_t SignedCount(const TMessageImage& answer)
{
    const std::int64_t magnitude = TravelWord.get(answer);
    return SignBit.get(answer) ? -magnitude : magnitude;
}

int Temperature(const TMessageImage& answer)
{
    return static_cast<int>(answer[3] & TemperatureMask) - TemperatureOffset;
}

// The low 16 bits of the magnitude and the sign; the magnitude of the lowest 64-bit value is
// taken without overflow.
void StoreSignedCount(TMessageImage& answer, std::int64_t count)
{
    const bool negative = count < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
    TravelWord.store(answer, static_cast<std::int64_t>(magnitude & TravelWord.mask()));
    SignBit.set(answer, negative ? 1 : 0);
}

// The temperature field from an already rounded T + 42; the sign stays.
void StoreTemperature(TMessageImage& answer, std::int64_t shifted)
{
    TemperatureBits.set(answer, (shifted & TemperatureMask) >> TemperatureBits.shift);
}
}

TTravelAFrame::TTravelAFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    const auto label = [this](const char* name, const char* caption, int left, int top, int width) {
        TLabel* l = AddLabel(InPanel, name, QString::fromUtf8(caption), left, top);
        l->SetBounds(left, top, width, FieldHeight);
        return l;
    };
    const auto edit = [this](const char* name, int top) {
        TEdit* e = AddEdit(InPanel, name, EditLeft, top, EditWidth, EditSInt);
        e->SetHeight(FieldHeight);
        return e;
    };
    LLabel = label("LLabel", "L, ед.:", 6, 6, 66);
    LEdit = edit("LEdit", 6);
    LUpDown = AddUpDown(InPanel, "LUpDown", LEdit);
    T1Label = label("T1Label", "T, °C:", 6, 42, 66);
    T1Edit = edit("T1Edit", 42);
    T1UpDown = AddUpDown(InPanel, "T1UpDown", T1Edit);
    const TSingleInputRow input = AddSingleInputRow(78, InputItems, EditLeft, EditWidth);
    Bevel1 = input.Bevel, INLabel = input.Heading, IN1Label = input.Number, IN1ComboBox = input.Combo;
    InPanel->SetHeight(120);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TTravelAFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (const std::optional<std::int64_t> count = TextToRaw(LEdit->Text(), 1, Round::HalfAway))
        StoreSignedCount(answer, *count);
    if (const std::optional<int> t = StrToInt(T1Edit->Text()))
        StoreTemperature(answer, *t + TemperatureRounding);
    TravelInput.clear(answer);
    OrTravelInput(answer, IN1ComboBox->ItemIndex());
}

void TTravelAFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    LEdit->SetText(QString::number(SignedCount(answer)));
    T1Edit->SetText(QString::number(Temperature(answer)));
    IN1ComboBox->SetItemIndex(TravelInputItem(answer));
}

void TTravelAFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, QString::number(SignedCount(answer)));
    WriteCell(*Info, 4, QString::number(Temperature(answer)));
    WriteCell(*Info, 5, TravelInputText(answer));
    WriteCell(*Info, 6, NoValueText);
}

void TTravelAFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    switch (column) {
    case 3:
        if (const std::optional<std::int64_t> count = TextToRaw(text, 1, Round::HalfAway))
            StoreSignedCount(answer, *count);
        break;
    case 4:
        // The cell cuts T + 42 toward zero where the edit rounds to the nearest step.
        if (const std::optional<long double> t = StrToFloat(text))
            if (const std::optional<std::int64_t> shifted = ToRaw(*t + TemperatureRounding, 1.0L, Round::Trunc))
                StoreTemperature(answer, *shifted);
        break;
    case 5:
        ReadTravelInputCell(answer, text);
        break;
    default:
        break;
    }
}

TFrame* CreateTravelAFrame(QWidget* owner, TDeviceInfo* info) { return new TTravelAFrame(owner, info); }

QString DescribeTravelAAnswer(const std::uint8_t* message)
{
    const TMessageImage answer = ImageOf(message);
    return FormatLine("L=%i, T=%i, IN1=%c", static_cast<int>(SignedCount(answer)), Temperature(answer),
                      DigitChar(answer, TravelInput));
}

void RegisterTravelAFrames() { BindRows({TravelARow}, CreateTravelAFrame, nullptr, DescribeTravelAAnswer); }

#include "frames/BoomLengthB.h"

#include "frames/Registration.h"
#include "platform/Numbers.h"

namespace {
constexpr int BoomLengthBRow = 14;
constexpr Bits AngleWord{1, 0, 16, 2};
constexpr long double AngleScale = 256;   // steps of the magnitude per degree
constexpr Num Length{Length12, 256, 1.0L / 256};
constexpr double LengthRange = 16;        // metres: the 12 bits hold exactly this many

constexpr TAngleValueLayout Layout{"LENLabel", "LEN, м:", "LENEdit", "LENUpDown", EditSFloat, EditUFloat, 0,
                                   &InputItems, 2};

// Bit 0 is the sign; the magnitude sits doubled above it.
std::int64_t PackAngle(std::int64_t steps)
{
    const std::uint64_t magnitude = steps < 0 ? 0 - static_cast<std::uint64_t>(steps) : static_cast<std::uint64_t>(steps);
    return static_cast<std::int64_t>(((magnitude * 2) & 0xFFFE) | (steps < 0 ? 1 : 0));
}

// A magnitude of zero shows no sign, whatever bit 0 says.
double AngleValue(const TMessageImage& answer)
{
    const std::uint32_t word = AngleWord.get(answer);
    const double magnitude = (word & 0xFFFE) / 512.0;
    return (word & 1) && magnitude != 0 ? -magnitude : magnitude;
}

QString AngleText(const TMessageImage& answer) { return FormatFloat("0.00", AngleValue(answer)); }

std::optional<std::int64_t> AngleSteps(const QString& text)
{
    const std::optional<long double> angle = StrToFloat(text);
    return angle ? ToRaw(*angle, AngleScale, Round::HalfAway) : std::nullopt;
}
}

TBoomLengthBFrame::TBoomLengthBFrame(QWidget* owner, TDeviceInfo* info) : TAngleValueFrame(owner, info, Layout)
{
    FillAnswerOnlySlots(this);
}

void TBoomLengthBFrame::FrameToAnswer()
{
    TMessageImage& answer = Answer();
    if (const std::optional<std::int64_t> steps = AngleSteps(ANGEdit->Text()))
        AngleWord.store(answer, PackAngle(*steps));
    const std::optional<long double> length = ReadWrappedGeneral(*LENEdit, 0, LengthRange);
    const std::optional<std::int64_t> raw = length ? ToRaw(*length, Length.scale, Round::AddHalf) : std::nullopt;
    if (raw)
        StoreLength12(answer, *raw);
    else
        ClearLengthInputs(answer);
    OrLengthInputs(answer, Item1(), Item2());
}

void TBoomLengthBFrame::AnswerToFrame()
{
    const TMessageImage& answer = Answer();
    ShowInFrame(AngleText(answer), Length.text(answer), InputItem(static_cast<int>(LengthIn1.get(answer))),
                InputItem(static_cast<int>(LengthIn2.get(answer))));
}

void TBoomLengthBFrame::AnswerToGrid()
{
    const TMessageImage& answer = Answer();
    ShowInGrid(AngleText(answer), Length.text(answer), LengthInputsText(answer));
}

void TBoomLengthBFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Answer();
    switch (column) {
    case 3:
        if (const std::optional<std::int64_t> steps = AngleSteps(text))
            AngleWord.store(answer, PackAngle(*steps));
        break;
    case 4:
        if (const std::optional<std::int64_t> raw = Length.fromCell(text))
            Length.bits.set(answer, *raw);
        break;
    case 5:
        ReadLengthInputsCell(answer, text);
        break;
    default:
        break;
    }
}

TFrame* CreateBoomLengthBFrame(QWidget* owner, TDeviceInfo* info) { return new TBoomLengthBFrame(owner, info); }

QString DescribeBoomLengthBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, LEN=%.2f, IN2-1=%c%c", AngleValue(m), static_cast<double>(Length.value(m)),
                      DigitChar(m, LengthIn2), DigitChar(m, LengthIn1));
}

void RegisterBoomLengthBFrames() { BindRows({BoomLengthBRow}, CreateBoomLengthBFrame, nullptr, DescribeBoomLengthBAnswer); }

#include "frames/BoomLengthB.h"

#include "frames/shared/Registration.h"

namespace {
constexpr int BoomLengthBRow = 14;
constexpr Bits AngleWord{1, 0, 16, 2};
constexpr long double AngleScale = 256;   // steps of the magnitude per degree
constexpr Num Length{Length12, 256, 1.0L / 256};
constexpr double LengthRange = 16;   // metres: the 12 bits hold exactly this many

// A magnitude of zero shows no sign, whatever bit 0 says.
double AngleValue(const TMessageImage& answer)
{
    const std::uint32_t word = AngleWord.get(answer);
    const double magnitude = (word & 0xFFFE) / 512.0;
    return (word & 1) && magnitude != 0 ? -magnitude : magnitude;
}

QString AngleText(const TMessageImage& answer) { return FormatFloat("0.00", AngleValue(answer)); }

// Bit 0 is the sign; the magnitude sits doubled above it. The edit and the cell round alike.
void StoreAngle(TMessageImage& answer, const QString& text)
{
    const std::optional<std::int64_t> steps = TextToRaw(text, AngleScale, Round::HalfAway);
    if (!steps)
        return;
    const std::uint64_t magnitude =
        *steps < 0 ? 0 - static_cast<std::uint64_t>(*steps) : static_cast<std::uint64_t>(*steps);
    AngleWord.store(answer, static_cast<std::int64_t>(((magnitude * 2) & 0xFFFE) | (*steps < 0 ? 1 : 0)));
}

void StoreLength(TMessageImage& answer, TEdit& edit)
{
    StoreLength12Edit(answer, edit, LengthRange, Length.scale, Round::AddHalf);
}

constexpr TAngleValueRules Rules{
    AngleText, NumText<Length>, LengthInputsText, LengthInputItem,
    [](TMessageImage& a, TEdit& edit) { StoreAngle(a, edit.Text()); }, StoreLength, OrLengthInputs,
    StoreAngle, ReadNumCell<Length>, ReadLengthInputsCell};
constexpr TAngleValueLayout Layout = LengthRowLayout(EditSFloat, EditUFloat, &InputItems, 2);
}

TBoomLengthBFrame::TBoomLengthBFrame(QWidget* owner, TDeviceInfo* info) : TAngleLengthFrame(owner, info, Layout, Rules) {}

TFrame* CreateBoomLengthBFrame(QWidget* owner, TDeviceInfo* info) { return new TBoomLengthBFrame(owner, info); }

QString DescribeBoomLengthBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, LEN=%.2f, IN2-1=%c%c", AngleValue(m), static_cast<double>(Length.value(m)),
                      DigitChar(m, LengthIn2), DigitChar(m, LengthIn1));
}

void RegisterBoomLengthBFrames() { BindRows({BoomLengthBRow}, CreateBoomLengthBFrame, nullptr, DescribeBoomLengthBAnswer); }

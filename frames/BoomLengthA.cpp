#include "frames/BoomLengthA.h"

#include "frames/shared/Registration.h"

namespace {
constexpr int BoomLengthARow = 13;
constexpr Bits AngleWord{1, 0, 16, 2};
constexpr Num Angle{{1, 0, 15, 2}, 256, 1.0L / 256};
constexpr Bits In1{2, 7, 1};   // bit 15 of the angle word, 1 = "Масса"
using Input = GroundInputRules<In1>;
constexpr Num Length{LengthWord, 256, 1.0L / 256};
constexpr double LengthRange = 256;   // metres: the word holds exactly this many

// The angle's store leaves the input bit at 0 either way; the combo sets it last.
void StoreAngle(TMessageImage& answer, TEdit& edit)
{
    if (const std::optional<std::int64_t> raw = Angle.fromEdit(edit.Text()))
        AngleWord.store(answer, *raw & 0x7FFF);
    else
        In1.clear(answer);
}

void StoreLength(TMessageImage& answer, TEdit& edit)
{
    if (const std::optional<long double> length = ReadWrappedEdit(edit, 0, LengthRange))
        if (const std::optional<std::int64_t> raw = ToRaw(*length, Length.scale, Round::AddHalf))
            Length.bits.store(answer, *raw);
}

constexpr TAngleValueRules Rules{
    NumText<Angle>, NumText<Length>, Input::text, Input::item, StoreAngle, StoreLength, Input::store,
    ReadNumCell<Angle>, ReadNumCell<Length>, Input::read};
constexpr TAngleValueLayout Layout = LengthRowLayout(EditUFloat, EditUFloat, &GroundInputItems, 1);
}

TBoomLengthAFrame::TBoomLengthAFrame(QWidget* owner, TDeviceInfo* info) : TAngleLengthFrame(owner, info, Layout, Rules) {}

TFrame* CreateBoomLengthAFrame(QWidget* owner, TDeviceInfo* info) { return new TBoomLengthAFrame(owner, info); }

QString DescribeBoomLengthAAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, LEN=%.2f, IN1=%c", static_cast<double>(Angle.value(m)),
                      static_cast<double>(Length.value(m)), DigitChar(m, In1));
}

void RegisterBoomLengthAFrames() { BindRows({BoomLengthARow}, CreateBoomLengthAFrame, nullptr, DescribeBoomLengthAAnswer); }

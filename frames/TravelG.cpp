#include "frames/TravelG.h"

#include "frames/shared/Registration.h"

namespace {
constexpr int TravelGRow = 84;
constexpr Num Angle{{1, 0, 16, 2}, 100, 0.01L};
constexpr double FullTurn = 360;

// The sensor's angle is a single-precision value: the wrapped angle is shown and scaled as such.
QString SingleText(long double value) { return FloatToStr(static_cast<float>(value)); }

void StoreAngle(TMessageImage& answer, TEdit& edit)
{
    if (const std::optional<long double> typed = StrToFloat(edit.Text())) {
        const float angle = static_cast<float>(WrapIntoEdit(edit, *typed, 0, FullTurn, SingleText));
        if (const std::optional<std::int64_t> raw = ToRaw(angle, Angle.scale, Round::AddHalf))
            Angle.bits.store(answer, *raw);
    }
}

constexpr TAngleValueRules Rules = CountLengthRules(NumText<Angle>, StoreAngle, ReadNumCell<Angle>);
}

TTravelGFrame::TTravelGFrame(QWidget* owner, TDeviceInfo* info)
    : TAngleLengthFrame(owner, info, CountLengthLayout, Rules)
{
}

TFrame* CreateTravelGFrame(QWidget* owner, TDeviceInfo* info) { return new TTravelGFrame(owner, info); }

QString DescribeTravelGAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return DescribeCountLength(m, Angle.value(m));
}

void RegisterTravelGFrames() { BindRows({TravelGRow}, CreateTravelGFrame, nullptr, DescribeTravelGAnswer); }

#include "frames/BoomLengthC.h"

#include "frames/shared/Registration.h"

namespace {
constexpr int BoomLengthCRows[] = {39, 52};
constexpr Num Angle{{1, 0, 16, 2}, 256, 1.0L / 256};

void StoreAngle(TMessageImage& answer, TEdit& edit)
{
    if (const std::optional<std::int64_t> raw = Angle.fromEdit(edit.Text()))
        Angle.bits.store(answer, *raw);
}

constexpr TAngleValueRules Rules = CountLengthRules(NumText<Angle>, StoreAngle, ReadNumCell<Angle>);
}

TBoomLengthCFrame::TBoomLengthCFrame(QWidget* owner, TDeviceInfo* info)
    : TAngleLengthFrame(owner, info, CountLengthLayout, Rules)
{
}

TFrame* CreateBoomLengthCFrame(QWidget* owner, TDeviceInfo* info) { return new TBoomLengthCFrame(owner, info); }

QString DescribeBoomLengthCAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return DescribeCountLength(m, Angle.value(m));
}

void RegisterBoomLengthCFrames()
{
    BindRows({BoomLengthCRows[0], BoomLengthCRows[1]}, CreateBoomLengthCFrame, nullptr, DescribeBoomLengthCAnswer);
}

#include "frames/AzimuthA.h"

#include "frames/shared/Registration.h"

namespace {
constexpr int AzimuthARow = 25;
constexpr Bits In1{2, 6, 1};   // 1 = "Масса"

constexpr TAngleValueRules Rules = WholeDegreeRules<GroundInputRules<In1>>();
constexpr TAngleValueLayout Layout = TemperatureRowLayout(EditSInt, 0, &GroundInputItems);
}

TAzimuthAFrame::TAzimuthAFrame(QWidget* owner, TDeviceInfo* info) : TAzimuthFrame(owner, info, Layout, Rules) {}

TFrame* CreateAzimuthAFrame(QWidget* owner, TDeviceInfo* info) { return new TAzimuthAFrame(owner, info); }

QString DescribeAzimuthAAnswer(const std::uint8_t* message) { return DescribeWholeDegrees(ImageOf(message), In1); }

void RegisterAzimuthAFrames() { BindRows({AzimuthARow}, CreateAzimuthAFrame, nullptr, DescribeAzimuthAAnswer); }

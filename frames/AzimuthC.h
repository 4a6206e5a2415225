#pragma once
// The azimuth sensor whose input is a code: the slewing angle in whole degrees and the
// temperature, each in sign and magnitude, and a two-bit input code beside the angle's sign.
#include "frames/shared/AngleLength.h"

class TAzimuthCFrame final : public TAzimuthFrame {
public:
    TAzimuthCFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TAzimuthCFrame"; }
};

TFrame* CreateAzimuthCFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeAzimuthCAnswer(const std::uint8_t* message);
// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterAzimuthCFrames();

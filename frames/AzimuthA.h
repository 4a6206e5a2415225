#pragma once
// The azimuth sensor: the slewing angle in whole degrees and the temperature, each in sign and
// magnitude, and one input bit beside the angle's sign.
#include "frames/shared/AngleLength.h"

class TAzimuthAFrame final : public TAzimuthFrame {
public:
    TAzimuthAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TAzimuthAFrame"; }
};

TFrame* CreateAzimuthAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeAzimuthAAnswer(const std::uint8_t* message);
// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterAzimuthAFrames();

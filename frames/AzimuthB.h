#pragma once
// The azimuth sensor with a fine angle: 1024 steps to the turn in ten bits, a coarse
// temperature in steps of 4 °C and one input code above it.
#include "frames/shared/AngleLength.h"

class TAzimuthBFrame final : public TAzimuthFrame {
public:
    TAzimuthBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TAzimuthBFrame"; }
};

TFrame* CreateAzimuthBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeAzimuthBAnswer(const std::uint8_t* message);
// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterAzimuthBFrames();

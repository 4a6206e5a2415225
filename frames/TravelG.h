#pragma once
// The seventh travel sensor: an angle in 1/100 degree that wraps over the full turn, a 12-bit
// length in whole units and two input codes above it.
#include "frames/shared/AngleLength.h"

class TTravelGFrame final : public TAngleLengthFrame {
public:
    TTravelGFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTravelGFrame"; }
};

TFrame* CreateTravelGFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeTravelGAnswer(const std::uint8_t* message);
// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterTravelGFrames();

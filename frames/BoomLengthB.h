#pragma once
// The boom length and tilt sensor: the tilt in sign and magnitude (1/256 degree, the sign in
// bit 0), a 12-bit length in 1/256 metre and two input codes above it.
#include "frames/shared/AngleLength.h"

class TBoomLengthBFrame final : public TAngleLengthFrame {
public:
    TBoomLengthBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TBoomLengthBFrame"; }
};

TFrame* CreateBoomLengthBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeBoomLengthBAnswer(const std::uint8_t* message);
// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterBoomLengthBFrames();

#pragma once
// The displacement sensor: an angle in 1/256 degree in a full word, a 12-bit length in whole
// units and two input codes above it.
#include "frames/shared/AngleLength.h"

class TBoomLengthCFrame final : public TAngleLengthFrame {
public:
    TBoomLengthCFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TBoomLengthCFrame"; }
};

TFrame* CreateBoomLengthCFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeBoomLengthCAnswer(const std::uint8_t* message);
// Binds the factory and answer decoder into the sensor's two catalogue rows.
void RegisterBoomLengthCFrames();

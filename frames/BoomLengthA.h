#pragma once
// The boom length sensor: the boom angle in 1/256 degree in 15 bits with the one input above
// it, and the boom length in 1/256 metre in a full word.
#include "frames/shared/AngleLength.h"

class TBoomLengthAFrame final : public TAngleLengthFrame {
public:
    TBoomLengthAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TBoomLengthAFrame"; }
};

TFrame* CreateBoomLengthAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeBoomLengthAAnswer(const std::uint8_t* message);
// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterBoomLengthAFrames();

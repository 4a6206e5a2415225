#pragma once
// The azimuth sensor: the slewing angle in whole degrees and the temperature, each in sign and
// magnitude, and one input bit beside the angle's sign.
#include "frames/AngleLength.h"

#include <cstdint>

class TAzimuthAFrame final : public TAngleValueFrame {
public:
    TAzimuthAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TAzimuthAFrame"; }

    TLabel* const T1Label = SecondLabel;
    TEdit* const T1Edit = SecondEdit;
    TUpDown* const T1UpDown = SecondUpDown;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateAzimuthAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeAzimuthAAnswer(const std::uint8_t* message);

// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterAzimuthAFrames();

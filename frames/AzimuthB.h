#pragma once
// The azimuth sensor with a fine angle: 1024 steps to the turn in ten bits, a coarse
// temperature in steps of 4 °C and one input code above it.
#include "frames/AngleLength.h"

#include <cstdint>

class TAzimuthBFrame final : public TAngleValueFrame {
public:
    TAzimuthBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TAzimuthBFrame"; }

    TLabel* const T1Label = SecondLabel;
    TEdit* const T1Edit = SecondEdit;
    TUpDown* const T1UpDown = SecondUpDown;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateAzimuthBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeAzimuthBAnswer(const std::uint8_t* message);

// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterAzimuthBFrames();

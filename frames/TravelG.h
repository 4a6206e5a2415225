#pragma once
// The seventh travel sensor: an angle in 1/100 degree that wraps over the full turn, a 12-bit
// length in whole units and two input codes above it.
#include "frames/AngleLength.h"

#include <cstdint>

class TTravelGFrame final : public TAngleValueFrame {
public:
    TTravelGFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTravelGFrame"; }

    TLabel* const LENLabel = SecondLabel;
    TEdit* const LENEdit = SecondEdit;
    TUpDown* const LENUpDown = SecondUpDown;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateTravelGFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeTravelGAnswer(const std::uint8_t* message);

// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterTravelGFrames();

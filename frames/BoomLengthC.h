#pragma once
// The displacement sensor: an angle in 1/256 degree in a full word, a 12-bit length in whole
// units and two input codes above it.
#include "frames/AngleLength.h"

#include <cstdint>

class TBoomLengthCFrame final : public TAngleValueFrame {
public:
    TBoomLengthCFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TBoomLengthCFrame"; }

    TLabel* const LENLabel = SecondLabel;
    TEdit* const LENEdit = SecondEdit;
    TUpDown* const LENUpDown = SecondUpDown;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateBoomLengthCFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeBoomLengthCAnswer(const std::uint8_t* message);

// Binds the factory and answer decoder into the sensor's two catalogue rows.
void RegisterBoomLengthCFrames();

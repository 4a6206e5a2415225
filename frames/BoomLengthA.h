#pragma once
// The boom length sensor: the boom angle in 1/256 degree in 15 bits with the one input above
// it, and the boom length in 1/256 metre in a full word.
#include "frames/AngleLength.h"

#include <cstdint>

class TBoomLengthAFrame final : public TAngleValueFrame {
public:
    TBoomLengthAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TBoomLengthAFrame"; }

    TLabel* const LENLabel = SecondLabel;
    TEdit* const LENEdit = SecondEdit;
    TUpDown* const LENUpDown = SecondUpDown;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateBoomLengthAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeBoomLengthAAnswer(const std::uint8_t* message);

// Binds the factory and answer decoder into the sensor's catalogue row.
void RegisterBoomLengthAFrames();

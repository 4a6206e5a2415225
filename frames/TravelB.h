#pragma once
// The second travel sensor: a 22-bit count L over the answer word and the top of byte 3, and
// one input, answered to its address byte alone.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TTravelBFrame final : public TFrameBase {
public:
    TTravelBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTravelBFrame"; }

    TLabel* LLabel;
    TEdit* LEdit;
    TUpDown* LUpDown;
    TBevel* Bevel1;
    TLabel* INLabel;
    TLabel* IN1Label;
    TComboBox* IN1ComboBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateTravelBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeTravelBAnswer(const std::uint8_t* message);

// Binds the factory and the answer decoder into the sensor's catalogue row.
void RegisterTravelBFrames();

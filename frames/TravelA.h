#pragma once
// The first travel sensor: a signed count L (magnitude and sign bit), a temperature in steps
// of 4 °C and one input, answered to its address byte alone.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TTravelAFrame final : public TFrameBase {
public:
    TTravelAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTravelAFrame"; }

    TLabel* LLabel;
    TEdit* LEdit;
    TUpDown* LUpDown;
    TLabel* T1Label;
    TEdit* T1Edit;
    TUpDown* T1UpDown;
    TBevel* Bevel1;
    TLabel* INLabel;
    TLabel* IN1Label;
    TComboBox* IN1ComboBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateTravelAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeTravelAAnswer(const std::uint8_t* message);

// Binds the factory and the answer decoder into the sensor's catalogue row.
void RegisterTravelAFrames();

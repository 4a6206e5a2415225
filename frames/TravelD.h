#pragma once
// The fourth travel sensor: a 14-bit count L (12 bits when the frame is told so) and a two-bit
// 1-Wire state in one answer word, answered to its address byte alone.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TTravelDFrame final : public TFrameBase {
public:
    TTravelDFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTravelDFrame"; }

    TLabel* LLabel;
    TEdit* LEdit;
    TUpDown* LUpDown;
    // Cuts the count that the frame and the grid send to 12 bits; the frame's own state, never
    // stored, a new frame starts without it.
    TCheckBox* checkBox12Bit;
    TLabel* INLabel;
    TComboBox* IN1ComboBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();

private:
    std::uint32_t countMask() const;
};

TFrame* CreateTravelDFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeTravelDAnswer(const std::uint8_t* message);

// Binds the factory and the answer decoder into the sensor's four catalogue rows.
void RegisterTravelDFrames();

#pragma once
// The fifth travel sensor: a 15-bit count L and a one-bit 1-Wire mark in one answer word,
// answered to its address byte alone.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TTravelEFrame final : public TFrameBase {
public:
    TTravelEFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTravelEFrame"; }

    TLabel* LLabel;
    TEdit* LEdit;
    TUpDown* LUpDown;
    TLabel* INLabel;
    TComboBox* IN1ComboBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateTravelEFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeTravelEAnswer(const std::uint8_t* message);

// Binds the factory and the answer decoder into the sensor's four catalogue rows.
void RegisterTravelEFrames();

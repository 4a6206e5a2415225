#pragma once
// The fifth tilt sensor: an unsigned longitudinal angle in hundredths of a degree and the two-bit
// state of one input, which has an item for every code.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TTiltDFrame final : public TFrameBase {
public:
    TTiltDFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTiltDFrame"; }

    TLabel* ANGLabel;
    TEdit* ANGEdit;
    TUpDown* ANGUpDown;
    TBevel* Bevel1;
    TLabel* INLabel;
    TLabel* IN1Label;
    TComboBox* IN1ComboBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

// "00 - Свободен", "01 - +24В", "10 - Общий", "11 - Не поддерживается": the item index is the code.
extern const QStringList TiltDInputItems;

TFrame* CreateTiltDFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeTiltDAnswer(const std::uint8_t* message);

// Binds the sensor's factory and answer decoder into its catalogue row.
void RegisterTiltDFrames();

#pragma once
// The "IoBlock-2" at its output address: the request switches nine outputs and sets a PWM
// value; the answer carries the states of five outputs, the third one's code split over both
// bytes.
#include <array>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TIoBlockCFrame final : public TFrameBase {
public:
    TIoBlockCFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TIoBlockCFrame"; }

    // Request side.
    TLabel* OUTLabel;
    TLabel* OUT9Label;
    TLabel* OUT1Label;
    std::array<TCheckBox*, 9> OutBoxes;   // OUT1CheckBox .. OUT9CheckBox
    TLabel* PWMLabel1;
    TEdit* PWMEdit;
    TUpDown* PWMUpDown;
    TLabel* PWMLabel2;

    // Answer side.
    TLabel* OUTLabel_;
    std::array<TLabel*, 5> OutLabels_;     // OUT1Label_ .. OUT5Label_
    std::array<TComboBox*, 5> OutCombos;   // OUT1ComboBox .. OUT5ComboBox

    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateIoBlockCFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeIoBlockCRequest(const std::uint8_t* message);
QString DescribeIoBlockCAnswer(const std::uint8_t* message);

// Binds the factory and decoders into the row of the block.
void RegisterIoBlockCFrames();

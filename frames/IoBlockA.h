#pragma once
// The input block: answers its address byte with the states of sixteen inputs, fifteen
// three-state inputs and one that is either free or grounded.
#include <array>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TIoBlockAFrame final : public TFrameBase {
public:
    static constexpr int InputCount = 16;

    TIoBlockAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TIoBlockAFrame"; }

    TLabel* INLabel;
    // IN1 first: IN1Label ... IN16Label and IN1ComboBox ... IN16ComboBox.
    std::array<TLabel*, InputCount> INLabels{};
    std::array<TComboBox*, InputCount> INComboBoxes{};

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateIoBlockAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeIoBlockAAnswer(const std::uint8_t* message);

// Binds the factory and the answer decoder into the block's two catalogue rows.
void RegisterIoBlockAFrames();

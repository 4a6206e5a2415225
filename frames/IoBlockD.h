#pragma once
// The "IoBlock-2" at its input address: the request switches two outputs, as on the engine and
// transmission blocks; the answer carries six inputs, a 12-bit frequency split over two bytes
// and a fuel level.
#include <array>
#include <cstdint>

#include "frames/shared/TwoOutputBlock.h"

class TIoBlockDFrame final : public TTwoOutputBlockFrame {
public:
    TIoBlockDFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TIoBlockDFrame"; }

    // Answer side.
    TLabel* FLabel;
    TEdit* FEdit;
    TUpDown* FUpDown;
    TLabel* FLLabel;
    TEdit* FLEdit;
    TUpDown* FLUpDown;
    TBevel* Bevel;
    TLabel* INLabel;
    std::array<TLabel*, 6> InLabels;      // IN1Label .. IN6Label
    std::array<TComboBox*, 6> InCombos;   // IN1ComboBox .. IN6ComboBox

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateIoBlockDFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeIoBlockDRequest(const std::uint8_t* message);
QString DescribeIoBlockDAnswer(const std::uint8_t* message);

// Binds the factory and decoders into the row of the block.
void RegisterIoBlockDFrames();

#pragma once
// The request side that the engine block and the transmission block share: one byte whose
// bits 0 and 1 switch the block's outputs OUT1 and OUT2. Each block derives its frame from
// this one and adds its own answer side.
#include <QString>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TTwoOutputBlockFrame : public TFrameBase {
public:
    TTwoOutputBlockFrame(QWidget* owner, TDeviceInfo* info);

    TLabel* OUTLabel;
    TLabel* OUT2Label;
    TCheckBox* OUT2CheckBox;
    TCheckBox* OUT1CheckBox;
    TLabel* OUT1Label;

    void GridToRequest(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
};

// "OUT2-1=%c%c" of the request byte.
QString DescribeTwoOutputRequest(const std::uint8_t* message);

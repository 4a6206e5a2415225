#pragma once
// The data receiver: passes on a remote sensor's force together with four status flags of the
// remote unit, in one little-endian answer word.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TDataReceiverFrame final : public TFrameBase {
public:
    TDataReceiverFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TDataReceiverFrame"; }

    TLabel* FLabel;
    TBevel* Bevel1;
    TEdit* FEdit;
    TUpDown* FUpDown;
    TCheckBox* blockCheckBox;
    TCheckBox* hornCheckBox;
    TCheckBox* noreplyCheckBox;
    TCheckBox* batteryLowCheckBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateDataReceiverFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeDataReceiverAnswer(const std::uint8_t* message);

// Binds the data receiver's factory and answer decoder into its catalogue row.
void RegisterDataReceiverFrames();

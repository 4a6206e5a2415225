#pragma once
// The input and load block with sixteen outputs: the master switches OUT1-OUT16, the block
// answers with its eighteen inputs and the states of its outputs OUT1-OUT14.
#include <array>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TIoBlockEFrame final : public TFrameBase {
public:
    TIoBlockEFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TIoBlockEFrame"; }

    // Index 0 is signal 1: OUTCheckBox[0] is OUT1CheckBox, OUTCheckBox_[0] is OUT1CheckBox_.
    TLabel* OUTLabel;
    std::array<TCheckBox*, 16> OUTCheckBox{};
    TLabel* INLabel;
    std::array<TCheckBox*, 18> INCheckBox{};
    TBevel* Bevel1;
    TLabel* OUTLabel_;
    std::array<TCheckBox*, 14> OUTCheckBox_{};

    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateIoBlockEFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeIoBlockERequest(const std::uint8_t* message);
QString DescribeIoBlockEAnswer(const std::uint8_t* message);

// Binds the block's factory and decoders into its catalogue row.
void RegisterIoBlockEFrames();

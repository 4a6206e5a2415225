#pragma once
// The input and load block with thirteen outputs: the master switches OUT1-OUT13, the block
// answers with its inputs IN1-IN3 and INc.
#include <array>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TIoBlockFFrame final : public TFrameBase {
public:
    TIoBlockFFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TIoBlockFFrame"; }

    TLabel* OUTLabel;
    std::array<TCheckBox*, 13> OUTCheckBox{};   // index 0 is OUT1CheckBox
    TLabel* INLabel;
    TLabel* INcLabel;
    TCheckBox* INcCheckBox;
    TLabel* IN3Label;
    TCheckBox* IN3CheckBox;
    TCheckBox* IN2CheckBox;
    TCheckBox* IN1CheckBox;
    TLabel* IN1Label;

    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateIoBlockFFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeIoBlockFRequest(const std::uint8_t* message);
QString DescribeIoBlockFAnswer(const std::uint8_t* message);

// Binds the block's factory and decoders into its catalogue row.
void RegisterIoBlockFFrames();

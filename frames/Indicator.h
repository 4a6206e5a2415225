#pragma once
// The indicator: the master sends a percentage and an alarm flag, the indicator answers with
// the same two fields. With "Автоматическое формирование" ticked the emulated answer repeats
// the request shown in the request controls.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TIndicatorFrame final : public TFrameBase {
public:
    TIndicatorFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TIndicatorFrame"; }

    TLabel* ValueLabel;
    TEdit* ValueEdit;
    TUpDown* ValueUpDown;
    TCheckBox* AlarmCheckBox;
    TLabel* ValueLabel_;
    TEdit* ValueEdit_;
    TUpDown* ValueUpDown_;
    TCheckBox* AlarmCheckBox_;
    TCheckBox* AutoAnswerBox;

    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateIndicatorFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeIndicatorRequest(const std::uint8_t* message);
QString DescribeIndicatorAnswer(const std::uint8_t* message);

// Binds the indicator's factory and decoders into its catalogue rows.
void RegisterIndicatorFrames();

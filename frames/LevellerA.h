#pragma once
// The levelling block that takes two set angles and answers with two measured angles, both in
// 1/256 degree. Its request has no grid column: column 2 always shows no value.
#include <QString>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TLevellerAFrame final : public TFrameBase {
public:
    TLevellerAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TLevellerAFrame"; }

    TLabel* ANGLabel;
    TLabel* ANG1Label;
    TEdit* ANG1Edit;
    TUpDown* ANG1UpDown;
    TLabel* ANG2Label;
    TEdit* ANG2Edit;
    TUpDown* ANG2UpDown;
    TLabel* ANGLabel_;
    TLabel* ANG1Label_;
    TEdit* ANG1Edit_;
    TUpDown* ANG1UpDown_;
    TLabel* ANG2Label_;
    TEdit* ANG2Edit_;
    TUpDown* ANG2UpDown_;

    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateLevellerAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeLevellerARequest(const std::uint8_t* message);
QString DescribeLevellerAAnswer(const std::uint8_t* message);

// Binds the block's factory and decoders into its catalogue row.
void RegisterLevellerAFrames();

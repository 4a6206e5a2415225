#pragma once
// The transmission block: answers its address byte with a temperature, three pressures and a
// level, one byte each.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TGearBlockAFrame final : public TFrameBase {
public:
    TGearBlockAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TGearBlockAFrame"; }

    TLabel* TTLabel;
    TLabel* T7Label;
    TEdit* T7Edit;
    TUpDown* T7UpDown;
    TBevel* Bevel1;
    TLabel* PLabel;
    TLabel* P8Label;
    TEdit* P8Edit;
    TUpDown* P8UpDown;
    TLabel* P9Label;
    TEdit* P9Edit;
    TUpDown* P9UpDown;
    TLabel* P13Label;
    TEdit* P13Edit;
    TUpDown* P13UpDown;
    TBevel* Bevel2;
    TLabel* LLabel;
    TLabel* L4Label;
    TEdit* L4Edit;
    TUpDown* L4UpDown;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateGearBlockAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeGearBlockAAnswer(const std::uint8_t* message);

// Binds the factory and the answer decoder into the block's catalogue row.
void RegisterGearBlockAFrames();

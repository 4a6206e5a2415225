#pragma once
// The transmission block: the request switches its two outputs; the answer carries one
// temperature, five pressures and the states of outputs OUT1 and OUT2.
#include <QString>
#include <cstdint>

#include "frames/shared/TwoOutputBlock.h"

class TGearBlockBFrame final : public TTwoOutputBlockFrame {
public:
    TGearBlockBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TGearBlockBFrame"; }

    TLabel* TTLabel;
    TLabel* T8Label;
    TEdit* T8Edit;
    TUpDown* T8UpDown;
    TLabel* PPLabel;
    TLabel* P16Label;
    TEdit* P16Edit;
    TUpDown* P16UpDown;
    TBevel* Bevel1;
    TLabel* PLabel;
    TLabel* P10Label;
    TEdit* P10Edit;
    TUpDown* P10UpDown;
    TLabel* P11Label;
    TEdit* P11Edit;
    TUpDown* P11UpDown;
    TLabel* P14Label;
    TEdit* P14Edit;
    TUpDown* P14UpDown;
    TLabel* P15Label;
    TEdit* P15Edit;
    TUpDown* P15UpDown;
    TBevel* Bevel2;
    TLabel* OUTLabel_;
    TLabel* OUT1Label_;
    TComboBox* OUT1ComboBox;
    TLabel* OUT2Label_;
    TComboBox* OUT2ComboBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateGearBlockBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeGearBlockBRequest(const std::uint8_t* message);
QString DescribeGearBlockBAnswer(const std::uint8_t* message);

// Binds the transmission block's factory and decoders into its catalogue row.
void RegisterGearBlockBFrames();

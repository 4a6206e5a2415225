#pragma once
// The engine block: the request switches its two outputs; the answer carries engine speed,
// three temperatures, oil pressure, supply voltage, the generator and BP flags and the state
// of output OUT1.
#include <QString>
#include <cstdint>

#include "frames/shared/TwoOutputBlock.h"

class TEngineBlockFrame final : public TTwoOutputBlockFrame {
public:
    TEngineBlockFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TEngineBlockFrame"; }

    TLabel* TTLabel;
    TLabel* T1Label;
    TEdit* T1Edit;
    TUpDown* T1UpDown;
    TLabel* T3Label;
    TEdit* T3Edit;
    TUpDown* T3UpDown;
    TLabel* T5Label;
    TEdit* T5Edit;
    TUpDown* T5UpDown;
    TLabel* V1Label;
    TEdit* V1Edit;
    TUpDown* V1UpDown;
    TLabel* P1Label;
    TEdit* P1Edit;
    TUpDown* P1UpDown;
    TLabel* UPLabel;
    TEdit* UPEdit;
    TUpDown* UPUpDown;
    TBevel* Bevel1;
    TLabel* UGLabel;
    TCheckBox* UGCheckBox;
    TLabel* BPLabel;
    TLabel* BP7Label;
    TCheckBox* BP7CheckBox;
    TLabel* BP6Label;
    TCheckBox* BP6CheckBox;
    TLabel* BP5Label;
    TCheckBox* BP5CheckBox;
    TLabel* BP2Label;
    TCheckBox* BP2CheckBox;
    TBevel* Bevel2;
    TLabel* OUTLabel_;
    TLabel* OUT1Label_;
    TComboBox* OUT1ComboBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateEngineBlockFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeEngineBlockRequest(const std::uint8_t* message);
QString DescribeEngineBlockAnswer(const std::uint8_t* message);

// Binds the engine block's factory and decoders into its catalogue row.
void RegisterEngineBlockFrames();

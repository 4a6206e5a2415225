#pragma once
// The input/output blocks "IoBlock-1" and "IoBlock-3": the request switches eight outputs; the
// answer carries two temperatures, two pressures and the states of six outputs, the upper bit
// of the fifth and sixth output codes riding in the top bits of the pressure bytes.
#include <array>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TIoBlockBFrame final : public TFrameBase {
public:
    TIoBlockBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TIoBlockBFrame"; }

    // Request side.
    TLabel* OUTLabel;
    TLabel* OUT6Label;   // the "8" at the left end of the boxes
    TLabel* OUT1Label;
    std::array<TCheckBox*, 8> OutBoxes;   // OUT1CheckBox .. OUT8CheckBox

    // Answer side.
    TLabel* TTLabel;
    TLabel* T1Label;
    TEdit* T1Edit;
    TUpDown* T1UpDown;
    TLabel* T2Label;
    TEdit* T2Edit;
    TUpDown* T2UpDown;
    TLabel* PLabel;
    TLabel* P1Label;
    TEdit* P1Edit;
    TUpDown* P1UpDown;
    TLabel* P2Label;
    TEdit* P2Edit;
    TUpDown* P2UpDown;
    TBevel* Bevel1;
    TLabel* OUTLabel_;
    std::array<TLabel*, 6> OutLabels_;     // OUT1Label_ .. OUT6Label_
    std::array<TComboBox*, 6> OutCombos;   // OUT1ComboBox .. OUT6ComboBox

    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateIoBlockBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeIoBlockBRequest(const std::uint8_t* message);
QString DescribeIoBlockBAnswer(const std::uint8_t* message);

// Binds the factory and decoders into the rows of "IoBlock-1" and "IoBlock-3".
void RegisterIoBlockBFrames();

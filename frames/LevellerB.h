#pragma once
// The levelling block that takes four flags (outputs OUT1 and OUT2, Auto_Dis, Calibrate) and
// answers with the same flags and the measured angle in 1/16 degree. With "Автоматическое
// формирование" ticked, the emulated answer's flags follow the request shown in the frame.
#include <QString>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TLevellerBFrame final : public TFrameBase {
public:
    TLevellerBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TLevellerBFrame"; }

    TLabel* OUTLabel;
    TLabel* OUT2Label;
    TCheckBox* OUT2CheckBox;
    TCheckBox* OUT1CheckBox;
    TLabel* OUT1Label;
    TLabel* Auto_DisLabel;
    TCheckBox* Auto_DisBox;
    TLabel* CalibrateLabel;
    TCheckBox* CalibrateBox;

    TLabel* OUTLabel_;
    TLabel* OUT2Label_;
    TCheckBox* OUT2CheckBox_;
    TCheckBox* OUT1CheckBox_;
    TLabel* OUT1Label_;
    TLabel* Auto_DisLabel_;
    TCheckBox* Auto_DisBox_;
    TLabel* ANGLabel;
    TEdit* ANGEdit;
    TUpDown* ANGUpDown;
    TLabel* CalibrateLabel_;
    TCheckBox* CalibrateBox_;
    TCheckBox* AutoAnswerBox;

    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();

private:
    void followRequest();
};

TFrame* CreateLevellerBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeLevellerBRequest(const std::uint8_t* message);
QString DescribeLevellerBAnswer(const std::uint8_t* message);

// Binds the block's factory and decoders into its two catalogue rows.
void RegisterLevellerBFrames();

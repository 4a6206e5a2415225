#pragma once
// The two-axis control handle: polled with its address byte alone, it answers with the
// deflection and direction of both axes, three buttons, a mode flag and two axis errors.
#include <QString>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TJoystickBFrame final : public TFrameBase {
public:
    TJoystickBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TJoystickBFrame"; }

    TLabel* ButLabel;
    TLabel* But1Label;
    TLabel* But3Label;
    TLabel* ACLabel;
    TLabel* BDLabel;
    TLabel* DMLabel;
    TBevel* Bevel1;
    TBevel* Bevel2;
    TCheckBox* But1CheckBox;
    TCheckBox* But2CheckBox;
    TCheckBox* But3CheckBox;
    TEdit* ACEdit;
    TUpDown* ACUpDown;
    TEdit* BDEdit;
    TUpDown* BDUpDown;
    TPanel* ACPanel;
    TRadioButton* CRadioButton;
    TRadioButton* ARadioButton;
    TPanel* BDPanel;
    TRadioButton* DRadioButton;
    TRadioButton* BRadioButton;
    TCheckBox* ErrACCheckBox;
    TCheckBox* ErrBDCheckBox;
    TCheckBox* DMCheckBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateJoystickBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeJoystickBAnswer(const std::uint8_t* message);

// Binds the handle's factory and answer decoder into its four catalogue rows.
void RegisterJoystickBFrames();

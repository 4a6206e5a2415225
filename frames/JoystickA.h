#pragma once
// The first control handle: the master sends the F flag, three output flags K1-K3 and a limit
// code for each of the four directions SA-SD; the handle answers with its three buttons and
// the four direction flags YA-YD.
#include <array>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TJoystickAFrame final : public TFrameBase {
public:
    TJoystickAFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TJoystickAFrame"; }

    // Request side.
    TLabel* FLabel;
    TComboBox* FComboBox;
    TLabel* KLabel;
    TLabel* K3Label;
    TCheckBox* K3CheckBox;
    TCheckBox* K2CheckBox;
    TCheckBox* K1CheckBox;
    TLabel* K1Label;
    TBevel* Bevel1;
    TLabel* SDLabel;
    TComboBox* SDComboBox;
    TLabel* SCLabel;
    TComboBox* SCComboBox;
    TLabel* SALabel;
    TComboBox* SAComboBox;
    TComboBox* SBComboBox;
    TLabel* SBLabel;
    // Answer side.
    TLabel* KLabel_;
    TLabel* K3Label_;
    TCheckBox* K3CheckBox_;
    TCheckBox* K2CheckBox_;
    TCheckBox* K1CheckBox_;
    TLabel* K1Label_;
    TBevel* Bevel2;
    TLabel* YDLabel_;
    TCheckBox* YDCheckBox_;
    TLabel* YCLabel_;
    TCheckBox* YCCheckBox_;
    TCheckBox* YACheckBox_;
    TLabel* YALabel_;
    TCheckBox* YBCheckBox_;
    TLabel* YBLabel_;

    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();

private:
    std::array<TComboBox*, 4> limitCombos() const { return {SAComboBox, SBComboBox, SCComboBox, SDComboBox}; }
};

extern const QStringList JoystickLimitItems;   // "Запр.", "1/3", "2/3", "Не огр."

TFrame* CreateJoystickAFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeJoystickARequest(const std::uint8_t* message);
QString DescribeJoystickAAnswer(const std::uint8_t* message);

// Binds the handle's factory and decoders into its catalogue rows.
void RegisterJoystickAFrames();

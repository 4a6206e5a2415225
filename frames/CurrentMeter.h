#pragma once
// The current-measuring block's frame: seven status flags, a supply voltage and two currents.
#include <QString>
#include <cstdint>
#include <vector>

#include "frames/shared/FrameBase.h"

// Seven status bits, a 9-bit supply voltage (its top bit shares the status byte) and two
// currents. Texts that are no number send 0: the block always reports something.
class TCurrentMeterFrame final : public TFrameBase {
public:
    TCurrentMeterFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TCurrentMeterFrame"; }

    TLabel* ButLabel;
    TLabel* But3Label;   // "8", at the left end of the boxes
    TCheckBox* Bit8Box;
    TCheckBox* Bit7Box;
    TCheckBox* Bit6Box;
    TCheckBox* Bit5Box;
    TCheckBox* Bit4Box;
    TCheckBox* Bit3Box;
    TCheckBox* Bit2Box;
    TLabel* But1Label;   // "2", at the right end
    TBevel* Bevel1;
    TLabel* VoltageLabel;
    TEdit* VoltageEdit;
    TUpDown* VoltageUpDown;
    TLabel* Label1;
    TEdit* I1Edit;
    TUpDown* UpDown1;
    TLabel* Label2;
    TEdit* I2Edit;
    TUpDown* UpDown2;
    TBevel* Bevel2;
    TPanel* Panel3;

    // The status boxes, Bit2Box first: the box at position k stands for bit k + 1 of the status
    // byte (bit 0 is the voltage's top bit).
    const std::vector<TCheckBox*>& StatusBoxes() const { return statusBoxes_; }

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();

private:
    std::vector<TCheckBox*> statusBoxes_;
};

TFrame* CreateCurrentMeterFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeCurrentMeterAnswer(const std::uint8_t* message);

// Binds the block's factory and answer decoder into its catalogue row.
void RegisterCurrentMeterFrames();

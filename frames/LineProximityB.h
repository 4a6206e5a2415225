#pragma once
// The power-line proximity sensor "LineProx-2", the one of its family that is also switched:
// the request sets four outputs; the answer carries the field strength, an inclination angle
// and three inputs tucked into the spare top bits of the two words.
#include <array>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TLineProximityBFrame final : public TFrameBase {
public:
    TLineProximityBFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TLineProximityBFrame"; }

    // Request side.
    TLabel* OUTLabel;
    TLabel* OUT4Label;
    TLabel* OUT1Label;
    std::array<TCheckBox*, 4> OutBoxes;   // OUT1CheckBox .. OUT4CheckBox

    // Answer side.
    TLabel* ELabel;
    TEdit* EEdit;
    TUpDown* EUpDown;
    TLabel* ANGLabel;
    TEdit* ANGEdit;
    TUpDown* ANGUpDown;
    TBevel* Bevel1;
    TLabel* INLabel;
    std::array<TLabel*, 3> InLabels;      // IN1Label .. IN3Label
    std::array<TComboBox*, 3> InCombos;   // IN1ComboBox .. IN3ComboBox

    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateLineProximityBFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeLineProximityBRequest(const std::uint8_t* message);
QString DescribeLineProximityBAnswer(const std::uint8_t* message);

// Binds the factory and decoders into the sensor's row.
void RegisterLineProximityBFrames();

#pragma once
// The fifteen answer-only sensor frames whose answer word carries one value and at most two
// inputs. One class does the work, driven by the model's row of SingleValueModels; each named
// class only gives its controls their own names.
#include "frames/FrameBase.h"
#include "frames/SingleValueModels.h"

class TSingleValueFrame : public TFrameBase {
public:
    TSingleValueFrame(QWidget* owner, TDeviceInfo* info, const TSingleValueModel& model);
    const char* ClassName() const override { return Model.FrameClass; }

    const TSingleValueModel& Model;
    TLabel* ValueLabel = nullptr;
    TEdit* ValueEdit = nullptr;
    TUpDown* ValueUpDown = nullptr;
    TBevel* InputBevel = nullptr;      // none without inputs
    TLabel* InputsLabel = nullptr;     // "IN:"
    TLabel* InputLabels[2] = {};       // lowest-numbered input first
    TComboBox* InputCombos[2] = {};

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

class TPressureAFrame final : public TSingleValueFrame {
public:
    TPressureAFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, PressureAModel) {}
    TLabel* const PLabel = ValueLabel;
    TEdit* const PEdit = ValueEdit;
    TUpDown* const PUpDown = ValueUpDown;
};

class TPressureBFrame final : public TSingleValueFrame {
public:
    TPressureBFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, PressureBModel) {}
    TLabel* const PLabel = ValueLabel;
    TEdit* const PEdit = ValueEdit;
    TUpDown* const PUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

class TTensionAFrame final : public TSingleValueFrame {
public:
    TTensionAFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, TensionAModel) {}
    TLabel* const FLabel = ValueLabel;
    TEdit* const FEdit = ValueEdit;
    TUpDown* const FUpDown = ValueUpDown;
};

class TTensionBFrame final : public TSingleValueFrame {
public:
    TTensionBFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, TensionBModel) {}
    TLabel* const FLabel = ValueLabel;
    TEdit* const FEdit = ValueEdit;
    TUpDown* const FUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

// Serves the tension and the bend-force rows alike.
class TTensionCFrame final : public TSingleValueFrame {
public:
    TTensionCFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, TensionCModel) {}
    TLabel* const FLabel = ValueLabel;
    TEdit* const FEdit = ValueEdit;
    TUpDown* const FUpDown = ValueUpDown;
};

class TCompressionFrame final : public TSingleValueFrame {
public:
    TCompressionFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, CompressionModel) {}
    TLabel* const FLabel = ValueLabel;
    TEdit* const FEdit = ValueEdit;
    TUpDown* const FUpDown = ValueUpDown;
    TBevel* const Bevel = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

class TWindSpeedFrame final : public TSingleValueFrame {
public:
    TWindSpeedFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, WindSpeedModel) {}
    TLabel* const VLabel = ValueLabel;
    TEdit* const VEdit = ValueEdit;
    TUpDown* const VUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

class TFuelLevelFrame final : public TSingleValueFrame {
public:
    TFuelLevelFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, FuelLevelModel) {}
    TLabel* const FLabel = ValueLabel;
    TEdit* const DEdit = ValueEdit;
    TUpDown* const FUpDown = ValueUpDown;
};

// The three tilt frames: boom, longitudinal and transverse tilt.
class TTiltAFrame final : public TSingleValueFrame {
public:
    TTiltAFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, TiltAModel) {}
    TLabel* const ANGLabel = ValueLabel;
    TEdit* const ANGEdit = ValueEdit;
    TUpDown* const ANGUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

class TTiltBFrame final : public TSingleValueFrame {
public:
    TTiltBFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, TiltBModel) {}
    TLabel* const ANGLabel = ValueLabel;
    TEdit* const ANGEdit = ValueEdit;
    TUpDown* const ANGUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

class TTiltCFrame final : public TSingleValueFrame {
public:
    TTiltCFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, TiltCModel) {}
    TLabel* const ANGLabel = ValueLabel;
    TEdit* const ANGEdit = ValueEdit;
    TUpDown* const ANGUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

class TTravelCFrame final : public TSingleValueFrame {
public:
    TTravelCFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, TravelCModel) {}
    TLabel* const LLabel = ValueLabel;
    TEdit* const LEdit = ValueEdit;
    TUpDown* const LUpDown = ValueUpDown;
};

class TTravelFFrame final : public TSingleValueFrame {
public:
    TTravelFFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, TravelFModel) {}
    TLabel* const LLabel = ValueLabel;
    TEdit* const LEdit = ValueEdit;
    TUpDown* const LUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

class TLineProximityAFrame final : public TSingleValueFrame {
public:
    TLineProximityAFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, LineProximityAModel) {}
    TLabel* const ELabel = ValueLabel;
    TEdit* const EEdit = ValueEdit;
    TUpDown* const EUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN2Label = InputLabels[0];
    TComboBox* const IN2ComboBox = InputCombos[0];
    TLabel* const IN3Label = InputLabels[1];
    TComboBox* const IN3ComboBox = InputCombos[1];
};

class TLineProximityCFrame final : public TSingleValueFrame {
public:
    TLineProximityCFrame(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, LineProximityCModel) {}
    TLabel* const ELabel = ValueLabel;
    TEdit* const EEdit = ValueEdit;
    TUpDown* const EUpDown = ValueUpDown;
    TBevel* const Bevel1 = InputBevel;
    TLabel* const INLabel = InputsLabel;
    TLabel* const IN1Label = InputLabels[0];
    TComboBox* const IN1ComboBox = InputCombos[0];
};

TFrame* CreatePressureAFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreatePressureBFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateTensionAFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateTensionBFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateTensionCFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateCompressionFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateWindSpeedFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateFuelLevelFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateTiltAFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateTiltBFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateTiltCFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateTravelCFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateTravelFFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateLineProximityAFrame(QWidget* owner, TDeviceInfo* info);
TFrame* CreateLineProximityCFrame(QWidget* owner, TDeviceInfo* info);

// Binds the factories and answer decoders of the fifteen classes into their catalogue rows.
void RegisterSingleValueFrames();

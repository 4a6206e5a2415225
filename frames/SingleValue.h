#pragma once
// The fifteen answer-only sensor frames whose answer word carries one value and at most two
// inputs. One class does the work, driven by the model's row of SingleValueModels; each named
// class only gives its controls their own names.
#include "frames/SingleValueModels.h"
#include "frames/shared/FrameBase.h"

class TSingleValueFrame : public TFrameBase {
public:
    TSingleValueFrame(QWidget* owner, TDeviceInfo* info, const TSingleValueModel& model);
    const char* ClassName() const override { return Model.FrameClass; }

    const TSingleValueModel& Model;
    TLabel* ValueLabel = nullptr;
    TEdit* ValueEdit = nullptr;
    TUpDown* ValueUpDown = nullptr;
    TBevel* InputBevel = nullptr;    // none without inputs
    TLabel* InputsLabel = nullptr;   // "IN:"
    TLabel* InputLabels[2] = {};     // lowest-numbered input first
    TComboBox* InputCombos[2] = {};

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

// Each model names the shared controls after the quantity it shows; these give a class its own
// names for them (plain aliases of the base's members) without repeating the class body per model.
#define MV_VALUE_NAMES(Label, Edit, UpDown) \
    TLabel* const Label = ValueLabel;       \
    TEdit* const Edit = ValueEdit;          \
    TUpDown* const UpDown = ValueUpDown;
#define MV_INPUT_NAMES(Bevel, Label, Combo) \
    TBevel* const Bevel = InputBevel;       \
    TLabel* const INLabel = InputsLabel;    \
    TLabel* const Label = InputLabels[0];   \
    TComboBox* const Combo = InputCombos[0];
#define MV_SINGLE_VALUE_FRAME(Class, Model, Names)                                          \
    class Class final : public TSingleValueFrame {                                          \
    public:                                                                                 \
        Class(QWidget* owner, TDeviceInfo* info) : TSingleValueFrame(owner, info, Model) {} \
        Names                                                                               \
    };

MV_SINGLE_VALUE_FRAME(TPressureAFrame, PressureAModel, MV_VALUE_NAMES(PLabel, PEdit, PUpDown))
MV_SINGLE_VALUE_FRAME(TPressureBFrame, PressureBModel,
                      MV_VALUE_NAMES(PLabel, PEdit, PUpDown) MV_INPUT_NAMES(Bevel1, IN1Label, IN1ComboBox))
MV_SINGLE_VALUE_FRAME(TTensionAFrame, TensionAModel, MV_VALUE_NAMES(FLabel, FEdit, FUpDown))
MV_SINGLE_VALUE_FRAME(TTensionBFrame, TensionBModel,
                      MV_VALUE_NAMES(FLabel, FEdit, FUpDown) MV_INPUT_NAMES(Bevel1, IN1Label, IN1ComboBox))
// Serves the tension and the bend-force rows alike.
MV_SINGLE_VALUE_FRAME(TTensionCFrame, TensionCModel, MV_VALUE_NAMES(FLabel, FEdit, FUpDown))
MV_SINGLE_VALUE_FRAME(TCompressionFrame, CompressionModel,
                      MV_VALUE_NAMES(FLabel, FEdit, FUpDown) MV_INPUT_NAMES(Bevel, IN1Label, IN1ComboBox))
MV_SINGLE_VALUE_FRAME(TWindSpeedFrame, WindSpeedModel,
                      MV_VALUE_NAMES(VLabel, VEdit, VUpDown) MV_INPUT_NAMES(Bevel1, IN1Label, IN1ComboBox))
MV_SINGLE_VALUE_FRAME(TFuelLevelFrame, FuelLevelModel, MV_VALUE_NAMES(FLabel, DEdit, FUpDown))
// The three tilt frames: boom, longitudinal and transverse tilt.
MV_SINGLE_VALUE_FRAME(TTiltAFrame, TiltAModel,
                      MV_VALUE_NAMES(ANGLabel, ANGEdit, ANGUpDown) MV_INPUT_NAMES(Bevel1, IN1Label, IN1ComboBox))
MV_SINGLE_VALUE_FRAME(TTiltBFrame, TiltBModel,
                      MV_VALUE_NAMES(ANGLabel, ANGEdit, ANGUpDown) MV_INPUT_NAMES(Bevel1, IN1Label, IN1ComboBox))
MV_SINGLE_VALUE_FRAME(TTiltCFrame, TiltCModel,
                      MV_VALUE_NAMES(ANGLabel, ANGEdit, ANGUpDown) MV_INPUT_NAMES(Bevel1, IN1Label, IN1ComboBox))
MV_SINGLE_VALUE_FRAME(TTravelCFrame, TravelCModel, MV_VALUE_NAMES(LLabel, LEdit, LUpDown))
MV_SINGLE_VALUE_FRAME(TTravelFFrame, TravelFModel,
                      MV_VALUE_NAMES(LLabel, LEdit, LUpDown) MV_INPUT_NAMES(Bevel1, IN1Label, IN1ComboBox))
// The only model with two inputs, numbered from 2.
MV_SINGLE_VALUE_FRAME(TLineProximityAFrame, LineProximityAModel,
                      MV_VALUE_NAMES(ELabel, EEdit, EUpDown) MV_INPUT_NAMES(Bevel1, IN2Label, IN2ComboBox)
                          TLabel* const IN3Label = InputLabels[1];
                      TComboBox* const IN3ComboBox = InputCombos[1];)
MV_SINGLE_VALUE_FRAME(TLineProximityCFrame, LineProximityCModel,
                      MV_VALUE_NAMES(ELabel, EEdit, EUpDown) MV_INPUT_NAMES(Bevel1, IN1Label, IN1ComboBox))

#undef MV_SINGLE_VALUE_FRAME
#undef MV_INPUT_NAMES
#undef MV_VALUE_NAMES

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

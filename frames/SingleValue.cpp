#include "frames/SingleValue.h"

#include <vector>

#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int RowPitch = 36;         // one control row of the answer panel
constexpr int ValueRowHeight = 42;   // the panel without input rows
constexpr int FieldHeight = 28;
constexpr int EditLeft = 72;
constexpr int EditWidth = 114;

template <class F> TFrame* Create(QWidget* owner, TDeviceInfo* info) { return new F(owner, info); }
}

TSingleValueFrame::TSingleValueFrame(QWidget* owner, TDeviceInfo* info, const TSingleValueModel& model)
    : TFrameBase(owner, info, false), Model(model)
{
    ValueLabel = AddLabel(InPanel, model.ValueLabelName, QString::fromUtf8(model.ValueLabelCaption), 6, 6);
    ValueLabel->SetBounds(6, 6, 66, FieldHeight);
    ValueEdit = AddEdit(InPanel, model.ValueEditName, EditLeft, 6, EditWidth, model.ValueEditTag);
    ValueEdit->SetHeight(FieldHeight);
    ValueUpDown = AddUpDown(InPanel, model.UpDownName, ValueEdit);

    int panelHeight = ValueRowHeight;
    if (!model.Inputs.empty()) {
        InputBevel = AddBevel(InPanel, model.BevelName, 6, ValueRowHeight, 312, 3, TBevelShape::BottomLine);
        const int firstTop = ValueRowHeight + 6;
        InputsLabel = AddLabel(InPanel, "INLabel", "IN:", 6, firstTop);
        InputsLabel->SetBounds(6, firstTop, 42, FieldHeight);
        for (std::size_t i = 0; i < model.Inputs.size(); ++i) {
            const TInputRow& row = model.Inputs[i];
            const int top = firstTop + static_cast<int>(i) * RowPitch;
            InputLabels[i] = AddLabel(InPanel, row.NumberLabelName, row.NumberCaption, 48, top);
            InputLabels[i]->SetBounds(48, top, 18, FieldHeight);
            InputLabels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            InputCombos[i] = AddComboBox(InPanel, row.ComboName, *model.Items, EditLeft, top, EditWidth);
        }
        panelHeight = firstTop + static_cast<int>(model.Inputs.size()) * RowPitch;
    }
    InPanel->SetHeight(panelHeight);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TSingleValueFrame::GridToAnswer(const QString& text, int column)
{
    SingleValueFromCell(Model, Info->SchemeObject->Answer, text, column);
}

void TSingleValueFrame::FrameToAnswer()
{
    std::vector<int> items;
    for (std::size_t i = 0; i < Model.Inputs.size(); ++i)
        items.push_back(InputCombos[i]->ItemIndex());
    SingleValueFromFrame(Model, Info->SchemeObject->Answer, ValueEdit->Text(), items);
}

void TSingleValueFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    ValueEdit->SetText(Model.Value.text(answer));
    for (std::size_t i = 0; i < Model.Inputs.size(); ++i)
        InputCombos[i]->SetItemIndex(SingleValueItem(Model, answer, i));
}

void TSingleValueFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, Model.Value.text(answer));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, SingleValueInputText(Model, answer));
    WriteCell(*Info, 6, NoValueText);
}

TFrame* CreatePressureAFrame(QWidget* owner, TDeviceInfo* info) { return Create<TPressureAFrame>(owner, info); }
TFrame* CreatePressureBFrame(QWidget* owner, TDeviceInfo* info) { return Create<TPressureBFrame>(owner, info); }
TFrame* CreateTensionAFrame(QWidget* owner, TDeviceInfo* info) { return Create<TTensionAFrame>(owner, info); }
TFrame* CreateTensionBFrame(QWidget* owner, TDeviceInfo* info) { return Create<TTensionBFrame>(owner, info); }
TFrame* CreateTensionCFrame(QWidget* owner, TDeviceInfo* info) { return Create<TTensionCFrame>(owner, info); }
TFrame* CreateCompressionFrame(QWidget* owner, TDeviceInfo* info) { return Create<TCompressionFrame>(owner, info); }
TFrame* CreateWindSpeedFrame(QWidget* owner, TDeviceInfo* info) { return Create<TWindSpeedFrame>(owner, info); }
TFrame* CreateFuelLevelFrame(QWidget* owner, TDeviceInfo* info) { return Create<TFuelLevelFrame>(owner, info); }
TFrame* CreateTiltAFrame(QWidget* owner, TDeviceInfo* info) { return Create<TTiltAFrame>(owner, info); }
TFrame* CreateTiltBFrame(QWidget* owner, TDeviceInfo* info) { return Create<TTiltBFrame>(owner, info); }
TFrame* CreateTiltCFrame(QWidget* owner, TDeviceInfo* info) { return Create<TTiltCFrame>(owner, info); }
TFrame* CreateTravelCFrame(QWidget* owner, TDeviceInfo* info) { return Create<TTravelCFrame>(owner, info); }
TFrame* CreateTravelFFrame(QWidget* owner, TDeviceInfo* info) { return Create<TTravelFFrame>(owner, info); }
TFrame* CreateLineProximityAFrame(QWidget* owner, TDeviceInfo* info) { return Create<TLineProximityAFrame>(owner, info); }
TFrame* CreateLineProximityCFrame(QWidget* owner, TDeviceInfo* info) { return Create<TLineProximityCFrame>(owner, info); }

void RegisterSingleValueFrames()
{
    BindRows({7, 8, 9, 10, 11, 12}, CreatePressureAFrame, nullptr, DescribePressureAAnswer);
    BindRows({33, 34}, CreatePressureBFrame, nullptr, DescribePressureBAnswer);
    BindRows({21}, CreateTensionAFrame, nullptr, DescribeTensionAAnswer);
    BindRows({22}, CreateTensionBFrame, nullptr, DescribeTensionBAnswer);
    BindRows({46, 47, 48, 62, 77, 78, 79}, CreateTensionCFrame, nullptr, DescribeTensionCAnswer);
    BindRows({23}, CreateCompressionFrame, nullptr, DescribeCompressionAnswer);
    BindRows({24}, CreateWindSpeedFrame, nullptr, DescribeWindSpeedAnswer);
    BindRows({49, 67}, CreateFuelLevelFrame, nullptr, DescribeFuelLevelAnswer);
    BindRows({27, 66}, CreateTiltAFrame, nullptr, DescribeTiltAAnswer);
    BindRows({28, 36}, CreateTiltBFrame, nullptr, DescribeTiltBAnswer);
    BindRows({29, 37}, CreateTiltCFrame, nullptr, DescribeTiltCAnswer);
    BindRows({17, 18, 19, 20}, CreateTravelCFrame, nullptr, DescribeTravelCAnswer);
    BindRows({40}, CreateTravelFFrame, nullptr, DescribeTravelFAnswer);
    BindRows({15}, CreateLineProximityAFrame, nullptr, DescribeLineProximityAAnswer);
    BindRows({43, 44, 45}, CreateLineProximityCFrame, nullptr, DescribeLineProximityCAnswer);
}

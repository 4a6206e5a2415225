// Frames for tests; see TestFrames.h.
#include "support/TestFrames.h"

#include "platform/Numbers.h"

std::vector<TSlotCall> SlotLog;

TTestAnswerFrame::TTestAnswerFrame(QWidget* owner, TDeviceInfo* info, bool hasRequest)
    : TFrameBase(owner, info, hasRequest)
{
    AddLabel(InPanel, "ValueLabel", "Знач.:", 8, 8);
    ValueEdit = AddEdit(InPanel, "ValueEdit", 60, 6, 60, EditUInt);
    ValueUpDown = AddUpDown(InPanel, "ValueUpDown", ValueEdit, 0, 255);
    SIntEdit = AddEdit(InPanel, "SIntEdit", 130, 6, 60, EditSInt);
    UFloatEdit = AddEdit(InPanel, "UFloatEdit", 200, 6, 60, EditUFloat);
    SFloatEdit = AddEdit(InPanel, "SFloatEdit", 60, 34, 60, EditSFloat);
    OddEdit = AddEdit(InPanel, "OddEdit", 130, 34, 60, 7);
    NextLabel = AddLabel(InPanel, "NextLabel", "Метка", 200, 36);
    LabelUpDown = AddUpDown(InPanel, "LabelUpDown", OddEdit);
    // Moved beside the label: the point left of it lies in the label, not in an edit.
    LabelUpDown->SetBounds(NextLabel->Left() + NextLabel->Width(), NextLabel->Top(), 15, 21);
    FlagBox = AddCheckBox(InPanel, "FlagBox", "Флаг", 8, 62);
    StateCombo = AddComboBox(InPanel, "StateCombo", {"Свободен", "+24 В", "Масса"}, 120, 60, 120);
    AddBevel(InPanel, "Bevel1", 8, 88, 300, 2);
    NestedEdit = AddEdit(AddPanel(InPanel, "NestedPanel", 8, 94, 300, 30), "NestedEdit", 4, 4, 60, EditUInt);
    InPanel->SetHeight(130);
    FitHeight();
    if (hasRequest)
        return;
    TDeviceSlots s;
    FillSide(s, false, ValueEdit);
    FillSlots(s);
}

void TTestAnswerFrame::FillSide(TDeviceSlots& s, bool request, TEdit* edit)
{
    const std::string side = request ? "Request" : "Answer";
    const int column = request ? 2 : 3;
    const auto byte1 = [this, request]() -> std::uint8_t& {
        return (request ? Info->SchemeObject->Request : Info->SchemeObject->Answer)[1];
    };
    // A number typed or shown is byte 1 of the message.
    const auto store = [byte1](const QString& text) {
        if (const std::optional<int> value = StrToInt(text))
            byte1() = static_cast<std::uint8_t>(*value);
    };
    // A slot that logs its call (and whether UpdatingControls was set) before its step.
    const auto logged = [](const std::string& slot, const std::function<void()>& step) {
        return [slot, step] {
            SlotLog.push_back({slot, UpdatingControls});
            step();
        };
    };
    (request ? s.GridToRequest : s.GridToAnswer) = [=](const QString& text, int c) {
        SlotLog.push_back({"GridTo" + side, UpdatingControls});
        if (c == column)
            store(text);
    };
    (request ? s.FrameToRequest : s.FrameToAnswer) = logged("FrameTo" + side, [=] { store(edit->Text()); });
    (request ? s.RequestToFrame : s.AnswerToFrame) = logged(side + "ToFrame", [=] { edit->SetText(QString::number(byte1())); });
    (request ? s.RequestToGrid : s.AnswerToGrid) = logged(side + "ToGrid", [=, this] { Info->SetGridCell(column, QString::number(byte1())); });
}

TTestRequestFrame::TTestRequestFrame(QWidget* owner, TDeviceInfo* info) : TTestAnswerFrame(owner, info, true)
{
    OutEdit = AddEdit(OutPanel, "OutEdit", 60, 6, 60, EditUInt);
    OutUpDown = AddUpDown(OutPanel, "OutUpDown", OutEdit, 0, 255);
    OutBox = AddCheckBox(OutPanel, "OutBox", "Выход", 140, 8);
    OutPanel->SetHeight(34);
    FitHeight();
    TDeviceSlots s;
    FillSide(s, true, OutEdit);
    FillSide(s, false, ValueEdit);
    FillSlots(s);
}

std::vector<std::unique_ptr<ScopedFrameClass>> BindTestAnswerFrames(std::initializer_list<int> rows)
{
    std::vector<std::unique_ptr<ScopedFrameClass>> bound;
    for (int row : rows)
        bound.push_back(std::make_unique<ScopedFrameClass>(row, CreateTestAnswerFrame));
    return bound;
}

// Frames for tests; see TestFrames.h.
#include "support/TestFrames.h"

#include "platform/Numbers.h"

std::vector<TSlotCall> SlotLog;

TTestAnswerFrame::TTestAnswerFrame(QWidget* owner, TDeviceInfo* info, bool hasRequest)
    : TFrameBase(owner, info, hasRequest)
{
    TPanel* p = InPanel;
    AddLabel(p, "ValueLabel", "Знач.:", 8, 8);
    ValueEdit = AddEdit(p, "ValueEdit", 60, 6, 60, EditUInt);
    ValueUpDown = AddUpDown(p, "ValueUpDown", ValueEdit, 0, 255);
    SIntEdit = AddEdit(p, "SIntEdit", 130, 6, 60, EditSInt);
    UFloatEdit = AddEdit(p, "UFloatEdit", 200, 6, 60, EditUFloat);
    SFloatEdit = AddEdit(p, "SFloatEdit", 60, 34, 60, EditSFloat);
    OddEdit = AddEdit(p, "OddEdit", 130, 34, 60, 7);
    NextLabel = AddLabel(p, "NextLabel", "Метка", 200, 36);
    LabelUpDown = AddUpDown(p, "LabelUpDown", OddEdit);
    // Moved beside the label: the point left of it lies in the label, not in an edit.
    LabelUpDown->SetBounds(NextLabel->Left() + NextLabel->Width(), NextLabel->Top(), 15, 21);
    FlagBox = AddCheckBox(p, "FlagBox", "Флаг", 8, 62);
    StateCombo = AddComboBox(p, "StateCombo", {"Свободен", "+24 В", "Масса"}, 120, 60, 120);
    AddBevel(p, "Bevel1", 8, 88, 300, 2);
    NestedEdit = AddEdit(AddPanel(p, "NestedPanel", 8, 94, 300, 30), "NestedEdit", 4, 4, 60, EditUInt);
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
    TDeviceInfo* info = Info;
    const auto byte1 = [info, request]() -> std::uint8_t& {
        return (request ? info->SchemeObject->Request : info->SchemeObject->Answer)[1];
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
    (request ? s.RequestToGrid : s.AnswerToGrid) = logged(side + "ToGrid", [=] { info->SetGridCell(column, QString::number(byte1())); });
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

#include "support/TestFrames.h"

std::vector<TSlotCall> SlotLog;

namespace {
void logCall(const char* slot) { SlotLog.push_back({slot, UpdatingControls}); }
// A number typed or shown is byte 1 of the message.
void Store(const QString& text, TMessageImage& image)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok)
        image[1] = static_cast<std::uint8_t>(value);
}
}

TTestAnswerFrame::TTestAnswerFrame(QWidget* owner, TDeviceInfo* info) : TTestAnswerFrame(owner, info, false)
{
    FillAnswerOnlySlots(this);
}

TTestAnswerFrame::TTestAnswerFrame(QWidget* owner, TDeviceInfo* info, bool hasRequest)
    : TFrameBase(owner, info, hasRequest)
{
    TPanel* p = InPanel;
    ValueLabel = AddLabel(p, "ValueLabel", "Знач.:", 8, 8);
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
    Bevel1 = AddBevel(p, "Bevel1", 8, 88, 300, 2);
    NestedPanel = AddPanel(p, "NestedPanel", 8, 94, 300, 30);
    NestedEdit = AddEdit(NestedPanel, "NestedEdit", 4, 4, 60, EditUInt);
    InPanel->SetHeight(130);
    FitHeight();
}

void TTestAnswerFrame::GridToAnswer(const QString& text, int column)
{
    logCall("GridToAnswer");
    if (column == 3)
        Store(text, Info->SchemeObject->Answer);
}

void TTestAnswerFrame::FrameToAnswer()
{
    logCall("FrameToAnswer");
    Store(ValueEdit->Text(), Info->SchemeObject->Answer);
}

void TTestAnswerFrame::AnswerToFrame()
{
    logCall("AnswerToFrame");
    ValueEdit->SetText(QString::number(Info->SchemeObject->Answer[1]));
}

void TTestAnswerFrame::AnswerToGrid()
{
    logCall("AnswerToGrid");
    Info->SetGridCell(3, QString::number(Info->SchemeObject->Answer[1]));
}

TTestRequestFrame::TTestRequestFrame(QWidget* owner, TDeviceInfo* info) : TTestAnswerFrame(owner, info, true)
{
    OutEdit = AddEdit(OutPanel, "OutEdit", 60, 6, 60, EditUInt);
    OutUpDown = AddUpDown(OutPanel, "OutUpDown", OutEdit, 0, 255);
    OutBox = AddCheckBox(OutPanel, "OutBox", "Выход", 140, 8);
    OutPanel->SetHeight(34);
    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TTestRequestFrame::GridToRequest(const QString& text, int column)
{
    logCall("GridToRequest");
    if (column == 2)
        Store(text, Info->SchemeObject->Request);
}

void TTestRequestFrame::FrameToRequest()
{
    logCall("FrameToRequest");
    Store(OutEdit->Text(), Info->SchemeObject->Request);
}

void TTestRequestFrame::RequestToFrame()
{
    logCall("RequestToFrame");
    OutEdit->SetText(QString::number(Info->SchemeObject->Request[1]));
}

void TTestRequestFrame::RequestToGrid()
{
    logCall("RequestToGrid");
    Info->SetGridCell(2, QString::number(Info->SchemeObject->Request[1]));
}

TFrame* CreateTestAnswerFrame(QWidget* owner, TDeviceInfo* info) { return new TTestAnswerFrame(owner, info); }
TFrame* CreateTestRequestFrame(QWidget* owner, TDeviceInfo* info) { return new TTestRequestFrame(owner, info); }

ScopedFrameClass::ScopedFrameClass(int row, TCreateFrame create) : row_(row), saved_(DeviceCatalogue[row])
{
    BindFrameClass(row, create, saved_.DescribeRequest, saved_.DescribeAnswer);
}

ScopedFrameClass::~ScopedFrameClass()
{
    BindFrameClass(row_, saved_.CreateFrame, saved_.DescribeRequest, saved_.DescribeAnswer);
}

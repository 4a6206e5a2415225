// The run-time device: its frame, the binding of the frame's controls, the display of both
// sides and the watchdog.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "frames/Registration.h"
#include "model/DeviceInfo.h"
#include "support/FakeHost.h"
#include "support/RunEvents.h"
#include "support/TestFrames.h"

namespace {

constexpr int EngineRow = 0;   // address 52
constexpr int PressureRow = 7; // address 6

// Handlers that record which one was called.
struct HandlerLog {
    std::vector<std::string> calls;
    TFrameHandlers Make(const FakeHost& host)
    {
        TFrameHandlers h = host.Handlers();
        h.OnChange = [this](QObject*) { calls.push_back(UpdatingControls ? "change(updating)" : "change"); };
        const auto press = [this](const char* n) { return [this, n](QObject*, QChar&) { calls.push_back(n); }; };
        const auto down = [this](const char* n) { return [this, n](QObject*, int&, TShiftState) { calls.push_back(n); }; };
        h.OnUIntKeyPress = press("uint-press");
        h.OnSIntKeyPress = press("sint-press");
        h.OnUFloatKeyPress = press("ufloat-press");
        h.OnSFloatKeyPress = press("sfloat-press");
        h.OnUIntKeyDown = down("uint-down");
        h.OnSIntKeyDown = down("sint-down");
        h.OnUFloatKeyDown = down("ufloat-down");
        h.OnSFloatKeyDown = down("sfloat-down");
        h.OnUpDownChangingEx = [this](QObject*, bool&, int, TUpDownDirection) { calls.push_back("updown"); };
        return h;
    }
};

class DeviceInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFrameClasses();
        SlotLog.clear();
        handlers = log.Make(host);
    }
    std::unique_ptr<TDeviceInfo> Make(int row, TCreateFrame create)
    {
        ScopedFrameClass bound(row, create);
        objects.push_back(std::make_unique<TSchemeObject>("Датчик", row, ModeEmulate));
        return std::make_unique<TDeviceInfo>(objects.back().get(), &handlers, &host);
    }
    TTestAnswerFrame* AnswerFrame(TDeviceInfo& d) { return dynamic_cast<TTestAnswerFrame*>(d.Frame.data()); }
    TTestRequestFrame* RequestFrame(TDeviceInfo& d) { return dynamic_cast<TTestRequestFrame*>(d.Frame.data()); }
    std::vector<std::string> SlotNames() const
    {
        std::vector<std::string> names;
        for (const TSlotCall& c : SlotLog) {
            EXPECT_TRUE(c.updating) << c.slot;
            names.push_back(c.slot);
        }
        return names;
    }

    FakeHost host;
    HandlerLog log;
    TFrameHandlers handlers;
    std::vector<std::unique_ptr<TSchemeObject>> objects;
    TStringsRow row;
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(DeviceInfoTest, ConstructorMakesANamedHiddenFrameOnTheSchemePanel)
{
    auto device = Make(EngineRow, CreateTestAnswerFrame);
    ASSERT_TRUE(device->Frame);
    EXPECT_EQ(device->FrameInfo, &DeviceCatalogue[EngineRow]);
    EXPECT_EQ(device->SchemeObject, objects.back().get());
    EXPECT_EQ(device->Frame->Name(), "_34");
    EXPECT_EQ(device->Frame->TagAs<TDeviceInfo>(), device.get());
    EXPECT_EQ(device->Frame->parentWidget(), host.SchemePanel());
    EXPECT_FALSE(device->Frame->Visible());
    EXPECT_EQ(device->Frame->Width(), FrameWidth);
    EXPECT_EQ(device->GridRow, nullptr);
    EXPECT_EQ(device->AnswerHistory->Size, 10);
    EXPECT_EQ(device->AnswerIntervals->Size, 400);
    EXPECT_EQ(device->TimerWindow, &host);
    EXPECT_EQ(device->TimerId, nullptr);
    EXPECT_EQ(device->LastAnswerTick + device->NextShowTick + device->NextPollTick, 0u);
    EXPECT_TRUE(device->RequestText.isEmpty() && device->AnswerText.isEmpty());
    EXPECT_EQ(FrameNameFor(6), "_06");
    EXPECT_EQ(FrameNameFor(62), "_3E");
}

TEST_F(DeviceInfoTest, FramesFillTheirSlotPattern)
{
    auto answerOnly = Make(PressureRow, CreateTestAnswerFrame);
    EXPECT_EQ(answerOnly->RequestPanel, nullptr);
    EXPECT_EQ(answerOnly->AnswerPanel, AnswerFrame(*answerOnly)->InPanel);
    EXPECT_FALSE(answerOnly->GridToRequest || answerOnly->FrameToRequest || answerOnly->RequestToFrame ||
                 answerOnly->RequestToGrid);
    EXPECT_TRUE(answerOnly->GridToAnswer && answerOnly->FrameToAnswer && answerOnly->AnswerToFrame &&
                answerOnly->AnswerToGrid);
    EXPECT_FALSE(answerOnly->HasRequestEditor());
    EXPECT_EQ(AnswerFrame(*answerOnly)->Panel1, nullptr);
    EXPECT_EQ(AnswerFrame(*answerOnly)->Panel2->Caption(), " Ответ");

    auto both = Make(EngineRow, CreateTestRequestFrame);
    TTestRequestFrame* f = RequestFrame(*both);
    EXPECT_EQ(both->RequestPanel, f->OutPanel);
    EXPECT_EQ(both->AnswerPanel, f->InPanel);
    EXPECT_TRUE(both->GridToRequest && both->GridToAnswer && both->FrameToRequest && both->RequestToFrame &&
                both->RequestToGrid && both->FrameToAnswer && both->AnswerToFrame && both->AnswerToGrid);
    EXPECT_TRUE(both->HasRequestEditor());
    EXPECT_EQ(f->Panel1->Caption(), " Запрос");
    // Header, request, header, answer, top to bottom.
    EXPECT_EQ(f->Panel1->Top(), 0);
    EXPECT_EQ(f->OutPanel->Top(), FrameHeaderHeight);
    EXPECT_EQ(f->Panel2->Top(), f->OutPanel->Top() + f->OutPanel->Height());
    EXPECT_EQ(f->InPanel->Top(), f->Panel2->Top() + FrameHeaderHeight);
    EXPECT_EQ(f->Height(), 2 * FrameHeaderHeight + f->OutPanel->Height() + f->InPanel->Height());
    // The description leaves edits read-only and up-downs disabled.
    EXPECT_TRUE(f->OutEdit->ReadOnly());
    EXPECT_FALSE(f->OutUpDown->Enabled());
}

TEST_F(DeviceInfoTest, BindControlsByClassAndTag)
{
    auto device = Make(EngineRow, CreateTestRequestFrame);
    TTestRequestFrame* f = RequestFrame(*device);
    struct Case {
        TEdit* edit;
        const char* press;
        const char* down;
    };
    for (const Case& c : {Case{f->ValueEdit, "uint-press", "uint-down"}, Case{f->SIntEdit, "sint-press", "sint-down"},
                          Case{f->UFloatEdit, "ufloat-press", "ufloat-down"},
                          Case{f->SFloatEdit, "sfloat-press", "sfloat-down"},
                          Case{f->OutEdit, "uint-press", "uint-down"}}) {
        log.calls.clear();
        QChar key('1');
        int code = Qt::Key_Up;
        ASSERT_TRUE(c.edit->OnKeyPress && c.edit->OnKeyDown && c.edit->OnChange) << c.edit->Name().toStdString();
        c.edit->OnKeyPress(c.edit, key);
        c.edit->OnKeyDown(c.edit, code, {});
        c.edit->OnChange(c.edit);
        EXPECT_EQ(log.calls, (Names{c.press, c.down, "change"})) << c.edit->Name().toStdString();
    }
    // Any other kind gets the change handler only; controls on nested panels get nothing.
    EXPECT_TRUE(f->OddEdit->OnChange);
    EXPECT_FALSE(f->OddEdit->OnKeyPress || f->OddEdit->OnKeyDown);
    EXPECT_FALSE(f->NestedEdit->OnChange || f->NestedEdit->OnKeyPress);

    EXPECT_EQ(f->ValueUpDown->TagWidget(), f->ValueEdit);
    EXPECT_EQ(f->OutUpDown->TagWidget(), f->OutEdit);
    EXPECT_EQ(f->LabelUpDown->TagWidget(), f->NextLabel);   // a label: nothing to step
    EXPECT_EQ(dynamic_cast<TEdit*>(f->LabelUpDown->TagWidget()), nullptr);
    EXPECT_TRUE(f->ValueUpDown->OnChangingEx);

    log.calls.clear();
    f->FlagBox->SetChecked(true);                 // check box click -> change
    emit f->StateCombo->activated(1);              // combo select -> change
    f->StateCombo->SetItemIndex(2);                // programmatic: no select
    f->OutBox->SetChecked(true);
    EXPECT_EQ(log.calls, (Names{"change", "change", "change"}));
}

TEST_F(DeviceInfoTest, UpDownOverAnEditStepsItThroughTheHandler)
{
    // The window's handler turns a click into a key-down on the edit in the up-down's Tag.
    handlers.OnUpDownChangingEx = [](QObject* sender, bool&, int, TUpDownDirection d) {
        auto* upDown = dynamic_cast<TUpDown*>(sender);
        if (auto* edit = dynamic_cast<TEdit*>(upDown->TagWidget()))
            edit->SendKeyDown(d == TUpDownDirection::Down ? Qt::Key_Down : Qt::Key_Up);
    };
    handlers.OnUIntKeyDown = [](QObject* sender, int& key, TShiftState) {
        auto* edit = dynamic_cast<TEdit*>(sender);
        edit->SetText(QString::number(edit->Text().toInt() + (key == Qt::Key_Up ? 1 : -1)));
        key = 0;
    };
    auto device = Make(EngineRow, CreateTestAnswerFrame);
    TTestAnswerFrame* f = AnswerFrame(*device);
    device->ShowData(false);
    f->ValueEdit->SetText("5");
    f->ValueUpDown->Click(TUpDownDirection::Up);
    f->ValueUpDown->Click(TUpDownDirection::Up);
    f->ValueUpDown->Click(TUpDownDirection::Down);
    EXPECT_EQ(f->ValueEdit->Text(), "6");
}

TEST_F(DeviceInfoTest, ShowDataOnBothSides)
{
    auto device = Make(EngineRow, CreateTestRequestFrame);
    TTestRequestFrame* f = RequestFrame(*device);
    device->GridRow = &row;
    objects.back()->Request[1] = 17;
    objects.back()->Answer[1] = 42;

    device->ShowData(true);
    EXPECT_EQ(SlotNames(), (Names{"RequestToGrid", "RequestToFrame"}));
    EXPECT_FALSE(UpdatingControls);
    EXPECT_EQ(row.Cell(2), "17");
    EXPECT_EQ(f->OutEdit->Text(), "17");
    EXPECT_FALSE(f->OutEdit->ReadOnly());
    EXPECT_TRUE(f->OutUpDown->Enabled());
    EXPECT_TRUE(f->ValueEdit->ReadOnly());   // the other side stays as it was
    EXPECT_EQ(log.calls, (Names{"change(updating)"}));

    SlotLog.clear();
    f->StateCombo->SetEnabled(false);
    device->ShowData(false);
    EXPECT_EQ(SlotNames(), (Names{"AnswerToGrid", "AnswerToFrame"}));
    EXPECT_EQ(row.Cell(3), "42");
    EXPECT_EQ(f->ValueEdit->Text(), "42");
    for (TEdit* e : {f->ValueEdit, f->SIntEdit, f->UFloatEdit, f->SFloatEdit, f->OddEdit})
        EXPECT_FALSE(e->ReadOnly()) << e->Name().toStdString();
    for (TControl* c : Controls(f->InPanel))
        EXPECT_TRUE(c->Enabled()) << c->Name().toStdString();
    EXPECT_TRUE(f->NestedEdit->ReadOnly());   // nested controls are not reached
}

TEST_F(DeviceInfoTest, ShowDataOfTheRequestSideOfAnAnswerOnlyFrame)
{
    auto device = Make(PressureRow, CreateTestAnswerFrame);
    device->GridRow = &row;
    device->ShowData(true);
    EXPECT_TRUE(SlotLog.empty());
    EXPECT_EQ(row.Cell(2), "-");
    EXPECT_TRUE(AnswerFrame(*device)->ValueEdit->ReadOnly());
}

TEST_F(DeviceInfoTest, ClearDisplayOnBothSides)
{
    auto device = Make(EngineRow, CreateTestRequestFrame);
    TTestRequestFrame* f = RequestFrame(*device);
    device->GridRow = &row;
    device->ShowData(true);
    device->ShowData(false);
    f->OutBox->SetChecked(true);
    f->StateCombo->SetItemIndex(1);
    for (int c = 2; c <= 9; ++c)
        row.SetCell(c, "x");
    f->ValueEdit->SetEnabled(false);   // an edit keeps its enabled state
    log.calls.clear();

    device->ClearDisplay(false);
    for (int c = 3; c <= 6; ++c)
        EXPECT_EQ(row.Cell(c), "") << c;
    EXPECT_EQ(row.Cell(2), "x");
    EXPECT_EQ(row.Cell(7), "x");
    EXPECT_EQ(f->ValueEdit->Text(), "");
    EXPECT_FALSE(f->ValueEdit->ReadOnly());
    EXPECT_FALSE(f->ValueEdit->Enabled());
    EXPECT_TRUE(f->SIntEdit->Enabled());
    EXPECT_FALSE(f->StateCombo->Enabled());
    EXPECT_EQ(f->StateCombo->ItemIndex(), -1);
    EXPECT_FALSE(f->FlagBox->Enabled());
    EXPECT_FALSE(f->ValueUpDown->Enabled());
    EXPECT_FALSE(f->ValueLabel->Enabled());
    EXPECT_FALSE(UpdatingControls);

    device->ClearDisplay(true);
    EXPECT_EQ(row.Cell(2), "");
    EXPECT_EQ(f->OutEdit->Text(), "");
    EXPECT_FALSE(f->OutBox->Enabled());
    EXPECT_TRUE(f->OutBox->Checked());   // disabled, not unchecked
    // Every change event the clearing raised came while UpdatingControls was set.
    for (const std::string& call : log.calls)
        EXPECT_EQ(call, "change(updating)");
}

TEST_F(DeviceInfoTest, ClearEditorsOnBothSides)
{
    auto device = Make(EngineRow, CreateTestRequestFrame);
    TTestRequestFrame* f = RequestFrame(*device);
    device->GridRow = &row;
    device->ShowData(false);   // answer side enabled and editable
    f->FlagBox->SetChecked(true);
    f->StateCombo->SetItemIndex(2);
    f->NestedEdit->SetText("9");
    f->SIntEdit->SetText("-3");
    row.SetCell(4, "7");

    device->ClearEditors(false);
    EXPECT_EQ(row.Cell(3), "");
    EXPECT_EQ(row.Cell(4), "");
    EXPECT_EQ(f->ValueEdit->Text(), "");
    EXPECT_EQ(f->SIntEdit->Text(), "");
    EXPECT_FALSE(f->FlagBox->Checked());
    EXPECT_EQ(f->StateCombo->ItemIndex(), -1);
    EXPECT_EQ(f->NestedEdit->Text(), "9");
    EXPECT_TRUE(f->FlagBox->Enabled());        // enabled states stay
    EXPECT_FALSE(f->ValueEdit->ReadOnly());    // read-only flags stay

    f->OutEdit->SetText("5");
    f->OutBox->SetChecked(true);
    row.SetCell(2, "5");
    device->ClearEditors(true);
    EXPECT_EQ(row.Cell(2), "");
    EXPECT_EQ(f->OutEdit->Text(), "");
    EXPECT_FALSE(f->OutBox->Checked());
    EXPECT_TRUE(f->OutEdit->ReadOnly());       // never shown: still as described
}

TEST_F(DeviceInfoTest, WithoutAGridRowCellWritesDoNothing)
{
    auto device = Make(EngineRow, CreateTestRequestFrame);
    device->SetGridCell(3, "1");
    EXPECT_EQ(device->GridCell(3), "");
    device->ShowData(true);
    device->ShowData(false);
    device->ClearDisplay(false);
    device->ClearEditors(true);
    device->GridRow = &row;
    device->SetGridCell(12, "out of range");
    device->SetGridCell(-1, "out of range");
    EXPECT_EQ(row.Writes[0] + row.Writes[9], 0);
    EXPECT_EQ(device->GridCell(12), "");
}

TEST_F(DeviceInfoTest, TimerStartsRestartsAndStops)
{
    auto device = Make(EngineRow, CreateTestAnswerFrame);
    device->StopTimer();   // nothing runs: nothing happens
    EXPECT_EQ(device->TimerId, nullptr);

    device->StartTimer();
    EXPECT_EQ(device->TimerId, device.get());
    EXPECT_TRUE(device->TimerActive());
    EXPECT_LE(device->TimerRemaining(), WatchdogInterval);
    RunEventsFor(300);
    const int before = device->TimerRemaining();
    device->StartTimer();   // the 3000 ms start again at the second call
    EXPECT_GT(device->TimerRemaining(), before + 100);
    EXPECT_EQ(device->TimerId, device.get());

    device->StopTimer();
    EXPECT_EQ(device->TimerId, nullptr);
    EXPECT_FALSE(device->TimerActive());
    EXPECT_EQ(device->TimerRemaining(), -1);
}

TEST_F(DeviceInfoTest, ExpiryReachesTheWindowWithTheDevice)
{
    auto device = Make(EngineRow, CreateTestAnswerFrame);
    device->StartTimer();
    ASSERT_TRUE(RunEventsUntil([&] { return !host.timerMessages.empty(); }));
    EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>{device.get()}));
    EXPECT_EQ(device->TimerId, nullptr);   // the window's handler stopped it
}

TEST_F(DeviceInfoTest, ADeviceDestroyedWhileItsTimerRunsSendsNothing)
{
    auto device = Make(EngineRow, CreateTestAnswerFrame);
    auto other = Make(PressureRow, CreateTestAnswerFrame);
    device->StartTimer();
    RunEventsFor(100);
    other->StartTimer();   // expires after the destroyed one would have
    device.reset();
    ASSERT_TRUE(RunEventsUntil([&] { return !host.timerMessages.empty(); }));
    EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>{other.get()}));
}

TEST_F(DeviceInfoTest, AFrameGoneWithTheWidgetTreeLeavesNoSlotBehind)
{
    auto device = Make(EngineRow, CreateTestRequestFrame);
    device->GridRow = &row;
    host.panel.reset();   // the scheme panel and its frames go first
    EXPECT_FALSE(device->Frame);
    EXPECT_FALSE(device->RequestPanel || device->AnswerPanel);
    EXPECT_FALSE(device->AnswerToGrid || device->RequestToFrame || device->GridToRequest);
    device->ShowData(true);    // no editor left: column 2 shows no value
    device->ShowData(false);
    device->ClearDisplay(false);
    EXPECT_EQ(row.Cell(2), "-");
    device.reset();            // and the device goes without a second delete
}


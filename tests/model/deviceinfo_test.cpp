// The run-time device: its frame, the binding of the frame's controls, the display of both
// sides and the watchdog.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "frames/Registration.h"
#include "model/DeviceInfo.h"
#include "support/FakeHost.h"
#include "support/RunEvents.h"
#include "support/TestFrames.h"

namespace {

constexpr int EngineRow = 0;     // address 52
constexpr int PressureRow = 7;   // address 6
using Names = std::vector<std::string>;

class DeviceInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFrameClasses();
        SlotLog.clear();
        // Every handler records its own name, so a test sees which one a control was given.
        handlers = host.Handlers();
        handlers.OnChange = [this](QObject*) { calls.push_back(UpdatingControls ? "change(updating)" : "change"); };
        using H = TFrameHandlers;
        for (auto [press, down, kind] : {std::tuple{&H::OnUIntKeyPress, &H::OnUIntKeyDown, "uint"},
                                         {&H::OnSIntKeyPress, &H::OnSIntKeyDown, "sint"},
                                         {&H::OnUFloatKeyPress, &H::OnUFloatKeyDown, "ufloat"},
                                         {&H::OnSFloatKeyPress, &H::OnSFloatKeyDown, "sfloat"}}) {
            const std::string name = kind;
            handlers.*press = [this, name](QObject*, QChar&) { calls.push_back(name + "-press"); };
            handlers.*down = [this, name](QObject*, int&, TShiftState) { calls.push_back(name + "-down"); };
        }
        handlers.OnUpDownChangingEx = [this](QObject*, bool&, int, TUpDownDirection) { calls.push_back("updown"); };
    }
    std::unique_ptr<TDeviceInfo> Make(int row, TCreateFrame create)
    {
        ScopedFrameClass bound(row, create);
        objects.push_back(std::make_unique<TSchemeObject>("Датчик", row, ModeEmulate));
        return std::make_unique<TDeviceInfo>(objects.back().get(), &handlers, &host);
    }
    // A request-and-answer device on the engine row, with a grid row, its frame on screen.
    TTestRequestFrame* MakeBoth()
    {
        device = Make(EngineRow, CreateTestRequestFrame);
        device->GridRow = &row;
        host.panel->show();
        device->Frame->show();
        return dynamic_cast<TTestRequestFrame*>(device->Frame.data());
    }
    Names SlotNames()   // and every slot ran with UpdatingControls set
    {
        Names names;
        for (const TSlotCall& c : SlotLog)
            names.push_back(c.updating ? c.slot : c.slot + "(not updating)");
        SlotLog.clear();
        return names;
    }

    FakeHost host;
    Names calls;
    TFrameHandlers handlers;
    std::vector<std::unique_ptr<TSchemeObject>> objects;
    std::unique_ptr<TDeviceInfo> device;
    TStringsRow row;
};

}   // namespace

TEST_F(DeviceInfoTest, FrameIsNamedAfterTheWireAddressAndAnAnswerOnlyOneHasNoRequestSide)
{
    auto answerOnly = Make(PressureRow, CreateTestAnswerFrame);
    ASSERT_TRUE(answerOnly->Frame);
    EXPECT_FALSE(answerOnly->RequestPanel || answerOnly->FrameToRequest || answerOnly->RequestToFrame);

    TTestRequestFrame* f = MakeBoth();
    EXPECT_EQ(f->Name(), "_34");
    EXPECT_EQ(FrameNameFor(6), "_06");
}

TEST_F(DeviceInfoTest, BindControlsByClassAndTag)
{
    TTestRequestFrame* f = MakeBoth();
    const struct {
        TEdit* edit;
        std::string kind;
    } cases[] = {
        {f->ValueEdit, "uint"}, {f->SIntEdit, "sint"}, {f->UFloatEdit, "ufloat"}, {f->SFloatEdit, "sfloat"}};
    for (const auto& c : cases) {
        calls.clear();
        QChar key('1');
        int code = Qt::Key_Up;
        c.edit->OnKeyPress(c.edit, key);
        c.edit->OnKeyDown(c.edit, code, {});
        c.edit->OnChange(c.edit);
        EXPECT_EQ(calls, (Names{c.kind + "-press", c.kind + "-down", "change"})) << c.kind;
    }
    // Any other kind gets the change handler only; controls on nested panels get nothing.
    EXPECT_TRUE(f->OddEdit->OnChange);
    EXPECT_FALSE(f->OddEdit->OnKeyPress || f->OddEdit->OnKeyDown);
    EXPECT_FALSE(f->NestedEdit->OnChange || f->NestedEdit->OnKeyPress);
    // An up-down's Tag is its left neighbour, even a label that has nothing to step.
    EXPECT_EQ(f->ValueUpDown->TagWidget(), f->ValueEdit);
    EXPECT_EQ(f->LabelUpDown->TagWidget(), f->NextLabel);

    device->ShowData(false);   // enables the up-downs
    calls.clear();
    f->FlagBox->SetChecked(true);       // check box click -> change
    emit f->StateCombo->activated(1);   // combo select -> change
    f->ValueUpDown->Click(TUpDownDirection::Up);
    EXPECT_EQ(calls, (Names{"change", "change", "updown"}));
}

TEST_F(DeviceInfoTest, ShowDataOnBothSides)
{
    TTestRequestFrame* f = MakeBoth();
    device->ShowData(true);
    EXPECT_EQ(SlotNames(), (Names{"RequestToGrid", "RequestToFrame"}));
    EXPECT_TRUE(!f->OutEdit->ReadOnly() && f->OutUpDown->Enabled());
    EXPECT_TRUE(f->ValueEdit->ReadOnly());   // the other side stays as it was

    f->StateCombo->SetEnabled(false);
    device->ShowData(false);
    EXPECT_EQ(SlotNames(), (Names{"AnswerToGrid", "AnswerToFrame"}));
    EXPECT_TRUE(f->StateCombo->Enabled() && !f->OddEdit->ReadOnly());
    EXPECT_TRUE(f->NestedEdit->ReadOnly());   // nested controls are not reached
}

// Both clears empty a side's cells and its own controls, raising no change of the user's. The
// display's clear leaves its edits editable and disables the rest; the editors' clear keeps every
// enabled and read-only state and unticks boxes instead.
TEST_F(DeviceInfoTest, ClearingASideEmptiesItsCellsAndControls)
{
    TTestRequestFrame* f = MakeBoth();
    for (const bool display : {true, false}) {
        SCOPED_TRACE(display ? "display" : "editors");
        const auto clear = [&](bool request) { display ? device->ClearDisplay(request) : device->ClearEditors(request); };
        device->ShowData(true);
        device->ShowData(false);
        f->ValueEdit->SetReadOnly(true);
        f->ValueEdit->SetEnabled(false);   // an edit keeps its enabled state
        f->FlagBox->SetChecked(true);
        f->OutBox->SetChecked(true);
        f->StateCombo->SetItemIndex(2);
        f->NestedEdit->SetText("9");
        for (int c = 2; c <= 9; ++c)
            row.SetCell(c, "x");
        calls.clear();

        clear(false);
        EXPECT_EQ((QStringList{row.Cell(2), row.Cell(3), row.Cell(6), row.Cell(7)}), (QStringList{"x", "", "", "x"}));
        EXPECT_EQ(f->ValueEdit->Text() + f->NestedEdit->Text(), "9");   // nested controls are not reached
        EXPECT_EQ(f->ValueEdit->ReadOnly(), !display);
        EXPECT_FALSE(f->ValueEdit->Enabled());
        EXPECT_EQ(f->StateCombo->ItemIndex(), -1);
        EXPECT_EQ(f->FlagBox->Checked(), display);
        EXPECT_EQ((std::vector{f->FlagBox->Enabled(), f->StateCombo->Enabled(), f->ValueUpDown->Enabled()}),
                  std::vector<bool>(3, !display));

        clear(true);
        EXPECT_EQ(row.Cell(2) + f->OutEdit->Text(), "");
        EXPECT_EQ(f->OutBox->Checked(), display);
        EXPECT_EQ(f->OutBox->Enabled(), !display);
        for (const std::string& call : calls)
            EXPECT_EQ(call, "change(updating)");
    }
}

// A restart moves the deadline only: the timer set by the first start must not expire there. The
// expiry reaches the window once, with the device; a device destroyed while its timer runs sends
// nothing.
TEST_F(DeviceInfoTest, ARestartedWatchdogExpiresOnce3000MsAfterTheLastStartAndADestroyedOneNever)
{
    auto watched = Make(EngineRow, CreateTestAnswerFrame);
    auto gone = Make(PressureRow, CreateTestAnswerFrame);
    gone->StartTimer();
    watched->StartTimer();
    RunEventsFor(1000);
    watched->StartTimer();
    // The restart gives it its whole 3000 ms again (the first start had 2000 left).
    EXPECT_GT(watched->TimerRemaining(), 2900);
    EXPECT_LE(watched->TimerRemaining(), 3000);
    gone.reset();         // it would have expired first
    RunEventsFor(2500);   // past the first start's deadline, 500 ms before the restart's
    EXPECT_TRUE(host.timerMessages.empty());
    ASSERT_TRUE(RunEventsUntil([&] { return !host.timerMessages.empty(); }));
    RunEventsFor(100);
    EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>{watched.get()}));
}

TEST_F(DeviceInfoTest, WithoutAGridRowOrAFrameNothingIsWritten)
{
    MakeBoth();
    device->GridRow = nullptr;
    device->ShowData(true);   // its cell is written nowhere
    EXPECT_EQ(device->GridCell(2), "");
    device->GridRow = &row;
    host.panel.reset();   // the scheme panel and its frames go first
    EXPECT_FALSE(device->Frame || device->AnswerPanel || device->RequestToFrame);
    device->ShowData(true);   // no editor left: column 2 shows no value
    device->ShowData(false);
    device->ClearDisplay(false);
    EXPECT_EQ(row.Cell(2), "-");
    device.reset();   // and the device goes without a second delete
}

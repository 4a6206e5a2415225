// Every catalogue row's frame: start-up binding gives it its own class and decoders; at its
// default size each text it can show is readable in full (captions, labels, every combo item, the
// edits' values for extreme data), labels line up with the control beside them, and each up-down
// is as tall as the edit it steps. Its controls are enabled as after a clear of each side, and
// showing a side enables that side only. The main window's texts read in full as well.
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

#include "FrameRig.h"
#include "model/Catalogue.h"
#include "support/TextFit.h"
#include "ui/WindowFixture.h"

namespace {
// Byte patterns that drive the fields to their longest texts: zero, all ones, the sign bits,
// alternating bits and the largest BCD digits.
constexpr std::uint8_t Patterns[] = {0x00, 0xFF, 0x7F, 0x80, 0x55, 0xAA, 0x99, 0x59};

// The frame class of every catalogue row, in row order.
const char* const RowFrameClass[DeviceCatalogueCount] = {
    "TEngineBlockFrame", "TGearBlockAFrame", "TGearBlockBFrame", "TLevellerAFrame", "TIoBlockAFrame",
    "TIoBlockBFrame", "TIoBlockEFrame", "TPressureAFrame", "TPressureAFrame", "TPressureAFrame", "TPressureAFrame",
    "TPressureAFrame", "TPressureAFrame", "TBoomLengthAFrame", "TBoomLengthBFrame", "TLineProximityAFrame",
    "TLineProximityBFrame", "TTravelCFrame", "TTravelCFrame", "TTravelCFrame", "TTravelCFrame", "TTensionAFrame",
    "TTensionBFrame", "TCompressionFrame", "TWindSpeedFrame", "TAzimuthAFrame", "TAzimuthBFrame", "TTiltAFrame",
    "TTiltBFrame", "TTiltCFrame", "TJoystickAFrame", "TJoystickAFrame", "TTravelAFrame", "TPressureBFrame",
    "TPressureBFrame", "TTravelBFrame", "TTiltBFrame", "TTiltCFrame", "TLevellerBFrame", "TBoomLengthCFrame",
    "TTravelFFrame", "TIoBlockCFrame", "TIoBlockDFrame", "TLineProximityCFrame", "TLineProximityCFrame",
    "TLineProximityCFrame", "TTensionCFrame", "TTensionCFrame", "TTensionCFrame", "TFuelLevelFrame",
    "TLevellerBFrame", "TIoBlockFFrame", "TBoomLengthCFrame", "TClockFrame", "TJoystickBFrame", "TJoystickBFrame",
    "TJoystickBFrame", "TJoystickBFrame", "TIndicatorFrame", "TIndicatorFrame", "TTerminalFrame",
    "TCurrentMeterFrame", "TTensionCFrame", "TLogicControllerFrame", "TIoBlockAFrame", "TIoBlockBFrame",
    "TTiltAFrame", "TFuelLevelFrame", "TTravelDFrame", "TTravelDFrame", "TTravelDFrame", "TTravelDFrame",
    "TTravelEFrame", "TTravelEFrame", "TTravelEFrame", "TTravelEFrame", "TDataReceiverFrame", "TTensionCFrame",
    "TTensionCFrame", "TTensionCFrame", "TTemperatureFrame", "TEngineDataFrame", "TAzimuthCFrame", "TTiltDFrame",
    "TTravelGFrame", "TUltrasonicFrame"};

std::map<QString, bool> EnabledStates(const QWidget* side)
{
    std::map<QString, bool> states;
    for (TControl* c : Controls(side))
        states[c->Name()] = c->Enabled();
    return states;
}

class EveryFrame : public ::testing::TestWithParam<int> {};

// The row builds the frame of its own class and decodes its answer, and a request decoder exists
// exactly where the request carries a body worth decoding.
TEST_P(EveryFrame, BuildsItsOwnFrameClassAndDecoders)
{
    const int row = GetParam();
    const TFrameInfo& info = DeviceCatalogue[row];
    Rig device(row);
    ASSERT_NE(info.CreateFrame, nullptr);
    EXPECT_NE(info.DescribeAnswer, nullptr);
    EXPECT_EQ(info.DescribeRequest != nullptr, info.RequestLength > 1 && row != 63);
    ASSERT_TRUE(device.info->Frame);
    EXPECT_STREQ(device.info->Frame->ClassName(), RowFrameClass[row]);
    EXPECT_EQ(device.info->HasRequestEditor(), info.RequestLength > 1);
    const std::uint8_t message[16] = {info.Address};
    EXPECT_FALSE(info.DescribeAnswer(message).isEmpty());
}

TEST_P(EveryFrame, EveryTextFitsAndLinesUp)
{
    Rig device(GetParam());
    QWidget* frame = device.info->Frame.data();
    ASSERT_NE(frame, nullptr);
    const QString model = QString::fromUtf8(DeviceCatalogue[GetParam()].Model);
    TTextFitReport report = CheckTextsFit(frame);
    for (std::uint8_t pattern : Patterns) {
        for (bool request : {true, false}) {
            std::fill(device.Side(request).begin() + 1, device.Side(request).end(), pattern);
            if (request ? bool(device.info->RequestToFrame) : bool(device.info->AnswerToFrame))
                device.Show(request);
        }
        const TTextFitReport values = CheckTextsFit(frame);
        report.Checked += values.Checked;
        report.Clipped += values.Clipped;
    }
    EXPECT_GT(report.Checked, 0);
    EXPECT_TRUE(report.Clipped.empty()) << model.toStdString() << ":\n  "
                                        << report.Clipped.join(QStringLiteral("\n  ")).toStdString();
    EXPECT_TRUE(report.Misaligned.empty()) << model.toStdString() << ":\n  "
                                           << report.Misaligned.join(QStringLiteral("\n  ")).toStdString();
    RecordProperty("texts", report.Checked);
    RecordProperty("baselines", report.BaselinePairs);
}

TEST_P(EveryFrame, UpDownsAreAsTallAsTheirEdits)
{
    Rig device(GetParam());
    for (bool request : {true, false}) {
        for (TControl* c : Controls(device.Panel(request))) {   // none on a side the row lacks
            auto* upDown = dynamic_cast<TUpDown*>(c);
            if (!upDown)
                continue;
            TControl* stepped = ControlAtPos(upDown->parentWidget(), QPoint(upDown->Left() - 1, upDown->Top()));
            ASSERT_TRUE(stepped && stepped->ClassNameIs("TEdit")) << upDown->Name().toStdString();
            EXPECT_EQ(upDown->Top(), stepped->Top()) << upDown->Name().toStdString();
            EXPECT_EQ(upDown->Height(), stepped->Height()) << upDown->Name().toStdString();
        }
    }
}

// A side its description leaves editable (the terminal's answer) is usable from the start;
// any other side starts as a clear leaves it, its pages and read-only texts usable.
TEST_P(EveryFrame, AFreshFrameIsEnabledAsAClearedOneUnlessEditable)
{
    Rig fresh(GetParam());
    Rig cleared(GetParam());
    for (bool request : {true, false}) {
        if (!fresh.Panel(request))
            continue;
        const std::vector<TControl*> freshControls = Controls(fresh.Panel(request));
        const bool editable = std::any_of(freshControls.begin(), freshControls.end(), [](TControl* c) {
            auto* edit = dynamic_cast<TEdit*>(c);
            return edit && !edit->ReadOnly();
        });
        cleared.info->ShowData(request);
        if (!editable)
            cleared.info->ClearDisplay(request);
        EXPECT_EQ(EnabledStates(fresh.Panel(request)), EnabledStates(cleared.Panel(request))) << (request ? "request" : "answer");
        // What the user moves about with stays usable without data: pages and read-only texts.
        cleared.info->ClearDisplay(request);
        for (QWidget* w : cleared.Panel(request)->findChildren<QWidget*>()) {
            auto* text = qobject_cast<QPlainTextEdit*>(w);
            if (qobject_cast<QTabWidget*>(w) || (text && text->isReadOnly())) {
                EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
            }
        }
    }
}

// A side the device shows is usable throughout.
TEST_P(EveryFrame, ShowingASideEnablesIt)
{
    for (bool request : {true, false}) {
        Rig device(GetParam());
        if (!device.Panel(request))
            continue;
        device.info->ShowData(request);
        for (TControl* c : Controls(device.Panel(request)))
            EXPECT_TRUE(c->Enabled()) << c->Name().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCatalogueRow, EveryFrame, ::testing::Range(0, DeviceCatalogueCount));
}

// The main window at its default size reads in full as well: as it starts, and in constructor
// mode with both right-hand panels open.
TEST_F(MainWindowTest, EveryWindowTextFits)
{
    TMirvane2Form& f = StartUp();
    int checked = 0;
    for (const bool constructor : {false, true}) {
        if (constructor) {
            ConstructorMode = 1;
            f.ApplyConstructorMode();
            f.RightPanelButtonClick(f.ShowRightButton);
            f.DataInfoButtonClick(f.ShowInfoButton);
            RunEventsFor(30);
        }
        const TTextFitReport report = CheckTextsFit(form.get());
        EXPECT_GT(report.Checked, 0);
        EXPECT_TRUE(report.Clipped.empty()) << report.Clipped.join(QStringLiteral("\n")).toStdString();
        checked += report.Checked;
    }
    RecordProperty("texts", checked);
}

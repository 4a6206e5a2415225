// The indicator and the first control handle on their catalogue rows: controls, slots, the
// request and answer bytes between body, frame, grid and info line, and the indicator's
// automatic answer.
#include "frames/Indicator.h"
#include "frames/JoystickA.h"
#include "FrameDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
constexpr int IndicatorRows[] = {58, 59};
constexpr int JoystickRows[] = {30, 31};

// A device on a row of these frames. The fixture binds the placeholder classes on its first
// use, so the frames are bound once after that.
std::unique_ptr<FrameDevice> MakeDevice(int row)
{
    static const bool bound = [] {
        FrameDevice first(0);
        RegisterIndicatorFrames();
        RegisterJoystickAFrames();
        return true;
    }();
    (void)bound;
    return std::make_unique<FrameDevice>(row);
}

std::vector<QString> ControlNames(const QWidget* panel)
{
    std::vector<QString> names;
    for (const TControl* control : Controls(panel))
        names.push_back(control->Name());
    return names;
}

// Every control of the panel lies inside it.
void ExpectInside(const QWidget* panel)
{
    for (const TControl* control : Controls(panel)) {
        EXPECT_GE(control->Left(), 0) << control->Name().toStdString();
        EXPECT_LE(control->Left() + control->Width(), FrameWidth) << control->Name().toStdString();
        EXPECT_LE(control->Top() + control->Height(), panel->height()) << control->Name().toStdString();
    }
}

void ExpectAllSlots(const TDeviceInfo& info, const TFrameBase& frame)
{
    EXPECT_TRUE(info.GridToRequest && info.GridToAnswer && info.FrameToRequest && info.RequestToFrame &&
                info.RequestToGrid && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_EQ(info.RequestPanel, frame.OutPanel);
    EXPECT_EQ(info.AnswerPanel, frame.InPanel);
    EXPECT_TRUE(info.HasRequestEditor());
}

void ShowRequest(FrameDevice& d)
{
    TUpdatingControls updating;
    d.info->RequestToGrid();
    d.info->RequestToFrame();
}
void BuildRequest(FrameDevice& d)
{
    TUpdatingControls updating;
    d.info->FrameToRequest();
    d.info->RequestToGrid();
}
}

// ---------------------------------------------------------------------------------------------
// Indicator

TEST(IndicatorFrame, RowsMakeTheFrameWithItsControls)
{
    for (int row : IndicatorRows) {
        SCOPED_TRACE(row);
        auto d = MakeDevice(row);
        auto& f = d->Frame<TIndicatorFrame>();
        EXPECT_STREQ(f.ClassName(), "TIndicatorFrame");
        EXPECT_EQ(DeviceCatalogue[row].DescribeRequest, DescribeIndicatorRequest);
        EXPECT_EQ(DeviceCatalogue[row].DescribeAnswer, DescribeIndicatorAnswer);
        ExpectAllSlots(*d->info, f);
        EXPECT_EQ(ControlNames(f.OutPanel),
                  (std::vector<QString>{"ValueLabel", "ValueEdit", "ValueUpDown", "AlarmCheckBox"}));
        EXPECT_EQ(ControlNames(f.InPanel), (std::vector<QString>{"ValueLabel_", "ValueEdit_", "ValueUpDown_",
                                                                 "AlarmCheckBox_", "AutoAnswerBox"}));
        EXPECT_EQ(f.ValueLabel->Caption(), "Value, %:");
        EXPECT_EQ(f.ValueLabel_->Caption(), "Value, %:");
        EXPECT_EQ(f.AlarmCheckBox->Caption(), "Alarm");
        EXPECT_EQ(f.AlarmCheckBox_->Caption(), "Alarm");
        EXPECT_EQ(f.AutoAnswerBox->Caption(), "Автоматическое формирование");
        EXPECT_FALSE(f.AutoAnswerBox->Checked());
        EXPECT_EQ(f.ValueEdit->Tag, EditUInt);
        EXPECT_EQ(f.ValueEdit_->Tag, EditUInt);
        EXPECT_EQ(f.ValueUpDown->TagWidget(), f.ValueEdit);
        EXPECT_EQ(f.ValueUpDown_->TagWidget(), f.ValueEdit_);
        EXPECT_TRUE(f.ValueEdit->ReadOnly());
        EXPECT_FALSE(f.ValueUpDown->Enabled());
        ExpectInside(f.OutPanel);
        ExpectInside(f.InPanel);
    }
}

TEST(IndicatorFrame, ByteShownInFrameGridAndInfoLine)
{
    struct Row { std::uint8_t byte; const char* value; bool alarm; const char* column6; const char* info; };
    const Row rows[] = {
        {0xE4, "100", true, "1", "Value=100, Alarm=1"},
        {0x64, "100", false, "0", "Value=100, Alarm=0"},
        {0x7F, "127", false, "0", "Value=127, Alarm=0"},
        {0x80, "0", true, "1", "Value=0, Alarm=1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        auto d = MakeDevice(58);
        auto& f = d->Frame<TIndicatorFrame>();
        d->object.Request[1] = r.byte;
        d->Answer()[1] = r.byte;
        ShowRequest(*d);
        d->ShowAnswer();
        EXPECT_EQ(f.ValueEdit->Text(), r.value);
        EXPECT_EQ(f.AlarmCheckBox->Checked(), r.alarm);
        EXPECT_EQ(f.ValueEdit_->Text(), r.value);
        EXPECT_EQ(f.AlarmCheckBox_->Checked(), r.alarm);
        EXPECT_EQ(d->grid.Cell(2), r.column6) << "the request column shows the alarm only";
        EXPECT_EQ(d->grid.Cell(3), r.value);
        EXPECT_EQ(d->grid.Cell(4), "-");
        EXPECT_EQ(d->grid.Cell(5), "-");
        EXPECT_EQ(d->grid.Cell(6), r.column6);
        EXPECT_EQ(DescribeIndicatorRequest(d->object.Request.data()), r.info);
        EXPECT_EQ(DescribeIndicatorAnswer(d->Answer().data()), r.info);
    }
}

TEST(IndicatorFrame, FrameBuildsTheByteOnBothSides)
{
    struct Row { const char* text; bool alarm; std::uint8_t before, after; };
    const Row rows[] = {
        {"100", true, 0x00, 0xE4},
        {"130", false, 0x00, 0x02},    // the low 7 bits
        {"-1", false, 0x00, 0x7F},
        {"abc", false, 0xB5, 0x35},    // no number: value bits kept, alarm from its box
        {"", true, 0x35, 0xB5},
        {"12x", true, 0x01, 0x81},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        auto d = MakeDevice(59);
        auto& f = d->Frame<TIndicatorFrame>();
        d->object.Request[1] = r.before;
        d->Answer()[1] = r.before;
        f.ValueEdit->SetText(r.text);
        f.AlarmCheckBox->SetChecked(r.alarm);
        f.ValueEdit_->SetText(r.text);
        f.AlarmCheckBox_->SetChecked(r.alarm);
        BuildRequest(*d);
        d->BuildAnswer();
        EXPECT_EQ(d->object.Request[1], r.after);
        EXPECT_EQ(d->Answer()[1], r.after);
        EXPECT_EQ(d->object.Request[2], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST(IndicatorFrame, GridCellsSetTheirBitsOnly)
{
    struct Row { bool request; int column; const char* text; std::uint8_t before, after; };
    const Row rows[] = {
        {true, 2, "0", 0xB5, 0x35},      // alarm cleared, value kept
        {true, 2, "1", 0x35, 0xB5},
        {true, 2, "10", 0x35, 0x35},     // only the rightmost digit counts
        {true, 2, "", 0xB5, 0x35},
        {true, 3, "1", 0x35, 0x35},      // the request has no other column
        {false, 3, "55", 0x80, 0xB7},
        {false, 3, "55.5", 0x00, 0x38},  // half away from zero
        {false, 3, "-0.4", 0xFF, 0x80},
        {false, 3, "200", 0x80, 0xC8},   // low 7 bits, alarm kept
        {false, 3, "abc", 0xB5, 0xB5},
        {false, 6, "1", 0x35, 0xB5},
        {false, 6, "0", 0xB5, 0x35},
        {false, 4, "1", 0x35, 0x35},
        {false, 5, "1", 0x35, 0x35},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.column) + " '" + r.text + "'");
        auto d = MakeDevice(58);
        TMessageImage& image = r.request ? d->object.Request : d->Answer();
        image[1] = r.before;
        if (r.request)
            d->info->GridToRequest(r.text, r.column);
        else
            d->info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(image[1], r.after);
    }
}

TEST(IndicatorFrame, AutomaticAnswerRepeatsTheShownRequest)
{
    auto d = MakeDevice(58);
    auto& f = d->Frame<TIndicatorFrame>();
    d->info->ShowData(false);
    f.ValueEdit_->SetText("99");
    f.AlarmCheckBox_->SetChecked(true);
    f.AutoAnswerBox->SetChecked(true);

    // An exchange whose request carried 55 without alarm is shown.
    d->object.Request[1] = 55;
    ShowRequest(*d);
    d->changes = 0;

    // The emulation builds the answer without UpdatingControls.
    d->info->FrameToAnswer();
    EXPECT_EQ(d->Answer()[1], 55);
    EXPECT_EQ(f.ValueEdit_->Text(), "55");
    EXPECT_FALSE(f.AlarmCheckBox_->Checked());
    EXPECT_EQ(d->changes, 2) << "the copied controls raise their change events, which rebuild the grid";

    // Again with nothing new: no control changes, no further events, the same answer.
    d->changes = 0;
    d->info->FrameToAnswer();
    EXPECT_EQ(d->Answer()[1], 55);
    EXPECT_EQ(d->changes, 0);

    // What the user sets in the request controls is repeated as well.
    f.ValueEdit->SetText("7");
    f.AlarmCheckBox->SetChecked(true);
    d->info->FrameToAnswer();
    EXPECT_EQ(d->Answer()[1], 0x87);
}

TEST(IndicatorFrame, AutomaticAnswerBringsTheGridAlongThroughTheChangeHandler)
{
    auto d = MakeDevice(59);
    auto& f = d->Frame<TIndicatorFrame>();
    // The main window's change handler: an answer control changed outside a program write
    // rebuilds the answer and its cells.
    TFrameHandlers handlers = d->handlers;
    int passes = 0;
    handlers.OnChange = [&](QObject*) {
        if (UpdatingControls)
            return;
        ++passes;
        TUpdatingControls updating;
        d->info->FrameToAnswer();
        d->info->AnswerToGrid();
    };
    d->info->BindControls(f.InPanel, &handlers);
    d->Answer()[1] = 0x14;
    d->ShowAnswer();
    {
        TUpdatingControls updating;
        f.AutoAnswerBox->SetChecked(true);
    }
    d->object.Request[1] = 0xE4;   // 100 with alarm
    ShowRequest(*d);

    d->info->FrameToAnswer();   // the emulation, before it sends the answer
    EXPECT_EQ(d->Answer()[1], 0xE4);
    EXPECT_EQ(d->grid.Cell(3), "100");
    EXPECT_EQ(d->grid.Cell(6), "1");
    EXPECT_EQ(passes, 1) << "the handler's own rebuild raises no second pass";
}

TEST(IndicatorFrame, WithoutAutomaticAnswerTheAnswerControlsCount)
{
    auto d = MakeDevice(58);
    auto& f = d->Frame<TIndicatorFrame>();
    f.ValueEdit_->SetText("20");
    d->object.Request[1] = 0xB7;
    ShowRequest(*d);
    d->changes = 0;
    d->info->FrameToAnswer();
    EXPECT_EQ(d->Answer()[1], 20);
    EXPECT_EQ(f.ValueEdit_->Text(), "20");
    EXPECT_EQ(d->changes, 0);

    // Ticking the box is an answer-side change like any other.
    f.AutoAnswerBox->SetChecked(true);
    EXPECT_EQ(d->changes, 1);
}

TEST(IndicatorFrame, CellsAreWrittenOnlyWhenTheyDiffer)
{
    auto d = MakeDevice(58);
    d->Answer()[1] = 0xE4;
    d->object.Request[1] = 0x80;
    d->ShowAnswer();
    d->ShowAnswer();
    ShowRequest(*d);
    ShowRequest(*d);
    for (int column = 2; column <= 6; ++column)
        EXPECT_EQ(d->grid.Writes[column], 1) << column;
    d->Answer()[1] = 0xE5;
    d->ShowAnswer();
    EXPECT_EQ(d->grid.Writes[3], 2);
    EXPECT_EQ(d->grid.Writes[6], 1);
}

// ---------------------------------------------------------------------------------------------
// First control handle

TEST(JoystickAFrame, RowsMakeTheFrameWithItsControls)
{
    for (int row : JoystickRows) {
        SCOPED_TRACE(row);
        auto d = MakeDevice(row);
        auto& f = d->Frame<TJoystickAFrame>();
        EXPECT_STREQ(f.ClassName(), "TJoystickAFrame");
        EXPECT_EQ(DeviceCatalogue[row].DescribeRequest, DescribeJoystickARequest);
        EXPECT_EQ(DeviceCatalogue[row].DescribeAnswer, DescribeJoystickAAnswer);
        ExpectAllSlots(*d->info, f);
        EXPECT_EQ(ControlNames(f.OutPanel),
                  (std::vector<QString>{"FLabel", "FComboBox", "KLabel", "K3Label", "K3CheckBox", "K2CheckBox",
                                        "K1CheckBox", "K1Label", "Bevel1", "SDLabel", "SDComboBox", "SCLabel",
                                        "SCComboBox", "SALabel", "SAComboBox", "SBComboBox", "SBLabel"}));
        EXPECT_EQ(ControlNames(f.InPanel),
                  (std::vector<QString>{"KLabel_", "K3Label_", "K3CheckBox_", "K2CheckBox_", "K1CheckBox_",
                                        "K1Label_", "Bevel2", "YDLabel_", "YDCheckBox_", "YCLabel_", "YCCheckBox_",
                                        "YACheckBox_", "YALabel_", "YBCheckBox_", "YBLabel_"}));
        const std::pair<TLabel*, const char*> labels[] = {
            {f.FLabel, "F:"}, {f.KLabel, "K:"}, {f.K3Label, "3"}, {f.K1Label, "1"}, {f.SDLabel, "SD"},
            {f.SCLabel, "< SC"}, {f.SALabel, "SA >"}, {f.SBLabel, "SB"}, {f.KLabel_, "K:"}, {f.K3Label_, "3"},
            {f.K1Label_, "1"}, {f.YDLabel_, "YD"}, {f.YCLabel_, "< YC"}, {f.YALabel_, "YA >"}, {f.YBLabel_, "YB"}};
        for (const auto& [label, caption] : labels)
            EXPECT_EQ(label->Caption(), caption) << label->Name().toStdString();
        EXPECT_EQ(f.FComboBox->Items(), (QStringList{"0", "1"}));
        for (TComboBox* combo : {f.SAComboBox, f.SBComboBox, f.SCComboBox, f.SDComboBox}) {
            EXPECT_EQ(combo->Items(), (QStringList{"Запр.", "1/3", "2/3", "Не огр."}));
            EXPECT_EQ(combo->Style(), TComboStyle::DropDownList);
        }
        EXPECT_EQ(f.FComboBox->Style(), TComboStyle::DropDownList);
        // K3 leftmost in both rows.
        EXPECT_LT(f.K3CheckBox->Left(), f.K2CheckBox->Left());
        EXPECT_LT(f.K2CheckBox->Left(), f.K1CheckBox->Left());
        EXPECT_LT(f.K3CheckBox_->Left(), f.K1CheckBox_->Left());
        ExpectInside(f.OutPanel);
        ExpectInside(f.InPanel);
    }
}

TEST(JoystickAFrame, RequestBetweenFrameBodyGridAndInfoLine)
{
    struct Row {
        int f;
        bool k1, k2, k3;
        int sa, sb, sc, sd;
        std::uint8_t byte1, byte2;
        const char* column2;
        const char* info;
    };
    const Row rows[] = {
        {0, false, false, false, 1, 3, 0, 2, 0x00, 0x8D, "0000", "F=0, K3-1=000, SA=1, SB=3, SC=0, SD=2"},
        {1, true, false, true, 3, 3, 3, 3, 0x0D, 0xFF, "1101", "F=1, K3-1=101, SA=3, SB=3, SC=3, SD=3"},
        {0, false, true, false, 0, 0, 0, 0, 0x02, 0x00, "0010", "F=0, K3-1=010, SA=0, SB=0, SC=0, SD=0"},
        {1, true, true, true, 2, 1, 2, 1, 0x0F, 0x66, "1111", "F=1, K3-1=111, SA=2, SB=1, SC=2, SD=1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        auto d = MakeDevice(30);
        auto& f = d->Frame<TJoystickAFrame>();
        d->object.Request[1] = 0xF0;   // unused bits go out as 0
        f.FComboBox->SetItemIndex(r.f);
        f.K1CheckBox->SetChecked(r.k1);
        f.K2CheckBox->SetChecked(r.k2);
        f.K3CheckBox->SetChecked(r.k3);
        f.SAComboBox->SetItemIndex(r.sa);
        f.SBComboBox->SetItemIndex(r.sb);
        f.SCComboBox->SetItemIndex(r.sc);
        f.SDComboBox->SetItemIndex(r.sd);
        BuildRequest(*d);
        EXPECT_EQ(d->object.Request[1], r.byte1);
        EXPECT_EQ(d->object.Request[2], r.byte2);
        EXPECT_EQ(d->object.Request[3], 0);
        EXPECT_EQ(d->grid.Cell(2), r.column2);
        EXPECT_EQ(DescribeJoystickARequest(d->object.Request.data()), r.info);

        // And back into a fresh frame.
        auto e = MakeDevice(31);
        auto& g = e->Frame<TJoystickAFrame>();
        e->object.Request = d->object.Request;
        ShowRequest(*e);
        EXPECT_EQ(g.FComboBox->ItemIndex(), r.f);
        EXPECT_EQ(g.K1CheckBox->Checked(), r.k1);
        EXPECT_EQ(g.K2CheckBox->Checked(), r.k2);
        EXPECT_EQ(g.K3CheckBox->Checked(), r.k3);
        EXPECT_EQ(g.SAComboBox->ItemIndex(), r.sa);
        EXPECT_EQ(g.SBComboBox->ItemIndex(), r.sb);
        EXPECT_EQ(g.SCComboBox->ItemIndex(), r.sc);
        EXPECT_EQ(g.SDComboBox->ItemIndex(), r.sd);
        EXPECT_EQ(e->grid.Cell(2), r.column2);
    }
}

TEST(JoystickAFrame, ShownRequestKeepsUnusedBitsOutOfTheFrame)
{
    auto d = MakeDevice(30);
    auto& f = d->Frame<TJoystickAFrame>();
    d->object.Request[1] = 0xF8;   // F with the unused high bits
    ShowRequest(*d);
    EXPECT_EQ(f.FComboBox->ItemIndex(), 1);
    EXPECT_EQ(d->grid.Cell(2), "1000");
    EXPECT_EQ(DescribeJoystickARequest(d->object.Request.data()), "F=1, K3-1=000, SA=0, SB=0, SC=0, SD=0");
}

TEST(JoystickAFrame, ClearedCombosKeepTheStoredCodes)
{
    auto d = MakeDevice(30);
    auto& f = d->Frame<TJoystickAFrame>();
    d->object.Request[1] = 0x0A;   // F and K2
    d->object.Request[2] = 0x8D;
    d->info->ShowData(true);
    d->info->ClearDisplay(true);
    ASSERT_EQ(f.SAComboBox->ItemIndex(), -1);
    ASSERT_EQ(f.FComboBox->ItemIndex(), -1);
    BuildRequest(*d);
    EXPECT_EQ(d->object.Request[2], 0x8D);
    EXPECT_EQ(d->object.Request[1], 0x0A);

    // One combo chosen again: only its code changes.
    f.SCComboBox->SetItemIndex(3);
    f.FComboBox->SetItemIndex(0);
    BuildRequest(*d);
    EXPECT_EQ(d->object.Request[2], 0x8D | 0x30);
    EXPECT_EQ(d->object.Request[1], 0x02);
}

TEST(JoystickAFrame, RequestColumnSetsTheFlagsOnly)
{
    struct Row { const char* text; std::uint8_t byte1; };
    const Row rows[] = {
        {"1000", 0xF8},    // F set, K1-K3 cleared, high bits kept
        {"0111", 0xF7},
        {"1", 0xF1},
        {"", 0xF0},
        {"11111", 0xFF},   // digits past F are ignored
        {"1 0 1", 0xF5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        auto d = MakeDevice(30);
        d->object.Request[1] = 0xF7;
        d->object.Request[2] = 0x8D;
        d->info->GridToRequest(r.text, 2);
        EXPECT_EQ(d->object.Request[1], r.byte1);
        EXPECT_EQ(d->object.Request[2], 0x8D);
    }
}

TEST(JoystickAFrame, AnswerBetweenFrameBodyGridAndInfoLine)
{
    struct Row { std::uint8_t byte; const char* column5; const char* column6; const char* info; };
    const Row rows[] = {
        {0x95, "101", "1001", "K3-1=101, YA=1, YB=0, YC=0, YD=1"},
        {0x00, "000", "0000", "K3-1=000, YA=0, YB=0, YC=0, YD=0"},
        {0xF7, "111", "1111", "K3-1=111, YA=1, YB=1, YC=1, YD=1"},
        {0x62, "010", "0110", "K3-1=010, YA=0, YB=1, YC=1, YD=0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        auto d = MakeDevice(31);
        auto& f = d->Frame<TJoystickAFrame>();
        d->Answer()[1] = r.byte;
        d->ShowAnswer();
        EXPECT_EQ(d->grid.Cell(3), "-");
        EXPECT_EQ(d->grid.Cell(4), "-");
        EXPECT_EQ(d->grid.Cell(5), r.column5);
        EXPECT_EQ(d->grid.Cell(6), r.column6);
        EXPECT_EQ(DescribeJoystickAAnswer(d->Answer().data()), r.info);
        const TCheckBox* boxes[] = {f.K1CheckBox_, f.K2CheckBox_, f.K3CheckBox_, nullptr,
                                    f.YACheckBox_, f.YBCheckBox_, f.YCCheckBox_, f.YDCheckBox_};
        for (int bit = 0; bit < 8; ++bit) {
            if (boxes[bit]) {
                EXPECT_EQ(boxes[bit]->Checked(), ((r.byte >> bit) & 1) != 0) << bit;
            }
        }
        // Built back from the frame, the unused bit 3 goes out as 0.
        d->BuildAnswer();
        EXPECT_EQ(d->Answer()[1], r.byte & ~0x08);
    }
}

TEST(JoystickAFrame, AnswerColumnsSetTheirBitsOnly)
{
    struct Row { int column; const char* text; std::uint8_t after; };
    const Row rows[] = {
        {5, "101", 0x2D},    // bits 0-2 from the digits, bit 3 and Y kept
        {5, "", 0x28},
        {5, "1111", 0x2F},   // a fourth digit has no field
        {6, "1001", 0x9A},
        {6, "1", 0x1A},
        {6, "", 0x0A},
        {3, "1", 0x2A},      // value columns change nothing
        {4, "1", 0x2A},
        {2, "1", 0x2A},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.column) + " '" + r.text + "'");
        auto d = MakeDevice(31);
        d->Answer()[1] = 0x2A;
        d->info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(d->Answer()[1], r.after);
    }
}

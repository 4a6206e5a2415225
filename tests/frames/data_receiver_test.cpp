// The data receiver on its catalogue row: the force and the four flags of the remote unit
// between body, frame, grid and info line.
#include "frames/DataReceiver.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int Row = 76;

struct Flags { bool block, horn, noreply, battery; };
bool operator==(const Flags& a, const Flags& b)
{
    return a.block == b.block && a.horn == b.horn && a.noreply == b.noreply && a.battery == b.battery;
}

class DataReceiverFrame : public ::testing::Test {
protected:
    void SetUp() override { BindAfterStart(RegisterDataReceiverFrames); }
};

Flags Boxes(const TDataReceiverFrame& f)
{
    return {f.blockCheckBox->Checked(), f.hornCheckBox->Checked(), f.noreplyCheckBox->Checked(),
            f.batteryLowCheckBox->Checked()};
}
void SetBoxes(TDataReceiverFrame& f, const Flags& flags)
{
    f.blockCheckBox->SetChecked(flags.block);
    f.hornCheckBox->SetChecked(flags.horn);
    f.noreplyCheckBox->SetChecked(flags.noreply);
    f.batteryLowCheckBox->SetChecked(flags.battery);
}
}

TEST_F(DataReceiverFrame, RowMakesTheFrameWithItsControls)
{
    FrameDevice device(Row);
    auto& frame = device.Frame<TDataReceiverFrame>();
    EXPECT_STREQ(frame.ClassName(), "TDataReceiverFrame");
    EXPECT_EQ(DeviceCatalogue[Row].DescribeAnswer, DescribeDataReceiverAnswer);
    EXPECT_EQ(DeviceCatalogue[Row].DescribeRequest, nullptr);
    ExpectAnswerOnly(*device.info, frame);

    const std::vector<QString> names = {"FLabel", "Bevel1", "FEdit", "FUpDown", "blockCheckBox",
                                        "hornCheckBox", "noreplyCheckBox", "batteryLowCheckBox"};
    EXPECT_EQ(ControlNames(frame.InPanel), names);
    EXPECT_EQ(frame.FLabel->Caption(), "F, кг:");
    EXPECT_EQ(frame.blockCheckBox->Caption(), "Блокировка");
    EXPECT_EQ(frame.hornCheckBox->Caption(), "Звуковой сигнал");
    EXPECT_EQ(frame.noreplyCheckBox->Caption(), "Пульт не отвечает");
    EXPECT_EQ(frame.batteryLowCheckBox->Caption(), "Замена батареи");
    ExpectStepper(frame.FEdit, frame.FUpDown, 0, 0, 4095, true);
}

TEST_F(DataReceiverFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Case { Body body; const char* force; Flags flags; const char* digits; const char* info; };
    const Case cases[] = {
        {{0x00, 0x00}, "0", {}, "0000", "F=0, Block=0, Horn=0, Noreply=0, BatLow=0"},
        {{0xFF, 0xFF}, "4095", {true, true, true, true}, "1111", "F=4095, Block=1, Horn=1, Noreply=1, BatLow=1"},
        {{0x34, 0x92}, "564", {true, false, false, true}, "1001", "F=564, Block=1, Horn=0, Noreply=0, BatLow=1"},
        {{0x00, 0x50}, "0", {false, true, false, true}, "0101", "F=0, Block=0, Horn=1, Noreply=0, BatLow=1"},
        {{0x88, 0x23}, "904", {false, false, true, false}, "0010", "F=904, Block=0, Horn=0, Noreply=1, BatLow=0"},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        SetBody(device.Answer(), c.body);
        device.ShowAnswer();
        const auto& frame = device.Frame<TDataReceiverFrame>();
        EXPECT_EQ(frame.FEdit->Text(), c.force) << c.info;
        EXPECT_EQ(Boxes(frame), c.flags) << c.info;
        EXPECT_EQ(device.grid.Cell(3), c.force);
        EXPECT_EQ(device.grid.Cell(4), "-");
        EXPECT_EQ(device.grid.Cell(5), c.digits);
        EXPECT_EQ(device.grid.Cell(6), "-");
        EXPECT_EQ(DescribeDataReceiverAnswer(device.Answer().data()), c.info);
    }
}

TEST_F(DataReceiverFrame, FrameBuildsTheAnswerWord)
{
    struct Case { const char* force; Flags flags; Body before; Body after; };
    const Case cases[] = {
        {"5000", {}, {0, 0}, {0x88, 0x03}},                        // 5000 & 0xFFF = 904
        {"4095", {true, true, true, true}, {0, 0}, {0xFF, 0xFF}},
        {"-1", {}, {0, 0xF0}, {0xFF, 0x0F}},                       // low 12 bits, old flags gone
        {"abc", {true, false, false, false}, {0x34, 0xF2}, {0x34, 0x82}},   // force kept, flags rebuilt
        {"", {false, true, false, false}, {0x11, 0x05}, {0x11, 0x45}},
        {"7", {false, false, true, true}, {0xAA, 0xFF}, {0x07, 0x30}},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        auto& frame = device.Frame<TDataReceiverFrame>();
        SetBody(device.Answer(), c.before);
        frame.FEdit->SetText(c.force);
        SetBoxes(frame, c.flags);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 2), c.after) << c.force;
        EXPECT_EQ(device.Answer()[3], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST_F(DataReceiverFrame, TypedForceComesBackMasked)
{
    FrameDevice device(Row);
    auto& frame = device.Frame<TDataReceiverFrame>();
    frame.FEdit->SetText("5000");
    device.BuildAnswer();
    device.ShowAnswer();
    EXPECT_EQ(frame.FEdit->Text(), "904");
    EXPECT_EQ(device.grid.Cell(3), "904");
}

TEST_F(DataReceiverFrame, GridCellsSetForceAndFlags)
{
    struct Case { int column; const char* text; Body before; Body after; };
    const Case cases[] = {
        {3, "5000", {0x00, 0xF0}, {0x88, 0xF3}},   // masked to 12 bits, flags stay
        {3, "12.5", {0x00, 0xA0}, {0x0D, 0xA0}},   // half away from zero
        {3, "-1", {0x00, 0x50}, {0xFF, 0x5F}},
        {3, "abc", {0x34, 0x92}, {0x34, 0x92}},
        {3, "", {0x34, 0x92}, {0x34, 0x92}},
        {5, "3010", {0x34, 0x02}, {0x34, 0xA2}},   // any digit 1-3 sets its flag
        {5, "1410", {0x34, 0xF2}, {0x34, 0x22}},   // the reading stops at the 4
        {5, "1", {0x34, 0xF2}, {0x34, 0x12}},      // digit 0 is BatLow; missing digits clear
        {5, "", {0x34, 0xF2}, {0x34, 0x02}},
        {4, "1", {0x34, 0x92}, {0x34, 0x92}},      // unused columns change nothing
        {6, "1111", {0x34, 0x92}, {0x34, 0x92}},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        SetBody(device.Answer(), c.before);
        device.info->GridToAnswer(c.text, c.column);
        EXPECT_EQ(BodyOf(device.Answer(), 2), c.after) << c.column << " '" << c.text << "'";
    }
}

TEST_F(DataReceiverFrame, CellsAreWrittenOnlyWhenTheyDiffer)
{
    FrameDevice device(Row);
    SetBody(device.Answer(), {0x34, 0x92});
    device.ShowAnswer();
    device.ShowAnswer();
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(device.grid.Writes[column], 1) << "column " << column;
    device.Answer()[2] = 0x12;   // Block drops, the force stays
    device.ShowAnswer();
    EXPECT_EQ(device.grid.Writes[3], 1);
    EXPECT_EQ(device.grid.Writes[5], 2);
    EXPECT_EQ(device.grid.Cell(5), "0001");
}

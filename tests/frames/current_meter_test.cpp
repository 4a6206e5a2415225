// The current meter on its catalogue row: seven status bits, the 9-bit voltage and two currents
// between body, frame, grid and info line; and the bit-string rule it shares.
#include "frames/CurrentMeter.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int Row = 61;

class CurrentMeterFrame : public ::testing::Test {
protected:
    void SetUp() override { BindAfterStart(RegisterCurrentMeterFrames); }
};

// The status boxes from the frame's list, Bit2Box first.
std::vector<bool> Boxes(const TCurrentMeterFrame& f)
{
    std::vector<bool> checked;
    for (const TCheckBox* box : f.StatusBoxes())
        checked.push_back(box->Checked());
    return checked;
}
void SetBoxes(TCurrentMeterFrame& f, std::uint8_t statusByte)
{
    for (std::size_t k = 0; k < f.StatusBoxes().size(); ++k)
        f.StatusBoxes()[k]->SetChecked((statusByte >> (k + 1)) & 1);
}
}

TEST(FormatBits, BinaryDigitsWithoutLeadingZeros)
{
    const std::pair<std::uint8_t, const char*> cases[] = {
        {0, ""}, {1, "1"}, {2, "10"}, {5, "101"}, {0x40, "1000000"}, {0x7F, "1111111"},
        {0x80, "10000000"}, {0xFF, "11111111"}, {0x0A, "1010"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatBits(value), text) << int(value);
}

TEST_F(CurrentMeterFrame, RowMakesTheFrameWithItsControls)
{
    FrameDevice device(Row);
    auto& frame = device.Frame<TCurrentMeterFrame>();
    EXPECT_STREQ(frame.ClassName(), "TCurrentMeterFrame");
    EXPECT_EQ(DeviceCatalogue[Row].DescribeAnswer, DescribeCurrentMeterAnswer);
    EXPECT_EQ(DeviceCatalogue[Row].DescribeRequest, nullptr);
    ExpectAnswerOnly(*device.info, frame);

    const std::vector<QString> names = {
        "ButLabel", "But3Label", "Bit8Box", "Bit7Box", "Bit6Box", "Bit5Box", "Bit4Box", "Bit3Box", "Bit2Box",
        "But1Label", "Bevel1", "VoltageLabel", "VoltageEdit", "VoltageUpDown", "Label1", "I1Edit", "UpDown1",
        "Label2", "I2Edit", "UpDown2", "Bevel2", "Panel3"};
    EXPECT_EQ(ControlNames(frame.InPanel), names);
    EXPECT_EQ(frame.ButLabel->Caption(), "Bits:");
    EXPECT_EQ(frame.But3Label->Caption(), "8");
    EXPECT_EQ(frame.But1Label->Caption(), "2");
    EXPECT_EQ(frame.VoltageLabel->Caption(), "U, В:");
    EXPECT_EQ(frame.Label1->Caption(), "I1, А:");
    EXPECT_EQ(frame.Label2->Caption(), "I2, А:");
    EXPECT_LT(frame.But3Label->Left(), frame.Bit8Box->Left());
    EXPECT_LT(frame.Bit8Box->Left(), frame.Bit2Box->Left());
    EXPECT_LT(frame.Bit2Box->Left(), frame.But1Label->Left());

    // The list runs from bit 2 to bit 8, each box with its hint.
    const std::vector<TCheckBox*> list = {frame.Bit2Box, frame.Bit3Box, frame.Bit4Box, frame.Bit5Box,
                                          frame.Bit6Box, frame.Bit7Box, frame.Bit8Box};
    EXPECT_EQ(frame.StatusBoxes(), list);
    const char* hints[] = {"Eeprom failure", "I2 Skew", "I1 Skew", "Phase Alteration", "Phase Skew", "Phase Break", "Ready"};
    for (std::size_t k = 0; k < list.size(); ++k) {
        EXPECT_EQ(list[k]->Hint(), hints[k]);
        EXPECT_EQ(list[k]->toolTip(), hints[k]);
    }
    ExpectStepper(frame.VoltageEdit, frame.VoltageUpDown, 0, 0, 511, true);
    ExpectStepper(frame.I1Edit, frame.UpDown1, 0, 0, 255, true);
    ExpectStepper(frame.I2Edit, frame.UpDown2, 0, 0, 255, true);
}

TEST_F(CurrentMeterFrame, FrameBuildsTheAnswer)
{
    struct Case { std::uint8_t boxes; const char* u; const char* i1; const char* i2; Body after; };
    const Case cases[] = {
        {0x00, "300", "0", "0", {0x01, 44, 0, 0}},
        {0x00, "255", "1", "2", {0x00, 255, 1, 2}},
        {0x00, "256", "0", "0", {0x01, 0, 0, 0}},
        {0x00, "600", "0", "0", {0x01, 88, 0, 0}},       // bit 8 set, low 8 bits of 600
        {0x80, "300", "0", "0", {0x81, 44, 0, 0}},       // "Ready"
        {0x02, "0", "0", "0", {0x02, 0, 0, 0}},          // "Eeprom failure"
        {0xFE, "511", "255", "255", {0xFF, 255, 255, 255}},
        {0x00, "x", "300", "", {0x00, 0, 44, 0}},        // no number: 0; 300 keeps its low bits
        {0x54, "-1", "-1", "7", {0x54, 255, 255, 7}},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        auto& frame = device.Frame<TCurrentMeterFrame>();
        SetBody(device.Answer(), {0x55, 0x55, 0x55, 0x55});
        SetBoxes(frame, c.boxes);
        frame.VoltageEdit->SetText(c.u);
        frame.I1Edit->SetText(c.i1);
        frame.I2Edit->SetText(c.i2);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 4), c.after) << c.u << " " << c.i1 << " " << c.i2;
        EXPECT_EQ(device.Answer()[5], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST_F(CurrentMeterFrame, VoltageOverTheNineBitsComesBackCut)
{
    FrameDevice device(Row);
    auto& frame = device.Frame<TCurrentMeterFrame>();
    frame.VoltageEdit->SetText("600");
    device.BuildAnswer();
    device.ShowAnswer();
    EXPECT_EQ(frame.VoltageEdit->Text(), "344");
    EXPECT_EQ(device.grid.Cell(4), "344");
}

TEST_F(CurrentMeterFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Case { Body body; std::vector<bool> boxes; const char* bits; const char* u; const char* i1; const char* i2; const char* info; };
    const std::vector<bool> none(7, false);
    const Case cases[] = {
        {{0x00, 0, 0, 0}, none, "", "0", "0", "0", "Bits=, U=0, I1=0, I2=0"},
        {{0x81, 0x2C, 5, 6}, {false, false, false, false, false, false, true}, "1000000", "300", "5", "6",
         "Bits=1000000, U=300, I1=5, I2=6"},
        {{0x03, 0xFF, 255, 0}, {true, false, false, false, false, false, false}, "1", "511", "255", "0",
         "Bits=1, U=511, I1=255, I2=0"},
        {{0xFE, 0x00, 0, 128}, std::vector<bool>(7, true), "1111111", "0", "0", "128",
         "Bits=1111111, U=0, I1=0, I2=128"},
        {{0x2A, 0x10, 1, 1}, {true, false, true, false, true, false, false}, "10101", "16", "1", "1",
         "Bits=10101, U=16, I1=1, I2=1"},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        SetBody(device.Answer(), c.body);
        device.ShowAnswer();
        const auto& frame = device.Frame<TCurrentMeterFrame>();
        EXPECT_EQ(Boxes(frame), c.boxes) << c.info;
        EXPECT_EQ(frame.VoltageEdit->Text(), c.u);
        EXPECT_EQ(frame.I1Edit->Text(), c.i1);
        EXPECT_EQ(frame.I2Edit->Text(), c.i2);
        EXPECT_EQ(device.grid.Cell(3), c.bits);
        EXPECT_EQ(device.grid.Cell(4), c.u);
        EXPECT_EQ(device.grid.Cell(5), c.i1);
        EXPECT_EQ(device.grid.Cell(6), c.i2);
        EXPECT_EQ(DescribeCurrentMeterAnswer(device.Answer().data()), c.info);
    }
}

TEST_F(CurrentMeterFrame, GridEditsChangeNothing)
{
    for (int column = 2; column <= 6; ++column)
        for (const char* text : {"1", "101", "300", "", "abc"}) {
            FrameDevice device(Row);
            SetBody(device.Answer(), {0x81, 0x2C, 5, 6});
            ASSERT_TRUE(device.info->GridToAnswer);
            device.info->GridToAnswer(text, column);
            EXPECT_EQ(BodyOf(device.Answer(), 4), (Body{0x81, 0x2C, 5, 6})) << column << " " << text;
        }
}

TEST_F(CurrentMeterFrame, RequestColumnShowsNoValue)
{
    FrameDevice device(Row);
    device.grid.SetCell(2, "012");
    device.info->ShowData(true);
    EXPECT_EQ(device.grid.Cell(2), "-");
}

// The fifth tilt sensor on its catalogue row: an unsigned angle in hundredths of a degree and a
// two-bit input code between body, frame, grid and info line.
#include "frames/TiltD.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int Row = 83;

class TiltDFrame : public ::testing::Test {
protected:
    void SetUp() override { BindAfterStart(RegisterTiltDFrames); }
};
}

TEST_F(TiltDFrame, RowMakesTheFrameWithItsControls)
{
    FrameDevice device(Row);
    auto& frame = device.Frame<TTiltDFrame>();
    EXPECT_STREQ(frame.ClassName(), "TTiltDFrame");
    EXPECT_EQ(DeviceCatalogue[Row].DescribeAnswer, DescribeTiltDAnswer);
    EXPECT_EQ(DeviceCatalogue[Row].DescribeRequest, nullptr);
    ExpectAnswerOnly(*device.info, frame);
    const std::vector<QString> names = {"ANGLabel", "ANGEdit", "ANGUpDown", "Bevel1", "INLabel", "IN1Label", "IN1ComboBox"};
    EXPECT_EQ(ControlNames(frame.InPanel), names);
    EXPECT_EQ(frame.ANGLabel->Caption(), "ANG, °:");
    EXPECT_EQ(frame.INLabel->Caption(), "IN:");
    EXPECT_EQ(frame.IN1Label->Caption(), "1");
    ExpectStepper(frame.ANGEdit, frame.ANGUpDown, 2, 0, 655, true);
    const QStringList items = {"00 - Свободен", "01 - +24В", "10 - Общий", "11 - Не поддерживается"};
    EXPECT_EQ(frame.IN1ComboBox->Items(), items);
    EXPECT_FALSE(frame.IN1ComboBox->Enabled());
}

TEST_F(TiltDFrame, FrameBuildsTheAnswer)
{
    struct Case { const char* angle; int item; Body after; };
    const Case cases[] = {
        {"655.35", 0, {0xFF, 0xFF, 0x00}},   // the largest angle
        {"655.36", 1, {0x00, 0x00, 0x40}},   // 65536 keeps its low 16 bits
        {"12.34", 2, {0xD2, 0x04, 0x80}},
        {"12.345", 3, {0xD3, 0x04, 0xC0}},   // + 0.5, truncated
        {"abc", 2, {0x00, 0x00, 0x80}},      // no number: angle 0.00, input still taken
        {"", 1, {0x00, 0x00, 0x40}},
        {"1", -1, {0x64, 0x00, 0xC0}},       // no selection: code 3
        {"-1", 0, {0x9D, 0xFF, 0x00}},       // trunc(-99.5) = -99 -> 65437
        {"1e30", 0, {0x00, 0x00, 0x00}},     // beyond any field: 0
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        auto& frame = device.Frame<TTiltDFrame>();
        SetBody(device.Answer(), {0x55, 0x55, 0x3F});   // bits 0-5 of byte 3 are not kept
        frame.ANGEdit->SetText(c.angle);
        frame.IN1ComboBox->SetItemIndex(c.item);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 3), c.after) << c.angle << " " << c.item;
        EXPECT_EQ(device.Answer()[4], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST_F(TiltDFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Case { Body body; const char* angle; int item; const char* code; const char* info; };
    const Case cases[] = {
        {{0xD2, 0x04, 0x40}, "12.34", 1, "1", "ANG=12.34, IN1=1"},
        {{0xFF, 0xFF, 0xFF}, "655.35", 3, "3", "ANG=655.35, IN1=3"},   // every code has an item
        {{0x9D, 0xFF, 0x80}, "654.37", 2, "2", "ANG=654.37, IN1=2"},
        {{0x00, 0x00, 0x3F}, "0.00", 0, "0", "ANG=0.00, IN1=0"},      // low bits of byte 3 ignored
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        SetBody(device.Answer(), c.body);
        device.ShowAnswer();
        const auto& frame = device.Frame<TTiltDFrame>();
        EXPECT_EQ(frame.ANGEdit->Text(), c.angle);
        EXPECT_EQ(frame.IN1ComboBox->ItemIndex(), c.item);
        EXPECT_EQ(device.grid.Cell(3), c.angle);
        EXPECT_EQ(device.grid.Cell(4), "-");
        EXPECT_EQ(device.grid.Cell(5), c.code);
        EXPECT_EQ(device.grid.Cell(6), "-");
        EXPECT_EQ(DescribeTiltDAnswer(device.Answer().data()), c.info);
    }
}

TEST_F(TiltDFrame, NegativeAngleTypedComesBackWrapped)
{
    FrameDevice device(Row);
    auto& frame = device.Frame<TTiltDFrame>();
    frame.ANGEdit->SetText("-1");
    frame.IN1ComboBox->SetItemIndex(-1);
    device.BuildAnswer();
    device.ShowAnswer();
    EXPECT_EQ(frame.ANGEdit->Text(), "654.37");
    EXPECT_EQ(frame.IN1ComboBox->ItemIndex(), 3);
    EXPECT_EQ(frame.IN1ComboBox->Text(), "11 - Не поддерживается");
}

TEST_F(TiltDFrame, GridCellsSetAngleAndCode)
{
    struct Case { int column; const char* text; Body after; };
    const Case cases[] = {
        {3, "12.34", {0xD2, 0x04, 0x55}},
        {3, "-1", {0x9C, 0xFF, 0x55}},      // half away from zero: -100 -> 65436
        {3, "0.005", {0x01, 0x00, 0x55}},
        {3, "655.36", {0x00, 0x00, 0x55}},
        {3, "abc", {0x11, 0x22, 0x55}},     // no number: unchanged
        {3, "", {0x11, 0x22, 0x55}},
        {5, "2", {0x11, 0x22, 0x95}},       // bits 6-7 only; bits 0-5 and the angle stay
        {5, "6", {0x11, 0x22, 0x95}},       // the low two bits
        {5, "-1", {0x11, 0x22, 0xD5}},
        {5, "0", {0x11, 0x22, 0x15}},
        {5, "1.5", {0x11, 0x22, 0x55}},     // a plain integer only
        {5, "x", {0x11, 0x22, 0x55}},
        {4, "1", {0x11, 0x22, 0x55}},       // other columns change nothing
        {6, "1", {0x11, 0x22, 0x55}},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        SetBody(device.Answer(), {0x11, 0x22, 0x55});
        device.info->GridToAnswer(c.text, c.column);
        EXPECT_EQ(BodyOf(device.Answer(), 3), c.after) << c.column << " '" << c.text << "'";
    }
}

// The engine data on its catalogue row: engine speed in eighths and oil pressure in steps of
// 4 kPa between body, frame, grid and info line; texts that are no number send 0.
#include "frames/EngineData.h"
#include "AnswerFrameChecks.h"

#include "platform/Numbers.h"

namespace {
constexpr int Row = 81;

class EngineDataFrame : public ::testing::Test {
protected:
    void SetUp() override { BindAfterStart(RegisterEngineDataFrames); }
};

// Pins the decimal separator for a scope.
class Separator {
public:
    explicit Separator(QChar c) : saved_(DecimalSeparator()) { SetDecimalSeparator(c); }
    ~Separator() { SetDecimalSeparator(saved_); }

private:
    QChar saved_;
};
}

TEST_F(EngineDataFrame, RowMakesTheFrameWithItsControls)
{
    FrameDevice device(Row);
    auto& frame = device.Frame<TEngineDataFrame>();
    EXPECT_STREQ(frame.ClassName(), "TEngineDataFrame");
    EXPECT_EQ(DeviceCatalogue[Row].DescribeAnswer, DescribeEngineDataAnswer);
    EXPECT_EQ(DeviceCatalogue[Row].DescribeRequest, nullptr);
    ExpectAnswerOnly(*device.info, frame);
    const std::vector<QString> names = {"FLabel", "RpmEdit", "FUpDown", "Label1", "OilPressureEdit", "UpDown1"};
    EXPECT_EQ(ControlNames(frame.InPanel), names);
    EXPECT_EQ(frame.FLabel->Caption(), "RPM:");
    EXPECT_EQ(frame.Label1->Caption(), "P, кПа:");
    ExpectStepper(frame.RpmEdit, frame.FUpDown, 2, -128, 127, true);
    ExpectStepper(frame.OilPressureEdit, frame.UpDown1, 1, -128, 127, true);
}

TEST_F(EngineDataFrame, GeneralFormOfValues)
{
    const std::pair<long double, const char*> cases[] = {
        {0, "0"}, {1500, "1500"}, {1500.125L, "1500.125"}, {0.375L, "0.375"}, {8191.875L, "8191.875"},
        {-2.5L, "-2.5"}, {0.1L, "0.1"}, {123456789012345.0L, "123456789012345"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FloatToStr(value), text);
    Separator comma(u',');
    EXPECT_EQ(FloatToStr(1500.125L), "1500,125");
}

TEST_F(EngineDataFrame, FrameBuildsTheAnswer)
{
    struct Case { const char* rpm; const char* pressure; Body after; };
    const Case cases[] = {
        {"1500.06", "250", {0xE0, 0x2E, 63}},    // 12000.48 truncated; (250 + 2) / 4
        {"1500", "249", {0xE0, 0x2E, 62}},
        {"abc", "x", {0, 0, 0}},                 // no number: 0, not the old value
        {"", "", {0, 0, 0}},
        {"8191.875", "1020", {0xFF, 0xFF, 255}},
        {"8192", "1022", {0x00, 0x00, 0}},       // 65536 and 256 keep their low bits
        {"-1.5", "-10", {0xF4, 0xFF, 0xFE}},     // -12; (-10 + 2) / 4 = -2, toward zero
        {"0.1", "-3", {0x00, 0x00, 0}},          // 0.8 truncated; (-3 + 2) / 4 = 0
        {"1e30", "1", {0x00, 0x00, 0}},          // beyond any field: 0
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        auto& frame = device.Frame<TEngineDataFrame>();
        SetBody(device.Answer(), {0x55, 0x55, 0x55});
        frame.RpmEdit->SetText(c.rpm);
        frame.OilPressureEdit->SetText(c.pressure);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 3), c.after) << c.rpm << " " << c.pressure;
        EXPECT_EQ(device.Answer()[4], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST_F(EngineDataFrame, TypedValuesComeBackInTheirSteps)
{
    struct Case { const char* rpm; const char* pressure; const char* rpmShown; const char* pressureShown; };
    const Case cases[] = {
        {"1500.06", "250", "1500", "252"},
        {"1500.2", "249", "1500.125", "248"},
        {"abc", "", "0", "0"},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        auto& frame = device.Frame<TEngineDataFrame>();
        frame.RpmEdit->SetText(c.rpm);
        frame.OilPressureEdit->SetText(c.pressure);
        device.BuildAnswer();
        device.ShowAnswer();
        EXPECT_EQ(frame.RpmEdit->Text(), c.rpmShown) << c.rpm;
        EXPECT_EQ(frame.OilPressureEdit->Text(), c.pressureShown) << c.pressure;
    }
}

TEST_F(EngineDataFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Case { Body body; const char* rpm; const char* pressure; const char* info; };
    const Case cases[] = {
        {{0xE0, 0x2E, 63}, "1500", "252", "RPM=1500.000000, P=252"},
        {{0xE1, 0x2E, 0}, "1500.125", "0", "RPM=1500.125000, P=0"},
        {{0xFF, 0xFF, 255}, "8191.875", "1020", "RPM=8191.875000, P=1020"},
        {{0x03, 0x00, 1}, "0.375", "4", "RPM=0.375000, P=4"},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        SetBody(device.Answer(), c.body);
        device.ShowAnswer();
        const auto& frame = device.Frame<TEngineDataFrame>();
        EXPECT_EQ(frame.RpmEdit->Text(), c.rpm);
        EXPECT_EQ(frame.OilPressureEdit->Text(), c.pressure);
        EXPECT_EQ(device.grid.Cell(3), c.rpm);
        EXPECT_EQ(device.grid.Cell(4), c.pressure);
        EXPECT_EQ(device.grid.Cell(5), "-");
        EXPECT_EQ(device.grid.Cell(6), "-");
        EXPECT_EQ(DescribeEngineDataAnswer(device.Answer().data()), c.info);
    }
}

TEST_F(EngineDataFrame, GridCellsSetSpeedAndPressure)
{
    struct Case { int column; const char* text; Body after; };
    const Case cases[] = {
        {3, "1500.06", {0xE0, 0x2E, 0x55}},
        {3, "abc", {0x00, 0x00, 0x55}},     // no number: 0, as in the frame
        {4, "250", {0x55, 0x55, 63}},
        {4, "x", {0x55, 0x55, 0}},
        {4, "250.5", {0x55, 0x55, 0}},      // an integer field
        {5, "1", {0x55, 0x55, 0x55}},       // other columns change nothing
        {6, "1", {0x55, 0x55, 0x55}},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        SetBody(device.Answer(), {0x55, 0x55, 0x55});
        device.info->GridToAnswer(c.text, c.column);
        EXPECT_EQ(BodyOf(device.Answer(), 3), c.after) << c.column << " '" << c.text << "'";
    }
}

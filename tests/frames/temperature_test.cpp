// The temperature sensor on its catalogue row: one byte, T + 40 held to 0..255.
#include "frames/Temperature.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int Row = 80;

class TemperatureFrame : public ::testing::Test {
protected:
    void SetUp() override { BindAfterStart(RegisterTemperatureFrames); }
};
}

TEST_F(TemperatureFrame, RowMakesTheFrameWithItsControls)
{
    FrameDevice device(Row);
    auto& frame = device.Frame<TTemperatureFrame>();
    EXPECT_STREQ(frame.ClassName(), "TTemperatureFrame");
    EXPECT_EQ(DeviceCatalogue[Row].DescribeAnswer, DescribeTemperatureAnswer);
    EXPECT_EQ(DeviceCatalogue[Row].DescribeRequest, nullptr);
    ExpectAnswerOnly(*device.info, frame);
    EXPECT_EQ(ControlNames(frame.InPanel), (std::vector<QString>{"FLabel", "TempEdit", "FUpDown"}));
    EXPECT_EQ(frame.FLabel->Caption(), "T:");
    ExpectStepper(frame.TempEdit, frame.FUpDown, 1, -128, 127, true);
}

TEST_F(TemperatureFrame, EncodingHoldsTheByteRange)
{
    const std::pair<std::int64_t, int> cases[] = {
        {-41, 0}, {-40, 0}, {-39, 1}, {0, 40}, {25, 65}, {215, 255}, {216, 255},
        {-2147483648LL, 0}, {2147483647LL, 255},
    };
    for (const auto& [celsius, byte] : cases)
        EXPECT_EQ(TemperatureByte(celsius), byte) << celsius;
}

TEST_F(TemperatureFrame, TypedTemperatureIsSentAndShownBack)
{
    struct Case { const char* typed; std::uint8_t sent; const char* shown; };
    const Case cases[] = {
        {"-50", 0, "-40"},
        {"300", 255, "215"},
        {"", 40, "0"},          // no number: 0 °C is sent
        {"abc", 40, "0"},
        {"12.5", 40, "0"},      // an integer field
        {"25", 65, "25"},
        {" -40", 0, "-40"},
        {"215", 255, "215"},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        auto& frame = device.Frame<TTemperatureFrame>();
        device.Answer()[1] = 0x77;
        frame.TempEdit->SetText(c.typed);
        device.BuildAnswer();
        EXPECT_EQ(device.Answer()[1], c.sent) << c.typed;
        EXPECT_EQ(device.grid.Cell(3), c.shown) << c.typed;
        device.ShowAnswer();
        EXPECT_EQ(frame.TempEdit->Text(), c.shown) << c.typed;
    }
}

TEST_F(TemperatureFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Case { std::uint8_t byte; const char* text; const char* info; };
    const Case cases[] = {{0, "-40", "T=-40"}, {40, "0", "T=0"}, {65, "25", "T=25"}, {255, "215", "T=215"}};
    for (const Case& c : cases) {
        FrameDevice device(Row);
        device.Answer()[1] = c.byte;
        device.ShowAnswer();
        EXPECT_EQ(device.Frame<TTemperatureFrame>().TempEdit->Text(), c.text);
        EXPECT_EQ(device.grid.Cell(3), c.text);
        for (int column = 4; column <= 6; ++column)
            EXPECT_EQ(device.grid.Cell(column), "-") << column;
        EXPECT_EQ(DescribeTemperatureAnswer(device.Answer().data()), c.info);
    }
}

TEST_F(TemperatureFrame, GridCellSetsTheTemperature)
{
    struct Case { int column; const char* text; std::uint8_t after; };
    const Case cases[] = {
        {3, "25", 65},
        {3, "-100", 0},
        {3, "1000", 255},
        {3, "", 0x77},       // no number: unchanged
        {3, "12.5", 0x77},
        {3, "x", 0x77},
        {4, "25", 0x77},     // other columns change nothing
        {5, "25", 0x77},
        {6, "25", 0x77},
    };
    for (const Case& c : cases) {
        FrameDevice device(Row);
        device.Answer()[1] = 0x77;
        device.info->GridToAnswer(c.text, c.column);
        EXPECT_EQ(device.Answer()[1], c.after) << c.column << " '" << c.text << "'";
        EXPECT_EQ(device.Answer()[2], 0);
    }
}

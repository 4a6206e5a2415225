// The temperature sensor: one byte, T + 40 held to 0..255.
#include "frames/Temperature.h"
#include "AnswerFrameChecks.h"

namespace {
struct Device : FrameDevice {
    Device() : FrameDevice((BindAfterStart(RegisterTemperatureFrames), 80)) {}
};
}

TEST(TemperatureFrame, TypedTemperatureIsHeldToTheByteAndShownBack)
{
    struct Case { const char* typed; std::uint8_t sent; const char* shown; };
    const Case cases[] = {
        {"-50", 0, "-40"}, {"300", 255, "215"}, {"abc", 40, "0"}, {"12.5", 40, "0"}, {" -40", 0, "-40"},
    };
    for (const Case& c : cases) {
        Device device;
        auto& frame = device.Frame<TTemperatureFrame>();
        device.Answer()[1] = 0x77;
        frame.TempEdit->SetText(c.typed);
        device.BuildAnswer();
        EXPECT_EQ(device.Answer()[1], c.sent) << c.typed;
        device.ShowAnswer();
        EXPECT_EQ(frame.TempEdit->Text(), c.shown) << c.typed;
    }
    EXPECT_EQ(TemperatureByte(-2147483648LL), 0);
    EXPECT_EQ(TemperatureByte(2147483647LL), 255);
}

TEST(TemperatureFrame, AnswerShownInGridAndInfoLineAndSetFromItsCell)
{
    Device device;
    EXPECT_EQ(ShowBody(device, {65}), (std::vector<QString>{"25", "-", "-", "-", "T=25"}));
    EXPECT_EQ(ShowBody(device, {0}), (std::vector<QString>{"-40", "-", "-", "-", "T=-40"}));
    EXPECT_EQ(AfterCell(device, {0x77, 0}, 3, "-100"), (Body{0, 0}));
    EXPECT_EQ(AfterCell(device, {0x77, 0}, 3, "1000"), (Body{255, 0}));
    EXPECT_EQ(AfterCell(device, {0x77, 0}, 3, "12.5"), (Body{0x77, 0}));
    EXPECT_EQ(AfterCell(device, {0x77, 0}, 4, "25"), (Body{0x77, 0}));
}

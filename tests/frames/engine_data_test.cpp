// The engine data: engine speed in eighths and oil pressure in steps of 4 kPa; texts that are
// no number send 0.
#include "frames/EngineData.h"
#include "AnswerFrameChecks.h"

#include "platform/Numbers.h"

namespace {
struct Device : FrameDevice {
    Device() : FrameDevice((BindAfterStart(RegisterEngineDataFrames), 81)) {}
    TEngineDataFrame& frame = Frame<TEngineDataFrame>();
};
}

TEST(EngineDataFrame, GeneralFormOfValuesFollowsTheSeparator)
{
    const std::pair<long double, const char*> cases[] = {
        {1500, "1500"}, {1500.125L, "1500.125"}, {-2.5L, "-2.5"}, {0.1L, "0.1"},
        {123456789012345.0L, "123456789012345"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FloatToStr(value), text);
    SetDecimalSeparator(u',');
    const QString comma = FloatToStr(1500.125L);
    SetDecimalSeparator(u'.');
    EXPECT_EQ(comma, "1500,125");
}

TEST(EngineDataFrame, FrameBuildsTheAnswerAndShowsItBackInSteps)
{
    struct Case { const char* rpm; const char* pressure; Body after; const char* rpmShown; const char* pShown; };
    const Case cases[] = {
        {"1500.06", "250", {0xE0, 0x2E, 63}, "1500", "252"},   // 12000.48 truncated; (250 + 2) / 4
        {"1500.2", "249", {0xE1, 0x2E, 62}, "1500.125", "248"},
        {"abc", "", {0, 0, 0}, "0", "0"},                      // no number: 0, not the old value
        {"8192", "1022", {0x00, 0x00, 0}, "0", "0"},           // 65536 and 256 keep their low bits
        {"-1.5", "-10", {0xF4, 0xFF, 0xFE}, "8190.5", "1016"}, // -12; (-10 + 2) / 4 = -2, toward zero
        {"1e30", "1", {0x00, 0x00, 0}, "0", "0"},              // beyond any field: 0
    };
    for (const Case& c : cases) {
        Device device;
        SetBody(device.Answer(), {0x55, 0x55, 0x55, 0});
        device.frame.RpmEdit->SetText(c.rpm);
        device.frame.OilPressureEdit->SetText(c.pressure);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 4), (Body{c.after[0], c.after[1], c.after[2], 0})) << c.rpm;
        device.ShowAnswer();
        EXPECT_EQ(device.frame.RpmEdit->Text(), c.rpmShown) << c.rpm;
        EXPECT_EQ(device.frame.OilPressureEdit->Text(), c.pShown) << c.pressure;
    }
}

TEST(EngineDataFrame, AnswerShownInGridAndInfoLineAndSetFromCells)
{
    Device device;
    EXPECT_EQ(ShowBody(device, {0xFF, 0xFF, 255}),
              (std::vector<QString>{"8191.875", "1020", "-", "-", "RPM=8191.875000, P=1020"}));
    EXPECT_EQ(ShowBody(device, {0x03, 0x00, 1}), (std::vector<QString>{"0.375", "4", "-", "-", "RPM=0.375000, P=4"}));
    const Body before = {0x55, 0x55, 0x55};
    EXPECT_EQ(AfterCell(device, before, 3, "1500.06"), (Body{0xE0, 0x2E, 0x55}));
    EXPECT_EQ(AfterCell(device, before, 3, "abc"), (Body{0x00, 0x00, 0x55}));   // no number: 0, as in the frame
    EXPECT_EQ(AfterCell(device, before, 4, "250"), (Body{0x55, 0x55, 63}));
    EXPECT_EQ(AfterCell(device, before, 4, "250.5"), (Body{0x55, 0x55, 0}));    // an integer field
    EXPECT_EQ(AfterCell(device, before, 5, "1"), before);
}

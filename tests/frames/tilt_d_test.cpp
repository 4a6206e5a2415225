// The fifth tilt sensor: an unsigned angle in hundredths of a degree and a two-bit input code.
#include "frames/TiltD.h"
#include "AnswerFrameChecks.h"

namespace {
struct Device : FrameDevice {
    Device() : FrameDevice((BindAfterStart(RegisterTiltDFrames), 83)) {}
    TTiltDFrame& frame = Frame<TTiltDFrame>();
};
}

TEST(TiltDFrame, FrameBuildsTheAnswerAndShowsItBack)
{
    struct Case { const char* angle; int item; Body after; const char* shown; };
    const Case cases[] = {
        {"655.35", 0, {0xFF, 0xFF, 0x00}, "655.35"},
        {"655.36", 1, {0x00, 0x00, 0x40}, "0.00"},     // 65536 keeps its low 16 bits
        {"12.345", 3, {0xD3, 0x04, 0xC0}, "12.35"},    // + 0.5, truncated
        {"abc", 2, {0x00, 0x00, 0x80}, "0.00"},        // no number: angle 0, input still taken
        {"1", -1, {0x64, 0x00, 0xC0}, "1.00"},         // no selection: code 3
        {"-1", 0, {0x9D, 0xFF, 0x00}, "654.37"},       // trunc(-99.5) = -99 -> 65437
        {"1e30", 0, {0x00, 0x00, 0x00}, "0.00"},       // beyond any field: 0
    };
    for (const Case& c : cases) {
        Device device;
        SetBody(device.Answer(), {0x55, 0x55, 0x3F});   // bits 0-5 of byte 3 are not kept
        device.frame.ANGEdit->SetText(c.angle);
        device.frame.IN1ComboBox->SetItemIndex(c.item);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 4), (Body{c.after[0], c.after[1], c.after[2], 0})) << c.angle;
        device.ShowAnswer();
        EXPECT_EQ(device.frame.ANGEdit->Text(), c.shown);
        EXPECT_EQ(device.frame.IN1ComboBox->ItemIndex(), c.item < 0 ? 3 : c.item);
    }
}

TEST(TiltDFrame, AnswerShownInGridAndInfoLine)
{
    Device device;
    EXPECT_EQ(ShowBody(device, {0xD2, 0x04, 0x40}), (std::vector<QString>{"12.34", "-", "1", "-", "ANG=12.34, IN1=1"}));
    EXPECT_EQ(ShowBody(device, {0xFF, 0xFF, 0xFF}), (std::vector<QString>{"655.35", "-", "3", "-", "ANG=655.35, IN1=3"}));
    EXPECT_EQ(device.frame.IN1ComboBox->ItemIndex(), 3) << "every code has an item";
    EXPECT_EQ(ShowBody(device, {0x00, 0x00, 0x3F}), (std::vector<QString>{"0.00", "-", "0", "-", "ANG=0.00, IN1=0"}));
}

TEST(TiltDFrame, GridCellsSetAngleAndCode)
{
    struct Case { int column; const char* text; Body after; };
    const Case cases[] = {
        {3, "-1", {0x9C, 0xFF, 0x55}},      // half away from zero: -100 -> 65436
        {3, "0.005", {0x01, 0x00, 0x55}},
        {3, "655.36", {0x00, 0x00, 0x55}},
        {3, "abc", {0x11, 0x22, 0x55}},     // no number: unchanged
        {5, "6", {0x11, 0x22, 0x95}},       // bits 6-7 only, from the low two bits
        {5, "-1", {0x11, 0x22, 0xD5}},
        {5, "1.5", {0x11, 0x22, 0x55}},     // a plain integer only
        {4, "1", {0x11, 0x22, 0x55}},       // other columns change nothing
    };
    Device device;
    for (const Case& c : cases)
        EXPECT_EQ(AfterCell(device, {0x11, 0x22, 0x55}, c.column, c.text), c.after) << c.column << " " << c.text;
}

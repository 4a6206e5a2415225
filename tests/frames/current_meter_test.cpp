// The current meter on its catalogue row: seven status bits, the 9-bit voltage and two currents
// between body, frame, grid and info line.
#include "frames/CurrentMeter.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int Row = 61;

struct Device : FrameDevice {
    Device() : FrameDevice((BindAfterStart(RegisterCurrentMeterFrames), Row)) {}
    TCurrentMeterFrame& f() { return Frame<TCurrentMeterFrame>(); }
    std::vector<TCheckBox*> Boxes() { return f().StatusBoxes(); }   // Bit2Box first
    std::vector<TEdit*> Edits() { return {f().VoltageEdit, f().I1Edit, f().I2Edit}; }
};
// The status byte's bits 1 to 7 as the boxes show them.
std::vector<bool> StatusBits(std::uint8_t status)
{
    std::vector<bool> bits;
    for (int k = 1; k < 8; ++k)
        bits.push_back((status >> k) & 1);
    return bits;
}
}

TEST(CurrentMeterFrame, FrameBuildsTheAnswer)
{
    struct Case { std::uint8_t boxes; std::vector<QString> edits; Body body; };
    const Case cases[] = {
        {0x00, {"600", "0", "0"}, {0x01, 88, 0, 0}},          // bit 8 set, low 8 bits of 600
        {0x80, {"300", "0", "0"}, {0x81, 44, 0, 0}},          // "Ready"
        {0xFE, {"511", "255", "255"}, {0xFF, 255, 255, 255}},
        {0x00, {"x", "300", ""}, {0x00, 0, 44, 0}},           // no number: 0; 300 keeps its low bits
    };
    for (const Case& c : cases) {
        Device device;
        SetBoxStates(device.Boxes(), StatusBits(c.boxes));
        SetEditTexts(device.Edits(), c.edits);
        EXPECT_EQ(BuildOver(device, Body(4, 0x55)), c.body) << c.edits[0].toStdString();
    }
}

TEST(CurrentMeterFrame, AnswerShownInFrameGridAndInfoLineAndNotTypedInTheGrid)
{
    struct Case { Body body; std::vector<QString> shown; };
    const Case cases[] = {
        {{0x00, 0, 0, 0}, {"", "0", "0", "0", "Bits=, U=0, I1=0, I2=0"}},
        {{0x81, 0x2C, 5, 6}, {"1000000", "300", "5", "6", "Bits=1000000, U=300, I1=5, I2=6"}},
        {{0x03, 0xFF, 255, 0}, {"1", "511", "255", "0", "Bits=1, U=511, I1=255, I2=0"}},   // 9-bit voltage
        {{0xFE, 0, 0, 0}, {"1111111", "0", "0", "0", "Bits=1111111, U=0, I1=0, I2=0"}},
    };
    for (const Case& c : cases) {
        Device device;
        EXPECT_EQ(ShowBody(device, c.body), c.shown);
        EXPECT_EQ(BoxStates(device.Boxes()), StatusBits(c.body[0]));
        EXPECT_EQ(EditTexts(device.Edits()), std::vector<QString>(c.shown.begin() + 1, c.shown.begin() + 4));
    }

    const Body body{0x81, 0x2C, 5, 6};
    for (int column = 2; column <= 6; ++column)
        for (const char* text : {"1", "101", "", "abc"}) {
            Device device;
            EXPECT_EQ(AfterCell(device, body, column, text), body) << column << " " << text;
        }
}

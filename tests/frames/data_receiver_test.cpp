// The data receiver: the 12-bit force and the four flags of the remote unit.
#include "frames/DataReceiver.h"
#include "AnswerFrameChecks.h"

namespace {
struct Device : FrameDevice {
    Device() : FrameDevice((BindAfterStart(RegisterDataReceiverFrames), 76)) {}
    TDataReceiverFrame& frame = Frame<TDataReceiverFrame>();
    TCheckBox* boxes[4] = {frame.blockCheckBox, frame.hornCheckBox, frame.noreplyCheckBox, frame.batteryLowCheckBox};
    QString Boxes() const
    {
        QString s;
        for (const TCheckBox* box : boxes)
            s += box->Checked() ? '1' : '0';
        return s;
    }
};
}

TEST(DataReceiverFrame, AnswerShownInFrameGridAndInfoLine)
{
    Device device;
    EXPECT_EQ(ShowBody(device, {0x34, 0x92}),
              (std::vector<QString>{"564", "-", "1001", "-", "F=564, Block=1, Horn=0, Noreply=0, BatLow=1"}));
    EXPECT_EQ(device.Boxes(), "1001");
    EXPECT_EQ(ShowBody(device, {0x88, 0x23}),
              (std::vector<QString>{"904", "-", "0010", "-", "F=904, Block=0, Horn=0, Noreply=1, BatLow=0"}));
    EXPECT_EQ(device.Boxes(), "0010");
}

TEST(DataReceiverFrame, FrameBuildsTheAnswerWord)
{
    struct Case { const char* force; const char* flags; Body before; Body after; const char* shown; };
    const Case cases[] = {
        {"5000", "0000", {0, 0}, {0x88, 0x03}, "904"},               // 5000 & 0xFFF
        {"-1", "0000", {0, 0xF0}, {0xFF, 0x0F}, "4095"},             // low 12 bits, old flags gone
        {"abc", "1000", {0x34, 0xF2}, {0x34, 0x82}, "564"},          // force kept, flags rebuilt
        {"7", "0011", {0xAA, 0xFF}, {0x07, 0x30}, "7"},
    };
    for (const Case& c : cases) {
        Device device;
        SetBody(device.Answer(), c.before);
        device.frame.FEdit->SetText(c.force);
        for (int i = 0; i < 4; ++i)
            device.boxes[i]->SetChecked(c.flags[i] == '1');
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 3), (Body{c.after[0], c.after[1], 0})) << c.force;
        device.ShowAnswer();
        EXPECT_EQ(device.frame.FEdit->Text(), c.shown);
    }
}

TEST(DataReceiverFrame, GridCellsSetForceAndFlags)
{
    struct Case { int column; const char* text; Body before; Body after; };
    const Case cases[] = {
        {3, "5000", {0x00, 0xF0}, {0x88, 0xF3}},   // masked to 12 bits, flags stay
        {3, "12.5", {0x00, 0xA0}, {0x0D, 0xA0}},   // half away from zero
        {3, "-1", {0x00, 0x50}, {0xFF, 0x5F}},
        {3, "abc", {0x34, 0x92}, {0x34, 0x92}},
        {5, "3010", {0x34, 0x02}, {0x34, 0xA2}},   // any digit 1-3 sets its flag
        {5, "1410", {0x34, 0xF2}, {0x34, 0x22}},   // the reading stops at the 4
        {5, "1", {0x34, 0xF2}, {0x34, 0x12}},      // digit 0 is BatLow; missing digits clear
        {6, "1111", {0x34, 0x92}, {0x34, 0x92}},   // unused columns change nothing
    };
    Device device;
    for (const Case& c : cases)
        EXPECT_EQ(AfterCell(device, c.before, c.column, c.text), c.after) << c.column << " " << c.text;
}

// The single-value sensor frames on their catalogue rows: the word moved between body, frame and
// grid through the device's slots.
#include "frames/SingleValue.h"
#include "FrameRig.h"

namespace {
struct Device : FrameDevice {
    explicit Device(int row, std::uint8_t low = 0, std::uint8_t high = 0) : FrameDevice(row) { SetBody(Answer(), {low, high}); }
    TSingleValueFrame& f() { return Frame<TSingleValueFrame>(); }
    // Both input combos; -1 stands for one the model does not have.
    std::vector<int> Items()
    {
        std::vector<int> items;
        for (const TComboBox* combo : f().InputCombos)
            items.push_back(combo ? combo->ItemIndex() : -1);
        return items;
    }
    void Choose(const std::vector<int>& items)
    {
        for (std::size_t i = 0; i < 2; ++i)
            if (f().InputCombos[i])
                f().InputCombos[i]->SetItemIndex(items[i]);
    }
};
}

TEST(SingleValueFrames, SlotsMoveTheWordBetweenBodyFrameAndGrid)
{
    // The word shown as the edit and column 3, the combos and column 5; then the user types and
    // chooses, and the word is built.
    struct Case { int row; std::uint8_t low, high; QString value; std::vector<int> items; QString inputs; const char* typed; std::vector<int> chosen; Body built; };
    const Case cases[] = {
        {27, 0x00, 0x81, "1.00", {1, -1}, "1", "12.34", {0, -1}, {0x57, 0x0C}},
        {7, 0x00, 0x28, "250.00", {-1, -1}, "-", "1600", {-1, -1}, {0x00, 0x00}},   // 65536 cut to 16 bits
        {22, 0x0A, 0x40, "10", {1, -1}, "1", "abc", {2, -1}, {0x0A, 0x80}},         // value kept, input rebuilt
        {15, 0x05, 0x60, "5", {1, 2}, "21", "6", {2, 1}, {0x06, 0x90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row) + " typed " + c.typed);
        Device device(c.row, c.low, c.high);
        device.ShowAnswer();
        EXPECT_EQ(device.f().ValueEdit->Text(), c.value);
        EXPECT_EQ(device.Items(), c.items);
        EXPECT_EQ(device.Cells(), (std::vector<QString>{c.value, "-", c.inputs, "-"}));

        device.f().ValueEdit->SetText(c.typed);
        EXPECT_GT(device.changes, 0) << "the edit is bound to the change handler";
        device.Choose(c.chosen);
        EXPECT_EQ(BuildOver(device, {c.low, c.high}), c.built);
        EXPECT_EQ(device.Answer()[0], 0) << "the address byte belongs to the line engine";
    }
}

TEST(SingleValueFrames, GridEditsAndEmptyControlsReachTheWord)
{
    Device tilt(27, 0x00, 0x80);
    tilt.info->GridToAnswer("-1", 3);
    tilt.ShowAnswer();
    EXPECT_EQ(BodyOf(tilt.Answer(), 2), (Body{0x00, 0xFF}));
    EXPECT_EQ(tilt.grid.Cell(3), "127.00");
    tilt.info->GridToAnswer("", 5);   // an empty digit column clears the input
    tilt.info->GridToAnswer("9", 4);  // an unused column changes nothing
    EXPECT_EQ(BodyOf(tilt.Answer(), 2), (Body{0x00, 0x7F}));

    Device prox(15);
    prox.info->GridToAnswer("21", 5);
    EXPECT_EQ(ShowBody(prox, BodyOf(prox.Answer(), 2)), (std::vector<QString>{"0", "-", "21", "-", "E=0, IN3-2=21"}));
    EXPECT_EQ(prox.Frame<TLineProximityAFrame>().IN3ComboBox->Text(), "Масса");

    // Before the first display: an empty edit keeps the value bits, a two-item combo without
    // selection sets its bit, a three-item one adds nothing.
    Device fresh(27);
    EXPECT_EQ(BuildOver(fresh, {0x34, 0x12}), (Body{0x34, 0x92}));
    Device pressure(33);
    EXPECT_EQ(BuildOver(pressure, {0x00, 0xE8}), (Body{0x00, 0x28}));
}

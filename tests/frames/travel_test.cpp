// The four travel sensor frames of their own (first, second, fourth and fifth): the count L and
// its input moved between body, frame, grid and info line through the device's slots.
#include "frames/TravelA.h"
#include "frames/TravelB.h"
#include "frames/TravelD.h"
#include "frames/TravelE.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int A = 32, B = 35, D = 68, E = 72;   // a catalogue row of each

void Register()
{
    RegisterTravelAFrames();
    RegisterTravelBFrames();
    RegisterTravelDFrames();
    RegisterTravelEFrames();
}

struct Device : FrameDevice {
    explicit Device(int row, bool twelveBit = false) : FrameDevice((BindAfterStart(Register), row))
    {
        if (auto* box = info->Frame->findChild<TCheckBox*>("checkBox12Bit"))
            box->SetChecked(twelveBit);
    }
    template <class C> C* Control(const char* name) { return info->Frame->findChild<C*>(name); }
    // LEdit, then T1Edit where there is one.
    std::vector<TEdit*> Edits()
    {
        std::vector<TEdit*> edits{Control<TEdit>("LEdit")};
        if (auto* t = Control<TEdit>("T1Edit"))
            edits.push_back(t);
        return edits;
    }
};
}

TEST(TravelFrames, AnswerShownInFrameGridAndInfoLine)
{
    struct Case { int row; Body body; std::vector<QString> edits; int item; std::vector<QString> shown; };
    const Case cases[] = {
        {A, {5, 0, 0x80 | 0x40 | 1}, {"-5", "24"}, 1, {"-5", "24", "1", "-", "L=-5, T=24, IN1=1"}},
        {A, {0xFF, 0xFF, 0x7C | 3}, {"65535", "84"}, -1, {"65535", "84", "3", "-", "L=65535, T=84, IN1=3"}},
        {B, {0, 0, 4 | 2}, {"65536"}, 2, {"65536", "-", "2", "-", "L=65536, IN1=2"}},
        {B, {0xFF, 0xFF, 0xFF}, {"4194303"}, -1, {"4194303", "-", "3", "-", "L=4194303, IN1=3"}},
        {D, {0x88, 0x43}, {"904"}, 1, {"904", "-", "1", "-", "L=904 IN=1"}},
        {E, {0xFF, 0xFF}, {"32767"}, 1, {"32767", "-", "1", "-", "L=32767 IN=1"}},
    };
    for (const Case& c : cases) {
        Device device(c.row);
        EXPECT_EQ(ShowBody(device, c.body), c.shown);
        EXPECT_EQ(EditTexts(device.Edits()), c.edits) << c.shown[4].toStdString();
        EXPECT_EQ(device.Control<TComboBox>("IN1ComboBox")->ItemIndex(), c.item) << c.shown[4].toStdString();
    }
}

TEST(TravelFrames, FrameBuildsCountTemperatureAndInput)
{
    struct Case { int row; std::vector<QString> edits; int item; Body body; bool twelveBit = false; };
    const Case cases[] = {
        {A, {"-5", "25"}, 2, {5, 0, 0x80 | 64 | 2}},           // sign and magnitude; 25 °C is stored as 64
        {A, {"70000", "26"}, -1, {0x70, 0x11, 68}},            // 16 bits of 70000; 26 °C as 68
        {A, {"2.5", "-41"}, 0, {3, 0, 0}},                     // rounded half away; -41 °C as 0
        {A, {"-2.5", "-43"}, 1, {3, 0, 0x80 | 0x7C | 1}},      // -43 + 42 = -1, AND 0x7C
        {A, {"x", "0"}, 1, {0xEE, 0xEE, 0x80 | 40 | 1}},       // L kept with its sign
        {A, {"1e30", ""}, 2, {0xEE, 0xEE, 0xEC | 2}},          // nothing fits 64 bits: L kept; T only clears bits 0-1
        {B, {"4194304"}, -1, {0, 0, 0}},                       // wraps to 0
        {B, {"x"}, 1, {0xEE, 0xEE, 0xEC | 1}},                 // count kept, input rebuilt
        {B, {"2.5"}, 0, {0xEE, 0xEE, 0xEC}},                   // an integer edit refuses 2.5
        {69, {"5000"}, 0, {0x88, 0x03}, true},                 // 5000 AND 0x0FFF = 904
        {69, {"16384"}, 2, {0x00, 0x80}},                      // 14 bits of the count
        {69, {"100"}, -1, {0x64, 0xC0}},                       // no selection sends "Метка"
        {69, {"x"}, 1, {0xEE, 0xEE}},                          // the state does not get through either
        {75, {"x"}, 1, {0xEE, 0xEE}},                          // the mark does not get through either
    };
    for (const Case& c : cases) {
        Device device(c.row, c.twelveBit);
        SetEditTexts(device.Edits(), c.edits);
        device.Control<TComboBox>("IN1ComboBox")->SetItemIndex(c.item);
        EXPECT_EQ(BuildOver(device, Body(c.body.size(), 0xEE)), c.body) << c.row << " " << c.edits[0].toStdString();
        EXPECT_EQ(device.Answer()[0], 0) << "the address byte belongs to the line engine";
    }

    // The temperature comes back in the field's steps, wrapping round beyond it.
    for (const auto& [typed, shown] : {std::pair<QString, QString>{"26", "28"}, {"-43", "84"}, {"86", "-40"}}) {
        Device device(A);
        SetEditTexts(device.Edits(), {"0", typed});
        device.BuildAnswer();
        device.ShowAnswer();
        EXPECT_EQ(EditTexts(device.Edits())[1], shown) << typed.toStdString();
    }
}

TEST(TravelFrames, GridCellsReachTheBody)
{
    struct Case { int row; Body before; int column; const char* text; Body after; bool twelveBit = false; };
    const Case cases[] = {
        // The first: L sign and magnitude, T cut toward zero, one input digit.
        {A, {0x11, 0x22, 0xEE}, 3, "7.5", {8, 0, 0x6E}},
        {A, {0x11, 0x22, 0x6E}, 4, "25.9", {0x11, 0x22, 0x02 | 64}},   // trunc(67.9) = 67 -> 64
        {A, {0x11, 0x22, 0x6E}, 4, "-42.5", {0x11, 0x22, 0x02}},       // trunc(-0.5) = 0
        {A, {0x11, 0x22, 0x6F}, 5, "3", {0x11, 0x22, 0x6C}},           // no radix-3 digit
        // The second: the 22-bit count keeps the input bits.
        {B, {0x11, 0x22, 0x33}, 3, "65535.5", {0, 0, 0x07}},
        // The fourth: count under the state, state as a plain number.
        {D, {0x11, 0xA2}, 3, "5000", {0x88, 0x83}, true},
        {D, {0x11, 0xA2}, 3, "5000", {0x88, 0x93}},
        {D, {0x11, 0xA2}, 5, "5", {0x11, 0x62}},                       // the low two bits
        {D, {0x11, 0xA2}, 5, "2.0", {0x11, 0xA2}},                     // not an integer
        // The fifth: count under the mark.
        {E, {0x11, 0xA2}, 3, "40000", {0x40, 0x9C}},
        {E, {0x11, 0xA2}, 5, "2", {0x11, 0x22}},
    };
    for (const Case& c : cases) {
        Device device(c.row, c.twelveBit);
        EXPECT_EQ(AfterCell(device, c.before, c.column, c.text), c.after) << c.row << " column " << c.column << " " << c.text;
    }
}

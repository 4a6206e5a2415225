// The second joystick on its four catalogue rows: two axes with directions, three buttons, the
// mode flag and the axis errors between body, frame, grid and info line.
#include "frames/JoystickB.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int Row = 54;

// The frame's view of an answer: deflections with their direction letters, then the six flags
// as buttons 1-3, DM, ErrAC, ErrBD.
struct View {
    QString ac; char acTowards; QString bd; char bdTowards;
    std::vector<bool> flags;
    bool operator==(const View&) const = default;
};
const std::vector<bool> NoFlags(6, false);

struct Device : FrameDevice {
    Device() : FrameDevice((BindAfterStart(RegisterJoystickBFrames), Row)) {}
    TJoystickBFrame& f() { return Frame<TJoystickBFrame>(); }
    std::vector<TCheckBox*> Flags()
    {
        return {f().But1CheckBox, f().But2CheckBox, f().But3CheckBox, f().DMCheckBox, f().ErrACCheckBox, f().ErrBDCheckBox};
    }
    View Shown()
    {
        return {f().ACEdit->Text(), f().ARadioButton->Checked() ? 'A' : (f().CRadioButton->Checked() ? 'C' : '?'),
                f().BDEdit->Text(), f().BRadioButton->Checked() ? 'B' : (f().DRadioButton->Checked() ? 'D' : '?'), BoxStates(Flags())};
    }
    void Set(const View& v)
    {
        SetEditTexts({f().ACEdit, f().BDEdit}, {v.ac, v.bd});
        (v.acTowards == 'A' ? f().ARadioButton : f().CRadioButton)->SetChecked(true);
        (v.bdTowards == 'B' ? f().BRadioButton : f().DRadioButton)->SetChecked(true);
        SetBoxStates(Flags(), v.flags);
    }
};
}

TEST(JoystickBFrame, DirectionsOnNestedPanelsTakeEffectWithTheNextAnswer)
{
    Device device;
    device.f().ARadioButton->SetChecked(true);
    EXPECT_EQ(device.changes, 0) << "the radio buttons lie on nested panels and get no handler";
    device.f().DMCheckBox->SetChecked(true);
    EXPECT_EQ(device.changes, 1);
    SetEditTexts({device.f().ACEdit, device.f().BDEdit}, {"5", "5"});
    EXPECT_EQ(BuildOver(device, {0x05, 0x05, 0x00}), (Body{0x85, 0x05, 0x20}));
}

TEST(JoystickBFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Case { Body body; View view; std::vector<QString> shown; };
    const Case cases[] = {
        {{0x85, 0x05, 0x00}, {"5", 'A', "5", 'D', NoFlags}, {"5", "5", "0 000", "00", "AC=5 (A), BD=5 (D), DM=0 But3-1=000, ErrAC=0, ErrBD=0"}},
        {{0x7F, 0xFF, 0xFF}, {"127", 'C', "127", 'B', std::vector<bool>(6, true)},
         {"127", "127", "1 111", "11", "AC=127 (C), BD=127 (B), DM=1 But3-1=111, ErrAC=1, ErrBD=1"}},
        {{0x00, 0x80, 0x41}, {"0", 'C', "0", 'B', {true, false, false, false, false, true}},
         {"0", "0", "0 001", "01", "AC=0 (C), BD=0 (B), DM=0 But3-1=001, ErrAC=0, ErrBD=1"}},
        // Bits 3 and 4 are not used: nothing shows them.
        {{0x00, 0x00, 0x18}, {"0", 'C', "0", 'D', NoFlags}, {"0", "0", "0 000", "00", "AC=0 (C), BD=0 (D), DM=0 But3-1=000, ErrAC=0, ErrBD=0"}},
    };
    for (const Case& c : cases) {
        Device device;
        EXPECT_EQ(ShowBody(device, c.body), c.shown);
        EXPECT_EQ(device.Shown(), c.view) << c.shown[4].toStdString();
    }
}

TEST(JoystickBFrame, FrameBuildsTheAnswer)
{
    struct Case { Body before; View view; Body body; };
    const Case cases[] = {
        {{0, 0, 0}, {"200", 'C', "127", 'B', NoFlags}, {72, 0xFF, 0x00}},    // 200 & 127 = 72
        // A text that does not convert keeps the 7 value bits; the direction comes from the radio.
        {{0xFF, 0x85, 0}, {"x", 'C', "", 'B', NoFlags}, {0x7F, 0x85, 0x00}},
        // Byte 3 is written whole: the unused bits 3 and 4 are cleared.
        {{0, 0, 0x18}, {"0", 'C', "0", 'D', std::vector<bool>(6, true)}, {0x00, 0x00, 0xE7}},
        {{0, 0, 0xFF}, {"0", 'C', "0", 'D', {true, false, true, false, false, true}}, {0x00, 0x00, 0x45}},
    };
    for (const Case& c : cases) {
        Device device;
        device.Set(c.view);
        EXPECT_EQ(BuildOver(device, c.before), c.body) << c.view.ac.toStdString() << "/" << c.view.bd.toStdString();
    }
}

TEST(JoystickBFrame, GridCellsEditTheirBitsOnly)
{
    struct Case { Body before; int column; const char* text; Body body; };
    const Case cases[] = {
        {{0x85, 0x05, 0}, 3, "7.5", {0x88, 0x05, 0}},   // half away from zero, the direction stays
        {{0x85, 0x05, 0}, 3, "abc", {0x85, 0x05, 0}},   // no conversion: unchanged
        {{0x85, 0x85, 0}, 4, "3", {0x85, 0x83, 0}},
        // DM and button 1 set, buttons 2 and 3 cleared; bits 3 and 4 stay, so do the errors.
        {{0, 0, 0xDE}, 5, "1 001", {0, 0, 0xF9}},
        {{0, 0, 0x3F}, 5, "", {0, 0, 0x18}},
        {{0, 0, 0x00}, 5, "1 1x1", {0, 0, 0x01}},      // digits are read from the right up to the first non-digit
        {{0, 0, 0x40}, 6, "10", {0, 0, 0x80}},         // ErrAC left, ErrBD right
        {{1, 2, 3}, 2, "1", {1, 2, 3}},                // columns the model does not use
    };
    for (const Case& c : cases) {
        Device device;
        EXPECT_EQ(AfterCell(device, c.before, c.column, c.text), c.body) << c.column << " '" << c.text << "'";
    }
}

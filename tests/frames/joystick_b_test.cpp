// The second joystick: two axes with directions, three buttons, the mode flag and the axis
// errors between body, frame, grid and info line.
#include "FrameRig.h"

namespace {
constexpr int Row = 54;
const char* const View = "ACEdit;ARadioButton;BDEdit;BRadioButton;But1CheckBox;But2CheckBox;But3CheckBox;DMCheckBox;"
                         "ErrACCheckBox;ErrBDCheckBox";
}

TEST(JoystickBFrame, DirectionsOnNestedPanelsTakeEffectWithTheNextAnswer)
{
    Rig rig(Row);
    rig.Set("ARadioButton=1");
    EXPECT_EQ(rig.changes, 0) << "the radio buttons lie on nested panels and get no handler";
    rig.Set("DMCheckBox=1");
    EXPECT_EQ(rig.changes, 1);
    rig.Set("ACEdit=5;BDEdit=5");
    rig.SetHex(Ans, "05 05 00");
    rig.Build(Ans);
    EXPECT_EQ(rig.Hex(Ans, ".. .. .."), "85 05 20");
}

TEST(JoystickBFrame, AnswerBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {Row, Ans, "85 05 00", View, "5;1;5;0;0;0;0;0;0;0", "5|5|0 000|00", "AC=5 (A), BD=5 (D), DM=0 But3-1=000, ErrAC=0, ErrBD=0"},
        {Row, Ans, "7F FF FF", View, "127;0;127;1;1;1;1;1;1;1", "127|127|1 111|11",
         "AC=127 (C), BD=127 (B), DM=1 But3-1=111, ErrAC=1, ErrBD=1"},
        // Bits 3 and 4 are not used: nothing shows them.
        {Row, Ans, "00 00 18", View, "0;0;0;0;0;0;0;0;0;0", "0|0|0 000|00", "AC=0 (C), BD=0 (D), DM=0 But3-1=000, ErrAC=0, ErrBD=0"},
    });
    CheckAll<Built>({
        // A text that does not convert keeps the 7 value bits; the direction comes from the radio.
        {Row, Ans, "FF 85 00", "ACEdit=x;CRadioButton=1;BDEdit=;BRadioButton=1", "7F 85 00"},
        // Byte 3 is written whole: the unused bits 3 and 4 are cleared.
        {Row, Ans, "00 00 18", "ACEdit=0;BDEdit=0;But1CheckBox=1;But2CheckBox=1;But3CheckBox=1;DMCheckBox=1;"
                               "ErrACCheckBox=1;ErrBDCheckBox=1", "00 00 E7"},
        {Row, Ans, "00 00 FF", "ACEdit=0;BDEdit=0;But1CheckBox=1;But3CheckBox=1;ErrBDCheckBox=1", "00 00 45"},
    });
    CheckAll<Typed>({
        {Row, Ans, 3, "7.5", "85 05 00", "88 05 00"},   // half away from zero, the direction stays
        {Row, Ans, 4, "3", "85 85 00", "85 83 00"},
        // DM and button 1 set, buttons 2 and 3 cleared; bits 3 and 4 stay, so do the errors.
        {Row, Ans, 5, "1 001", "00 00 DE", "00 00 F9"},
        {Row, Ans, 5, "1 1x1", "00 00 00", "00 00 01"},   // digits are read from the right up to the first non-digit
        {Row, Ans, 6, "10", "00 00 40", "00 00 80"},      // ErrAC left, ErrBD right
        {Row, Ans, 2, "1", "01 02 03", "01 02 03"},       // columns the model does not use
    });
}

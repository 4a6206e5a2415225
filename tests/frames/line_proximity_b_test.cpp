// The switched power-line proximity sensor (row 16): four outputs in the request, field
// strength, angle and three inputs in the answer, between body, frame, grid and info line.
#include "IoFrames.h"

namespace {
constexpr int Row = 16;
const char* const Names = "EEdit;ANGEdit;IN1ComboBox;IN2ComboBox;IN3ComboBox";
}

TEST(LineProximityBFrame, BetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {Row, Req, "5A", "OUT1CheckBox;OUT2CheckBox;OUT3CheckBox;OUT4CheckBox", "0;1;0;1", "1010", "OUT4-1=1010"},
        {Row, Ans, "FF 6F 00 2D", Names, "4095;45.00;0;1;2", "4095|45.00|210|-", "E=4095, ANG=45.00, IN3-1=210"},
        // Code 3 of IN2 and IN3 shows empty combos and the digits 3.
        {Row, Ans, "00 F0 FD FF", Names, "0;127.99;1;-1;-1", "0|127.99|332|-", "E=0, ANG=127.99, IN3-1=332"},
    });
    const char* before = "AB CD 12 34";
    CheckAll<Built>({
        {Row, Req, "F0", "OUT1CheckBox=1;OUT4CheckBox=1", "09"},   // bits 4-7 are 0 when built from the frame
        {Row, Ans, before, "EEdit=4095;ANGEdit=45;IN1ComboBox=0;IN2ComboBox=1;IN3ComboBox=2", "FF 6F 00 2D"},
        {Row, Ans, before, "EEdit=4096;ANGEdit=128", "00 00 00 80"},   // cut to 0; no IN1 item sets IN1
        // Unconverted: E keeps byte 1 and byte 2 bits 0-3, ANG its word; the inputs are rebuilt.
        {Row, Ans, before, "EEdit=x;ANGEdit=y;IN1ComboBox=1;IN2ComboBox=2;IN3ComboBox=0", "AB 8D 12 B4"},
    });
    CheckAll<Stepped>({{Row, "ANGEdit=127.99", "ANGEdit", "127.99"}, {Row, "ANGEdit=128", "ANGEdit", "0.00"}});
    before = "AB CD 12 B4";
    CheckAll<Typed>({
        {Row, Req, 2, "0101", "F0", "F5"},   // a grid edit keeps bits 4-7
        {Row, Ans, 3, "4095", before, "FF CF 12 B4"},   // IN2 and IN3 stay
        {Row, Ans, 3, "4096", before, "00 C0 12 B4"},
        {Row, Ans, 4, "0.5", before, "AB CD 80 80"},    // IN1 stays
        {Row, Ans, 5, "210", before, "AB 6D 12 34"},
        {Row, Ans, 5, "31", before, "AB 0D 12 B4"},     // '3' ends the digits
    });
}

TEST(LineProximityBFrame, CellsWrittenOnceAndControlsWaitForData)
{
    ExpectQuietAndWaiting(Row, "01 02 03 04");
}

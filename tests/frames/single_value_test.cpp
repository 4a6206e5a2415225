// The fifteen single-value sensor models as data: answer word -> frame texts, grid texts and
// info line; frame -> word; grid cell -> word. Then the frames on their catalogue rows: the word
// moved between body, frame and grid through the device's slots.
#include "frames/SingleValue.h"
#include "frames/SingleValueModels.h"
#include "model/Catalogue.h"
#include "FrameRig.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A word between an address byte and an XOR byte the models must not touch.
TMessageImage Word(std::uint8_t low, std::uint8_t high) { return TMessageImage{0x43, low, high, 0x5A}; }

void ExpectWord(const TMessageImage& image, std::uint8_t low, std::uint8_t high)
{
    EXPECT_EQ(image, Word(low, high)) << std::hex << int(image[1]) << " " << int(image[2]);
}
}

TEST(SingleValueModels, AnswerShownInFrameGridAndInfoLine)
{
    // The word shown: the edit and grid column 3, the combos (lowest-numbered input first), column 5.
    struct Case { const TSingleValueModel* model; std::uint8_t low, high; const char* value; std::vector<int> items; const char* inputs, *info; };
    const Case cases[] = {
        {&TiltBModel, 0x00, 0x81, "1.00", {1}, "1", "ANG=1.00, IN1=1"},   // item 1 is "+24 В" here
        {&TiltAModel, 0x20, 0x00, "0.13", {0}, "0", "ANG=0.12, IN1=0"},   // 0.125: the two roundings
        {&PressureAModel, 0x80, 0x00, "3.13", {}, "-", "P=3.12"},         // exactly 3.125
        {&PressureBModel, 0x00, 0xE8, "250.00", {-1}, "3", "P=250.00, IN1=3"},
        {&WindSpeedModel, 0x7B, 0x80, "12.30", {2}, "2", "V=12.30, IN1=2"},
        {&LineProximityAModel, 0xFF, 0x3F, "1023", {0, -1}, "30", "E=1023, IN3-2=30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.info);
        const TMessageImage answer = Word(c.low, c.high);
        EXPECT_EQ(c.model->Value.text(answer), c.value);
        std::vector<int> items;
        for (std::size_t i = 0; i < c.model->Inputs.size(); ++i)
            items.push_back(SingleValueItem(*c.model, answer, i));
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(SingleValueInputText(*c.model, answer), c.inputs);
        EXPECT_EQ(DescribeSingleValueAnswer(*c.model, answer.data()), c.info);
    }
}

TEST(SingleValueModels, FrameBuildsTheWord)
{
    struct Case { const TSingleValueModel* model; std::uint8_t low, high; const char* text; std::vector<int> items; std::uint8_t newLow, newHigh; };
    const Case cases[] = {
        {&TiltAModel, 0x34, 0x12, "", {-1}, 0x34, 0x92},       // no selection sets the one-bit input
        {&TensionBModel, 0, 0, "-1", {2}, 0xFF, 0xBF},          // two's complement cut to 14 bits
        {&TensionCModel, 0xFF, 0xFF, "10", {}, 0x0A, 0x00},     // unused bits cleared
        {&WindSpeedModel, 0x34, 0x92, "1e30", {0}, 0x34, 0x12}, // too large to scale: kept
        {&LineProximityAModel, 0xFF, 0xFF, "5", {1, 2}, 0x05, 0x60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model->FrameClass) + " '" + c.text + "'");
        TMessageImage answer = Word(c.low, c.high);
        SingleValueFromFrame(*c.model, answer, c.text, c.items);
        ExpectWord(answer, c.newLow, c.newHigh);
    }
}

TEST(SingleValueModels, GridCellChangesOnlyItsColumn)
{
    struct Case { const TSingleValueModel* model; std::uint8_t low, high; const char* text; int column; std::uint8_t newLow, newHigh; };
    const Case cases[] = {
        {&TiltAModel, 0x00, 0x80, "-1", 3, 0x00, 0xFF},        // raw -256 in 15 bits, bit 15 stays
        {&TiltAModel, 0xFF, 0xFF, "", 5, 0xFF, 0x7F},          // an empty cell clears the input
        {&TensionCModel, 0x00, 0xC0, "-12.5", 3, 0xF3, 0xFF},  // -13 cut to 14 bits
        {&LineProximityAModel, 0x05, 0xF0, "1", 5, 0x05, 0x40},   // IN3 cleared, IN2 from the digit
        {&LineProximityAModel, 0x05, 0xF0, "21x", 5, 0x05, 0x00}, // no digit found: both cleared
        {&LineProximityCModel, 0x00, 0x3C, "2", 5, 0x00, 0xBC},   // unused bits 10-13 stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model->FrameClass) + " column " + std::to_string(c.column) + " '" + c.text + "'");
        TMessageImage answer = Word(c.low, c.high);
        SingleValueFromCell(*c.model, answer, c.text, c.column);
        ExpectWord(answer, c.newLow, c.newHigh);
    }
}

TEST(SingleValueFrames, SlotsMoveTheWordBetweenBodyFrameAndGrid)
{
    CheckAll<Shown>({
        {27, Ans, "00 81", "ANGEdit;IN1ComboBox", "1.00;1", "1.00|-|1|-", "ANG=1.00, IN1=1"},
        {7, Ans, "00 28", "PEdit", "250.00", "250.00|-|-|-", "P=250.00"},
        {22, Ans, "0A 40", "FEdit;IN1ComboBox", "10;1", "10|-|1|-", "F=10, IN1=1"},
        {15, Ans, "05 60", "EEdit;IN2ComboBox;IN3ComboBox", "5;1;2", "5|-|21|-", "E=5, IN3-2=21"},
    });
    // The value typed and the inputs chosen over the word shown; the XOR byte stays the line engine's.
    CheckAll<Built>({
        {27, Ans, "00 81", "ANGEdit=12.34;IN1ComboBox=0", "57 0C 00"},
        {7, Ans, "00 28", "PEdit=1600", "00 00 00"},                  // 65536 cut to 16 bits
        {22, Ans, "0A 40", "FEdit=abc;IN1ComboBox=2", "0A 80 00"},    // value kept, input rebuilt
        {15, Ans, "05 60", "EEdit=6;IN2ComboBox=2;IN3ComboBox=1", "06 90 00"},
        // Before the first display: an empty edit keeps the value bits, a two-item combo without
        // selection sets its bit, a three-item one adds nothing.
        {27, Ans, "34 12", "", "34 92 00"},
        {33, Ans, "00 E8", "", "00 28 00"},
    });
    Rig rig(27);
    rig.Set("ANGEdit=1");
    EXPECT_GT(rig.changes, 0) << "the edit is bound to the change handler";
}

TEST(SingleValueFrames, GridEditsReachTheWord)
{
    CheckAll<Typed>({
        {27, Ans, 3, "-1", "00 80", "00 FF"},
        {27, Ans, 5, "", "00 FF", "00 7F"},    // an empty digit column clears the input
        {27, Ans, 4, "9", "00 7F", "00 7F"},   // an unused column changes nothing
        {15, Ans, 5, "21", "00 00", "00 60"},
    });
    CheckAll<Shown>({{27, Ans, "00 FF", "ANGEdit", "127.00", "127.00|-|1|-", "ANG=127.00, IN1=1"},
                     {15, Ans, "00 60", "EEdit;IN3ComboBox", "0;2", "0|-|21|-", "E=0, IN3-2=21"}});
    Rig prox(15);
    prox.SetHex(Ans, "00 60");
    prox.Show(Ans);
    EXPECT_EQ(prox.Frame<TLineProximityAFrame>().IN3ComboBox->Text(), "Масса");
}

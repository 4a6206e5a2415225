// The four travel sensor frames of their own (first, second, fourth and fifth): controls, and the
// count L and its input moved between body, frame, grid and info line through the device's slots.
#include "frames/TravelA.h"
#include "frames/TravelB.h"
#include "frames/TravelD.h"
#include "frames/TravelE.h"
#include "AnswerFrameChecks.h"

#include <gtest/gtest.h>

namespace {
constexpr int TravelARow = 32;
constexpr int TravelBRow = 35;
const std::vector<int> TravelDRows = {68, 69, 70, 71};
const std::vector<int> TravelERows = {72, 73, 74, 75};

void BindTravelUnits()
{
    BindAfterStart([] {
        RegisterTravelAFrames();
        RegisterTravelBFrames();
        RegisterTravelDFrames();
        RegisterTravelEFrames();
    });
}

struct Device : FrameDevice {
    explicit Device(int row) : FrameDevice((BindTravelUnits(), row)) {}
    std::vector<QString> Cells() const { return {grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}; }
};

const QStringList OneWireItems = {"Свободен", "Тест - 01", "Тест - 10", "Метка"};
const QStringList MarkItems = {"Свободен", "Метка"};
}

TEST(TravelFrames, RowsMakeTheirClassesWithTheirControls)
{
    struct ClassRow {
        std::vector<int> rows;
        const char* frameClass;
        std::vector<QString> controls;
        TDescribeMessage decoder;
    };
    const ClassRow classes[] = {
        {{TravelARow}, "TTravelAFrame",
         {"LLabel", "LEdit", "LUpDown", "T1Label", "T1Edit", "T1UpDown", "Bevel1", "INLabel", "IN1Label", "IN1ComboBox"},
         DescribeTravelAAnswer},
        {{TravelBRow}, "TTravelBFrame", {"LLabel", "LEdit", "LUpDown", "Bevel1", "INLabel", "IN1Label", "IN1ComboBox"},
         DescribeTravelBAnswer},
        {TravelDRows, "TTravelDFrame", {"LLabel", "LEdit", "LUpDown", "checkBox12Bit", "INLabel", "IN1ComboBox"},
         DescribeTravelDAnswer},
        {TravelERows, "TTravelEFrame", {"LLabel", "LEdit", "LUpDown", "INLabel", "IN1ComboBox"}, DescribeTravelEAnswer},
    };
    for (const ClassRow& c : classes) {
        for (int row : c.rows) {
            SCOPED_TRACE(std::string(c.frameClass) + " row " + std::to_string(row));
            Device device(row);
            auto& frame = dynamic_cast<TFrameBase&>(*device.info->Frame);
            EXPECT_STREQ(frame.ClassName(), c.frameClass);
            EXPECT_EQ(frame.Width(), 324);
            EXPECT_EQ(DeviceCatalogue[row].DescribeAnswer, c.decoder);
            EXPECT_EQ(DeviceCatalogue[row].DescribeRequest, nullptr);
            EXPECT_EQ(ControlNames(frame.InPanel), c.controls);
            ExpectAnswerOnly(*device.info, frame);
            auto* combo = frame.findChild<TComboBox*>("IN1ComboBox");
            ASSERT_NE(combo, nullptr);
            EXPECT_FALSE(combo->Enabled());
            EXPECT_EQ(combo->ItemIndex(), -1);
            EXPECT_EQ(combo->Style(), TComboStyle::DropDownList);
        }
    }
}

TEST(TravelFrames, CaptionsTagsAndItems)
{
    Device a(TravelARow);
    auto& fa = a.Frame<TTravelAFrame>();
    EXPECT_EQ(fa.LLabel->Caption(), "L, ед.:");
    EXPECT_EQ(fa.T1Label->Caption(), "T, °C:");
    EXPECT_EQ(fa.INLabel->Caption(), "IN:");
    EXPECT_EQ(fa.IN1Label->Caption(), "1");
    EXPECT_EQ(fa.IN1ComboBox->Items(), (QStringList{"Свободен", "+24 В", "Масса"}));
    ExpectStepper(fa.LEdit, fa.LUpDown, 1, 0, 100, false);
    ExpectStepper(fa.T1Edit, fa.T1UpDown, 1, 0, 100, false);

    Device b(TravelBRow);
    auto& fb = b.Frame<TTravelBFrame>();
    EXPECT_EQ(fb.LLabel->Caption(), "L, ед.:");
    EXPECT_EQ(fb.IN1ComboBox->Items(), (QStringList{"Свободен", "+24 В", "Масса"}));
    ExpectStepper(fb.LEdit, fb.LUpDown, 0, 0, 100, false);

    Device d(TravelDRows[0]);
    auto& fd = d.Frame<TTravelDFrame>();
    EXPECT_EQ(fd.INLabel->Caption(), "1-Wire");
    EXPECT_EQ(fd.IN1ComboBox->Items(), OneWireItems);
    EXPECT_EQ(fd.checkBox12Bit->Caption(), "12 бит");
    EXPECT_FALSE(fd.checkBox12Bit->Checked());
    EXPECT_FALSE(fd.checkBox12Bit->Enabled());
    EXPECT_GE(fd.checkBox12Bit->Left(), fd.LUpDown->Left() + fd.LUpDown->Width()) << "right of the edit";
    ExpectStepper(fd.LEdit, fd.LUpDown, 0, 0, 100, false);

    Device e(TravelERows[0]);
    auto& fe = e.Frame<TTravelEFrame>();
    EXPECT_EQ(fe.INLabel->Caption(), "1-Wire");
    EXPECT_EQ(fe.IN1ComboBox->Items(), MarkItems);
    ExpectStepper(fe.LEdit, fe.LUpDown, 0, 0, 100, false);
}

// ---------------------------------------------------------------------------------------------
// Body -> frame, grid and info line

TEST(TravelFrames, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        int catalogueRow;
        Body body;
        std::vector<QString> edits;   // LEdit, then T1Edit where there is one
        int item;
        std::vector<QString> cells;   // columns 3 to 6
        const char* info;
    };
    const Row rows[] = {
        {TravelARow, {5, 0, 0x80 | 0x40 | 1}, {"-5", "24"}, 1, {"-5", "24", "1", "-"}, "L=-5, T=24, IN1=1"},
        {TravelARow, {0xFF, 0xFF, 0x7C | 3}, {"65535", "84"}, -1, {"65535", "84", "3", "-"}, "L=65535, T=84, IN1=3"},
        {TravelARow, {0, 0, 0x80}, {"0", "-40"}, 0, {"0", "-40", "0", "-"}, "L=0, T=-40, IN1=0"},
        {TravelARow, {0x34, 0x12, 0x2A}, {"4660", "0"}, 2, {"4660", "0", "2", "-"}, "L=4660, T=0, IN1=2"},
        {TravelBRow, {0, 0, 4 | 2}, {"65536"}, 2, {"65536", "-", "2", "-"}, "L=65536, IN1=2"},
        {TravelBRow, {0xFF, 0xFF, 0xFF}, {"4194303"}, -1, {"4194303", "-", "3", "-"}, "L=4194303, IN1=3"},
        {TravelBRow, {0x01, 0x00, 0x00}, {"1"}, 0, {"1", "-", "0", "-"}, "L=1, IN1=0"},
        {68, {0x88, 0x43}, {"904"}, 1, {"904", "-", "1", "-"}, "L=904 IN=1"},
        {71, {0xFF, 0xFF}, {"16383"}, 3, {"16383", "-", "3", "-"}, "L=16383 IN=3"},
        {69, {0x00, 0x80}, {"0"}, 2, {"0", "-", "2", "-"}, "L=0 IN=2"},
        {72, {0xFF, 0xFF}, {"32767"}, 1, {"32767", "-", "1", "-"}, "L=32767 IN=1"},
        {75, {0x40, 0x1C}, {"7232"}, 0, {"7232", "-", "0", "-"}, "L=7232 IN=0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        Device device(r.catalogueRow);
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        auto& frame = dynamic_cast<TFrameBase&>(*device.info->Frame);
        EXPECT_EQ(frame.findChild<TEdit*>("LEdit")->Text(), r.edits[0]);
        if (r.edits.size() > 1) {
            EXPECT_EQ(frame.findChild<TEdit*>("T1Edit")->Text(), r.edits[1]);
        }
        EXPECT_EQ(frame.findChild<TComboBox*>("IN1ComboBox")->ItemIndex(), r.item);
        EXPECT_EQ(device.Cells(), r.cells);
        EXPECT_EQ(DeviceCatalogue[r.catalogueRow].DescribeAnswer(device.Answer().data()), r.info);
    }
}

TEST(TravelFrames, TwelveBitBoxDoesNotChangeWhatIsShown)
{
    Device device(TravelDRows[2]);
    auto& frame = device.Frame<TTravelDFrame>();
    frame.checkBox12Bit->SetChecked(true);
    SetBody(device.Answer(), {0xFF, 0x3F});
    device.ShowAnswer();
    EXPECT_EQ(frame.LEdit->Text(), "16383");
    EXPECT_EQ(device.grid.Cell(3), "16383");
}

// ---------------------------------------------------------------------------------------------
// Frame -> body

namespace {
struct FrameRow {
    const char* count;
    const char* temperature;   // TravelA only
    int item;
    Body body;                 // bytes 1..3 (1..2 for the word models)
};

void ExpectBuilt(int catalogueRow, const FrameRow& r, bool twelveBit = false)
{
    SCOPED_TRACE(std::string("L ") + r.count + " T " + (r.temperature ? r.temperature : "") + " item " +
                 std::to_string(r.item));
    Device device(catalogueRow);
    SetBody(device.Answer(), Body(r.body.size(), 0xEE));
    auto& frame = dynamic_cast<TFrameBase&>(*device.info->Frame);
    frame.findChild<TEdit*>("LEdit")->SetText(r.count);
    if (r.temperature)
        frame.findChild<TEdit*>("T1Edit")->SetText(r.temperature);
    frame.findChild<TComboBox*>("IN1ComboBox")->SetItemIndex(r.item);
    if (auto* box = frame.findChild<TCheckBox*>("checkBox12Bit"))
        box->SetChecked(twelveBit);
    device.BuildAnswer();
    EXPECT_EQ(BodyOf(device.Answer(), r.body.size()), r.body);
    EXPECT_EQ(device.Answer()[0], 0) << "the address byte belongs to the line engine";
    EXPECT_EQ(device.Answer()[r.body.size() + 1], 0) << "the XOR byte belongs to the line engine";
}
}

TEST(TravelFrames, TravelAFrameBuildsSignMagnitudeTemperatureAndInput)
{
    const FrameRow rows[] = {
        {"-5", "25", 2, {5, 0, 0x80 | 64 | 2}},          // 25 °C is stored as 64 (shown 24)
        {"70000", "26", -1, {0x70, 0x11, 68}},            // 16 bits of 70000; 26 °C as 68 (shown 28)
        {"2.5", "-41", 0, {3, 0, 0}},                     // rounded half away; -41 °C as 0 (shown -40)
        {"-2.5", "-43", 1, {3, 0, 0x80 | 0x7C | 1}},      // -43 + 42 = -1, AND 0x7C = 124 (shown 84)
        {"x", "0", 1, {0xEE, 0xEE, 0x80 | 40 | 1}},       // L kept with its sign
        {"1e30", "", 2, {0xEE, 0xEE, 0xEC | 2}},          // nothing fits 64 bits: L kept; T only clears bits 0-1
        {"-0.4", "84", 0, {0, 0, 0x7C}},                  // rounds to 0: positive
        {"3", "2147483647", 0, {3, 0, (2147483647LL + 42) & 0x7C}},
    };
    for (const FrameRow& r : rows)
        ExpectBuilt(TravelARow, r);
}

TEST(TravelFrames, TravelAFrameTemperatureRoundTrips)
{
    struct Row { const char* typed; const char* shown; };
    const Row rows[] = {
        {"25", "24"}, {"26", "28"}, {"-41", "-40"}, {"-43", "84"}, {"84", "84"}, {"85", "84"}, {"-38", "-36"},
        {"86", "-40"},   // beyond the field the steps wrap round
    };
    for (const Row& r : rows) {
        Device device(TravelARow);
        auto& frame = device.Frame<TTravelAFrame>();
        frame.LEdit->SetText("0");
        frame.T1Edit->SetText(r.typed);
        device.BuildAnswer();
        device.ShowAnswer();
        EXPECT_EQ(frame.T1Edit->Text(), r.shown) << r.typed;
    }
}

TEST(TravelFrames, TravelBFrameBuilds22BitCountAndInput)
{
    const FrameRow rows[] = {
        {"65536", nullptr, 1, {0, 0, 4 | 1}},
        {"4194304", nullptr, -1, {0, 0, 0}},              // wraps to 0
        {"4194303", nullptr, 2, {0xFF, 0xFF, 0xFE}},
        {"-1", nullptr, 0, {0xFF, 0xFF, 0xFC}},           // low 22 bits of -1
        {"x", nullptr, 1, {0xEE, 0xEE, 0xEC | 1}},        // count kept, input rebuilt
        {"2.5", nullptr, 0, {0xEE, 0xEE, 0xEC}},          // an integer edit refuses 2.5
    };
    for (const FrameRow& r : rows)
        ExpectBuilt(TravelBRow, r);
}

TEST(TravelFrames, TravelDFrameBuildsCountAndState)
{
    struct Row { FrameRow frame; bool twelveBit; };
    const Row rows[] = {
        {{"5000", nullptr, 0, {0x88, 0x03}}, true},       // 5000 AND 0x0FFF = 904
        {{"5000", nullptr, 0, {0x88, 0x13}}, false},
        {{"16384", nullptr, 2, {0x00, 0x80}}, false},     // 14 bits of the count
        {{"100", nullptr, -1, {0x64, 0xC0}}, false},      // no selection sends "Метка"
        {{"-1", nullptr, 0, {0xFF, 0x3F}}, false},
        {{"-1", nullptr, 3, {0xFF, 0xCF}}, true},
        {{"x", nullptr, 1, {0xEE, 0xEE}}, false},         // the state does not get through either
        {{"", nullptr, 0, {0xEE, 0xEE}}, true},
    };
    for (const Row& r : rows)
        ExpectBuilt(TravelDRows[1], r.frame, r.twelveBit);
}

TEST(TravelFrames, TravelEFrameBuildsCountAndMark)
{
    const FrameRow rows[] = {
        {"40000", nullptr, 0, {0x40, 0x1C}},              // 15 bits: 7232
        {"5", nullptr, -1, {0x05, 0x80}},                 // no selection sets the mark
        {"5", nullptr, 1, {0x05, 0x80}},
        {"32767", nullptr, 0, {0xFF, 0x7F}},
        {"x", nullptr, 1, {0xEE, 0xEE}},                  // the mark does not get through either
    };
    for (const FrameRow& r : rows)
        ExpectBuilt(TravelERows[3], r);
}

TEST(TravelFrames, TwelveBitBoxIsBoundToTheChangeHandler)
{
    Device device(TravelDRows[0]);
    auto& frame = device.Frame<TTravelDFrame>();
    const int before = device.changes;
    frame.checkBox12Bit->SetChecked(true);
    EXPECT_EQ(device.changes, before + 1);

    // A second frame of the model starts without the box, whatever the first one says.
    Device other(TravelDRows[1]);
    EXPECT_FALSE(other.Frame<TTravelDFrame>().checkBox12Bit->Checked());
}

// ---------------------------------------------------------------------------------------------
// Grid -> body

TEST(TravelFrames, GridCellsReachTheBody)
{
    struct Row {
        int catalogueRow;
        Body before;
        int column;
        const char* text;
        Body after;
        bool twelveBit = false;
    };
    const Row rows[] = {
        // TravelA: L sign and magnitude, T cut toward zero, one input digit.
        {TravelARow, {0x11, 0x22, 0x6E}, 3, "-5", {5, 0, 0xEE}},
        {TravelARow, {0x11, 0x22, 0xEE}, 3, "7.5", {8, 0, 0x6E}},
        {TravelARow, {0x11, 0x22, 0xEE}, 3, "-0.4", {0, 0, 0x6E}},
        {TravelARow, {0x11, 0x22, 0xEE}, 3, "70000", {0x70, 0x11, 0x6E}},
        {TravelARow, {0x11, 0x22, 0x6E}, 3, "abc", {0x11, 0x22, 0x6E}},
        {TravelARow, {0x11, 0x22, 0x6E}, 4, "25.9", {0x11, 0x22, 0x02 | 64}},   // trunc(67.9) = 67 -> 64
        {TravelARow, {0x11, 0x22, 0xEE}, 4, "-43", {0x11, 0x22, 0x82 | 0x7C}},
        {TravelARow, {0x11, 0x22, 0x6E}, 4, "-42.5", {0x11, 0x22, 0x02}},       // trunc(-0.5) = 0
        {TravelARow, {0x11, 0x22, 0x6E}, 4, "x", {0x11, 0x22, 0x6E}},
        {TravelARow, {0x11, 0x22, 0x6E}, 5, "1", {0x11, 0x22, 0x6D}},
        {TravelARow, {0x11, 0x22, 0x6E}, 5, "12", {0x11, 0x22, 0x6E}},          // the rightmost digit
        {TravelARow, {0x11, 0x22, 0x6F}, 5, "", {0x11, 0x22, 0x6C}},
        {TravelARow, {0x11, 0x22, 0x6F}, 5, "3", {0x11, 0x22, 0x6C}},           // no radix-3 digit
        {TravelARow, {0x11, 0x22, 0x6F}, 6, "1", {0x11, 0x22, 0x6F}},
        // TravelB: the 22-bit count keeps the input bits.
        {TravelBRow, {0x11, 0x22, 0x33}, 3, "65536", {0, 0, 0x07}},
        {TravelBRow, {0x11, 0x22, 0x33}, 3, "65535.5", {0, 0, 0x07}},
        {TravelBRow, {0x11, 0x22, 0x33}, 3, "4194304", {0, 0, 0x03}},
        {TravelBRow, {0x11, 0x22, 0x33}, 3, "x", {0x11, 0x22, 0x33}},
        {TravelBRow, {0x11, 0x22, 0x33}, 5, "1", {0x11, 0x22, 0x31}},
        {TravelBRow, {0x11, 0x22, 0x33}, 5, "", {0x11, 0x22, 0x30}},
        {TravelBRow, {0x11, 0x22, 0x33}, 4, "5", {0x11, 0x22, 0x33}},
        // TravelD: count under the state, state as a plain number.
        {68, {0x11, 0xA2}, 3, "5000", {0x88, 0x83}, true},
        {68, {0x11, 0xA2}, 3, "5000", {0x88, 0x93}},
        {68, {0x11, 0xA2}, 3, "2.5", {0x03, 0x80}},
        {68, {0x11, 0xA2}, 3, "x", {0x11, 0xA2}},
        {68, {0x11, 0xA2}, 5, "1", {0x11, 0x62}},
        {68, {0x11, 0xA2}, 5, "5", {0x11, 0x62}},                               // the low two bits
        {68, {0x11, 0xA2}, 5, "2", {0x11, 0xA2}},
        {68, {0x11, 0xA2}, 5, "0", {0x11, 0x22}},
        {68, {0x11, 0xA2}, 5, "-1", {0x11, 0xE2}},
        {68, {0x11, 0xA2}, 5, "2.0", {0x11, 0xA2}},                             // not an integer
        {68, {0x11, 0xA2}, 4, "1", {0x11, 0xA2}},
        // TravelE: count under the mark.
        {72, {0x11, 0xA2}, 3, "40000", {0x40, 0x9C}},
        {72, {0x11, 0x22}, 5, "1", {0x11, 0xA2}},
        {72, {0x11, 0xA2}, 5, "2", {0x11, 0x22}},
        {72, {0x11, 0x22}, 5, "3", {0x11, 0xA2}},
        {72, {0x11, 0x22}, 5, "", {0x11, 0x22}},
        {72, {0x11, 0x22}, 6, "1", {0x11, 0x22}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("row " + std::to_string(r.catalogueRow) + " column " + std::to_string(r.column) + " " + r.text);
        Device device(r.catalogueRow);
        if (auto* box = device.info->Frame->findChild<TCheckBox*>("checkBox12Bit"))
            box->SetChecked(r.twelveBit);
        SetBody(device.Answer(), r.before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), r.after.size()), r.after);
    }
}

TEST(TravelFrames, CellsAreWrittenOnlyWhenTheyDiffer)
{
    Device device(TravelARow);
    SetBody(device.Answer(), {1, 0, 0x40});
    device.ShowAnswer();
    device.ShowAnswer();
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(device.grid.Writes[column], 1) << "column " << column;
    device.Answer()[3] = 0x41;   // only the input changes
    device.ShowAnswer();
    EXPECT_EQ(device.grid.Writes[3], 1);
    EXPECT_EQ(device.grid.Writes[4], 1);
    EXPECT_EQ(device.grid.Writes[5], 2);

    // A device without a grid row yet is shown in its frame only.
    BindTravelUnits();
    FrameDevice rowless(TravelERows[0], false);
    SetBody(rowless.Answer(), {7, 0});
    rowless.ShowAnswer();
    EXPECT_EQ(rowless.Frame<TTravelEFrame>().LEdit->Text(), "7");
}

// The boom-length frames and the seventh travel frame on their catalogue rows: an angle, a
// length and one or two inputs between body, frame, grid and info line, with the wrap of the
// typed values into their ranges.
#include "AngleValueSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {
constexpr int BoomLengthA = 13, BoomLengthB = 14, BoomLengthC = 39, BoomLengthC2 = 52, TravelG = 84;
constexpr std::size_t BodySize = 4;

std::string Trace(int row, const char* what) { return "row " + std::to_string(row) + ": " + what; }

class AngleLengthFrames : public ::testing::Test {
protected:
    void SetUp() override { BindAngleValueRows(); }
};
}

TEST_F(AngleLengthFrames, EveryRowMakesItsClassWithItsControlsAndSlots)
{
    struct Row {
        int row;
        const char* frameClass;
        int angleTag, lengthTag;
        QStringList items;
        bool twoInputs;
        TDescribeMessage decoder;
    };
    const Row rows[] = {
        {BoomLengthA, "TBoomLengthAFrame", 2, 2, {"Свободен", "Масса"}, false, DescribeBoomLengthAAnswer},
        {BoomLengthB, "TBoomLengthBFrame", 3, 2, InputItems, true, DescribeBoomLengthBAnswer},
        {BoomLengthC, "TBoomLengthCFrame", 2, 1, InputItems, true, DescribeBoomLengthCAnswer},
        {BoomLengthC2, "TBoomLengthCFrame", 2, 1, InputItems, true, DescribeBoomLengthCAnswer},
        {TravelG, "TTravelGFrame", 2, 1, {"Свободен", "+24 В", "Масса"}, true, DescribeTravelGAnswer},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Trace(r.row, r.frameClass));
        FrameDevice device(r.row);
        auto& frame = device.Frame<TAngleValueFrame>();
        EXPECT_STREQ(frame.ClassName(), r.frameClass);
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeAnswer, r.decoder);
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeRequest, nullptr);
        EXPECT_EQ(frame.Width(), 324);

        std::vector<QString> names = {"ANGLabel", "ANGEdit", "ANGUpDown", "LENLabel", "LENEdit", "LENUpDown",
                                      "Bevel1", "INLabel", "IN1Label", "IN1ComboBox"};
        if (r.twoInputs) {
            names.push_back("IN2Label");
            names.push_back("IN2ComboBox");
        }
        EXPECT_EQ(ControlNames(frame.InPanel), names);
        EXPECT_EQ(frame.findChild<QWidget*>("OutPanel"), nullptr);

        const TDeviceInfo& info = *device.info;
        EXPECT_TRUE(info.GridToAnswer && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
        EXPECT_FALSE(info.GridToRequest || info.FrameToRequest || info.RequestToFrame || info.RequestToGrid);
        EXPECT_EQ(info.RequestPanel, nullptr);
        EXPECT_EQ(info.AnswerPanel, frame.InPanel);

        EXPECT_EQ(frame.ANGEdit->Tag, r.angleTag);
        EXPECT_EQ(frame.SecondEdit->Tag, r.lengthTag);
        EXPECT_EQ(frame.ANGLabel->Caption(), "ANG, °:");
        EXPECT_EQ(frame.SecondLabel->Caption(), "LEN, м:");
        EXPECT_EQ(frame.INLabel->Caption(), "IN:");
        EXPECT_EQ(frame.IN1Label->Caption(), "1");
        for (TEdit* edit : {frame.ANGEdit, frame.SecondEdit})
            EXPECT_TRUE(edit->ReadOnly());
        EXPECT_EQ(frame.ANGUpDown->TagWidget(), frame.ANGEdit);
        EXPECT_EQ(frame.SecondUpDown->TagWidget(), frame.SecondEdit);
        EXPECT_FALSE(frame.ANGUpDown->Enabled());
        for (TComboBox* combo : {frame.IN1ComboBox, frame.IN2ComboBox}) {
            if (!combo)
                continue;
            EXPECT_EQ(combo->Items(), r.items);
            EXPECT_FALSE(combo->Enabled());
            EXPECT_EQ(combo->ItemIndex(), -1);
            EXPECT_EQ(combo->Style(), TComboStyle::DropDownList);
        }
        if (r.twoInputs) {
            EXPECT_EQ(frame.IN2Label->Caption(), "2");
            EXPECT_GT(frame.IN2ComboBox->Top(), frame.IN1ComboBox->Top());
        }
    }
    FrameDevice a(BoomLengthA);
    EXPECT_EQ(a.Frame<TBoomLengthAFrame>().LENEdit->Name(), "LENEdit");
    EXPECT_EQ(a.Frame<TBoomLengthAFrame>().LENUpDown->Name(), "LENUpDown");
}

TEST_F(AngleLengthFrames, BodyShownInFrameGridAndInfoLine)
{
    struct Row {
        int row;
        Body body;
        const char* angle;
        const char* length;
        int item1, item2;
        const char* inputs;   // column 5
        const char* line;
    };
    const Row rows[] = {
        {BoomLengthA, {0x80, 0x81, 0x00, 0x01}, "1.50", "1.00", 1, -1, "1", "ANG=1.50, LEN=1.00, IN1=1"},
        {BoomLengthA, {0xFF, 0x7F, 0xFF, 0xFF}, "128.00", "256.00", 0, -1, "0", "ANG=128.00, LEN=256.00, IN1=0"},
        // Sign in bit 0, the magnitude doubled above it; the length in 12 bits under the inputs.
        {BoomLengthB, {0x01, 0x03, 0x00, 0x9F}, "-1.50", "15.00", 2, 1, "12", "ANG=-1.50, LEN=15.00, IN2-1=12"},
        // A sign without magnitude is zero; code 3 has no item but shows as '3'.
        {BoomLengthB, {0x01, 0x00, 0x80, 0xF0}, "0.00", "0.50", -1, -1, "33", "ANG=0.00, LEN=0.50, IN2-1=33"},
        {BoomLengthC, {0x80, 0x01, 0xFF, 0x4F}, "1.50", "4095", 1, 0, "01", "ANG=1.50, LEN=4095, IN2-1=01"},
        {BoomLengthC2, {0xFF, 0xFF, 0x0A, 0x20}, "256.00", "10", 0, 2, "20", "ANG=256.00, LEN=10, IN2-1=20"},
        {TravelG, {0x9F, 0x8C, 0x07, 0xB0}, "359.99", "7", 2, -1, "32", "ANG=359.99, LEN=7, IN2-1=32"},
        {TravelG, {0xFF, 0xFF, 0x00, 0x00}, "655.35", "0", 0, 0, "00", "ANG=655.35, LEN=0, IN2-1=00"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Trace(r.row, r.line));
        ShownDevice shown(r.row, r.body);
        auto& frame = shown.frame();
        EXPECT_EQ(frame.ANGEdit->Text(), r.angle);
        EXPECT_EQ(frame.SecondEdit->Text(), r.length);
        EXPECT_EQ(frame.IN1ComboBox->ItemIndex(), r.item1);
        if (frame.IN2ComboBox) {
            EXPECT_EQ(frame.IN2ComboBox->ItemIndex(), r.item2);
        }
        const TStringsRow& grid = shown.device.grid;
        EXPECT_EQ(grid.Cell(3), r.angle);
        EXPECT_EQ(grid.Cell(4), r.length);
        EXPECT_EQ(grid.Cell(5), r.inputs);
        EXPECT_EQ(grid.Cell(6), "-");
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeAnswer(shown.device.Answer().data()), r.line);
    }
}

TEST_F(AngleLengthFrames, FrameBuildsTheBodyAndRewritesWrappedEdits)
{
    struct Row {
        int row;
        Body before;
        const char* angle;    // typed
        const char* length;   // typed
        int item1, item2;
        Body after;
        const char* angleShown;    // the edits afterwards
        const char* lengthShown;
    };
    const Row rows[] = {
        // The angle drops to 15 bits and the input bit is set by the combo alone.
        {BoomLengthA, {0, 0, 0, 0}, "1.5", "-1", 0, -1, {0x80, 0x01, 0x00, 0xFF}, "1.5", "255"},
        {BoomLengthA, {0, 0, 0, 0}, "-1", "1", 1, -1, {0x01, 0xFF, 0x00, 0x01}, "-1", "1"},
        // Inside the range, yet a full word of steps: the word runs over to 0.
        {BoomLengthA, {0, 0, 0x34, 0x12}, "0", "255.999", 0, -1, {0x00, 0x00, 0x00, 0x00}, "0", "255.999"},
        {BoomLengthA, {0, 0, 0, 0}, "0", "256", 0, -1, {0, 0, 0, 0}, "0", "0"},
        // A bad angle keeps its bits but not the input bit; a bad length keeps its word.
        {BoomLengthA, {0x23, 0x81, 0x34, 0x12}, "abc", "x", 0, -1, {0x23, 0x01, 0x34, 0x12}, "abc", "x"},
        // A cleared two-item combo sets the input.
        {BoomLengthA, {0x23, 0x01, 0x34, 0x12}, "", "", -1, -1, {0x23, 0x81, 0x34, 0x12}, "", ""},

        {BoomLengthB, {0, 0, 0, 0}, "-1.5", "16", 2, 1, {0x01, 0x03, 0x00, 0x90}, "-1.5", "0"},
        {BoomLengthB, {0, 0, 0, 0}, "128", "15.999", -1, -1, {0x00, 0x00, 0x00, 0x00}, "128", "15.999"},
        {BoomLengthB, {0, 0, 0, 0}, "-128", "-1", -1, -1, {0x01, 0x00, 0x00, 0x0F}, "-128", "15"},
        {BoomLengthB, {0, 0, 0, 0}, "127.99", "1.5", 0, 0, {0xFA, 0xFF, 0x80, 0x01}, "127.99", "1.5"},
        // A bad length clears only the inputs before the combos OR theirs in; a bad angle keeps its word.
        {BoomLengthB, {0x34, 0x12, 0x12, 0xF5}, "abc", "abc", 1, 2, {0x34, 0x12, 0x12, 0x65}, "abc", "abc"},
        // Code 3 received and not selectable: the next answer carries 0.
        {BoomLengthB, {0, 0, 0, 0xF0}, "0", "x", -1, -1, {0, 0, 0, 0}, "0", "x"},

        {BoomLengthC, {0, 0, 0, 0}, "255.999", "10.7", 2, 0, {0x00, 0x00, 0x0A, 0x80}, "255.999", "10.7"},
        {BoomLengthC, {0, 0, 0, 0}, "1.5", "4096", 0, 1, {0x80, 0x01, 0x00, 0x10}, "1.5", "0"},
        {BoomLengthC2, {0, 0, 0, 0}, "1", "-1", 0, 0, {0x00, 0x01, 0xFF, 0x0F}, "1", "4095"},
        // The rewritten text is the value that is cut, so it reads back the same.
        {BoomLengthC2, {0, 0, 0, 0}, "0", "-0.5", 0, 0, {0, 0, 0xFF, 0x0F}, "0", "4095.5"},
        {BoomLengthC, {0x11, 0x22, 0x12, 0xF5}, "x", "y", -1, -1, {0x11, 0x22, 0x12, 0x05}, "x", "y"},

        // The wrapped angle is held in single precision, and shown as such.
        {TravelG, {0, 0, 0, 0}, "-0.01", "3", 1, 2, {0x9F, 0x8C, 0x03, 0x60}, "359.989990234375", "3"},
        {TravelG, {0, 0, 0, 0}, "360", "0", 0, 0, {0, 0, 0, 0}, "0", "0"},
        {TravelG, {0, 0, 0, 0}, "720.5", "0", 0, 0, {0x32, 0x00, 0, 0}, "0.5", "0"},
        {TravelG, {0, 0, 0, 0}, "12.34", "0", 0, 0, {0xD2, 0x04, 0, 0}, "12.34", "0"},
        // Single precision: 0.005 lies below its half step and is cut to 0.
        {TravelG, {0, 0, 0, 0}, "0.005", "0", 0, 0, {0, 0, 0, 0}, "0.005", "0"},
        {TravelG, {0x11, 0x22, 0x33, 0xF4}, "-", "-", 0, 1, {0x11, 0x22, 0x33, 0x14}, "-", "-"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Trace(r.row, (std::string(r.angle) + " / " + r.length).c_str()));
        ShownDevice shown(r.row, r.before);
        auto& frame = shown.frame();
        {
            TUpdatingControls updating;
            frame.ANGEdit->SetText(r.angle);
            frame.SecondEdit->SetText(r.length);
            frame.IN1ComboBox->SetItemIndex(r.item1);
            if (frame.IN2ComboBox)
                frame.IN2ComboBox->SetItemIndex(r.item2);
        }
        shown.device.BuildAnswer();
        EXPECT_EQ(BodyOf(shown.device.Answer(), BodySize), r.after);
        EXPECT_EQ(frame.ANGEdit->Text(), r.angleShown);
        EXPECT_EQ(frame.SecondEdit->Text(), r.lengthShown);
        EXPECT_EQ(shown.device.Answer()[0], 0) << "the address byte belongs to the line engine";
        EXPECT_EQ(shown.device.Answer()[5], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST_F(AngleLengthFrames, GridCellsReachTheBodyWithoutWrapping)
{
    struct Row {
        int row;
        Body before;
        int column;
        const char* text;
        Body after;
    };
    const Row rows[] = {
        {BoomLengthA, {0x00, 0x80, 0, 0}, 3, "1.5", {0x80, 0x81, 0, 0}},    // the input bit stays
        {BoomLengthA, {0x00, 0x00, 0, 0}, 3, "-1", {0x00, 0x7F, 0, 0}},
        {BoomLengthA, {0, 0, 0, 0}, 4, "1.001", {0, 0, 0x00, 0x01}},
        {BoomLengthA, {0, 0, 0, 0}, 4, "-1", {0, 0, 0x00, 0xFF}},
        {BoomLengthA, {0, 0, 0, 0}, 4, "-0.001953125", {0, 0, 0xFF, 0xFF}},   // half a step: away from zero
        {BoomLengthA, {0, 0x00, 0, 0}, 5, "1", {0, 0x80, 0, 0}},
        {BoomLengthA, {0, 0x80, 0, 0}, 5, "0", {0, 0x00, 0, 0}},
        {BoomLengthA, {0, 0x80, 0, 0}, 5, "", {0, 0x00, 0, 0}},
        {BoomLengthA, {1, 2, 3, 4}, 3, "abc", {1, 2, 3, 4}},
        {BoomLengthA, {1, 2, 3, 4}, 6, "5", {1, 2, 3, 4}},

        {BoomLengthB, {0, 0, 0, 0}, 3, "-1.5", {0x01, 0x03, 0, 0}},
        {BoomLengthB, {0, 0, 0, 0}, 3, "1.502", {0x02, 0x03, 0, 0}},
        {BoomLengthB, {0x01, 0, 0, 0}, 3, "-0.001", {0x00, 0x00, 0, 0}},
        {BoomLengthB, {0, 0, 0x00, 0xF0}, 4, "15", {0, 0, 0x00, 0xFF}},   // the inputs above stay
        {BoomLengthB, {0, 0, 0, 0x05}, 5, "21", {0, 0, 0, 0x65}},
        {BoomLengthB, {0, 0, 0, 0xF5}, 5, "2", {0, 0, 0, 0x85}},
        {BoomLengthB, {0, 0, 0, 0xF5}, 5, "", {0, 0, 0, 0x05}},
        {BoomLengthB, {0, 0, 0, 0xF5}, 5, "3", {0, 0, 0, 0x05}},   // no digit of radix 3

        {BoomLengthC, {0, 0, 0, 0}, 3, "1.5", {0x80, 0x01, 0, 0}},
        {BoomLengthC, {0, 0, 0, 0xF0}, 4, "10.7", {0, 0, 0x0B, 0xF0}},
        {BoomLengthC2, {0, 0, 0, 0}, 4, "4096", {0, 0, 0, 0}},
        {BoomLengthC2, {0, 0, 0, 0x30}, 5, "1 2", {0, 0, 0, 0x90}},

        {TravelG, {0, 0, 0, 0}, 3, "400", {0x40, 0x9C, 0, 0}},      // beyond the turn: not wrapped
        {TravelG, {0, 0, 0, 0}, 3, "655.36", {0, 0, 0, 0}},
        {TravelG, {0, 0, 0, 0}, 4, "-1", {0, 0, 0xFF, 0x0F}},
        {TravelG, {0, 0, 0, 0}, 5, "12", {0, 0, 0, 0x90}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Trace(r.row, (std::to_string(r.column) + " '" + r.text + "'").c_str()));
        BindAngleValueRows();
        FrameDevice device(r.row);
        SetBody(device.Answer(), r.before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), BodySize), r.after);
    }
}

TEST_F(AngleLengthFrames, LengthTypedAndLengthCellRoundDifferently)
{
    // The frame cuts a whole-unit length, the grid rounds it half away from zero.
    for (int row : {BoomLengthC, TravelG}) {
        SCOPED_TRACE(row);
        ShownDevice shown(row, {0, 0, 0, 0});
        shown.device.info->GridToAnswer("10.7", 4);
        EXPECT_EQ(Length12.get(shown.device.Answer()), 11u);
        shown.frame().SecondEdit->SetText("10.7");
        shown.device.BuildAnswer();
        EXPECT_EQ(Length12.get(shown.device.Answer()), 10u);
    }
}

TEST_F(AngleLengthFrames, EmulatedAnswerRewritesTheEditOnceAndStaysPut)
{
    // Before an emulated answer the builder runs without UpdatingControls: the wrapped text
    // raises one change, and building again from the rewritten text gives the same body.
    ShownDevice shown(TravelG, {0, 0, 0, 0});
    auto& frame = shown.frame();
    {
        TUpdatingControls updating;
        frame.ANGEdit->SetText("-0.01");
        frame.SecondEdit->SetText("-1");
    }
    const int before = shown.device.changes;
    shown.device.info->FrameToAnswer();
    EXPECT_EQ(shown.device.changes, before + 2);
    const Body first = BodyOf(shown.device.Answer(), BodySize);
    shown.device.info->FrameToAnswer();
    EXPECT_EQ(shown.device.changes, before + 2) << "nothing left to wrap";
    EXPECT_EQ(BodyOf(shown.device.Answer(), BodySize), first);
    EXPECT_EQ(frame.SecondEdit->Text(), "4095");
}

TEST_F(AngleLengthFrames, CellsAreWrittenOnlyWhenTheyDiffer)
{
    ShownDevice shown(BoomLengthB, {0x01, 0x03, 0x00, 0x9F});
    shown.device.ShowAnswer();
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(shown.device.grid.Writes[column], 1) << "column " << column;
    shown.device.Answer()[4] = 0x5F;   // only the inputs change
    shown.device.ShowAnswer();
    EXPECT_EQ(shown.device.grid.Writes[4], 1);
    EXPECT_EQ(shown.device.grid.Writes[5], 2);
    EXPECT_EQ(shown.device.grid.Cell(5), "11");

    BindAngleValueRows();
    FrameDevice rowless(BoomLengthA, false);   // not in the grid yet
    rowless.Answer()[3] = 0x80;
    rowless.ShowAnswer();
    EXPECT_EQ(rowless.Frame<TBoomLengthAFrame>().LENEdit->Text(), "0.50");
}

// The fifteen single-value sensor frames on their catalogue rows: classes, control names,
// slots, and the word moved between body, frame and grid through the device's slots.
#include "frames/SingleValue.h"
#include "FrameDevice.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct ClassRow {
    const char* frameClass;
    std::vector<int> rows;
    std::vector<const char*> controls;   // the answer panel's, in their order
    int height;
    TDescribeMessage decoder;
};

const std::vector<const char*> NoInputs(const char* label, const char* edit, const char* upDown)
{
    return {label, edit, upDown};
}
std::vector<const char*> OneInput(const char* label, const char* edit, const char* upDown, const char* bevel = "Bevel1")
{
    return {label, edit, upDown, bevel, "INLabel", "IN1Label", "IN1ComboBox"};
}

const std::vector<ClassRow>& Classes()
{
    static const std::vector<ClassRow> classes = {
        {"TPressureAFrame", {7, 8, 9, 10, 11, 12}, NoInputs("PLabel", "PEdit", "PUpDown"), 62, DescribePressureAAnswer},
        {"TPressureBFrame", {33, 34}, OneInput("PLabel", "PEdit", "PUpDown"), 104, DescribePressureBAnswer},
        {"TTensionAFrame", {21}, NoInputs("FLabel", "FEdit", "FUpDown"), 62, DescribeTensionAAnswer},
        {"TTensionBFrame", {22}, OneInput("FLabel", "FEdit", "FUpDown"), 104, DescribeTensionBAnswer},
        {"TTensionCFrame", {46, 47, 48, 62, 77, 78, 79}, NoInputs("FLabel", "FEdit", "FUpDown"), 62, DescribeTensionCAnswer},
        {"TCompressionFrame", {23}, OneInput("FLabel", "FEdit", "FUpDown", "Bevel"), 104, DescribeCompressionAnswer},
        {"TWindSpeedFrame", {24}, OneInput("VLabel", "VEdit", "VUpDown"), 104, DescribeWindSpeedAnswer},
        {"TFuelLevelFrame", {49, 67}, NoInputs("FLabel", "DEdit", "FUpDown"), 62, DescribeFuelLevelAnswer},
        {"TTiltAFrame", {27, 66}, OneInput("ANGLabel", "ANGEdit", "ANGUpDown"), 104, DescribeTiltAAnswer},
        {"TTiltBFrame", {28, 36}, OneInput("ANGLabel", "ANGEdit", "ANGUpDown"), 104, DescribeTiltBAnswer},
        {"TTiltCFrame", {29, 37}, OneInput("ANGLabel", "ANGEdit", "ANGUpDown"), 104, DescribeTiltCAnswer},
        {"TTravelCFrame", {17, 18, 19, 20}, NoInputs("LLabel", "LEdit", "LUpDown"), 62, DescribeTravelCAnswer},
        {"TTravelFFrame", {40}, OneInput("LLabel", "LEdit", "LUpDown"), 104, DescribeTravelFAnswer},
        {"TLineProximityAFrame", {15},
         {"ELabel", "EEdit", "EUpDown", "Bevel1", "INLabel", "IN2Label", "IN2ComboBox", "IN3Label", "IN3ComboBox"},
         140, DescribeLineProximityAAnswer},
        {"TLineProximityCFrame", {43, 44, 45}, OneInput("ELabel", "EEdit", "EUpDown"), 104, DescribeLineProximityCAnswer},
    };
    return classes;
}

std::vector<QString> ControlNames(const QWidget* panel)
{
    std::vector<QString> names;
    for (const TControl* control : Controls(panel))
        names.push_back(control->Name());
    return names;
}
}

TEST(SingleValueFrames, EveryRowMakesItsClassWithItsControlsAndSlots)
{
    for (const ClassRow& c : Classes()) {
        for (int row : c.rows) {
            SCOPED_TRACE(std::string(c.frameClass) + " row " + std::to_string(row));
            FrameDevice device(row);
            auto& frame = device.Frame<TSingleValueFrame>();
            EXPECT_STREQ(frame.ClassName(), c.frameClass);
            EXPECT_EQ(DeviceCatalogue[row].DescribeAnswer, c.decoder);
            EXPECT_EQ(DeviceCatalogue[row].DescribeRequest, nullptr);
            EXPECT_EQ(frame.Height(), c.height);
            EXPECT_EQ(frame.Width(), 324);

            std::vector<QString> expected(c.controls.begin(), c.controls.end());
            EXPECT_EQ(ControlNames(frame.InPanel), expected);
            EXPECT_EQ(frame.Panel1, nullptr);
            EXPECT_EQ(frame.findChild<QWidget*>("OutPanel"), nullptr);

            // The answer-only pattern.
            const TDeviceInfo& info = *device.info;
            EXPECT_TRUE(info.GridToAnswer && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
            EXPECT_FALSE(info.GridToRequest || info.FrameToRequest || info.RequestToFrame || info.RequestToGrid);
            EXPECT_EQ(info.RequestPanel, nullptr);
            EXPECT_EQ(info.AnswerPanel, frame.InPanel);

            // As the description leaves them; the up-down finds its edit to the left.
            EXPECT_TRUE(frame.ValueEdit->ReadOnly());
            EXPECT_FALSE(frame.ValueUpDown->Enabled());
            EXPECT_EQ(frame.ValueUpDown->TagWidget(), frame.ValueEdit);
            EXPECT_EQ(frame.ValueEdit->Tag, frame.Model.Value.decimal() ? 2 : 0);
            for (std::size_t i = 0; i < frame.Model.Inputs.size(); ++i) {
                EXPECT_FALSE(frame.InputCombos[i]->Enabled());
                EXPECT_EQ(frame.InputCombos[i]->ItemIndex(), -1);
                EXPECT_EQ(frame.InputCombos[i]->Style(), TComboStyle::DropDownList);
            }
        }
    }
}

TEST(SingleValueFrames, NamedMembersAndCaptions)
{
    FrameDevice tilt(27);
    auto& a = tilt.Frame<TTiltAFrame>();
    EXPECT_EQ(a.ANGEdit->Name(), "ANGEdit");
    EXPECT_EQ(a.ANGUpDown->Name(), "ANGUpDown");
    EXPECT_EQ(a.ANGLabel->Caption(), "ANG, °:");
    EXPECT_EQ(a.INLabel->Caption(), "IN:");
    EXPECT_EQ(a.IN1Label->Caption(), "1");
    EXPECT_EQ(a.IN1ComboBox->Items(), (QStringList{"Свободен", "Масса"}));
    EXPECT_EQ(a.Bevel1->Name(), "Bevel1");

    FrameDevice tiltB(36);
    EXPECT_EQ(tiltB.Frame<TTiltBFrame>().IN1ComboBox->Items(), (QStringList{"Свободен", "+24 В"}));

    FrameDevice prox(15);
    auto& p = prox.Frame<TLineProximityAFrame>();
    EXPECT_EQ(p.IN2ComboBox->Name(), "IN2ComboBox");
    EXPECT_EQ(p.IN3ComboBox->Name(), "IN3ComboBox");
    EXPECT_EQ(p.IN2ComboBox->Top(), 48);
    EXPECT_EQ(p.IN3ComboBox->Top(), 84);
    EXPECT_EQ(p.IN3Label->Caption(), "3");
    EXPECT_EQ(p.ELabel->Caption(), "E, В:");
    EXPECT_EQ(p.IN3ComboBox->Items(), InputItems);

    FrameDevice compression(23);
    EXPECT_EQ(compression.Frame<TCompressionFrame>().Bevel->Name(), "Bevel");
    FrameDevice fuel(49);
    auto& f = fuel.Frame<TFuelLevelFrame>();
    EXPECT_EQ(f.DEdit->Name(), "DEdit");
    EXPECT_EQ(f.FLabel->Caption(), "D, %:");
    FrameDevice travel(40);
    EXPECT_EQ(travel.Frame<TTravelFFrame>().LLabel->Caption(), "L, ед.:");
    FrameDevice wind(24);
    EXPECT_EQ(wind.Frame<TWindSpeedFrame>().VLabel->Caption(), "V, м/с:");
}

TEST(SingleValueFrames, SlotsMoveTheWordBetweenBodyFrameAndGrid)
{
    struct Row {
        int catalogueRow;
        std::uint8_t low, high;         // the answer shown
        const char* value;              // edit and column 3
        std::vector<int> items;
        const char* inputs;             // column 5
        const char* typed;              // then the user types this
        std::vector<int> chosen;        // and chooses these
        std::uint8_t newLow, newHigh;   // the word built
    };
    const Row rows[] = {
        {27, 0x00, 0x81, "1.00", {1}, "1", "12.34", {0}, 0x57, 0x0C},
        {36, 0x00, 0x81, "1.00", {1}, "1", "1", {-1}, 0x00, 0x81},
        {7, 0x00, 0x28, "250.00", {}, "-", "1600", {}, 0x00, 0x00},
        {33, 0x00, 0xE8, "250.00", {-1}, "3", "250", {2}, 0x00, 0xA8},
        {21, 0x80, 0x00, "1.00", {}, "-", "1.5", {}, 0xC0, 0x00},
        {22, 0x0A, 0x40, "10", {1}, "1", "abc", {2}, 0x0A, 0x80},   // value kept, input rebuilt
        {77, 0x0A, 0xC0, "10", {}, "-", "11", {}, 0x0B, 0x00},
        {23, 0x2C, 0x81, "300", {1}, "1", "301", {0}, 0x2D, 0x01},
        {24, 0x7B, 0x80, "12.30", {2}, "2", "-1.26", {0}, 0xF4, 0x3F},
        {67, 0x88, 0x13, "50.00", {}, "-", "0.5", {}, 0x32, 0x00},
        {29, 0x00, 0x01, "1.00", {0}, "0", "2", {1}, 0x00, 0x82},
        {17, 0xFF, 0xFF, "65535", {}, "-", "70000", {}, 0x70, 0x11},
        {40, 0x07, 0xC0, "7", {-1}, "3", "12.5", {1}, 0x07, 0x40},   // an integer edit refuses 12.5
        {15, 0x05, 0x60, "5", {1, 2}, "21", "6", {2, 1}, 0x06, 0x90},
        {45, 0xFF, 0x43, "1023", {1}, "1", "1024", {0}, 0x00, 0x00},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("row " + std::to_string(r.catalogueRow) + " typed " + r.typed);
        FrameDevice device(r.catalogueRow);
        auto& frame = device.Frame<TSingleValueFrame>();
        device.Answer()[1] = r.low;
        device.Answer()[2] = r.high;
        device.ShowAnswer();
        EXPECT_EQ(frame.ValueEdit->Text(), r.value);
        for (std::size_t i = 0; i < r.items.size(); ++i)
            EXPECT_EQ(frame.InputCombos[i]->ItemIndex(), r.items[i]) << "input " << i;
        EXPECT_EQ(device.grid.Cell(3), r.value);
        EXPECT_EQ(device.grid.Cell(4), "-");
        EXPECT_EQ(device.grid.Cell(5), r.inputs);
        EXPECT_EQ(device.grid.Cell(6), "-");

        frame.ValueEdit->SetText(r.typed);
        EXPECT_GT(device.changes, 0) << "the edit is bound to the change handler";
        for (std::size_t i = 0; i < r.chosen.size(); ++i)
            frame.InputCombos[i]->SetItemIndex(r.chosen[i]);
        device.BuildAnswer();
        EXPECT_EQ(device.Answer()[1], r.newLow);
        EXPECT_EQ(device.Answer()[2], r.newHigh);
        EXPECT_EQ(device.Answer()[0], 0) << "the address byte belongs to the line engine";
        EXPECT_EQ(device.Answer()[3], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST(SingleValueFrames, GridEditsReachTheWordThroughTheSlot)
{
    FrameDevice tilt(27);
    tilt.Answer()[2] = 0x80;
    tilt.info->GridToAnswer("-1", 3);
    tilt.ShowAnswer();
    EXPECT_EQ(tilt.Answer()[1], 0x00);
    EXPECT_EQ(tilt.Answer()[2], 0xFF);
    EXPECT_EQ(tilt.grid.Cell(3), "127.00");
    tilt.info->GridToAnswer("", 5);   // an empty digit column clears the input
    tilt.info->GridToAnswer("9", 4);  // an unused column changes nothing
    EXPECT_EQ(tilt.Answer()[2], 0x7F);

    FrameDevice prox(15);
    prox.info->GridToAnswer("21", 5);
    prox.ShowAnswer();
    EXPECT_EQ(prox.grid.Cell(5), "21");
    EXPECT_EQ(prox.Frame<TLineProximityAFrame>().IN2ComboBox->Text(), "+24 В");
    EXPECT_EQ(prox.Frame<TLineProximityAFrame>().IN3ComboBox->Text(), "Масса");
    EXPECT_EQ(DeviceCatalogue[15].DescribeAnswer(prox.Answer().data()), "E=0, IN3-2=21");
}

TEST(SingleValueFrames, CellsAreWrittenOnlyWhenTheyDiffer)
{
    FrameDevice device(27);
    device.Answer()[2] = 0x81;
    device.ShowAnswer();
    device.ShowAnswer();
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(device.grid.Writes[column], 1) << "column " << column;
    device.Answer()[1] = 0x80;   // the value changes, the input does not
    device.ShowAnswer();
    EXPECT_EQ(device.grid.Writes[3], 2);
    EXPECT_EQ(device.grid.Writes[5], 1);
    EXPECT_EQ(device.grid.Cell(3), "1.50");

    FrameDevice rowless(27, false);   // not yet in the grid
    rowless.Answer()[2] = 0x81;
    rowless.ShowAnswer();
    EXPECT_EQ(rowless.Frame<TTiltAFrame>().ANGEdit->Text(), "1.00");
}

TEST(SingleValueFrames, NewFrameBuildsFromItsEmptyControls)
{
    // Before the first display: an empty edit keeps the value bits, a two-item combo without
    // selection sets its bit, a three-item one adds nothing.
    FrameDevice tilt(27);
    tilt.Answer()[1] = 0x34;
    tilt.Answer()[2] = 0x12;
    tilt.BuildAnswer();
    EXPECT_EQ(tilt.Answer()[1], 0x34);
    EXPECT_EQ(tilt.Answer()[2], 0x92);
    EXPECT_EQ(tilt.grid.Cell(5), "1");

    FrameDevice pressure(33);
    pressure.Answer()[2] = 0xE8;
    pressure.BuildAnswer();
    EXPECT_EQ(pressure.Answer()[2], 0x28);
}

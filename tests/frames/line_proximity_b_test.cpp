// The switched power-line proximity sensor: four outputs in the request, field strength, angle
// and three inputs in the answer, between body, frame, grid and info line.
#include "IoFrames.h"

namespace {
constexpr int LineProx2Row = 16;

struct Device : FrameDevice {
    Device() : FrameDevice((BindSwitchedBlockFrames(), LineProx2Row)) {}
    TLineProximityBFrame& frame() { return Frame<TLineProximityBFrame>(); }
};

std::vector<int> Items(const TLineProximityBFrame& f)
{
    return {f.InCombos[0]->ItemIndex(), f.InCombos[1]->ItemIndex(), f.InCombos[2]->ItemIndex()};
}
}

TEST(LineProximityBFrame, RowMakesTheFrameWithBothSides)
{
    Device device;
    auto& f = device.frame();
    EXPECT_STREQ(f.ClassName(), "TLineProximityBFrame");
    EXPECT_EQ(DeviceCatalogue[LineProx2Row].DescribeRequest, DescribeLineProximityBRequest);
    EXPECT_EQ(DeviceCatalogue[LineProx2Row].DescribeAnswer, DescribeLineProximityBAnswer);
    ExpectRequestAndAnswerSlots(device, f.OutPanel, f.InPanel);
    ExpectSideWaitsForData(f.OutPanel);
    ExpectSideWaitsForData(f.InPanel);

    EXPECT_EQ(ControlNames(f.OutPanel),
              (std::vector<std::string>{"OUTLabel", "OUT4Label", "OUT4CheckBox", "OUT3CheckBox", "OUT2CheckBox",
                                        "OUT1CheckBox", "OUT1Label"}));
    EXPECT_EQ(ControlNames(f.InPanel),
              (std::vector<std::string>{"ELabel", "EEdit", "EUpDown", "ANGLabel", "ANGEdit", "ANGUpDown", "Bevel1",
                                        "INLabel", "IN1Label", "IN1ComboBox", "IN2Label", "IN2ComboBox", "IN3Label",
                                        "IN3ComboBox"}));
    EXPECT_EQ(f.OUTLabel->Caption(), "OUT:");
    EXPECT_EQ(f.OUT4Label->Caption(), "4");
    EXPECT_EQ(f.ELabel->Caption(), "E, В:");
    EXPECT_EQ(f.ANGLabel->Caption(), "ANG, °:");
    EXPECT_EQ(f.INLabel->Caption(), "IN:");
    EXPECT_EQ(f.EEdit->Tag, EditUInt);
    EXPECT_EQ(f.ANGEdit->Tag, EditUFloat);
    EXPECT_EQ(f.EUpDown->TagWidget(), f.EEdit);
    EXPECT_EQ(f.ANGUpDown->TagWidget(), f.ANGEdit);
    EXPECT_EQ(f.InCombos[0]->Items(), GroundInputItems);
    EXPECT_EQ(f.InCombos[1]->Items(), InputItems);
    EXPECT_EQ(f.InCombos[2]->Items(), InputItems);
}

TEST(LineProximityBFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Bytes body;
        const char* e;
        const char* ang;
        std::vector<int> items;
        const char* column5;
        const char* info;
    };
    const Row rows[] = {
        {{0xFF, 0x6F, 0x00, 0x2D}, "4095", "45.00", {0, 1, 2}, "210", "E=4095, ANG=45.00, IN3-1=210"},
        // Code 3 of IN2 and IN3 shows empty combos and the digits 3.
        {{0x00, 0xF0, 0xFD, 0xFF}, "0", "127.99", {1, -1, -1}, "332", "E=0, ANG=127.99, IN3-1=332"},
        {{0x34, 0x02, 0x80, 0x00}, "564", "0.50", {0, 0, 0}, "000", "E=564, ANG=0.50, IN3-1=000"},
    };
    for (const Row& r : rows) {
        Device device;
        auto& f = device.frame();
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        SCOPED_TRACE(r.info);
        EXPECT_EQ(f.EEdit->Text(), r.e);
        EXPECT_EQ(f.ANGEdit->Text(), r.ang);
        EXPECT_EQ(Items(f), r.items);
        EXPECT_EQ(device.grid.Cell(3), r.e);
        EXPECT_EQ(device.grid.Cell(4), r.ang);
        EXPECT_EQ(device.grid.Cell(5), r.column5);
        EXPECT_EQ(device.grid.Cell(6), "-");
        EXPECT_EQ(DescribeLineProximityBAnswer(Message(0x28, r.body).data()), r.info);
    }
}

TEST(LineProximityBFrame, ControlsBuildTheAnswer)
{
    struct Row { const char* e; const char* ang; std::vector<int> items; Bytes after; };
    const Row rows[] = {
        {"4095", "45", {0, 1, 2}, {0xFF, 0x6F, 0x00, 0x2D}},            // ANG 45 is 11520
        {"4096", "128", {-1, -1, -1}, {0x00, 0x00, 0x00, 0x80}},       // cut to 0; no IN1 item sets IN1
        {"1", "127.99", {0, 0, 0}, {0x01, 0x00, 0xFD, 0x7F}},           // 32765
        // Unconverted: E keeps byte 1 and byte 2 bits 0-3, ANG its word; the inputs are rebuilt.
        {"x", "y", {1, 2, 0}, {0xAB, 0x8D, 0x12, 0xB4}},
        {"", "", {0, 0, 0}, {0xAB, 0x0D, 0x12, 0x34}},
    };
    for (const Row& r : rows) {
        Device device;
        auto& f = device.frame();
        SetBody(device.Answer(), {0xAB, 0xCD, 0x12, 0x34});
        f.EEdit->SetText(r.e);
        f.ANGEdit->SetText(r.ang);
        for (std::size_t i = 0; i < 3; ++i)
            f.InCombos[i]->SetItemIndex(r.items[i]);
        device.BuildAnswer();
        EXPECT_EQ(Body(device.Answer(), 4), r.after) << r.e << " " << r.ang;
    }

    // ANG 127.99 comes back as typed, 128 as 0.00.
    for (const auto& [typed, shown] : {std::pair{"127.99", "127.99"}, std::pair{"128", "0.00"}}) {
        Device device;
        device.frame().ANGEdit->SetText(typed);
        device.BuildAnswer();
        device.ShowAnswer();
        EXPECT_EQ(device.frame().ANGEdit->Text(), shown);
    }
}

TEST(LineProximityBFrame, GridCellsEditTheAnswer)
{
    struct Row { int column; const char* text; Bytes after; };
    const Bytes before = {0xAB, 0xCD, 0x12, 0xB4};
    const Row rows[] = {
        {3, "4095", {0xFF, 0xCF, 0x12, 0xB4}},   // IN2 and IN3 stay
        {3, "-1", {0xFF, 0xCF, 0x12, 0xB4}},
        {3, "4096", {0x00, 0xC0, 0x12, 0xB4}},
        {3, "x", before},
        {4, "45", {0xAB, 0xCD, 0x00, 0xAD}},     // IN1 stays
        {4, "0.5", {0xAB, 0xCD, 0x80, 0x80}},
        {4, "", before},
        {5, "212", {0xAB, 0x6D, 0x12, 0xB4}},
        {5, "210", {0xAB, 0x6D, 0x12, 0x34}},
        {5, "0", {0xAB, 0x0D, 0x12, 0x34}},
        {5, "31", {0xAB, 0x0D, 0x12, 0xB4}},     // '3' ends the digits
        {6, "1", before},
    };
    for (const Row& r : rows) {
        Device device;
        SetBody(device.Answer(), before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(Body(device.Answer(), 4), r.after) << r.column << " '" << r.text << "'";
    }
}

TEST(LineProximityBFrame, RequestSwitchesFourOutputs)
{
    Device device;
    auto& f = device.frame();
    device.object.Request[1] = 0x5A;
    ShowRequest(device);
    EXPECT_EQ(device.grid.Cell(2), "1010");
    EXPECT_EQ(DescribeLineProximityBRequest(Message(0x28, {0x5A}).data()), "OUT4-1=1010");
    EXPECT_EQ((std::vector<bool>{f.OutBoxes[0]->Checked(), f.OutBoxes[1]->Checked(), f.OutBoxes[2]->Checked(),
                                 f.OutBoxes[3]->Checked()}),
              (std::vector<bool>{false, true, false, true}));

    device.object.Request[1] = 0xF0;
    f.OutBoxes[0]->SetChecked(true);
    f.OutBoxes[1]->SetChecked(false);
    f.OutBoxes[2]->SetChecked(false);
    f.OutBoxes[3]->SetChecked(true);
    BuildRequest(device);
    EXPECT_EQ(device.object.Request[1], 0x09) << "bits 4-7 are 0 when built from the frame";
    EXPECT_EQ(device.grid.Cell(2), "1001");

    struct Cell { const char* text; std::uint8_t after; };
    for (const Cell& c : {Cell{"1111", 0xFF}, Cell{"", 0xF0}, Cell{"0101", 0xF5}, Cell{"2", 0xF0}}) {
        device.object.Request[1] = 0xF0;
        device.info->GridToRequest(c.text, 2);
        EXPECT_EQ(device.object.Request[1], c.after) << "'" << c.text << "'";
    }
}

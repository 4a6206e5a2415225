// The three switched input/output block frames on their catalogue rows: controls, slots, and
// the outputs, output states, inputs and values moved between body, frame, grid and info line.
#include "IoFrames.h"

namespace {
constexpr int IoBlock1Row = 5, IoBlock3Row = 65, IoBlockCRow = 41, IoBlockDRow = 42;

struct Device : FrameDevice {
    explicit Device(int row) : FrameDevice((BindSwitchedBlockFrames(), row)) {}
};

void SetItems(std::span<TComboBox* const> combos, const std::vector<int>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        combos[i]->SetItemIndex(items[i]);
}
std::vector<int> Items(std::span<TComboBox* const> combos)
{
    std::vector<int> items;
    for (const TComboBox* combo : combos)
        items.push_back(combo->ItemIndex());
    return items;
}
std::vector<bool> Checked(std::span<TCheckBox* const> boxes)
{
    std::vector<bool> checked;
    for (const TCheckBox* box : boxes)
        checked.push_back(box->Checked());
    return checked;
}
void Check(std::span<TCheckBox* const> boxes, const std::vector<bool>& checked)
{
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->SetChecked(checked[i]);
}
}

// ---------------------------------------------------------------------------------------------
// Frames, controls and slots

TEST(IoBlockFrames, RowsMakeTheirClassesWithBothSides)
{
    struct Row { int row; const char* frameClass; TDescribeMessage request, answer; };
    const Row rows[] = {
        {IoBlock1Row, "TIoBlockBFrame", DescribeIoBlockBRequest, DescribeIoBlockBAnswer},
        {IoBlock3Row, "TIoBlockBFrame", DescribeIoBlockBRequest, DescribeIoBlockBAnswer},
        {IoBlockCRow, "TIoBlockCFrame", DescribeIoBlockCRequest, DescribeIoBlockCAnswer},
        {IoBlockDRow, "TIoBlockDFrame", DescribeIoBlockDRequest, DescribeIoBlockDAnswer},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.row);
        Device device(r.row);
        auto& frame = device.Frame<TFrameBase>();
        EXPECT_STREQ(frame.ClassName(), r.frameClass);
        EXPECT_EQ(frame.Width(), 324);
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeRequest, r.request);
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeAnswer, r.answer);
        ExpectRequestAndAnswerSlots(device, frame.OutPanel, frame.InPanel);
        ExpectSideWaitsForData(frame.OutPanel);
        ExpectSideWaitsForData(frame.InPanel);
        // Every up-down steps the edit under its left edge.
        for (QWidget* panel : {static_cast<QWidget*>(frame.OutPanel), static_cast<QWidget*>(frame.InPanel)}) {
            for (TControl* control : Controls(panel)) {
                if (auto* upDown = dynamic_cast<TUpDown*>(control->Widget())) {
                    EXPECT_NE(dynamic_cast<TEdit*>(upDown->TagWidget()), nullptr) << control->Name().toStdString();
                }
            }
        }
    }
}

TEST(IoBlockFrames, ControlsCarryTheirNamesCaptionsAndItems)
{
    {
        Device device(IoBlock1Row);
        auto& f = device.Frame<TIoBlockBFrame>();
        EXPECT_EQ(ControlNames(f.OutPanel),
                  (std::vector<std::string>{"OUTLabel", "OUT6Label", "OUT8CheckBox", "OUT7CheckBox", "OUT6CheckBox",
                                            "OUT5CheckBox", "OUT4CheckBox", "OUT3CheckBox", "OUT2CheckBox",
                                            "OUT1CheckBox", "OUT1Label"}));
        EXPECT_EQ(ControlNames(f.InPanel),
                  (std::vector<std::string>{"TTLabel", "T1Label", "T1Edit", "T1UpDown", "T2Label", "T2Edit", "T2UpDown",
                                            "PLabel", "P1Label", "P1Edit", "P1UpDown", "P2Label", "P2Edit", "P2UpDown",
                                            "Bevel1", "OUTLabel_", "OUT1Label_", "OUT1ComboBox", "OUT2Label_",
                                            "OUT2ComboBox", "OUT3Label_", "OUT3ComboBox", "OUT4Label_", "OUT4ComboBox",
                                            "OUT5Label_", "OUT5ComboBox", "OUT6Label_", "OUT6ComboBox"}));
        EXPECT_EQ(f.OUT6Label->Caption(), "8");
        EXPECT_EQ(f.OUT1Label->Caption(), "1");
        EXPECT_EQ(f.TTLabel->Caption(), "T, °C:");
        EXPECT_EQ(f.PLabel->Caption(), "P, МПа:");
        EXPECT_EQ(f.OutLabels_[5]->Caption(), "6");
        EXPECT_EQ(f.T1Edit->Tag, EditUInt);
        EXPECT_EQ(f.P2Edit->Tag, EditUFloat);
        EXPECT_EQ(f.P2UpDown->TagWidget(), f.P2Edit);
        EXPECT_EQ(f.OutBoxes[7]->Name(), "OUT8CheckBox");
        for (const TComboBox* combo : f.OutCombos) {
            EXPECT_EQ(combo->Items(), OutputStateItems);
            EXPECT_EQ(combo->Style(), TComboStyle::DropDownList);
        }
    }
    {
        Device device(IoBlockCRow);
        auto& f = device.Frame<TIoBlockCFrame>();
        const std::vector<std::string> out = ControlNames(f.OutPanel);
        EXPECT_EQ(std::vector<std::string>(out.begin(), out.begin() + 3),
                  (std::vector<std::string>{"OUTLabel", "OUT9Label", "OUT9CheckBox"}));
        EXPECT_EQ(std::vector<std::string>(out.end() - 6, out.end()),
                  (std::vector<std::string>{"OUT1CheckBox", "OUT1Label", "PWMLabel1", "PWMEdit", "PWMUpDown",
                                            "PWMLabel2"}));
        EXPECT_EQ(f.OUT9Label->Caption(), "9");
        EXPECT_EQ(f.PWMLabel1->Caption(), "PWM:");
        EXPECT_EQ(f.PWMLabel2->Caption(), "%");
        EXPECT_EQ(f.PWMUpDown->TagWidget(), f.PWMEdit);
        EXPECT_EQ(ControlNames(f.InPanel),
                  (std::vector<std::string>{"OUTLabel_", "OUT1Label_", "OUT1ComboBox", "OUT2Label_", "OUT2ComboBox",
                                            "OUT3Label_", "OUT3ComboBox", "OUT4Label_", "OUT4ComboBox", "OUT5Label_",
                                            "OUT5ComboBox"}));
    }
    {
        Device device(IoBlockDRow);
        auto& f = device.Frame<TIoBlockDFrame>();
        EXPECT_EQ(ControlNames(f.OutPanel),
                  (std::vector<std::string>{"OUTLabel", "OUT2Label", "OUT2CheckBox", "OUT1CheckBox", "OUT1Label"}));
        EXPECT_EQ(ControlNames(f.InPanel),
                  (std::vector<std::string>{"FLabel", "FEdit", "FUpDown", "FLLabel", "FLEdit", "FLUpDown", "Bevel",
                                            "INLabel", "IN1Label", "IN1ComboBox", "IN2Label", "IN2ComboBox",
                                            "IN3Label", "IN3ComboBox", "IN4Label", "IN4ComboBox", "IN5Label",
                                            "IN5ComboBox", "IN6Label", "IN6ComboBox"}));
        EXPECT_EQ(f.FLabel->Caption(), "F, Гц:");
        EXPECT_EQ(f.FLLabel->Caption(), "FL, %:");
        EXPECT_EQ(f.FLUpDown->TagWidget(), f.FLEdit);
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_EQ(f.InCombos[i]->Items(), i < 4 ? InputItems : GroundInputItems) << i;
    }
}

// ---------------------------------------------------------------------------------------------
// TIoBlockBFrame

TEST(IoBlockBFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Bytes body;
        std::vector<QString> edits;   // T1, T2, P1, P2
        std::vector<int> items;       // OUT1..OUT6
        const char* column6;
        const char* info;
    };
    const Row rows[] = {
        {{25, 200, 0xFF, 0x05, 0xD1, 0x65}, {"25", "200", "12.70", "0.50"}, {4, -1, 1, 2, 1, 6}, "71 2145",
         "T1=25, T2=200, P1=12.70, P2=0.50, OUT6-1=71 2145"},
        {{0, 0, 0, 0, 0, 0}, {"0", "0", "0.00", "0.00"}, {0, 0, 0, 0, 0, 0}, "00 0000",
         "T1=0, T2=0, P1=0.00, P2=0.00, OUT6-1=00 0000"},
        // Bit 7 of the pressure bytes is bit 2 of OUT6 and OUT5, not pressure.
        {{255, 0, 0x80, 0x80, 0x00, 0xC0}, {"255", "0", "0.00", "0.00"}, {0, 0, 0, 0, 6, -1}, "47 0000",
         "T1=255, T2=0, P1=0.00, P2=0.00, OUT6-1=47 0000"},
    };
    for (const Row& r : rows) {
        Device device(IoBlock1Row);
        auto& f = device.Frame<TIoBlockBFrame>();
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        SCOPED_TRACE(r.info);
        EXPECT_EQ((std::vector<QString>{f.T1Edit->Text(), f.T2Edit->Text(), f.P1Edit->Text(), f.P2Edit->Text()}),
                  r.edits);
        EXPECT_EQ(Items(f.OutCombos), r.items);
        EXPECT_EQ(device.grid.Cell(3), r.edits[0]);
        EXPECT_EQ(device.grid.Cell(4), r.edits[1]);
        EXPECT_EQ(device.grid.Cell(5), "-");
        EXPECT_EQ(device.grid.Cell(6), r.column6);
        EXPECT_EQ(DescribeIoBlockBAnswer(Message(0x33, r.body).data()), r.info);
    }
}

TEST(IoBlockBFrame, ControlsBuildTheAnswer)
{
    struct Row {
        std::vector<QString> edits;   // T1, T2, P1, P2
        std::vector<int> items;       // OUT1..OUT6
        Bytes before, after;
    };
    const Row rows[] = {
        // "Вкл., превышен ток" is code 5, no selection code 0; OUT6 code 7 lifts bit 7 of P1's byte.
        {{"25", "200", "12.7", "0.5"}, {4, -1, 1, 2, 1, 6}, Bytes(6, 0xEE), {25, 200, 0xFF, 0x05, 0xD1, 0x45}},
        // Out of range values are cut to their fields; an unconverted P2 keeps its bits and still
        // carries OUT5's bit 2.
        {{"300", "-1", "12.8", "x"}, {0, 0, 0, 0, 6, 0}, Bytes(6, 0x11), {44, 255, 0x00, 0x91, 0x00, 0xC0}},
        // Unconverted temperatures keep their bytes; -1.26 rounds toward zero after the half.
        {{"", "abc", "-1.26", "0.04"}, {-1, -1, -1, -1, -1, -1}, Bytes(6, 0x11), {0x11, 0x11, 0x74, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        Device device(IoBlock1Row);
        auto& f = device.Frame<TIoBlockBFrame>();
        SetBody(device.Answer(), r.before);
        f.T1Edit->SetText(r.edits[0]);
        f.T2Edit->SetText(r.edits[1]);
        f.P1Edit->SetText(r.edits[2]);
        f.P2Edit->SetText(r.edits[3]);
        SetItems(f.OutCombos, r.items);
        device.BuildAnswer();
        EXPECT_EQ(Body(device.Answer(), 6), r.after) << r.edits[0].toStdString();
        EXPECT_EQ(device.Answer()[7], 0) << "the XOR byte belongs to the line engine";
    }
    // A P2 of 12.7 comes back as 12.70.
    Device device(IoBlock1Row);
    auto& f = device.Frame<TIoBlockBFrame>();
    f.P2Edit->SetText("12.7");
    device.BuildAnswer();
    EXPECT_EQ(device.Answer()[4] & 0x7F, 127);
    device.ShowAnswer();
    EXPECT_EQ(f.P2Edit->Text(), "12.70");
}

TEST(IoBlockBFrame, GridCellsEditTheAnswer)
{
    struct Row { int column; const char* text; Bytes after; };
    const Bytes before = {0x11, 0x22, 0xB3, 0xC4, 0x55, 0x66};
    const Row rows[] = {
        {3, "7.5", {8, 0x22, 0xB3, 0xC4, 0x55, 0x66}},    // half away from zero
        {3, "300", {44, 0x22, 0xB3, 0xC4, 0x55, 0x66}},
        {3, "x", before},
        {4, "-1", {0x11, 255, 0xB3, 0xC4, 0x55, 0x66}},
        // The pressures keep their bits 0-6.
        {6, "71 2145", {0x11, 0x22, 0xB3, 0x44, 0xD1, 0x65}},
        {6, "", {0x11, 0x22, 0x33, 0x44, 0x00, 0x00}},
        // '8' is no octal digit: the outputs left of it get code 0.
        {6, "98 0001", {0x11, 0x22, 0x33, 0x44, 0x00, 0x01}},
        // A digit 4 is stored as the raw code 4.
        {6, "4", {0x11, 0x22, 0x33, 0x44, 0x00, 0x04}},
        {5, "1", before},
        {2, "1", before},
    };
    for (const Row& r : rows) {
        Device device(IoBlock3Row);
        SetBody(device.Answer(), before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(Body(device.Answer(), 6), r.after) << r.column << " '" << r.text << "'";
    }
}

TEST(IoBlockBFrame, RequestSwitchesEightOutputs)
{
    struct Show { std::uint8_t byte; const char* column2; const char* info; };
    for (const Show& s : {Show{0xA5, "1010 0101", "OUT8-1=1010 0101"}, Show{0x00, "0000 0000", "OUT8-1=0000 0000"}}) {
        Device device(IoBlock1Row);
        auto& f = device.Frame<TIoBlockBFrame>();
        device.object.Request[1] = s.byte;
        ShowRequest(device);
        EXPECT_EQ(device.grid.Cell(2), s.column2);
        EXPECT_EQ(DescribeIoBlockBRequest(Message(0xF3, {s.byte}).data()), s.info);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(f.OutBoxes[static_cast<std::size_t>(k)]->Checked(), ((s.byte >> k) & 1) != 0) << k;
    }

    Device device(IoBlock1Row);
    auto& f = device.Frame<TIoBlockBFrame>();
    Check(f.OutBoxes, {true, false, false, false, false, false, false, true});
    BuildRequest(device);
    EXPECT_EQ(device.object.Request[1], 0x81);
    EXPECT_EQ(device.grid.Cell(2), "1000 0001");

    struct Cell { const char* text; std::uint8_t after; };
    for (const Cell& c : {Cell{"1000 0001", 0x81}, Cell{"", 0x00}, Cell{"11", 0x03}, Cell{"12", 0x00}}) {
        device.object.Request[1] = 0xF0;
        device.info->GridToRequest(c.text, 2);
        EXPECT_EQ(device.object.Request[1], c.after) << c.text;
    }
}

// ---------------------------------------------------------------------------------------------
// TIoBlockCFrame

TEST(IoBlockCFrame, RequestCarriesNineOutputsAndPwm)
{
    struct Show { Bytes body; std::vector<bool> boxes; const char* pwm; const char* column2; const char* info; };
    const Show shows[] = {
        {{0x81, 0xF9}, {true, true, false, false, false, false, false, false, true}, "31", "0000 0011",
         "PWM=31, OUT9-1=1 0000 0011"},
        // Bits 1-2 of byte 2 belong to nothing.
        {{0x7F, 0x06}, {false, true, true, true, true, true, true, true, false}, "0", "1111 1110",
         "PWM=0, OUT9-1=0 1111 1110"},
    };
    for (const Show& s : shows) {
        Device device(IoBlockCRow);
        auto& f = device.Frame<TIoBlockCFrame>();
        SetBody(device.object.Request, s.body);
        ShowRequest(device);
        EXPECT_EQ(Checked(f.OutBoxes), s.boxes) << s.info;
        EXPECT_EQ(f.PWMEdit->Text(), s.pwm);
        EXPECT_EQ(device.grid.Cell(2), s.column2);
        EXPECT_EQ(DescribeIoBlockCRequest(Message(0xB5, s.body).data()), s.info);
    }

    struct Build { std::vector<bool> boxes; const char* pwm; Bytes after; };
    const Build builds[] = {
        {{true, false, false, false, false, false, false, false, false}, "31", {0x00, 0xF9}},
        {{false, false, false, false, false, false, false, false, true}, "32", {0x80, 0x00}},   // PWM 32 is 0
        // An unconverted PWM keeps its bits; bits 1-2 are cleared.
        {{true, true, false, false, false, false, false, false, false}, "x", {0x01, 0xA9}},
    };
    for (const Build& b : builds) {
        Device device(IoBlockCRow);
        auto& f = device.Frame<TIoBlockCFrame>();
        SetBody(device.object.Request, {0xEE, 0xAE});
        Check(f.OutBoxes, b.boxes);
        f.PWMEdit->SetText(b.pwm);
        BuildRequest(device);
        EXPECT_EQ(Body(device.object.Request, 2), b.after) << b.pwm;
    }

    // The cell holds OUT8..OUT1: OUT9 and the PWM bits stay as they are.
    struct Cell { const char* text; Bytes after; };
    const Cell cells[] = {{"1111 1111", {0xFF, 0xAF}}, {"", {0x80, 0xAE}}, {"10", {0x81, 0xAE}}, {"1", {0x80, 0xAF}}};
    for (const Cell& c : cells) {
        Device device(IoBlockCRow);
        SetBody(device.object.Request, {0x80, 0xAE});
        device.info->GridToRequest(c.text, 2);
        EXPECT_EQ(Body(device.object.Request, 2), c.after) << c.text;
    }
}

TEST(IoBlockCFrame, AnswerCarriesFiveOutputStates)
{
    struct Show { Bytes body; std::vector<int> items; const char* column6; const char* info; };
    const Show shows[] = {
        {{0xB7, 0xD5}, {4, 2, 6, 4, 4}, "5 5725", "OUT5-1=5 5725"},
        {{0x10, 0x00}, {0, 0, 0, -1, 0}, "0 4000", "OUT5-1=0 4000"},   // code 4 has no item
    };
    for (const Show& s : shows) {
        Device device(IoBlockCRow);
        auto& f = device.Frame<TIoBlockCFrame>();
        SetBody(device.Answer(), s.body);
        device.ShowAnswer();
        EXPECT_EQ(Items(f.OutCombos), s.items) << s.info;
        EXPECT_EQ(device.grid.Cell(3), "-");
        EXPECT_EQ(device.grid.Cell(4), "-");
        EXPECT_EQ(device.grid.Cell(5), "-");
        EXPECT_EQ(device.grid.Cell(6), s.column6);
        EXPECT_EQ(DescribeIoBlockCAnswer(Message(0xB5, s.body).data()), s.info);
    }

    struct Build { std::vector<int> items; Bytes after; };
    for (const Build& b : {Build{{4, 2, 6, 4, 4}, {0xB7, 0x55}}, Build{{-1, -1, -1, -1, -1}, {0x00, 0x00}}}) {
        Device device(IoBlockCRow);
        SetBody(device.Answer(), {0xFF, 0xFF});
        SetItems(device.Frame<TIoBlockCFrame>().OutCombos, b.items);
        device.BuildAnswer();
        EXPECT_EQ(Body(device.Answer(), 2), b.after);
    }

    // Byte 2 bit 7 belongs to no output: a grid edit keeps it.
    struct Cell { int column; const char* text; Bytes after; };
    const Cell cells[] = {{6, "5 5725", {0xB7, 0xD5}}, {6, "", {0x00, 0x80}}, {3, "1", {0xFF, 0xFF}}};
    for (const Cell& c : cells) {
        Device device(IoBlockCRow);
        SetBody(device.Answer(), {0xFF, 0xFF});
        device.info->GridToAnswer(c.text, c.column);
        EXPECT_EQ(Body(device.Answer(), 2), c.after) << c.text;
    }
}

// ---------------------------------------------------------------------------------------------
// TIoBlockDFrame

TEST(IoBlockDFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Bytes body;
        const char* f;
        const char* fl;
        std::vector<int> items;
        const char* column5;
        const char* info;
    };
    const Row rows[] = {
        {{0x24, 0x1F, 0xFF, 0xE4}, "4095", "100", {0, 1, 2, 0, 1, 1}, "22 0210", "F=4095, FL=100, IN6-1=22 0210"},
        // Code 3 shows no item; bits 5-7 of byte 2 belong to nothing.
        {{0xFF, 0xE0, 0x00, 0x7F}, "0", "127", {-1, -1, -1, -1, 0, 0}, "00 3333", "F=0, FL=127, IN6-1=00 3333"},
    };
    for (const Row& r : rows) {
        Device device(IoBlockDRow);
        auto& f = device.Frame<TIoBlockDFrame>();
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        SCOPED_TRACE(r.info);
        EXPECT_EQ(f.FEdit->Text(), r.f);
        EXPECT_EQ(f.FLEdit->Text(), r.fl);
        EXPECT_EQ(Items(f.InCombos), r.items);
        EXPECT_EQ(device.grid.Cell(3), r.f);
        EXPECT_EQ(device.grid.Cell(4), r.fl);
        EXPECT_EQ(device.grid.Cell(5), r.column5);
        EXPECT_EQ(device.grid.Cell(6), "-");
        EXPECT_EQ(DescribeIoBlockDAnswer(Message(0xF6, r.body).data()), r.info);
    }
}

TEST(IoBlockDFrame, ControlsBuildTheAnswer)
{
    struct Row { const char* f; const char* fl; std::vector<int> items; Bytes after; };
    const Row rows[] = {
        {"4095", "100", {0, 2, 1, 0, 1, 1}, {0x18, 0x1F, 0xFF, 0xE4}},
        // Cut to the fields; a one-bit input without a selection is set.
        {"4096", "128", {-1, -1, -1, -1, -1, -1}, {0x00, 0x10, 0x00, 0x80}},
        // Unconverted: F keeps byte 2 bits 0-3 and byte 3, FL its bits 0-6.
        {"x", "y", {0, 0, 0, 0, 0, 0}, {0x00, 0x0B, 0x77, 0x45}},
        {"-1", "5", {2, 2, 2, 2, 0, 1}, {0xAA, 0x1F, 0xFF, 0x05}},
    };
    for (const Row& r : rows) {
        Device device(IoBlockDRow);
        auto& f = device.Frame<TIoBlockDFrame>();
        SetBody(device.Answer(), {0xAA, 0xEB, 0x77, 0xC5});
        f.FEdit->SetText(r.f);
        f.FLEdit->SetText(r.fl);
        SetItems(f.InCombos, r.items);
        device.BuildAnswer();
        EXPECT_EQ(Body(device.Answer(), 4), r.after) << r.f << " " << r.fl;
    }
}

TEST(IoBlockDFrame, GridCellsEditTheAnswer)
{
    struct Row { int column; const char* text; Bytes after; };
    const Bytes before = {0xAA, 0xEB, 0x77, 0xC5};
    const Row rows[] = {
        {3, "4095", {0xAA, 0xEF, 0xFF, 0xC5}},   // bits 4-7 of byte 2 stay
        {3, "4096", {0xAA, 0xE0, 0x00, 0xC5}},
        {3, "17.5", {0xAA, 0xE2, 0x01, 0xC5}},
        {3, "", before},
        {4, "100", {0xAA, 0xEB, 0x77, 0xE4}},    // IN5 stays
        {4, "-1", {0xAA, 0xEB, 0x77, 0xFF}},
        {5, "21 0120", {0x18, 0xFB, 0x77, 0xC5}},
        {5, "0", {0x00, 0xEB, 0x77, 0x45}},
        {5, "13 2", {0x02, 0xEB, 0x77, 0x45}},   // '3' ends the digits
        {6, "1", before},
    };
    for (const Row& r : rows) {
        Device device(IoBlockDRow);
        SetBody(device.Answer(), before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(Body(device.Answer(), 4), r.after) << r.column << " '" << r.text << "'";
    }
}

TEST(IoBlockDFrame, RequestSwitchesTwoOutputs)
{
    Device device(IoBlockDRow);
    auto& f = device.Frame<TIoBlockDFrame>();
    device.object.Request[1] = 0xFE;
    ShowRequest(device);
    EXPECT_EQ(device.grid.Cell(2), "10");
    EXPECT_TRUE(f.OUT2CheckBox->Checked());
    EXPECT_FALSE(f.OUT1CheckBox->Checked());
    EXPECT_EQ(DescribeIoBlockDRequest(Message(0xF6, {0xFE}).data()), "OUT2-1=10");

    f.OUT1CheckBox->SetChecked(true);
    BuildRequest(device);
    EXPECT_EQ(device.object.Request[1], 0x03) << "bits 2-7 are 0 when built from the frame";

    device.object.Request[1] = 0xF0;
    device.info->GridToRequest("01", 2);
    EXPECT_EQ(device.object.Request[1], 0xF1) << "a grid edit keeps bits 2-7";
}

TEST(IoBlockFrames, CellsAreWrittenOnlyWhenTheyDiffer)
{
    Device device(IoBlock1Row);
    SetBody(device.Answer(), {1, 2, 3, 4, 5, 6});
    device.ShowAnswer();
    device.ShowAnswer();
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(device.grid.Writes[column], 1) << column;
    device.Answer()[6] = 0;   // OUT1 and OUT2 change
    device.ShowAnswer();
    EXPECT_EQ(device.grid.Writes[3], 1);
    EXPECT_EQ(device.grid.Writes[6], 2);
}

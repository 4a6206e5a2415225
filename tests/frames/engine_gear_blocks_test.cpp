// The engine block and the transmission block: their shared request byte of two outputs, and
// each answer moved between body, frame, grid and info line through the device's slots.
#include "frames/EngineBlock.h"
#include "frames/Fields.h"
#include "frames/GearBlockB.h"
#include "AnswerFrameChecks.h"

#include <gtest/gtest.h>

namespace {
constexpr int EngineRow = 0;
constexpr int GearRow = 2;
constexpr int BothRows[] = {EngineRow, GearRow};

void BindBlockUnits()
{
    BindAfterStart([] {
        RegisterEngineBlockFrames();
        RegisterGearBlockBFrames();
    });
}

struct Device : FrameDevice {
    explicit Device(int row) : FrameDevice((BindBlockUnits(), row)) {}
    TTwoOutputBlockFrame& Block() { return Frame<TTwoOutputBlockFrame>(); }
    std::vector<QString> Cells() const { return {grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}; }
    void ShowRequest()
    {
        TUpdatingControls updating;
        info->RequestToGrid();
        info->RequestToFrame();
    }
};

std::string Hex(const Body& body)
{
    std::string text;
    for (std::uint8_t b : body) {
        char part[4];
        std::snprintf(part, sizeof part, "%02X ", b);
        text += part;
    }
    return text;
}

void ExpectAllSlots(const TDeviceInfo& info, const TFrameBase& frame)
{
    EXPECT_TRUE(info.GridToRequest && info.GridToAnswer && info.FrameToRequest && info.RequestToFrame &&
                info.RequestToGrid && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_EQ(info.RequestPanel, frame.OutPanel);
    EXPECT_EQ(info.AnswerPanel, frame.InPanel);
    EXPECT_EQ(frame.Panel1->Caption(), " Запрос");
    EXPECT_EQ(frame.Panel2->Caption(), " Ответ");
}

QString Caption(QWidget* panel, const char* name)
{
    for (TControl* control : Controls(panel))
        if (control->Name() == name)
            if (auto* label = dynamic_cast<TLabel*>(control))
                return label->Caption();
    return "<none>";
}
}

TEST(BlockFrames, RowsMakeTheirClassesWithTheirControls)
{
    const std::vector<QString> requestNames = {"OUTLabel", "OUT2Label", "OUT2CheckBox", "OUT1CheckBox", "OUT1Label"};
    {
        Device device(EngineRow);
        auto& frame = device.Frame<TEngineBlockFrame>();
        EXPECT_STREQ(frame.ClassName(), "TEngineBlockFrame");
        EXPECT_EQ(DeviceCatalogue[EngineRow].DescribeRequest, DescribeEngineBlockRequest);
        EXPECT_EQ(DeviceCatalogue[EngineRow].DescribeAnswer, DescribeEngineBlockAnswer);
        ExpectAllSlots(*device.info, frame);
        EXPECT_EQ(ControlNames(frame.OutPanel), requestNames);
        const std::vector<QString> answerNames = {
            "TTLabel", "T1Label", "T1Edit", "T1UpDown", "T3Label", "T3Edit", "T3UpDown", "T5Label", "T5Edit",
            "T5UpDown", "V1Label", "V1Edit", "V1UpDown", "P1Label", "P1Edit", "P1UpDown", "UPLabel", "UPEdit",
            "UPUpDown", "Bevel1", "UGLabel", "UGCheckBox", "BPLabel", "BP7Label", "BP7CheckBox", "BP6Label",
            "BP6CheckBox", "BP5Label", "BP5CheckBox", "BP2Label", "BP2CheckBox", "Bevel2", "OUTLabel_",
            "OUT1Label_", "OUT1ComboBox"};
        EXPECT_EQ(ControlNames(frame.InPanel), answerNames);
        const std::pair<const char*, const char*> captions[] = {
            {"TTLabel", "T, °C:"}, {"T1Label", "1"}, {"T3Label", "3"}, {"T5Label", "5"}, {"V1Label", "V, об/мин:"},
            {"P1Label", "P, МПа:"}, {"UPLabel", "U пит, В:"}, {"UGLabel", "U с ген:"}, {"BPLabel", "BP:"},
            {"BP7Label", "7"}, {"BP6Label", "6"}, {"BP5Label", "5"}, {"BP2Label", "2"}, {"OUTLabel_", "OUT:"},
            {"OUT1Label_", "1"}};
        for (const auto& [name, caption] : captions)
            EXPECT_EQ(Caption(frame.InPanel, name), caption) << name;
        const std::tuple<TEdit*, TUpDown*, int> steppers[] = {
            {frame.T1Edit, frame.T1UpDown, EditUInt}, {frame.T3Edit, frame.T3UpDown, EditUInt},
            {frame.T5Edit, frame.T5UpDown, EditUInt}, {frame.V1Edit, frame.V1UpDown, EditUInt},
            {frame.P1Edit, frame.P1UpDown, EditUFloat}, {frame.UPEdit, frame.UPUpDown, EditUFloat}};
        for (const auto& [edit, upDown, kind] : steppers)
            ExpectStepper(edit, upDown, kind, 0, 100, false);
        for (TCheckBox* box : {frame.UGCheckBox, frame.BP7CheckBox, frame.BP6CheckBox, frame.BP5CheckBox,
                               frame.BP2CheckBox, frame.OUT1CheckBox, frame.OUT2CheckBox})
            EXPECT_FALSE(box->Enabled()) << box->Name().toStdString();
        EXPECT_FALSE(frame.OUT1ComboBox->Enabled());
        EXPECT_EQ(frame.OUT1ComboBox->Items(), OutputStateItems);
    }
    {
        Device device(GearRow);
        auto& frame = device.Frame<TGearBlockBFrame>();
        EXPECT_STREQ(frame.ClassName(), "TGearBlockBFrame");
        EXPECT_EQ(DeviceCatalogue[GearRow].DescribeRequest, DescribeGearBlockBRequest);
        EXPECT_EQ(DeviceCatalogue[GearRow].DescribeAnswer, DescribeGearBlockBAnswer);
        ExpectAllSlots(*device.info, frame);
        EXPECT_EQ(ControlNames(frame.OutPanel), requestNames);
        const std::vector<QString> answerNames = {
            "TTLabel", "T8Label", "T8Edit", "T8UpDown", "PPLabel", "P16Label", "P16Edit", "P16UpDown", "Bevel1",
            "PLabel", "P10Label", "P10Edit", "P10UpDown", "P11Label", "P11Edit", "P11UpDown", "P14Label", "P14Edit",
            "P14UpDown", "P15Label", "P15Edit", "P15UpDown", "Bevel2", "OUTLabel_", "OUT1Label_", "OUT1ComboBox",
            "OUT2Label_", "OUT2ComboBox"};
        EXPECT_EQ(ControlNames(frame.InPanel), answerNames);
        const std::pair<const char*, const char*> captions[] = {
            {"TTLabel", "T, °C:"}, {"T8Label", "8"}, {"PPLabel", "P, МПа:"}, {"P16Label", "16"},
            {"PLabel", "P, МПа:"}, {"P10Label", "10"}, {"P11Label", "11"}, {"P14Label", "14"}, {"P15Label", "15"},
            {"OUTLabel_", "OUT:"}, {"OUT1Label_", "1"}, {"OUT2Label_", "2"}};
        for (const auto& [name, caption] : captions)
            EXPECT_EQ(Caption(frame.InPanel, name), caption) << name;
        ExpectStepper(frame.T8Edit, frame.T8UpDown, EditUInt, 0, 100, false);
        for (const auto& [edit, upDown] : {std::pair{frame.P16Edit, frame.P16UpDown}, {frame.P10Edit, frame.P10UpDown},
                                           {frame.P11Edit, frame.P11UpDown}, {frame.P14Edit, frame.P14UpDown},
                                           {frame.P15Edit, frame.P15UpDown}})
            ExpectStepper(edit, upDown, EditUFloat, 0, 100, false);
        for (TComboBox* combo : {frame.OUT1ComboBox, frame.OUT2ComboBox}) {
            EXPECT_FALSE(combo->Enabled());
            EXPECT_EQ(combo->Items(), OutputStateItems);
        }
    }
    for (int row : BothRows) {
        Device device(row);
        const auto& frame = device.Block();
        EXPECT_EQ(Caption(frame.OutPanel, "OUTLabel"), "OUT:");
        EXPECT_EQ(Caption(frame.OutPanel, "OUT2Label"), "2");
        EXPECT_EQ(Caption(frame.OutPanel, "OUT1Label"), "1");
    }
}

TEST(BlockFrames, RequestByteOfTwoOutputs)
{
    // Body -> frame, grid column 2 and info line.
    struct Shown { std::uint8_t byte; bool out1, out2; const char* cell; const char* info; };
    const Shown shown[] = {
        {0x00, false, false, "00", "OUT2-1=00"},
        {0x01, true, false, "01", "OUT2-1=01"},
        {0x02, false, true, "10", "OUT2-1=10"},
        {0xFF, true, true, "11", "OUT2-1=11"},
        {0xFC, false, false, "00", "OUT2-1=00"},   // bits 2-7 belong to no output
    };
    // Frame -> body: bits 2-7 cleared.
    struct Built { bool out1, out2; std::uint8_t before, after; };
    const Built built[] = {{false, false, 0xFF, 0x00}, {true, false, 0xFC, 0x01}, {true, true, 0x00, 0x03},
                           {false, true, 0x55, 0x02}};
    // Grid -> body: bits 2-7 kept.
    struct Typed { const char* text; std::uint8_t before, after; };
    const Typed typed[] = {
        {"10", 0xFD, 0xFE}, {"01", 0xF0, 0xF1}, {"11", 0x00, 0x03}, {"1", 0x02, 0x01},
        {"", 0xFF, 0xFC}, {"0", 0x03, 0x00}, {"x1", 0x80, 0x81}, {"2", 0x83, 0x80},
    };
    BindBlockUnits();
    for (int row : BothRows) {
        SCOPED_TRACE(row);
        const TDescribeMessage describe = DeviceCatalogue[row].DescribeRequest;
        for (const Shown& s : shown) {
            Device device(row);
            device.object.Request[1] = s.byte;
            device.ShowRequest();
            EXPECT_EQ(device.Block().OUT1CheckBox->Checked(), s.out1) << int(s.byte);
            EXPECT_EQ(device.Block().OUT2CheckBox->Checked(), s.out2) << int(s.byte);
            EXPECT_EQ(device.grid.Cell(2), s.cell);
            EXPECT_EQ(describe(device.object.Request.data()), s.info);
        }
        for (const Built& b : built) {
            Device device(row);
            device.Block().OUT1CheckBox->SetChecked(b.out1);
            device.Block().OUT2CheckBox->SetChecked(b.out2);
            device.object.Request[1] = b.before;
            device.object.Request[2] = 0x77;   // the XOR byte is the line engine's
            device.info->FrameToRequest();
            EXPECT_EQ(device.object.Request[1], b.after);
            EXPECT_EQ(device.object.Request[2], 0x77);
        }
        for (const Typed& t : typed) {
            Device device(row);
            device.object.Request[1] = t.before;
            device.info->GridToRequest(t.text, 2);
            EXPECT_EQ(device.object.Request[1], t.after) << t.text;
        }
    }
}

TEST(EngineBlockFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Body body;   // V, T5, T1, P, T3, Up, state
        std::vector<QString> edits;   // T1, T3, T5, V1, P1, UP
        std::vector<bool> flags;      // UG, BP7, BP6, BP5, BP2
        int item;
        std::vector<QString> cells;
        const char* info;
    };
    const Row rows[] = {
        {{50, 90, 80, 255, 85, 120, 0x8C}, {"80", "85", "90", "1000", "2.55", "24.00"},
         {true, false, false, false, true}, -1, {"80", "85", "1 0001", "4"},
         "T1=80, T2=85, T3=90, V=1000, P=2.55, Up=24.00, Ug=1, BP7-6,2=0001, OUT1=4"},
        {{0, 0, 0, 0, 0, 0, 0x7F}, {"0", "0", "0", "0", "0.00", "0.00"}, {false, true, true, true, true}, 6,
         {"0", "0", "0 1111", "7"}, "T1=0, T2=0, T3=0, V=0, P=0.00, Up=0.00, Ug=0, BP7-6,2=1111, OUT1=7"},
        {{255, 255, 254, 1, 253, 122, 0x55}, {"254", "253", "255", "5100", "0.01", "24.40"},
         {false, true, false, true, false}, 4, {"254", "253", "0 1010", "5"},
         "T1=254, T2=253, T3=255, V=5100, P=0.01, Up=24.40, Ug=0, BP7-6,2=1010, OUT1=5"},
        {{1, 2, 3, 4, 5, 6, 0x03}, {"3", "5", "2", "20", "0.04", "1.20"}, {false, false, false, false, false}, 3,
         {"3", "5", "0 0000", "3"}, "T1=3, T2=5, T3=2, V=20, P=0.04, Up=1.20, Ug=0, BP7-6,2=0000, OUT1=3"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Hex(r.body));
        Device device(EngineRow);
        auto& f = device.Frame<TEngineBlockFrame>();
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        EXPECT_EQ((std::vector<QString>{f.T1Edit->Text(), f.T3Edit->Text(), f.T5Edit->Text(), f.V1Edit->Text(),
                                        f.P1Edit->Text(), f.UPEdit->Text()}),
                  r.edits);
        EXPECT_EQ((std::vector<bool>{f.UGCheckBox->Checked(), f.BP7CheckBox->Checked(), f.BP6CheckBox->Checked(),
                                     f.BP5CheckBox->Checked(), f.BP2CheckBox->Checked()}),
                  r.flags);
        EXPECT_EQ(f.OUT1ComboBox->ItemIndex(), r.item);
        EXPECT_EQ(device.Cells(), r.cells);
        EXPECT_EQ(DescribeEngineBlockAnswer(device.Answer().data()), r.info);
    }
}

TEST(EngineBlockFrame, FrameBuildsTheAnswer)
{
    struct Row {
        std::vector<QString> edits;   // T1, T3, T5, V1, P1, UP
        std::vector<bool> flags;      // UG, BP7, BP6, BP5, BP2
        int item;
        Body body;                    // V, T5, T1, P, T3, Up, state
    };
    const Body before = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xFF};
    const std::vector<bool> none(5, false);
    const Row rows[] = {
        {{"80", "85", "90", "1000", "2.55", "24"}, {true, false, false, false, true}, 4, {50, 90, 80, 255, 85, 120, 0x8D}},
        // Speed in steps of 20 rpm, halves upward, low 8 bits.
        {{"", "", "", "1005", "", ""}, none, -1, {50, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x00}},
        {{"", "", "", "1009", "", ""}, none, -1, {50, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x00}},
        {{"", "", "", "1010", "", ""}, none, -1, {51, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x00}},
        {{"", "", "", "1015", "", ""}, none, -1, {51, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x00}},
        {{"", "", "", "5120", "", ""}, none, -1, {0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x00}},
        {{"", "", "", "9", "", ""}, none, -1, {0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x00}},
        {{"", "", "", "10", "", ""}, none, -1, {1, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x00}},
        // Pressure and supply: x 100 and x 5, + 0.5, low 8 bits.
        {{"", "", "", "", "2.56", "24.4"}, none, -1, {0xEE, 0xEE, 0xEE, 0, 0xEE, 122, 0x00}},
        {{"", "", "", "", "0.005", "0.09"}, none, -1, {0xEE, 0xEE, 0xEE, 1, 0xEE, 0, 0x00}},
        // Integers keep their low 8 bits; a bad text keeps its byte and the next is still read.
        {{"300", "-1", "x", "1e3", "2,5", "7"}, none, 0, {0xEE, 0xEE, 44, 0xEE, 255, 35, 0x00}},
        // Each flag has its bit; output codes skip 4.
        {{"", "", "", "", "", ""}, {false, true, false, false, false}, 6, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x47}},
        {{"", "", "", "", "", ""}, {false, false, true, true, false}, 2, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x32}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Hex(r.body));
        Device device(EngineRow);
        auto& f = device.Frame<TEngineBlockFrame>();
        SetBody(device.Answer(), before);
        device.Answer()[8] = 0x77;
        TEdit* edits[] = {f.T1Edit, f.T3Edit, f.T5Edit, f.V1Edit, f.P1Edit, f.UPEdit};
        for (std::size_t i = 0; i < 6; ++i)
            edits[i]->SetText(r.edits[i]);
        TCheckBox* boxes[] = {f.UGCheckBox, f.BP7CheckBox, f.BP6CheckBox, f.BP5CheckBox, f.BP2CheckBox};
        for (std::size_t i = 0; i < 5; ++i)
            boxes[i]->SetChecked(r.flags[i]);
        f.OUT1ComboBox->SetItemIndex(r.item);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 7), r.body);
        EXPECT_EQ(device.Answer()[8], 0x77) << "the XOR byte belongs to the line engine";
    }
}

TEST(EngineBlockFrame, StoredValuesComeBackOnTheSteps)
{
    struct Row { TEdit* TEngineBlockFrame::*edit; const char* typed; const char* shown; };
    const Row rows[] = {
        {&TEngineBlockFrame::V1Edit, "1000", "1000"}, {&TEngineBlockFrame::V1Edit, "1015", "1020"},
        {&TEngineBlockFrame::V1Edit, "1009", "1000"}, {&TEngineBlockFrame::UPEdit, "24", "24.00"},
        {&TEngineBlockFrame::UPEdit, "24.4", "24.40"}, {&TEngineBlockFrame::UPEdit, "24.3", "24.40"},
        {&TEngineBlockFrame::P1Edit, "1.234", "1.23"},
    };
    for (const Row& r : rows) {
        Device device(EngineRow);
        auto& f = device.Frame<TEngineBlockFrame>();
        (f.*r.edit)->SetText(r.typed);
        device.BuildAnswer();
        device.ShowAnswer();
        EXPECT_EQ((f.*r.edit)->Text(), r.shown) << r.typed;
    }
}

TEST(EngineBlockFrame, GridCellsSetTheirFields)
{
    struct Row { int column; const char* text; Body body; };
    const Body before = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x8D};
    const Row rows[] = {
        {3, "80.5", {0x11, 0x22, 81, 0x44, 0x55, 0x66, 0x8D}},   // half away from zero, no scale
        {3, "80.4", {0x11, 0x22, 80, 0x44, 0x55, 0x66, 0x8D}},
        {3, "-1", {0x11, 0x22, 255, 0x44, 0x55, 0x66, 0x8D}},
        {3, "abc", before},
        {3, "1e30", before},
        {4, "300", {0x11, 0x22, 0x33, 0x44, 44, 0x66, 0x8D}},
        {4, "", before},
        // Flags: bits 3-7 from the digits, the output code stays.
        {5, "", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x05}},
        {5, "1 0001", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x8D}},
        {5, "0 1110", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x75}},
        {5, "1", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x0D}},
        // Output code: radix 8, digit 0 only; the flags stay.
        {6, "3", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x8B}},
        {6, "4", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x8C}},
        {6, "", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x88}},
        {6, "8", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x88}},   // no digit in radix 8
        {2, "1", before},
        {7, "1", before},
    };
    for (const Row& r : rows) {
        Device device(EngineRow);
        SetBody(device.Answer(), before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), 7), r.body) << r.column << " '" << r.text << "'";
    }
}

TEST(GearBlockBFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Body body;   // P16, T8, P10, P11, P15, P14, outputs
        std::vector<QString> edits;   // T8, P16, P10, P11, P14, P15
        int item1, item2;
        std::vector<QString> cells;
        const char* info;
    };
    const Row rows[] = {
        {{150, 95, 10, 11, 15, 14, 0x2B}, {"95", "1.50", "0.10", "0.11", "0.14", "0.15"}, 3, 4,
         {"95", "1.50", "-", "53"}, "T8=95, P16=1.50, P10=0.10, P11=0.11, P14=0.14, P15=0.15, OUT2-1=53"},
        {{255, 0, 0, 0, 0, 0, 0xEC}, {"0", "2.55", "0.00", "0.00", "0.00", "0.00"}, -1, 4,
         {"0", "2.55", "-", "54"}, "T8=0, P16=2.55, P10=0.00, P11=0.00, P14=0.00, P15=0.00, OUT2-1=54"},
        {{0, 255, 1, 2, 3, 4, 0x3F}, {"255", "0.00", "0.01", "0.02", "0.04", "0.03"}, 6, 6,
         {"255", "0.00", "-", "77"}, "T8=255, P16=0.00, P10=0.01, P11=0.02, P14=0.04, P15=0.03, OUT2-1=77"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Hex(r.body));
        Device device(GearRow);
        auto& f = device.Frame<TGearBlockBFrame>();
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        EXPECT_EQ((std::vector<QString>{f.T8Edit->Text(), f.P16Edit->Text(), f.P10Edit->Text(), f.P11Edit->Text(),
                                        f.P14Edit->Text(), f.P15Edit->Text()}),
                  r.edits);
        EXPECT_EQ(f.OUT1ComboBox->ItemIndex(), r.item1);
        EXPECT_EQ(f.OUT2ComboBox->ItemIndex(), r.item2);
        EXPECT_EQ(device.Cells(), r.cells);
        EXPECT_EQ(DescribeGearBlockBAnswer(device.Answer().data()), r.info);
    }
}

TEST(GearBlockBFrame, FrameBuildsTheAnswer)
{
    struct Row {
        std::vector<QString> edits;   // T8, P16, P10, P11, P14, P15
        int item1, item2;
        Body body;                    // P16, T8, P10, P11, P15, P14, outputs
    };
    const Body before = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xFF};
    const Row rows[] = {
        {{"95", "1.5", "0.1", "0.11", "0.14", "0.15"}, 3, 4, {150, 95, 10, 11, 15, 14, 0x2B}},
        {{"256", "2.56", "2.55", "-0.01", "0.004", "0.005"}, -1, -1, {0, 0, 255, 0, 1, 0, 0x00}},
        {{"x", "", "1,0", " 1", "1e0", "+1"}, 6, -1, {0xEE, 0xEE, 0xEE, 100, 100, 100, 0x07}},
        {{"", "", "", "", "", ""}, -1, 6, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x38}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Hex(r.body));
        Device device(GearRow);
        auto& f = device.Frame<TGearBlockBFrame>();
        SetBody(device.Answer(), before);
        TEdit* edits[] = {f.T8Edit, f.P16Edit, f.P10Edit, f.P11Edit, f.P14Edit, f.P15Edit};
        for (std::size_t i = 0; i < 6; ++i)
            edits[i]->SetText(r.edits[i]);
        f.OUT1ComboBox->SetItemIndex(r.item1);
        f.OUT2ComboBox->SetItemIndex(r.item2);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 7), r.body);
    }
}

TEST(GearBlockBFrame, GridCellsSetTheirFields)
{
    struct Row { int column; const char* text; Body body; };
    const Body before = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xEB};
    const Row rows[] = {
        {3, "95.5", {0x11, 96, 0x33, 0x44, 0x55, 0x66, 0xEB}},
        {3, "?", before},
        {4, "1.505", {151, 0x22, 0x33, 0x44, 0x55, 0x66, 0xEB}},
        {4, "-0.01", {255, 0x22, 0x33, 0x44, 0x55, 0x66, 0xEB}},
        {5, "1111", before},
        {6, "53", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xEB}},
        {6, "1", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xC1}},   // OUT2 cleared, bits 6-7 kept
        {6, "", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xC0}},
        {6, "7 0", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xF8}},
    };
    for (const Row& r : rows) {
        Device device(GearRow);
        SetBody(device.Answer(), before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), 7), r.body) << r.column << " '" << r.text << "'";
    }
}

TEST(BlockFrames, CellsAreWrittenOnlyWhenTheyDiffer)
{
    for (int row : BothRows) {
        Device device(row);
        SetBody(device.Answer(), {1, 2, 3, 4, 5, 6, 7});
        device.ShowAnswer();
        device.ShowAnswer();
        device.ShowRequest();
        device.ShowRequest();
        for (int column = 2; column <= 6; ++column)
            EXPECT_EQ(device.grid.Writes[column], 1) << row << " column " << column;
    }
}

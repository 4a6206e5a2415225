// The second joystick on its four catalogue rows: two axes with directions, three buttons, the
// mode flag and the axis errors between body, frame, grid and info line.
#include "frames/JoystickB.h"
#include "AnswerFrameChecks.h"

namespace {
const std::vector<int> Rows = {54, 55, 56, 57};
constexpr int Row = 54;

struct Device : FrameDevice {
    explicit Device(int row = Row) : FrameDevice((BindAfterStart(RegisterJoystickBFrames), row)) {}
    TJoystickBFrame& frame() { return Frame<TJoystickBFrame>(); }
    std::vector<QString> Cells() const { return {grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}; }
};

// The frame's view of an answer: deflections with their direction letters, then the six flags
// as buttons 1-3, DM, ErrAC, ErrBD.
struct View {
    QString ac;
    char acTowards;
    QString bd;
    char bdTowards;
    std::vector<bool> flags;
    bool operator==(const View&) const = default;
};
View ViewOf(TJoystickBFrame& f)
{
    return {f.ACEdit->Text(), f.ARadioButton->Checked() ? 'A' : (f.CRadioButton->Checked() ? 'C' : '?'),
            f.BDEdit->Text(), f.BRadioButton->Checked() ? 'B' : (f.DRadioButton->Checked() ? 'D' : '?'),
            {f.But1CheckBox->Checked(), f.But2CheckBox->Checked(), f.But3CheckBox->Checked(), f.DMCheckBox->Checked(),
             f.ErrACCheckBox->Checked(), f.ErrBDCheckBox->Checked()}};
}
void SetView(TJoystickBFrame& f, const View& v)
{
    f.ACEdit->SetText(v.ac);
    (v.acTowards == 'A' ? f.ARadioButton : f.CRadioButton)->SetChecked(true);
    f.BDEdit->SetText(v.bd);
    (v.bdTowards == 'B' ? f.BRadioButton : f.DRadioButton)->SetChecked(true);
    TCheckBox* boxes[] = {f.But1CheckBox, f.But2CheckBox, f.But3CheckBox, f.DMCheckBox, f.ErrACCheckBox, f.ErrBDCheckBox};
    for (std::size_t i = 0; i < std::size(boxes); ++i)
        boxes[i]->SetChecked(v.flags[i]);
}
const std::vector<bool> NoFlags(6, false);
}

TEST(JoystickBFrame, RowsMakeTheFrameWithItsControls)
{
    for (int row : Rows) {
        Device device(row);
        auto& f = device.frame();
        EXPECT_STREQ(f.ClassName(), "TJoystickBFrame");
        EXPECT_EQ(DeviceCatalogue[row].DescribeAnswer, DescribeJoystickBAnswer) << row;
        EXPECT_EQ(DeviceCatalogue[row].DescribeRequest, nullptr) << row;
        ExpectAnswerOnly(*device.info, f);
    }
    Device device;
    auto& f = device.frame();
    const std::vector<QString> expected = {
        "ACLabel", "BDLabel", "ButLabel", "But1Label", "But3Label", "DMLabel", "Bevel1", "Bevel2",
        "But1CheckBox", "But2CheckBox", "But3CheckBox", "ACEdit", "ACUpDown", "BDEdit", "BDUpDown",
        "ACPanel", "BDPanel", "ErrACCheckBox", "ErrBDCheckBox", "DMCheckBox"};
    EXPECT_EQ(ControlNames(f.InPanel), expected);
    EXPECT_EQ(ControlNames(f.ACPanel), (std::vector<QString>{"CRadioButton", "ARadioButton"}));
    EXPECT_EQ(ControlNames(f.BDPanel), (std::vector<QString>{"DRadioButton", "BRadioButton"}));
    const std::pair<TLabel*, const char*> labels[] = {{f.ButLabel, "But:"}, {f.But1Label, "1"}, {f.But3Label, "3"},
                                                      {f.ACLabel, "AC, %:"}, {f.BDLabel, "BD, %:"}, {f.DMLabel, "DM:"}};
    for (const auto& [label, caption] : labels)
        EXPECT_EQ(label->Caption(), QString::fromUtf8(caption));
    EXPECT_EQ(f.CRadioButton->Caption(), "< C");
    EXPECT_EQ(f.ARadioButton->Caption(), "A >");
    EXPECT_EQ(f.DRadioButton->Caption(), "D");
    EXPECT_EQ(f.BRadioButton->Caption(), "B");
    EXPECT_EQ(f.ErrACCheckBox->Caption(), "ErrAC");
    EXPECT_EQ(f.ErrBDCheckBox->Caption(), "ErrBD");
    for (const TCheckBox* box : {f.But1CheckBox, f.But2CheckBox, f.But3CheckBox, f.DMCheckBox})
        EXPECT_EQ(box->Caption(), "");
    ExpectStepper(f.ACEdit, f.ACUpDown, EditUInt, 0, 100, false);
    ExpectStepper(f.BDEdit, f.BDUpDown, EditUInt, 0, 100, false);
}

TEST(JoystickBFrame, DirectionsOnNestedPanelsTakeEffectWithTheNextAnswer)
{
    Device device;
    auto& f = device.frame();
    f.ARadioButton->SetChecked(true);
    EXPECT_EQ(device.changes, 0) << "the radio buttons lie on nested panels and get no handler";
    f.DMCheckBox->SetChecked(true);
    EXPECT_EQ(device.changes, 1);

    SetBody(device.Answer(), {0x05, 0x05, 0x00});
    f.ACEdit->SetText("5");
    f.BDEdit->SetText("5");
    device.BuildAnswer();
    EXPECT_EQ(BodyOf(device.Answer(), 3), (Body{0x85, 0x05, 0x20}));
}

TEST(JoystickBFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Body body;
        View view;
        std::vector<QString> cells;
        const char* info;
    };
    const Row rows[] = {
        {{0x85, 0x05, 0x00}, {"5", 'A', "5", 'D', NoFlags}, {"5", "5", "0 000", "00"},
         "AC=5 (A), BD=5 (D), DM=0 But3-1=000, ErrAC=0, ErrBD=0"},
        {{0x05, 0x85, 0x00}, {"5", 'C', "5", 'B', NoFlags}, {"5", "5", "0 000", "00"},
         "AC=5 (C), BD=5 (B), DM=0 But3-1=000, ErrAC=0, ErrBD=0"},
        {{0x7F, 0xFF, 0xFF}, {"127", 'C', "127", 'B', std::vector<bool>(6, true)}, {"127", "127", "1 111", "11"},
         "AC=127 (C), BD=127 (B), DM=1 But3-1=111, ErrAC=1, ErrBD=1"},
        {{0x00, 0x80, 0x41}, {"0", 'C', "0", 'B', {true, false, false, false, false, true}}, {"0", "0", "0 001", "01"},
         "AC=0 (C), BD=0 (B), DM=0 But3-1=001, ErrAC=0, ErrBD=1"},
        {{0x00, 0x00, 0xA6}, {"0", 'C', "0", 'D', {false, true, true, true, true, false}}, {"0", "0", "1 110", "10"},
         "AC=0 (C), BD=0 (D), DM=1 But3-1=110, ErrAC=1, ErrBD=0"},
        // Bits 3 and 4 are not used: nothing shows them.
        {{0x00, 0x00, 0x18}, {"0", 'C', "0", 'D', NoFlags}, {"0", "0", "0 000", "00"},
         "AC=0 (C), BD=0 (D), DM=0 But3-1=000, ErrAC=0, ErrBD=0"},
    };
    for (const Row& r : rows) {
        Device device;
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        EXPECT_EQ(ViewOf(device.frame()), r.view) << r.info;
        EXPECT_EQ(device.Cells(), r.cells) << r.info;
        EXPECT_EQ(DescribeJoystickBAnswer(device.Answer().data()), r.info);
    }
}

TEST(JoystickBFrame, FrameBuildsTheAnswer)
{
    struct Row {
        Body before;
        View view;
        Body body;
    };
    const Row rows[] = {
        {{0, 0, 0}, {"5", 'A', "5", 'D', NoFlags}, {0x85, 0x05, 0x00}},
        {{0, 0, 0}, {"200", 'C', "127", 'B', NoFlags}, {72, 0xFF, 0x00}},    // 200 & 127 = 72
        {{0, 0, 0}, {"-1", 'C', "128", 'D', NoFlags}, {0x7F, 0x00, 0x00}},   // low 7 bits, no range check
        // A text that does not convert keeps the 7 value bits; the direction comes from the radio.
        {{0xFF, 0x85, 0}, {"x", 'C', "", 'B', NoFlags}, {0x7F, 0x85, 0x00}},
        {{0x05, 0x05, 0}, {"1e3", 'A', " ", 'D', NoFlags}, {0x85, 0x05, 0x00}},
        // Byte 3 is written whole: the unused bits 3 and 4 are cleared.
        {{0, 0, 0x18}, {"0", 'C', "0", 'D', std::vector<bool>(6, true)}, {0x00, 0x00, 0xE7}},
        {{0, 0, 0xFF}, {"0", 'C', "0", 'D', {true, false, true, false, false, true}}, {0x00, 0x00, 0x45}},
        {{0, 0, 0xFF}, {"0", 'C', "0", 'D', {false, false, false, true, true, false}}, {0x00, 0x00, 0xA0}},
    };
    for (const Row& r : rows) {
        Device device;
        SetBody(device.Answer(), r.before);
        SetView(device.frame(), r.view);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 3), r.body) << r.view.ac.toStdString() << "/" << r.view.bd.toStdString();
        EXPECT_EQ(device.Answer()[4], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST(JoystickBFrame, GridCellsEditTheirBitsOnly)
{
    struct Row {
        Body before;
        int column;
        const char* text;
        Body body;
    };
    const Row rows[] = {
        {{0x85, 0x05, 0}, 3, "7.5", {0x88, 0x05, 0}},   // half away from zero, the direction stays
        {{0x85, 0x05, 0}, 3, "7.4", {0x87, 0x05, 0}},
        {{0x85, 0x05, 0}, 3, "200", {0xC8, 0x05, 0}},   // 200 & 127
        {{0x05, 0x05, 0}, 3, "-1", {0x7F, 0x05, 0}},
        {{0x85, 0x05, 0}, 3, "abc", {0x85, 0x05, 0}},   // no conversion: unchanged
        {{0x85, 0x85, 0}, 4, "3", {0x85, 0x83, 0}},
        {{0x85, 0x05, 0}, 4, "", {0x85, 0x05, 0}},
        // DM and button 1 set, buttons 2 and 3 cleared; bits 3 and 4 stay, so do the errors.
        {{0, 0, 0xDE}, 5, "1 001", {0, 0, 0xF9}},
        {{0, 0, 0x3F}, 5, "", {0, 0, 0x18}},
        {{0, 0, 0x00}, 5, "10", {0, 0, 0x02}},
        {{0, 0, 0x00}, 5, "1 1x1", {0, 0, 0x01}},      // digits are read from the right up to the first non-digit
        {{0, 0, 0x40}, 6, "10", {0, 0, 0x80}},         // ErrAC left, ErrBD right
        {{0, 0, 0x9F}, 6, "1", {0, 0, 0x5F}},
        {{0, 0, 0xC0}, 6, "", {0, 0, 0x00}},
        {{1, 2, 3}, 2, "1", {1, 2, 3}},                // columns the model does not use
        {{1, 2, 3}, 7, "1", {1, 2, 3}},
    };
    for (const Row& r : rows) {
        Device device;
        SetBody(device.Answer(), r.before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), 3), r.body) << r.column << " '" << r.text << "'";
    }
}

TEST(JoystickBFrame, CellsAreWrittenOnlyWhenTheyDiffer)
{
    Device device;
    SetBody(device.Answer(), {0x85, 0x05, 0x01});
    device.ShowAnswer();
    device.ShowAnswer();
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(device.grid.Writes[column], 1) << column;
    device.Answer()[3] = 0x81;   // ErrAC comes on
    device.ShowAnswer();
    EXPECT_EQ(device.grid.Writes[5], 1);
    EXPECT_EQ(device.grid.Writes[6], 2);
    EXPECT_EQ(device.grid.Cell(6), "10");
}

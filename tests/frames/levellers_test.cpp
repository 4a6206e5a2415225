// The two levelling-block frames: angles in both directions (first), flags and an angle (second),
// and the second's automatic answer that follows the request shown in the frame.
#include "frames/LevellerA.h"
#include "frames/LevellerB.h"
#include "AnswerFrameChecks.h"

#include <gtest/gtest.h>

namespace {
constexpr int LevellerARow = 3;
constexpr int LevellerBRows[] = {38, 50};
constexpr int LevellerBRow = 38;

void BindLevellerUnits()
{
    BindAfterStart([] {
        RegisterLevellerAFrames();
        RegisterLevellerBFrames();
    });
}

struct Device : FrameDevice {
    explicit Device(int row) : FrameDevice((BindLevellerUnits(), row)) {}
    std::vector<QString> Cells() const { return {grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}; }
    void ShowRequest()
    {
        TUpdatingControls updating;
        info->RequestToGrid();
        info->RequestToFrame();
    }
};

QString Caption(QWidget* panel, const char* name)
{
    for (TControl* control : Controls(panel))
        if (control->Name() == name)
            if (auto* label = dynamic_cast<TLabel*>(control))
                return label->Caption();
    return "<none>";
}

void ExpectCaptions(QWidget* panel, std::initializer_list<std::pair<const char*, const char*>> captions)
{
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(Caption(panel, name), caption) << name;
}

// The flags of the second block's boxes, in bit order: Auto_Dis, OUT1, OUT2, Calibrate.
struct Flags {
    bool autoDis, out1, out2, calibrate;
    bool operator==(const Flags&) const = default;
};
Flags RequestFlags(const TLevellerBFrame& f)
{
    return {f.Auto_DisBox->Checked(), f.OUT1CheckBox->Checked(), f.OUT2CheckBox->Checked(), f.CalibrateBox->Checked()};
}
Flags AnswerFlags(const TLevellerBFrame& f)
{
    return {f.Auto_DisBox_->Checked(), f.OUT1CheckBox_->Checked(), f.OUT2CheckBox_->Checked(),
            f.CalibrateBox_->Checked()};
}
void SetRequestFlags(TLevellerBFrame& f, Flags flags)
{
    f.Auto_DisBox->SetChecked(flags.autoDis);
    f.OUT1CheckBox->SetChecked(flags.out1);
    f.OUT2CheckBox->SetChecked(flags.out2);
    f.CalibrateBox->SetChecked(flags.calibrate);
}
void SetAnswerFlags(TLevellerBFrame& f, Flags flags)
{
    f.Auto_DisBox_->SetChecked(flags.autoDis);
    f.OUT1CheckBox_->SetChecked(flags.out1);
    f.OUT2CheckBox_->SetChecked(flags.out2);
    f.CalibrateBox_->SetChecked(flags.calibrate);
}
}

TEST(LevellerFrames, RowsMakeTheirClassesWithTheirControls)
{
    {
        Device device(LevellerARow);
        auto& f = device.Frame<TLevellerAFrame>();
        EXPECT_STREQ(f.ClassName(), "TLevellerAFrame");
        EXPECT_EQ(DeviceCatalogue[LevellerARow].DescribeRequest, DescribeLevellerARequest);
        EXPECT_EQ(DeviceCatalogue[LevellerARow].DescribeAnswer, DescribeLevellerAAnswer);
        const TDeviceInfo& info = *device.info;
        EXPECT_FALSE(info.GridToRequest) << "the request has no grid column";
        EXPECT_TRUE(info.GridToAnswer && info.FrameToRequest && info.RequestToFrame && info.RequestToGrid &&
                    info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
        EXPECT_EQ(info.RequestPanel, f.OutPanel);
        EXPECT_EQ(info.AnswerPanel, f.InPanel);
        EXPECT_EQ(ControlNames(f.OutPanel), (std::vector<QString>{"ANGLabel", "ANG1Label", "ANG1Edit", "ANG1UpDown",
                                                                  "ANG2Label", "ANG2Edit", "ANG2UpDown"}));
        EXPECT_EQ(ControlNames(f.InPanel), (std::vector<QString>{"ANGLabel_", "ANG1Label_", "ANG1Edit_", "ANG1UpDown_",
                                                                 "ANG2Label_", "ANG2Edit_", "ANG2UpDown_"}));
        ExpectCaptions(f.OutPanel, {{"ANGLabel", "ANG, °:"}, {"ANG1Label", "1"}, {"ANG2Label", "2"}});
        ExpectCaptions(f.InPanel, {{"ANGLabel_", "ANG, °:"}, {"ANG1Label_", "1"}, {"ANG2Label_", "2"}});
        for (const auto& [edit, upDown] : {std::pair{f.ANG1Edit, f.ANG1UpDown}, {f.ANG2Edit, f.ANG2UpDown},
                                           {f.ANG1Edit_, f.ANG1UpDown_}, {f.ANG2Edit_, f.ANG2UpDown_}})
            ExpectStepper(edit, upDown, EditUFloat, 0, 100, false);
    }
    for (int row : LevellerBRows) {
        Device device(row);
        auto& f = device.Frame<TLevellerBFrame>();
        EXPECT_STREQ(f.ClassName(), "TLevellerBFrame");
        EXPECT_EQ(DeviceCatalogue[row].DescribeRequest, DescribeLevellerBRequest);
        EXPECT_EQ(DeviceCatalogue[row].DescribeAnswer, DescribeLevellerBAnswer);
        const TDeviceInfo& info = *device.info;
        EXPECT_TRUE(info.GridToRequest && info.GridToAnswer && info.FrameToRequest && info.RequestToFrame &&
                    info.RequestToGrid && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
        EXPECT_EQ(info.RequestPanel, f.OutPanel);
        EXPECT_EQ(info.AnswerPanel, f.InPanel);
        EXPECT_EQ(ControlNames(f.OutPanel),
                  (std::vector<QString>{"OUTLabel", "OUT2Label", "OUT2CheckBox", "OUT1CheckBox", "OUT1Label",
                                        "Auto_DisLabel", "Auto_DisBox", "CalibrateLabel", "CalibrateBox"}));
        EXPECT_EQ(ControlNames(f.InPanel),
                  (std::vector<QString>{"OUTLabel_", "OUT2Label_", "OUT2CheckBox_", "OUT1CheckBox_", "OUT1Label_",
                                        "Auto_DisLabel_", "Auto_DisBox_", "ANGLabel", "ANGEdit", "ANGUpDown",
                                        "CalibrateLabel_", "CalibrateBox_", "AutoAnswerBox"}));
        ExpectCaptions(f.OutPanel, {{"OUTLabel", "OUT:"}, {"OUT2Label", "2"}, {"OUT1Label", "1"},
                                    {"Auto_DisLabel", "Auto_Dis"}, {"CalibrateLabel", "Calibrate"}});
        ExpectCaptions(f.InPanel, {{"OUTLabel_", "OUT:"}, {"OUT2Label_", "2"}, {"OUT1Label_", "1"},
                                   {"Auto_DisLabel_", "Auto_Dis"}, {"ANGLabel", "ANG:"},
                                   {"CalibrateLabel_", "Calibrate"}});
        ExpectStepper(f.ANGEdit, f.ANGUpDown, EditUFloat, 0, 100, false);
        EXPECT_EQ(f.AutoAnswerBox->Caption(), "Автоматическое формирование");
        EXPECT_FALSE(f.AutoAnswerBox->Checked());
    }
}

TEST(LevellerAFrame, AnglesBetweenBodyFrameGridAndInfoLine)
{
    struct Row { Body body; std::vector<QString> texts; const char* info; };
    const Row rows[] = {
        {{0x00, 0x0A, 0x80, 0x00}, {"10.00", "0.50"}, "ANG1=10.00, ANG2=0.50"},
        {{0xFF, 0xFF, 0x01, 0x00}, {"256.00", "0.00"}, "ANG1=256.00, ANG2=0.00"},   // 255.996
        {{0x40, 0x2D, 0x02, 0x00}, {"45.25", "0.01"}, "ANG1=45.25, ANG2=0.01"},     // 2/256 = 0.0078
        {{0x00, 0x00, 0x00, 0xFF}, {"0.00", "255.00"}, "ANG1=0.00, ANG2=255.00"},
    };
    for (const Row& r : rows) {
        Device device(LevellerARow);
        auto& f = device.Frame<TLevellerAFrame>();
        SetBody(device.object.Request, r.body);
        SetBody(device.Answer(), r.body);
        device.ShowRequest();
        device.ShowAnswer();
        EXPECT_EQ((std::vector<QString>{f.ANG1Edit->Text(), f.ANG2Edit->Text()}), r.texts);
        EXPECT_EQ((std::vector<QString>{f.ANG1Edit_->Text(), f.ANG2Edit_->Text()}), r.texts);
        EXPECT_EQ(device.grid.Cell(2), "-");
        EXPECT_EQ(device.Cells(), (std::vector<QString>{r.texts[0], r.texts[1], "-", "-"}));
        EXPECT_EQ(DescribeLevellerARequest(device.object.Request.data()), r.info);
        EXPECT_EQ(DescribeLevellerAAnswer(device.Answer().data()), r.info);
    }
}

TEST(LevellerAFrame, FrameBuildsRequestAndAnswer)
{
    struct Row { std::vector<QString> texts; Body body; };
    const Body before = {0xEE, 0xEE, 0xEE, 0xEE};
    const Row rows[] = {
        {{"10", "0.5"}, {0x00, 0x0A, 0x80, 0x00}},
        {{"255.999", "255.998"}, {0x00, 0x00, 0xFF, 0xFF}},   // 65536 keeps its low 16 bits
        {{"0.001", "0.002"}, {0x00, 0x00, 0x01, 0x00}},       // + 0.5, then cut
        {{"x", "1"}, {0xEE, 0xEE, 0x00, 0x01}},               // a bad text keeps its word only
        {{"1", ""}, {0x00, 0x01, 0xEE, 0xEE}},
        {{"-1", "300"}, {0x01, 0xFF, 0x00, 0x2C}},            // low 16 bits of -255 and 76800
        {{"1e30", "inf"}, before},
    };
    for (const Row& r : rows) {
        Device device(LevellerARow);
        auto& f = device.Frame<TLevellerAFrame>();
        SetBody(device.object.Request, before);
        SetBody(device.Answer(), before);
        device.object.Request[5] = device.Answer()[5] = 0x77;
        f.ANG1Edit->SetText(r.texts[0]);
        f.ANG2Edit->SetText(r.texts[1]);
        f.ANG1Edit_->SetText(r.texts[0]);
        f.ANG2Edit_->SetText(r.texts[1]);
        device.info->FrameToRequest();
        device.info->FrameToAnswer();
        EXPECT_EQ(BodyOf(device.object.Request, 4), r.body) << r.texts[0].toStdString();
        EXPECT_EQ(BodyOf(device.Answer(), 4), r.body) << r.texts[0].toStdString();
        EXPECT_EQ(device.object.Request[5], 0x77);
        EXPECT_EQ(device.Answer()[5], 0x77);
    }
}

TEST(LevellerAFrame, GridTakesTheAnswerAnglesOnly)
{
    struct Row { int column; const char* text; Body body; };
    const Body before = {0x11, 0x22, 0x33, 0x44};
    const Row rows[] = {
        {3, "10", {0x00, 0x0A, 0x33, 0x44}},
        {3, "0.001953125", {0x01, 0x00, 0x33, 0x44}},   // exactly half a step: away from zero
        {4, "-0.001953125", {0x11, 0x22, 0xFF, 0xFF}},
        {4, "256", {0x11, 0x22, 0x00, 0x00}},
        {4, "abc", before},
        {5, "1", before},
        {6, "1", before},
    };
    for (const Row& r : rows) {
        Device device(LevellerARow);
        SetBody(device.Answer(), before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), 4), r.body) << r.column << " " << r.text;
    }
    // Column 2 stays without a value whatever was typed there; the request is not touched.
    Device device(LevellerARow);
    SetBody(device.object.Request, before);
    device.grid.SetCell(2, "12");
    device.ShowRequest();
    EXPECT_EQ(device.grid.Cell(2), "-");
    EXPECT_EQ(BodyOf(device.object.Request, 4), before);
}

TEST(LevellerBFrame, RequestFlags)
{
    struct Shown { std::uint8_t byte; Flags flags; const char* cell; const char* info; };
    const Shown shown[] = {
        {0x00, {false, false, false, false}, "00", "OUT2-1=00, Auto_Dis=0, Calibrate=0"},
        {0x01, {true, false, false, false}, "00", "OUT2-1=00, Auto_Dis=1, Calibrate=0"},
        {0x02, {false, true, false, false}, "01", "OUT2-1=01, Auto_Dis=0, Calibrate=0"},
        {0x04, {false, false, true, false}, "10", "OUT2-1=10, Auto_Dis=0, Calibrate=0"},
        {0x08, {false, false, false, true}, "00", "OUT2-1=00, Auto_Dis=0, Calibrate=1"},
        {0xFF, {true, true, true, true}, "11", "OUT2-1=11, Auto_Dis=1, Calibrate=1"},
        {0xF0, {false, false, false, false}, "00", "OUT2-1=00, Auto_Dis=0, Calibrate=0"},
    };
    for (const Shown& s : shown) {
        Device device(LevellerBRow);
        device.object.Request[1] = s.byte;
        device.ShowRequest();
        EXPECT_EQ(RequestFlags(device.Frame<TLevellerBFrame>()), s.flags) << int(s.byte);
        EXPECT_EQ(device.grid.Cell(2), s.cell);
        EXPECT_EQ(DescribeLevellerBRequest(device.object.Request.data()), s.info);
    }
    struct Built { Flags flags; std::uint8_t after; };
    const Built built[] = {{{true, false, true, false}, 0x05}, {{false, true, false, true}, 0x0A},
                           {{false, false, false, false}, 0x00}, {{true, true, true, true}, 0x0F}};
    for (const Built& b : built) {
        Device device(LevellerBRow);
        SetRequestFlags(device.Frame<TLevellerBFrame>(), b.flags);
        device.object.Request[1] = 0xF0;
        device.info->FrameToRequest();
        EXPECT_EQ(device.object.Request[1], b.after) << "unused bits cleared";
    }
    // Column 2 holds the outputs only: Auto_Dis, Calibrate and the unused bits stay.
    struct Typed { const char* text; std::uint8_t before, after; };
    const Typed typed[] = {{"11", 0x09, 0x0F}, {"10", 0xFF, 0xFD}, {"01", 0xF0, 0xF2}, {"", 0x0F, 0x09},
                           {"0", 0x06, 0x00}, {"1", 0x06, 0x02}, {"z", 0x06, 0x00}};
    for (const Typed& t : typed) {
        Device device(LevellerBRow);
        device.object.Request[1] = t.before;
        device.info->GridToRequest(t.text, 2);
        EXPECT_EQ(device.object.Request[1], t.after) << t.text;
    }
}

TEST(LevellerBFrame, AnswerBetweenBodyFrameGridAndInfoLine)
{
    struct Row { Body body; const char* angle; Flags flags; const char* outputs; const char* info; };
    const Row rows[] = {
        {{0x02, 0x2D}, "45.00", {false, true, false, false}, "01", "ANG=45.00, OUT2-1=01, Auto_Dis=0, Calibrate=0"},
        {{0x1D, 0x2D}, "45.06", {true, false, true, true}, "10", "ANG=45.06, OUT2-1=10, Auto_Dis=1, Calibrate=1"},
        {{0xF6, 0xFF}, "255.94", {false, true, true, false}, "11", "ANG=255.94, OUT2-1=11, Auto_Dis=0, Calibrate=0"},
        {{0x00, 0x00}, "0.00", {false, false, false, false}, "00", "ANG=0.00, OUT2-1=00, Auto_Dis=0, Calibrate=0"},
    };
    for (const Row& r : rows) {
        Device device(LevellerBRow);
        auto& f = device.Frame<TLevellerBFrame>();
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        EXPECT_EQ(f.ANGEdit->Text(), r.angle);
        EXPECT_EQ(AnswerFlags(f), r.flags) << r.info;
        EXPECT_EQ(device.Cells(), (std::vector<QString>{r.angle, "-", "-", r.outputs}));
        EXPECT_EQ(DescribeLevellerBAnswer(device.Answer().data()), r.info);
    }
}

TEST(LevellerBFrame, FrameBuildsTheAnswer)
{
    struct Row { const char* angle; Flags flags; std::uint16_t word; };
    const Row rows[] = {
        {"45", {false, true, false, false}, 0x2D02},
        {"255.97", {false, false, false, false}, 0x0000},   // 4096 sixteenths keep their low 12 bits
        {"45.03", {true, false, false, false}, 0x2D01},      // 720.48 + 0.5: still 720
        {"45.04", {false, false, false, true}, 0x2D18},      // 721
        {"x", {true, true, true, true}, 0xABCF},             // the angle stays, the flags are rebuilt
        {"", {false, false, true, false}, 0xABC4},
    };
    for (const Row& r : rows) {
        Device device(LevellerBRow);
        auto& f = device.Frame<TLevellerBFrame>();
        device.Answer()[1] = 0xCB;   // word 0xABCB
        device.Answer()[2] = 0xAB;
        device.Answer()[3] = 0x77;
        f.ANGEdit->SetText(r.angle);
        SetAnswerFlags(f, r.flags);
        device.BuildAnswer();
        EXPECT_EQ(device.Answer()[1] | device.Answer()[2] << 8, r.word) << r.angle;
        EXPECT_EQ(device.Answer()[3], 0x77);
    }
    // The stored sixteenths show the stepped value when the answer is shown again.
    Device device(LevellerBRow);
    auto& f = device.Frame<TLevellerBFrame>();
    f.ANGEdit->SetText("45.04");
    device.BuildAnswer();
    device.ShowAnswer();
    EXPECT_EQ(f.ANGEdit->Text(), "45.06");
}

TEST(LevellerBFrame, GridCellsSetAngleAndOutputs)
{
    struct Row { int column; const char* text; std::uint16_t word; };
    const Row rows[] = {
        {3, "45", 0x2D0B},
        {3, "0.03125", 0x001B},     // half a sixteenth: away from zero
        {3, "256", 0x000B},
        {3, "bad", 0xABCB},
        {6, "11", 0xABCF},          // angle, Auto_Dis and Calibrate stay
        {6, "0", 0xABC9},
        {6, "10", 0xABCD},
        {4, "1", 0xABCB},
        {5, "1", 0xABCB},
        {2, "11", 0xABCB},
    };
    for (const Row& r : rows) {
        Device device(LevellerBRow);
        device.Answer()[1] = 0xCB;
        device.Answer()[2] = 0xAB;
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(device.Answer()[1] | device.Answer()[2] << 8, r.word) << r.column << " " << r.text;
    }
}

TEST(LevellerBFrame, AutomaticAnswerFollowsTheRequestShown)
{
    struct Row { Flags request; Flags answerBefore; Flags answerAfter; };
    const Row rows[] = {
        // Auto_Dis on: Auto_Dis and the outputs copied, Calibrate cleared.
        {{true, false, true, true}, {false, true, false, true}, {true, false, true, false}},
        {{true, true, false, false}, {false, false, true, false}, {true, true, false, false}},
        // Auto_Dis off: Calibrate copied, the outputs the user set stay.
        {{false, false, false, true}, {true, true, true, false}, {false, true, true, true}},
        {{false, true, true, false}, {false, false, true, true}, {false, false, true, false}},
    };
    for (const Row& r : rows) {
        Device device(LevellerBRow);
        auto& f = device.Frame<TLevellerBFrame>();
        SetRequestFlags(f, r.request);
        SetAnswerFlags(f, r.answerBefore);
        f.ANGEdit->SetText("45");
        f.AutoAnswerBox->SetChecked(true);
        device.BuildAnswer();
        EXPECT_EQ(AnswerFlags(f), r.answerAfter);
        const Flags& a = r.answerAfter;
        const int flags = (a.autoDis ? 1 : 0) | (a.out1 ? 2 : 0) | (a.out2 ? 4 : 0) | (a.calibrate ? 8 : 0);
        EXPECT_EQ(device.Answer()[1], 0x00 | flags);
        EXPECT_EQ(device.Answer()[2], 0x2D);
        EXPECT_EQ(device.grid.Cell(6), QString("%1%2").arg(a.out2 ? 1 : 0).arg(a.out1 ? 1 : 0));
    }
    // Unticked, the answer keeps its own flags.
    Device device(LevellerBRow);
    auto& f = device.Frame<TLevellerBFrame>();
    SetRequestFlags(f, {true, true, true, true});
    device.BuildAnswer();
    EXPECT_EQ(AnswerFlags(f), (Flags{false, false, false, false}));
    EXPECT_EQ(device.Answer()[1] & 0x0F, 0);
}

TEST(LevellerBFrame, AutomaticAnswerInTheEmulationPath)
{
    // The program's change handler: outside a write of its own, a changed control rebuilds the
    // answer and its grid cells.
    Device device(LevellerBRow);
    auto& f = device.Frame<TLevellerBFrame>();
    int rebuilds = 0;
    TFrameHandlers handlers = device.handlers;
    handlers.OnChange = [&](QObject*) {
        if (UpdatingControls)
            return;
        ++rebuilds;
        TUpdatingControls updating;
        device.info->FrameToAnswer();
        device.info->AnswerToGrid();
    };
    device.info->BindControls(f.InPanel, &handlers);
    f.ANGEdit->SetText("10");
    EXPECT_EQ(rebuilds, 1);

    // Ticking the box rebuilds the answer at once.
    {
        TUpdatingControls updating;   // the received request, shown by the hand-off
        device.object.Request[1] = 0x05;   // Auto_Dis, OUT2
        device.info->RequestToFrame();
    }
    f.AutoAnswerBox->SetChecked(true);
    EXPECT_GE(rebuilds, 2);
    EXPECT_EQ(device.Answer()[1], 0x05);   // 160 sixteenths from bit 4 on
    EXPECT_EQ(device.Answer()[2], 0x0A);
    EXPECT_EQ(device.grid.Cell(6), "10");

    // The emulation builds the answer without UpdatingControls: the boxes it changes run the
    // handler again, which ends with the same answer.
    {
        TUpdatingControls updating;
        device.object.Request[1] = 0x0A;   // OUT1, Calibrate; Auto_Dis off
        device.info->RequestToFrame();
    }
    const int before = rebuilds;
    ASSERT_FALSE(UpdatingControls);
    device.info->FrameToAnswer();
    EXPECT_GT(rebuilds, before) << "a changed box runs the handler";
    EXPECT_EQ(AnswerFlags(f), (Flags{false, false, true, true}));
    EXPECT_EQ(device.Answer()[1], 0x0C);
    EXPECT_EQ(device.Answer()[2], 0x0A);
    EXPECT_EQ(device.grid.Cell(6), "10");
}

TEST(LevellerFrames, CellsAreWrittenOnlyWhenTheyDiffer)
{
    for (int row : {LevellerARow, LevellerBRow}) {
        Device device(row);
        SetBody(device.Answer(), {0x12, 0x34, 0x56, 0x78});
        for (int pass = 0; pass < 2; ++pass) {
            device.ShowAnswer();
            device.ShowRequest();
        }
        for (int column = 2; column <= 6; ++column)
            EXPECT_EQ(device.grid.Writes[column], 1) << row << " column " << column;
    }
}

// The answer-only blocks: the transmission block, the input block and the ultrasonic range
// finder, on their catalogue rows, between body, frame, grid and info line.
#include "frames/GearBlockA.h"
#include "frames/IoBlockA.h"
#include "frames/Ultrasonic.h"
#include "AnswerFrameChecks.h"

#include <gtest/gtest.h>

namespace {
constexpr int GearBlockARow = 1;
constexpr int UltrasonicRow = 85;
const std::vector<int> IoBlockARows = {4, 64};

void BindBlockUnits()
{
    BindAfterStart([] {
        RegisterGearBlockAFrames();
        RegisterIoBlockAFrames();
        RegisterUltrasonicFrames();
    });
}

struct Device : FrameDevice {
    explicit Device(int row) : FrameDevice((BindBlockUnits(), row)) {}
    std::vector<QString> Cells() const { return {grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}; }
};

std::vector<QString> Texts(std::initializer_list<const TEdit*> edits)
{
    std::vector<QString> texts;
    for (const TEdit* edit : edits)
        texts.push_back(edit->Text());
    return texts;
}
}

// ---------------------------------------------------------------------------------------------
// Transmission block

namespace {
// Edits in body order: T7 (byte 1), P13, P8, P9, L4.
std::vector<QString> GearEdits(const TGearBlockAFrame& f)
{
    return Texts({f.T7Edit, f.P13Edit, f.P8Edit, f.P9Edit, f.L4Edit});
}
}

TEST(GearBlockAFrame, RowMakesTheFrameWithItsControls)
{
    Device device(GearBlockARow);
    auto& f = device.Frame<TGearBlockAFrame>();
    EXPECT_STREQ(f.ClassName(), "TGearBlockAFrame");
    EXPECT_EQ(DeviceCatalogue[GearBlockARow].DescribeAnswer, DescribeGearBlockAAnswer);
    EXPECT_EQ(DeviceCatalogue[GearBlockARow].DescribeRequest, nullptr);
    ExpectAnswerOnly(*device.info, f);
    const std::vector<QString> names = {
        "TTLabel", "T7Label", "T7Edit", "T7UpDown", "Bevel1", "PLabel", "P8Label", "P8Edit", "P8UpDown",
        "P9Label", "P9Edit", "P9UpDown", "P13Label", "P13Edit", "P13UpDown", "Bevel2", "LLabel", "L4Label",
        "L4Edit", "L4UpDown"};
    EXPECT_EQ(ControlNames(f.InPanel), names);
    EXPECT_EQ(f.TTLabel->Caption(), "T, °C:");
    EXPECT_EQ(f.T7Label->Caption(), "7");
    EXPECT_EQ(f.PLabel->Caption(), "P, МПа:");
    EXPECT_EQ(f.P8Label->Caption(), "8");
    EXPECT_EQ(f.P9Label->Caption(), "9");
    EXPECT_EQ(f.P13Label->Caption(), "13");
    EXPECT_EQ(f.LLabel->Caption(), "L, %:");
    EXPECT_EQ(f.L4Label->Caption(), "4");
    ExpectStepper(f.T7Edit, f.T7UpDown, 0, 0, 100, false);
    ExpectStepper(f.P8Edit, f.P8UpDown, 2, 0, 100, false);
    ExpectStepper(f.P9Edit, f.P9UpDown, 2, 0, 100, false);
    ExpectStepper(f.P13Edit, f.P13UpDown, 2, 0, 100, false);
    ExpectStepper(f.L4Edit, f.L4UpDown, 0, 0, 100, false);
}

TEST(GearBlockAFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Body body;
        std::vector<QString> edits;   // T7, P13, P8, P9, L4
        std::vector<QString> cells;
        const char* info;
    };
    const Row rows[] = {
        {{25, 5, 31, 31, 80}, {"25", "0.05", "0.31", "3.10", "80"}, {"25", "0.31", "-", "-"},
         "T7=25, P8=0.31, P9=3.10, P13=0.05, L4=80"},
        {{255, 255, 255, 255, 255}, {"255", "2.55", "2.55", "25.50", "255"}, {"255", "2.55", "-", "-"},
         "T7=255, P8=2.55, P9=25.50, P13=2.55, L4=255"},
        {{0, 0, 0, 0, 0}, {"0", "0.00", "0.00", "0.00", "0"}, {"0", "0.00", "-", "-"},
         "T7=0, P8=0.00, P9=0.00, P13=0.00, L4=0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        Device device(GearBlockARow);
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        EXPECT_EQ(GearEdits(device.Frame<TGearBlockAFrame>()), r.edits);
        EXPECT_EQ(device.Cells(), r.cells);
        EXPECT_EQ(DescribeGearBlockAAnswer(device.Answer().data()), r.info);
    }
}

TEST(GearBlockAFrame, EditsBuildTheAnswerOneFieldAtATime)
{
    struct Row {
        std::vector<QString> edits;   // T7, P13, P8, P9, L4
        Body body;
    };
    const Row rows[] = {
        {{"25", "0.05", "2.56", "3.14", "80"}, {25, 5, 0, 31, 80}},        // P8 256 cut to 0, P9 3.14 -> 31
        {{"x", "-0.01", "0.5", "0.04", "300"}, {0xEE, 0, 50, 0, 44}},      // T7 kept, the rest still sent
        {{"-1", "1.234", "", "abc", "1.5"}, {255, 123, 0xEE, 0xEE, 0xEE}},
        {{"1e30", "1e30", "0.125", "0.05", "7"}, {0xEE, 0xEE, 13, 1, 7}},
    };
    for (const Row& r : rows) {
        Device device(GearBlockARow);
        auto& f = device.Frame<TGearBlockAFrame>();
        SetBody(device.Answer(), Body(5, 0xEE));
        TEdit* edits[] = {f.T7Edit, f.P13Edit, f.P8Edit, f.P9Edit, f.L4Edit};
        for (std::size_t i = 0; i < 5; ++i)
            edits[i]->SetText(r.edits[i]);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 5), r.body) << r.edits[0].toStdString();
        EXPECT_EQ(device.Answer()[6], 0) << "the XOR byte belongs to the line engine";
    }

    // P9 3.14 comes back as 3.10.
    Device device(GearBlockARow);
    auto& f = device.Frame<TGearBlockAFrame>();
    f.P9Edit->SetText("3.14");
    device.BuildAnswer();
    device.ShowAnswer();
    EXPECT_EQ(f.P9Edit->Text(), "3.10");
}

TEST(GearBlockAFrame, GridCellsSetTemperatureAndP8)
{
    struct Row { int column; const char* text; Body body; };
    const Row rows[] = {
        {3, "7.5", {8, 2, 3, 4, 5}},       // half away from zero
        {3, "-1", {255, 2, 3, 4, 5}},
        {3, "x", {1, 2, 3, 4, 5}},
        {4, "0.125", {1, 2, 13, 4, 5}},
        {4, "-0.125", {1, 2, 243, 4, 5}},
        {4, "2.56", {1, 2, 0, 4, 5}},
        {4, "", {1, 2, 3, 4, 5}},
        {5, "1", {1, 2, 3, 4, 5}},
        {6, "1", {1, 2, 3, 4, 5}},
    };
    for (const Row& r : rows) {
        Device device(GearBlockARow);
        SetBody(device.Answer(), {1, 2, 3, 4, 5});
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), 5), r.body) << r.column << " " << r.text;
    }
}

// ---------------------------------------------------------------------------------------------
// Input block

namespace {
std::vector<int> Items(const TIoBlockAFrame& f)
{
    std::vector<int> items;
    for (const TComboBox* combo : f.INComboBoxes)
        items.push_back(combo->ItemIndex());
    return items;
}
}

TEST(IoBlockAFrame, RowsMakeTheFrameWithSixteenInputs)
{
    for (int row : IoBlockARows) {
        SCOPED_TRACE(row);
        Device device(row);
        auto& f = device.Frame<TIoBlockAFrame>();
        EXPECT_STREQ(f.ClassName(), "TIoBlockAFrame");
        EXPECT_EQ(DeviceCatalogue[row].DescribeAnswer, DescribeIoBlockAAnswer);
        EXPECT_EQ(DeviceCatalogue[row].DescribeRequest, nullptr);
        ExpectAnswerOnly(*device.info, f);

        std::vector<QString> names = {"INLabel"};
        for (int i = 1; i <= 16; ++i) {
            names.push_back(QString("IN%1Label").arg(i));
            names.push_back(QString("IN%1ComboBox").arg(i));
        }
        EXPECT_EQ(ControlNames(f.InPanel), names);
        EXPECT_EQ(f.INLabel->Caption(), "IN:");
        for (int i = 0; i < 16; ++i) {
            const auto k = static_cast<std::size_t>(i);
            EXPECT_EQ(f.INLabels[k]->Caption(), QString::number(i + 1));
            EXPECT_EQ(f.INComboBoxes[k]->Items(), i < 15 ? (QStringList{"Свободен", "+24 В", "Масса"}) : (QStringList{"Свободен", "Масса"}));
            EXPECT_EQ(f.INComboBoxes[k]->Style(), TComboStyle::DropDownList);
            EXPECT_FALSE(f.INComboBoxes[k]->Enabled());
        }
    }
}

TEST(IoBlockAFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Body body;
        std::vector<int> items;   // IN1 ... IN16
        const char* column5;
        const char* info;
    };
    const Row rows[] = {
        {{0x91, 0x91, 0x1B, 0xC6}, {1, 0, 1, 2, 1, 0, 1, 2, -1, 2, 1, 0, 2, 1, 0, 1}, "2101 2101",
         "IN16-1=2012 0123 2101 2101"},
        {{0, 0, 0, 0}, std::vector<int>(16, 0), "0000 0000", "IN16-1=0000 0000 0000 0000"},
        {{0xFF, 0xFF, 0xFF, 0x7F}, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0}, "3333 3333",
         "IN16-1=0333 3333 3333 3333"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        Device device(IoBlockARows[1]);
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        EXPECT_EQ(Items(device.Frame<TIoBlockAFrame>()), r.items);
        EXPECT_EQ(device.Cells(), (std::vector<QString>{"-", "-", r.column5, "-"}));
        EXPECT_EQ(DescribeIoBlockAAnswer(device.Answer().data()), r.info);
    }
}

TEST(IoBlockAFrame, CombosBuildTheAnswer)
{
    struct Row {
        std::vector<int> items;   // IN1 ... IN16
        Body body;
    };
    const Row rows[] = {
        {{1, 0, 1, 2, 1, 0, 1, 2, -1, 2, 1, 0, 2, 1, 0, 1}, {0x91, 0x91, 0x18, 0x86}},   // bit 6 sent as 0
        {std::vector<int>(16, -1), {0, 0, 0, 0x80}},   // IN16 without a chosen item is set
        {std::vector<int>(16, 0), {0, 0, 0, 0}},
        {{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1}, {0xAA, 0xAA, 0xAA, 0xAA}},
    };
    for (const Row& r : rows) {
        Device device(IoBlockARows[0]);
        auto& f = device.Frame<TIoBlockAFrame>();
        SetBody(device.Answer(), Body(4, 0xFF));
        for (std::size_t i = 0; i < 16; ++i)
            f.INComboBoxes[i]->SetItemIndex(r.items[i]);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 4), r.body);
        EXPECT_EQ(device.Answer()[5], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST(IoBlockAFrame, GridColumnFiveSetsTheFirstEightInputs)
{
    struct Row { int column; const char* text; Body body; };
    const Row rows[] = {
        {5, "2101 2101", {0x91, 0x91, 0xAB, 0xCD}},
        {5, "21", {0x09, 0x00, 0xAB, 0xCD}},     // missing digits count as 0
        {5, "", {0x00, 0x00, 0xAB, 0xCD}},
        {5, "3", {0x00, 0x00, 0xAB, 0xCD}},      // no radix-3 digit
        {5, "12 x1", {0x01, 0x00, 0xAB, 0xCD}},  // digits up to the first that is none
        {3, "1", {0xFF, 0xFF, 0xAB, 0xCD}},
        {4, "1", {0xFF, 0xFF, 0xAB, 0xCD}},
        {6, "1", {0xFF, 0xFF, 0xAB, 0xCD}},
    };
    for (const Row& r : rows) {
        Device device(IoBlockARows[0]);
        SetBody(device.Answer(), {0xFF, 0xFF, 0xAB, 0xCD});
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), 4), r.body) << r.column << " " << r.text;
    }
}

// ---------------------------------------------------------------------------------------------
// Ultrasonic range finder

TEST(UltrasonicFrame, RowMakesTheFrameWithEightDistances)
{
    Device device(UltrasonicRow);
    auto& f = device.Frame<TUltrasonicFrame>();
    EXPECT_STREQ(f.ClassName(), "TUltrasonicFrame");
    EXPECT_EQ(DeviceCatalogue[UltrasonicRow].DescribeAnswer, DescribeUltrasonicAnswer);
    EXPECT_EQ(DeviceCatalogue[UltrasonicRow].DescribeRequest, nullptr);
    ExpectAnswerOnly(*device.info, f);
    const std::vector<QString> names = {
        "PLabel", "Edit1", "PUpDown", "Label1", "Edit2", "UpDown1", "Label2", "Edit3", "UpDown2",
        "Label3", "Edit4", "UpDown3", "Label4", "Edit5", "UpDown4", "Label5", "Edit6", "UpDown5",
        "Label6", "Edit7", "UpDown6", "Label7", "Edit8", "UpDown7"};
    EXPECT_EQ(ControlNames(f.InPanel), names);
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(f.Labels[k]->Caption(), QString("V%1, м:").arg(k + 1));
        ExpectStepper(f.Edits[k], f.UpDowns[k], 2, 0, 100, false);
    }
}

TEST(UltrasonicFrame, AnswerShownInFrameAndInfoLineButNotInTheGrid)
{
    Device device(UltrasonicRow);
    SetBody(device.Answer(), {0, 1, 50, 100, 255, 128, 7, 10});
    device.ShowAnswer();
    auto& f = device.Frame<TUltrasonicFrame>();
    std::vector<QString> texts;
    for (const TEdit* edit : f.Edits)
        texts.push_back(edit->Text());
    EXPECT_EQ(texts, (std::vector<QString>{"0.00", "0.01", "0.50", "1.00", "2.55", "1.28", "0.07", "0.10"}));
    EXPECT_EQ(device.Cells(), (std::vector<QString>{"-", "-", "-", "-"}));
    EXPECT_EQ(DescribeUltrasonicAnswer(device.Answer().data()),
              "V1=0.00 V2=0.01 V3=0.50 V4=1.00 V5=2.55 V6=1.28 V7=0.07 V8=0.10");
}

TEST(UltrasonicFrame, EditsBuildTheAnswerUntilATextDoesNotConvert)
{
    struct Row {
        std::vector<QString> edits;
        Body body;
    };
    const Row rows[] = {
        // Single precision: 2.55 is 254.99.. cm and gives 255; 2.56 gives 256, cut to 0.
        {{"2.55", "2.56", "0.5", "0.01", "1", "0", "-0.5", "0.29"}, {255, 0, 50, 1, 100, 0, 207, 29}},
        {{"1", "2", "x", "4", "5", "6", "7", "8"}, {100, 200, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
        {{"", "2", "3", "4", "5", "6", "7", "8"}, Body(8, 0xEE)},
        {{"0.1", "1e40", "3", "4", "5", "6", "7", "8"}, {10, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
    };
    for (const Row& r : rows) {
        Device device(UltrasonicRow);
        auto& f = device.Frame<TUltrasonicFrame>();
        SetBody(device.Answer(), Body(8, 0xEE));
        for (std::size_t k = 0; k < 8; ++k)
            f.Edits[k]->SetText(r.edits[k]);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 8), r.body) << r.edits[0].toStdString();
        EXPECT_EQ(device.Answer()[9], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST(UltrasonicFrame, GridEditsChangeNothing)
{
    for (int column = 2; column <= 6; ++column) {
        Device device(UltrasonicRow);
        SetBody(device.Answer(), {1, 2, 3, 4, 5, 6, 7, 8});
        device.info->GridToAnswer("1", column);
        EXPECT_EQ(BodyOf(device.Answer(), 8), (Body{1, 2, 3, 4, 5, 6, 7, 8})) << column;
    }
}

TEST(AnswerBlocks, CellsAreWrittenOnlyWhenTheyDiffer)
{
    for (int row : {GearBlockARow, IoBlockARows[0], UltrasonicRow}) {
        Device device(row);
        SetBody(device.Answer(), {1, 2, 3, 4, 5});
        device.ShowAnswer();
        device.ShowAnswer();
        for (int column = 3; column <= 6; ++column)
            EXPECT_EQ(device.grid.Writes[column], 1) << "row " << row << " column " << column;
    }
}

// The answer-only blocks (transmission, inputs, ultrasonic range finder) on their catalogue rows.
#include "frames/GearBlockA.h"
#include "frames/IoBlockA.h"
#include "frames/Ultrasonic.h"
#include "FrameRig.h"

namespace {
constexpr int GearBlockARow = 1;
constexpr int UltrasonicRow = 85;
const std::vector<int> IoBlockARows = {4, 64};

struct Device : FrameDevice {
    explicit Device(int row) : FrameDevice(row) {}
    // T7 (byte 1), P13, P8, P9, L4: in body order.
    std::vector<TEdit*> GearEdits()
    {
        auto& f = Frame<TGearBlockAFrame>();
        return {f.T7Edit, f.P13Edit, f.P8Edit, f.P9Edit, f.L4Edit};
    }
    std::vector<TComboBox*> Inputs() { return {Frame<TIoBlockAFrame>().INComboBoxes.begin(), Frame<TIoBlockAFrame>().INComboBoxes.end()}; }
    std::vector<TEdit*> Ranges() { return {Frame<TUltrasonicFrame>().Edits.begin(), Frame<TUltrasonicFrame>().Edits.end()}; }
};

// The body after one grid cell is typed over `before`, for each row of a table.
struct CellCase { int column; const char* text; Body body; };
void ExpectCells(int row, const Body& before, std::initializer_list<CellCase> cases)
{
    for (const CellCase& c : cases) {
        Device device(row);
        EXPECT_EQ(AfterCell(device, before, c.column, c.text), c.body) << c.column << " '" << c.text << "'";
    }
}
}

TEST(GearBlockAFrame, AnswerBetweenBodyFrameGridAndInfoLine)
{
    Device shown(GearBlockARow);
    EXPECT_EQ(ShowBody(shown, {25, 5, 31, 31, 80}),
              (std::vector<QString>{"25", "0.31", "-", "-", "T7=25, P8=0.31, P9=3.10, P13=0.05, L4=80"}));
    EXPECT_EQ(Values(shown.GearEdits()), (std::vector<QString>{"25", "0.05", "0.31", "3.10", "80"}));

    // Each field on its own: a text that does not convert keeps only its own byte.
    struct Built { std::vector<QString> edits; Body body; };
    const Built built[] = {
        {{"25", "0.05", "2.56", "3.14", "80"}, {25, 5, 0, 31, 80}},        // P8 256 cut to 0, P9 3.14 -> 31
        {{"-1", "1.234", "", "abc", "1.5"}, {255, 123, 0xEE, 0xEE, 0xEE}},
    };
    for (const Built& b : built) {
        Device device(GearBlockARow);
        SetValues(device.GearEdits(), b.edits);
        EXPECT_EQ(BuildOver(device, Body(5, 0xEE)), b.body) << b.edits[0].toStdString();
    }

    ExpectCells(GearBlockARow, {1, 2, 3, 4, 5},
                {{3, "7.5", {8, 2, 3, 4, 5}},   // half away from zero
                 {4, "2.56", {1, 2, 0, 4, 5}},
                 {5, "1", {1, 2, 3, 4, 5}}});
}

TEST(IoBlockAFrame, AnswerBetweenBodyFrameGridAndInfoLine)
{
    Device shown(IoBlockARows[1]);
    EXPECT_EQ(ShowBody(shown, {0x91, 0x91, 0x1B, 0xC6}),
              (std::vector<QString>{"-", "-", "2101 2101", "-", "IN16-1=2012 0123 2101 2101"}));
    EXPECT_EQ(Values(shown.Inputs()), (std::vector<int>{1, 0, 1, 2, 1, 0, 1, 2, -1, 2, 1, 0, 2, 1, 0, 1}));

    struct Built { std::vector<int> items; Body body; };
    const Built built[] = {
        {{1, 0, 1, 2, 1, 0, 1, 2, -1, 2, 1, 0, 2, 1, 0, 1}, {0x91, 0x91, 0x18, 0x86}},   // bit 6 sent as 0
        {std::vector<int>(16, -1), {0, 0, 0, 0x80}},   // IN16 without a chosen item is set
    };
    for (const Built& b : built) {
        Device device(IoBlockARows[0]);
        SetValues(device.Inputs(), b.items);
        EXPECT_EQ(BuildOver(device, Body(4, 0xFF)), b.body);
    }

    ExpectCells(IoBlockARows[0], {0xFF, 0xFF, 0xAB, 0xCD},
                {{5, "21", {0x09, 0x00, 0xAB, 0xCD}},      // missing digits count as 0
                 {4, "1", {0xFF, 0xFF, 0xAB, 0xCD}}});
}

TEST(UltrasonicFrame, AnswerBetweenBodyFrameAndInfoLineButNotTheGrid)
{
    Device device(UltrasonicRow);
    EXPECT_EQ(ShowBody(device, {0, 1, 50, 100, 255, 128, 7, 10}),
              (std::vector<QString>{"-", "-", "-", "-", "V1=0.00 V2=0.01 V3=0.50 V4=1.00 V5=2.55 V6=1.28 V7=0.07 V8=0.10"}));
    EXPECT_EQ(Values(device.Ranges()), (std::vector<QString>{"0.00", "0.01", "0.50", "1.00", "2.55", "1.28", "0.07", "0.10"}));

    // The edits are read in order until one does not convert.
    struct Built { std::vector<QString> edits; Body body; };
    const Built built[] = {
        // Single precision: 2.55 is 254.99.. cm and gives 255; 2.56 gives 256, cut to 0.
        {{"2.55", "2.56", "0.5", "0.01", "1", "0", "-0.5", "0.29"}, {255, 0, 50, 1, 100, 0, 207, 29}},
        {{"0.1", "1e40", "3", "4", "5", "6", "7", "8"}, {10, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
    };
    for (const Built& b : built) {
        Device built(UltrasonicRow);
        SetValues(built.Ranges(), b.edits);
        EXPECT_EQ(BuildOver(built, Body(8, 0xEE)), b.body) << b.edits[0].toStdString();
    }

    const Body body{1, 2, 3, 4, 5, 6, 7, 8};
    ExpectCells(UltrasonicRow, body, {{3, "1", body}, {5, "1", body}});
}

// The three azimuth frames on their catalogue rows: angle, temperature and input between body,
// frame, grid and info line, with the angle wrapped into its range.
#include "AngleValueSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {
constexpr int AzimuthA = 25, AzimuthB = 26, AzimuthC = 82;

std::size_t BodySize(int row) { return static_cast<std::size_t>(DeviceCatalogue[row].AnswerLength - 2); }
std::string Trace(int row, const std::string& what) { return "row " + std::to_string(row) + ": " + what; }

class AzimuthFrames : public ::testing::Test {
protected:
    void SetUp() override { BindAngleValueRows(); }
};
}

TEST_F(AzimuthFrames, EveryRowMakesItsClassWithItsControlsAndSlots)
{
    struct Row {
        int row;
        const char* frameClass;
        int angleTag;
        int angleMin;
        QStringList items;
        TDescribeMessage decoder;
    };
    const Row rows[] = {
        {AzimuthA, "TAzimuthAFrame", 1, 0, {"Свободен", "Масса"}, DescribeAzimuthAAnswer},
        {AzimuthB, "TAzimuthBFrame", 3, -1, {"Свободен", "+24 В", "Масса"}, DescribeAzimuthBAnswer},
        {AzimuthC, "TAzimuthCFrame", 1, 0, {"Свободен", "Плюс", "Масса"}, DescribeAzimuthCAnswer},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Trace(r.row, r.frameClass));
        FrameDevice device(r.row);
        auto& frame = device.Frame<TAngleValueFrame>();
        EXPECT_STREQ(frame.ClassName(), r.frameClass);
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeAnswer, r.decoder);
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeRequest, nullptr);
        const std::vector<QString> names = {"ANGLabel", "ANGEdit", "ANGUpDown", "T1Label", "T1Edit", "T1UpDown",
                                            "Bevel1", "INLabel", "IN1Label", "IN1ComboBox"};
        EXPECT_EQ(ControlNames(frame.InPanel), names);

        const TDeviceInfo& info = *device.info;
        EXPECT_TRUE(info.GridToAnswer && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
        EXPECT_FALSE(info.GridToRequest || info.FrameToRequest || info.RequestToFrame || info.RequestToGrid);
        EXPECT_EQ(info.RequestPanel, nullptr);
        EXPECT_EQ(info.AnswerPanel, frame.InPanel);

        EXPECT_EQ(frame.ANGEdit->Tag, r.angleTag);
        EXPECT_EQ(frame.SecondEdit->Tag, 1);
        EXPECT_EQ(frame.ANGUpDown->Min(), r.angleMin);
        EXPECT_EQ(frame.SecondUpDown->Min(), 0);
        EXPECT_EQ(frame.ANGUpDown->TagWidget(), frame.ANGEdit);
        EXPECT_EQ(frame.SecondUpDown->TagWidget(), frame.SecondEdit);
        EXPECT_EQ(frame.SecondLabel->Caption(), "T, °C:");
        EXPECT_EQ(frame.IN1ComboBox->Items(), r.items);
        EXPECT_FALSE(frame.IN1ComboBox->Enabled());
        EXPECT_EQ(frame.IN2ComboBox, nullptr);
    }
    FrameDevice b(AzimuthB);
    EXPECT_EQ(b.Frame<TAzimuthBFrame>().T1Edit->Name(), "T1Edit");
}

TEST_F(AzimuthFrames, BodyShownInFrameGridAndInfoLine)
{
    struct Row {
        int row;
        Body body;
        const char* angle;
        const char* temperature;
        int item;
        const char* input;   // column 5
        const char* line;
    };
    const Row rows[] = {
        {AzimuthA, {0xB4, 0x80, 0x85, 0, 0}, "-180", "-5", 0, "0", "ANG=-180, T=-5, IN1=0"},
        {AzimuthA, {0x0A, 0x40, 0x19, 0, 0}, "10", "25", 1, "1", "ANG=10, T=25, IN1=1"},
        {AzimuthA, {0xFF, 0x3F, 0x80, 0xAA, 0x55}, "255", "0", 0, "0", "ANG=255, T=0, IN1=0"},
        {AzimuthC, {0x05, 0xE0, 0x03, 0, 0}, "-5", "3", 2, "3", "ANG=-5, T=3, IN1=3"},   // code 3 shows "Масса"
        {AzimuthC, {0x05, 0x20, 0x03, 0, 0}, "5", "3", 1, "1", "ANG=5, T=3, IN1=1"},
        {AzimuthB, {0xFF, 0xAB}, "359.65", "-20", 2, "2", "ANG=359.65, T=-20, IN1=2"},
        {AzimuthB, {0x01, 0xC0}, "0.35", "-60", -1, "3", "ANG=0.35, T=-60, IN1=3"},
        {AzimuthB, {0x00, 0x7E}, "180.00", "0", 1, "1", "ANG=180.00, T=0, IN1=1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Trace(r.row, r.line));
        ShownDevice shown(r.row, r.body);
        auto& frame = shown.frame();
        EXPECT_EQ(frame.ANGEdit->Text(), r.angle);
        EXPECT_EQ(frame.SecondEdit->Text(), r.temperature);
        EXPECT_EQ(frame.IN1ComboBox->ItemIndex(), r.item);
        const TStringsRow& grid = shown.device.grid;
        EXPECT_EQ(grid.Cell(3), r.angle);
        EXPECT_EQ(grid.Cell(4), r.temperature);
        EXPECT_EQ(grid.Cell(5), r.input);
        EXPECT_EQ(grid.Cell(6), "-");
        EXPECT_EQ(DeviceCatalogue[r.row].DescribeAnswer(shown.device.Answer().data()), r.line);
    }
}

TEST_F(AzimuthFrames, FrameBuildsTheBodyAndRewritesTheWrappedAngle)
{
    struct Row {
        int row;
        Body before;
        const char* angle;
        const char* temperature;
        int item;
        Body after;
        const char* angleShown;
    };
    const Row rows[] = {
        {AzimuthA, {0, 0, 0, 0, 0}, "180", "-5", 1, {0xB4, 0xC0, 0x85, 0, 0}, "-180"},
        {AzimuthA, {0, 0, 0, 0, 0}, "190", "128", 0, {0xAA, 0x80, 0x00, 0, 0}, "-170"},
        {AzimuthA, {0, 0x80, 0, 0x12, 0x34}, "-181", "127", 0, {0xB3, 0x00, 0x7F, 0x12, 0x34}, "179"},
        // The bits of byte 2 below the input stay; a cleared two-item combo sets the input.
        {AzimuthA, {0, 0x3F, 0, 0, 0}, "10", "-1", -1, {0x0A, 0x7F, 0x81, 0, 0}, "10"},
        // Whole degrees only: a decimal text changes nothing.
        {AzimuthA, {0x07, 0x80, 0x09, 0, 0}, "12.5", "1.5", 0, {0x07, 0x80, 0x09, 0, 0}, "12.5"},

        {AzimuthC, {0, 0, 0, 0, 0}, "-1", "-128", 2, {0x01, 0xC0, 0x80, 0, 0}, "-1"},
        // Code 3 received: the combo shows "Масса" and the next answer carries code 2.
        {AzimuthC, {0x05, 0x60, 0x03, 0, 0}, "5", "3", 2, {0x05, 0x40, 0x03, 0, 0}, "5"},
        // No selection builds code 0 and leaves the angle's sign alone.
        {AzimuthC, {0x05, 0xE0, 0x03, 0, 0}, "abc", "abc", -1, {0x05, 0x80, 0x03, 0, 0}, "abc"},

        {AzimuthB, {0, 0}, "360", "-20", 0, {0x00, 0x28}, "0"},
        {AzimuthB, {0, 0}, "359.9", "-21", 2, {0x00, 0xA8}, "359.9"},   // 1024 steps, cut to 10 bits
        {AzimuthB, {0, 0}, "0.3", "1", 1, {0x01, 0x7C}, "0.3"},
        {AzimuthB, {0, 0}, "-0.3", "2", 0, {0xFF, 0x03}, "359.7"},
        // The temperature also rewrites the input's bits; a bad one clears only those.
        {AzimuthB, {0x12, 0xEB}, "x", "x", -1, {0x12, 0x2B}, "x"},
        {AzimuthB, {0x12, 0xEB}, "x", "-23", 1, {0x12, 0x67}, "x"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Trace(r.row, std::string(r.angle) + " / " + r.temperature));
        ShownDevice shown(r.row, r.before);
        auto& frame = shown.frame();
        {
            TUpdatingControls updating;
            frame.ANGEdit->SetText(r.angle);
            frame.SecondEdit->SetText(r.temperature);
            frame.IN1ComboBox->SetItemIndex(r.item);
        }
        shown.device.BuildAnswer();
        EXPECT_EQ(BodyOf(shown.device.Answer(), BodySize(r.row)), r.after);
        EXPECT_EQ(frame.ANGEdit->Text(), r.angleShown);
        EXPECT_EQ(frame.SecondEdit->Text(), r.temperature) << "the temperature is never rewritten";
        EXPECT_EQ(shown.device.Answer()[BodySize(r.row) + 1], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST_F(AzimuthFrames, CoarseTemperatureRoundsToItsStep)
{
    struct Row {
        const char* typed;
        int field;   // byte 2 bits 2-5 in place
        const char* shown;
    };
    const Row rows[] = {
        {"-20", 40, "-20"}, {"-21", 40, "-20"}, {"-22", 40, "-20"}, {"-23", 36, "-24"},
        {"1", 60, "0"},     {"2", 0, "-60"},    {"-60", 0, "-60"},  {"-58", 4, "-56"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        ShownDevice shown(AzimuthB, {0, 0});
        shown.frame().SecondEdit->SetText(r.typed);
        shown.device.BuildAnswer();
        EXPECT_EQ(shown.device.Answer()[2] & 0x3C, r.field);
        EXPECT_EQ(shown.device.grid.Cell(4), r.shown);
    }
}

TEST_F(AzimuthFrames, GridCellsReachTheBodyWithoutWrapping)
{
    struct Row {
        int row;
        Body before;
        int column;
        const char* text;
        Body after;
    };
    const Row rows[] = {
        {AzimuthA, {0, 0x40, 0, 0, 0}, 3, "200", {0xC8, 0x40, 0, 0, 0}},
        {AzimuthA, {0, 0x00, 0, 0, 0}, 3, "-2.5", {0x03, 0x80, 0, 0, 0}},
        {AzimuthA, {0x05, 0x80, 0, 0, 0}, 3, "-0.4", {0x00, 0x00, 0, 0, 0}},
        {AzimuthA, {0, 0, 0, 0, 0}, 4, "-5", {0, 0, 0x85, 0, 0}},
        {AzimuthA, {0, 0, 0, 0, 0}, 4, "129", {0, 0, 0x01, 0, 0}},
        {AzimuthA, {0, 0x80, 0, 0, 0}, 5, "1", {0, 0xC0, 0, 0, 0}},
        {AzimuthA, {0, 0xC0, 0, 0, 0}, 5, "", {0, 0x80, 0, 0, 0}},
        {AzimuthA, {1, 2, 3, 4, 5}, 3, "x", {1, 2, 3, 4, 5}},
        {AzimuthA, {1, 2, 3, 4, 5}, 6, "9", {1, 2, 3, 4, 5}},

        {AzimuthC, {0, 0x80, 0, 0, 0}, 5, "1", {0, 0xA0, 0, 0, 0}},
        {AzimuthC, {0, 0xE0, 0, 0, 0}, 5, "0", {0, 0x80, 0, 0, 0}},
        {AzimuthC, {0, 0xE0, 0, 0, 0}, 5, "2", {0, 0x80, 0, 0, 0}},   // code 2 cannot be typed
        {AzimuthC, {0, 0, 0, 0, 0}, 3, "-10", {0x0A, 0x80, 0, 0, 0}},

        {AzimuthB, {0, 0xFC}, 3, "0.3", {0x01, 0xFC}},
        {AzimuthB, {0, 0xFC}, 3, "359.9", {0x00, 0xFC}},
        {AzimuthB, {0, 0xFC}, 3, "400", {0x72, 0xFC}},   // 1138 steps, cut to 10 bits
        {AzimuthB, {0, 0xC3}, 4, "-21.5", {0, 0xEB}},
        {AzimuthB, {0, 0x3F}, 5, "2", {0, 0xBF}},
        {AzimuthB, {0, 0xFF}, 5, "3", {0, 0x3F}},
        {AzimuthB, {0x12, 0x34}, 4, "x", {0x12, 0x34}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Trace(r.row, std::to_string(r.column) + " '" + r.text + "'"));
        FrameDevice device(r.row);
        SetBody(device.Answer(), r.before);
        device.info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(BodyOf(device.Answer(), BodySize(r.row)), r.after);
    }
}

TEST(AngleValueFrames, AbsurdTextsLeaveTheFramingBytesAndEndQuickly)
{
    // Huge, tiny and overlong numbers in every edit of every row: the wraps end, the texts that
    // convert land in their fields, and the line engine's bytes stay untouched.
    const char* texts[] = {"1e300", "-1e300", "1e-300", "-1e-300", "2147483648", "-2147483649", "1e4932", " 7 ", ""};
    for (int row : {13, 14, 39, 52, 84, 25, 26, 82}) {
        for (const char* text : texts) {
            SCOPED_TRACE(Trace(row, text));
            BindAngleValueRows();
            FrameDevice device(row);
            device.Answer()[0] = 0xAA;
            device.Answer()[BodySize(row) + 1] = 0x55;
            auto& frame = device.Frame<TAngleValueFrame>();
            frame.ANGEdit->SetText(text);
            frame.SecondEdit->SetText(text);
            device.BuildAnswer();
            device.BuildAnswer();
            device.info->GridToAnswer(text, 3);
            device.info->GridToAnswer(text, 4);
            device.info->GridToAnswer(text, 5);
            device.ShowAnswer();
            EXPECT_EQ(device.Answer()[0], 0xAA);
            EXPECT_EQ(device.Answer()[BodySize(row) + 1], 0x55);
            for (std::size_t i = BodySize(row) + 2; i < device.Answer().size(); ++i)
                EXPECT_EQ(device.Answer()[i], 0) << "byte " << i;
        }
    }
}

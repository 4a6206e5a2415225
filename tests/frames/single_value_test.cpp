// The fifteen single-value sensor models as data: answer word -> frame texts, grid texts and
// info line; frame -> word; grid cell -> word.
#include "frames/SingleValueModels.h"
#include "model/Catalogue.h"
#include "model/Helpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
TMessageImage Word(std::uint8_t low, std::uint8_t high)
{
    TMessageImage image{};
    image[0] = 0x43;     // an address byte and an XOR byte the frames must not touch
    image[1] = low;
    image[2] = high;
    image[3] = 0x5A;
    return image;
}

std::string Bytes(const TMessageImage& image)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X", image[1], image[2]);
    return text;
}

void ExpectFramingUntouched(const TMessageImage& image)
{
    EXPECT_EQ(image[0], 0x43);
    EXPECT_EQ(image[3], 0x5A);
}
}

TEST(SingleValueModels, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        const TSingleValueModel* model;
        std::uint8_t low, high;
        const char* value;           // the edit and grid column 3
        std::vector<int> items;      // combo indexes, lowest-numbered input first
        const char* inputs;          // grid column 5
        const char* info;
    };
    const Row rows[] = {
        {&TiltAModel, 0x00, 0x81, "1.00", {1}, "1", "ANG=1.00, IN1=1"},
        {&TiltBModel, 0x00, 0x81, "1.00", {1}, "1", "ANG=1.00, IN1=1"},   // item 1 is "+24 В" here
        {&TiltCModel, 0xFF, 0x7F, "128.00", {0}, "0", "ANG=128.00, IN1=0"},
        {&TiltAModel, 0x20, 0x00, "0.13", {0}, "0", "ANG=0.12, IN1=0"},   // 0.125: the two roundings
        {&PressureAModel, 0x00, 0x28, "250.00", {}, "-", "P=250.00"},
        {&PressureAModel, 0x80, 0x00, "3.13", {}, "-", "P=3.12"},         // exactly 3.125
        {&PressureBModel, 0x00, 0xE8, "250.00", {-1}, "3", "P=250.00, IN1=3"},
        {&TensionAModel, 0x10, 0x00, "0.13", {}, "-", "F=0.12"},
        {&TensionBModel, 0xFF, 0x7F, "16383", {1}, "1", "F=16383, IN1=1"},
        {&TensionCModel, 0x0A, 0xC0, "10", {}, "-", "F=10"},             // bits 14-15 unused
        {&CompressionModel, 0x2C, 0x81, "300", {1}, "1", "F=300, IN1=1"},
        {&WindSpeedModel, 0x7B, 0x80, "12.30", {2}, "2", "V=12.30, IN1=2"},
        {&FuelLevelModel, 0x88, 0xD3, "50.00", {}, "-", "D=50.00"},
        {&TravelCModel, 0xFF, 0xFF, "65535", {}, "-", "L=65535"},
        {&TravelFModel, 0x07, 0xC0, "7", {-1}, "3", "F=7, IN1=3"},
        {&LineProximityAModel, 0x05, 0x60, "5", {1, 2}, "21", "E=5, IN3-2=21"},
        {&LineProximityAModel, 0xFF, 0x3F, "1023", {0, -1}, "30", "E=1023, IN3-2=30"},
        {&LineProximityCModel, 0xFF, 0x43, "1023", {1}, "1", "E=1023, IN1=1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.model->FrameClass) + " " + Bytes(Word(r.low, r.high)));
        const TMessageImage answer = Word(r.low, r.high);
        EXPECT_EQ(r.model->Value.text(answer), r.value);
        ASSERT_EQ(r.model->Inputs.size(), r.items.size());
        for (std::size_t i = 0; i < r.items.size(); ++i)
            EXPECT_EQ(SingleValueItem(*r.model, answer, i), r.items[i]) << "input " << i;
        EXPECT_EQ(SingleValueInputText(*r.model, answer), r.inputs);
        EXPECT_EQ(DescribeSingleValueAnswer(*r.model, answer.data()), r.info);
    }
}

TEST(SingleValueModels, FrameBuildsTheWord)
{
    struct Row {
        const TSingleValueModel* model;
        std::uint8_t low, high;      // the word before
        const char* text;
        std::vector<int> items;
        std::uint8_t newLow, newHigh;
    };
    const Row rows[] = {
        {&TiltAModel, 0xFF, 0xFF, "12.34", {0}, 0x57, 0x0C},   // 3159.54 -> 3159
        {&TiltAModel, 0x34, 0x12, "", {-1}, 0x34, 0x92},       // no selection sets the one-bit input
        {&TiltAModel, 0xFF, 0xFF, "abc", {0}, 0xFF, 0x7F},     // the value keeps its bits
        {&TiltBModel, 0x00, 0x00, "1", {1}, 0x00, 0x81},
        {&PressureAModel, 0x11, 0x11, "250", {}, 0x00, 0x28},
        {&PressureAModel, 0x11, 0x11, "1600", {}, 0x00, 0x00}, // 65536 cut to 16 bits
        {&PressureBModel, 0xFF, 0xFF, "250", {-1}, 0x00, 0x28},   // no selection adds nothing
        {&PressureBModel, 0xFF, 0xFF, "250", {2}, 0x00, 0xA8},
        {&TensionAModel, 0, 0, "1.5", {}, 0xC0, 0x00},
        {&TensionBModel, 0, 0, "-1", {2}, 0xFF, 0xBF},          // two's complement cut to 14 bits
        {&TensionCModel, 0xFF, 0xFF, "10", {}, 0x0A, 0x00},     // unused bits cleared
        {&CompressionModel, 0, 0, "300", {0}, 0x2C, 0x01},
        {&WindSpeedModel, 0, 0, "-1.26", {0}, 0xF4, 0x3F},      // -12 toward zero
        {&WindSpeedModel, 0x34, 0x92, "1e30", {0}, 0x34, 0x12}, // too large to scale: kept
        {&FuelLevelModel, 0xFF, 0xFF, "1", {}, 0x64, 0x00},
        {&TravelCModel, 0, 0, "70000", {}, 0x70, 0x11},         // 4464
        {&TravelCModel, 0x22, 0x11, "12.5", {}, 0x22, 0x11},    // an integer edit refuses a fraction
        {&TravelFModel, 0, 0, "7", {1}, 0x07, 0x40},
        {&LineProximityAModel, 0xFF, 0xFF, "5", {1, 2}, 0x05, 0x60},
        {&LineProximityCModel, 0xFF, 0xFF, "1023", {2}, 0xFF, 0x83},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.model->FrameClass) + " '" + r.text + "'");
        TMessageImage answer = Word(r.low, r.high);
        SingleValueFromFrame(*r.model, answer, r.text, r.items);
        EXPECT_EQ(Bytes(answer), Bytes(Word(r.newLow, r.newHigh)));
        ExpectFramingUntouched(answer);
    }
}

TEST(SingleValueModels, GridCellChangesOnlyItsColumn)
{
    struct Row {
        const TSingleValueModel* model;
        std::uint8_t low, high;
        const char* text;
        int column;
        std::uint8_t newLow, newHigh;
    };
    const Row rows[] = {
        {&TiltAModel, 0x00, 0x80, "-1", 3, 0x00, 0xFF},        // raw -256 in 15 bits, bit 15 stays
        {&TiltAModel, 0x00, 0x00, "-1", 3, 0x00, 0x7F},        // shown as 127.00
        {&TiltAModel, 0x12, 0x80, "abc", 3, 0x12, 0x80},
        {&TiltAModel, 0xFF, 0xFF, "", 5, 0xFF, 0x7F},          // an empty cell clears the input
        {&TiltAModel, 0x00, 0x00, "1", 5, 0x00, 0x80},
        {&TiltAModel, 0x00, 0x00, "5", 4, 0x00, 0x00},         // column 4 unused
        {&TiltAModel, 0x00, 0x00, "1", 6, 0x00, 0x00},
        {&TensionCModel, 0x00, 0xC0, "12.5", 3, 0x0D, 0xC0},  // 13, unused bits stay
        {&TensionCModel, 0x00, 0xC0, "-12.5", 3, 0xF3, 0xFF}, // -13 cut to 14 bits
        {&TensionCModel, 0x00, 0x00, "1", 5, 0x00, 0x00},      // no inputs: column 5 ignored
        {&WindSpeedModel, 0x00, 0xC0, "-1.26", 3, 0xF3, 0xFF}, // -13 half away from zero
        {&PressureBModel, 0x00, 0x28, "2", 5, 0x00, 0xA8},
        {&PressureBModel, 0x00, 0xE8, "", 5, 0x00, 0x28},
        {&LineProximityAModel, 0x05, 0x00, "21", 5, 0x05, 0x60},
        {&LineProximityAModel, 0x05, 0xF0, "1", 5, 0x05, 0x40},   // IN3 cleared, IN2 from the digit
        {&LineProximityAModel, 0x05, 0xF0, "21x", 5, 0x05, 0x00}, // no digit found: both cleared
        {&LineProximityCModel, 0x00, 0x3C, "2", 5, 0x00, 0xBC},   // unused bits 10-13 stay
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.model->FrameClass) + " column " + std::to_string(r.column) + " '" + r.text + "'");
        TMessageImage answer = Word(r.low, r.high);
        SingleValueFromCell(*r.model, answer, r.text, r.column);
        EXPECT_EQ(Bytes(answer), Bytes(Word(r.newLow, r.newHigh)));
        ExpectFramingUntouched(answer);
    }
}

TEST(SingleValueModels, ControlNamesAndInfoFormatsFollowTheModel)
{
    struct Row { const TSingleValueModel* model; const char* edit; int tag; const char* label; const char* caption; };
    const Row rows[] = {
        {&PressureAModel, "PEdit", 2, "PLabel", "P, атм:"},
        {&TensionBModel, "FEdit", 0, "FLabel", "F, кг:"},
        {&CompressionModel, "FEdit", 0, "FLabel", "F, кгс:"},
        {&FuelLevelModel, "DEdit", 2, "FLabel", "D, %:"},
        {&TiltAModel, "ANGEdit", 2, "ANGLabel", "ANG, °:"},
        {&TravelFModel, "LEdit", 0, "LLabel", "L, ед.:"},
        {&LineProximityAModel, "EEdit", 0, "ELabel", "E, В:"},
    };
    for (const Row& r : rows) {
        EXPECT_STREQ(r.model->ValueEditName, r.edit);
        EXPECT_EQ(r.model->ValueEditTag, r.tag);
        EXPECT_STREQ(r.model->ValueLabelName, r.label);
        EXPECT_EQ(QString::fromUtf8(r.model->ValueLabelCaption), QString::fromUtf8(r.caption));
    }
    EXPECT_STREQ(CompressionModel.BevelName, "Bevel");
    EXPECT_STREQ(WindSpeedModel.BevelName, "Bevel1");
    EXPECT_EQ(*TiltBModel.Items, (QStringList{"Свободен", "+24 В"}));
    EXPECT_EQ(*TiltAModel.Items, (QStringList{"Свободен", "Масса"}));

    // Every decoder is its model's, even where a row's address byte differs.
    const std::uint8_t message[16] = {0x99, 0x00, 0x81, 0x18};
    const TDescribeMessage decoders[] = {
        DescribePressureAAnswer, DescribePressureBAnswer, DescribeTensionAAnswer, DescribeTensionBAnswer,
        DescribeTensionCAnswer, DescribeCompressionAnswer, DescribeWindSpeedAnswer, DescribeFuelLevelAnswer,
        DescribeTiltAAnswer, DescribeTiltBAnswer, DescribeTiltCAnswer, DescribeTravelCAnswer,
        DescribeTravelFAnswer, DescribeLineProximityAAnswer, DescribeLineProximityCAnswer,
    };
    for (std::size_t i = 0; i < SingleValueModels.size(); ++i)
        EXPECT_EQ(decoders[i](message), DescribeSingleValueAnswer(*SingleValueModels[i], message))
            << SingleValueModels[i]->FrameClass;
}

// The two input and load blocks on their catalogue rows: controls, slots, and the bit maps
// between body, check boxes, grid and info line.
#include "frames/IoBlockE.h"
#include "frames/IoBlockF.h"
#include "FrameDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
constexpr int IoBlockERow = 6;
constexpr int IoBlockFRow = 51;

// A device on a row of these frames. The fixture binds the placeholder classes on its first
// use, so the frames are bound once after that.
std::unique_ptr<FrameDevice> MakeDevice(int row)
{
    static const bool bound = [] {
        FrameDevice first(0);
        RegisterIoBlockEFrames();
        RegisterIoBlockFFrames();
        return true;
    }();
    (void)bound;
    return std::make_unique<FrameDevice>(row);
}

std::vector<QString> ControlNames(const QWidget* panel)
{
    std::vector<QString> names;
    for (const TControl* control : Controls(panel))
        names.push_back(control->Name());
    return names;
}

// "OUT", 8, 1, "" -> OUT8Label, OUT8CheckBox ... OUT1CheckBox, OUT1Label: a row as drawn.
std::vector<QString> RowNames(const QString& prefix, int high, int low, const QString& suffix = {})
{
    std::vector<QString> names{prefix + QString::number(high) + "Label" + suffix};
    for (int n = high; n >= low; --n)
        names.push_back(prefix + QString::number(n) + "CheckBox" + suffix);
    names.push_back(prefix + QString::number(low) + "Label" + suffix);
    return names;
}
std::vector<QString> Joined(std::initializer_list<std::vector<QString>> parts)
{
    std::vector<QString> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

void ExpectInside(const QWidget* panel)
{
    for (const TControl* control : Controls(panel)) {
        EXPECT_GE(control->Left(), 0) << control->Name().toStdString();
        EXPECT_LE(control->Left() + control->Width(), FrameWidth) << control->Name().toStdString();
        EXPECT_LE(control->Top() + control->Height(), panel->height()) << control->Name().toStdString();
    }
}

// The boxes of a row stand from the highest-numbered on the left to the lowest on the right.
template <std::size_t N> void ExpectDescending(const std::array<TCheckBox*, N>& boxes, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i)
        EXPECT_GT(boxes[i]->Left(), boxes[i + 1]->Left()) << boxes[i]->Name().toStdString();
}

template <std::size_t N> void Tick(const std::array<TCheckBox*, N>& boxes, std::uint32_t bits)
{
    for (std::size_t i = 0; i < N; ++i)
        boxes[i]->SetChecked(((bits >> i) & 1) != 0);
}
template <std::size_t N> std::uint32_t Ticked(const std::array<TCheckBox*, N>& boxes)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < N; ++i)
        bits |= boxes[i]->Checked() ? 1u << i : 0u;
    return bits;
}

void ShowRequest(FrameDevice& d)
{
    TUpdatingControls updating;
    d.info->RequestToGrid();
    d.info->RequestToFrame();
}
void BuildRequest(FrameDevice& d)
{
    TUpdatingControls updating;
    d.info->FrameToRequest();
    d.info->RequestToGrid();
}
}

// ---------------------------------------------------------------------------------------------
// IoBlock-4

TEST(IoBlockEFrame, RowMakesTheFrameWithItsControls)
{
    auto d = MakeDevice(IoBlockERow);
    auto& f = d->Frame<TIoBlockEFrame>();
    EXPECT_STREQ(f.ClassName(), "TIoBlockEFrame");
    EXPECT_EQ(DeviceCatalogue[IoBlockERow].DescribeRequest, DescribeIoBlockERequest);
    EXPECT_EQ(DeviceCatalogue[IoBlockERow].DescribeAnswer, DescribeIoBlockEAnswer);
    const TDeviceInfo& info = *d->info;
    EXPECT_TRUE(info.GridToRequest && info.GridToAnswer && info.FrameToRequest && info.RequestToFrame &&
                info.RequestToGrid && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_EQ(info.RequestPanel, f.OutPanel);
    EXPECT_EQ(info.AnswerPanel, f.InPanel);

    EXPECT_EQ(ControlNames(f.OutPanel), Joined({{"OUTLabel"}, RowNames("OUT", 8, 1), RowNames("OUT", 16, 9)}));
    EXPECT_EQ(ControlNames(f.InPanel),
              Joined({{"INLabel"}, RowNames("IN", 8, 1), RowNames("IN", 16, 9), RowNames("IN", 18, 17),
                      {"Bevel1", "OUTLabel_"}, RowNames("OUT", 8, 1, "_"), RowNames("OUT", 14, 9, "_")}));
    EXPECT_EQ(f.OUTLabel->Caption(), "OUT:");
    EXPECT_EQ(f.INLabel->Caption(), "IN:");
    EXPECT_EQ(f.OUTLabel_->Caption(), "OUT:");
    EXPECT_EQ(f.findChild<TLabel*>("IN18Label")->Caption(), "18");
    EXPECT_EQ(f.findChild<TLabel*>("OUT14Label_")->Caption(), "14");
    EXPECT_EQ(f.findChild<TLabel*>("OUT9Label")->Caption(), "9");
    EXPECT_EQ(f.OUTCheckBox[15]->Name(), "OUT16CheckBox");
    EXPECT_EQ(f.INCheckBox[17]->Name(), "IN18CheckBox");
    EXPECT_EQ(f.OUTCheckBox_[13]->Name(), "OUT14CheckBox_");
    ExpectDescending(f.OUTCheckBox, 8, 15);
    ExpectDescending(f.INCheckBox, 0, 7);
    ExpectDescending(f.INCheckBox, 16, 17);
    ExpectDescending(f.OUTCheckBox_, 8, 13);
    ExpectInside(f.OutPanel);
    ExpectInside(f.InPanel);
}

TEST(IoBlockEFrame, RequestBetweenFrameBodyGridAndInfoLine)
{
    struct Row { std::uint16_t outputs; const char* column2; const char* info; };   // bit 0 is OUT1
    const Row rows[] = {
        {0x0000, "0000 0000", "OUT16-1=0000 0000 0000 0000"},
        {0x0001, "0000 0001", "OUT16-1=0000 0000 0000 0001"},
        {0x8000, "0000 0000", "OUT16-1=1000 0000 0000 0000"},   // OUT9-OUT16 have no column
        {0xA5C3, "1100 0011", "OUT16-1=1010 0101 1100 0011"},
        {0xFFFF, "1111 1111", "OUT16-1=1111 1111 1111 1111"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        auto d = MakeDevice(IoBlockERow);
        auto& f = d->Frame<TIoBlockEFrame>();
        d->object.Request[1] = 0x5A;
        d->object.Request[2] = 0x5A;
        Tick(f.OUTCheckBox, r.outputs);
        BuildRequest(*d);
        EXPECT_EQ(d->object.Request[1], r.outputs & 0xFF);
        EXPECT_EQ(d->object.Request[2], r.outputs >> 8);
        EXPECT_EQ(d->object.Request[3], 0) << "the XOR byte belongs to the line engine";
        EXPECT_EQ(d->grid.Cell(2), r.column2);
        EXPECT_EQ(DescribeIoBlockERequest(d->object.Request.data()), r.info);

        auto e = MakeDevice(IoBlockERow);
        e->object.Request = d->object.Request;
        ShowRequest(*e);
        EXPECT_EQ(Ticked(e->Frame<TIoBlockEFrame>().OUTCheckBox), r.outputs);
        EXPECT_EQ(e->grid.Cell(2), r.column2);
    }
}

TEST(IoBlockEFrame, AnswerBetweenFrameBodyGridAndInfoLine)
{
    struct Row {
        std::uint32_t inputs;    // bit 0 is IN1
        std::uint16_t outputs;   // bit 0 is OUT1
        std::uint8_t body[4];
        const char* column5;
        const char* column6;
        const char* info;
    };
    const Row rows[] = {
        {0x10000, 0x0100, {0x00, 0x00, 0x41, 0x00}, "0000 0000", "0000 0000",
         "IN18-1=01 0000 0000 0000 0000, OUT14-1=00 0001 0000 0000"},
        {0x20000, 0x2000, {0x00, 0x00, 0xA0, 0x00}, "0000 0000", "0000 0000",
         "IN18-1=10 0000 0000 0000 0000, OUT14-1=10 0000 0000 0000"},
        {0x00181, 0x0042, {0x81, 0x01, 0x00, 0x42}, "1000 0001", "0100 0010",
         "IN18-1=00 0000 0001 1000 0001, OUT14-1=00 0000 0100 0010"},
        {0x3FFFF, 0x3FFF, {0xFF, 0xFF, 0xFF, 0xFF}, "1111 1111", "1111 1111",
         "IN18-1=11 1111 1111 1111 1111, OUT14-1=11 1111 1111 1111"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        auto d = MakeDevice(IoBlockERow);
        auto& f = d->Frame<TIoBlockEFrame>();
        for (int i = 1; i <= 4; ++i)
            d->Answer()[static_cast<std::size_t>(i)] = 0x5A;
        Tick(f.INCheckBox, r.inputs);
        Tick(f.OUTCheckBox_, r.outputs);
        d->BuildAnswer();
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(d->Answer()[i + 1], r.body[i]) << "byte " << i + 1;
        EXPECT_EQ(d->Answer()[5], 0);
        EXPECT_EQ(d->grid.Cell(3), "-");
        EXPECT_EQ(d->grid.Cell(4), "-");
        EXPECT_EQ(d->grid.Cell(5), r.column5);
        EXPECT_EQ(d->grid.Cell(6), r.column6);
        EXPECT_EQ(DescribeIoBlockEAnswer(d->Answer().data()), r.info);

        auto e = MakeDevice(IoBlockERow);
        e->Answer() = d->Answer();
        e->ShowAnswer();
        EXPECT_EQ(Ticked(e->Frame<TIoBlockEFrame>().INCheckBox), r.inputs);
        EXPECT_EQ(Ticked(e->Frame<TIoBlockEFrame>().OUTCheckBox_), r.outputs);
    }
}

TEST(IoBlockEFrame, GridColumnsSetTheirByteOnly)
{
    struct Row { bool request; int column; const char* text; std::uint8_t body[4]; };
    const Row rows[] = {
        {true, 2, "101", {0x05, 0x5A, 0x5A, 0x5A}},        // OUT1, OUT3; OUT9-OUT16 kept
        {true, 2, "1111 0000", {0xF0, 0x5A, 0x5A, 0x5A}},
        {true, 2, "", {0x00, 0x5A, 0x5A, 0x5A}},
        {true, 2, "1 1111 1111", {0xFF, 0x5A, 0x5A, 0x5A}},   // a ninth digit has no field
        {true, 5, "1", {0x5A, 0x5A, 0x5A, 0x5A}},          // the request has column 2 only
        {false, 5, "101", {0x05, 0x5A, 0x5A, 0x5A}},
        {false, 5, "1000 0000", {0x80, 0x5A, 0x5A, 0x5A}},
        {false, 6, "11", {0x5A, 0x5A, 0x5A, 0x03}},        // OUT9-OUT14 in byte 3 kept
        {false, 6, "", {0x5A, 0x5A, 0x5A, 0x00}},
        {false, 3, "1", {0x5A, 0x5A, 0x5A, 0x5A}},
        {false, 4, "1", {0x5A, 0x5A, 0x5A, 0x5A}},
        {false, 2, "1", {0x5A, 0x5A, 0x5A, 0x5A}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.column) + " '" + r.text + "'");
        auto d = MakeDevice(IoBlockERow);
        TMessageImage& image = r.request ? d->object.Request : d->Answer();
        for (std::size_t i = 1; i <= 4; ++i)
            image[i] = 0x5A;
        if (r.request)
            d->info->GridToRequest(r.text, r.column);
        else
            d->info->GridToAnswer(r.text, r.column);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(image[i + 1], r.body[i]) << "byte " << i + 1;
    }
}

TEST(IoBlockEFrame, CellsAreWrittenOnlyWhenTheyDiffer)
{
    auto d = MakeDevice(IoBlockERow);
    d->Answer()[1] = 0x12;
    d->ShowAnswer();
    d->ShowAnswer();
    ShowRequest(*d);
    ShowRequest(*d);
    for (int column = 2; column <= 6; ++column)
        EXPECT_EQ(d->grid.Writes[column], 1) << column;
    d->Answer()[3] = 0xFF;   // byte 3 has no column
    d->ShowAnswer();
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(d->grid.Writes[column], 1) << column;
}

// ---------------------------------------------------------------------------------------------
// IoBlock-5

TEST(IoBlockFFrame, RowMakesTheFrameWithItsControls)
{
    auto d = MakeDevice(IoBlockFRow);
    auto& f = d->Frame<TIoBlockFFrame>();
    EXPECT_STREQ(f.ClassName(), "TIoBlockFFrame");
    EXPECT_EQ(DeviceCatalogue[IoBlockFRow].DescribeRequest, DescribeIoBlockFRequest);
    EXPECT_EQ(DeviceCatalogue[IoBlockFRow].DescribeAnswer, DescribeIoBlockFAnswer);
    const TDeviceInfo& info = *d->info;
    EXPECT_TRUE(info.GridToRequest && info.GridToAnswer && info.FrameToRequest && info.RequestToFrame &&
                info.RequestToGrid && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_EQ(info.RequestPanel, f.OutPanel);
    EXPECT_EQ(info.AnswerPanel, f.InPanel);

    EXPECT_EQ(ControlNames(f.OutPanel), Joined({{"OUTLabel"}, RowNames("OUT", 8, 1), RowNames("OUT", 13, 9)}));
    EXPECT_EQ(ControlNames(f.InPanel),
              (std::vector<QString>{"INLabel", "INcLabel", "INcCheckBox", "IN3Label", "IN3CheckBox", "IN2CheckBox",
                                    "IN1CheckBox", "IN1Label"}));
    EXPECT_EQ(f.OUTLabel->Caption(), "OUT:");
    EXPECT_EQ(f.INLabel->Caption(), "IN:");
    EXPECT_EQ(f.INcLabel->Caption(), "c");
    EXPECT_EQ(f.IN3Label->Caption(), "3");
    EXPECT_EQ(f.IN1Label->Caption(), "1");
    EXPECT_EQ(f.findChild<TLabel*>("OUT13Label")->Caption(), "13");
    EXPECT_EQ(f.OUTCheckBox[12]->Name(), "OUT13CheckBox");
    ExpectDescending(f.OUTCheckBox, 8, 11);
    EXPECT_LT(f.INcCheckBox->Left(), f.IN3CheckBox->Left());
    EXPECT_LT(f.IN3CheckBox->Left(), f.IN2CheckBox->Left());
    EXPECT_LT(f.IN2CheckBox->Left(), f.IN1CheckBox->Left());
    ExpectInside(f.OutPanel);
    ExpectInside(f.InPanel);
}

TEST(IoBlockFFrame, RequestBetweenFrameBodyGridAndInfoLine)
{
    struct Row { std::uint16_t outputs; std::uint8_t byte1, byte2; const char* column2; const char* info; };
    const Row rows[] = {
        {0x0000, 0x00, 0x00, "0000 0000", "OUT13-1=0 0000 0000 0000"},
        {0x1001, 0x01, 0x10, "0000 0001", "OUT13-1=1 0000 0000 0001"},
        {0x1FFF, 0xFF, 0x1F, "1111 1111", "OUT13-1=1 1111 1111 1111"},
        {0x0A5C, 0x5C, 0x0A, "0101 1100", "OUT13-1=0 1010 0101 1100"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        auto d = MakeDevice(IoBlockFRow);
        auto& f = d->Frame<TIoBlockFFrame>();
        d->object.Request[1] = 0xFF;
        d->object.Request[2] = 0xFF;   // the unused bits 5-7 go out as 0
        Tick(f.OUTCheckBox, r.outputs);
        BuildRequest(*d);
        EXPECT_EQ(d->object.Request[1], r.byte1);
        EXPECT_EQ(d->object.Request[2], r.byte2);
        EXPECT_EQ(d->grid.Cell(2), r.column2);
        EXPECT_EQ(DescribeIoBlockFRequest(d->object.Request.data()), r.info);

        auto e = MakeDevice(IoBlockFRow);
        e->object.Request = d->object.Request;
        e->object.Request[2] |= 0xE0;   // unused bits show nowhere
        ShowRequest(*e);
        EXPECT_EQ(Ticked(e->Frame<TIoBlockFFrame>().OUTCheckBox), r.outputs);
        EXPECT_EQ(DescribeIoBlockFRequest(e->object.Request.data()), r.info);
    }
}

TEST(IoBlockFFrame, AnswerBetweenFrameBodyGridAndInfoLine)
{
    struct Row { std::uint8_t byte; bool in1, in2, in3, inc; const char* column5; const char* info; };
    const Row rows[] = {
        {0x87, true, true, true, true, "1 111", "INc=1, IN3-1=111"},
        {0xFF, true, true, true, true, "1 111", "INc=1, IN3-1=111"},
        {0x78, false, false, false, false, "0 000", "INc=0, IN3-1=000"},
        {0x80, false, false, false, true, "1 000", "INc=1, IN3-1=000"},
        {0x05, true, false, true, false, "0 101", "INc=0, IN3-1=101"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.info);
        auto d = MakeDevice(IoBlockFRow);
        auto& f = d->Frame<TIoBlockFFrame>();
        d->Answer()[1] = r.byte;
        d->ShowAnswer();
        EXPECT_EQ(f.IN1CheckBox->Checked(), r.in1);
        EXPECT_EQ(f.IN2CheckBox->Checked(), r.in2);
        EXPECT_EQ(f.IN3CheckBox->Checked(), r.in3);
        EXPECT_EQ(f.INcCheckBox->Checked(), r.inc);
        EXPECT_EQ(d->grid.Cell(3), "-");
        EXPECT_EQ(d->grid.Cell(4), "-");
        EXPECT_EQ(d->grid.Cell(5), r.column5);
        EXPECT_EQ(d->grid.Cell(6), "-");
        EXPECT_EQ(DescribeIoBlockFAnswer(d->Answer().data()), r.info);
        // Built back from the frame, the unused bits 3-6 go out as 0.
        d->BuildAnswer();
        EXPECT_EQ(d->Answer()[1], r.byte & 0x87);
        EXPECT_EQ(d->Answer()[2], 0);
    }
}

TEST(IoBlockFFrame, GridColumnsSetTheirBitsOnly)
{
    struct Row { bool request; int column; const char* text; std::uint8_t byte1, byte2; };
    const Row rows[] = {
        {true, 2, "101", 0x05, 0x5A},          // byte 2 kept
        {true, 2, "", 0x00, 0x5A},
        {false, 5, "1 000", 0xD8, 0x5A},       // INc set, IN1-IN3 cleared, bits 3-6 kept
        {false, 5, "111", 0x5F, 0x5A},
        {false, 5, "1111", 0xDF, 0x5A},
        {false, 5, "", 0x58, 0x5A},
        {false, 3, "1", 0x5A, 0x5A},
        {false, 4, "1", 0x5A, 0x5A},
        {false, 6, "1", 0x5A, 0x5A},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.column) + " '" + r.text + "'");
        auto d = MakeDevice(IoBlockFRow);
        TMessageImage& image = r.request ? d->object.Request : d->Answer();
        image[1] = 0x5A;
        image[2] = 0x5A;
        if (r.request)
            d->info->GridToRequest(r.text, r.column);
        else
            d->info->GridToAnswer(r.text, r.column);
        EXPECT_EQ(image[1], r.byte1);
        EXPECT_EQ(image[2], r.byte2);
    }
}

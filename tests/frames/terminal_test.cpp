// The text terminal on its catalogue row: the request's text stream into the three memos, the
// unread marks of the tabs, the two answer values, and the row's decoders.
#include "frames/Terminal.h"
#include "AnswerFrameChecks.h"

#include <QScrollBar>
#include <QTimer>

#include <string>

namespace {
constexpr int Row = 60;
constexpr std::uint8_t Eol = 10;
constexpr std::uint8_t Clr = 12;

struct Device : FrameDevice {
    Device() : FrameDevice((BindAfterStart(RegisterTerminalFrames), Row)) {}
    TTerminalFrame& frame() { return Frame<TTerminalFrame>(); }
    TMessageImage& Request() { return object.Request; }
    // One request as the hand-off shows it: text bytes from index 2 on, byte 1 set apart.
    void Receive(const std::vector<std::uint8_t>& text, std::uint8_t byte1 = 0)
    {
        object.Request.fill(0);
        object.Request[0] = DeviceCatalogue[Row].WireAddress;
        object.Request[1] = byte1;
        for (std::size_t i = 0; i < text.size(); ++i)
            object.Request[i + 2] = text[i];
        TUpdatingControls updating;
        info->RequestToGrid();
        info->RequestToFrame();
    }
    std::vector<QStringList> Memos()
    {
        auto& f = frame();
        return {f.Output1->Lines(), f.Output2->Lines(), f.Output3->Lines()};
    }
    QStringList Captions()
    {
        auto& f = frame();
        return {f.ReplyPages->PageCaption(f.TabSheet1), f.ReplyPages->PageCaption(f.TabSheet2),
                f.ReplyPages->PageCaption(f.TabSheet3)};
    }
};

std::vector<std::uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }
std::vector<std::uint8_t> operator+(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
std::vector<std::uint8_t> Code(std::uint8_t c) { return {c}; }
}

TEST(TerminalFrame, RowMakesTheFrameWithItsControls)
{
    Device device;
    auto& f = device.frame();
    EXPECT_STREQ(f.ClassName(), "TTerminalFrame");
    EXPECT_EQ(DeviceCatalogue[Row].DescribeRequest, DescribeTerminalRequest);
    EXPECT_EQ(DeviceCatalogue[Row].DescribeAnswer, DescribeTerminalAnswer);
    const TDeviceInfo& info = *device.info;
    EXPECT_TRUE(info.GridToRequest && info.GridToAnswer && info.FrameToRequest && info.RequestToFrame &&
                info.RequestToGrid && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_EQ(info.RequestPanel, f.OutPanel);
    EXPECT_EQ(info.AnswerPanel, f.InPanel);

    EXPECT_EQ(ControlNames(f.OutPanel), (std::vector<QString>{"ReplyPages"}));
    ASSERT_EQ(f.ReplyPages->PageCount(), 3);
    EXPECT_EQ(device.Captions(), (QStringList{"Текст", "Инфо", "Ошибки"}));
    const std::pair<TTabSheet*, TMemo*> pages[] = {
        {f.TabSheet1, f.Output1}, {f.TabSheet2, f.Output2}, {f.TabSheet3, f.Output3}};
    for (int i = 0; i < 3; ++i) {
        const auto& [sheet, memo] = pages[i];
        EXPECT_EQ(f.ReplyPages->Page(i), sheet);
        EXPECT_EQ(sheet->Name(), QStringLiteral("TabSheet%1").arg(i + 1));
        EXPECT_EQ(memo->Name(), QStringLiteral("Output%1").arg(i + 1));
        EXPECT_EQ(memo->parentWidget(), sheet);
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    EXPECT_TRUE(f.ReplyPages->OnChange) << "the frame binds its page control itself";
    EXPECT_EQ(f.CurrentMemo(), f.Output1);
    EXPECT_TRUE(f.PendingLine().isEmpty());

    // Between the sides, in neither panel.
    EXPECT_EQ(f.scrollCheck->parentWidget(), &f);
    EXPECT_EQ(f.scrollCheck->Caption(), "Автопрокрутка");
    EXPECT_TRUE(f.scrollCheck->Checked());
    EXPECT_GE(f.scrollCheck->Top(), f.ReplyPages->Top() + f.ReplyPages->Height() + f.OutPanel->Top());
    EXPECT_LE(f.scrollCheck->Top() + f.scrollCheck->Height(), f.Panel2->Top());

    EXPECT_EQ(ControlNames(f.InPanel), (std::vector<QString>{"Edit1", "UpDown1", "Edit2", "UpDown2", "fixedValues"}));
    for (const auto& [edit, upDown] : {std::pair{f.Edit1, f.UpDown1}, std::pair{f.Edit2, f.UpDown2}}) {
        EXPECT_EQ(edit->Text(), "0");
        EXPECT_EQ(edit->Tag, EditUInt);
        EXPECT_FALSE(edit->ReadOnly()) << "the two values are editable from the start";
        EXPECT_EQ(upDown->TagWidget(), edit);
        EXPECT_EQ(upDown->Min(), 0);
        EXPECT_EQ(upDown->Max(), 255);
    }
    EXPECT_EQ(f.fixedValues->Caption(), "Фиксировать значения");
    EXPECT_FALSE(f.fixedValues->Checked());
    EXPECT_EQ(f.Timer1->objectName(), "Timer1");
    EXPECT_FALSE(f.Timer1->isActive());
}

TEST(TerminalFrame, TextStreamFillsTheMemos)
{
    struct Row {
        const char* what;
        std::vector<std::vector<std::uint8_t>> requests;
        std::vector<QStringList> memos;   // Текст, Инфо, Ошибки
        QString pending;
    };
    const Row rows[] = {
        {"a line at its end-of-line code", {Text("Hello") + Code(Eol)}, {{"Hello"}, {}, {}}, ""},
        {"no end of line: nothing shown yet", {Text("AB")}, {{}, {}, {}}, "AB"},
        {"the line completes with a later request", {Text("AB"), Text("C") + Code(Eol) + Text("D")},
         {{"ABC"}, {}, {}}, "D"},
        {"several lines in one request", {Text("a") + Code(Eol) + Text("b") + Code(Eol) + Code(Eol)},
         {{"a", "b", ""}, {}, {}}, ""},
        {"memo codes select the memo", {Code(2) + Text("AB") + Code(Eol) + Code(3) + Text("E") + Code(Eol)},
         {{}, {"AB"}, {"E"}}, ""},
        {"the memo stays selected across requests", {Code(3) + Text("x") + Code(Eol), Text("y") + Code(Eol)},
         {{}, {}, {"x", "y"}}, ""},
        {"the pending line goes where its end of line is", {Text("X") + Code(2) + Text("Y") + Code(Eol)},
         {{}, {"XY"}, {}}, ""},
        {"0 is skipped", {Text("A") + Code(0) + Code(0) + Text("B") + Code(Eol)}, {{"AB"}, {}, {}}, ""},
        {"12 clears the selected memo only",
         {Code(2) + Text("i") + Code(Eol) + Code(1) + Text("t") + Code(Eol), Code(2) + Code(Clr) + Text("j") + Code(Eol)},
         {{"t"}, {"j"}, {}}, ""},
        {"cp1251 characters", {std::vector<std::uint8_t>{0xCF, 0xF3, 0xF1, 0xEA, Eol}}, {{"Пуск"}, {}, {}}, ""},
    };
    for (const Row& r : rows) {
        Device device;
        for (const auto& request : r.requests)
            device.Receive(request);
        EXPECT_EQ(device.Memos(), r.memos) << r.what;
        EXPECT_EQ(device.frame().PendingLine(), r.pending) << r.what;
    }
}

TEST(TerminalFrame, OnlyBytesTwoToFourteenAreText)
{
    Device device;
    device.Receive(Text("AB") + Code(Eol), 'Z');
    EXPECT_EQ(device.Memos()[0], QStringList{"AB"}) << "byte 1 is not part of the stream";

    // 13 text bytes, then an end-of-line code in the XOR byte: it is not read.
    device.object.Request.fill('q');
    device.object.Request[15] = Eol;
    device.info->RequestToFrame();
    EXPECT_EQ(device.Memos()[0], QStringList{"AB"});
    EXPECT_EQ(device.frame().PendingLine(), QString(13, 'q'));
}

TEST(TerminalFrame, HiddenTabsAreMarkedUntilShown)
{
    Device device;
    auto& f = device.frame();
    device.Receive(Code(2) + Text("AB") + Code(Eol));
    EXPECT_EQ(device.Captions(), (QStringList{"Текст", "Инфо[*]", "Ошибки"}));
    device.Receive(Text("CD") + Code(Eol));
    EXPECT_EQ(device.Captions()[1], "Инфо[*]") << "marked once";
    device.Receive(Code(1) + Text("T") + Code(Eol));
    EXPECT_EQ(device.Captions()[0], "Текст") << "the shown tab gets no mark";

    f.ReplyPages->SetActivePage(f.TabSheet2);
    EXPECT_EQ(device.Captions(), (QStringList{"Текст", "Инфо", "Ошибки"}));
    device.Receive(Code(2) + Text("E") + Code(Eol) + Code(3) + Text("F") + Code(Eol));
    EXPECT_EQ(device.Captions(), (QStringList{"Текст", "Инфо", "Ошибки[*]"}));
    f.ReplyPages->SetActivePage(f.TabSheet1);
    EXPECT_EQ(device.Captions(), (QStringList{"Текст", "Инфо", "Ошибки[*]"})) << "only the tab shown loses its mark";
    EXPECT_EQ(device.Memos()[1], (QStringList{"AB", "CD", "E"}));
}

TEST(TerminalFrame, AutoScrollFollowsTheLastLine)
{
    Device device;
    auto& f = device.frame();
    f.resize(FrameWidth, f.height());
    f.show();
    std::vector<std::uint8_t> lines;
    for (int i = 0; i < 6; ++i)
        lines = lines + Text("l") + Code(Eol);
    for (int i = 0; i < 10; ++i)
        device.Receive(lines);
    QScrollBar* bar = f.Output1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "sixty lines overflow the memo";
    EXPECT_EQ(bar->value(), bar->maximum());

    f.scrollCheck->SetChecked(false);
    bar->setValue(0);
    device.Receive(lines);
    EXPECT_EQ(bar->value(), 0) << "without auto-scroll the reader keeps their place";
    EXPECT_TRUE(f.Output1->updatesEnabled());
    EXPECT_EQ(f.Output1->Lines().size(), 66);
}

TEST(TerminalFrame, AnswerCarriesTheTwoValues)
{
    struct Row {
        const char* edit1;
        const char* edit2;
        Body body;
    };
    const Row rows[] = {
        {"5", "7", {1, 5, 7}},
        {"0", "255", {1, 0, 255}},
        {"300", "-1", {1, 44, 255}},   // low 8 bits
        {"abc", "", {1, 0, 0}},        // a text that does not convert sends 0
        {"12", "x7", {1, 12, 0}},
    };
    for (const Row& r : rows) {
        Device device;
        SetBody(device.Answer(), {0xEE, 0xEE, 0xEE});
        device.frame().Edit1->SetText(r.edit1);
        device.frame().Edit2->SetText(r.edit2);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 3), r.body) << r.edit1 << " " << r.edit2;
        EXPECT_EQ(device.Answer()[4], 0) << "the XOR byte belongs to the line engine";
    }
}

TEST(TerminalFrame, FixedValuesKeepTheLastRead)
{
    Device device;
    auto& f = device.frame();
    f.Edit1->SetText("10");
    f.Edit2->SetText("20");
    device.BuildAnswer();
    f.fixedValues->SetChecked(true);
    f.Edit1->SetText("99");
    f.Edit2->SetText("not a number");
    device.BuildAnswer();
    EXPECT_EQ(BodyOf(device.Answer(), 3), (Body{1, 10, 20}));
    device.Answer()[2] = 0;   // even when the body was changed elsewhere
    device.info->FrameToAnswer();
    EXPECT_EQ(BodyOf(device.Answer(), 3), (Body{1, 10, 20}));

    f.fixedValues->SetChecked(false);
    device.BuildAnswer();
    EXPECT_EQ(BodyOf(device.Answer(), 3), (Body{1, 99, 0}));

    Device fresh;
    fresh.frame().fixedValues->SetChecked(true);
    fresh.BuildAnswer();
    EXPECT_EQ(BodyOf(fresh.Answer(), 3), (Body{1, 0, 0})) << "fixed before any read: the values start at 0";
}

TEST(TerminalFrame, TheOtherSlotsDoNothing)
{
    Device device;
    auto& f = device.frame();
    SetBody(device.Request(), {9, 'A', 'B'});
    SetBody(device.Answer(), {1, 5, 7});
    f.Edit1->SetText("3");
    {
        TUpdatingControls updating;
        for (int column = 2; column <= 6; ++column) {
            device.info->GridToRequest("1", column);
            device.info->GridToAnswer("1", column);
        }
        device.info->FrameToRequest();
        device.info->RequestToGrid();
        device.info->AnswerToFrame();
        device.info->AnswerToGrid();
    }
    EXPECT_EQ(BodyOf(device.Request(), 3), (Body{9, 'A', 'B'}));
    EXPECT_EQ(BodyOf(device.Answer(), 3), (Body{1, 5, 7}));
    EXPECT_EQ(f.Edit1->Text(), "3");
    for (int column = 0; column < GridColumnCount; ++column)
        EXPECT_EQ(device.grid.Writes[column], 0) << column;
}

TEST(TerminalFrame, DecodersSpellOutTheStreamAndTheValues)
{
    struct Row {
        std::vector<std::uint8_t> message;   // from byte 0
        const char* text;
    };
    const Row rows[] = {
        {{0xBE, 'Z', 2, 'A', 'B', Eol, Clr, 0, 'C'}, "\\2\\AB\\n\\\\clr\\"},
        {{0xBE, 0, 1, 'x', 3, 'y'}, "\\1\\x\\3\\y"},
        {{0xBE, 0, 0, 'A'}, ""},
        {{0xBE, 0, 0xCF, 0xF3, 0xF1, 0xEA}, "Пуск"},
        // All thirteen text bytes, and nothing of the XOR byte.
        {{0xBE, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n'}, "abcdefghijklm"},
    };
    for (const Row& r : rows) {
        std::uint8_t message[16] = {};
        std::copy(r.message.begin(), r.message.end(), message);
        EXPECT_EQ(DescribeTerminalRequest(message), QString::fromUtf8(r.text));
    }

    const std::uint8_t answer[16] = {0xBE, 1, 5, 7, 0x33};
    EXPECT_EQ(DescribeTerminalAnswer(answer), "OUT: 5 7");
    const std::uint8_t high[16] = {0xBE, 1, 255, 128, 0};
    EXPECT_EQ(DescribeTerminalAnswer(high), "OUT: 255 128");
}

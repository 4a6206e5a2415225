// The text terminal on its catalogue row: the request's text stream into the three memos, the
// unread marks of the tabs, the two answer values, and the row's decoders.
#include "frames/Terminal.h"
#include "FrameRig.h"

#include <QScrollBar>

#include <string>

namespace {
constexpr int Row = 60;
using Bytes = std::vector<std::uint8_t>;
constexpr std::uint8_t Eol = 10, Clr = 12;

// A request's text bytes from a string: '|' stands for the end-of-line code, '#' for clear,
// and '0' to '3' for the codes of those values.
Bytes Text(const std::string& s)
{
    Bytes bytes;
    for (const char c : s)
        bytes.push_back(c == '|' ? Eol : c == '#' ? Clr : (c >= '0' && c <= '3') ? std::uint8_t(c - '0') : std::uint8_t(c));
    return bytes;
}

struct Device : Rig {
    Device() : Rig(Row) {}
    TTerminalFrame& frame() { return Frame<TTerminalFrame>(); }
    // One request as the hand-off shows it: text bytes from index 2 on, byte 1 set apart.
    void Receive(const Bytes& text, std::uint8_t byte1 = 0)
    {
        object.Request.fill(0);
        object.Request[1] = byte1;
        std::copy(text.begin(), text.end(), object.Request.begin() + 2);
        Show(Req);
    }
    std::vector<QStringList> Memos() { return {frame().Output1->Lines(), frame().Output2->Lines(), frame().Output3->Lines()}; }
    QString Caption(int page) { return frame().ReplyPages->PageCaption(frame().ReplyPages->Page(page)); }
    QStringList Captions() { return {Caption(0), Caption(1), Caption(2)}; }
    // The answer built over `before`, with the XOR byte after it, which stays the line engine's.
    QString BuildOver(const char* before)
    {
        SetHex(Ans, before);
        Build(Ans);
        return Hex(Ans, ".. .. .. ..");
    }
};
}

TEST(TerminalFrame, TextStreamFillsTheMemos)
{
    struct Case { const char* what; std::vector<Bytes> requests; std::vector<QStringList> memos; QString pending; };
    const Case cases[] = {
        {"memo codes hold until the next; a line spans requests", {Text("2AB|3E||"), Text("y"), Text("|D")}, {{}, {"AB"}, {"E", "", "y"}}, "D"},
        {"the pending line goes where its end of line is, 0 is skipped", {Text("X2Y00|")}, {{}, {"XY"}, {}}, ""},
        {"clear empties the selected memo only", {Text("2i|1t|"), Text("2#j|")}, {{"t"}, {"j"}, {}}, ""},
        {"cp1251 characters", {{0xCF, 0xF3, 0xF1, 0xEA, Eol}}, {{"Пуск"}, {}, {}}, ""},
    };
    for (const Case& c : cases) {
        Device device;
        for (const Bytes& request : c.requests)
            device.Receive(request);
        EXPECT_EQ(device.Memos(), c.memos) << c.what;
        EXPECT_EQ(device.frame().PendingLine(), c.pending) << c.what;
    }

    Device device;   // only bytes 2 to 14 are text: neither byte 1 nor the XOR byte
    device.Receive(Text("AB|"), 'Z');
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
    device.Receive(Text("2AB|CD|1T|"));
    EXPECT_EQ(device.Captions(), (QStringList{"Текст", "Инфо[*]", "Ошибки"})) << "marked once, the shown tab never";
    f.ReplyPages->SetActivePage(f.TabSheet2);
    device.Receive(Text("2E|3F|"));
    EXPECT_EQ(device.Captions(), (QStringList{"Текст", "Инфо", "Ошибки[*]"}));
    f.ReplyPages->SetActivePage(f.TabSheet1);
    EXPECT_EQ(device.Captions(), (QStringList{"Текст", "Инфо", "Ошибки[*]"})) << "only the tab shown loses its mark";
}

TEST(TerminalFrame, AutoScrollFollowsTheLastLine)
{
    Device device;
    auto& f = device.frame();
    f.resize(FrameWidth, f.height());
    f.show();
    for (int i = 0; i < 10; ++i)
        device.Receive(Text("l|l|l|l|l|l|"));
    QScrollBar* bar = f.Output1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "sixty lines overflow the memo";
    EXPECT_EQ(bar->value(), bar->maximum());

    f.scrollCheck->SetChecked(false);
    bar->setValue(0);
    device.Receive(Text("l|l|l|l|l|l|"));
    EXPECT_EQ(bar->value(), 0) << "without auto-scroll the reader keeps their place";
}

TEST(TerminalFrame, AnswerCarriesTheTwoValues)
{
    Device device;
    device.Set("Edit1=300;Edit2=abc");   // low 8 bits; no number sends 0
    EXPECT_EQ(device.BuildOver("EE EE EE"), "01 2C 00 00");
    // Fixed values keep the last read, even over a body changed elsewhere.
    device.Set("Edit1=10;Edit2=20");
    device.Build(Ans);
    device.Set("fixedValues=1;Edit1=99;Edit2=x");
    EXPECT_EQ(device.BuildOver("00 00 00"), "01 0A 14 00");
    device.Set("fixedValues=0");
    EXPECT_EQ(device.BuildOver("00 00 00"), "01 63 00 00");

    Device fresh;
    fresh.Set("fixedValues=1");
    EXPECT_EQ(fresh.BuildOver("09 09 09"), "01 00 00 00") << "fixed before any read: the values start at 0";
}

TEST(TerminalFrame, GridCellsAndRequestBuilderChangeNothing)
{
    for (int column = 2; column <= 6; ++column)
        CheckAll<Typed>({{Row, Req, column, "1", "09 41 42", "09 41 42"}, {Row, Ans, column, "1", "01 05 07", "01 05 07"}});
    Device device;
    device.SetHex(Req, "09 41 42");
    device.info->FrameToRequest();
    EXPECT_EQ(device.Hex(Req, ".. .. .."), "09 41 42");
}

TEST(TerminalFrame, DecodersSpellOutTheStreamAndTheValues)
{
    struct Case { Bytes message; const char* text; };   // from byte 0
    const Case cases[] = {
        {{0xBE, 'Z', 2, 'A', 'B', Eol, Clr, 0, 'C'}, "\\2\\AB\\n\\\\clr\\"},
        // All thirteen text bytes, and nothing of the XOR byte.
        {{0xBE, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n'}, "abcdefghijklm"},
    };
    for (const Case& c : cases) {
        std::uint8_t message[16] = {};
        std::copy(c.message.begin(), c.message.end(), message);
        EXPECT_EQ(DescribeTerminalRequest(message), QString::fromUtf8(c.text));
    }
    const std::uint8_t answer[16] = {0xBE, 1, 255, 128, 0x33};
    EXPECT_EQ(DescribeTerminalAnswer(answer), "OUT: 255 128");
}

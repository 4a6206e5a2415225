// The operator's and levelling devices between body, frame, grid and info line: the indicator
// (rows 58, 59) and the levelling blocks (angles both ways on row 3; flags and an angle on rows 38
// and 50), each with the automatic answer that follows the request shown; the first control
// handle (rows 30, 31) and the second (row 54: two axes with directions, three buttons, the mode
// flag and the axis errors); and the text terminal (row 60: the request's text stream into the
// three memos, the unread marks of the tabs, the two answer values and the row's decoders).
#include <QScrollBar>
#include <string>

#include "FrameRig.h"
#include "frames/Terminal.h"

namespace {
const char* const Limits = "FComboBox;K1CheckBox;K2CheckBox;K3CheckBox;SAComboBox;SBComboBox;SCComboBox;SDComboBox";
const char* const Buttons = "K1CheckBox_;K2CheckBox_;K3CheckBox_;YACheckBox_;YBCheckBox_;YCCheckBox_;YDCheckBox_";
constexpr int JoystickB = 54;
const char* const View = "ACEdit;ARadioButton;BDEdit;BRadioButton;But1CheckBox;But2CheckBox;But3CheckBox;DMCheckBox;"
                         "ErrACCheckBox;ErrBDCheckBox";
constexpr int LevellerA = 3, LevellerB = 38;
const char* const RequestFlags = "Auto_DisBox;OUT1CheckBox;OUT2CheckBox;CalibrateBox";
const char* const AnswerFlags = "Auto_DisBox_;OUT1CheckBox_;OUT2CheckBox_;CalibrateBox_";
constexpr int TerminalRow = 60;
using Bytes = std::vector<std::uint8_t>;
constexpr std::uint8_t Eol = 10, Clr = 12;

// A request's text bytes from a string: '|' stands for the end-of-line code, '#' for clear,
// and '0' to '3' for the codes of those values.
Bytes Text(const std::string& s)
{
    Bytes bytes;
    for (const char c : s)
        bytes.push_back(c == '|' ? Eol : c == '#'             ? Clr
                                     : (c >= '0' && c <= '3') ? std::uint8_t(c - '0')
                                                              : std::uint8_t(c));
    return bytes;
}

struct Device : Rig {
    Device() : Rig(TerminalRow) {}
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

TEST(OperatorFrames, BodiesShownInFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {58, Req, "E4", "ValueEdit;AlarmCheckBox", "100;1", "1", "Value=100, Alarm=1"},   // column 2: the alarm
        {58, Ans, "E4", "ValueEdit_;AlarmCheckBox_", "100;1", "100|-|-|1", "Value=100, Alarm=1"},
        {30, Req, "00 8D", Limits, "0;0;0;0;1;3;0;2", "0000", "F=0, K3-1=000, SA=1, SB=3, SC=0, SD=2"},
        {31, Req, "0D FF", Limits, "1;1;0;1;3;3;3;3", "1101", "F=1, K3-1=101, SA=3, SB=3, SC=3, SD=3"},
        {31, Ans, "95", Buttons, "1;0;1;1;0;0;1", "-|-|101|1001", "K3-1=101, YA=1, YB=0, YC=0, YD=1"},
        {JoystickB, Ans, "85 05 00", View, "5;1;5;0;0;0;0;0;0;0", "5|5|0 000|00", "AC=5 (A), BD=5 (D), DM=0 But3-1=000, ErrAC=0, ErrBD=0"},
        {JoystickB, Ans, "7F FF FF", View, "127;0;127;1;1;1;1;1;1;1", "127|127|1 111|11",   // bits 3 and 4 show nowhere
         "AC=127 (C), BD=127 (B), DM=1 But3-1=111, ErrAC=1, ErrBD=1"},
        {LevellerA, Req, "00 0A 80 00", "ANG1Edit;ANG2Edit", "10.00;0.50", "-", "ANG1=10.00, ANG2=0.50"},
        {LevellerA, Ans, "00 0A 80 00", "ANG1Edit_;ANG2Edit_", "10.00;0.50", "10.00|0.50|-|-", "ANG1=10.00, ANG2=0.50"},
        {50, Req, "F9", RequestFlags, "1;0;0;1", "00", "OUT2-1=00, Auto_Dis=1, Calibrate=1"},   // bits 4-7 unused
        {LevellerB, Ans, "1D 2D", AnswerFlags, "1;0;1;1", "45.06|-|-|10", "ANG=45.06, OUT2-1=10, Auto_Dis=1, Calibrate=1"},
        {50, Ans, "F6 FF", AnswerFlags, "0;1;1;0", "255.94|-|-|11", "ANG=255.94, OUT2-1=11, Auto_Dis=0, Calibrate=0"},
        {TerminalRow, Ans, "01 09 FF", "Edit1;Edit2", "9;255", "|||", "OUT: 9 255"},   // the grid shows no values
    });
}

TEST(OperatorFrames, FramesBuildTheBodies)
{
    CheckAll<Built>({
        {58, Req, "00 00", "ValueEdit=100;AlarmCheckBox=1", "E4 00"},   // the XOR byte is the line engine's
        {59, Req, "00", "ValueEdit=130", "02"},                         // the low 7 bits
        {58, Req, "B5", "ValueEdit=abc", "35"},                         // value bits kept, alarm from its box
        {30, Req, "F0 00 77", "FComboBox=0;SAComboBox=1;SBComboBox=3;SCComboBox=0;SDComboBox=2", "00 8D 77"},
        {31, Req, "F0 00", "FComboBox=1;K1CheckBox=1;K3CheckBox=1;SAComboBox=3;SBComboBox=3;SCComboBox=3;SDComboBox=3",
         "0D FF"},
        {31, Ans, "FF", "K1CheckBox_=1;YDCheckBox_=1", "81"},   // the unused bit 3 goes out as 0
        // A text that does not convert keeps the 7 value bits; the direction comes from the radio.
        {JoystickB, Ans, "FF 85 00", "ACEdit=x;CRadioButton=1;BDEdit=;BRadioButton=1", "7F 85 00"},
        // Byte 3 is written whole: the unused bits 3 and 4 are cleared.
        {JoystickB, Ans, "00 00 FF", "ACEdit=0;BDEdit=0;But1CheckBox=1;But3CheckBox=1;ErrBDCheckBox=1", "00 00 45"},
        {LevellerA, Req, "EE EE EE EE", "ANG1Edit=255.999;ANG2Edit=255.998", "00 00 FF FF"},   // 65536 keeps its low 16 bits
        {LevellerA, Req, "EE EE EE EE", "ANG1Edit=0.001;ANG2Edit=0.002", "00 00 01 00"},       // + 0.5, then cut
        {LevellerA, Ans, "EE EE EE EE", "ANG1Edit_=x;ANG2Edit_=1", "EE EE 00 01"},             // a bad text keeps its word only
        {LevellerB, Req, "F0", "Auto_DisBox=1;OUT2CheckBox=1", "05"},                          // unused bits cleared
        {LevellerB, Ans, "CB AB 77", "ANGEdit=45;OUT1CheckBox_=1", "02 2D 77"},
        {LevellerB, Ans, "CB AB", "ANGEdit=255.97", "00 00"},                 // 4096 sixteenths keep their low 12 bits
        {LevellerB, Ans, "CB AB", "ANGEdit=45.03;Auto_DisBox_=1", "01 2D"},   // 720.48 + 0.5: still 720
        // The angle stays without a number, the flags are rebuilt all the same.
        {LevellerB, Ans, "CB AB", "ANGEdit=x;Auto_DisBox_=1;OUT1CheckBox_=1;OUT2CheckBox_=1;CalibrateBox_=1", "CF AB"},
    });
}

TEST(OperatorFrames, TypedCellsReachTheBodies)
{
    CheckAll<Typed>({
        {58, Req, 2, "0", "B5", "35"},      // alarm cleared, value kept
        {58, Req, 3, "1", "35", "35"},      // the request has no other column
        {58, Ans, 3, "55.5", "00", "38"},   // half away from zero
        {58, Ans, 3, "200", "80", "C8"},    // low 7 bits, alarm kept
        {58, Ans, 6, "1", "35", "B5"},
        {30, Req, 2, "1000", "F7 8D", "F8 8D"},    // F set, K1-K3 cleared, high bits and limits kept
        {30, Req, 2, "11111", "F7 8D", "FF 8D"},   // digits past F are ignored
        {31, Ans, 5, "101", "2A", "2D"},           // bits 0-2 from the digits, bit 3 and Y kept
        {31, Ans, 6, "1001", "2A", "9A"},
        {JoystickB, Ans, 3, "7.5", "85 05 00", "88 05 00"},   // half away from zero, the direction stays
        {JoystickB, Ans, 4, "3", "85 85 00", "85 83 00"},
        // DM and button 1 set, buttons 2 and 3 cleared; bits 3 and 4 stay, so do the errors.
        {JoystickB, Ans, 5, "1 001", "00 00 DE", "00 00 F9"},
        {JoystickB, Ans, 6, "10", "00 00 40", "00 00 80"},                  // ErrAC left, ErrBD right
        {JoystickB, Ans, 2, "1", "01 02 03", "01 02 03"},                   // columns the model does not use
        {LevellerA, Ans, 3, "0.001953125", "11 22 33 44", "01 00 33 44"},   // exactly half a step: away from zero
        {LevellerA, Ans, 4, "-0.001953125", "11 22 33 44", "11 22 FF FF"},
        // Column 2 holds the outputs only: Auto_Dis, Calibrate and the unused bits stay.
        {LevellerB, Req, 2, "11", "09", "0F"},
        {LevellerB, Req, 2, "", "0F", "09"},
        {LevellerB, Ans, 3, "0.03125", "CB AB", "1B 00"},   // half a sixteenth: away from zero; the flags stay
        {LevellerB, Ans, 6, "11", "CB AB", "CF AB"},        // angle, Auto_Dis and Calibrate stay
    });
}

TEST(JoystickAFrame, CombosClearedByTheDisplayKeepTheirCodes)
{
    // One chosen again changes only its own.
    Rig rig(30);
    rig.SetHex(Req, "0A 8D");
    rig.info->ShowData(true);
    rig.info->ClearDisplay(true);
    ASSERT_EQ(rig.Read("FComboBox;SAComboBox"), "-1;-1");
    rig.Build(Req);
    EXPECT_EQ(rig.Hex(Req, ".. .."), "0A 8D");
    rig.Set("SCComboBox=3;FComboBox=0");
    rig.Build(Req);
    EXPECT_EQ(rig.Hex(Req, ".. .."), "02 BD");
}

TEST(IndicatorFrame, AutomaticAnswerRepeatsTheShownRequest)
{
    Rig rig(58);
    rig.info->ShowData(false);
    rig.Set("ValueEdit_=20");
    rig.SetHex(Req, "B7");
    rig.Show(Req);
    rig.changes = 0;
    rig.info->FrameToAnswer();   // unticked: the answer controls count
    EXPECT_EQ(rig.Hex(Ans, ".."), "14");
    EXPECT_EQ(rig.changes, 0);
    rig.Set("AlarmCheckBox_=1;AutoAnswerBox=1");
    EXPECT_EQ(rig.changes, 2) << "ticking the box is an answer-side change like any other";

    // The emulation builds the answer without UpdatingControls; the copied controls raise their
    // change events, which rebuild the grid.
    rig.SetHex(Req, "37");
    rig.Show(Req);
    rig.changes = 0;
    rig.info->FrameToAnswer();
    EXPECT_EQ(rig.Hex(Ans, ".."), "37");
    EXPECT_EQ(rig.Read("ValueEdit_;AlarmCheckBox_"), "55;0");
    EXPECT_EQ(rig.changes, 2);
    rig.changes = 0;
    rig.info->FrameToAnswer();   // nothing new: no events, the same answer
    EXPECT_EQ(rig.changes, 0);
    rig.Set("ValueEdit=7;AlarmCheckBox=1");   // what the user sets in the request is repeated too
    rig.info->FrameToAnswer();
    EXPECT_EQ(rig.Hex(Ans, ".."), "87");
}

TEST(JoystickBFrame, DirectionsOnNestedPanelsTakeEffectWithTheNextAnswer)
{
    Rig rig(JoystickB);
    rig.Set("ARadioButton=1");
    EXPECT_EQ(rig.changes, 0) << "the radio buttons lie on nested panels and get no handler";
    rig.Set("DMCheckBox=1");
    EXPECT_EQ(rig.changes, 1);
    rig.Set("ACEdit=5;BDEdit=5");
    rig.SetHex(Ans, "05 05 00");
    rig.Build(Ans);
    EXPECT_EQ(rig.Hex(Ans, ".. .. .."), "85 05 20");
}

TEST(LevellerBFrame, AutomaticAnswerFollowsTheRequestShown)
{
    // The main window's change handler: a control changed outside a program write rebuilds the
    // answer and its cells.
    Rig rig(LevellerB);
    int rebuilds = 0;
    TFrameHandlers handlers = rig.handlers;
    handlers.OnChange = [&](QObject*) {
        if (UpdatingControls)
            return;
        ++rebuilds;
        TUpdatingControls updating;
        rig.info->FrameToAnswer();
        rig.info->AnswerToGrid();
    };
    BindControls(rig.info->AnswerPanel, &handlers);
    rig.Set("ANGEdit=10;OUT1CheckBox_=1;CalibrateBox_=1");
    EXPECT_EQ(rebuilds, 3);

    rig.SetHex(Req, "0D");   // Auto_Dis, OUT2, Calibrate: the received request, shown by the hand-off
    rig.Show(Req);
    rig.Build(Ans);
    EXPECT_EQ(rig.Hex(Ans, ".. .."), "0A 0A") << "unticked, the answer keeps its own flags";
    // Auto_Dis on: Auto_Dis and the outputs copied, Calibrate cleared.
    rig.Set("AutoAnswerBox=1");   // ticking the box rebuilds the answer at once
    EXPECT_EQ(rig.Hex(Ans, ".. .."), "05 0A");
    EXPECT_EQ(rig.grid.Cell(6), "10");

    // Auto_Dis off: Calibrate copied, the outputs the user set stay. The emulation builds the
    // answer without UpdatingControls: the boxes it changes run the handler again, which ends with
    // the same answer.
    rig.SetHex(Req, "0A");   // OUT1, Calibrate
    rig.Show(Req);
    const int before = rebuilds;
    ASSERT_FALSE(UpdatingControls);
    rig.info->FrameToAnswer();
    EXPECT_GT(rebuilds, before) << "a changed box runs the handler";
    EXPECT_EQ(rig.Read(AnswerFlags), "0;0;1;1");
    EXPECT_EQ(rig.Hex(Ans, ".. .."), "0C 0A");
    EXPECT_EQ(rig.grid.Cell(6), "10");
}

TEST(TerminalFrame, TextStreamFillsTheMemos)
{
    // clang-format off
    struct Case { const char* what; std::vector<Bytes> requests; std::vector<QStringList> memos; QString pending; };
    // clang-format on
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
    // A shown answer (received, or shown again after a line-mode switch) is what goes out, fixed
    // or not.
    device.Set("fixedValues=1");
    device.SetHex(Ans, "01 21 22");
    device.Show(Ans);
    EXPECT_EQ(device.BuildOver("00 00 00"), "01 21 22 00");

    Device fresh;
    fresh.Set("fixedValues=1");
    EXPECT_EQ(fresh.BuildOver("09 09 09"), "01 00 00 00") << "fixed before any read: the values start at 0";
}

TEST(TerminalFrame, GridCellsAndRequestBuilderChangeNothing)
{
    for (int column = 2; column <= 6; ++column)
        CheckAll<Typed>({{TerminalRow, Req, column, "1", "09 41 42", "09 41 42"}, {TerminalRow, Ans, column, "1", "01 05 07", "01 05 07"}});
    Device device;
    device.SetHex(Req, "09 41 42");
    device.info->FrameToRequest();
    EXPECT_EQ(device.Hex(Req, ".. .. .."), "09 41 42");
}

TEST(TerminalFrame, DecodersSpellOutTheStreamAndTheValues)
{
    struct Case {
        Bytes message;   // from byte 0
        const char* text;
    };
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

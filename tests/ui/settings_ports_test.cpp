// The settings file as the window reads and writes it, and the port list with its two menus and
// the port commands.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>

#include "FakeReceiveThread.h"
#include "MainWindowFixture.h"
#include "model/LineMode.h"
#include "platform/Ini.h"
#include "ui/MainSettings.h"

namespace {

// Counts what the window asks of its thread beyond the shared fake.
class CountingThread : public FakeReceiveThread {
public:
    static inline int ResetStats = 0, Reconnects = 0;
    void RequestResetStats() override { ++ResetStats; }
    void RequestReconnect() override { ++Reconnects; }
};

class SettingsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SetStartArguments(QStringList{});
        savedStartDir = StartDir;
        CountingThread::ResetStats = 0;
        CountingThread::Reconnects = 0;
        SetReceiveThreadFactory([]() -> IReceiveThread* { return new CountingThread; });
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        SetStartArguments(std::nullopt);
        StartDir = savedStartDir;
    }
    QString Ini() const { return settingsDir.filePath(QStringLiteral("Mirvane2.ini")); }
    void WriteIni(const QByteArray& text)
    {
        QFile file(Ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray ReadIni() const
    {
        QFile file(Ini());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A serial device in the scanned tty folder.
    void AddTty(const QString& name)
    {
        ASSERT_TRUE(QDir().mkpath(ttyDir.filePath(name + QStringLiteral("/device"))));
    }
    TMirvane2Form& Start()
    {
        TMirvane2Form& f = Make();
        StartUp();
        return f;
    }
    void CloseAndWait(TMirvane2Form& f)
    {
        f.close();
        ASSERT_TRUE(RunEventsUntil([&f] { return !f.isVisible() && ReceiveThread == nullptr; }));
    }
    QAction* Item(const char* name) const { return qobject_cast<QAction*>(form->Component(QLatin1String(name))); }
    QList<QAction*> PortItems(QMenu* menu) const
    {
        const QList<QAction*> all = menu->actions();
        return all.mid(3);   // switch, auto-detection, delimiter
    }
    QStringList Captions(QMenu* menu) const
    {
        QStringList captions;
        for (QAction* a : PortItems(menu))
            if (a->isVisible())
                captions << a->text() + (a->isChecked() ? QStringLiteral("*") : QString()) +
                                (a->isEnabled() ? QString() : QStringLiteral("-"));
        return captions;
    }
    QString savedStartDir;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Value rules.

TEST(SettingsValues, FormsMainScansLikeTheCLibrary)
{
    const struct {
        const char* text;
        int count;
        std::int32_t left, top, width;
    } cases[] = {
        {"1,10,10,5000,5000,1,300,0,140,87", 10, 10, 10, 5000},
        {" 0 , 0x10 ,010, 7,8", 5, 16, 8, 7},   // "%i" takes hexadecimal and octal
        {"0,-5,-6,-7,8", 5, -5, -6, -7},        // "%u" wraps a negative number
        {"0x10,1", 1, 0, 0, 0},                  // "%u" stops at the x
        {"1,2,3,4", 4, 2, 3, 4},
        {"", 0, 0, 0, 0},
        {"1;2", 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TFormsMain f;
        EXPECT_EQ(ScanFormsMain(QString::fromLatin1(c.text), f), c.count) << c.text;
        EXPECT_EQ(f.Left, c.left) << c.text;
        EXPECT_EQ(f.Top, c.top) << c.text;
        EXPECT_EQ(f.Width, c.width) << c.text;
    }
    TFormsMain f;
    ScanFormsMain(QStringLiteral("1,10,10,5000,5000,1,300,0,140,87"), f);
    EXPECT_EQ(FormatFormsMain(f), QStringLiteral("1,10,10,5000,5000,1,300,0,140,87"));
}

TEST(SettingsValues, PortValueAndPriority)
{
    const struct {
        const char* text;
        std::optional<std::uint32_t> open, autoDetect;
        const char* name;
        int priority;   // -1: none read
    } cases[] = {
        {"0,1,com3 ,9", 0, 1, "com3", 6},
        {"1,0,COM2", 1, 0, "", -1},   // a name without a comma after it is dropped
        {"", {}, {}, "", -1},
        {"x,1,ttyS0,3", {}, 1, "ttyS0", 3},
        {"1,1,ttyUSB0,-1", 1, 1, "ttyUSB0", 6},
        {"1,1,,4", 1, 1, "", 4},
    };
    for (const auto& c : cases) {
        const TPortValue p = ParsePortValue(QString::fromLatin1(c.text));
        EXPECT_EQ(p.Open, c.open) << c.text;
        EXPECT_EQ(p.AutoDetect, c.autoDetect) << c.text;
        EXPECT_EQ(p.Name, QString::fromLatin1(c.name)) << c.text;
        EXPECT_EQ(p.Priority ? LimitPollPriority(*p.Priority) : -1, c.priority) << c.text;
    }
}

TEST(SettingsValues, WindowStaysInTheWorkArea)
{
    const QRect area(0, 30, 1000, 700);
    const struct {
        QRect wanted, kept;
    } cases[] = {
        {{10, 40, 500, 400}, {10, 40, 500, 400}},
        {{10, 10, 5000, 5000}, {0, 30, 1000, 700}},
        {{-50, 40, 500, 400}, {0, 40, 500, 400}},
        {{900, 600, 500, 400}, {500, 330, 500, 400}},
        {{2147483000, 40, 500, 400}, {500, 40, 500, 400}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepInWorkArea(c.wanted, area), c.kept);
}

TEST(SettingsValues, ColumnWidthsAndRecentFiles)
{
    EXPECT_EQ(ScanColWidths(QStringLiteral("30,40"), 10), (std::vector<std::uint32_t>{30, 40}));
    EXPECT_EQ(ScanColWidths(QStringLiteral("30,x,50"), 10), (std::vector<std::uint32_t>{30}));
    EXPECT_EQ(ScanColWidths(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12"), 10).size(), 10u);
    EXPECT_TRUE(ScanColWidths(QString(), 10).empty());

    const QString start = QStringLiteral("/s/");
    const struct {
        const char* value;
        const char* path;
    } loaded[] = {{"a.mvs", "/s/a.mvs"}, {"./sub/b.mvs", "/s/sub/b.mvs"}, {"/x/y.mvs", "/x/y.mvs"},
                  {"../up.mvs", "/up.mvs"}, {" sub/c.mvs ", "/s/sub/c.mvs"}};
    for (const auto& l : loaded)
        EXPECT_EQ(LoadedFileName(QString::fromLatin1(l.value), start), QString::fromLatin1(l.path));
    EXPECT_TRUE(IsStoredRelative(QStringLiteral("sub/b.mvs")));
    EXPECT_FALSE(IsStoredRelative(QStringLiteral("../b.mvs")));
    EXPECT_FALSE(IsStoredRelative(QStringLiteral("c:b.mvs")));
}

// ---------------------------------------------------------------------------------------------
// Loading and saving.

TEST_F(SettingsTest, AFirstStartUsesDefaultsAndAnUnchangedRunWritesNothing)
{
    TMirvane2Form& f = Start();
    EXPECT_TRUE(PortOpen);
    EXPECT_TRUE(PortAutoDetect);
    EXPECT_NE(ReceiveThread, nullptr);
    EXPECT_EQ(LineMode.load(), LineModeMaster);
    EXPECT_EQ(ConstructorMode, 0);
    EXPECT_EQ(f.StatusText(0), StartHint);
    EXPECT_TRUE(Item("LLowerPriorityItem")->isChecked());
    CloseAndWait(f);
    EXPECT_FALSE(QFile::exists(Ini()));
}

TEST_F(SettingsTest, AFileWithoutPortOrModeStartsClosedInSensorDiagnostics)
{
    AddTty(QStringLiteral("ttyUSB0"));
    WriteIni("[VIEW]\nClearData=1\nUpdateTime=500\n");
    TMirvane2Form& f = Start();
    EXPECT_FALSE(PortOpen);
    EXPECT_FALSE(PortAutoDetect);
    EXPECT_EQ(ReceiveThread, nullptr);
    EXPECT_EQ(f.StatusText(2), PortClosedText);
    EXPECT_EQ(Captions(f.PortNamePopupMenu), QStringList{QStringLiteral("ttyUSB&0")});   // enabled
    EXPECT_EQ(LineMode.load(), LineModeSensors);
    EXPECT_TRUE(f.ClearDataCheckBox->Checked());
    EXPECT_EQ(f.UpdateTime(), 500);
    EXPECT_TRUE(Item("VUpdateMode2Item")->isChecked());
}

TEST_F(SettingsTest, WindowPlacementIsKeptOnTheScreen)
{
    WriteIni("[FORMS]\nMain=1,10,10,5000,5000,1,300,0,140,87\n");
    TMirvane2Form& f = Start();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
    const QRect normal = f.normalGeometry().isValid() ? f.normalGeometry() : f.geometry();
    EXPECT_LE(normal.width(), area.width());
    EXPECT_LE(normal.height(), area.height());
    EXPECT_TRUE(f.RightPanel->Visible());
    EXPECT_FALSE(f.RightBottomPanel->Visible());
    EXPECT_EQ(f.RightPanelWidth, 300);
}

TEST_F(SettingsTest, AShortPlacementChangesNothing)
{
    WriteIni("[FORMS]\nMain=1,10,10,500\n[VIEW]\nColWidths=30,40\nDevicesSort=7\n");
    TMirvane2Form& f = Make();
    const QRect before = f.geometry();
    const int third = f.SchemeGrid->columnWidth(2);
    StartUp();
    EXPECT_EQ(f.geometry(), before);
    EXPECT_FALSE(f.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(f.RightPanel->Visible());
    EXPECT_EQ(f.SchemeGrid->columnWidth(0), 30);
    EXPECT_EQ(f.GridHeader->sectionSize(1), 40);
    EXPECT_EQ(f.SchemeGrid->columnWidth(2), third);
    EXPECT_EQ(f.LoadedDevicesSort, 2);
}

TEST_F(SettingsTest, TheConfiguredPortKeepsTheListedSpelling)
{
    AddTty(QStringLiteral("ttyUSB0"));
    AddTty(QStringLiteral("ttyACM0"));
    WriteIni("[SETUP]\nPort=0,1,TTYUSB0 ,9\nMode=0\n");
    TMirvane2Form& f = Start();
    EXPECT_FALSE(PortOpen);
    EXPECT_TRUE(PortAutoDetect);
    EXPECT_EQ(SettingsPortName(), QStringLiteral("ttyUSB0"));
    EXPECT_EQ(PollPriority, 6);
    EXPECT_TRUE(Item("LCriticalPriorityItem")->isChecked());
    const QStringList shown{QStringLiteral("ttyACM&0-"), QStringLiteral("ttyUSB&0*-")};
    EXPECT_EQ(Captions(f.LPortNameItem->menu()), shown);
    EXPECT_EQ(Captions(f.PortNamePopupMenu), shown);
}

TEST_F(SettingsTest, RecentFilesAreReadOnceAndWrittenBackInTheirStoredForm)
{
    QTemporaryDir start;
    StartDir = start.path() + QLatin1Char('/');
    WriteIni("[LASTFILES]\nFile1=a.mvs\nFile2=./a.mvs\nFile3=./sub/b.mvs\nFile4=\nFile5=/elsewhere/c.mvs\n"
             "[OTHER]\nkeep=me\n");
    TMirvane2Form& f = Start();
    EXPECT_EQ(f.LastFiles[0], StartDir + QStringLiteral("a.mvs"));
    EXPECT_EQ(f.LastFiles[1], StartDir + QStringLiteral("sub/b.mvs"));
    EXPECT_EQ(f.LastFiles[2], QStringLiteral("/elsewhere/c.mvs"));
    EXPECT_EQ(f.LastFiles[3], QString());
    // The missing first file gave a new file, so the file lacking SETUP/Mode is written.
    f.LastFiles[2].clear();
    CloseAndWait(f);
    TIniFile ini;
    ASSERT_EQ(ini.Load(Ini()), TIniLoad::Loaded);
    EXPECT_EQ(ini.ReadString(LastFilesSection, QStringLiteral("File1")), QStringLiteral("a.mvs"));
    EXPECT_EQ(ini.ReadString(LastFilesSection, QStringLiteral("File2")), QStringLiteral("./sub/b.mvs"));
    for (const char* gone : {"File3", "File4", "File5"})
        EXPECT_FALSE(ini.ValueExists(LastFilesSection, QLatin1String(gone)));
    EXPECT_EQ(ini.ReadString(QStringLiteral("OTHER"), QStringLiteral("keep")), QStringLiteral("me"));
}

TEST_F(SettingsTest, ChangedValuesAreWrittenAndReadBack)
{
    AddTty(QStringLiteral("ttyUSB0"));
    WriteIni("; mine\n[SETUP]\nPort=1,1,,2\nMode=0\nExtra=x\n");
    {
        TMirvane2Form& f = Start();
        f.LPortAutoDetectItemClick();
        f.LPortCOMItemClick(PortItems(f.PortNamePopupMenu).value(0));
        f.LPriorityItemClick(Item("LHighestPriorityItem"));
        f.SameAddrCheckBox->SetChecked(true);
        CloseAndWait(f);
        form.reset();
    }
    const QByteArray written = ReadIni();
    EXPECT_TRUE(written.startsWith("; mine\n[SETUP]\nPort=1,0,ttyUSB0,5\nMode=0\nExtra=x\n")) << written.toStdString();
    PortOpen = true;
    PortAutoDetect = true;
    PollPriority = 2;
    TMirvane2Form& again = Start();
    EXPECT_FALSE(PortAutoDetect);
    EXPECT_EQ(SettingsPortName(), QStringLiteral("ttyUSB0"));
    EXPECT_EQ(PollPriority, 5);
    EXPECT_TRUE(again.SameAddrCheckBox->Checked());
    CloseAndWait(again);
    EXPECT_EQ(ReadIni(), written);   // nothing changed: not rewritten
}

TEST_F(SettingsTest, GarbageLoadsWithoutHarmAndTooLargeIsLeftAlone)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) & 0xFF);
    WriteIni(garbage);
    {
        TMirvane2Form& f = Start();
        EXPECT_FALSE(PortOpen);   // no SETUP/Port in it
        CloseAndWait(f);
        form.reset();
    }
    EXPECT_TRUE(ReadIni().startsWith(garbage));   // its lines stay; ours are added

    PortOpen = true;
    PortAutoDetect = true;
    const QByteArray huge(MaxIniFileSize + 10, '[');
    WriteIni(huge);
    TMirvane2Form& f = Start();
    EXPECT_TRUE(PortOpen);   // as without a file
    f.ClearDataCheckBox->SetChecked(!f.ClearDataCheckBox->Checked());
    CloseAndWait(f);
    EXPECT_EQ(ReadIni(), huge);
}

TEST_F(SettingsTest, OnlyALastArgumentSlashCStartsConstructorMode)
{
    const struct {
        QStringList arguments;
        bool constructor;
    } cases[] = {{{QStringLiteral("/C")}, true}, {{QStringLiteral("/c"), QStringLiteral("x")}, false}, {{}, false}};
    for (const auto& c : cases) {
        SetStartArguments(c.arguments);
        TMirvane2Form& f = Start();
        EXPECT_EQ(ConstructorMode != 0, c.constructor) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(f.StatusText(0) == StartHint, !c.constructor);
        CloseAndWait(f);
        form.reset();
    }
}

// ---------------------------------------------------------------------------------------------
// Port list and port commands.

TEST_F(SettingsTest, PluggedPortsJoinBothMenusInOrderAndTheThreadReconnects)
{
    AddTty(QStringLiteral("ttyUSB0"));
    AddTty(QStringLiteral("ttyS5"));   // a built-in slot without a UART: not listed
    QFile type(ttyDir.filePath(QStringLiteral("ttyS5/type")));
    ASSERT_TRUE(type.open(QIODevice::WriteOnly));
    type.write("0\n");
    type.close();
    WriteIni("[SETUP]\nPort=1,0,ttyUSB0,2\nMode=0\n");
    TMirvane2Form& f = Start();
    ASSERT_NE(FakeReceiveThread::Last, nullptr);
    const int reconnects = CountingThread::Reconnects;

    // The folder watch (or the rescan beat) notices the new device.
    AddTty(QStringLiteral("ttyACM1"));
    ASSERT_TRUE(RunEventsUntil([] { return PortListNames().contains(QStringLiteral("ttyACM1")); }));
    const QStringList shown{QStringLiteral("ttyACM&1"), QStringLiteral("ttyUSB&0*")};
    EXPECT_EQ(Captions(f.LPortNameItem->menu()), shown);
    EXPECT_EQ(Captions(f.PortNamePopupMenu), shown);
    EXPECT_EQ(PortItems(f.PortNamePopupMenu)[1]->property("Tag").toInt(), 1);
    EXPECT_EQ(CountingThread::Reconnects, reconnects + 1);

    f.WMDeviceChange();   // nothing changed: no reconnect
    EXPECT_EQ(CountingThread::Reconnects, reconnects + 1);
}

TEST_F(SettingsTest, ChoosingAPortAndAutoDetection)
{
    AddTty(QStringLiteral("ttyUSB0"));
    AddTty(QStringLiteral("ttyUSB1"));
    WriteIni("[SETUP]\nPort=1,1,ttyUSB0,2\nMode=0\n");
    TMirvane2Form& f = Start();
    FakeReceiveThread* thread = FakeReceiveThread::Last;
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(Captions(f.PortNamePopupMenu), (QStringList{QStringLiteral("ttyUSB&0*-"), QStringLiteral("ttyUSB&1-")}));

    f.LPortAutoDetectItemClick();
    EXPECT_FALSE(PortAutoDetect);
    EXPECT_FALSE(Item("PPortAutoDetectItem")->isChecked());
    EXPECT_EQ(Captions(f.LPortNameItem->menu()), (QStringList{QStringLiteral("ttyUSB&0*"), QStringLiteral("ttyUSB&1")}));
    EXPECT_EQ(CountingThread::Reconnects, 1);

    f.LPortCOMItemClick(PortItems(f.PortNamePopupMenu)[0]);   // already configured
    EXPECT_EQ(CountingThread::Reconnects, 1);
    f.SetStatusText(1, QStringLiteral(" Период опроса: 100"));
    f.LPortCOMItemClick(PortItems(f.LPortNameItem->menu())[1]);
    EXPECT_EQ(SettingsPortName(), QStringLiteral("ttyUSB1"));
    EXPECT_EQ(CountingThread::Reconnects, 2);
    EXPECT_EQ(f.StatusText(1), ReadyText);
    EXPECT_EQ(Captions(f.PortNamePopupMenu), (QStringList{QStringLiteral("ttyUSB&0"), QStringLiteral("ttyUSB&1*")}));
}

TEST_F(SettingsTest, SwitchingThePortOffAndOnAgain)
{
    TMirvane2Form& f = Start();
    ASSERT_NE(ReceiveThread, nullptr);
    f.LPortOpenItemClick();
    EXPECT_FALSE(PortOpen);
    EXPECT_FALSE(f.PortOpenButton->isChecked());
    ASSERT_TRUE(RunEventsUntil([] { return ReceiveThread == nullptr; }));
    EXPECT_EQ(f.StatusText(2), PortClosedText);

    f.LPortOpenItemClick();
    EXPECT_TRUE(PortOpen);
    ASSERT_NE(ReceiveThread, nullptr);
    EXPECT_TRUE(Item("LPortOpenItem")->isChecked());

    // Off and on again before the thread has ended: a fresh thread takes over, the port stays on.
    IReceiveThread* ending = ReceiveThread;
    f.LPortOpenItemClick();
    f.LPortOpenItemClick();
    ASSERT_TRUE(RunEventsUntil([ending] { return ReceiveThread && ReceiveThread != ending; }));
    EXPECT_TRUE(PortOpen);
    EXPECT_TRUE(f.PortOpenButton->isChecked());
}

TEST_F(SettingsTest, PriorityGoesToTheRunningThreadAndRestartsTheStatistics)
{
    TMirvane2Form& f = Start();
    ASSERT_NE(FakeReceiveThread::Last, nullptr);
    f.LPriorityItemClick(Item("LCriticalPriorityItem"));
    EXPECT_EQ(PollPriority, 6);
    EXPECT_EQ(FakeReceiveThread::Last->Priority, 6);
    EXPECT_EQ(CountingThread::ResetStats, 1);
    f.LPriorityItemClick(Item("LCriticalPriorityItem"));   // already chosen
    EXPECT_EQ(CountingThread::ResetStats, 1);
    f.LPriorityItemClick(Item("LIdlePriorityItem"));
    EXPECT_EQ(PollPriority, 0);
    EXPECT_TRUE(Item("LIdlePriorityItem")->isChecked());
    EXPECT_FALSE(Item("LCriticalPriorityItem")->isChecked());
}

// The settings file as the window reads and writes it, and the port list with its two menus and
// the port commands.
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <atomic>
#include <functional>
#include <sys/stat.h>
#include <thread>

#include "WindowFixture.h"
#include "platform/D2xx.h"
#include "platform/Ini.h"
#include "support/FakeFtdi.h"
#include "support/HostileFiles.h"

using SettingsTest = MainWindowTest;

TEST(SettingsValues, PlacementAndPortScanLikeTheCLibraryWidthsAndRecentFilesStopAtGarbage)
{
    // clang-format off
    struct { const char* text; int count; std::int32_t left, top, width; } const forms[] = {
        {" 0 , 0x10 ,010, 7,8", 5, 16, 8, 7},   // "%i" takes hexadecimal and octal
        {"0,-5,-6,-7,8", 5, -5, -6, -7},        // "%u" wraps a negative number
        {"0x10,1", 1, 0, 0, 0},                  // "%u" stops at the x
    };
    // clang-format on
    for (const auto& c : forms) {
        TFormsMain f;
        EXPECT_EQ(ScanFormsMain(QString::fromLatin1(c.text), f), c.count) << c.text;
        EXPECT_EQ(std::tuple(f.Left, f.Top, f.Width), std::tuple(c.left, c.top, c.width)) << c.text;
    }
    TFormsMain f;
    ScanFormsMain(QStringLiteral("1,10,10,5000,5000,1,300,0,140,87"), f);
    EXPECT_EQ(FormatFormsMain(f), QStringLiteral("1,10,10,5000,5000,1,300,0,140,87"));

    // clang-format off
    struct { const char* text; std::optional<std::uint32_t> open, autoDetect; const char* name; int priority; } const ports[] = {
        {"1,0,COM2", 1, 0, "", -1},   // a name without a comma after it is dropped, no priority read
        {"x,1,ttyS0,-1", {}, 1, "ttyS0", 6},
    };
    // clang-format on
    for (const auto& c : ports) {
        const TPortValue p = ParsePortValue(QString::fromLatin1(c.text));
        EXPECT_EQ(std::tuple(p.Open, p.AutoDetect, p.Name), std::tuple(c.open, c.autoDetect, QString::fromLatin1(c.name)))
            << c.text;
        EXPECT_EQ(p.Priority ? LimitPollPriority(*p.Priority) : -1, c.priority) << c.text;
    }
    EXPECT_EQ(ScanColWidths(QStringLiteral("30,x,50"), 10), (std::vector<std::uint32_t>{30}));
    EXPECT_EQ(ScanColWidths(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12"), 10).size(), 10u);

    // The plain relative and absolute forms are read back through the window below.
    EXPECT_EQ(LoadedFileName(QStringLiteral("../up.mvs"), QStringLiteral("/s/")), QStringLiteral("/up.mvs"));
    EXPECT_EQ(LoadedFileName(QStringLiteral(" sub/c.mvs "), QStringLiteral("/s/")), QStringLiteral("/s/sub/c.mvs"));
    EXPECT_FALSE(IsStoredRelative(QStringLiteral("../b.mvs")) || IsStoredRelative(QStringLiteral("c:b.mvs")));
}

TEST_F(SettingsTest, AFirstStartWaitsForItsMessageUsesDefaultsAndAnUnchangedRunWritesNothing)
{
    PollPriority = 4;
    TMirvane2Form& f = Make();
    EXPECT_EQ(ReceiveThread, nullptr);   // nothing runs before the start message
    StartUp();
    EXPECT_TRUE(PortOpen && PortAutoDetect);
    EXPECT_EQ(FakeReceiveThread::Log, (QStringList{"thread priority 4", "thread resume"}));
    EXPECT_EQ(f.StatusText(0), StartHint);   // the settings were loaded
    ASSERT_TRUE(f.StartTimer->isActive());   // the hint goes two seconds after the start
    EXPECT_EQ(f.StartTimer->interval(), 2000);
    f.StartTimerTimer();
    EXPECT_TRUE(f.StatusText(0).isEmpty() && !f.StartTimer->isActive());
    EXPECT_EQ(LineMode.load(), LineModeMaster);

    EXPECT_FALSE(f.close());   // the thread has not ended yet
    EXPECT_EQ(f.Closing, 1);
    EXPECT_TRUE(RunEventsUntil([this, &f] { return !f.isVisible() && ReceiveThread == nullptr; }));
    EXPECT_TRUE(PortOpen);   // closing does not switch the port off
    EXPECT_FALSE(QFile::exists(Ini()));
}

TEST_F(SettingsTest, AFileWithoutPortOrModeStartsClosedInSensorDiagnosticsAndOnTheScreen)
{
    AddTty(QStringLiteral("ttyUSB0"));
    WriteIni("[FORMS]\nMain=1,10,10,5000,5000,1,300,0,140,87\n[VIEW]\nClearData=1\nUpdateTime=500\nDevicesSort=7\n");
    TMirvane2Form& f = StartUp();
    EXPECT_FALSE(PortOpen || PortAutoDetect || ReceiveThread || f.PortOpenButton->isChecked());
    EXPECT_EQ(f.StatusText(2), PortClosedText);
    EXPECT_EQ(Captions(f.PortNamePopupMenu), QStringList{QStringLiteral("ttyUSB&0")});   // enabled
    EXPECT_EQ(LineMode.load(), LineModeSensors);
    EXPECT_TRUE(f.ClearDataCheckBox->Checked());
    EXPECT_EQ(f.UpdateTime(), 500);
    EXPECT_TRUE(Action("VUpdateMode2Item")->isChecked());
    EXPECT_EQ(f.LoadedDevicesSort, 2);
    const QRect normal = f.normalGeometry().isValid() ? f.normalGeometry() : f.geometry();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(normal));
    EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(f.RightPanelWidth, 300);
    // Each refresh item gives its interval in ms; the panels are written back as they were read.
    for (const auto& [item, ms] : {std::pair{"VUpdateMode0Item", 0}, {"VUpdateMode1Item", 250}, {"VUpdateMode3Item", 1000}}) {
        Action(item)->trigger();
        EXPECT_EQ(f.UpdateTime(), ms) << item;
    }
    CloseAndDrop();
    EXPECT_TRUE(ReadIni().contains(",1,300,0,140,87\n") && ReadIni().contains("\nUpdateTime=1000\n")) << ReadIni().constData();

    // A short placement changes nothing.
    WriteIni("[FORMS]\nMain=1,10,10,500\n");
    const QRect before = Make().geometry();
    EXPECT_EQ(StartUp().geometry(), before);
}

// Recent files are read once and written back by their full paths, a name that is no UTF-8 as
// its bytes, under which the document also opens and saves. Other odd bytes in the file are the
// settings reader's test.
TEST_F(SettingsTest, RecentFilesAreReadOnceAndWrittenBackInTheirStoredForm)
{
    QTemporaryDir start;
    Make();
    const QString startDir = form->StartDir = start.path() + QLatin1Char('/');
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/\xca\xf0\xe0\xed";   // cp1251
    const QString path = WriteSchemeFile(DecodeName("\xca\xf0\xe0\xed.mvs"), {{QStringLiteral("S"), {}}});
    WriteIni("[LASTFILES]\nFile1=a.mvs\nFile2=./a.mvs\nFile3=./sub/b.mvs\nFile4=\nFile5=" + bytes + ".mvs\n");
    TMirvane2Form& f = StartUp();
    EXPECT_EQ(QStringList(f.LastFiles.begin(), f.LastFiles.begin() + 4),
              (QStringList{startDir + "a.mvs", startDir + "sub/b.mvs", path, QString()}));
    Open(path);
    f.SetModified(true);
    EXPECT_TRUE(GuardUi([&f] { f.FSaveFileItemClick(); }));
    EXPECT_TRUE(Messages.isEmpty()) << qPrintable(Messages.join(u'\n'));
    CloseAndDrop();
    const QByteArray written = ReadIni();
    EXPECT_TRUE(written.startsWith("[LASTFILES]\nFile1=" + bytes + ".mvs\nFile2=" + EncodeName(startDir) +
                                   "a.mvs\nFile3=" + EncodeName(startDir) + "sub/b.mvs\n["))
        << written.toHex().constData();
    for (const char* ext : {".mvs", ".mvi"})
        EXPECT_TRUE(RemoveFile(DecodeName(bytes + ext))) << ext << " under its own name";
}

// An entry relative to the start folder, as earlier versions wrote them, opens as it did; once
// written again the file opens whatever folder the program starts in, its menu item still short.
TEST_F(SettingsTest, ARecentFileOpensFromAnyStartFolderAndAnOldRelativeEntryAsBefore)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(MakeFolders(Path(QStringLiteral("docs"))));
    WriteSchemeFile(QStringLiteral("docs/crane.mvs"), {{QStringLiteral("S"), {}}});
    WriteIni("[LASTFILES]\nFile1=./docs/crane.mvs\n");
    for (const QString& start : {dir.path(), dir.path(), elsewhere.path()}) {
        Make();   // the first window of a process sets the start folder
        form->StartDir = start + QLatin1Char('/');
        TMirvane2Form& f = StartUp();
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Mirvane2 - crane")) << qPrintable(start);
        if (start == dir.path()) {
            EXPECT_EQ(Action("FLastFileItem1")->text(), QStringLiteral("&1. ./docs/crane.mvs"));
        }
        f.SameAddrCheckBox->SetChecked(!f.SameAddrCheckBox->Checked());   // the settings are written
        CloseAndDrop();
    }
}

// The start opens the most recent file, whatever the others are.
TEST_F(SettingsTest, TheStartOpensTheMostRecentFile)
{
    WriteSchemeFile(QStringLiteral("first.mvs"), {{QStringLiteral("S"), {}}});
    WriteSchemeFile(QStringLiteral("second.mvs"), {{QStringLiteral("T"), {}}});
    WriteIni("[LASTFILES]\nFile1=" + QFile::encodeName(dir.filePath(QStringLiteral("first.mvs"))) + "\nFile2=" +
             QFile::encodeName(dir.filePath(QStringLiteral("second.mvs"))) + "\n");
    EXPECT_EQ(StartUp().windowTitle(), QStringLiteral("Mirvane2 - first"));
    // A window after another opens it all the same, never meeting the first one's schemes.
    CloseAndDrop();
    EXPECT_EQ(StartUp().windowTitle(), QStringLiteral("Mirvane2 - first"));
}

TEST_F(SettingsTest, ALastDocumentThatIsNoPlainFileGivesANewFileWithoutBlocking)
{
    const auto hostile = MakeHostileFiles(dir.path());
    const TFifoGuard guard({hostile[1].Path});
    for (const THostileFile& file : hostile) {
        WriteIni("[LASTFILES]\nFile1=" + EncodeName(file.Path) + "\n");
        StartUp();
        EXPECT_TRUE(CurrentFileName.isEmpty()) << file.Kind << ": a new file";
        EXPECT_EQ(form->CurrSchemeComboBox->Items(), QStringList{QStringLiteral("Схема 1")}) << file.Kind;
        CloseAndDrop();
    }
    EXPECT_TRUE(Messages.isEmpty()) << qPrintable(Messages.join(u'\n'));
    EXPECT_EQ(FileType(hostile[1].Path), unsigned(S_IFIFO));
    EXPECT_FALSE(guard.Released()) << "start-up waited on the FIFO";
}

// Garbage of a readable size is the reader's fuzz test; a file beyond that size is neither read
// nor replaced by the window.
TEST_F(SettingsTest, ATooLargeFileIsLeftAlone)
{
    const QByteArray huge(MaxIniFileSize + 10, '[');
    WriteIni(huge);
    TMirvane2Form& f = StartUp();
    EXPECT_TRUE(PortOpen);   // as without a file
    f.ClearDataCheckBox->SetChecked(!f.ClearDataCheckBox->Checked());
    CloseAndDrop();
    EXPECT_EQ(ReadIni(), huge);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|Ошибка при сохранении файла настроек:\n") + Ini() +
                                    QStringLiteral("\nфайл не читается или слишком велик")});
}

// Every value comes back as written: a '%' in a port name read from the file keeps the name and
// its priority. What the file cannot hold (a comma in a port name, a line break in a recent
// file's name) is named in one message; the port keeps its old value, the file is left out.
TEST_F(SettingsTest, ValuesReadBackAsWrittenOrAreRefusedWithAMessage)
{
    WriteIni("[SETUP]\nPort=1,0,%2e%2e/tty,4\n");   // without Mode: rewritten at every close
    StartUp();
    CloseAndDrop();
    EXPECT_TRUE(ReadIni().startsWith("[SETUP]\nPort=1,0,%2e%2e/tty,4\nMode=")) << ReadIni().constData();

    AddTty(QStringLiteral("ttyUSB0,1"));
    const QString broken = WriteSchemeFile(QStringLiteral("crane\n.mvs"), {{QStringLiteral("S"), {}}});
    TMirvane2Form& f = StartUp();
    f.LPortCOMItemClick(PortItems(f.LPortNameItem->menu())[0]);
    Open(broken);
    CloseAndDrop();
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|Не все настройки записаны в файл:\n") + Ini() +
                                    QStringLiteral("\nSETUP/Port «ttyUSB0,1»: запятая или пробел по краям в имени порта"
                                                   "\nLASTFILES/File1 «") +
                                    broken + QStringLiteral("»: перевод строки в значении")});
    EXPECT_TRUE(ReadIni().contains("\nPort=1,0,%2e%2e/tty,4\n") && !ReadIni().contains("File1")) << ReadIni().constData();
}

// A settings file that cannot be written is told in the window with its name and the reason, and
// the close completes; a close that comes while the message is up (a signal) saves nothing again.
TEST_F(SettingsTest, AnUnwritableSettingsFileIsToldAndTheCloseCompletes)
{
    ASSERT_TRUE(SetMode(settingsDir.path(), 0555));
    SetMessageBoxHook([this](const QString& text, const QString& caption, TButtons, TBoxIcon) {
        Messages << caption + QLatin1Char('|') + text;
        form->close();
        return TAnswer::Ok;
    });
    StartUp().SameAddrCheckBox->SetChecked(true);
    {
        const TOrdinaryUser user;
        CloseAndDrop();
    }
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|Ошибка при сохранении файла настроек:\n") + Ini() +
                                    QLatin1Char('\n') + qt_error_string(EACCES)});
    EXPECT_FALSE(QFile::exists(Ini()));
    EXPECT_TRUE(SetMode(settingsDir.path(), 0755));
}

TEST_F(SettingsTest, OnlyALastArgumentSlashCStartsConstructorMode)
{
    for (const auto& [arguments, constructor] : {std::pair{QStringList{"/C"}, true}, {QStringList{"/c", "x"}, false}}) {
        SetStartArguments(arguments);
        StartUp();
        EXPECT_EQ(ConstructorMode != 0, constructor) << arguments.join(u' ').toStdString();
        CloseAndDrop();
    }
}

// The configured port keeps the listed spelling and a priority beyond the scale is cut to it;
// the choices reach both menus and the thread, and are written back. That the file keeps its
// other lines is the settings reader's test.
TEST_F(SettingsTest, ChoosingAPortAutoDetectionPriorityAndPluggedPorts)
{
    AddTty(QStringLiteral("ttyUSB0"));
    AddTty(QStringLiteral("ttyUSB1"));
    WriteIni("[SETUP]\nPort=1,1,TTYUSB0 ,9\nMode=0\n");
    TMirvane2Form& f = StartUp();
    EXPECT_EQ(ports.SettingsPortName(), QStringLiteral("ttyUSB0"));
    EXPECT_TRUE(Action("LCriticalPriorityItem")->isChecked());
    ExpectBothMenus({QStringLiteral("ttyUSB&0*-"), QStringLiteral("ttyUSB&1-")});
    FakeReceiveThread::Log.clear();
    f.LPortAutoDetectItemClick();
    ExpectBothMenus({QStringLiteral("ttyUSB&0*"), QStringLiteral("ttyUSB&1")});
    // The port or priority chosen already, or no item, changes nothing.
    f.LPortCOMItemClick(PortItems(f.LPortNameItem->menu())[0]);
    f.LPortCOMItemClick(nullptr);
    f.LPriorityItemClick(Action("LCriticalPriorityItem"));
    PortItems(f.LPortNameItem->menu())[1]->trigger();
    const TPortSettings read = f.PortSettings();   // what the thread reads while it detects
    EXPECT_EQ(std::tuple(read.AutoDetect, read.SettingsPort, read.PortList),
              std::tuple(false, QStringLiteral("ttyUSB1"), QStringList{"ttyUSB0", "ttyUSB1"}));
    f.LPriorityItemClick(Action("LHighestPriorityItem"));
    // A port change the user makes ends a running search, as a change of scheme or line mode does.
    EXPECT_EQ(FakeReceiveThread::Log, (QStringList{"thread stop search", "thread reconnect", "thread stop search",
                                                   "thread reconnect", "thread priority 5", "thread reset stats"}));

    AddTty(QStringLiteral("ttyACM1"));   // the folder watch (or the rescan beat) notices it
    ASSERT_TRUE(RunEventsUntil([this] { return ports.PortListNames().contains(QStringLiteral("ttyACM1")); }));
    ExpectBothMenus({QStringLiteral("ttyACM&1"), QStringLiteral("ttyUSB&0"), QStringLiteral("ttyUSB&1*")});
    EXPECT_EQ(FakeReceiveThread::Log.count(QStringLiteral("thread reconnect")), 3);
    EXPECT_EQ(FakeReceiveThread::Log.count(QStringLiteral("thread stop search")), 3);

    f.SameAddrCheckBox->SetChecked(true);
    CloseAndDrop();
    const QByteArray written = ReadIni();
    EXPECT_TRUE(written.startsWith("[SETUP]\nPort=1,0,ttyUSB1,5\nMode=0\n")) << written.toStdString();
    PortAutoDetect = true;
    PollPriority = 2;
    TMirvane2Form& again = StartUp();
    EXPECT_EQ(std::tuple(PortAutoDetect.load(), ports.SettingsPortName(), PollPriority), std::tuple(false, QStringLiteral("ttyUSB1"), 5));
    EXPECT_TRUE(again.SameAddrCheckBox->Checked());
    CloseAndDrop();
    EXPECT_EQ(ReadIni(), written);   // nothing changed: not rewritten
}

// Each value the settings keep is written when it alone changed: a comparison left out of the
// close would lose exactly that change.
TEST_F(SettingsTest, EachValueChangedAloneIsWrittenAtClose)
{
    // clang-format off
    const struct { const char* what; std::function<void(TMirvane2Form&)> change; } changes[] = {
        {"line mode", [this](TMirvane2Form& f) { f.BIModeItemClick(Action("LBIMode2Item")); }},
        {"update time", [this](TMirvane2Form& f) { f.VUpdateModeItemClick(Action("VUpdateMode3Item")); }},
        {"clear data", [](TMirvane2Form& f) { f.ClearDataCheckBox->SetChecked(true); }},
        {"same addresses", [](TMirvane2Form& f) { f.SameAddrCheckBox->SetChecked(true); }},
        {"right panel", [](TMirvane2Form& f) { f.RightPanelButtonClick(f.ShowRightButton); }},
        {"priority", [this](TMirvane2Form& f) { f.LPriorityItemClick(Action("LLowestPriorityItem")); }},
        {"auto-detection", [](TMirvane2Form& f) { f.LPortAutoDetectItemClick(); }},
        {"column width", [](TMirvane2Form& f) { f.SchemeGrid->setColumnWidth(9, 140); }},
    };
    // clang-format on
    for (const auto& c : changes) {
        QFile::remove(Ini());
        TMirvane2Form& f = StartUp();
        c.change(f);
        CloseAndDrop();
        EXPECT_TRUE(QFile::exists(Ini())) << c.what;
    }
}

// Only the thread's end shows the port closed; switched on again before that end, the port gets
// a fresh thread from it.
TEST_F(SettingsTest, SwitchingThePortEndsOrStartsTheThread)
{
    TMirvane2Form& f = StartUp();
    ASSERT_TRUE(WaitOpened());
    f.SetStatusText(1, QStringLiteral(" Период опроса: 120 мс"));
    FakeReceiveThread::Log.clear();
    f.LPortOpenItemClick();
    EXPECT_EQ(FakeReceiveThread::Log, QStringList{"thread terminate"});
    EXPECT_FALSE(PortOpen || f.PortOpenButton->isChecked() || f.StatusText(2) == PortClosedText);
    ASSERT_TRUE(RunEventsUntil([this] { return ReceiveThread == nullptr; }));
    EXPECT_EQ(f.StatusText(1) + f.StatusText(2), QStringLiteral(" Готов") + PortClosedText);

    f.LPortOpenItemClick();
    f.LPortOpenItemClick();
    f.LPortOpenItemClick();
    ASSERT_TRUE(RunEventsUntil([] { return FakeReceiveThread::Log.count(QStringLiteral("thread resume")) == 2; }));
    RunEventsFor(20);
    EXPECT_EQ(FakeReceiveThread::Log.count(QStringLiteral("thread resume")), 2);
    EXPECT_TRUE(PortOpen && ReceiveThread && f.PortOpenButton->isChecked());
    CloseAndDrop();
    SetReceiveThreadFactory([]() -> IReceiveThread* { return nullptr; });   // no thread made
    EXPECT_EQ(StartUp().StatusText(2), PortClosedText);
}

TEST_F(SettingsTest, AChangedFtdiCountReconnectsOnce)
{
    FakeFtdi ftdi;
    ASSERT_NE(LoadFtdiLibrary(FakeFtdi::Path()), nullptr);   // found by the window's own load
    AddTty(QStringLiteral("ttyUSB0"));
    TMirvane2Form& f = StartUp();
    EXPECT_EQ(ports.PortListNames(), (QStringList{"ttyUSB0", "USB"}));   // the FTDI entry last
    // A plugged tty is the port choices' test.
    // clang-format off
    struct { int devices; std::uint32_t listFails; int reconnects; } const steps[] = {
        {1, 0, 0},   // nothing changed
        {2, 0, 1},
        {3, 4, 0},   // the count is not compared when the call fails
    };
    // clang-format on
    for (const auto& s : steps) {
        SCOPED_TRACE(int(&s - steps));
        FakeReceiveThread::Log.clear();
        ftdi.SetDevices(s.devices);
        ftdi.Fail("FT_ListDevices", s.listFails);
        f.UpdatePortList();
        EXPECT_EQ(FakeReceiveThread::Log.count(QStringLiteral("thread reconnect")), s.reconnects);
        EXPECT_EQ(FakeReceiveThread::Log.count(QStringLiteral("thread stop search")), s.reconnects);
    }
    ExpectBothMenus({QStringLiteral("ttyUSB&0-"), QStringLiteral("US&B (Direct)-")});
    CloseAndDrop();
    EXPECT_FALSE(d2xx::Loaded()) << "the window's going releases the library";
}

// The port the user chooses and the port list reach the receive thread under the lock the thread
// reads them with (the thread-sanitizer stage runs this): ports chosen and the list replaced while
// the thread reconnects to each choice and the settings are read as its detection reads them, on
// another thread. No such ports exist: the thread names the last one chosen as not found.
TEST_F(SettingsTest, PortsChosenWhileTheThreadReconnectsReachIt)
{
    for (const char* name : {"ttyMirvaneTest0", "ttyMirvaneTest1"})
        AddTty(QLatin1String(name));
    SetReceiveThreadFactory({});
    WriteIni("[SETUP]\nPort=1,0,ttyMirvaneTest0,2\nMode=0\n");
    TMirvane2Form& f = StartUp();
    ASSERT_NE(ReceiveThread, nullptr);
    std::atomic<bool> chosen{false};
    std::thread detection([&f, &chosen] {
        while (!chosen)
            (void)f.PortSettings();
    });
    for (int i = 0; i < 30; ++i) {
        if (i == 15) {   // a port plugged in meanwhile: the list is replaced
            AddTty(QStringLiteral("ttyMirvaneTest2"));
            f.UpdatePortList();
        }
        f.LPortCOMItemClick(PortItems(f.LPortNameItem->menu())[i % 2]);
        QCoreApplication::processEvents();
    }
    chosen = true;
    detection.join();
    EXPECT_TRUE(RunEventsUntil([&f] { return f.StatusText(2) == QStringLiteral("9ttyMirvaneTest1"); }));
    CloseAndDrop();
}

namespace {

// The port control's view without a window: every call into one log, with the thread's calls.
class LoggingPortView final : public IPortView {
public:
    explicit LoggingPortView(QStringList& log) : log_(log) {}
    void ShowPortList() override { log_ << QStringLiteral("view list"); }
    void CheckPort(int tag) override { log_ << QStringLiteral("view check %1").arg(tag); }
    void ShowPortOpen(bool open) override { log_ << QStringLiteral("view open %1").arg(open); }
    void ShowAutoDetect(bool on) override { log_ << QStringLiteral("view auto %1").arg(on); }
    void ShowReconnect() override { log_ << QStringLiteral("view reconnect"); }
    void ShowPortClosed() override { log_ << QStringLiteral("view closed"); }
    bool IsClosing() const override { return Closing; }
    void CompleteClose() override { log_ << QStringLiteral("view close"); }

    bool Closing = false;

private:
    QStringList& log_;
};

}   // namespace

// The switch, the priority, the choice of a port and the thread's end, through the control's
// seams alone: what the thread is asked and what the view is told, in order.
TEST(PortControl, SwitchesPriorityPortChoiceAndTheThreadsEndWithoutAWindow)
{
    QStringList log;
    bool makesThread = true;
    LoggingReceiveThread* thread = nullptr;
    TPortControl ports([&]() -> IReceiveThread* {
        thread = makesThread ? new LoggingReceiveThread(log) : nullptr;
        return thread;
    });
    auto view = std::make_unique<LoggingPortView>(log);
    LoggingPortView& shown = *view;
    ports.Attach(std::move(view));
    for (const char* name : {"ttyS0", "ttyUSB0"})
        ports.PortList.push_back(std::make_unique<TMVPort>(QString::fromLatin1(name)));
    ports.ConfigurePort(QStringLiteral("TTYS0"));   // takes the listed spelling
    EXPECT_EQ(ports.SettingsPortName(), QStringLiteral("ttyS0"));
    const auto step = [&](const std::function<void()>& act) {
        log.clear();
        act();
        return log;
    };
    // clang-format off
    EXPECT_EQ(step([&] { ports.StartReceiveThread(); }), (QStringList{"thread priority 2", "thread resume"}));
    EXPECT_EQ(step([&] { ports.ChoosePriority(2); }), QStringList{});
    EXPECT_EQ(step([&] { ports.ChoosePriority(5); }), (QStringList{"thread priority 5", "thread reset stats"}));
    EXPECT_EQ(step([&] { ports.ChoosePort(0); }), QStringList{"view check 0"});   // the configured one
    EXPECT_EQ(step([&] { ports.ChoosePort(1); }),
              (QStringList{"view check 1", "thread stop search", "thread reconnect", "view reconnect"}));
    EXPECT_EQ(step([&] { ports.ChoosePort(2); }), QStringList{});
    EXPECT_EQ(step([&] { ports.SwitchAutoDetect(); }),
              (QStringList{"view auto 0", "thread stop search", "thread reconnect", "view reconnect"}));
    // Switched off and on again before the thread ended: a fresh one starts from its end.
    EXPECT_EQ(step([&] { ports.SwitchPortOpen(); ports.SwitchPortOpen(); }),
              (QStringList{"view open 0", "thread terminate", "view open 1"}));
    EXPECT_EQ(step([&] { thread->End(); }), (QStringList{"thread priority 5", "thread resume"}));
    EXPECT_EQ(step([&] { ports.SwitchPortOpen(); thread->End(); }),
              (QStringList{"view open 0", "thread terminate", "view open 0", "view closed"}));
    // clang-format on
    EXPECT_TRUE(!ports.PortOpen && !ports.ReceiveThread);
    EXPECT_EQ(ports.Settings().SettingsPort, QStringLiteral("ttyUSB0"));

    // A closing window completes its close at the thread's end; no thread made shows the port closed.
    EXPECT_EQ(step([&] { ports.SwitchPortOpen(); }), (QStringList{"view open 1", "thread priority 5", "thread resume"}));
    shown.Closing = true;
    EXPECT_EQ(step([&] { thread->Terminate(); thread->End(); }), (QStringList{"thread terminate", "view close"}));
    makesThread = false;
    EXPECT_EQ(step([&] { ports.StartReceiveThread(); }), QStringList{"view closed"});
    ports.Detach();
    EXPECT_TRUE(ports.PortList.empty() && !ports.SettingsPort);
}

// The main window's behaviour: the layout rules, the status bar, colour changes and the close
// sequence. Its end with the program's own receive thread is the program's start-up test.
#include <QApplication>
#include <QPainter>
#include <QProcess>
#include <csignal>

#include "WindowFixture.h"
#include "ui/Application.h"
#include "ui/StatusBar.h"

TEST_F(MainWindowTest, PanelsKeepTheirMinimumsAndTheStatusBarItsGlyphRangeAndSlit)
{
    TMirvane2Form& f = Make();
    f.RightPanelWidth = 10;
    f.InfoPanelHeight = 0;
    f.CommentPanelHeight = 50;
    f.FormResize();
    EXPECT_EQ(f.RightPanelWidth, 200);
    EXPECT_EQ(f.InfoPanelHeight, 140);
    EXPECT_EQ(f.CommentPanelHeight, 87);

    f.show();
    f.RightPanelButtonClick(f.ShowRightButton);
    f.RightPanelWidth = 600;
    // The right panel: the wanted 600, or what leaves the scheme view 200 pixels.
    for (const auto& [width, rightPanel] : {std::pair{1400, 600}, {800, 594}, {722, 516}, {1400, 600}}) {
        f.resize(width, 600);
        RunEventsFor(30);
        EXPECT_GE(f.LeftPanel->Width(), 200) << width;
        EXPECT_EQ(f.RightPanel->Width(), rightPanel) << width;
        EXPECT_EQ(f.RightPanelWidth, 600);   // the wanted width survives a narrow window
    }

    // The status bar: a connection glyph outside its range draws the text only; the progress
    // slit is cut out of the bar.
    QImage blank(120, 18, QImage::Format_RGB32);
    blank.fill(Qt::white);
    // clang-format off
    struct { const char* text; bool image, words; } const rows[] = {
        {"8COM1", true, true}, {":Закр.", true, true}, {"0", true, false},
        {"", false, false},    {"ZОшибка", false, true}, {"/x", false, true},
    };
    // clang-format on
    for (const auto& row : rows) {
        f.SetStatusText(2, QString::fromUtf8(row.text));
        QImage canvas = blank;
        {
            QPainter painter(&canvas);
            f.StatusBarDrawPanel(f.StatusBar, painter, 2, QRect(0, 0, 120, 18));
        }
        const auto drawnIn = [&](int x0, int x1) { return canvas.copy(x0, 0, x1 - x0, 18) != blank.copy(x0, 0, x1 - x0, 18); };
        EXPECT_EQ(drawnIn(2, 18), row.image) << row.text;
        EXPECT_EQ(drawnIn(22, 120), row.words) << row.text;
    }

    const int h = f.StatusBar->height();
    f.SetProgressX(100);
    f.UpdateStatusBarRegion();
    const QRegion mask = f.StatusBar->mask();
    EXPECT_FALSE(mask.contains(QPoint(100, 5)) || mask.contains(QPoint(100, h - 4)));
    EXPECT_TRUE(mask.contains(QPoint(100, 4)) && mask.contains(QPoint(100, h - 3)) && mask.contains(QPoint(99, 8)));
    f.SetProgressX(-1);
    f.UpdateStatusBarRegion();
    EXPECT_TRUE(f.StatusBar->mask().isEmpty());   // the whole bar shows
}

// The tint and the blend themselves are the image parts' test.
TEST_F(MainWindowTest, ColourChangeRebuildsTheTintedButtonsAndTheBlend)
{
    TMirvane2Form& f = Make();
    const QPalette saved = QApplication::palette();
    const qint64 before = f.ShowRightButton->icon().cacheKey();
    QPalette red = saved;
    red.setColor(QPalette::Base, QColor(255, 255, 255));
    red.setColor(QPalette::Button, QColor(0, 0, 0));
    QApplication::setPalette(red);
    QCoreApplication::processEvents();
    EXPECT_NE(f.ShowRightButton->icon().cacheKey(), before);
    EXPECT_EQ(f.BlendedColor, QColor(170, 170, 170));
    QApplication::setPalette(saved);
    QCoreApplication::processEvents();
}

TEST_F(MainWindowTest, CloseWithoutThreadsEndsAtOnceAndDestroysDevicesFirst)
{
    PortOpen = false;
    TMirvane2Form& f = StartUp();
    ASSERT_TRUE(WaitOpened());   // the start prepares a new file, its scheme opened by the walk
    TSchemeObject object(QStringLiteral("Датчик"), 0u, ModeReceive);
    f.Devices().push_back(std::make_unique<TDeviceInfo>(&object, &FrameHandlers, &f));
    QPointer<TFrame> frame = f.Devices().back()->Frame;
    ASSERT_FALSE(frame.isNull());
    ASSERT_NE(CurrentScheme, nullptr);
    EXPECT_TRUE(f.close());
    form.reset();   // the device and its frame go before the widget tree
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(Host(), nullptr);
    EXPECT_EQ(Mirvane2Form(), nullptr);
    // Its schemes went with it: a later window never meets them (it opens its start file).
    EXPECT_EQ(CurrentScheme, nullptr);
    EXPECT_EQ(PendingScheme, nullptr);
}

// A signal that ends a program closes the window as the user's close does: the question about
// an unsaved edit (answered Yes), then the state and settings files. SIGHUP comes when the
// terminal the program was started from is closed. A signal that is not routed ends the process
// at once, so each goes to a child: this test run again on its own, which takes the child's part.
TEST_F(MainWindowTest, EachEndingSignalClosesAsTheUserDoes)
{
    const QString childFolder = qEnvironmentVariable("MIRVANE_SIGNAL_CHILD");
    const auto document = [](const QString& folder) { return folder + QStringLiteral("/crane.mvs"); };
    if (!childFolder.isEmpty()) {
        TSchemeList schemes;
        schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("S")));
        ASSERT_TRUE(SaveSchemeFile(document(childFolder), schemes, FileComment));
        Make();
        form->IniFileName = childFolder + QStringLiteral("/Mirvane2.ini");
        StartUp();
        Open(document(childFolder));
        form->SetModified(true);
        Answers = {TAnswer::Yes};
        RouteSignalsToClose(form.get());
        std::printf("ready\n");
        std::fflush(stdout);
        ASSERT_TRUE(RunEventsUntil([this] { return !form->isVisible() && ReceiveThread == nullptr; }, 20000));
        std::printf("asked: %s\n", Messages.join(u'|').toUtf8().constData());
        return;
    }
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir folder;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MIRVANE_SIGNAL_CHILD"), folder.path());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=MainWindowTest.EachEndingSignalClosesAsTheUserDoes")});
        QByteArray out;
        ASSERT_TRUE(RunEventsUntil([&] {
            child.waitForReadyRead(50);
            out += child.readAllStandardOutput();
            return out.contains("ready\n") || child.state() == QProcess::NotRunning;
        },
                                   30000));
        ASSERT_TRUE(out.contains("ready\n")) << out.constData();
        // An ended child has no id, and a signal to 0 would reach this whole test run instead.
        const auto pid = pid_t(child.processId());
        ASSERT_GT(pid, 0) << "the child ended before its signal: " << out.constData();
        ::kill(pid, signal);
        ASSERT_TRUE(child.waitForFinished(20000)) << signal;
        out += child.readAllStandardOutput();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(child.exitCode(), 0) << signal << out.constData();
        const QString question = QStringLiteral("Вопрос|Сохранить изменения в файле:\n") + document(folder.path()) + u'?';
        EXPECT_TRUE(QString::fromUtf8(out).contains(question)) << signal << out.constData();
        EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("crane.mvi")))) << signal << ": the state file";
        EXPECT_TRUE(FileBytes(folder.filePath(QStringLiteral("Mirvane2.ini"))).contains("File1=" + EncodeName(document(folder.path()))))
            << signal << ": the settings";
    }
}

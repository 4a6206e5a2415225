// The main window's behaviour: deferred start-up and the receive thread, the layout rules, the
// status bar, the watchdog message, colour changes and the close sequence.
#include <QApplication>
#include <QPainter>
#include <QToolButton>

#include "FakeReceiveThread.h"
#include "MainWindowFixture.h"
#include "model/Scheme.h"
#include "ui/ImageList.h"
#include "ui/StatusBar.h"

static void UseFakeThreads() { SetReceiveThreadFactory([]() -> IReceiveThread* { return new FakeReceiveThread; }); }

TEST_F(MainWindowTest, StartUpWaitsForTheDeferredMessageThenStartsTheReceiveThread)
{
    UseFakeThreads();
    TMirvane2Form& f = Make();
    EXPECT_EQ(ReceiveThread, nullptr);   // nothing runs before the start message
    StartUp();
    ASSERT_NE(ReceiveThread, nullptr);
    ASSERT_NE(FakeReceiveThread::Last, nullptr);
    EXPECT_TRUE(FakeReceiveThread::Last->Resumed);
    EXPECT_EQ(FakeReceiveThread::Last->Priority, 2);
    EXPECT_EQ(f.StatusText(0), StartHint);   // the settings were loaded
    EXPECT_TRUE(RunEventsUntil([] { return FakeReceiveThread::Last && FakeReceiveThread::Last->Steps > 3; }));
    EXPECT_TRUE(PortOpen);
    EXPECT_NE(f.StatusText(2), PortClosedText);
}

TEST_F(MainWindowTest, StartUpWithThePortOffShowsItClosed)
{
    UseFakeThreads();
    PortOpen = false;
    TMirvane2Form& f = Make();
    StartUp();
    EXPECT_EQ(ReceiveThread, nullptr);
    EXPECT_EQ(FakeReceiveThread::Alive, 0);
    EXPECT_EQ(f.StatusText(2), QStringLiteral(":Закр."));
    EXPECT_EQ(f.StatusText(1), QStringLiteral(" Готов"));
    EXPECT_FALSE(f.PortOpenButton->isChecked());
}

// The program's own thread: with no port to be found it keeps detecting (the glyph turns), and
// closing the window ends it without the main thread ever waiting for it.
TEST_F(MainWindowTest, TheRealReceiveThreadDetectsAndEndsWithTheWindow)
{
    TMirvane2Form& f = Make();
    StartUp();
    ASSERT_NE(ReceiveThread, nullptr);
    EXPECT_TRUE(RunEventsUntil([&f] {
        const QString glyph = f.StatusText(2);
        return !glyph.isEmpty() && glyph[0] >= u'0' && glyph[0] <= u'7';
    }));
    f.close();
    EXPECT_TRUE(RunEventsUntil([] { return ReceiveThread == nullptr; }));
}

TEST_F(MainWindowTest, WantedPanelSizesAreRaisedToTheSplitterMinimums)
{
    TMirvane2Form& f = Make();
    f.RightPanelWidth = 10;
    f.InfoPanelHeight = 0;
    f.CommentPanelHeight = 50;
    f.FormResize();
    EXPECT_EQ(f.RightPanelWidth, 200);
    EXPECT_EQ(f.InfoPanelHeight, 140);
    EXPECT_EQ(f.CommentPanelHeight, 87);
}

TEST_F(MainWindowTest, TheSchemeViewKeepsTwoHundredPixels)
{
    TMirvane2Form& f = Make();
    f.show();
    f.RightPanelButtonClick(f.ShowRightButton);
    ASSERT_TRUE(f.RightPanel->Visible());
    f.RightPanelWidth = 600;
    struct {
        int width;
        int rightPanel;   // expected: the wanted 600, or what leaves the scheme view 200 pixels
    } const rows[] = {{1400, 600}, {800, 594}, {722, 516}, {1400, 600}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.width);
        f.resize(row.width, 600);
        RunEventsFor(30);
        ASSERT_EQ(f.MainPanel->Width(), row.width);
        EXPECT_GE(f.LeftPanel->Width(), 200);
        EXPECT_EQ(f.RightPanel->Width(), row.rightPanel);
        EXPECT_EQ(f.RightPanelWidth, 600);   // the wanted width survives a narrow window
    }
}

TEST_F(MainWindowTest, ConnectionGlyphAndTextAreDrawnWhereExpected)
{
    TMirvane2Form& f = Make();
    const QColor ground(255, 255, 255);
    struct {
        const char* text;
        bool image;
        bool words;
    } const rows[] = {{"8COM1", true, true}, {":Закр.", true, true}, {"0", true, false}, {"", false, false},
                      {"ZОшибка", false, true}, {"/x", false, true}};   // outside the glyphs: the text only
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        f.SetStatusText(2, QString::fromUtf8(row.text));
        QImage canvas(120, 18, QImage::Format_RGB32);
        canvas.fill(ground);
        {
            QPainter painter(&canvas);
            f.StatusBarDrawPanel(f.StatusBar, painter, 2, QRect(0, 0, 120, 18));
        }
        const auto drawnIn = [&](int x0, int x1) {
            for (int y = 0; y < canvas.height(); ++y)
                for (int x = x0; x < x1; ++x)
                    if (canvas.pixelColor(x, y) != ground)
                        return true;
            return false;
        };
        EXPECT_EQ(drawnIn(2, 18), row.image);
        EXPECT_EQ(drawnIn(22, 120), row.words);
    }
}

TEST_F(MainWindowTest, ProgressSlitIsCutOutOfTheBar)
{
    TMirvane2Form& f = Make();
    f.show();
    f.resize(800, 600);
    RunEventsFor(30);
    const int h = f.StatusBar->height();
    f.SetProgressX(100);
    f.UpdateStatusBarRegion();
    const QRegion mask = f.StatusBar->mask();
    EXPECT_FALSE(mask.contains(QPoint(100, 5)));
    EXPECT_FALSE(mask.contains(QPoint(100, h - 4)));
    EXPECT_TRUE(mask.contains(QPoint(100, 4)));
    EXPECT_TRUE(mask.contains(QPoint(100, h - 3)));
    EXPECT_TRUE(mask.contains(QPoint(99, 8)));
    EXPECT_TRUE(mask.contains(QPoint(101, 8)));
    f.SetProgressX(-1);
    f.UpdateStatusBarRegion();
    EXPECT_TRUE(f.StatusBar->mask().isEmpty());   // the whole bar shows
}

TEST_F(MainWindowTest, WatchdogReachesTheHandlerWithItsDevice)
{
    TMirvane2Form& f = Make();
    TSchemeObject object(QStringLiteral("Датчик"), 0u, ModeReceive);
    f.Devices().push_back(std::make_unique<TDeviceInfo>(&object, &FrameHandlers, &f));
    TDeviceInfo* device = f.Devices().back().get();
    device->AnswerText = QStringLiteral("01");
    device->StartTimer();   // its own 3000 ms watchdog; the handler forgets the last answer
    EXPECT_TRUE(RunEventsUntil([device] { return device->AnswerText.isEmpty(); }, 15000));

    // A notice for a device that is gone is dropped.
    f.Devices().clear();
    f.WMTimer(device);
}

TEST_F(MainWindowTest, ColourChangeRebuildsTheTintedButtons)
{
    TMirvane2Form& f = Make();
    const QPalette saved = QApplication::palette();
    const qint64 before = f.ShowRightButton->icon().cacheKey();
    QPalette red = saved;
    red.setColor(QPalette::Highlight, QColor(200, 0, 0));
    red.setColor(QPalette::Base, QColor(255, 255, 255));
    red.setColor(QPalette::Button, QColor(0, 0, 0));
    QApplication::setPalette(red);
    QCoreApplication::processEvents();

    const QImage source = LoadResourceImage(QStringLiteral("RoundButtons"));
    const QImage expected = TintRoundButtons(source, QColor(200, 0, 0));
    const QImage got = f.RoundButtonsImages.Image(0).toImage();
    ASSERT_FALSE(got.isNull());
    EXPECT_EQ(got.pixelColor(8, 13), expected.pixelColor(8, 13));   // the button's body
    EXPECT_NE(f.ShowRightButton->icon().cacheKey(), before);
    EXPECT_EQ(BlendedColor, QColor(170, 170, 170));
    QApplication::setPalette(saved);
    QCoreApplication::processEvents();
}

TEST_F(MainWindowTest, CloseWaitsForTheReceiveThreadWithoutDeadlock)
{
    UseFakeThreads();
    TMirvane2Form& f = Make();
    StartUp();
    ASSERT_NE(ReceiveThread, nullptr);
    ASSERT_TRUE(RunEventsUntil([] { return FakeReceiveThread::Last->Steps > 2; }));

    EXPECT_FALSE(f.close());   // the thread is still inside its loop
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Closing, 1);
    EXPECT_TRUE(RunEventsUntil([&f] { return !f.isVisible(); }));
    EXPECT_EQ(ReceiveThread, nullptr);
    EXPECT_TRUE(RunEventsUntil([] { return FakeReceiveThread::Alive == 0; }));
    EXPECT_EQ(f.StatusText(2) == PortClosedText, false);   // closing does not switch the port off
    EXPECT_TRUE(PortOpen);
}

TEST_F(MainWindowTest, CloseWithoutThreadsEndsAtOnceAndDestroysDevicesFirst)
{
    PortOpen = false;
    TMirvane2Form& f = Make();
    StartUp();
    // The start prepares a new file, whose scheme is opened by the scheme walk.
    ASSERT_TRUE(RunEventsUntil([&f] { return !f.OpeningScheme(); }));
    TSchemeObject object(QStringLiteral("Датчик"), 0u, ModeReceive);
    f.Devices().push_back(std::make_unique<TDeviceInfo>(&object, &FrameHandlers, &f));
    QPointer<TFrame> frame = f.Devices().back()->Frame;
    ASSERT_FALSE(frame.isNull());
    EXPECT_TRUE(f.close());
    form.reset();   // FormDestroy: the device and its frame go before the widget tree
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(Host(), nullptr);
    EXPECT_EQ(Mirvane2Form, nullptr);
}

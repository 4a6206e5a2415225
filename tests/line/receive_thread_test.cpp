// The receive thread's life on one thread: connection cycles, port detection with its glyph,
// a missing poll echo, the end of a device search, and the reset at the end of a connection.
#include "line/ReceiveFixture.h"

namespace {

class ReceiveThreadTest : public ::testing::Test, public ReceiveWorld {
protected:
    // Runs the thread body; `steer` is called at every pass and detection walk with its count.
    void RunExecute(const std::function<void(int pass)>& steer, int maxPasses = 1000)
    {
        int pass = 0;
        thread.OnPass = [&] {
            ++pass;
            if (pass > maxPasses) {
                ADD_FAILURE() << "the loop did not end";
                thread.Terminate();
                return;
            }
            steer(pass);
        };
        thread.Execute();
    }
};

TEST_F(ReceiveThreadTest, ReconnectEndsTheCycleAndStartsDetectionAfresh)
{
    LineMode = LineModeMaster;
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    host.SetPortSettings({false, "ttyUSB0", {}});
    ScriptedPort& line = Line("ttyUSB0");
    RunExecute([&](int pass) {
        if (pass == 1)
            thread.StartSearch();
        if (pass == 3)
            thread.RequestReconnect();
        if (pass == 5) {
            EXPECT_FALSE(thread.Searching) << "every cycle starts without a search";
            thread.Terminate();
        }
    });
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Open).size(), 2u);
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Close).size(), 2u);
    EXPECT_FALSE(line.IsOpen());
    // LineStopped once per cycle: at the reconnect and at the end.
    EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>{&device, &device}));
    EXPECT_TRUE(thread.ResetStats);
    EXPECT_FALSE(thread.Reconnect);
    // The glyph starts from nothing in each cycle, so the new connection is shown again.
    EXPECT_EQ(host.statusHistory[2], (std::vector<QString>{"8ttyUSB0", "8ttyUSB0"}));
    EXPECT_EQ(host.searchEndPosts, 0);
}

TEST_F(ReceiveThreadTest, LineStoppedResetsEnabledDevicesUnlessTheWindowCloses)
{
    TDeviceInfo& on = devices.AddDevice(RowPressure6);
    TDeviceInfo& off = devices.AddDevice(RowLeveller44, ModeDisabled);
    for (TDeviceInfo* d : {&on, &off}) {
        d->LastAnswerTick = 5;
        d->IntervalSum = 9;
        const std::uint32_t interval = 9;
        d->AnswerIntervals->Put(reinterpret_cast<const std::uint8_t*>(&interval), 4);
    }
    host.closing = true;
    thread.LineStopped();
    EXPECT_TRUE(host.timerMessages.empty());
    EXPECT_EQ(on.LastAnswerTick, 5u);

    host.closing = false;
    thread.LineStopped();
    EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>{&on}));
    EXPECT_EQ(on.LastAnswerTick, 0u);
    EXPECT_EQ(on.IntervalSum, 0);
    EXPECT_EQ(on.AnswerIntervals->Count, 0);
    EXPECT_EQ(off.LastAnswerTick, 5u);
    EXPECT_EQ(off.AnswerIntervals->Count, 4);
}

TEST_F(ReceiveThreadTest, LostPortEndsTheCycleAndIsNotSpunOn)
{
    LineMode = LineModeMaster;
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    host.SetPortSettings({false, "ttyUSB0", {}});
    ScriptedPort& line = Line("ttyUSB0");
    std::uint32_t hangUpTick = 0;
    int opensAfterHangUp = 0;
    auto bind = thread.BindPort;
    thread.BindPort = [&](TMVPort& port, const QString& name) {
        bind(port, name);
        if (hangUpTick != 0 && ++opensAfterHangUp == 3)
            line.Restore();   // the adapter is plugged in again
    };
    std::uint32_t reopenTick = 0;
    RunExecute([&](int pass) {
        if (pass == 2) {
            line.HangUp();
            hangUpTick = clock.Now();
        }
        if (opensAfterHangUp >= 3 && reopenTick == 0)
            reopenTick = clock.Now();
        if (pass == 6)
            thread.Terminate();
    });
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Open).size(), 4u);   // the first, two failures, the reopen
    EXPECT_GE(reopenTick - hangUpTick, 3 * IdleWaitMs);
    EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>{&device, &device}));
    // Not found while gone, connected again after.
    EXPECT_EQ(host.statusHistory[2], (std::vector<QString>{"8ttyUSB0", "9ttyUSB0", "8ttyUSB0"}));
}

TEST_F(ReceiveThreadTest, ConfiguredPortAbsentShowsNotFoundOnceAndNeverChecksTheLine)
{
    host.SetPortSettings({false, "ttyUSB3", {"ttyUSB0"}});
    Line("ttyUSB3").FailOpen(1000);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(thread.OpenPort());
    EXPECT_EQ(host.statusHistory[2], (std::vector<QString>{"9ttyUSB3"}));
    EXPECT_TRUE(Line("ttyUSB3").CallsOf(ScriptedPort::Op::Read).empty());
    EXPECT_EQ(bindings, (std::vector<QString>{"ttyUSB3", "ttyUSB3", "ttyUSB3"}));
}

TEST_F(ReceiveThreadTest, DetectionTriesTheConfiguredPortThenTheListSkippingItsDuplicate)
{
    host.SetPortSettings({true, "ttyUSB1", {"ttyS0", "ttyUSB1", "ttyUSB2", "pts/7"}});
    Line("ttyS0").SetEcho(ScriptedPort::Echo::None);     // opens, silent, no echo
    Line("ttyUSB1").SetEcho(ScriptedPort::Echo::None);
    Line("ttyUSB2").FailOpen(1000);                      // absent
    Line("pts/7");                                       // echoes its probe byte
    ASSERT_TRUE(thread.OpenPort());
    EXPECT_EQ(bindings, (std::vector<QString>{"ttyUSB1", "ttyS0", "ttyUSB2", "pts/7"}));
    EXPECT_EQ(thread.Port.Name, "pts/7");
    EXPECT_TRUE(Line("pts/7").IsOpen());
    for (const char* silent : {"ttyS0", "ttyUSB1"}) {
        EXPECT_FALSE(Line(silent).IsOpen()) << silent;
        EXPECT_EQ(Line(silent).Trace(), "Open Read(1:) SetState(S) Purge Write(S:00) Read(1:) Close") << silent;
    }
    EXPECT_EQ(Line("pts/7").Trace(), "Open Read(1:) SetState(S) Purge Write(S:00) Read(1:00)");
    EXPECT_TRUE(thread.Engine.LineEchoes);
    EXPECT_EQ(host.statusHistory[2], (std::vector<QString>{"8pts/7"}));
}

TEST_F(ReceiveThreadTest, DetectionTakesALineThatTalks)
{
    host.SetPortSettings({true, "ttyUSB1", {}});
    Line("ttyUSB1").SetEcho(ScriptedPort::Echo::None);
    Line("ttyUSB1").PlayAfter(10, {0x46});
    ASSERT_TRUE(thread.OpenPort());
    EXPECT_EQ(Line("ttyUSB1").Trace(), "Open Read(1:46)");
}

TEST_F(ReceiveThreadTest, FruitlessDetectionWaitsBetweenWalksAndTurnsTheGlyph)
{
    host.SetPortSettings({true, "ttyUSB1", {"ttyUSB2"}});
    Line("ttyUSB1").FailOpen(1000000);
    Line("ttyUSB2").FailOpen(1000000);
    int walks = 0;
    std::vector<std::uint32_t> walkTicks;
    thread.OnPass = [&] {
        walkTicks.push_back(clock.Now());
        if (++walks == 40)
            thread.Terminate();
    };
    EXPECT_FALSE(thread.OpenPort());
    ASSERT_EQ(walkTicks.size(), 40u);
    for (std::size_t i = 1; i < walkTicks.size(); ++i)
        EXPECT_GE(walkTicks[i] - walkTicks[i - 1], IdleWaitMs);
    // Turning from one second on, a phase per step, never "not found" while detecting.
    const auto& shown = host.statusHistory[2];
    ASSERT_GE(shown.size(), 10u);
    for (const QString& glyph : shown) {
        ASSERT_EQ(glyph.size(), 1);
        EXPECT_TRUE(glyph[0] >= '0' && glyph[0] <= '7') << glyph.toStdString();
    }
    EXPECT_NE(shown[0], shown[1]);
}

TEST_F(ReceiveThreadTest, DetectionStopsOnReconnect)
{
    host.SetPortSettings({true, "ttyUSB1", {}});
    Line("ttyUSB1").FailOpen(1000000);
    thread.OnPass = [&] { thread.RequestReconnect(); };
    EXPECT_FALSE(thread.OpenPort());
    EXPECT_TRUE(host.statusHistory[2].empty());   // an interrupted detection shows nothing
}

struct EchoRule {
    const char* port;
    bool reconnects;
};

class NoEchoTest : public ::testing::TestWithParam<EchoRule>, public ReceiveWorld {};

TEST_P(NoEchoTest, MissingEchoBacksOffTheDeviceAndReconnectsUnlessBuiltInPort)
{
    TDeviceInfo& device = devices.AddDevice(RowLeveller44);
    ScriptedPort& line = Connect(QString::fromLatin1(GetParam().port));
    line.SetEcho(ScriptedPort::Echo::None);
    line.ClearCalls();
    const std::uint32_t before = clock.Now();
    EXPECT_FALSE(thread.PollStep());
    // Only the address byte went out.
    EXPECT_EQ(line.Trace(), "SetState(M) Purge Write(M:AC) Read(1:)");
    EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>{&device}));
    EXPECT_EQ(device.NextPollTick, before + 40 + SilentDeviceBackOffMs);
    EXPECT_EQ(thread.Reconnect.load(), GetParam().reconnects);
    EXPECT_EQ(host.statusTexts[1], GetParam().reconnects ? " Готов" : "");
}

INSTANTIATE_TEST_SUITE_P(Ports, NoEchoTest,
                         ::testing::Values(EchoRule{"COM1", false}, EchoRule{"com2", false}, EchoRule{"ttyS0", false},
                                           EchoRule{"TTYs1", false}, EchoRule{"COM3", true}, EchoRule{"ttyS2", true},
                                           EchoRule{"USB", true}, EchoRule{"pts/3", true}, EchoRule{"ttyUSB0", true}),
                         [](const auto& info) {
                             std::string name;
                             for (const char* p = info.param.port; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     name += *p;
                             return name;
                         });

TEST_F(ReceiveThreadTest, NoEchoOfAScanRowTouchesNoDevice)
{
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    thread.Engine.CurFrame = &DeviceCatalogue[21];   // another row at the device's address
    Connect("ttyS1");
    thread.NoEcho();
    EXPECT_TRUE(host.timerMessages.empty());
    EXPECT_EQ(device.NextPollTick, 0u);
}

TEST_F(ReceiveThreadTest, MasterSearchEndsThreeSecondsAfterTheConnection)
{
    LineMode = LineModeMaster;
    Connect();
    thread.StartSearch();
    int passes = 0;
    while (host.searchEndPosts == 0 && ++passes < 1000)
        thread.ReceivePass();
    const std::uint32_t elapsed = clock.Now() - thread.ConnectTick;
    EXPECT_GE(elapsed, MasterSearchMs);
    EXPECT_LT(elapsed, MasterSearchMs + 100);
    EXPECT_FALSE(thread.Searching);

    // Started later, it ends at the next pass; an ended search posts nothing more.
    thread.StartSearch();
    thread.ReceivePass();
    EXPECT_EQ(host.searchEndPosts, 2);
    thread.EndSearch();
    EXPECT_EQ(host.searchEndPosts, 2);
}

TEST_F(ReceiveThreadTest, PausedStepsAreSkippedOnTheMainThread)
{
    devices.AddDevice(RowPressure6);
    Connect();
    thread.Pause();
    EXPECT_FALSE(thread.PollStep());   // the choice is skipped: nothing is polled
    EXPECT_TRUE(host.timerMessages.empty());
    thread.Continue();
    EXPECT_TRUE(thread.PollStep());
}

} // namespace

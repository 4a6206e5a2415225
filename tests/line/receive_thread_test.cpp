// The receive thread's life on one thread: connection cycles, port detection with its glyph,
// a missing poll echo, the end of a device search, and a port that fails every call.
#include "LineFixture.h"

class ReceiveThreadTest : public ::testing::Test, public ReceiveWorld {};

// One run: a search, a reconnect, then the adapter vanishes and comes back after two failed
// opens. Each connection cycle ends with LineStopped; the search carries on into the next.
TEST_F(ReceiveThreadTest, ReconnectAndALostPortEndTheCycleWhichStartsAfresh)
{
    LineMode = LineModeMaster;
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    TDeviceInfo& disabled = devices.AddDevice(RowLeveller44, ModeDisabled);   // left as it is
    disabled.LastAnswerTick = 123;
    disabled.IntervalSum = 77;
    host.SetPortSettings({false, "ttyUSB0", {}});
    ScriptedPort& line = Line("ttyUSB0");
    std::uint32_t hangUpTick = 0, reopenTick = 0;
    int opensAfterHangUp = 0, pass = 0;
    auto bind = thread.BindPort;
    thread.BindPort = [&](TMVPort& port, const QString& name) {
        bind(port, name);
        if (hangUpTick != 0 && ++opensAfterHangUp == 3)
            line.Restore();   // the adapter is plugged in again
    };
    thread.OnPass = [&] {
        if (++pass == 1)
            thread.StartSearch();
        if (pass == 3)
            thread.RequestReconnect();
        if (pass == 5) {
            EXPECT_TRUE(thread.Searching) << "a reconnect does not drop the search";
            line.HangUp();
            hangUpTick = clock.Now();
        }
        if (opensAfterHangUp >= 3 && reopenTick == 0)
            reopenTick = clock.Now();
        if (pass == 9 || pass > 1000)
            thread.Terminate();
    };
    thread.Execute();
    EXPECT_EQ(pass, 9);
    // The first, the reconnect, two failures while gone, the reopen; the lost port is not spun on.
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Open).size(), 5u);
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Close).size(), 3u);
    EXPECT_GE(reopenTick - hangUpTick, 3 * IdleWaitMs);
    EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>(3, &device)));
    EXPECT_EQ(std::pair(disabled.LastAnswerTick, disabled.IntervalSum), std::pair(123u, 77));
    EXPECT_TRUE(thread.ResetStats);
    // The glyph starts from nothing in each cycle: each connection is shown, the gap as missing.
    EXPECT_EQ(host.statusHistory[2], (std::vector<QString>{"8ttyUSB0", "8ttyUSB0", "9ttyUSB0", "8ttyUSB0"}));
    EXPECT_EQ(host.searchEndPosts, 0);
}

TEST_F(ReceiveThreadTest, DetectionTriesTheConfiguredPortThenTheListSkippingItsDuplicate)
{
    // Without detection an absent port is shown missing once and its line never checked.
    host.SetPortSettings({false, "ttyUSB3", {"ttyUSB0"}});
    Line("ttyUSB3").FailOpen(1000);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(thread.OpenPort());
    EXPECT_EQ(host.statusHistory[2], (std::vector<QString>{"9ttyUSB3"}));
    EXPECT_TRUE(Line("ttyUSB3").CallsOf(ScriptedPort::Op::Read).empty());
    bindings.clear();
    host.statusHistory[2].clear();

    host.SetPortSettings({true, "ttyUSB1", {"ttyS0", "ttyUSB1", "ttyUSB2", "pts/7"}});
    for (const char* silent : {"ttyS0", "ttyUSB1", "ttyUSB4"})
        Line(silent).Echoes = false;   // opens, silent, no echo
    Line("ttyUSB2").FailOpen(1000);    // absent
    ASSERT_TRUE(thread.OpenPort());    // pts/7 echoes its probe byte
    EXPECT_EQ(bindings, (std::vector<QString>{"ttyUSB1", "ttyS0", "ttyUSB2", "pts/7"}));
    EXPECT_EQ(thread.Port.Name, "pts/7");
    EXPECT_EQ(Line("ttyS0").Trace(), "Open Read(1:) SetState(S) Purge Write(S:00) Read(1:) Close");
    EXPECT_EQ(Line("pts/7").Trace(), "Open Read(1:) SetState(S) Purge Write(S:00) Read(1:00)");
    EXPECT_TRUE(thread.Engine.LineEchoes);
    EXPECT_EQ(host.statusHistory[2], (std::vector<QString>{"8pts/7"}));

    // A line that talks by itself is taken without a probe.
    host.SetPortSettings({true, "ttyUSB4", {}});
    Line("ttyUSB4").PlayAfter(10, {0x46});
    ASSERT_TRUE(thread.OpenPort());
    EXPECT_EQ(Line("ttyUSB4").Trace(), "Open Read(1:46)");
}

TEST_F(ReceiveThreadTest, FruitlessDetectionWaitsBetweenWalksAndTurnsTheGlyph)
{
    host.SetPortSettings({true, "ttyUSB1", {"ttyUSB2"}});
    Line("ttyUSB1").FailOpen(1000000);
    Line("ttyUSB2").FailOpen(1000000);
    std::vector<std::uint32_t> walkTicks;
    thread.OnPass = [&] {
        walkTicks.push_back(clock.Now());
        if (walkTicks.size() == 40)
            thread.Terminate();
    };
    EXPECT_FALSE(thread.OpenPort());
    ASSERT_EQ(walkTicks.size(), 40u);
    for (std::size_t i = 1; i < walkTicks.size(); ++i)
        EXPECT_GE(walkTicks[i] - walkTicks[i - 1], IdleWaitMs);
    // The glyph turns, a phase per step, never "not found" while detecting.
    const auto& shown = host.statusHistory[2];
    ASSERT_GE(shown.size(), 10u);
    EXPECT_TRUE(shown[0] != shown[1] && shown.back().size() == 1 && shown.back()[0] <= '7');
}

TEST_F(ReceiveThreadTest, MissingEchoBacksOffTheDeviceAndReconnectsUnlessBuiltInPort)
{
    TDeviceInfo& device = devices.AddDevice(RowLeveller44);
    for (const auto& [port, reconnects] :
         {std::pair{"COM1", false}, {"com2", false}, {"TTYs1", false}, {"COM3", true}, {"ttyS2", true}}) {
        SCOPED_TRACE(port);
        ScriptedPort& line = Connect(QString::fromLatin1(port));
        line.Echoes = false;
        line.ClearCalls();
        host.timerMessages.clear();
        host.statusTexts[1].clear();
        thread.Reconnect = false;
        device.NextPollTick = 0;
        const std::uint32_t before = clock.Now();
        EXPECT_FALSE(thread.PollStep());
        EXPECT_EQ(line.Trace(), "SetState(M) Purge Write(M:AC) Read(1:)");   // only the address byte
        EXPECT_EQ(host.timerMessages, (std::vector<TDeviceInfo*>{&device}));
        EXPECT_EQ(device.NextPollTick, before + 40 + SilentDeviceBackOffMs);
        EXPECT_EQ(thread.Reconnect.load(), reconnects);
        EXPECT_EQ(host.statusTexts[1], reconnects ? " Готов" : "");
    }
}

// A missing echo reconnects in the middle of a search; the search carries on over the new
// connection, polls every catalogue row once and ends with its notice.
TEST_F(ReceiveThreadTest, SearchOutlivesTheReconnectOfAMissingEcho)
{
    host.SetPortSettings({false, "ttyUSB0", {}});
    ScriptedPort& line = Line("ttyUSB0");
    int pass = 0;
    thread.OnPass = [&] {
        if (++pass == 1)
            thread.StartSearch();
        line.Echoes = pass != 29;   // the 29th poll is not heard back
        if (host.searchEndPosts > 0 || pass > 1000)
            thread.Terminate();
    };
    thread.Execute();
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Open).size(), 2u);
    EXPECT_EQ(host.searchEndPosts, 1);
    int polls = 0;
    for (const auto& write : line.CallsOf(ScriptedPort::Op::Write))
        polls += write.Parity == ParityMark;
    EXPECT_EQ(polls, DeviceCatalogueCount);
}

TEST_F(ReceiveThreadTest, MasterSearchEndsThreeSecondsAfterTheConnection)
{
    LineMode = LineModeMaster;
    Connect();
    thread.StartSearch();
    for (int passes = 0; host.searchEndPosts == 0 && passes < 1000; ++passes)
        thread.ReceivePass();
    const std::uint32_t elapsed = clock.Now() - thread.ConnectTick;
    EXPECT_GE(elapsed, 3000u);
    EXPECT_LT(elapsed, 3100u);
    EXPECT_FALSE(thread.Searching);
    thread.EndSearch();   // an ended search posts nothing more
    EXPECT_EQ(host.searchEndPosts, 1);
}

// The glyph shows what happened even while a scheme opens (the pause), and a port that exists
// but refuses says why after its name, each time the reason changes.
TEST_F(ReceiveThreadTest, GlyphIsShownDuringAPauseWithTheReasonOfARefusal)
{
    host.SetPortSettings({false, "ttyUSB0", {}});
    const std::pair<TPortRefusal, const char*> cases[] = {
        {TPortRefusal::NoAccess, "9ttyUSB0 — нет доступа"},
        {TPortRefusal::Busy, "9ttyUSB0 — занят"},
        {TPortRefusal::None, "9ttyUSB0"},
    };
    thread.Pause();
    for (const auto& [why, text] : cases) {
        Line("ttyUSB0").FailOpen(1, why);
        EXPECT_FALSE(thread.OpenPort());
        EXPECT_EQ(host.statusTexts[2], QString::fromUtf8(text));
    }
    EXPECT_TRUE(thread.OpenPort());
    EXPECT_EQ(host.statusTexts[2], "8ttyUSB0");
}

// With detection on, a port that exists but refuses is named with its reason beside the
// turning glyph while the search goes on.
TEST_F(ReceiveThreadTest, DetectionNamesARefusingPortWhileTheGlyphTurns)
{
    host.SetPortSettings({true, "", {"ttyS0", "ttyUSB0"}});
    Line("ttyS0").Echoes = false;
    Line("ttyUSB0").FailOpen(1000, TPortRefusal::Busy);
    int walks = 0;
    thread.OnPass = [&] {
        if (++walks == 30)
            thread.RequestReconnect();
    };
    EXPECT_FALSE(thread.OpenPort());
    const std::vector<QString>& shown = host.statusHistory[2];
    ASSERT_FALSE(shown.empty());
    for (const QString& text : shown)
        EXPECT_EQ(text.mid(1), "ttyUSB0 — занят") << qPrintable(text);
    EXPECT_LT(shown.back().at(0), QLatin1Char('8'));
}

// The end of a connection ends its poll period: the status text reads " Готов" again.
TEST_F(ReceiveThreadTest, ConnectionEndResetsThePollPeriod)
{
    host.SetPortSettings({false, "ttyUSB0", {}});
    thread.CycleTimes.Put(reinterpret_cast<const std::uint8_t*>("\x41\0\0\0"), 4);
    thread.LastCycleTick = clock.Now();
    host.SetPanelText(1, PollPeriodText(65));
    thread.OnPass = [this] {
        Line("ttyUSB0").HangUp();
        thread.Terminate();
    };
    thread.Execute();
    EXPECT_EQ(host.statusTexts[1], " Готов");
    EXPECT_EQ(thread.CycleTimes.Count, 0);
    EXPECT_EQ(thread.LastCycleTick, 0u);
}

// A port whose every read and write fails at once is called no more often than its time-outs
// allow, in both line modes.
TEST_F(ReceiveThreadTest, PortFailingAtOnceIsNotSpunOn)
{
    for (int mode : {LineModeMaster, LineModeSensors}) {
        LineMode = mode;
        devices.AddDevice(RowPressure6 + (mode == LineModeSensors ? 14 : 0));
        Connect();
        int calls = 0;
        auto fail = [&calls](std::uint32_t* done) {
            *done = 0;
            return ++calls, false;
        };
        thread.Port.Read = [fail](std::uint8_t*, std::uint8_t*, std::uint32_t, std::uint32_t* read) { return fail(read); };
        thread.Port.Write = [fail](const std::uint8_t*, std::uint32_t, std::uint32_t* written) { return fail(written); };
        const std::uint32_t start = clock.Now();
        for (int pass = 0; pass < 200; ++pass)
            thread.ReceivePass();
        const std::uint32_t perSecond = static_cast<std::uint32_t>(calls) * 1000 / TicksElapsed(start, clock.Now());
        EXPECT_LE(perSecond, 2 * 1000 / ComTimeouts.ReadTotalTimeoutConstant) << "mode " << mode;
    }
}

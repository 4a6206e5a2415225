// The poll scheduler: which device is polled next, the search scan, the request on the wire and
// the poll-cycle statistics.
#include "LineFixture.h"

class PollTest : public ::testing::Test, public ReceiveWorld {
protected:
    // Ends `count` poll cycles `ms` apart.
    void Cycles(int count, std::uint32_t ms)
    {
        for (int i = 0; i < count; ++i) {
            clock.Advance(ms);
            thread.CycleStatistics();
        }
    }
};

TEST_F(PollTest, DueDevicesInListOrderThenBackedOffOnesWhenNoneIsDue)
{
    TDeviceInfo& silent = devices.AddDevice(RowPressure6);
    TDeviceInfo& due = devices.AddDevice(RowLeveller44);
    devices.AddDevice(RowTerminal62);
    EXPECT_EQ(Choices(4), (std::vector<int>{RowPressure6, RowLeveller44, RowTerminal62, RowPressure6}));

    devices.objects[2]->Mode = ModeDisabled;
    silent.NextPollTick = clock.Now() + SilentDeviceBackOffMs;
    EXPECT_EQ(Choices(2), (std::vector<int>{RowLeveller44, RowLeveller44}));
    EXPECT_EQ(CountActiveDevices(host.Devices()), 2);
    // Nobody due: the line is not left idle, the backed-off devices take turns.
    due.NextPollTick = clock.Now() + SilentDeviceBackOffMs;
    EXPECT_EQ(Choices(3), (std::vector<int>{RowPressure6, RowLeveller44, RowPressure6}));
    clock.Advance(SilentDeviceBackOffMs);
    EXPECT_EQ(Choices(2), (std::vector<int>{RowLeveller44, RowPressure6}));
}

// Due ticks wrap with the tick count; 0 is due at once in either half of it. The poll's choice
// and the line monitor's count of due devices read them alike.
TEST(PollDueTicks, ZeroIsDueAtOnceAndDueTicksCountAcrossTheWrap)
{
    // clang-format off
    const struct { std::uint32_t now, next; bool due; } cases[] = {
        {0x00001000, 0, true}, {0x80001000, 0, true}, {0xFFFFFFF0, 0, true},
        {0xFFFFFFF0, 0x00000010, false},   // 32 ms on, past the wrap
        {0x00000010, 0x00000010, true}, {0x00000010, 0xFFFFFFF0, true}, {0xFFFFFFF0, 0xFFFFFFF1, false},
        {0x7FFFFFF0, 0x80000010, false}, {0x80000010, 0x7FFFFFF0, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "now " << c.now << ", due at " << c.next);
        ReceiveWorld w;
        w.clock.Set(c.now);
        TDeviceInfo& device = w.devices.AddDevice(RowLeveller44);
        TDeviceInfo& other = w.devices.AddDevice(RowPressure6);
        device.NextPollTick = c.next;
        other.NextPollTick = c.now + 1000;   // not due: alone it would count the enabled devices
        EXPECT_EQ(LineLogActiveCount(w.host, c.now), c.due ? 1 : 2);
        other.NextPollTick = 0;
        EXPECT_EQ(w.Choices(1), std::vector<int>{c.due ? RowLeveller44 : RowPressure6});
    }
}

TEST_F(PollTest, DisabledDevicesOrAnOpeningSchemeMeanNoPollAndAnIdleWait)
{
    devices.AddDevice(RowPressure6);
    host.opening = true;
    EXPECT_EQ(Choices(1), (std::vector<int>{-1}));
    host.opening = false;
    devices.objects[0]->Mode = ModeDisabled;
    EXPECT_EQ(CountActiveDevices(host.Devices()), 0);
    EXPECT_EQ(Choices(2), (std::vector<int>{-1, -1}));

    ScriptedPort& line = Connect();
    line.ClearCalls();
    const std::uint32_t before = clock.Now();
    EXPECT_FALSE(thread.PollStep());
    EXPECT_EQ(clock.Now() - before, IdleWaitMs);
    EXPECT_TRUE(line.Trace().empty());
}

TEST_F(PollTest, SearchScanPollsEveryFreeRowOnceWithZeroBodiesThenResumesAndEndsAtOnceWhenNoneIsFree)
{
    TDeviceInfo& at3 = devices.AddDevice(RowAt3);
    devices.AddDevice(RowAt45).SchemeObject->Request.fill(0x55);   // must not leak into the scan
    ScriptedPort& line = Connect();
    thread.StartSearch();
    std::vector<int> expected, polled;
    for (int row = 0; row < DeviceCatalogueCount; ++row)
        if (DeviceCatalogue[row].Address != 3 && DeviceCatalogue[row].Address != 45)
            expected.push_back(row);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        thread.SelectPollTarget();
        ASSERT_NE(thread.Engine.CurFrame, nullptr);
        polled.push_back(static_cast<int>(thread.Engine.CurFrame - DeviceCatalogue));
        line.ClearCalls();
        thread.SendPollRequest();
        thread.Engine.RxBytes.Clear();
        thread.Engine.RxFlags.Clear();
        const auto writes = line.CallsOf(ScriptedPort::Op::Write);
        if (writes.size() == 2) {
            EXPECT_EQ(Bytes(writes[1].Bytes.begin(), writes[1].Bytes.end() - 1),
                      Bytes(static_cast<std::size_t>(thread.Engine.CurFrame->RequestLength - 2), 0));
        }
    }
    EXPECT_EQ(polled, expected);
    // The call after the last free row ends the search and polls the scheme in the same call.
    thread.SelectPollTarget();
    EXPECT_EQ(host.searchEndPosts, 1);
    EXPECT_FALSE(thread.Searching);
    EXPECT_EQ(thread.Engine.CurFrame, at3.FrameInfo);
    EXPECT_EQ(Choices(1), (std::vector<int>{RowAt45}));

    // Over a full scheme the scan finds nothing and never reads past the catalogue's end.
    ReceiveWorld full;
    for (int address = 0; address < LineAddressCount; ++address)
        if (!FrameInfoVectors[address].empty())
            full.devices.AddDevice(static_cast<int>(FrameInfoVectors[address].front() - DeviceCatalogue));
    full.thread.StartSearch();
    full.thread.SelectPollTarget();
    EXPECT_EQ(full.host.searchEndPosts, 1);
    EXPECT_EQ(full.thread.Engine.CurFrame, full.host.devices.front()->FrameInfo);
}

// The address byte goes out alone with MARK parity, the body and check byte with SPACE parity;
// a one-byte request leaves the port in MARK parity, and the framing pass restores listening.
TEST_F(PollTest, RequestGoesOutAddressMarkThenBodySpace)
{
    // clang-format off
    const struct { int row; Bytes body; const char* trace; } cases[] = {
        {RowPressure6, {}, "SetState(M) Purge Write(M:46) Read(1:46) SetState(S) Read(4:06 01 02 05)"},
        {RowLeveller44, {0x12},
         "SetState(M) Purge Write(M:AC) Read(1:AC) SetState(S) Purge Write(S:12 BE) Read(2:12 BE) "
         "Read(4:2C 01 02 2F)"},
    };
    // clang-format on
    for (const auto& c : cases) {
        ReceiveWorld w;
        TDeviceInfo& device = w.devices.AddDevice(c.row);
        std::copy(c.body.begin(), c.body.end(), device.SchemeObject->Request.begin() + 1);
        device.FrameToRequest = nullptr;   // the image is what goes out
        ScriptedPort& line = w.Connect();
        w.host.lineLogOn = true;
        line.OnWrite = [&](const ScriptedPort::Call& write) {   // the device answers the whole request
            if (write.Parity == (c.body.empty() ? ParityMark : ParitySpace))
                line.PlayAfter(10, Answer(c.row, {0x01, 0x02}));
        };
        line.ClearCalls();
        ASSERT_TRUE(w.thread.PollStep());
        w.thread.Engine.FramingPass();
        EXPECT_EQ(line.Trace(), c.trace);
        ASSERT_EQ(LineLogCount, 1);
        EXPECT_EQ(LineLogRecord(0).Result, ResultOk);
    }
}

// Between an answer and the next request the receive thread waits for the main thread once: the
// hand-off's step also chooses the next device and fills its request, in the same turn as ever.
TEST_F(PollTest, OneMainThreadStepBetweenAnAnswerAndTheNextRequest)
{
    struct : ISynchronizer {
        int steps = 0;
        void Synchronize(const std::function<void()>& step) override { ++steps, step(); }
    } counting;
    TReceiveThread counted(host, clock, counting);
    host.lineLogOn = true;
    devices.AddDevice(RowPressure6);
    devices.AddDevice(RowLeveller44);
    ScriptedPort& line = Line(QStringLiteral("ttyUSB0"));
    line.Bind(counted.Port);
    counted.Port.Open();
    counted.Engine.PortOpened();
    line.OnWrite = [&line](const ScriptedPort::Call& write) {   // each device answers its whole request
        if (write.Parity == ParitySpace || write.Bytes.front() == DeviceCatalogue[RowPressure6].WireAddress)
            line.PlayAfter(10, write.Parity == ParitySpace ? Answer(RowLeveller44, {1, 2}) : Answer(RowPressure6, {1, 2}));
    };
    std::vector<int> polled, steps;
    for (int poll = 0; poll < 4; ++poll) {
        counting.steps = 0;
        ASSERT_TRUE(counted.PollStep());
        polled.push_back(static_cast<int>(counted.Engine.CurFrame - DeviceCatalogue));
        counted.Engine.FramingPass();
        steps.push_back(counting.steps);
    }
    EXPECT_EQ(polled, (std::vector<int>{RowPressure6, RowLeveller44, RowPressure6, RowLeveller44}));
    EXPECT_EQ(steps, (std::vector<int>{2, 1, 1, 1}));   // the first poll is chosen in a step of its own
    EXPECT_EQ(LineLogCount, 4);
}

TEST_F(PollTest, CyclePeriodAppearsAtTheTwentiethStoredTimeRoundedAndResetStatsStartsItOver)
{
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    thread.CycleStatistics();   // the first cycle end only marks the time
    for (int i = 0; i < CycleTimesShown; ++i) {
        EXPECT_TRUE(host.statusHistory[1].empty()) << "after " << i << " times";
        Cycles(1, i % 2 ? 124 : 123);   // mean 123.5
    }
    EXPECT_EQ(host.statusTexts[1], " Период опроса: 124 мс");
    Cycles(100, 1000);
    Cycles(99, 10);   // the mean covers the last hundred: (1000 + 99 x 10) / 100
    EXPECT_EQ(host.statusTexts[1], " Период опроса: 20 мс");
    Cycles(1, 10);
    EXPECT_EQ(host.statusTexts[1], " Период опроса: 10 мс");

    device.LastAnswerTick = clock.Now();
    device.IntervalSum = 77;
    const std::size_t shown = host.statusHistory[1].size();
    thread.RequestResetStats();
    Cycles(1, 80);
    EXPECT_FALSE(thread.ResetStats);
    EXPECT_EQ(thread.CycleTimes.Count, 0);
    EXPECT_EQ(device.LastAnswerTick + device.IntervalSum, 0u);
    Cycles(CycleTimesShown, 80);   // the old text stays until twenty new times are stored
    EXPECT_EQ(host.statusHistory[1].size(), shown + 1);
    EXPECT_EQ(host.statusTexts[1], " Период опроса: 80 мс");
}

// The poll scheduler: which device is polled next, the search scan, the request on the wire and
// the poll-cycle statistics.
#include "line/ReceiveFixture.h"

namespace {

class PollTest : public ::testing::Test, public ReceiveWorld {};

TEST_F(PollTest, DueDevicesArePolledInListOrderAndWrapAround)
{
    devices.AddDevice(RowPressure6);
    devices.AddDevice(RowLeveller44);
    devices.AddDevice(RowTerminal62);
    EXPECT_EQ(Choices(7), (std::vector<int>{RowPressure6, RowLeveller44, RowTerminal62, RowPressure6, RowLeveller44,
                                             RowTerminal62, RowPressure6}));
}

TEST_F(PollTest, BackedOffDeviceIsPolledOnlyWhenNoneIsDue)
{
    TDeviceInfo& silent = devices.AddDevice(RowPressure6);
    TDeviceInfo& due = devices.AddDevice(RowLeveller44);
    silent.NextPollTick = clock.Now() + SilentDeviceBackOffMs;
    EXPECT_EQ(Choices(3), (std::vector<int>{RowLeveller44, RowLeveller44, RowLeveller44}));

    // Nobody due: the line is not left idle, the backed-off devices take turns.
    due.NextPollTick = clock.Now() + SilentDeviceBackOffMs;
    EXPECT_EQ(Choices(4), (std::vector<int>{RowPressure6, RowLeveller44, RowPressure6, RowLeveller44}));

    // Its back-off over, the device is due again like the others.
    clock.Advance(SilentDeviceBackOffMs);
    EXPECT_EQ(Choices(2), (std::vector<int>{RowPressure6, RowLeveller44}));
}

TEST_F(PollTest, DisabledDevicesAreNeitherPolledNorCounted)
{
    devices.AddDevice(RowPressure6, ModeDisabled);
    devices.AddDevice(RowLeveller44);
    devices.AddDevice(RowTerminal62, ModeDisabled);
    EXPECT_EQ(host.CountActiveDevices(), 1);
    EXPECT_EQ(Choices(3), (std::vector<int>{RowLeveller44, RowLeveller44, RowLeveller44}));

    devices.objects[1]->Mode = ModeDisabled;
    thread.LastCycleTick = 0;
    EXPECT_EQ(Choices(2), (std::vector<int>{-1, -1}));
    // No enabled device: no cycle is measured.
    EXPECT_EQ(thread.LastCycleTick, 0u);
}

TEST_F(PollTest, NothingIsPolledWhileASchemeIsOpened)
{
    devices.AddDevice(RowPressure6);
    host.opening = true;
    EXPECT_EQ(Choices(2), (std::vector<int>{-1, -1}));
    host.opening = false;
    EXPECT_EQ(Choices(1), (std::vector<int>{RowPressure6}));
}

TEST_F(PollTest, SearchScanPollsEveryFreeRowOnceWithZeroBodiesThenResumes)
{
    TDeviceInfo& at3 = devices.AddDevice(RowAt3);
    TDeviceInfo& at45 = devices.AddDevice(RowAt45);
    at45.SchemeObject->Request.fill(0x55);   // a scheme device's body must not leak into the scan
    ScriptedPort& line = Connect();
    thread.StartSearch();

    std::vector<int> expected;
    for (int row = 0; row < DeviceCatalogueCount; ++row)
        if (DeviceCatalogue[row].Address != 3 && DeviceCatalogue[row].Address != 45)
            expected.push_back(row);
    std::vector<int> polled;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        thread.SelectPollTarget();
        ASSERT_NE(thread.Engine.CurFrame, nullptr);
        polled.push_back(static_cast<int>(thread.Engine.CurFrame - DeviceCatalogue));
        line.ClearCalls();
        thread.SendPollRequest();
        thread.Engine.RxBytes.Clear();
        thread.Engine.RxFlags.Clear();
        const int rq = thread.Engine.CurFrame->RequestLength;
        if (rq > 1) {
            const auto writes = line.CallsOf(ScriptedPort::Op::Write);
            ASSERT_EQ(writes.size(), 2u);
            std::vector<std::uint8_t> body(writes[1].Bytes.begin(), writes[1].Bytes.end() - 1);
            EXPECT_EQ(body, std::vector<std::uint8_t>(static_cast<std::size_t>(rq - 2), 0)) << "row " << polled.back();
        }
    }
    EXPECT_EQ(polled, expected);
    EXPECT_EQ(host.searchEndPosts, 0);

    // The call after the last free row ends the search and polls the scheme in the same call.
    thread.SelectPollTarget();
    EXPECT_EQ(host.searchEndPosts, 1);
    EXPECT_FALSE(thread.Searching);
    EXPECT_EQ(thread.ScanIndex, 0);
    EXPECT_EQ(thread.Engine.CurFrame, at3.FrameInfo);
    EXPECT_EQ(Choices(1), (std::vector<int>{RowAt45}));
    EXPECT_EQ(host.searchEndPosts, 1);
}

TEST_F(PollTest, SearchOverAFullSchemeEndsAtOnce)
{
    // Every address that has rows is taken: the scan finds nothing and never reads past the end.
    for (int address = 0; address < LineAddressCount; ++address)
        if (!FrameInfoVectors[address].empty())
            devices.AddDevice(static_cast<int>(FrameInfoVectors[address].front() - DeviceCatalogue));
    thread.StartSearch();
    thread.SelectPollTarget();
    EXPECT_EQ(host.searchEndPosts, 1);
    EXPECT_EQ(thread.Engine.CurFrame, host.devices.front()->FrameInfo);
}

struct WireCase {
    const char* name;
    int row;
    std::vector<std::uint8_t> body;   // the device's request body
    const char* trace;
};

class PollWireTest : public ::testing::TestWithParam<WireCase>, public ReceiveWorld {};

TEST_P(PollWireTest, RequestGoesOutAddressMarkThenBodySpace)
{
    const WireCase& c = GetParam();
    TDeviceInfo& device = devices.AddDevice(c.row);
    std::copy(c.body.begin(), c.body.end(), device.SchemeObject->Request.begin() + 1);
    device.FrameToRequest = nullptr;   // the image is what goes out
    ScriptedPort& line = Connect();
    line.ClearCalls();
    thread.SelectPollTarget();
    EXPECT_TRUE(thread.SendPollRequest());
    EXPECT_EQ(line.Trace(), c.trace);
    const int rq = DeviceCatalogue[c.row].RequestLength;
    ASSERT_EQ(thread.Engine.RxBytes.Count, rq);
    EXPECT_EQ(thread.Engine.RxFlags.At(0), FlagPollEcho);
    for (int i = 1; i < rq; ++i)
        EXPECT_EQ(thread.Engine.RxFlags.At(i), 0);
    // A one-byte request leaves the port in MARK parity: the framing pass restores listening.
    EXPECT_EQ(thread.Engine.RestoreListenState, rq == 1);
    EXPECT_TRUE(thread.Engine.LineEchoes);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, PollWireTest,
    ::testing::Values(WireCase{"OneByte", RowPressure6, {}, "SetState(M) Purge Write(M:46) Read(1:46)"},
                      WireCase{"WithBody", RowLeveller44, {0x12},
                               "SetState(M) Purge Write(M:AC) Read(1:AC) SetState(S) Purge Write(S:12 BE) Read(2:12 BE)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PollTest, FramingPassRestoresListeningBeforeTheAnswerOfAOneByteRequest)
{
    devices.AddDevice(RowPressure6);
    ScriptedPort& line = Connect();
    host.lineLogOn = true;
    line.OnWrite = [&](const ScriptedPort::Call& w) {
        if (w.Parity == ParityMark)
            line.PlayAfter(3, {0x06, 0x01, 0x02, 0x06 ^ 0x01 ^ 0x02});
    };
    line.ClearCalls();
    ASSERT_TRUE(thread.PollStep());
    thread.Engine.FramingPass();
    EXPECT_EQ(line.Trace(), "SetState(M) Purge Write(M:46) Read(1:46) SetState(S) Read(4:06 01 02 05)");
    ASSERT_EQ(LineLogCount, 1);
    EXPECT_EQ(LineLogRecord(0).Result, ResultOk);
    EXPECT_EQ(LineLogRecord(0).RequestText, "'46");
}

TEST_F(PollTest, CyclePeriodAppearsAtTheTwentiethStoredTimeRounded)
{
    devices.AddDevice(RowPressure6);
    thread.CycleStatistics();   // the first cycle end only marks the time
    for (int i = 0; i < CycleTimesShown; ++i) {
        EXPECT_TRUE(host.statusHistory[1].empty()) << "after " << i << " times";
        clock.Advance(i % 2 ? 124 : 123);   // mean 123.5
        thread.CycleStatistics();
    }
    ASSERT_EQ(host.statusHistory[1].size(), 1u);
    EXPECT_EQ(host.statusTexts[1], " Период опроса: 124 мс");
    EXPECT_EQ(thread.CycleTimeSum, 2470);
}

TEST_F(PollTest, CycleMeanCoversTheLastHundredTimes)
{
    devices.AddDevice(RowPressure6);
    thread.CycleStatistics();
    for (int i = 0; i < 100; ++i) {
        clock.Advance(1000);
        thread.CycleStatistics();
    }
    for (int i = 0; i < 100; ++i) {
        clock.Advance(10);
        thread.CycleStatistics();
    }
    EXPECT_EQ(thread.CycleTimes.Count, CycleTimesSize);
    EXPECT_EQ(thread.CycleTimeSum, 1000);
    EXPECT_EQ(host.statusTexts[1], " Период опроса: 10 мс");
}

TEST_F(PollTest, ResetStatsStartsTheStatisticsOver)
{
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    thread.CycleStatistics();
    for (int i = 0; i < CycleTimesShown; ++i) {
        clock.Advance(50);
        thread.CycleStatistics();
    }
    ASSERT_EQ(host.statusTexts[1], " Период опроса: 50 мс");
    device.LastAnswerTick = clock.Now();
    device.IntervalSum = 77;
    const std::uint32_t interval = 77;
    device.AnswerIntervals->Put(reinterpret_cast<const std::uint8_t*>(&interval), 4);

    thread.RequestResetStats();
    clock.Advance(80);
    thread.CycleStatistics();
    EXPECT_FALSE(thread.ResetStats);
    EXPECT_EQ(thread.CycleTimes.Count, 0);
    EXPECT_EQ(device.LastAnswerTick, 0u);
    EXPECT_EQ(device.IntervalSum, 0);
    EXPECT_EQ(device.AnswerIntervals->Count, 0);

    // The old text stays until twenty new times are stored.
    const std::size_t shown = host.statusHistory[1].size();
    for (int i = 0; i < CycleTimesShown - 1; ++i) {
        clock.Advance(80);
        thread.CycleStatistics();
    }
    EXPECT_EQ(host.statusHistory[1].size(), shown);
    clock.Advance(80);
    thread.CycleStatistics();
    EXPECT_EQ(host.statusTexts[1], " Период опроса: 80 мс");
}

TEST_F(PollTest, NoEnabledDeviceMeansAnIdleWaitPerCall)
{
    devices.AddDevice(RowPressure6, ModeDisabled);
    ScriptedPort& line = Connect();
    line.ClearCalls();
    const std::uint32_t before = clock.Now();
    EXPECT_FALSE(thread.PollStep());
    EXPECT_EQ(clock.Now() - before, IdleWaitMs);
    EXPECT_TRUE(line.Calls().empty());
}

} // namespace

// The receive thread end to end: a real thread on a pty whose other end plays the shared line
// with simulated devices or a simulated master. Time bounds catch hangs, not speed.
#include <algorithm>

#include "LineFixture.h"
#include "support/LineSimulator.h"
#include "support/RunEvents.h"

constexpr int StopBound = 2000;   // ms: termination, whatever the thread was doing

int Records(int row, int code)
{
    int n = 0;
    for (int i = 0; i < LineLogCount; ++i)
        n += LineLogRecord(i).FrameInfo == &DeviceCatalogue[row] && LineLogRecord(i).Result == code;
    return n;
}

class ReceiveEndToEnd : public ::testing::Test {
protected:
    ReceiveEndToEnd() { host.lineLogOn = true; }
    ~ReceiveEndToEnd() override
    {
        if (thread && ended == 0)
            Stop();
    }
    void Start(int mode, const TPortSettings& settings)
    {
        ASSERT_TRUE(line.Ok());
        LineMode = mode;
        host.SetPortSettings(settings);
        ended = 0;
        thread = new TReceiveThread(host);   // deletes itself once ended
        thread->SetOnTerminate([this] { ++ended; });
        thread->Resume();
    }
    void StartOn(int mode) { Start(mode, {false, line.PortName(), {}}); }
    void Stop()
    {
        thread->Terminate();
        EXPECT_TRUE(RunEventsUntil([&] { return ended > 0; }, StopBound)) << "the thread did not end";
        RunEventsFor(50);   // the thread deletes itself after the handler
        EXPECT_EQ(ended, 1);
    }
    bool Shown(char glyph, const LineSimulator& port)
    {
        return RunEventsUntil([&] { return host.statusTexts[2] == glyph + port.PortName(); });
    }

    LineGlobals globals{LineModeMaster};
    FakeHost host;
    DevicePlacer devices{host};
    LineSimulator line;
    TReceiveThread* thread = nullptr;
    int ended = 0;
};

TEST_F(ReceiveEndToEnd, MasterDiagnosticsAnswersForAnEmulatedDevice)
{
    TDeviceInfo& device = devices.AddDevice(RowLeveller44, ModeEmulate);
    device.FrameToAnswer = nullptr;   // the image is the answer
    device.SchemeObject->Answer[1] = 0x5A, device.SchemeObject->Answer[2] = 0x6B;
    const Bytes answer = Answer(RowLeveller44, {0x5A, 0x6B});
    StartOn(LineModeMaster);
    ASSERT_TRUE(Shown('8', line));
    thread->SetPriority(9);   // the scale ends at 6, time-critical
    EXPECT_EQ(thread->priority(), QThread::TimeCriticalPriority);
    for (std::size_t i = 1; i <= 3; ++i) {
        line.Play(Request(RowLeveller44, {0x07}));
        ASSERT_TRUE(RunEventsUntil([&] { return line.Heard().size() >= answer.size() * i; }));
        RunEventsFor(100);   // the master waits before its next request
    }
    EXPECT_EQ(line.Heard(), Join(Join(answer, answer), answer));
    EXPECT_TRUE(RunEventsUntil([&] { return Records(RowLeveller44, 0) == 3; }));
    EXPECT_EQ(device.SchemeObject->Request[1], 0x07);   // the master's request, as heard
}

struct FaultCase {
    BusFault fault;
    int code;
};
class SensorDiagnostics : public ReceiveEndToEnd, public ::testing::WithParamInterface<FaultCase> {};

// Two devices polled in turn; the second answers with a fault (or none): its record carries
// the fault's code while the first is served and its answers reach the image.
TEST_P(SensorDiagnostics, AnswersReachTheDevicesAndFaultsAreLoggedWithTheirCode)
{
    const int code = GetParam().code;
    line.SetDevices({{RowPressure6, {0x11, 0x22}}, {RowLeveller44, {0x33, 0x44}, GetParam().fault}});
    TDeviceInfo& pressure = devices.AddDevice(RowPressure6);
    TDeviceInfo& second = devices.AddDevice(RowLeveller44);
    StartOn(LineModeSensors);
    // A failing device is polled again only after its back-off, and a fast line soon pushes its
    // record out of the log: look while it is fresh.
    ASSERT_TRUE(RunEventsUntil([&] { return Records(RowLeveller44, code) >= 1; }));
    ASSERT_TRUE(RunEventsUntil([&] { return Records(RowPressure6, 0) >= 3; }));
    EXPECT_EQ(pressure.SchemeObject->Answer[2], 0x22);
    EXPECT_TRUE(pressure.RequestText.startsWith("'46"));
    EXPECT_EQ(second.GridCell(9), ResultText(code == 0 ? 7 : code));
    EXPECT_TRUE(code == 0 || Records(RowLeveller44, 0) == 0);
    EXPECT_TRUE(RunEventsUntil([&] { return host.statusTexts[1].startsWith(" Период опроса: "); }));
}

INSTANTIATE_TEST_SUITE_P(Faults, SensorDiagnostics,
                         ::testing::Values(FaultCase{BusFault::None, ResultOk},
                                           FaultCase{BusFault::BadCheck, ResultAnswerCheck},
                                           FaultCase{BusFault::Cut, ResultShortAnswer},
                                           FaultCase{BusFault::Silent, ResultNoAnswer}));

TEST_F(ReceiveEndToEnd, MissingOrLateEchoBacksOffAndReconnects)
{
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    for (auto echo : {LineSimulator::Echo::Dropped, LineSimulator::Echo::Delayed}) {
        line.SetEcho(echo, 150);
        host.timerMessages.clear();
        host.statusHistory[2].clear();
        StartOn(LineModeSensors);
        // Each missing echo reconnects (a pty is no built-in port): the connection is shown again.
        const auto& shown = host.statusHistory[2];
        ASSERT_TRUE(RunEventsUntil([&] { return std::count(shown.begin(), shown.end(), "8" + line.PortName()) >= 3; }));
        EXPECT_EQ(host.timerMessages.front(), &device);
        EXPECT_EQ(host.statusTexts[1], " Готов");
        EXPECT_EQ(Records(RowPressure6, 0), 0);
        Stop();
    }
}

// A port that hangs up is missed; the adapter comes back under a new name, which the user picks.
// Paused, the thread polls nothing; it continues, and ends while paused.
TEST_F(ReceiveEndToEnd, HangUpIsSurvivedANewPortTakenOnAndPauseHonoured)
{
    line.SetDevices({{RowPressure6, {0x11, 0x22}}});
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    StartOn(LineModeSensors);
    ASSERT_TRUE(RunEventsUntil([&] { return Records(RowPressure6, 0) >= 2; }));
    line.HangUp();
    ASSERT_TRUE(Shown('9', line));
    EXPECT_EQ(host.timerMessages.front(), &device);
    LineSimulator secondLine;
    secondLine.SetDevices({{RowPressure6, {0x55, 0x66}}});
    host.SetPortSettings({false, secondLine.PortName(), {}});
    thread->RequestReconnect();
    ASSERT_TRUE(Shown('8', secondLine));
    ASSERT_TRUE(RunEventsUntil([&] { return device.SchemeObject->Answer[1] == 0x55 && secondLine.Requests >= 2; }));

    thread->Pause();
    RunEventsFor(200);   // what was under way settles
    const long requests = secondLine.Requests;
    RunEventsFor(300);
    EXPECT_EQ(secondLine.Requests, requests);
    thread->Continue();
    EXPECT_TRUE(RunEventsUntil([&] { return secondLine.Requests >= requests + 3; }));
    thread->Pause();
    Stop();
}

// The system's clock, but an idle wait that ends only when its flags say so: a flag set without
// waking the thread leaves it idling for good.
class UntimedIdleTicks final : public ITickSource {
public:
    std::uint32_t Now() const override { return SystemTicks().Now(); }
    void Sleep(std::uint32_t ms) override { SystemTicks().Sleep(ms); }
    void WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, std::uint32_t,
                 const std::function<bool()>& done) override
    {
        ++Idles;
        wake.wait(lock, done);
    }
    std::atomic<int> Idles = 0;
};

// With nothing to poll the thread idles until a reconnect or a termination wakes it.
TEST_F(ReceiveEndToEnd, ReconnectAndTerminationWakeAnIdleThread)
{
    static UntimedIdleTicks ticks;   // the thread may outlive a failed assertion here
    ScopedTicks scoped{ticks};
    ticks.Idles = 0;
    StartOn(LineModeSensors);
    ASSERT_TRUE(RunEventsUntil([&] { return ticks.Idles > 0; }));
    thread->RequestReconnect();
    const auto& shown = host.statusHistory[2];
    EXPECT_TRUE(RunEventsUntil([&] { return std::count(shown.begin(), shown.end(), "8" + line.PortName()) == 2; }));
    ASSERT_TRUE(RunEventsUntil([&] { return ticks.Idles > 1; }));
    Stop();
}

// A thread still detecting (nothing echoes) ends on termination too, never shown as found.
TEST_F(ReceiveEndToEnd, DetectingThreadEndsOnTermination)
{
    LineSimulator silentLine;
    silentLine.SetEcho(LineSimulator::Echo::Dropped);
    Start(LineModeMaster, {true, silentLine.PortName(), {"ttyMissing9"}});
    ASSERT_TRUE(RunEventsUntil([&] { return silentLine.Heard().size() >= 3; }));   // three walks probed it
    Stop();
    EXPECT_TRUE(host.statusHistory[2].empty() || host.statusTexts[2].size() == 1) << "never shown as found";
}

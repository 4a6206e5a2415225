// The receive thread end to end: a real thread on a pty whose other end plays the shared line
// with simulated devices or a simulated master; synchronized steps run on this (main) thread's
// event loop. Time bounds are generous: they catch hangs, not speed.
#include <algorithm>

#include "DeviceBus.h"
#include "LineFixture.h"
#include "support/PtyPair.h"
#include "support/RunEvents.h"

constexpr int Bound = 10000;      // ms: something that should happen at once has surely happened
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
        ASSERT_TRUE(pty.Ok());
        LineMode = mode;
        host.SetPortSettings(settings);
        thread = new TReceiveThread(host);
        thread->SetOnTerminate([this] { ++ended; });
        thread->SetPriority(2);
        thread->Resume();
    }
    void StartOn(int mode) { Start(mode, {false, pty.PortName(), {}}); }

    // Asks the thread to end; its termination handler must run within the bound.
    void Stop()
    {
        thread->Terminate();
        EXPECT_TRUE(RunEventsUntil([&] { return ended > 0; }, StopBound)) << "the thread did not end";
        RunEventsFor(50);   // the thread deletes itself after the handler
        EXPECT_EQ(ended, 1);
    }
    static bool Until(const std::function<bool()>& done) { return RunEventsUntil(done, Bound); }
    // The simulator's own wait would block the event loop that the thread's steps need.
    static bool HeardAtLeast(const LineSimulator& sim, std::size_t n)
    {
        return Until([&] { return sim.Heard().size() >= n; });
    }
    bool Shown(char glyph, const PtyPair& port)
    {
        return Until([&] { return host.statusTexts[2] == glyph + port.PortName(); });
    }

    LineGlobals globals{LineModeMaster};
    FakeHost host;
    DevicePlacer devices{host};
    PtyPair pty;
    LineSimulator line{pty};
    TReceiveThread* thread = nullptr;   // deletes itself once ended
    int ended = 0;
};

TEST_F(ReceiveEndToEnd, MasterDiagnosticsAnswersForAnEmulatedDevice)
{
    TDeviceInfo& device = devices.AddDevice(RowLeveller44, ModeEmulate);
    device.FrameToAnswer = nullptr;   // the image is the answer
    device.SchemeObject->Answer[1] = 0x5A;
    device.SchemeObject->Answer[2] = 0x6B;
    const Bytes answer = Answer(RowLeveller44, {0x5A, 0x6B});
    StartOn(LineModeMaster);
    ASSERT_TRUE(Shown('8', pty));
    for (std::size_t i = 1; i <= 3; ++i) {
        line.Play(Request(RowLeveller44, {0x07}));
        ASSERT_TRUE(HeardAtLeast(line, answer.size() * i));
        RunEventsFor(100);   // the master waits before its next request
    }
    EXPECT_EQ(line.Heard(), Join(Join(answer, answer), answer));
    EXPECT_TRUE(Until([&] { return Records(RowLeveller44, 0) == 3; }));
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
    DeviceBus bus(line, {{RowPressure6, {0x11, 0x22}}, {RowLeveller44, {0x33, 0x44}, GetParam().fault}});
    TDeviceInfo& pressure = devices.AddDevice(RowPressure6);
    TDeviceInfo& second = devices.AddDevice(RowLeveller44);
    StartOn(LineModeSensors);
    // A failing device is polled again only after its back-off, and a fast line soon pushes its
    // record out of the log: look while it is fresh.
    ASSERT_TRUE(Until([&] { return Records(RowLeveller44, GetParam().code) >= 1; }));
    ASSERT_TRUE(Until([&] { return Records(RowPressure6, 0) >= 3; }));
    EXPECT_EQ(pressure.SchemeObject->Answer[2], 0x22);
    EXPECT_TRUE(pressure.RequestText.startsWith("'46"));   // the program's own address byte, flagged
    EXPECT_EQ(second.GridCell(9), ResultText(GetParam().code == 0 ? 7 : GetParam().code));
    if (GetParam().code != 0) {
        EXPECT_EQ(Records(RowLeveller44, 0), 0);
    }
    // The period shows once twenty cycles were measured.
    EXPECT_TRUE(Until([&] { return host.statusTexts[1].startsWith(" Период опроса: "); }));
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
        ASSERT_TRUE(Until([&] { return std::count(host.statusHistory[2].begin(), host.statusHistory[2].end(),
                                                  "8" + pty.PortName()) >= 3; }));
        EXPECT_EQ(host.timerMessages.front(), &device);
        EXPECT_EQ(host.statusTexts[1], " Готов");
        EXPECT_EQ(Records(RowPressure6, 0), 0);
        Stop();
        ended = 0;
    }
    thread = nullptr;
}

TEST_F(ReceiveEndToEnd, HangUpIsSurvivedAndANewPortIsTakenOn)
{
    DeviceBus bus(line, {{RowPressure6, {0x11, 0x22}}});
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    StartOn(LineModeSensors);
    ASSERT_TRUE(Until([&] { return Records(RowPressure6, 0) >= 2; }));

    line.HangUp();
    // The lost port ends the connection: the devices' line state is reset, the port is missed.
    ASSERT_TRUE(Shown('9', pty));
    EXPECT_EQ(host.timerMessages.front(), &device);
    // The user picks another port (the adapter came back under a new name).
    PtyPair second;
    LineSimulator secondLine(second);
    DeviceBus secondBus(secondLine, {{RowPressure6, {0x55, 0x66}}});
    host.SetPortSettings({false, second.PortName(), {}});
    thread->RequestReconnect();
    ASSERT_TRUE(Shown('8', second));
    ASSERT_TRUE(Until([&] { return device.SchemeObject->Answer[1] == 0x55; }));
    Stop();
}

// Detection probes the silent port and takes the one that echoes; a thread still detecting
// (nothing echoes) ends on termination too, never shown as found.
TEST_F(ReceiveEndToEnd, DetectionFindsTheListedPortThatEchoesAndTheThreadEndsIdle)
{
    PtyPair silent;
    LineSimulator silentLine(silent);
    silentLine.SetEcho(LineSimulator::Echo::Dropped);
    Start(LineModeMaster, {true, "ttyMissing9", {silent.PortName(), pty.PortName()}});
    ASSERT_TRUE(Shown('8', pty));
    EXPECT_TRUE(HeardAtLeast(silentLine, 1)) << "the silent port was probed";
    RunEventsFor(100);
    Stop();

    ended = 0;
    host.statusHistory[2].clear();
    Start(LineModeMaster, {true, silent.PortName(), {"ttyMissing9"}});
    ASSERT_TRUE(HeardAtLeast(silentLine, 3));   // at least two more walks
    Stop();
    EXPECT_TRUE(host.statusHistory[2].empty() || host.statusTexts[2].size() == 1) << "never shown as found";
}

TEST_F(ReceiveEndToEnd, PausedThreadPollsNothingContinuesAndEndsOnTermination)
{
    DeviceBus bus(line, {{RowPressure6, {0x11, 0x22}}});
    devices.AddDevice(RowPressure6);
    StartOn(LineModeSensors);
    ASSERT_TRUE(Until([&] { return bus.Requests >= 2; }));
    thread->Pause();
    RunEventsFor(200);   // what was under way settles
    const long requests = bus.Requests;
    RunEventsFor(300);
    EXPECT_EQ(bus.Requests, requests);
    thread->Continue();
    EXPECT_TRUE(Until([&] { return bus.Requests >= requests + 3; }));
    thread->Pause();
    Stop();
}


// The receive thread end to end: a real thread on a pty whose other end plays the shared line
// with simulated devices or a simulated master; synchronized steps run on this (main) thread's
// event loop. Time bounds are generous: they catch hangs, not speed.
#include <QElapsedTimer>
#include <algorithm>

#include "line/DeviceBus.h"
#include "line/ReceiveFixture.h"
#include "support/LineSimulator.h"
#include "support/PtyPair.h"
#include "support/RunEvents.h"

namespace {

constexpr int Bound = 10000;        // ms: something that should happen at once has surely happened
constexpr int StopBound = 2000;     // ms: termination, whatever the thread was doing

int Records(int row, int code)
{
    int n = 0;
    for (int i = 0; i < LineLogCount; ++i) {
        const TLineRecord& r = LineLogRecord(i);
        if (r.FrameInfo == &DeviceCatalogue[row] && r.Result == code)
            ++n;
    }
    return n;
}

std::string DumpLog()
{
    std::string out;
    for (int i = 0, shown = 0; i < LineLogCount && shown < 12; ++i) {
        const TLineRecord& r = LineLogRecord(i);
        if (r.Result == 0)
            continue;
        ++shown;
        out += "\n r" + (r.FrameInfo ? std::to_string(r.FrameInfo - DeviceCatalogue) : std::string("-")) + " " +
               std::to_string(r.Result) + " " + r.RequestText.toStdString() + " | " + r.AnswerText.toStdString();
    }
    return out;
}

class ReceiveEndToEnd : public ::testing::Test {
protected:
    ReceiveEndToEnd()
    {
        LineLogClear();
        PollIndex = 0;
        host.lineLogOn = true;
    }
    ~ReceiveEndToEnd() override
    {
        if (thread && ended == 0)
            Stop();
        LineMode = LineModeMaster;
        LineLogClear();
    }

    void Start(int mode, const TPortSettings& settings)
    {
        LineMode = mode;
        host.SetPortSettings(settings);
        thread = new TReceiveThread(host);
        thread->SetOnTerminate([this] { ++ended; });
        thread->SetPriority(2);
        thread->Resume();
    }
    void StartOn(int mode, const PtyPair& port) { Start(mode, {false, port.PortName(), {}}); }

    // Asks the thread to end and returns the milliseconds until its termination handler ran.
    qint64 Stop()
    {
        QElapsedTimer clock;
        clock.start();
        thread->Terminate();
        EXPECT_TRUE(RunEventsUntil([&] { return ended > 0; }, StopBound)) << "the thread did not end";
        const qint64 ms = clock.elapsed();
        RunEventsFor(50);   // the thread deletes itself after the handler
        EXPECT_EQ(ended, 1);
        return ms;
    }

    // The simulator's own wait would block the event loop that the thread's steps need.
    static bool HeardAtLeast(const LineSimulator& sim, std::size_t count)
    {
        return RunEventsUntil([&] { return sim.Heard().size() >= count; }, Bound);
    }

    bool Connected(const PtyPair& port)
    {
        return RunEventsUntil([&] { return host.statusTexts[2] == "8" + port.PortName(); }, Bound);
    }

    FakeHost host;
    DevicePlacer devices{host};
    PtyPair pty;
    LineSimulator line{pty};
    TReceiveThread* thread = nullptr;   // deletes itself once ended
    int ended = 0;
};

TEST_F(ReceiveEndToEnd, SensorDiagnosticsPollsDevicesAndShowsTheirAnswers)
{
    ASSERT_TRUE(pty.Ok());
    DeviceBus bus(line, {{RowPressure6, {0x11, 0x22}}, {RowLeveller44, {0x33, 0x44}}});
    TDeviceInfo& pressure = devices.AddDevice(RowPressure6);
    TDeviceInfo& leveller = devices.AddDevice(RowLeveller44);
    StartOn(LineModeSensors, pty);
    ASSERT_TRUE(Connected(pty));
    ASSERT_TRUE(RunEventsUntil([&] { return Records(RowPressure6, 0) >= 5 && Records(RowLeveller44, 0) >= 5; }, Bound));
    EXPECT_EQ(pressure.SchemeObject->Answer[1], 0x11);
    EXPECT_EQ(pressure.SchemeObject->Answer[2], 0x22);
    EXPECT_EQ(leveller.SchemeObject->Answer[1], 0x33);
    EXPECT_EQ(leveller.SchemeObject->Answer[2], 0x44);
    EXPECT_GT(pressure.AnswerCount, 0);
    EXPECT_EQ(leveller.GridCell(9), "");
    // Every good exchange shows the program's own address byte flagged.
    EXPECT_TRUE(pressure.RequestText.startsWith("'46"));
    // The period shows once twenty cycles were measured.
    EXPECT_TRUE(RunEventsUntil([&] { return host.statusTexts[1].startsWith(" Период опроса: "); }, Bound));
    EXPECT_TRUE(host.statusTexts[1].endsWith(" мс"));
    Stop();
}

TEST_F(ReceiveEndToEnd, MasterDiagnosticsAnswersForAnEmulatedDevice)
{
    ASSERT_TRUE(pty.Ok());
    TDeviceInfo& device = devices.AddDevice(RowLeveller44, ModeEmulate);
    device.FrameToAnswer = nullptr;   // the image is the answer
    device.SchemeObject->Answer[1] = 0x5A;
    device.SchemeObject->Answer[2] = 0x6B;
    const std::vector<std::uint8_t> answer{0x2C, 0x5A, 0x6B, 0x2C ^ 0x5A ^ 0x6B};
    const std::vector<std::uint8_t> request{0xAC, 0x07, 0xAC ^ 0x07};
    StartOn(LineModeMaster, pty);
    ASSERT_TRUE(Connected(pty));
    for (int i = 0; i < 3; ++i) {
        line.Play(request);
        ASSERT_TRUE(HeardAtLeast(line, answer.size() * static_cast<std::size_t>(i + 1)));
        RunEventsFor(100);   // the master waits before its next request
    }
    const auto heard = line.Heard();
    ASSERT_EQ(heard.size(), 3 * answer.size());
    for (std::size_t i = 0; i < heard.size(); i += answer.size())
        EXPECT_TRUE(std::equal(answer.begin(), answer.end(), heard.begin() + static_cast<std::ptrdiff_t>(i)));
    EXPECT_TRUE(RunEventsUntil([&] { return Records(RowLeveller44, 0) == 3; }, Bound));
    EXPECT_EQ(device.SchemeObject->Request[1], 0x07);   // the master's request, as heard
    Stop();
}

struct FaultCase {
    const char* name;
    BusFault fault;
    int code;
};

class ReceiveFaults : public ReceiveEndToEnd, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ReceiveFaults, FaultyAnswerIsLoggedWithItsCodeWhileTheOtherDeviceIsServed)
{
    ASSERT_TRUE(pty.Ok());
    DeviceBus bus(line, {{RowPressure6, {0x11, 0x22}}, {RowLeveller44, {0x33, 0x44}, GetParam().fault}});
    devices.AddDevice(RowPressure6);
    TDeviceInfo& faulty = devices.AddDevice(RowLeveller44);
    StartOn(LineModeSensors, pty);
    // A failing device is polled again only after its back-off, and a fast line soon pushes its
    // record out of the log: look while it is fresh.
    ASSERT_TRUE(RunEventsUntil([&] { return Records(RowLeveller44, GetParam().code) >= 1; }, Bound)) << DumpLog();
    EXPECT_TRUE(RunEventsUntil([&] { return Records(RowPressure6, 0) >= 2; }, Bound));
    EXPECT_EQ(Records(RowLeveller44, 0), 0);
    EXPECT_EQ(faulty.GridCell(9), ResultText(GetParam().code));
    Stop();
}

INSTANTIATE_TEST_SUITE_P(Answers, ReceiveFaults,
                         ::testing::Values(FaultCase{"WrongCheckByte", BusFault::BadCheck, ResultAnswerCheck},
                                           FaultCase{"CutMessage", BusFault::Cut, ResultShortAnswer},
                                           FaultCase{"Silent", BusFault::Silent, ResultNoAnswer}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReceiveEndToEnd, MissingEchoBacksOffAndReconnects)
{
    ASSERT_TRUE(pty.Ok());
    line.SetEcho(LineSimulator::Echo::Dropped);
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    StartOn(LineModeSensors, pty);
    // Each missing echo reconnects (a pty is no built-in port): the connection is shown again.
    ASSERT_TRUE(RunEventsUntil([&] { return std::count(host.statusHistory[2].begin(), host.statusHistory[2].end(),
                                                       "8" + pty.PortName()) >= 3; }, Bound));
    EXPECT_NE(std::find(host.timerMessages.begin(), host.timerMessages.end(), &device), host.timerMessages.end());
    EXPECT_EQ(host.statusTexts[1], " Готов");
    EXPECT_EQ(Records(RowPressure6, 0), 0);
    Stop();
}

TEST_F(ReceiveEndToEnd, LateEchoIsTakenForNone)
{
    ASSERT_TRUE(pty.Ok());
    line.SetEcho(LineSimulator::Echo::Delayed, 150);
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    StartOn(LineModeSensors, pty);
    ASSERT_TRUE(RunEventsUntil([&] { return host.timerMessages.size() >= 2; }, Bound));
    EXPECT_EQ(host.timerMessages.front(), &device);
    EXPECT_EQ(Records(RowPressure6, 0), 0);
    Stop();
}

TEST_F(ReceiveEndToEnd, HangUpIsSurvivedAndANewPortIsTakenOn)
{
    ASSERT_TRUE(pty.Ok());
    DeviceBus bus(line, {{RowPressure6, {0x11, 0x22}}});
    TDeviceInfo& device = devices.AddDevice(RowPressure6);
    StartOn(LineModeSensors, pty);
    ASSERT_TRUE(RunEventsUntil([&] { return Records(RowPressure6, 0) >= 2; }, Bound));

    line.HangUp();
    // The lost port ends the connection: the devices' line state is reset, the port is missed.
    ASSERT_TRUE(RunEventsUntil([&] { return host.statusTexts[2] == "9" + pty.PortName(); }, Bound));
    EXPECT_NE(std::find(host.timerMessages.begin(), host.timerMessages.end(), &device), host.timerMessages.end());

    // The user picks another port (the adapter came back under a new name).
    PtyPair second;
    LineSimulator secondLine(second);
    DeviceBus secondBus(secondLine, {{RowPressure6, {0x55, 0x66}}});
    host.SetPortSettings({false, second.PortName(), {}});
    thread->RequestReconnect();
    ASSERT_TRUE(Connected(second));
    ASSERT_TRUE(RunEventsUntil([&] { return device.SchemeObject->Answer[1] == 0x55; }, Bound));
    Stop();
}

TEST_F(ReceiveEndToEnd, DetectionFindsTheListedPortThatEchoes)
{
    ASSERT_TRUE(pty.Ok());
    PtyPair silent;
    LineSimulator silentLine(silent);
    silentLine.SetEcho(LineSimulator::Echo::Dropped);
    Start(LineModeMaster, {true, "ttyMissing9", {silent.PortName(), pty.PortName()}});
    ASSERT_TRUE(Connected(pty));
    EXPECT_TRUE(HeardAtLeast(silentLine, 1)) << "the silent port was probed";
    Stop();
}

TEST_F(ReceiveEndToEnd, TerminationWhileIdleEnds)
{
    ASSERT_TRUE(pty.Ok());
    StartOn(LineModeMaster, pty);
    ASSERT_TRUE(Connected(pty));
    RunEventsFor(100);
    Stop();
}

TEST_F(ReceiveEndToEnd, TerminationWhileDetectingEnds)
{
    ASSERT_TRUE(pty.Ok());
    line.SetEcho(LineSimulator::Echo::Dropped);
    Start(LineModeMaster, {true, pty.PortName(), {"ttyMissing9"}});
    ASSERT_TRUE(HeardAtLeast(line, 2));   // at least two walks
    Stop();
    EXPECT_TRUE(host.statusHistory[2].empty() || host.statusTexts[2].size() == 1) << "never shown as found";
}

TEST_F(ReceiveEndToEnd, PausedThreadPollsNothingAndEndsOnTermination)
{
    ASSERT_TRUE(pty.Ok());
    DeviceBus bus(line, {{RowPressure6, {0x11, 0x22}}});
    devices.AddDevice(RowPressure6);
    StartOn(LineModeSensors, pty);
    ASSERT_TRUE(RunEventsUntil([&] { return Records(RowPressure6, 0) >= 2; }, Bound));
    thread->Pause();
    RunEventsFor(200);   // what was under way settles
    const long requests = bus.Requests;
    RunEventsFor(300);
    EXPECT_EQ(bus.Requests, requests);
    Stop();
}

TEST_F(ReceiveEndToEnd, ContinuedThreadPollsAgain)
{
    ASSERT_TRUE(pty.Ok());
    DeviceBus bus(line, {{RowPressure6, {0x11, 0x22}}});
    devices.AddDevice(RowPressure6);
    StartOn(LineModeSensors, pty);
    ASSERT_TRUE(RunEventsUntil([&] { return bus.Requests >= 2; }, Bound));
    thread->Pause();
    RunEventsFor(200);
    const long requests = bus.Requests;
    thread->Continue();
    EXPECT_TRUE(RunEventsUntil([&] { return bus.Requests >= requests + 3; }, Bound));
    Stop();
}

} // namespace

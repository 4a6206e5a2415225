// The echo of the program's own emulated answer is never taken for a master's request, however
// late or cut; on an adapter that does not echo, every master request is still answered.
#include "LineFixture.h"

// Address 5: the answer's first byte reads as a request of the same device.
const Bytes MasterRequest = Request(RowLineProx5);                 // 05
const Bytes EmulatedAnswer = Answer(RowLineProx5, {0x09, 0x11});   // 05 09 11 1D

void AddEmulated(LineWorld& w)
{
    TDeviceInfo& device = w.AddDevice(RowLineProx5, ModeEmulate);
    dynamic_cast<TTestAnswerFrame*>(device.Frame.data())->ValueEdit->SetText("9");
    device.SchemeObject->Answer[2] = 0x11;
}

void PlayRequests(LineWorld& w, int count, std::uint32_t everyMs)
{
    for (int i = 0; i < count; ++i)
        w.line.PlayAfter(10 + i * everyMs, MasterRequest);
}

class EchoTest : public LineEngineTest {
protected:
    EchoTest() { AddEmulated(*this); }
    // One request answered in time, so that the connection is known to echo.
    void LearnEcho()
    {
        line.PlayAfter(0, MasterRequest);
        RunUntilQuiet();
        ASSERT_TRUE(engine.LineEchoes);
        LineLogClear();
    }
};

// An echo 41-60 ms late is still the echo, also while a busy window holds the receive thread
// at every synchronized step, so that the echo is read long after it came: nothing but the
// master's requests is answered, and each exchange completes late from the pending buffer.
struct SlowCase {
    std::uint32_t stepMs;
    std::uint32_t echoLateMs;
};

class LateEcho : public EchoTest, public ::testing::WithParamInterface<SlowCase> {};

TEST_P(LateEcho, EachMasterRequestIsAnsweredOnce)
{
    // Each answer's tail holds the other emulated device's wire byte: 05 09 C9 .., 09 00 05 ..
    host.byAddr[5]->SchemeObject->Answer[2] = 0xC9;
    AddDevice(62, ModeEmulate).SchemeObject->Answer[2] = 0x05;   // address 9, wire C9
    LearnEcho();
    stepMs = GetParam().stepMs;
    line.EchoDelayMs = GetParam().echoLateMs;
    PlayRequests(*this, 6, 300);
    RunUntilQuiet();
    ASSERT_EQ(Writes().size(), 1u + 6u);
    EXPECT_EQ(Writes().back().Bytes, Answer(RowLineProx5, {0x09, 0xC9}));
    EXPECT_EQ(LogTexts(), Texts(6, "r15 1 05 | 05 09 C9 C5"));
}

INSTANTIATE_TEST_SUITE_P(StepsOf0To25Ms, LateEcho,
                         ::testing::Values(SlowCase{0, 41}, SlowCase{0, 60}, SlowCase{5, 41}, SlowCase{10, 41},
                                           SlowCase{10, 55}, SlowCase{10, 60}, SlowCase{25, 50}));

// The request the program answered is one exchange whatever its echo did: a byte of its body
// that is another emulated device's wire byte (46, address 6) is never answered as a request.
// clang-format off
enum class EchoFate { Whole, Dropped, Cut };
// clang-format on

class AnsweredRequest : public LineEngineTest, public ::testing::WithParamInterface<EchoFate> {};

TEST_P(AnsweredRequest, IsOneExchangeWhateverItsEchoDid)
{
    AddDevice(RowTerminal62, ModeEmulate);
    AddDevice(RowPressure6, ModeEmulate);
    line.Echoes = GetParam() == EchoFate::Whole;
    if (GetParam() == EchoFate::Cut)
        line.OnWrite = [this](const ScriptedPort::Call& write) {
            line.PlayAfter(1, Bytes(write.Bytes.begin(), write.Bytes.begin() + 2));
        };
    Bytes body(14, 0x00);
    body[5] = 0x46;
    const Bytes request = Request(RowTerminal62, body);
    for (int i = 0; i < 20; ++i)
        line.PlayAfter(10 + i * 300, request);
    RunUntilQuiet();
    ASSERT_EQ(Writes().size(), 20u);
    for (const auto& write : Writes())
        EXPECT_EQ(write.Bytes.front(), 0x3E);   // the terminal's answer, never address 6's
    for (const std::string& record : LogTexts())
        EXPECT_EQ(record.rfind("r60 ", 0), 0u) << record;
}

INSTANTIATE_TEST_SUITE_P(EchoWholeDroppedOrCut, AnsweredRequest,
                         ::testing::Values(EchoFate::Whole, EchoFate::Dropped, EchoFate::Cut));

// The guard holds from the first answer of a connection, before any echo was heard: an echo
// cut, late or corrupted is never answered, even when a corrupted byte is an emulated row's
// wire byte or the plain address.
struct StormCase {
    const char* name;
    int row;           // the emulated device the master asks, three times 300 ms apart
    int corruptAt;     // the echo byte replaced ...
    std::uint8_t by;   // ... by this one
};

class EchoStorm : public LineEngineTest, public ::testing::WithParamInterface<StormCase> {};

TEST_P(EchoStorm, EachRequestIsAnsweredOnce)
{
    const StormCase& c = GetParam();
    const int rowAt9 = static_cast<int>(FrameInfoVectors[9].front() - DeviceCatalogue);   // wire byte C9
    for (int row : {c.row, rowAt9})
        if (row != 0 && !host.byAddr[DeviceCatalogue[row].Address])
            AddDevice(row, ModeEmulate);
    line.Echoes = false;
    line.OnWrite = [this, &c](const ScriptedPort::Call& write) {
        Bytes echo = write.Bytes;
        echo[static_cast<std::size_t>(c.corruptAt) % echo.size()] = c.by;
        line.PlayAfter(1, echo);
    };
    for (int i = 0; i < 3; ++i)
        line.PlayAfter(10 + i * 300, Request(c.row ? c.row : rowAt9));
    RunUntilQuiet();
    EXPECT_LE(Writes().size(), 3u);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Corrupted, EchoStorm, ::testing::Values(
    StormCase{"Byte1", RowLineProx5, 1, 0x55},
    StormCase{"ToThePlainAddress", RowLineProx5, 2, 0x05},
    StormCase{"ToAnEmulatedWireByte", RowLineProx5, 3, 0xC9},
    StormCase{"FirstToAnEmulatedWireByte", RowLineProx5, 0, 0xC9},
    StormCase{"AnswerOfAddress9", 0, 3, 0xC9}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Bytes that come once an answer's window has passed are the master's again; a new connection
// learns the echo afresh.
TEST_F(EchoTest, AfterTheWindowTheSameBytesAreARequestAgain)
{
    LearnEcho();
    line.Echoes = false;
    line.PlayAfter(0, MasterRequest);
    RunUntilQuiet();   // answered; no echo; the request waits in the buffer
    ASSERT_EQ(Writes().size(), 2u);
    // Too late to be the echo: a request again.
    line.PlayAfter(EchoWindowMs(static_cast<int>(EmulatedAnswer.size())), EmulatedAnswer);
    RunUntilQuiet();
    EXPECT_EQ(Writes().size(), 3u);
    engine.PortOpened();
    EXPECT_FALSE(engine.LineEchoes);
}

// On an adapter that does not echo, a request after an answer's window is answered as without
// the guard; one inside the window is taken for the echo and reported, not answered.
TEST(AnswerEchoGuard, LineWithoutEchoIsAnsweredAsWithoutTheGuardOutsideTheWindow)
{
    auto run = [](bool guard, std::uint32_t everyMs) {
        LineWorld w;
        AddEmulated(w);
        w.engine.AnswerEchoGuard = guard;
        w.line.Echoes = false;
        PlayRequests(w, 20, everyMs);
        w.RunUntilQuiet();
        std::vector<std::pair<std::uint32_t, Bytes>> writes;
        for (const auto& c : w.Writes())
            writes.emplace_back(c.Tick - w.clock.Now(), c.Bytes);
        return std::make_pair(writes, LogTexts());
    };
    const std::uint32_t outside = 80;   // a master repeating every 80 ms: beyond a 4-byte answer's window
    const auto guarded = run(true, outside);
    EXPECT_EQ(guarded, run(false, outside));
    EXPECT_EQ(guarded.first.size(), 20u);
    EXPECT_LT(run(true, 20).first.size(), run(false, 20).first.size());   // requests inside windows taken
}

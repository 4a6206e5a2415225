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

class LateEcho : public EchoTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(LateEcho, EachMasterRequestIsAnsweredExactlyOnce)
{
    LearnEcho();
    line.EchoDelayMs = GetParam();
    PlayRequests(*this, 5, 300);
    RunUntilQuiet();
    EXPECT_EQ(Writes().size(), 1u + 5u);
    EXPECT_EQ(Writes().back().Bytes, EmulatedAnswer);
    // Each exchange completes from the pending buffer: late.
    EXPECT_EQ(LogTexts(), Texts(5, "r15 1 05 | 05 09 11 1D"));
}

INSTANTIATE_TEST_SUITE_P(From41To60Ms, LateEcho, ::testing::Values(41u, 60u));

TEST_F(EchoTest, EchoInPiecesIsNeverAnswered)
{
    LearnEcho();
    // Half the echo at once, the rest after the echo read gave up.
    line.SetEcho(ScriptedPort::Echo::None);
    line.OnWrite = [this](const ScriptedPort::Call& write) {
        line.PlayAfter(2, {write.Bytes[0], write.Bytes[1]});
        line.PlayAfter(45, {write.Bytes[2], write.Bytes[3]});
    };
    PlayRequests(*this, 4, 300);
    RunUntilQuiet();
    EXPECT_EQ(Writes().size(), 1u + 4u);
    EXPECT_EQ(LogTexts(), Texts(4, "r15 1 05 | 05 09 11 1D"));
}

// Until the line has echoed once, a byte that repeats the answer may be a master's repetition
// on an adapter without echo, so it is answered; a read 100 ms after the answer drops the
// expected echo; a new connection learns afresh.
TEST_F(EchoTest, TheEchoIsExpectedOnlyOnceSeenAndOnlyForAHundredMs)
{
    line.EchoDelayMs = 50;
    PlayRequests(*this, 5, 300);
    RunUntilQuiet();
    EXPECT_TRUE(engine.LineEchoes);
    ASSERT_EQ(Writes().size(), 5u + 1u);

    line.EchoDelayMs = 0;
    line.SetEcho(ScriptedPort::Echo::None);
    line.PlayAfter(0, MasterRequest);
    RunUntilQuiet();   // answered; no echo; the request waits in the buffer
    ASSERT_EQ(Writes().size(), 7u);
    clock.Advance(100);
    line.PlayAfter(0, EmulatedAnswer);   // too late to be the echo: a request again
    engine.FramingPass();
    EXPECT_EQ(Writes().size(), 8u);
    engine.PortOpened();
    EXPECT_FALSE(engine.LineEchoes);
}

TEST(AnswerEchoGuard, LineWithoutEchoIsAnsweredAsOftenAsWithoutTheGuard)
{
    // A master repeating its request every 20 ms on an adapter that does not echo: the guard
    // must change nothing, neither the answers nor what is reported.
    auto run = [](bool guard) {
        LineWorld w;
        AddEmulated(w);
        w.engine.AnswerEchoGuard = guard;
        w.line.SetEcho(ScriptedPort::Echo::None);
        PlayRequests(w, 40, 20);
        w.RunUntilQuiet();
        std::vector<std::pair<std::uint32_t, Bytes>> writes;
        for (const auto& c : w.Writes())
            writes.emplace_back(c.Tick - w.clock.Now(), c.Bytes);
        return std::make_pair(writes, LogTexts());
    };
    const auto guarded = run(true);
    EXPECT_EQ(guarded, run(false));
    EXPECT_GE(guarded.first.size(), 10u);
}

// The program hears its own emulated answer on the shared line. That echo must never be taken
// for a master's request, however late or cut it arrives, while on an adapter that does not
// echo every master request is still answered.
#include <gtest/gtest.h>

#include "LineEngineFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Address 5: the wire address byte equals the plain address, so the answer's first byte reads
// as a request of the same device.
const Bytes MasterRequest = Request(RowLineProx5);                 // 05
const Bytes EmulatedAnswer = Answer(RowLineProx5, {0x09, 0x11});   // 05 09 11 1D

TDeviceInfo& AddEmulated(LineWorld& w)
{
    TDeviceInfo& device = w.AddDevice(RowLineProx5, ModeEmulate);
    dynamic_cast<TTestAnswerFrame*>(device.Frame.data())->ValueEdit->SetText("9");
    device.SchemeObject->Answer[2] = 0x11;
    return device;
}

// One request answered in time, so that the connection is known to echo.
void LearnEcho(LineWorld& w)
{
    w.line.PlayAfter(0, MasterRequest);
    w.RunUntilQuiet();
    ASSERT_TRUE(w.engine.LineEchoes);
    ASSERT_EQ(w.Writes().size(), 1u);
    LineLogClear();
}

void PlayRequests(LineWorld& w, int count, std::uint32_t everyMs)
{
    for (int i = 0; i < count; ++i)
        w.line.PlayAfter(10 + i * everyMs, MasterRequest);
}

}  // namespace

class LateEcho : public LineEngineTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(LateEcho, EachMasterRequestIsAnsweredExactlyOnce)
{
    AddEmulated(*this);
    LearnEcho(*this);
    line.EchoDelayMs = GetParam();
    PlayRequests(*this, 5, 300);
    RunUntilQuiet();
    EXPECT_EQ(Writes().size(), 1u + 5u);
    for (const auto& w : Writes())
        EXPECT_EQ(w.Bytes, EmulatedAnswer);
    // Each exchange completes from the pending buffer: late.
    EXPECT_EQ(LogTexts(), std::vector<std::string>(5, "r15 1 05 | 05 09 11 1D"));
}

INSTANTIATE_TEST_SUITE_P(From41To60Ms, LateEcho, ::testing::Values(41u, 45u, 50u, 60u));

TEST_F(LineEngineTest, EchoInPiecesIsNeverAnswered)
{
    AddEmulated(*this);
    LearnEcho(*this);
    // Half the echo at once, the rest after the echo read gave up.
    line.SetEcho(ScriptedPort::Echo::None);
    line.OnWrite = [this](const ScriptedPort::Call& write) {
        line.PlayAfter(2, {write.Bytes[0], write.Bytes[1]});
        line.PlayAfter(45, {write.Bytes[2], write.Bytes[3]});
    };
    PlayRequests(*this, 4, 300);
    RunUntilQuiet();
    EXPECT_EQ(Writes().size(), 1u + 4u);
    EXPECT_EQ(LogTexts(), std::vector<std::string>(4, "r15 1 05 | 05 09 11 1D"));
}

TEST(AnswerEchoGuard, WithoutItALateEchoIsAnsweredAgainAndAgain)
{
    LineWorld w;
    AddEmulated(w);
    w.engine.AnswerEchoGuard = false;
    w.line.PlayAfter(0, MasterRequest);
    w.RunUntilQuiet();
    ASSERT_EQ(w.Writes().size(), 1u);
    w.line.EchoDelayMs = 50;
    w.line.PlayAfter(10, MasterRequest);
    for (int i = 0; i < 50; ++i)
        w.engine.FramingPass();
    EXPECT_GT(w.Writes().size(), 10u);   // the fault the guard is there for
}

TEST_F(LineEngineTest, FreshConnectionWithLateEchoesSettlesAfterOneAnswer)
{
    // Until the line has echoed once, a byte that repeats the answer may be a master's
    // repetition on an adapter without echo, so it is answered; the echo it follows completes
    // the knowledge, and from then on the echo is recognised.
    AddEmulated(*this);
    line.EchoDelayMs = 50;
    PlayRequests(*this, 5, 300);
    RunUntilQuiet();
    EXPECT_TRUE(engine.LineEchoes);
    EXPECT_EQ(Writes().size(), 5u + 1u);
}

TEST_F(LineEngineTest, PortOpenedForgetsThatTheLineEchoed)
{
    AddEmulated(*this);
    LearnEcho(*this);
    engine.PortOpened();
    EXPECT_FALSE(engine.LineEchoes);
    EXPECT_TRUE(engine.RestoreListenState);
}

TEST(AnswerEchoGuard, LineWithoutEchoIsAnsweredAsOftenAsWithoutTheGuard)
{
    // A master repeating its request every 20 ms on an adapter that does not echo: the guard
    // must change nothing, neither the answers nor what is reported.
    struct Run {
        std::vector<std::pair<std::uint32_t, Bytes>> writes;
        std::vector<std::string> log;
    };
    auto run = [](bool guard) {
        LineWorld w;
        AddEmulated(w);
        w.engine.AnswerEchoGuard = guard;
        w.line.SetEcho(ScriptedPort::Echo::None);
        PlayRequests(w, 40, 20);
        w.RunUntilQuiet();
        Run r;
        for (const auto& c : w.Writes())
            r.writes.emplace_back(c.Tick - w.clock.Now(), c.Bytes);
        r.log = LogTexts();
        return r;
    };
    const Run bare = run(false);
    const Run guarded = run(true);
    EXPECT_EQ(guarded.writes, bare.writes);
    EXPECT_EQ(guarded.log, bare.log);
    EXPECT_GE(guarded.writes.size(), 10u);
}

TEST(AnswerEchoGuard, ReadHundredMsAfterTheAnswerDropsTheExpectation)
{
    LineWorld w;
    AddEmulated(w);
    LearnEcho(w);
    w.line.SetEcho(ScriptedPort::Echo::None);
    w.line.PlayAfter(0, MasterRequest);
    w.RunUntilQuiet();                    // answered; no echo; the request waits in the buffer
    ASSERT_EQ(w.Writes().size(), 2u);
    w.clock.Advance(100);
    w.line.PlayAfter(0, EmulatedAnswer);  // too late to be the echo: a request again
    w.engine.FramingPass();
    EXPECT_EQ(w.Writes().size(), 3u);
}

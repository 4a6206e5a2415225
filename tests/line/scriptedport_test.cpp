// The scripted port that the line-engine tests run on: its timeline, echo and log must be
// exactly as documented, or every test built on it would measure the fake.
#include <gtest/gtest.h>

#include "support/ScriptedPort.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Op = ScriptedPort::Op;

class Scripted : public ::testing::Test {
protected:
    void SetUp() override
    {
        line.Bind(port);
        ASSERT_TRUE(port.Open());
        start = clock.Now();
    }

    Bytes Read(std::uint32_t count, std::uint32_t* took = nullptr)
    {
        std::uint8_t bytes[64], flags[64];
        std::fill(std::begin(flags), std::end(flags), 0xAA);
        std::uint32_t n = 0;
        const std::uint32_t before = clock.Now();
        port.Read(bytes, flags, count, &n);
        if (took)
            *took = clock.Now() - before;
        for (std::uint32_t i = 0; i < 64; ++i)
            EXPECT_EQ(flags[i], i < n ? 0 : 0xAA);
        return Bytes(bytes, bytes + n);
    }

    VirtualClock clock;
    ScriptedPort line {clock};
    TMVPort port {"ttyS1"};
    std::uint32_t start = 0;
};

TEST_F(Scripted, SilentReadMovesTheClockByTheTimeOut)
{
    std::uint32_t took = 0;
    EXPECT_TRUE(Read(4, &took).empty());
    EXPECT_EQ(took, 40u);
}

TEST_F(Scripted, ReadEndsAtTheArrivalOfTheLastByteWanted)
{
    line.ByteTimeUs = 0;
    line.PlayAfter(10, {1, 2, 3});
    std::uint32_t took = 0;
    EXPECT_EQ(Read(2, &took), (Bytes {1, 2}));
    EXPECT_EQ(took, 10u);
    EXPECT_EQ(Read(5, &took), (Bytes {3}));
    EXPECT_EQ(took, 40u);
}

TEST_F(Scripted, BytesBeyondTheTimeOutWaitForTheNextRead)
{
    line.PlayAfter(45, {9});
    EXPECT_TRUE(Read(1).empty());
    EXPECT_EQ(Read(1), Bytes {9});
    EXPECT_EQ(clock.Now(), start + 45);
}

TEST_F(Scripted, BytesOfAMessageAreOneByteTimeApart)
{
    line.PlayAt(start + 5, {1, 2, 3, 4});
    const auto timeline = line.Timeline();
    ASSERT_EQ(timeline.size(), 4u);
    EXPECT_EQ(timeline[0].Tick, start + 5);
    EXPECT_EQ(timeline[1].Tick, start + 6);   // 1.146 ms, whole ms
    EXPECT_EQ(timeline[2].Tick, start + 7);
    EXPECT_EQ(timeline[3].Tick, start + 8);
}

TEST_F(Scripted, WritesAreEchoedUnlessDropped)
{
    std::uint32_t written = 0;
    const Bytes request {0x85, 0x01, 0x84};
    ASSERT_TRUE(port.Write(request.data(), 3, &written));
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(clock.Now(), start) << "a write takes no time";
    EXPECT_EQ(Read(3), request);

    line.SetEcho(ScriptedPort::Echo::None);
    ASSERT_TRUE(port.Write(request.data(), 3, &written));
    EXPECT_TRUE(Read(3).empty());
}

TEST_F(Scripted, DelayedEchoAndScriptedAnswer)
{
    line.EchoDelayMs = 100;
    line.OnWrite = [&](const ScriptedPort::Call& w) {
        if (w.Parity == ParityMark)
            line.PlayAfter(200, {0x05, 0x11, 0x14});
    };
    port.SetState(&AddressDCB);
    const std::uint8_t address = 0x85;
    std::uint32_t written = 0;
    port.Write(&address, 1, &written);
    EXPECT_TRUE(Read(1).empty());   // up to start + 40
    EXPECT_TRUE(Read(1).empty());   // up to start + 80
    EXPECT_EQ(Read(1), Bytes {0x85});
    EXPECT_EQ(clock.Now(), start + 102);
    EXPECT_EQ(Read(3).size(), 0u);
    clock.Set(start + 199);
    EXPECT_EQ(Read(3), (Bytes {0x05, 0x11, 0x14}));
}

TEST_F(Scripted, LogRecordsEveryCallWithTheParityAskedFor)
{
    port.SetState(&AddressDCB);
    const std::uint8_t address = 0x85;
    std::uint32_t written = 0;
    port.Write(&address, 1, &written);
    port.SetState(&ListenDCB);
    const std::uint8_t body[] = {0x01, 0x84};
    port.Write(body, 2, &written);
    Read(3);
    port.Purge();
    port.Close();
    EXPECT_EQ(line.Trace(), "Open SetState(M) Write(M:85) SetState(S) Write(S:01 84) Read(3:85 01 84) Purge Close");
    const auto writes = line.CallsOf(Op::Write);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].Parity, ParityMark);
    EXPECT_EQ(writes[1].Parity, ParitySpace);
    EXPECT_EQ(writes[1].Bytes, (Bytes {0x01, 0x84}));
}

TEST_F(Scripted, PurgeDropsOnlyWhatHasArrived)
{
    line.ByteTimeUs = 0;
    line.PlayAt(start, {1, 2});
    line.PlayAt(start + 20, {3});
    std::uint32_t queued = 0;
    ASSERT_TRUE(port.GetInQueue(&queued));
    EXPECT_EQ(queued, 2u);
    port.Purge();
    EXPECT_EQ(Read(5), Bytes {3});
}

TEST_F(Scripted, HangUpAndFailedOpens)
{
    line.HangUp();
    std::uint8_t b[1], f[1] = {7};
    std::uint32_t n = 99;
    EXPECT_FALSE(port.Read(b, f, 1, &n));
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(f[0], 7);
    EXPECT_TRUE(port.Lost());
    EXPECT_FALSE(port.Write(b, 1, &n));
    port.Close();
    EXPECT_FALSE(port.Open());
    line.Restore();
    line.FailOpen(2);
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.Open());
    EXPECT_TRUE(port.Open());
    EXPECT_FALSE(port.Lost());
    EXPECT_NE(port.Handle, InvalidPortHandle);
    EXPECT_EQ(line.Trace().substr(0, 13), "Open Read(1:)");
}

} // namespace

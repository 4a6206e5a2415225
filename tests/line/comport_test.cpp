// The COM back end over a pty pair, with a line simulator on the master side.
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>

#include "line/Port.h"
#include "support/LineSimulator.h"
#include "support/PtyPair.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

long long MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class ComPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.Ok());
        port.SetName(pty.PortName());
        ASSERT_TRUE(port.Open());
    }
    void TearDown() override { port.Close(); }

    // Reads until `want` bytes came or a generous time passed.
    Bytes ReadUpTo(std::size_t want)
    {
        Bytes got;
        const auto start = Clock::now();
        while (got.size() < want && MsSince(start) < 2000) {
            std::uint8_t bytes[64], flags[64];
            std::uint32_t n = 0;
            port.Read(bytes, flags, static_cast<std::uint32_t>(want - got.size()), &n);
            got.insert(got.end(), bytes, bytes + n);
        }
        return got;
    }

    PtyPair pty;
    TMVPort port;
    LineSimulator line {pty};
};

TEST_F(ComPort, SilentReadReturnsNothingAfterAboutFortyMs)
{
    std::uint8_t bytes[8], flags[8];
    std::memset(flags, 0xAA, sizeof flags);
    std::uint32_t n = 99;
    const auto start = Clock::now();
    EXPECT_TRUE(port.Read(bytes, flags, 8, &n));
    const long long ms = MsSince(start);
    EXPECT_EQ(n, 0u);
    for (std::uint8_t f : flags)
        EXPECT_EQ(f, 0xAA);
    EXPECT_GE(ms, 30);
    EXPECT_LT(ms, 1000);
    EXPECT_FALSE(port.Lost());
}

TEST_F(ComPort, ReadZeroesExactlyTheFlagsOfTheBytesRead)
{
    line.Play({0x81, 0x00, 0xFF});
    std::uint8_t bytes[8], flags[8];
    std::memset(flags, 0xAA, sizeof flags);
    std::uint32_t n = 0;
    // Eight asked, three on the line: the read ends at its time-out with three.
    const auto start = Clock::now();
    while (n == 0 && MsSince(start) < 2000)
        port.Read(bytes, flags, 8, &n);
    ASSERT_EQ(n, 3u);
    EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes {0x81, 0x00, 0xFF}));
    EXPECT_EQ(Bytes(flags, flags + 8), (Bytes {0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));
}

TEST_F(ComPort, ReadReturnsAsSoonAsCountBytesCame)
{
    line.Play({1, 2, 3, 4, 5});
    ASSERT_TRUE(line.WaitHeard(0, 10));
    EXPECT_EQ(ReadUpTo(2), (Bytes {1, 2}));
    EXPECT_EQ(ReadUpTo(3), (Bytes {3, 4, 5}));
}

TEST_F(ComPort, WrittenBytesAreHeardAndEchoed)
{
    const Bytes request {0x85, 0x10, 0x20, 0xB5};
    std::uint32_t written = 0;
    EXPECT_TRUE(port.Write(request.data(), 4, &written));
    EXPECT_EQ(written, 4u);
    ASSERT_TRUE(line.WaitHeard(4, 2000));
    EXPECT_EQ(line.Heard(), request);
    EXPECT_EQ(ReadUpTo(4), request);
}

TEST_F(ComPort, ParitySwitchingKeepsAPtyUsable)
{
    // A pty drops the parity bit and then refuses settings that differ from its own only there
    // (the same state twice in a row): that is no broken port.
    for (const TDCB* dcb : {&ListenDCB, &ListenDCB, &AddressDCB, &AddressDCB, &ListenDCB}) {
        EXPECT_TRUE(port.SetState(dcb));
        const std::uint8_t b = dcb->Parity;
        std::uint32_t written = 0;
        ASSERT_TRUE(port.Write(&b, 1, &written));
        EXPECT_EQ(ReadUpTo(1), Bytes {b});
    }
    TDCB bad = ListenDCB;
    bad.Parity = 9;
    EXPECT_FALSE(port.SetState(&bad));
    bad = ListenDCB;
    bad.ByteSize = 9;
    EXPECT_FALSE(port.SetState(&bad));
}

TEST_F(ComPort, PurgeDiscardsWhatWaitsAndInQueueCountsIt)
{
    line.SetEcho(LineSimulator::Echo::Dropped);
    line.Play({1, 2, 3});
    std::uint32_t queued = 0;
    const auto start = Clock::now();
    while (queued < 3 && MsSince(start) < 2000)
        ASSERT_TRUE(port.GetInQueue(&queued));
    EXPECT_EQ(queued, 3u);
    EXPECT_TRUE(port.Purge());
    ASSERT_TRUE(port.GetInQueue(&queued));
    EXPECT_EQ(queued, 0u);
}

TEST_F(ComPort, DroppedAndLateEchoes)
{
    line.SetEcho(LineSimulator::Echo::Dropped);
    std::uint32_t written = 0;
    const std::uint8_t b = 0x00;
    ASSERT_TRUE(port.Write(&b, 1, &written));
    ASSERT_TRUE(line.WaitHeard(1, 2000));
    std::uint8_t bytes[1], flags[1];
    std::uint32_t n = 0;
    port.Read(bytes, flags, 1, &n);
    EXPECT_EQ(n, 0u);

    line.SetEcho(LineSimulator::Echo::Delayed, 150);
    ASSERT_TRUE(port.Write(&b, 1, &written));
    port.Read(bytes, flags, 1, &n);   // one read's time-out is far shorter than the delay
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(ReadUpTo(1), Bytes {0x00});
}

TEST_F(ComPort, SimulatedDeviceAnswersWhatItHears)
{
    const Bytes answer {0x05, 0x11, 0x14};
    line.OnHeard = [&](const Bytes& heard) {
        if (heard.front() == 0x85)
            line.Play(answer, 5);
    };
    const std::uint8_t address = 0x85;
    std::uint32_t written = 0;
    ASSERT_TRUE(port.Write(&address, 1, &written));
    EXPECT_EQ(ReadUpTo(4), (Bytes {0x85, 0x05, 0x11, 0x14}));
}

TEST_F(ComPort, HangUpMakesReadFailAndThePortLost)
{
    line.HangUp();
    std::uint8_t bytes[4], flags[4] = {7, 7, 7, 7};
    std::uint32_t n = 99;
    bool ok = true;
    const auto start = Clock::now();
    while (ok && MsSince(start) < 2000)
        ok = port.Read(bytes, flags, 4, &n);
    EXPECT_FALSE(ok);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(flags[0], 7);
    EXPECT_TRUE(port.Lost());
    // Reading on does not wait for time-outs on a dead descriptor.
    const auto again = Clock::now();
    EXPECT_FALSE(port.Read(bytes, flags, 4, &n));
    EXPECT_LT(MsSince(again), 30);
    std::uint32_t written = 99;
    EXPECT_FALSE(port.Write(bytes, 1, &written));
    EXPECT_EQ(written, 0u);
    port.Close();
    EXPECT_FALSE(port.Lost());
    EXPECT_EQ(port.Handle, InvalidPortHandle);
}

TEST(ComPortOpen, RefusesNamesThatAreNoSerialLine)
{
    for (const char* name : {"", "null", "zero", "../dev/null", "/dev/null", "pts/../null", "pts/", "pts/999999",
                             "no-such-port"}) {
        TMVPort port(name);
        EXPECT_FALSE(port.Open()) << name;
        EXPECT_EQ(port.Handle, InvalidPortHandle) << name;
    }
}

TEST(ComPortOpen, ReopensAfterClose)
{
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TMVPort port(pty.PortName());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(port.Open()) << i;
        EXPECT_NE(port.Handle, InvalidPortHandle);
        EXPECT_TRUE(port.Close());
        EXPECT_EQ(port.Handle, InvalidPortHandle);
    }
}

} // namespace

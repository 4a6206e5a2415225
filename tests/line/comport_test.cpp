// The COM back end over a pty, with a line simulator on the other side.
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

#include "line/Port.h"
#include "line/Protocol.h"
#include "platform/Serial.h"
#include "support/LineSimulator.h"

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
        ASSERT_TRUE(line.Ok());
        port.SetName(line.PortName());
        ASSERT_TRUE(port.Open());
        std::memset(flags, 0xAA, sizeof flags);
    }
    void TearDown() override { port.Close(); }

    // Reads until `want` bytes came or a generous time passed.
    Bytes ReadUpTo(std::size_t want)
    {
        Bytes got;
        for (const auto start = Clock::now(); got.size() < want && MsSince(start) < 2000;) {
            std::uint32_t n = 0;
            port.Read(bytes, flags, static_cast<std::uint32_t>(want - got.size()), &n);
            got.insert(got.end(), bytes, bytes + n);
        }
        return got;
    }

    LineSimulator line;
    TMVPort port;
    std::uint8_t bytes[8], flags[8];
};

TEST_F(ComPort, ReadWaitsAboutFortyMsAndZeroesExactlyTheFlagsOfTheBytesRead)
{
    std::uint32_t n = 99;
    const auto start = Clock::now();
    EXPECT_TRUE(port.Read(bytes, flags, 8, &n));
    const long long ms = MsSince(start);
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(ms >= 30 && ms < 1000) << ms;
    EXPECT_EQ(Bytes(flags, flags + 8), Bytes(8, 0xAA));

    line.Play({0x81, 0x00, 0xFF, 4, 5});
    EXPECT_EQ(ReadUpTo(3), (Bytes{0x81, 0x00, 0xFF}));
    EXPECT_EQ(Bytes(flags, flags + 8), (Bytes{0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));
    EXPECT_EQ(ReadUpTo(2), (Bytes{4, 5}));
}

TEST_F(ComPort, ParitySwitchingKeepsAPtyUsableAndPurgeDiscards)
{
    // A pty drops the parity bit and then refuses settings that differ from its own only there
    // (the same state twice in a row): that is no broken port.
    for (const TDCB* dcb : {&ListenDCB, &ListenDCB, &AddressDCB, &AddressDCB, &ListenDCB}) {
        EXPECT_TRUE(port.SetState(dcb));
        std::uint32_t written = 0;
        const Bytes out{dcb->Parity, 0x85};
        EXPECT_TRUE(port.Write(out.data(), 2, &written));
        EXPECT_EQ(ReadUpTo(2), out);
    }
    TDCB bad = ListenDCB;
    bad.ByteSize = 9;
    EXPECT_FALSE(port.SetState(&bad));
    // A purge throws the input away, also one that comes with a format change; the format is
    // the tty's after the purge, or after whatever transfer came first.
    const auto parityOdd = [this] {
        termios t{};
        return tcgetattr(static_cast<int>(port.Handle), &t) == 0 && (t.c_cflag & PARODD) != 0;
    };
    for (const TDCB* format : {static_cast<const TDCB*>(nullptr), &AddressDCB, &ListenDCB}) {
        line.Play({1, 2, 3});
        std::uint32_t queued = 0;
        for (const auto start = Clock::now(); queued < 3 && MsSince(start) < 2000;)
            ASSERT_TRUE(port.GetInQueue(&queued));
        if (format) {
            ASSERT_TRUE(port.SetState(format));
        }
        EXPECT_TRUE(port.Purge());
        if (format) {
            EXPECT_EQ(parityOdd(), format == &AddressDCB);   // MARK has the odd bit, SPACE not
        }
        EXPECT_TRUE(port.GetInQueue(&queued));
        EXPECT_EQ(queued, 0u);
    }
    for (const TDCB* format : {&AddressDCB, &ListenDCB, &AddressDCB}) {
        ASSERT_TRUE(port.SetState(format));
        std::uint32_t n = 0;
        port.Read(bytes, flags, 1, &n);
        EXPECT_EQ(parityOdd(), format == &AddressDCB);
    }
}

// A message whose characters come one by one at the line's pace is read whole with a few
// wake-ups of the reading thread, not one for every byte.
TEST_F(ComPort, BytesAtTheLinesPaceCostAFewWakeUpsNotOneEach)
{
    line.SetEcho(LineSimulator::Echo::Dropped);
    line.SetDevices({}, LineByteTimeUs);   // the paced bus echoes every character on its own
    line.SetByteByByte(true);
    const Bytes message{0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18};
    std::uint32_t n = 0;
    ASSERT_TRUE(port.Write(message.data(), 8, &n));
    const auto wakeUps = [] {
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        return usage.ru_nvcsw;
    };
    const long before = wakeUps();
    ASSERT_TRUE(port.Read(bytes, flags, 8, &n));
    const long woken = wakeUps() - before;
    EXPECT_EQ(Bytes(bytes, bytes + n), message);
    EXPECT_LE(woken, 4);
}

// A read right after a write waits for the echo as long as the line needs to bring it back;
// an echo that comes late, or not at all, is no hang-up.
TEST_F(ComPort, AReadAfterAWriteTakesAnEchoThatComesLateOrNotAtAll)
{
    const Bytes message{0x21, 0x22, 0x23, 0x24};
    const struct {
        LineSimulator::Echo echo;
        std::uint32_t delayMs;
        Bytes heard;
    } cases[] = {{LineSimulator::Echo::Immediate, 0, message},
                 {LineSimulator::Echo::Delayed, 20, message},
                 {LineSimulator::Echo::Dropped, 0, {}}};
    for (const auto& c : cases) {
        line.SetEcho(c.echo, c.delayMs);
        std::uint32_t n = 0;
        ASSERT_TRUE(port.Write(message.data(), 4, &n));
        EXPECT_TRUE(port.Read(bytes, flags, 4, &n));
        EXPECT_EQ(Bytes(bytes, bytes + n), c.heard) << c.delayMs;
        EXPECT_FALSE(port.Lost());
        ASSERT_TRUE(port.Purge());
    }
}

TEST_F(ComPort, HangUpMakesReadFailAndThePortLost)
{
    line.HangUp();
    flags[0] = 7;
    std::uint32_t n = 99;
    bool ok = true;
    for (const auto start = Clock::now(); ok && MsSince(start) < 2000;)
        ok = port.Read(bytes, flags, 4, &n);
    EXPECT_FALSE(ok);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(flags[0], 7);
    EXPECT_TRUE(port.Lost());
    EXPECT_FALSE(port.Write(bytes, 1, &n));
    port.Close();
    EXPECT_FALSE(port.Lost());
}

TEST(ComPortOpen, RefusesNamesThatAreNoSerialLineReopensAndOutlivesItsRecord)
{
    for (const char* name : {"", "null", "../dev/null", "/dev/null", "pts/../null", "pts/", "pts/999999"})
        EXPECT_FALSE(TMVPort(name).Open()) << name;
    LineSimulator line;
    ASSERT_TRUE(line.Ok());
    std::intptr_t handle = InvalidPortHandle;
    {
        TMVPort port(line.PortName());
        ASSERT_TRUE(port.Open() && port.Close() && port.Open());
        handle = port.Handle;
    }
    // The record's destruction leaves the open port alone.
    EXPECT_NE(fcntl(static_cast<int>(handle), F_GETFD), -1);
    close(static_cast<int>(handle));
}

// What a USB adapter's driver is asked, seen through the serial-info seam (a pty has no such
// driver: with the real calls it opens and works exactly as the tests above show).
namespace {
struct FakeDriver {
    int flags, getError, setError;   // the errno of a failing Get or Set, 0: it works
    std::vector<int> sets;           // the flags of every Set, in order
} Driver;

int Fail(int error)
{
    errno = error;
    return -1;
}
int GetInfo(int, serial_struct* info)
{
    info->flags = Driver.flags;
    return Driver.getError ? Fail(Driver.getError) : 0;
}
int SetInfo(int, const serial_struct* info)
{
    Driver.sets.push_back(info->flags);
    if (Driver.setError)
        return Fail(Driver.setError);
    Driver.flags = info->flags;
    return 0;
}
}

TEST(ComPortLatency, AsksForLowLatencyOnOpenGivesTheOldFlagsBackOnCloseAndIgnoresDriversWithout)
{
    const int other = ASYNC_SKIP_TEST | ASYNC_SPD_HI;
    const std::pair<const char*, FakeDriver> cases[] = {
        // the sets expected over one open and close
        {"driver with the request", {other, 0, 0, {other | ASYNC_LOW_LATENCY, other}}},
        {"already low latency", {other | ASYNC_LOW_LATENCY, 0, 0, {}}},
        {"no such request (ENOTTY)", {other, ENOTTY, 0, {}}},
        {"request refused (EINVAL)", {other, 0, EINVAL, {other | ASYNC_LOW_LATENCY}}},
    };
    SetTtySerialInfoCalls({&GetInfo, &SetInfo});
    for (const auto& [what, driver] : cases) {
        Driver = {driver.flags, driver.getError, driver.setError, {}};
        LineSimulator line;
        ASSERT_TRUE(line.Ok());
        TMVPort port(line.PortName());
        EXPECT_TRUE(port.Open()) << what;
        EXPECT_TRUE(port.Close()) << what;
        EXPECT_EQ(Driver.sets, driver.sets) << what;
    }
    SetTtySerialInfoCalls(DefaultTtySerialInfoCalls());
}

// What the back end asks of the tty, seen through the attribute seam: a pty drops the parity and
// the speed, so only what is asked for shows them.
namespace {
struct AttributeSets {
    std::vector<termios> asked;   // every set, in order
    int failWith = 0;             // the errno of the next Set, 0: it works
} Sets;

int SetAttributes(int fd, int actions, const termios* t)
{
    Sets.asked.push_back(*t);
    if (const int error = std::exchange(Sets.failWith, 0))
        return Fail(error);
    return DefaultTtyAttributeCalls().Set(fd, actions, t);
}
int RequestAttributes(int fd, unsigned long request, const termios* t)
{
    Sets.asked.push_back(*t);
    return DefaultTtyAttributeCalls().Request(fd, request, t);
}

class ComPortAttributes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(line.Ok());
        SetTtyAttributeCalls({&SetAttributes, &RequestAttributes});
        Sets = {};
    }
    void TearDown() override { SetTtyAttributeCalls(DefaultTtyAttributeCalls()); }

    LineSimulator line;
    TMVPort port{line.PortName()};
};
}

TEST_F(ComPortAttributes, NineThousandSixHundredBaudEightBitsTheNinthBitAsParityRawWithoutFlowControl)
{
    {   // a tty left cooked, at another speed, with flow control and two stop bits
        const int other = open(("/dev/" + line.PortName().toStdString()).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        ASSERT_TRUE(other >= 0 && tcgetattr(other, &t) == 0);
        t.c_cflag |= CRTSCTS | CSTOPB;
        t.c_iflag |= IXON | IXOFF | INPCK | ISTRIP | ICRNL;
        t.c_lflag |= ICANON | ECHO | ISIG;
        t.c_oflag |= OPOST;
        cfsetspeed(&t, B19200);
        ASSERT_EQ(tcsetattr(other, TCSANOW, &t), 0);
        close(other);
    }
    ASSERT_TRUE(port.Open());
    // A format is set with the purge, or the transfer, that comes after it.
    std::uint32_t queued = 0;
    ASSERT_TRUE(port.SetState(&AddressDCB) && port.Purge() && port.SetState(&ListenDCB) && port.GetInQueue(&queued));
    // clang-format off
    const std::pair<const char*, tcflag_t> states[] = {
        {"opened (SPACE)", PARENB | CMSPAR}, {"address byte (MARK)", PARENB | CMSPAR | PARODD},
        {"listening (SPACE)", PARENB | CMSPAR},
    };
    // clang-format on
    ASSERT_EQ(Sets.asked.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& [state, parity] = states[i];
        const termios& t = Sets.asked[i];
        EXPECT_EQ(cfgetispeed(&t), speed_t(B9600)) << state;
        EXPECT_EQ(cfgetospeed(&t), speed_t(B9600)) << state;
        EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8)) << state;
        EXPECT_EQ(t.c_cflag & CSTOPB, 0u) << state << ": one stop bit";
        EXPECT_EQ(t.c_cflag & (PARENB | CMSPAR | PARODD), parity) << state;
        EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD | CRTSCTS), tcflag_t(CLOCAL | CREAD)) << state;
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | INPCK | PARMRK | IGNPAR | ISTRIP | ICRNL | INLCR | IGNCR), 0u) << state;
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u) << state;
        EXPECT_EQ(t.c_oflag & OPOST, 0u) << state;
    }
    EXPECT_TRUE(port.Close());
}

TEST_F(ComPortAttributes, ARefusalSaysWhyByItsErrno)
{
    // clang-format off
    const std::pair<int, TPortRefusal> refusals[] = {
        {EACCES, TPortRefusal::NoAccess}, {EPERM, TPortRefusal::NoAccess}, {EBUSY, TPortRefusal::Busy},
        {EIO, TPortRefusal::None}, {ENODEV, TPortRefusal::None},
    };
    // clang-format on
    for (const auto& [error, refusal] : refusals) {
        Sets.failWith = error;
        EXPECT_FALSE(port.Open()) << error;
        EXPECT_EQ(port.Refusal, refusal) << error;
    }
    EXPECT_TRUE(port.Open() && port.Refusal == TPortRefusal::None);
    port.Close();
}

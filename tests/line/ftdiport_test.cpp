// The FTDI back end against the fake adapter library: the calls it makes, in order, and how it
// fails.
#include <cstring>
#include <gtest/gtest.h>

#include "line/Port.h"
#include "platform/D2xx.h"
#include "support/FakeFtdi.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kPrepare =
    "FT_Open(0) FT_SetBaudRate(9600) FT_SetTimeouts(40,40) FT_SetFlowControl(0,0,0) FT_SetLatencyTimer(1)";

class FtdiPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fake.Ok());
        ASSERT_NE(LoadFtdiLibrary(FakeFtdi::Path()), nullptr);
    }
    void TearDown() override
    {
        port.Close();
        FreeFtdiLibrary();
    }

    FakeFtdi fake;
    TMVPort port {"USB"};
};

TEST_F(FtdiPort, OpenPreparesTheFirstAdapterAndCloseResetsIt)
{
    port.SetName("usb");
    ASSERT_TRUE(port.Open());
    EXPECT_NE(port.Handle, InvalidPortHandle);
    EXPECT_EQ(fake.Log(), kPrepare);
    fake.ClearLog();
    EXPECT_TRUE(port.Close());
    EXPECT_EQ(fake.Log(), "FT_ResetDevice() FT_Close()");
    EXPECT_EQ(port.Handle, InvalidPortHandle);
    EXPECT_FALSE(fake.IsOpen());
}

TEST_F(FtdiPort, FirstFailingSetupCallEndsWithResetAndClose)
{
    const struct {
        const char* failing;
        const char* logged;
    } cases[] = {
        {"FT_SetBaudRate", "FT_Open(0) FT_SetBaudRate(9600)"},
        {"FT_SetTimeouts", "FT_Open(0) FT_SetBaudRate(9600) FT_SetTimeouts(40,40)"},
        {"FT_SetFlowControl", "FT_Open(0) FT_SetBaudRate(9600) FT_SetTimeouts(40,40) FT_SetFlowControl(0,0,0)"},
        {"FT_SetLatencyTimer", "FT_Open(0) FT_SetBaudRate(9600) FT_SetTimeouts(40,40) FT_SetFlowControl(0,0,0) "
                               "FT_SetLatencyTimer(1)"},
    };
    for (const auto& c : cases) {
        fake.Reset();
        fake.Fail(c.failing, d2xx::FT_IO_ERROR);
        EXPECT_FALSE(port.Open()) << c.failing;
        EXPECT_EQ(port.Handle, InvalidPortHandle) << c.failing;
        EXPECT_EQ(fake.Log(), std::string(c.logged) + " FT_ResetDevice() FT_Close()") << c.failing;
        EXPECT_FALSE(fake.IsOpen()) << c.failing;
    }
}

TEST_F(FtdiPort, NoAdapterMeansOneCallAndFalse)
{
    fake.SetDevices(0);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(fake.Log(), "FT_Open(0)");
    EXPECT_EQ(port.Handle, InvalidPortHandle);
}

TEST_F(FtdiPort, OperationsPassTheirArgumentsThrough)
{
    ASSERT_TRUE(port.Open());
    fake.ClearLog();
    EXPECT_TRUE(port.SetState(&AddressDCB));
    EXPECT_TRUE(port.SetState(&ListenDCB));
    EXPECT_TRUE(port.Purge());
    const Bytes request {0x85, 0x01, 0x84};
    std::uint32_t written = 0;
    EXPECT_TRUE(port.Write(request.data(), 3, &written));
    EXPECT_EQ(written, 3u);
    std::uint32_t queued = 0;
    EXPECT_TRUE(port.GetInQueue(&queued));
    EXPECT_EQ(queued, 3u);
    std::uint8_t bytes[8], flags[8];
    std::memset(flags, 0xAA, sizeof flags);
    std::uint32_t n = 0;
    EXPECT_TRUE(port.Read(bytes, flags, 8, &n));
    ASSERT_EQ(n, 3u);
    EXPECT_EQ(Bytes(bytes, bytes + 3), request);
    EXPECT_EQ(Bytes(flags, flags + 8), (Bytes {0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));
    EXPECT_EQ(fake.Log(), "FT_SetDataCharacteristics(8,0,3) FT_SetDataCharacteristics(8,0,4) FT_Purge(3) "
                          "FT_Write(3) FT_GetQueueStatus() FT_Read(8)");
}

TEST_F(FtdiPort, ReadErrorMeansTheAdapterIsLost)
{
    ASSERT_TRUE(port.Open());
    fake.Feed({1, 2});
    fake.Fail("FT_Read", d2xx::FT_IO_ERROR);
    std::uint8_t bytes[4], flags[4] = {7, 7, 7, 7};
    std::uint32_t n = 99;
    EXPECT_FALSE(port.Read(bytes, flags, 4, &n));
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(flags[0], 7);
    EXPECT_TRUE(port.Lost());
    port.Close();
    EXPECT_FALSE(port.Lost());
}

TEST_F(FtdiPort, WriteErrorMeansTheAdapterIsLost)
{
    ASSERT_TRUE(port.Open());
    fake.Fail("FT_Write", d2xx::FT_IO_ERROR);
    const std::uint8_t b = 0;
    std::uint32_t written = 99;
    EXPECT_FALSE(port.Write(&b, 1, &written));
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(port.Lost());
}

TEST(FtdiPortWithoutLibrary, FailsCleanly)
{
    FreeFtdiLibrary();
    ASSERT_FALSE(d2xx::Loaded());
    TMVPort port("USB");
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.Handle, InvalidPortHandle);
    port.Handle = 1234;   // even a stale handle reaches no entry point
    std::uint8_t bytes[2], flags[2];
    std::uint32_t n = 99;
    EXPECT_FALSE(port.Read(bytes, flags, 2, &n));
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(port.Write(bytes, 2, &n));
    EXPECT_FALSE(port.SetState(&ListenDCB));
    EXPECT_FALSE(port.Purge());
    EXPECT_FALSE(port.GetInQueue(&n));
    EXPECT_FALSE(port.Close());
}

TEST(FtdiPortWithoutLibrary, DefaultLibraryNameIsNotFoundHere)
{
    // The adapter library is not installed on build machines; the program then offers no "USB".
    void* module = LoadFtdiLibrary();
    if (module) {
        FreeFtdiLibrary();
        GTEST_SKIP() << "an adapter library is installed on this machine";
    }
    TMVPort port("USB");
    EXPECT_FALSE(port.Open());
}

} // namespace

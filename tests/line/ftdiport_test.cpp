// The port record and its FTDI back end against the fake adapter library: which names reach the
// adapter, the calls the back end makes in order, and how it fails.
#include <cstring>
#include <gtest/gtest.h>

#include "line/Port.h"
#include "platform/D2xx.h"
#include "support/FakeFtdi.h"

using Bytes = std::vector<std::uint8_t>;

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
    bool OpensAdapter(TMVPort& p)
    {
        fake.ClearLog();
        if (p.Open())
            p.Close();
        return fake.Log().find("FT_Open") != std::string::npos;
    }

    FakeFtdi fake;
    TMVPort port{"USB"};
};

TEST_F(FtdiPort, OnlyTheWholeNameUsbInAnyCaseSelectsTheAdapterAndAssignRebinds)
{
    const std::pair<const char*, bool> cases[] = {
        {"usb", true}, {"uSb", true}, {"USBX", false}, {" USB", false}, {"COM3", false}, {"", false}, {"\xC5\xBF"
                                                                                                       "sb",
                                                                                                       false},   // a long s folds to 's' in Unicode, not in ASCII
    };
    for (const auto& [name, adapter] : cases) {
        TMVPort p(QString::fromUtf8(name));
        EXPECT_EQ(OpensAdapter(p), adapter) << name;
    }
    TMVPort p("COM3"), com("COM3");
    p.SetName("usb");
    p.Handle = 42;
    com.Assign(p);
    EXPECT_EQ(com.Handle, 42);
    com.Handle = InvalidPortHandle;
    EXPECT_TRUE(OpensAdapter(com));
    com.Assign(TMVPort("COM3"));
    EXPECT_FALSE(OpensAdapter(com));
}

// Open prepares the first adapter call by call; the first failing call, like Close, resets and
// closes it.
TEST_F(FtdiPort, OpenPreparesTheFirstAdapterAndCloseOrAFailingSetupCallResetsIt)
{
    std::string logged = "FT_Open(0)";
    for (const char* call :
         {"FT_SetBaudRate(9600)", "FT_SetTimeouts(40,40)", "FT_SetFlowControl(0,0,0)", "FT_SetLatencyTimer(1)"}) {
        logged += std::string(" ") + call;
        const std::string failing(call, std::strchr(call, '('));
        fake.Reset();
        fake.Fail(failing.c_str(), d2xx::FT_IO_ERROR);
        EXPECT_FALSE(port.Open()) << failing;
        EXPECT_EQ(port.Handle, InvalidPortHandle) << failing;
        EXPECT_EQ(fake.Log(), logged + " FT_ResetDevice() FT_Close()") << failing;
        EXPECT_FALSE(fake.IsOpen()) << failing;
    }
    fake.Reset();
    ASSERT_TRUE(port.Open());
    EXPECT_EQ(fake.Log(), logged);
    fake.ClearLog();
    EXPECT_TRUE(port.Close());
    EXPECT_EQ(fake.Log(), "FT_ResetDevice() FT_Close()");
    EXPECT_EQ(port.Handle, InvalidPortHandle);

    fake.SetDevices(0);   // no adapter: one call and false
    fake.ClearLog();
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(fake.Log(), "FT_Open(0)");
}

TEST_F(FtdiPort, OperationsPassTheirArgumentsThrough)
{
    ASSERT_TRUE(port.Open());
    fake.ClearLog();
    EXPECT_TRUE(port.SetState(&AddressDCB) && port.SetState(&ListenDCB) && port.Purge());
    std::uint8_t bytes[8] = {0x85, 0x01, 0x84}, flags[8];
    std::uint32_t written = 0, queued = 0, n = 0;
    EXPECT_TRUE(port.Write(bytes, 3, &written) && port.GetInQueue(&queued));
    std::memset(flags, 0xAA, sizeof flags);
    EXPECT_TRUE(port.Read(bytes, flags, 8, &n));
    EXPECT_EQ(Bytes(flags, flags + 4), (Bytes{0, 0, 0, 0xAA}));
    EXPECT_EQ(fake.Log(), "FT_SetDataCharacteristics(8,0,3) FT_SetDataCharacteristics(8,0,4) FT_Purge(3) "
                          "FT_Write(3) FT_GetQueueStatus() FT_Read(8)");
}

TEST_F(FtdiPort, ReadOrWriteErrorMeansTheAdapterIsLost)
{
    std::uint8_t bytes[4], flags[4] = {7, 7, 7, 7};
    for (const char* failing : {"FT_Read", "FT_Write"}) {
        ASSERT_TRUE(port.Open());
        fake.Feed({1, 2});
        fake.Fail(failing, d2xx::FT_IO_ERROR);
        std::uint32_t n = 99;
        EXPECT_FALSE(failing[3] == 'R' ? port.Read(bytes, flags, 4, &n) : port.Write(bytes, 1, &n)) << failing;
        EXPECT_EQ(n, 0u) << failing;
        EXPECT_TRUE(port.Lost()) << failing;
        port.Close();
        EXPECT_FALSE(port.Lost());
        fake.Reset();
    }
    EXPECT_EQ(flags[0], 7);
}

// Closed, or named for an adapter whose library is not loaded (even with a stale handle): every
// operation fails, reports nothing read or written and touches no flag.
TEST(ClosedPort, ActsOnNothing)
{
    FreeFtdiLibrary();
    TMVPort com("pts/0"), adapter("USB");
    EXPECT_FALSE(adapter.Open());
    adapter.Handle = 1234;
    for (TMVPort* port : {&com, &adapter}) {
        std::uint8_t bytes[4] = {}, flags[4] = {9, 9, 9, 9};
        std::uint32_t n = 99, m = 99;
        EXPECT_FALSE(port->Read(bytes, flags, 4, &n) || port->Write(bytes, 4, &m));
        EXPECT_EQ(n + m, 0u);
        EXPECT_EQ(flags[0], 9);
        EXPECT_FALSE(port->Purge() || port->SetState(&ListenDCB) || port->GetInQueue(&n) || port->Close());
    }
}

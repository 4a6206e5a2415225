// The port record: which back end a name binds, Assign, the line-state constants, and that a
// record's destruction leaves an open port alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "line/Port.h"
#include "platform/D2xx.h"
#include "support/FakeFtdi.h"
#include "support/PtyPair.h"

namespace {

// The FTDI back end is the one that reaches the adapter library on Open.
class PortBinding : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fake.Ok());
        ASSERT_NE(LoadFtdiLibrary(FakeFtdi::Path()), nullptr);
    }
    void TearDown() override { FreeFtdiLibrary(); }

    bool OpensAdapter(TMVPort& port)
    {
        fake.ClearLog();
        if (port.Open())
            port.Close();
        return fake.Log().find("FT_Open") != std::string::npos;
    }

    FakeFtdi fake;
};

TEST_F(PortBinding, OnlyTheWholeNameUsbInAnyCaseSelectsTheAdapter)
{
    const struct {
        const char* name;
        bool adapter;
    } cases[] = {
        {"USB", true}, {"usb", true}, {"uSb", true}, {"USBX", false}, {"USB1", false},
        {" USB", false}, {"COM3", false}, {"", false}, {"ttyUSB0", false},
        {"\xC5\xBF" "sb", false},   // a long s folds to 's' in Unicode, not in ASCII
    };
    for (const auto& c : cases) {
        TMVPort port(QString::fromUtf8(c.name));
        EXPECT_EQ(OpensAdapter(port), c.adapter) << c.name;
        EXPECT_EQ(IsFtdiPortName(QString::fromUtf8(c.name)), c.adapter) << c.name;
    }
}

TEST_F(PortBinding, SetNameRebindsAndKeepsTheHandle)
{
    TMVPort port;
    EXPECT_TRUE(port.Name.isEmpty());
    EXPECT_EQ(port.Handle, InvalidPortHandle);
    port.Handle = 42;
    port.SetName("usb");
    EXPECT_EQ(port.Handle, 42);
    port.Handle = InvalidPortHandle;
    EXPECT_TRUE(OpensAdapter(port));
    port.SetName("COM3");
    EXPECT_FALSE(OpensAdapter(port));
    port.SetName("USB");
    EXPECT_TRUE(OpensAdapter(port));
}

TEST_F(PortBinding, AssignTakesHandleNameAndBackEndOfTheSource)
{
    TMVPort adapterPort("USB");
    TMVPort comPort("ttyS1");
    adapterPort.Handle = 7;

    comPort.Assign(adapterPort);
    EXPECT_EQ(comPort.Name, "USB");
    EXPECT_EQ(comPort.Handle, 7);
    comPort.Handle = InvalidPortHandle;
    EXPECT_TRUE(OpensAdapter(comPort));

    TMVPort other("COM3");
    adapterPort.Assign(other);
    EXPECT_EQ(adapterPort.Name, "COM3");
    EXPECT_EQ(adapterPort.Handle, InvalidPortHandle);
    EXPECT_FALSE(OpensAdapter(adapterPort));
}

TEST(PortOperations, AreNeverEmpty)
{
    for (const char* name : {"", "USB", "COM1"}) {
        TMVPort port(name);
        EXPECT_TRUE(port.Open && port.Close && port.Purge && port.SetState && port.Read &&
                    port.Write && port.GetInQueue)
            << name;
    }
}

TEST(PortOperations, ActOnNothingWhileClosed)
{
    for (const char* name : {"pts/0", "USB"}) {
        TMVPort port(name);
        std::uint8_t bytes[4] = {}, flags[4] = {9, 9, 9, 9};
        std::uint32_t n = 99;
        EXPECT_FALSE(port.Read(bytes, flags, 4, &n)) << name;
        EXPECT_EQ(n, 0u);
        EXPECT_EQ(flags[0], 9);
        n = 99;
        EXPECT_FALSE(port.Write(bytes, 4, &n)) << name;
        EXPECT_EQ(n, 0u);
        EXPECT_FALSE(port.Purge()) << name;
        EXPECT_FALSE(port.SetState(&ListenDCB)) << name;
        EXPECT_FALSE(port.Close()) << name;
        EXPECT_FALSE(port.GetInQueue(&n)) << name;
    }
}

TEST(LineStates, DescribeNineBitLineAt9600)
{
    for (const TDCB* dcb : {&ListenDCB, &AddressDCB}) {
        EXPECT_EQ(dcb->DCBlength, 28u);
        EXPECT_EQ(dcb->BaudRate, 9600u);
        EXPECT_EQ(dcb->Flags, 3u);
        EXPECT_EQ(dcb->ByteSize, 8);
        EXPECT_EQ(dcb->StopBits, OneStopBit);
        EXPECT_EQ(static_cast<std::uint8_t>(dcb->ErrorChar), 0xFF);
        EXPECT_EQ(dcb->XonLim + dcb->XoffLim + dcb->XonChar + dcb->XoffChar + dcb->EofChar + dcb->EvtChar, 0);
    }
    EXPECT_EQ(ListenDCB.Parity, ParitySpace);
    EXPECT_EQ(AddressDCB.Parity, ParityMark);
    EXPECT_EQ(ComTimeouts.ReadIntervalTimeout, 40u);
    EXPECT_EQ(ComTimeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(ComTimeouts.ReadTotalTimeoutConstant, 40u);
    EXPECT_EQ(ComTimeouts.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(ComTimeouts.WriteTotalTimeoutConstant, 40u);
}

TEST(PortLifetime, DestructionLeavesTheOpenPortOpen)
{
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    std::intptr_t handle;
    {
        TMVPort port(pty.PortName());
        ASSERT_TRUE(port.Open());
        handle = port.Handle;
    }
    EXPECT_NE(fcntl(static_cast<int>(handle), F_GETFD), -1);
    close(static_cast<int>(handle));
}

} // namespace

// The port control without a window: the port switch and the receive thread's life, the choice
// of a port, of auto-detection and of the priority, and the port list as ports come and go.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/D2xx.h"
#include "support/FakeFtdi.h"
#include "support/FakePortView.h"

namespace {

class PortControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ttyDir.isValid());
        qputenv("MIRVANE_TTY_CLASS_DIR", ttyDir.path().toLocal8Bit());
        ports.Attach(std::make_unique<FakePortView>(log, closing));
    }
    void TearDown() override
    {
        closing = true;
        if (ports.ReceiveThread)
            Thread()->End();
        ports.Detach();
    }
    LoggingReceiveThread* Thread() const { return static_cast<LoggingReceiveThread*>(ports.ReceiveThread); }
    void AddTty(const char* name) { ASSERT_TRUE(QDir().mkpath(ttyDir.filePath(QLatin1String(name) + "/device"))); }
    QStringList Take() { return std::exchange(log, {}); }

    QTemporaryDir ttyDir;
    QStringList log;
    bool closing = false;
    TPortControl ports{[this]() -> IReceiveThread* { return new LoggingReceiveThread(log); }};
};

using Log = QStringList;

} // namespace

TEST_F(PortControlTest, SwitchingThePortEndsOrStartsTheThreadAndOnlyItsEndShowsThePortClosed)
{
    ports.PollPriority = 4;
    ports.StartReceiveThread();
    EXPECT_EQ(Take(), (Log{"thread priority 4", "thread resume"}));
    ports.SwitchPortOpen();
    EXPECT_EQ(Take(), (Log{"open 0", "thread terminate"}));
    Thread()->End();
    EXPECT_EQ(Take(), (Log{"open 0", "closed"}));
    EXPECT_FALSE(ports.PortOpen || ports.ReceiveThread);

    ports.SwitchPortOpen();
    EXPECT_EQ(Take(), (Log{"open 1", "thread priority 4", "thread resume"}));
    // Off and on again before the thread has ended: a fresh one starts from its end.
    ports.SwitchPortOpen();
    ports.SwitchPortOpen();
    Take();
    Thread()->End();
    EXPECT_EQ(Take(), (Log{"thread priority 4", "thread resume"}));
    EXPECT_TRUE(ports.PortOpen && ports.ReceiveThread);

    // The end of a closing window's thread completes the close and leaves the port on.
    closing = true;
    Thread()->End();
    EXPECT_EQ(Take(), Log{"close"});
    EXPECT_TRUE(ports.PortOpen && !ports.ReceiveThread);

    TPortControl none{[]() -> IReceiveThread* { return nullptr; }};
    none.Attach(std::make_unique<FakePortView>(log, closing));
    none.StartReceiveThread();
    EXPECT_EQ(Take(), Log{"closed"});
}

TEST_F(PortControlTest, ChoicesReconnectARunningThreadUnlessTheyChangeNothing)
{
    AddTty("ttyUSB1");
    AddTty("ttyUSB0");
    ports.UpdatePortList();
    ports.ConfigurePort(QStringLiteral("TTYUSB0"));   // takes the listed spelling
    EXPECT_EQ(Take(), (Log{"list", "check 0"}));
    ports.StartReceiveThread();
    Take();

    ports.ChoosePort(0);   // the configured one: only its check mark
    ports.ChoosePort(2);   // no such item
    ports.ChoosePriority(ports.PollPriority);
    EXPECT_EQ(Take(), Log{"check 0"});
    ports.ChoosePort(1);
    ports.SwitchAutoDetect();
    ports.ChoosePriority(6);
    EXPECT_EQ(Take(), (Log{"check 1", "thread reconnect", "ready", "auto 0", "thread reconnect", "ready",
                           "thread priority 6", "thread reset stats"}));
    const TPortSettings read = ports.Settings();   // what the thread reads while it detects
    EXPECT_EQ(std::tuple(read.AutoDetect, read.SettingsPort, read.PortList),
              std::tuple(false, QStringLiteral("ttyUSB1"), QStringList{"ttyUSB0", "ttyUSB1"}));
}

TEST_F(PortControlTest, APluggedPortOrAChangedFtdiCountRebuildsOrReconnectsOnce)
{
    FakeFtdi ftdi;
    ASSERT_NE(LoadFtdiLibrary(FakeFtdi::Path()), nullptr);   // found by the control's own load
    AddTty("ttyUSB0");
    ports.StartReceiveThread();
    ports.UpdatePortList();
    EXPECT_EQ(ports.PortListNames(), (QStringList{"ttyUSB0", "USB"}));   // the FTDI entry last
    struct { const char* tty; int devices; std::uint32_t listFails; Log shown; } const steps[] = {
        {nullptr, 1, 0, {}},   // nothing changed
        {"ttyACM0", 1, 0, {"list", "thread reconnect", "ready"}},
        {nullptr, 2, 0, {"thread reconnect", "ready"}},
        {nullptr, 3, 4, {}},   // the count is not compared when the call fails
    };
    Take();
    for (const auto& s : steps) {
        SCOPED_TRACE(int(&s - steps));
        if (s.tty)
            AddTty(s.tty);
        ftdi.SetDevices(s.devices);
        ftdi.Fail("FT_ListDevices", s.listFails);
        ports.UpdatePortList();
        EXPECT_EQ(Take(), s.shown);
    }
    EXPECT_EQ(ports.PortListNames(), (QStringList{"ttyACM0", "ttyUSB0", "USB"}));
    closing = true;
    Thread()->End();
    ports.Detach();
    EXPECT_FALSE(d2xx::Loaded()) << "the window's going releases the library";
}

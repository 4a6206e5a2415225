// A configured port is a serial line: names that reach the program's own terminal, a console or
// a pty master are refused without touching them, a pty slave stays usable, and closing a tty
// gives back the attributes it had.
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "platform/Serial.h"

namespace {

// A new pty: its master and the slave's name under /dev ("pts/N").
struct TPty {
    TPty()
    {
        char name[64];
        if (Master >= 0 && grantpt(Master) == 0 && unlockpt(Master) == 0 && ptsname_r(Master, name, sizeof name) == 0)
            Name = name + 5;
    }
    int Master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::string Name;
    ~TPty()
    {
        if (Master >= 0)
            close(Master);
    }
};

bool SameAttributes(const termios& a, const termios& b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
           std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 && cfgetispeed(&a) == cfgetispeed(&b) &&
           cfgetospeed(&a) == cfgetospeed(&b);
}

}   // namespace

TEST(SerialNames, TerminalDevicesAreKnownByTheirNumbers)
{
    // clang-format off
    const struct { const char* name; unsigned major, minor; bool terminal; } devices[] = {
        {"tty", 5, 0, true}, {"console", 5, 1, true}, {"ptmx", 5, 2, true}, {"tty0", 4, 0, true},
        {"tty63", 4, 63, true}, {"ptyp0", 2, 0, true}, {"a pty master", 128, 0, true},
        {"ttyS0", 4, 64, false}, {"ttyUSB0", 188, 0, false}, {"ttyACM0", 166, 0, false}, {"pts/3", 136, 3, false},
    };
    // clang-format on
    for (const auto& d : devices)
        EXPECT_EQ(IsTerminalDevice(d.major, d.minor), d.terminal) << d.name;
}

// What may follow "/dev/": a relative name without an empty, "." or ".." part.
TEST(SerialNames, OnlyPlainNamesAreTakenBelowDev)
{
    // clang-format off
    const struct { const char* name; bool plain; } names[] = {
        {"ttyUSB0", true}, {"pts/3", true}, {"", false}, {"/dev/ttyS0", false}, {"../ttyS0", false},
        {"pts/../ttyS0", false}, {"./ttyS0", false}, {"pts//3", false}, {"pts/", false}, {"pts/..", false},
    };
    // clang-format on
    for (const auto& n : names)
        EXPECT_EQ(IsPlainTtyName(n.name), n.plain) << n.name;
}

// Run in a child that has a pty as its controlling terminal and standard input, so that the
// names lead to a terminal of the test's own.
TEST(SerialNames, NamesThatReachTheProgramsTerminalOrMakeAPtyAreRefusedAndTheTerminalIsLeftAsItWas)
{
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t child = fork();
    if (child == 0) {
        std::string refusedNot;
        TPty own, other;
        const std::string ownPath = "/dev/" + own.Name;
        int slave = -1;
        termios before{}, after{};
        if (setsid() < 0 || (slave = open(ownPath.c_str(), O_RDWR)) < 0 || dup2(slave, 0) != 0 ||
            tcgetattr(slave, &before) != 0)
            _exit(2);
        for (const std::string& name : {std::string("tty"), std::string("fd/0"), std::string("stdin"),
                                        std::string("ptmx"), std::string("pts/ptmx"), own.Name}) {
            const int fd = OpenTty(name);
            if (fd >= 0) {
                refusedNot += name + " ";
                CloseTty(fd);
            }
        }
        if (tcgetattr(slave, &after) != 0 || !SameAttributes(before, after))
            refusedNot += "(the terminal was changed) ";
        const int usable = OpenTty(other.Name);   // a pty slave that is no terminal of ours
        if (usable < 0)
            refusedNot += "(a pty slave was refused) ";
        CloseTty(usable);
        const ssize_t written = write(report[1], refusedNot.data(), refusedNot.size());
        _exit(written == ssize_t(refusedNot.size()) ? 0 : 3);
    }
    close(report[1]);
    std::string refusedNot;
    char buffer[256];
    for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;)
        refusedNot.append(buffer, std::size_t(n));
    close(report[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(refusedNot, "") << "opened";
}

TEST(SerialNames, ClosingATtyGivesBackTheAttributesItHad)
{
    TPty pty;
    ASSERT_FALSE(pty.Name.empty());
    const int keeper = open(("/dev/" + pty.Name).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);   // keeps the slave alive
    ASSERT_GE(keeper, 0);
    termios before{}, after{};
    ASSERT_EQ(tcgetattr(keeper, &before), 0);
    ASSERT_TRUE(before.c_lflag & ECHO);
    const int fd = OpenTty(pty.Name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(tcgetattr(keeper, &after), 0);
    EXPECT_FALSE(after.c_lflag & ECHO) << "raw while open";
    EXPECT_TRUE(CloseTty(fd));
    ASSERT_EQ(tcgetattr(keeper, &after), 0);
    EXPECT_TRUE(SameAttributes(before, after));
    close(keeper);
}

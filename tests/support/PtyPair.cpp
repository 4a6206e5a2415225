#include "PtyPair.h"

#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        return;
    // NOLINTNEXTLINE(concurrency-mt-unsafe): a test opens its ptys on its one thread
    if (const char* name = ptsname(master_))
        slavePath_ = name;
    // Terminal settings made through the master apply to the slave: raw from the start, so that
    // nothing the line plays is echoed before the port opens.
    termios t {};
    if (tcgetattr(master_, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(master_, TCSANOW, &t);
    }
    keeper_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

PtyPair::~PtyPair()
{
    for (int fd : {master_, keeper_})
        if (fd >= 0)
            close(fd);
}

// ptsname gives "/dev/pts/N".
QString PtyPair::PortName() const { return QString::fromStdString(slavePath_).mid(5); }

#include "PtyPair.h"

#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        CloseMaster();
        return;
    }
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
    CloseMaster();
    if (keeper_ >= 0)
        close(keeper_);
}

QString PtyPair::PortName() const
{
    const std::string prefix = "/dev/";
    return QString::fromStdString(slavePath_.substr(slavePath_.rfind(prefix, 0) == 0 ? prefix.size() : 0));
}

int PtyPair::ReleaseMaster()
{
    const int fd = master_;
    master_ = -1;
    return fd;
}

void PtyPair::CloseMaster()
{
    if (master_ >= 0)
        close(master_);
    master_ = -1;
}

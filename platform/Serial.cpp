#include "platform/Serial.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstddef>
#include <fcntl.h>
#include <linux/serial.h>
#include <map>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// Line-state codes (the same numbers the adapter library uses).
constexpr std::uint8_t kNoParity = 0, kOddParity = 1, kEvenParity = 2, kMarkParity = 3,
                       kSpaceParity = 4;
constexpr std::uint8_t kOneStopBit = 0, kOneAndHalfStopBits = 1, kTwoStopBits = 2;
constexpr tcflag_t kParityBits = PARENB | PARODD | CMSPAR;
// Pseudo-terminal slaves (/dev/pts/N) have majors 136 to 143.
constexpr unsigned kPtySlaveFirstMajor = 136, kPtySlaveLastMajor = 143;

int GetSerialInfo(int fd, serial_struct* info) { return ioctl(fd, TIOCGSERIAL, info); }
int SetSerialInfo(int fd, const serial_struct* info) { return ioctl(fd, TIOCSSERIAL, info); }

TtySerialInfoCalls serialInfoCalls{&GetSerialInfo, &SetSerialInfo};

int SetAttributesNow(int fd, int optionalActions, const termios* t) { return tcsetattr(fd, optionalActions, t); }
int RequestAttributes(int fd, unsigned long request, const termios* t) { return ioctl(fd, request, t); }

TtyAttributeCalls attributeCalls{&SetAttributesNow, &RequestAttributes};

// What a port had when it was opened, by descriptor, to be given back when it closes: the
// receive thread opens and closes, a test may close from another thread.
template <typename T>
class KeptByDescriptor {
public:
    void Keep(int fd, const T& value)
    {
        const std::lock_guard lock(mutex_);
        kept_[fd] = value;
    }
    // The value kept for fd, forgotten; none when nothing was kept.
    std::optional<T> Take(int fd)
    {
        const std::lock_guard lock(mutex_);
        const auto it = kept_.find(fd);
        if (it == kept_.end())
            return std::nullopt;
        const T value = it->second;
        kept_.erase(it);
        return value;
    }

private:
    std::mutex mutex_;
    std::map<int, T> kept_;
};

// A USB serial adapter's driver holds received bytes until its latency timer runs out (16 ms on
// the common chips), which would make every short answer late and bring echoes in lumps. Drivers
// that honour the low-latency flag set that timer to 1 ms. The flags a port found are given back
// when it closes, since the adapter outlives us; a driver (or pty) without the request is left
// as it is, and that is no error.
class LatencyRequests {
public:
    void Lower(int fd)
    {
        serial_struct info{};
        if (serialInfoCalls.Get(fd, &info) != 0 || (info.flags & ASYNC_LOW_LATENCY))
            return;
        const int oldFlags = info.flags;
        info.flags |= ASYNC_LOW_LATENCY;
        if (serialInfoCalls.Set(fd, &info) == 0)
            oldFlags_.Keep(fd, oldFlags);
    }

    void Restore(int fd)
    {
        const std::optional<int> oldFlags = oldFlags_.Take(fd);
        serial_struct info{};
        if (!oldFlags || serialInfoCalls.Get(fd, &info) != 0)
            return;
        info.flags = *oldFlags;
        serialInfoCalls.Set(fd, &info);
    }

private:
    KeptByDescriptor<int> oldFlags_;   // the flags each open port found
};

LatencyRequests latency;

// A tty keeps its attributes after it is closed: a terminal or port left raw at 9600 baud stays
// so for whoever uses it next. What it had when it was opened is given back when it closes.
class AttributeKeeper {
public:
    void Keep(int fd, const termios& attributes) { kept_.Keep(fd, attributes); }
    void Restore(int fd)
    {
        if (const std::optional<termios> attributes = kept_.Take(fd))
            attributeCalls.Set(fd, TCSANOW, &*attributes);
    }

private:
    KeptByDescriptor<termios> kept_;
};

AttributeKeeper attributes;

bool IsHangUpError(int error) { return error == EIO || error == ENXIO || error == EPIPE; }

// Some character devices act on open alone (a watchdog arms itself, ptmx makes a new pty); a
// name from a settings file must not reach them. Devices that sysfs knows must be ttys, and no
// terminal; pty slaves are not in sysfs.
bool IsTtyDevice(const struct stat& st)
{
    if (!S_ISCHR(st.st_mode) || IsTerminalDevice(major(st.st_rdev), minor(st.st_rdev)))
        return false;
    const std::string sys = "/sys/dev/char/" + std::to_string(major(st.st_rdev)) + ":" +
                            std::to_string(minor(st.st_rdev)) + "/subsystem";
    char target[PATH_MAX];
    const ssize_t n = readlink(sys.c_str(), target, sizeof target - 1);
    if (n < 0)
        return errno == ENOENT;
    const std::string subsystem(target, static_cast<std::size_t>(n));
    return subsystem.size() >= 4 && subsystem.compare(subsystem.size() - 4, 4, "/tty") == 0;
}

// /dev/fd and /dev/stdin lead through /proc to whatever the program holds open, its own
// terminal included: a configured port names a device, never a descriptor of ours.
bool ReachesThroughProc(const std::string& path)
{
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        char target[PATH_MAX];
        const ssize_t n = readlink(path.substr(0, end).c_str(), target, sizeof target - 1);
        if (n > 0 && ("/" + std::string(target, static_cast<std::size_t>(n)) + "/").find("/proc/") != std::string::npos)
            return true;
        if (end == std::string::npos)
            return false;
    }
}

// The program's own terminal, whatever name reached it.
bool IsControllingTerminal(int fd)
{
    pid_t session = 0;
    return ioctl(fd, TIOCGSID, &session) == 0 && session == getsid(0);
}

bool IsPty(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return false;
    const unsigned m = major(st.st_rdev);
    return m >= kPtySlaveFirstMajor && m <= kPtySlaveLastMajor;
}

bool ApplyParity(termios& t, std::uint8_t parity)
{
    t.c_cflag &= ~kParityBits;
    switch (parity) {
    case kNoParity: return true;
    case kOddParity: t.c_cflag |= PARENB | PARODD; return true;
    case kEvenParity: t.c_cflag |= PARENB; return true;
    case kMarkParity: t.c_cflag |= PARENB | CMSPAR | PARODD; return true;
    case kSpaceParity: t.c_cflag |= PARENB | CMSPAR; return true;
    default: return false;
    }
}

bool ApplyByteSize(termios& t, std::uint8_t byteSize)
{
    t.c_cflag &= ~CSIZE;
    switch (byteSize) {
    case 5: t.c_cflag |= CS5; return true;
    case 6: t.c_cflag |= CS6; return true;
    case 7: t.c_cflag |= CS7; return true;
    case 8: t.c_cflag |= CS8; return true;
    default: return false;
    }
}

bool ApplyStopBits(termios& t, std::uint8_t stopBits)
{
    switch (stopBits) {
    case kOneStopBit: t.c_cflag &= ~CSTOPB; return true;
    case kOneAndHalfStopBits:
    case kTwoStopBits: t.c_cflag |= CSTOPB; return true;
    default: return false;
    }
}

// A pty keeps no parity: it clears PARENB, and tcsetattr then reports EINVAL whenever the
// parity bits are all that differ. That is no broken port: the rest took effect.
bool SetAttributes(int fd, const termios& wanted, bool pty)
{
    if (attributeCalls.Set(fd, TCSANOW, &wanted) == 0)
        return true;
    if (errno != EINVAL || !pty)
        return false;
    termios now{};
    if (tcgetattr(fd, &now) != 0)
        return false;
    return (now.c_cflag & ~kParityBits) == (wanted.c_cflag & ~kParityBits) &&
           now.c_iflag == wanted.c_iflag && now.c_oflag == wanted.c_oflag &&
           now.c_lflag == wanted.c_lflag;
}

// A format change comes twice a poll, between an answer and the next request: it is one system
// call. The C library's tcsetattr reads the attributes back after every set, to report a parity
// bit the kernel dropped; a pty always drops it, and the port keeps its own idea of its parity, so
// that read-back, and ours after the error it reports, bought nothing. An address byte still in
// the UART must leave with the parity it was written with: a real port drains its output in the
// same call. A pty has no UART, and draining it would wait for whoever reads the other end,
// except where a purge of the input comes with it (the kernel's drain of a pty returns at once
// today, and the echo of the program's last bytes has been read by then in any case).
bool SetFormatAttributes(int fd, const termios& t, bool pty, bool flushInput)
{
#if defined(__linux__) && !(defined(__alpha__) || defined(__mips__) || defined(__powerpc__) || defined(__sparc__))
    // Where the kernel's termios is the C library's without its speed fields, the set takes it as it is.
    static_assert(offsetof(termios, c_cc) == 4 * sizeof(tcflag_t) + 1 && NCCS >= 19);
    unsigned long request = pty ? TCSETS : TCSETSW;
    if (flushInput)
        request = TCSETSF;
    return attributeCalls.Request(fd, request, &t) == 0;
#else
    if (!pty)
        tcdrain(fd);
    const bool set = SetAttributes(fd, t, pty);
    if (flushInput)
        tcflush(fd, TCIFLUSH);
    return set;
#endif
}

// `t` ends up as the attributes set.
bool MakeRaw(int fd, termios& t, bool pty)
{
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    // Bytes with either ninth bit arrive unchanged: no parity checking, marking or stripping.
    t.c_iflag &= ~(INPCK | PARMRK | IGNPAR | ISTRIP | IXON | IXOFF | IXANY);
    t.c_cflag &= ~CRTSCTS;
    t.c_cflag |= CLOCAL | CREAD;
    ApplyByteSize(t, 8);
    ApplyStopBits(t, kOneStopBit);
    ApplyParity(t, kSpaceParity);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    return SetAttributes(fd, t, pty);
}

int MsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` until the deadline: >0 with revents, 0 at the deadline, -1 on error.
int WaitFor(int fd, short events, Clock::time_point deadline, short& revents)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = poll(&p, 1, MsUntil(deadline));
        if (r < 0 && errno == EINTR)
            continue;
        revents = p.revents;
        return r;
    }
}

std::int64_t NsOf(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

// The earliest moment the last of the `left` bytes still wanted can be there. The line cannot
// bring them faster than one a byte time, the first of them at once at best; after a write of
// ours, the n-th byte heard cannot come before the write plus n byte times.
Clock::time_point RestDue(std::uint32_t left, std::uint32_t byteTimeUs, const TtyPace* pace)
{
    const auto byteTime = std::chrono::microseconds(byteTimeUs);
    Clock::time_point due = Clock::now() + byteTime * (left - 1);
    if (pace && pace->Known)
        due = std::max(due, Clock::time_point(std::chrono::nanoseconds(pace->WriteNs)) + byteTime * (pace->HeardSince + left));
    return due;
}

// Rather than wake for each byte, sleeps until the last one wanted can have come, when that
// lies a byte time or more ahead (else the next byte's own wake-up is as good). True when it
// slept: the bytes may be there now.
bool AwaitRest(std::uint32_t left, std::uint32_t byteTimeUs, const TtyPace* pace, Clock::time_point deadline)
{
    if (byteTimeUs == 0 || left == 0)
        return false;
    const Clock::time_point due = std::min(deadline, RestDue(left, byteTimeUs, pace));
    if (due - Clock::now() < std::chrono::microseconds(byteTimeUs))
        return false;
    std::this_thread::sleep_until(due);
    return true;
}

}   // namespace

void SetTtySerialInfoCalls(const TtySerialInfoCalls& calls) { serialInfoCalls = calls; }

TtySerialInfoCalls DefaultTtySerialInfoCalls() { return {&GetSerialInfo, &SetSerialInfo}; }

void SetTtyAttributeCalls(const TtyAttributeCalls& calls) { attributeCalls = calls; }

TtyAttributeCalls DefaultTtyAttributeCalls() { return {&SetAttributesNow, &RequestAttributes}; }

bool IsPlainTtyName(const std::string& name)
{
    if (name.empty() || name.front() == '/' || name.find('\0') != std::string::npos)
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = name.find('/', start);
        const std::string part = name.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

bool IsTerminalDevice(unsigned major, unsigned minor)
{
    constexpr unsigned TtyMajor = 4, AliasMajor = 5, FirstSerialMinor = 64;   // tty0..tty63 are consoles
    constexpr unsigned OldPtyMasterMajor = 2, PtyMasterFirstMajor = 128, PtyMasterLastMajor = 135;
    return (major == TtyMajor && minor < FirstSerialMinor) || major == AliasMajor || major == OldPtyMasterMajor ||
           (major >= PtyMasterFirstMajor && major <= PtyMasterLastMajor);
}

int OpenTty(const std::string& name, int* error, TtyState* state)
{
    int ignored = 0;
    int& err = error ? *error : ignored;
    err = 0;
    if (!IsPlainTtyName(name))
        return -1;
    const std::string path = "/dev/" + name;
    struct stat st {};
    if (ReachesThroughProc(path) || stat(path.c_str(), &st) != 0 || !IsTtyDevice(st))
        return -1;
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    // What was opened is checked, not only what the name led to before.
    if (fstat(fd, &st) != 0 || !IsTtyDevice(st) || !isatty(fd) || IsControllingTerminal(fd)) {
        close(fd);
        return -1;
    }
    TtyState opened;
    opened.Pty = IsPty(fd);
    termios original{};
    const bool known = tcgetattr(fd, &original) == 0;
    if (!known || ioctl(fd, TIOCEXCL) != 0 || !MakeRaw(fd, opened.Attributes, opened.Pty)) {
        err = errno;
        if (known)
            attributeCalls.Set(fd, TCSANOW, &original);
        ioctl(fd, TIOCNXCL);
        close(fd);
        return -1;
    }
    attributes.Keep(fd, original);
    opened.Known = true;
    if (state)
        *state = opened;
    latency.Lower(fd);
    return fd;
}

bool CloseTty(int fd)
{
    if (fd < 0)
        return false;
    latency.Restore(fd);
    attributes.Restore(fd);
    ioctl(fd, TIOCNXCL);   // exclusive mode would outlive us while another holder keeps it open
    return close(fd) == 0;
}

bool IsTtyFormat(std::uint8_t byteSize, std::uint8_t parity, std::uint8_t stopBits)
{
    termios t{};
    return ApplyByteSize(t, byteSize) && ApplyParity(t, parity) && ApplyStopBits(t, stopBits);
}

bool SetTtyFormat(int fd, std::uint8_t byteSize, std::uint8_t parity, std::uint8_t stopBits, TtyState* state,
                  bool flushInput)
{
    // The fields a format change sets are set whatever they were; the rest are as last set.
    termios t{};
    if (state && state->Known)
        t = state->Attributes;
    else if (tcgetattr(fd, &t) != 0)
        return false;
    if (!ApplyByteSize(t, byteSize) || !ApplyParity(t, parity) || !ApplyStopBits(t, stopBits))
        return false;
    const bool pty = state ? state->Pty : IsPty(fd);
    const bool set = SetFormatAttributes(fd, t, pty, flushInput);
    if (state) {
        state->Attributes = t;
        state->Known = set;
    }
    return set;
}

TtyTransfer ReadTty(int fd, std::uint8_t* bytes, std::uint32_t count, std::uint32_t timeoutMs, std::uint32_t byteTimeUs,
                    TtyPace* pace)
{
    TtyTransfer result;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // After a sleep the bytes are most likely there: read at once, and wait only when they are not.
    bool slept = AwaitRest(count, byteTimeUs, pace, deadline);
    while (result.Count < count) {
        if (!slept) {
            short revents = 0;
            const int ready = WaitFor(fd, POLLIN, deadline, revents);
            if (ready == 0)
                break;
            if (ready < 0) {
                result.Status = TtyStatus::Failed;
                break;
            }
            if (revents & POLLNVAL) {
                result.Status = TtyStatus::Failed;
                break;
            }
            if (!(revents & POLLIN)) {   // POLLHUP or POLLERR without data
                result.Status = TtyStatus::HungUp;
                break;
            }
        }
        const bool unasked = std::exchange(slept, false);
        const ssize_t n = read(fd, bytes + result.Count, count - result.Count);
        if (n > 0) {
            result.Count += static_cast<std::uint32_t>(n);
            if (pace)
                pace->HeardSince += static_cast<std::uint32_t>(n);
            slept = AwaitRest(count - result.Count, byteTimeUs, pace, deadline);
        } else if (n == 0 && unasked) {
            // Nothing yet (a raw tty reads 0 then, as a hung-up one does): poll tells which.
        } else if (n == 0) {
            // Readable yet nothing to read: the tty was hung up.
            result.Status = TtyStatus::HungUp;
            break;
        } else if (errno != EAGAIN && errno != EINTR) {
            result.Status = IsHangUpError(errno) ? TtyStatus::HungUp : TtyStatus::Failed;
            break;
        }
    }
    return result;
}

TtyTransfer WriteTty(int fd, const std::uint8_t* bytes, std::uint32_t count, std::uint32_t timeoutMs, TtyPace* pace)
{
    TtyTransfer result;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    while (result.Count < count) {
        const ssize_t n = write(fd, bytes + result.Count, count - result.Count);
        if (n > 0) {
            result.Count += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            result.Status = IsHangUpError(errno) ? TtyStatus::HungUp : TtyStatus::Failed;
            break;
        }
        short revents = 0;
        const int ready = WaitFor(fd, POLLOUT, deadline, revents);
        if (ready == 0)
            break;
        if (ready < 0 || (revents & POLLNVAL)) {
            result.Status = TtyStatus::Failed;
            break;
        }
        if ((revents & (POLLHUP | POLLERR)) && !(revents & POLLOUT)) {
            result.Status = TtyStatus::HungUp;
            break;
        }
    }
    if (pace && result.Count > 0)
        *pace = {NsOf(start), 0, true};
    return result;
}

void KeepTimedWaitsExact() { prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL); }

bool PurgeTty(int fd) { return tcflush(fd, TCIOFLUSH) == 0; }

bool TtyInQueue(int fd, std::uint32_t* count)
{
    int n = 0;
    if (ioctl(fd, FIONREAD, &n) != 0 || n < 0)
        return false;
    *count = static_cast<std::uint32_t>(n);
    return true;
}

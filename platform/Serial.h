#pragma once
// A tty as the serial line: raw, exclusive, 9600 baud, 8 data bits, one stop bit, the parity bit
// as a ninth (address) bit. Reads and writes keep their own deadlines with poll(): the tty's
// VMIN/VTIME cannot express "count bytes, or 40 ms".
#include <cstdint>
#include <string>
#include <termios.h>

struct serial_struct;

// What a format change needs to know of an open tty, learnt when it was opened and kept by its
// owner: the attributes last set, so that a change is one tcsetattr and no tcgetattr, and
// whether it is a pty, asked once instead of at every change. Known is false until OpenTty or a
// format change has set them (and again after one failed: the tty is read once more then).
struct TtyState {
    termios Attributes{};
    bool Known = false;
    bool Pty = false;
};

enum class TtyStatus {
    Ok,       // done, or timed out (see the count)
    HungUp,   // the device is gone: close and open again
    Failed,   // any other error
};

struct TtyTransfer {
    std::uint32_t Count = 0;
    TtyStatus Status = TtyStatus::Ok;
};

// What the line can have brought since the program last wrote to it, kept by the port's owner
// across its writes and reads. A line carries one character per byte time, and on the shared
// line nothing is heard before the program's own characters come back: the n-th byte heard
// after a write cannot be there before the write plus n byte times.
struct TtyPace {
    std::int64_t WriteNs = 0;       // when the last write went out (steady clock), if Known
    std::uint32_t HeardSince = 0;   // bytes read since then
    bool Known = false;
};

// Opens "/dev/" + name and prepares it (raw, exclusive, 9600, 8 bits, one stop bit, SPACE
// parity, low latency where the driver has it). Returns the descriptor, or -1 when the name is
// no character device we may open as a serial line (also a terminal device, the program's own
// controlling terminal by any name, and whatever a name reaches through /proc, as /dev/fd and
// /dev/stdin do), or the tty refuses; then *error (if given)
// holds the errno of the refusal (EACCES or EPERM without permission, EBUSY when another program
// holds it exclusively).
// With `state`, what the open set is kept there for SetTtyFormat.
int OpenTty(const std::string& name, int* error = nullptr, TtyState* state = nullptr);
// Gives the tty back the attributes and the driver the latency it had before OpenTty, then
// closes.
bool CloseTty(int fd);

// The driver's serial-info requests (TIOCGSERIAL, TIOCSSERIAL), through which a port asks for low
// latency. Replaceable, so that tests can see what a driver is asked that no pty implements; both
// return 0 or -1 with errno, as ioctl does. Default: the ioctls themselves.
struct TtySerialInfoCalls {
    int (*Get)(int fd, serial_struct* info);
    int (*Set)(int fd, const serial_struct* info);
};
void SetTtySerialInfoCalls(const TtySerialInfoCalls& calls);
TtySerialInfoCalls DefaultTtySerialInfoCalls();

// The calls that set a tty's attributes: tcsetattr (Set: at open, and when it closes) and the
// kernel's own request (Request: TCSETS, or TCSETSW to let queued output leave first; a format
// change). Replaceable, so that tests can see the line settings a real port is given, which a pty
// drops (the parity and the speed); both return 0 or -1 with errno. Default: the calls themselves.
struct TtyAttributeCalls {
    int (*Set)(int fd, int optionalActions, const termios* attributes);
    int (*Request)(int fd, unsigned long request, const termios* attributes);
};
void SetTtyAttributeCalls(const TtyAttributeCalls& calls);
TtyAttributeCalls DefaultTtyAttributeCalls();

// Character format; parity and stop bits in the line-state codes (3 MARK, 4 SPACE, 0 one stop
// bit). Output still queued goes out first, with the parity it was written with.
// With `state` (as OpenTty filled it) the tty's attributes are taken from there and kept there.
// With `flushInput`, what was received and not read is thrown away in the same system call.
bool SetTtyFormat(int fd, std::uint8_t byteSize, std::uint8_t parity, std::uint8_t stopBits,
                  TtyState* state = nullptr, bool flushInput = false);
// True when SetTtyFormat takes the three codes.
bool IsTtyFormat(std::uint8_t byteSize, std::uint8_t parity, std::uint8_t stopBits);

// Up to `count` bytes; returns when they came or `timeoutMs` after the call began. With the
// line's `byteTimeUs`, bytes that come one by one cost a wake-up or two per read, not one each;
// with `pace` as well, a read that follows a write sleeps until its bytes can be there.
TtyTransfer ReadTty(int fd, std::uint8_t* bytes, std::uint32_t count, std::uint32_t timeoutMs,
                    std::uint32_t byteTimeUs = 0, TtyPace* pace = nullptr);
// All `count` bytes or as many as went out within `timeoutMs`; `pace` notes the write.
TtyTransfer WriteTty(int fd, const std::uint8_t* bytes, std::uint32_t count, std::uint32_t timeoutMs,
                     TtyPace* pace = nullptr);

// The calling thread's timed waits end when they were asked to, not up to 50 us later (the
// kernel's default slack): a read that sleeps until its bytes can be there then wakes as they
// come, not after them.
void KeepTimedWaitsExact();

bool PurgeTty(int fd);                           // both directions
bool TtyInQueue(int fd, std::uint32_t* count);   // bytes received and not read yet

// A name we are willing to put behind "/dev/": not empty, not absolute, no ".." component.
bool IsPlainTtyName(const std::string& name);
// A tty that is no serial line by its device numbers: the controlling-terminal alias, the
// system console, the virtual consoles, and pty masters (ptmx and the older master devices).
bool IsTerminalDevice(unsigned major, unsigned minor);

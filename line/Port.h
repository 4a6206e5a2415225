#pragma once
// The port object: a name and seven operations that carry the serial line, either over a tty
// (termios) or over the FTDI adapter (D2XX library). The record has no virtual functions: the
// operations are closures bound, all together, whenever the name is set, so that a test can bind
// its own (see tests/support/ScriptedPort.h).
#include <QString>
#include <cstdint>
#include <functional>

// Character-format record of a line state. Field layout follows the 28-byte record that the
// line's two states have always been described with; only ByteSize, Parity and StopBits matter
// to the back ends (both take 9600 baud, no flow control when they open).
struct TDCB {
    std::uint32_t DCBlength;
    std::uint32_t BaudRate;
    std::uint32_t Flags;   // bit 0 binary, bit 1 parity checking; the rest 0
    std::uint16_t wReserved;
    std::uint16_t XonLim;
    std::uint16_t XoffLim;
    std::uint8_t ByteSize;
    std::uint8_t Parity;     // ParityMark or ParitySpace on this line
    std::uint8_t StopBits;   // OneStopBit
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    std::uint16_t wReserved1;
};
static_assert(sizeof(TDCB) == 28, "the line state record is 28 bytes");

// Parity and stop-bit codes (the D2XX library uses the same numbers).
enum : std::uint8_t {
    // clang-format off
    ParityNone = 0, ParityOdd = 1, ParityEven = 2, ParityMark = 3, ParitySpace = 4,
    OneStopBit = 0, TwoStopBits = 2,
    // clang-format on
};

// SPACE parity: listening, and every data byte.
extern const TDCB ListenDCB;
// MARK parity: only the single address byte the program sends as master.
extern const TDCB AddressDCB;

// Time-outs of a port, in milliseconds. Reads end when `count` bytes came, or
// ReadTotalTimeoutConstant after they began, or ReadIntervalTimeout after the last byte.
struct TComTimeouts {
    std::uint32_t ReadIntervalTimeout;
    std::uint32_t ReadTotalTimeoutMultiplier;
    std::uint32_t ReadTotalTimeoutConstant;
    std::uint32_t WriteTotalTimeoutMultiplier;
    std::uint32_t WriteTotalTimeoutConstant;
};
extern const TComTimeouts ComTimeouts;   // 40, 0, 40, 0, 40

// Why an existing port could not be opened, where the user can do something about it.
// clang-format off
enum class TPortRefusal { None, NoAccess, Busy };
// clang-format on
// " — нет доступа", " — занят", or nothing: shown after the port's name.
QString PortRefusalText(TPortRefusal refusal);

// `Handle` while nothing is open (0 can be a valid descriptor).
inline constexpr std::intptr_t InvalidPortHandle = -1;

// True when `name` selects the FTDI back end: "USB" in any ASCII case, nothing longer.
bool IsFtdiPortName(const QString& name);

class TMVPort {
public:
    using OpenFn = std::function<bool()>;
    using CloseFn = std::function<bool()>;
    using PurgeFn = std::function<bool()>;
    using SetStateFn = std::function<bool(const TDCB* dcb)>;
    // Stores up to `count` bytes, the number received into *read (0 after a silent time-out),
    // and 0 into the first *read bytes of `flags`; the other flag bytes are left alone.
    using ReadFn = std::function<bool(std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count,
                                      std::uint32_t* read)>;
    // False when not all `count` bytes went out within the write time-out.
    using WriteFn = std::function<bool(const std::uint8_t* bytes, std::uint32_t count,
                                       std::uint32_t* written)>;
    using GetInQueueFn = std::function<bool(std::uint32_t* count)>;

    TMVPort() { SetName(QString()); }
    explicit TMVPort(const QString& name) { SetName(name); }
    // Releases the name only: an open port stays open (the owner closes it).
    ~TMVPort() = default;
    // The operations are bound to this record: copy with Assign, never by value.
    TMVPort(const TMVPort&) = delete;
    TMVPort& operator=(const TMVPort&) = delete;

    // Stores the name and binds the back end's seven operations. Handle is not touched.
    void SetName(const QString& name);
    // Copies the source's Handle (and lost state), then takes its name and back end.
    void Assign(const TMVPort& source);

    std::intptr_t Handle = InvalidPortHandle;   // descriptor, or FTDI device handle
    OpenFn Open;
    CloseFn Close;
    PurgeFn Purge;
    SetStateFn SetState;
    ReadFn Read;
    WriteFn Write;
    GetInQueueFn GetInQueue;
    QString Name;
    // Set by Open: why the last open failed (None after a success or a missing port).
    TPortRefusal Refusal = TPortRefusal::None;

    // True once the device behind an open port vanished (hang-up of the tty, an error status
    // from the adapter): Read then returns false with 0 bytes, and the owner should close the
    // port and open it again instead of reading on. Cleared by Open and Close.
    bool Lost() const { return lost_; }
    void SetLost(bool lost) { lost_ = lost; }

private:
    void BindCom();
    void BindFtdi();

    bool lost_ = false;
};

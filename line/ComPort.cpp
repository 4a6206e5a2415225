// The COM back end: a tty under /dev named by the port's name.
#include <cerrno>
#include <cstring>
#include <memory>

#include "line/Port.h"
#include "line/Protocol.h"
#include "platform/Serial.h"

namespace {

int Fd(const TMVPort& port) { return static_cast<int>(port.Handle); }

bool IsOpen(const TMVPort& port) { return port.Handle != InvalidPortHandle; }

}   // namespace

void TMVPort::BindCom()
{
    // The open tty's attributes as last set: a format change per poll costs one system call.
    auto tty = std::make_shared<TtyState>();
    // The last write and what was read since: a read of an echo or of the answer behind it
    // sleeps until those bytes can be there instead of waking for each.
    auto pace = std::make_shared<TtyPace>();
    Open = [this, tty, pace] {
        lost_ = false;
        *pace = {};
        int error = 0;
        const int fd = OpenTty(Name.toStdString(), &error, tty.get());
        Handle = fd < 0 ? InvalidPortHandle : fd;
        Refusal = error == EACCES || error == EPERM ? TPortRefusal::NoAccess
                  : error == EBUSY                  ? TPortRefusal::Busy
                                                    : TPortRefusal::None;
        return fd >= 0;
    };
    Close = [this] {
        lost_ = false;
        if (!IsOpen(*this))
            return false;
        const bool closed = CloseTty(Fd(*this));
        Handle = InvalidPortHandle;
        return closed;
    };
    Purge = [this] { return IsOpen(*this) && PurgeTty(Fd(*this)); };
    SetState = [this, tty](const TDCB* dcb) {
        return dcb && IsOpen(*this) && SetTtyFormat(Fd(*this), dcb->ByteSize, dcb->Parity, dcb->StopBits, tty.get());
    };
    Read = [this, pace](std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count, std::uint32_t* read) {
        *read = 0;
        if (!IsOpen(*this) || lost_)
            return false;
        const TtyTransfer got = ReadTty(Fd(*this), bytes, count, ComTimeouts.ReadTotalTimeoutConstant, LineByteTimeUs, pace.get());
        *read = got.Count;
        std::memset(flags, 0, got.Count);
        if (got.Status == TtyStatus::HungUp)
            lost_ = true;
        // Bytes that came before a hang-up are still delivered; the next Read reports the loss.
        return got.Status == TtyStatus::Ok || got.Count > 0;
    };
    Write = [this, pace](const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* written) {
        *written = 0;
        if (!IsOpen(*this) || lost_)
            return false;
        const TtyTransfer put = WriteTty(Fd(*this), bytes, count, ComTimeouts.WriteTotalTimeoutConstant, pace.get());
        *written = put.Count;
        if (put.Status == TtyStatus::HungUp)
            lost_ = true;
        return put.Status == TtyStatus::Ok && put.Count == count;
    };
    GetInQueue = [this](std::uint32_t* count) { return IsOpen(*this) && TtyInQueue(Fd(*this), count); };
}

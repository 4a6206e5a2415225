// The COM back end: a tty under /dev named by the port's name.
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "line/Port.h"
#include "line/Protocol.h"
#include "platform/Serial.h"

namespace {

int Fd(const TMVPort& port) { return static_cast<int>(port.Handle); }

bool IsOpen(const TMVPort& port) { return port.Handle != InvalidPortHandle; }

// What the back end keeps of an open tty.
struct TComLine {
    // The attributes as last set: a format change per poll costs one system call.
    TtyState Tty;
    // The last write and what was read since: a read of an echo or of the answer behind it
    // sleeps until those bytes can be there instead of waking for each.
    TtyPace Pace;
    // A format asked for and not set yet. The line engine changes the format and purges before
    // each write of a poll: the format waits for the purge (or for the next transfer, whatever
    // comes first), so that the two are one system call.
    std::optional<TDCB> Format;
};

bool SettleFormat(const TMVPort& port, TComLine& line, bool flushInput)
{
    if (!line.Format)
        return false;
    const TDCB format = *line.Format;
    line.Format.reset();
    return SetTtyFormat(Fd(port), format.ByteSize, format.Parity, format.StopBits, &line.Tty, flushInput);
}

}   // namespace

void TMVPort::BindCom()
{
    auto line = std::make_shared<TComLine>();
    Open = [this, line] {
        lost_ = false;
        *line = {};
        int error = 0;
        const int fd = OpenTty(Name.toStdString(), &error, &line->Tty);
        Handle = fd < 0 ? InvalidPortHandle : fd;
        Refusal = error == EACCES || error == EPERM ? TPortRefusal::NoAccess
                  : error == EBUSY                  ? TPortRefusal::Busy
                                                    : TPortRefusal::None;
        return fd >= 0;
    };
    Close = [this, line] {
        lost_ = false;
        line->Format.reset();
        if (!IsOpen(*this))
            return false;
        const bool closed = CloseTty(Fd(*this));
        Handle = InvalidPortHandle;
        return closed;
    };
    // The output has gone out with the format set before the purge, so the purge after a format
    // change has only the input left to throw away.
    Purge = [this, line] { return IsOpen(*this) && (line->Format ? SettleFormat(*this, *line, true) : PurgeTty(Fd(*this))); };
    SetState = [this, line](const TDCB* dcb) {
        if (!dcb || !IsOpen(*this) || !IsTtyFormat(dcb->ByteSize, dcb->Parity, dcb->StopBits))
            return false;
        line->Format = *dcb;
        return true;
    };
    Read = [this, line](std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count, std::uint32_t* read) {
        *read = 0;
        if (!IsOpen(*this) || lost_)
            return false;
        SettleFormat(*this, *line, false);
        const TtyTransfer got = ReadTty(Fd(*this), bytes, count, ComTimeouts.ReadTotalTimeoutConstant, LineByteTimeUs, &line->Pace);
        *read = got.Count;
        std::memset(flags, 0, got.Count);
        if (got.Status == TtyStatus::HungUp)
            lost_ = true;
        // Bytes that came before a hang-up are still delivered; the next Read reports the loss.
        return got.Status == TtyStatus::Ok || got.Count > 0;
    };
    Write = [this, line](const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* written) {
        *written = 0;
        if (!IsOpen(*this) || lost_)
            return false;
        SettleFormat(*this, *line, false);
        const TtyTransfer put = WriteTty(Fd(*this), bytes, count, ComTimeouts.WriteTotalTimeoutConstant, &line->Pace);
        *written = put.Count;
        if (put.Status == TtyStatus::HungUp)
            lost_ = true;
        return put.Status == TtyStatus::Ok && put.Count == count;
    };
    GetInQueue = [this, line](std::uint32_t* count) {
        if (!IsOpen(*this))
            return false;
        SettleFormat(*this, *line, false);
        return TtyInQueue(Fd(*this), count);
    };
}

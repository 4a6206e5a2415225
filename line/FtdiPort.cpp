// The FTDI back end: the first adapter on the bus, whatever the port's name, through the D2XX
// library. Every operation fails cleanly while the library is not loaded.
#include <cstring>

#include "line/Port.h"
#include "platform/D2xx.h"

using namespace d2xx;

namespace {

FT_HANDLE Device(const TMVPort& port) { return reinterpret_cast<FT_HANDLE>(port.Handle); }

bool Usable(const TMVPort& port) { return Loaded() && port.Handle != InvalidPortHandle; }

// The adapter prepared as the line needs it; the first call that fails ends the sequence.
bool Prepare(FT_HANDLE device)
{
    return FT_SetBaudRate(device, 9600) == FT_OK &&
           FT_SetTimeouts(device, ComTimeouts.ReadTotalTimeoutConstant,
                          ComTimeouts.WriteTotalTimeoutConstant) == FT_OK &&
           FT_SetFlowControl(device, FT_FLOW_NONE, 0, 0) == FT_OK &&
           FT_SetLatencyTimer(device, 1) == FT_OK;
}

}   // namespace

void TMVPort::BindFtdi()
{
    Open = [this] {
        lost_ = false;
        Handle = InvalidPortHandle;
        if (!Loaded())
            return false;
        FT_HANDLE device = nullptr;
        if (FT_Open(0, &device) != FT_OK)
            return false;
        if (!Prepare(device)) {
            FT_ResetDevice(device);
            FT_Close(device);
            return false;
        }
        Handle = reinterpret_cast<std::intptr_t>(device);
        return true;
    };
    Close = [this] {
        lost_ = false;
        if (!Usable(*this))
            return false;
        FT_ResetDevice(Device(*this));
        const bool closed = FT_Close(Device(*this)) == FT_OK;
        Handle = InvalidPortHandle;
        return closed;
    };
    Purge = [this] { return Usable(*this) && FT_Purge(Device(*this), FT_PURGE_RX | FT_PURGE_TX) == FT_OK; };
    SetState = [this](const TDCB* dcb) {
        // The adapter's codes for 8 bits, one stop bit, MARK and SPACE equal the line-state codes.
        return dcb && Usable(*this) &&
               FT_SetDataCharacteristics(Device(*this), dcb->ByteSize, dcb->StopBits, dcb->Parity) == FT_OK;
    };
    Read = [this](std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count, std::uint32_t* read) {
        *read = 0;
        if (!Usable(*this) || lost_)
            return false;
        DWORD got = 0;
        if (FT_Read(Device(*this), bytes, count, &got) != FT_OK) {
            lost_ = true;   // unplugged: the adapter answers every read with an error from now on
            return false;
        }
        *read = got < count ? got : count;
        std::memset(flags, 0, *read);
        return true;
    };
    Write = [this](const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* written) {
        *written = 0;
        if (!Usable(*this) || lost_)
            return false;
        DWORD put = 0;
        if (FT_Write(Device(*this), const_cast<std::uint8_t*>(bytes), count, &put) != FT_OK) {
            lost_ = true;
            return false;
        }
        *written = put < count ? put : count;
        return true;
    };
    GetInQueue = [this](std::uint32_t* count) {
        DWORD queued = 0;
        if (!Usable(*this) || FT_GetQueueStatus(Device(*this), &queued) != FT_OK)
            return false;
        *count = queued;
        return true;
    };
}

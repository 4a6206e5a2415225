// A stand-in for the FTDI adapter library, built by the tests: one adapter on the bus that
// echoes what is written (as the shared line does), a log of every call with its arguments,
// and switches that make a named entry point fail, all in the state the tests steer
// (FakeFtdi.h). Built twice: complete, and without FT_GetQueueStatus
// (FAKE_FTDI_WITHOUT_QUEUE_STATUS) to exercise the all-or-none loader.
#include "platform/D2xx.h"
#include "tests/support/FakeFtdi.h"

using namespace d2xx;   // its types and statuses; the entry points defined here are global

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

TFakeAdapter adapter;
int token;   // its address is the handle handed out

// Logs the call and gives the status its failure switch sets (FT_OK when none).
FT_STATUS Called(const char* name, std::initializer_list<unsigned long> args = {})
{
    adapter.Log += (adapter.Log.empty() ? "" : " ") + std::string(name);
    const char* separator = "(";
    for (unsigned long v : args) {
        adapter.Log += separator + std::to_string(v);
        separator = ",";
    }
    adapter.Log += args.size() == 0 ? "()" : ")";
    const auto f = adapter.Failures.find(name);
    return f == adapter.Failures.end() ? FT_OK : f->second;
}

// As Called, for a call that needs the open adapter's handle.
FT_STATUS Checked(const char* name, FT_HANDLE handle, std::initializer_list<unsigned long> args = {})
{
    const FT_STATUS s = Called(name, args);
    return handle == &token && adapter.Open ? s : 1;   // 1: invalid handle
}

}   // namespace

FAKE_EXPORT TFakeAdapter* FakeFtdi_Adapter() { return &adapter; }

FAKE_EXPORT FT_STATUS FT_ListDevices(void* count, void*, DWORD flags)
{
    const FT_STATUS s = Called("FT_ListDevices", {flags});
    if (s == FT_OK && (flags & FT_LIST_NUMBER_ONLY) && count)
        *static_cast<DWORD*>(count) = static_cast<DWORD>(adapter.Devices);
    return s;
}

FAKE_EXPORT FT_STATUS FT_Open(int device, FT_HANDLE* handle)
{
    const FT_STATUS s = Called("FT_Open", {static_cast<unsigned long>(device)});
    if (s != FT_OK || device >= adapter.Devices)
        return s != FT_OK ? s : FT_DEVICE_NOT_FOUND;
    adapter.Open = true;
    *handle = &token;
    return FT_OK;
}

FAKE_EXPORT FT_STATUS FT_Close(FT_HANDLE handle)
{
    const FT_STATUS s = Checked("FT_Close", handle);
    adapter.Open = false;
    return s;
}

FAKE_EXPORT FT_STATUS FT_ResetDevice(FT_HANDLE handle) { return Checked("FT_ResetDevice", handle); }

FAKE_EXPORT FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask)
{
    const FT_STATUS s = Checked("FT_Purge", handle, {mask});
    if (s == FT_OK && (mask & FT_PURGE_RX))
        adapter.Input.clear();
    return s;
}

FAKE_EXPORT FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD count, DWORD* read)
{
    const FT_STATUS s = Checked("FT_Read", handle, {count});
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (*read = 0; s == FT_OK && *read < count && !adapter.Input.empty(); adapter.Input.pop_front())
        out[(*read)++] = adapter.Input.front();
    return s;
}

FAKE_EXPORT FT_STATUS FT_Write(FT_HANDLE handle, void* buffer, DWORD count, DWORD* written)
{
    const FT_STATUS s = Checked("FT_Write", handle, {count});
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    if (s == FT_OK)
        adapter.Input.insert(adapter.Input.end(), in, in + count);
    *written = s == FT_OK ? count : 0;
    return s;
}

FAKE_EXPORT FT_STATUS FT_SetBaudRate(FT_HANDLE handle, ULONG baud) { return Checked("FT_SetBaudRate", handle, {baud}); }

FAKE_EXPORT FT_STATUS FT_SetTimeouts(FT_HANDLE handle, ULONG readMs, ULONG writeMs)
{
    return Checked("FT_SetTimeouts", handle, {readMs, writeMs});
}

FAKE_EXPORT FT_STATUS FT_SetDataCharacteristics(FT_HANDLE handle, UCHAR wordLength, UCHAR stopBits, UCHAR parity)
{
    return Checked("FT_SetDataCharacteristics", handle, {wordLength, stopBits, parity});
}

FAKE_EXPORT FT_STATUS FT_SetFlowControl(FT_HANDLE handle, USHORT flow, UCHAR xon, UCHAR xoff)
{
    return Checked("FT_SetFlowControl", handle, {flow, xon, xoff});
}

FAKE_EXPORT FT_STATUS FT_SetLatencyTimer(FT_HANDLE handle, UCHAR ms) { return Checked("FT_SetLatencyTimer", handle, {ms}); }

#ifndef FAKE_FTDI_WITHOUT_QUEUE_STATUS
FAKE_EXPORT FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    const FT_STATUS s = Checked("FT_GetQueueStatus", handle);
    if (s == FT_OK)
        *rxBytes = static_cast<DWORD>(adapter.Input.size());
    return s;
}
#endif

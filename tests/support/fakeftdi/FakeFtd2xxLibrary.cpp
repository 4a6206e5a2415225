// A stand-in for the FTDI adapter library, built by the tests: one adapter on the bus that
// echoes what is written (as the shared line does), a log of every call with its arguments,
// and switches that make a named entry point fail. Built twice: complete, and without
// FT_GetQueueStatus (FAKE_FTDI_WITHOUT_QUEUE_STATUS) to exercise the all-or-none loader.
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <string>

#include "platform/D2xx.h"

using d2xx::DWORD;
using d2xx::FT_DEVICE_NOT_FOUND;
using d2xx::FT_HANDLE;
using d2xx::FT_LIST_NUMBER_ONLY;
using d2xx::FT_OK;
using d2xx::FT_PURGE_RX;
using d2xx::FT_STATUS;
using d2xx::UCHAR;
using d2xx::ULONG;
using d2xx::USHORT;

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Adapter {
    int Devices = 1;
    bool Open = false;
    std::string Log;
    std::map<std::string, FT_STATUS> Failures;
    std::deque<std::uint8_t> Input;
};

Adapter adapter;
int token;   // its address is the handle handed out

void Note(const char* name, const std::string& args)
{
    if (!adapter.Log.empty())
        adapter.Log += ' ';
    adapter.Log += name;
    adapter.Log += '(' + args + ')';
}

std::string Args(std::initializer_list<unsigned long> values)
{
    std::string s;
    for (unsigned long v : values) {
        if (!s.empty())
            s += ',';
        s += std::to_string(v);
    }
    return s;
}

FT_STATUS Outcome(const char* name)
{
    const auto f = adapter.Failures.find(name);
    return f == adapter.Failures.end() ? FT_OK : f->second;
}

FT_STATUS Checked(const char* name, FT_HANDLE handle, const std::string& args)
{
    Note(name, args);
    if (handle != &token || !adapter.Open)
        return 1;   // invalid handle
    return Outcome(name);
}

} // namespace

FAKE_EXPORT FT_STATUS FT_ListDevices(void* arg1, void*, DWORD flags)
{
    Note("FT_ListDevices", Args({flags}));
    const FT_STATUS s = Outcome("FT_ListDevices");
    if (s == FT_OK && (flags & FT_LIST_NUMBER_ONLY) && arg1)
        *static_cast<DWORD*>(arg1) = static_cast<DWORD>(adapter.Devices);
    return s;
}

FAKE_EXPORT FT_STATUS FT_Open(int device, FT_HANDLE* handle)
{
    Note("FT_Open", Args({static_cast<unsigned long>(device)}));
    FT_STATUS s = Outcome("FT_Open");
    if (s == FT_OK && device >= adapter.Devices)
        s = FT_DEVICE_NOT_FOUND;
    if (s == FT_OK) {
        adapter.Open = true;
        *handle = &token;
    }
    return s;
}

FAKE_EXPORT FT_STATUS FT_Close(FT_HANDLE handle)
{
    const FT_STATUS s = Checked("FT_Close", handle, "");
    adapter.Open = false;
    return s;
}

FAKE_EXPORT FT_STATUS FT_ResetDevice(FT_HANDLE handle) { return Checked("FT_ResetDevice", handle, ""); }

FAKE_EXPORT FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask)
{
    const FT_STATUS s = Checked("FT_Purge", handle, Args({mask}));
    if (s == FT_OK && (mask & FT_PURGE_RX))
        adapter.Input.clear();
    return s;
}

FAKE_EXPORT FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD count, DWORD* read)
{
    const FT_STATUS s = Checked("FT_Read", handle, Args({count}));
    *read = 0;
    if (s != FT_OK)
        return s;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (*read < count && !adapter.Input.empty()) {
        out[(*read)++] = adapter.Input.front();
        adapter.Input.pop_front();
    }
    return s;
}

FAKE_EXPORT FT_STATUS FT_Write(FT_HANDLE handle, void* buffer, DWORD count, DWORD* written)
{
    const FT_STATUS s = Checked("FT_Write", handle, Args({count}));
    *written = 0;
    if (s != FT_OK)
        return s;
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    adapter.Input.insert(adapter.Input.end(), in, in + count);
    *written = count;
    return s;
}

FAKE_EXPORT FT_STATUS FT_SetBaudRate(FT_HANDLE handle, ULONG baud)
{
    return Checked("FT_SetBaudRate", handle, Args({baud}));
}

FAKE_EXPORT FT_STATUS FT_SetTimeouts(FT_HANDLE handle, ULONG readMs, ULONG writeMs)
{
    return Checked("FT_SetTimeouts", handle, Args({readMs, writeMs}));
}

FAKE_EXPORT FT_STATUS FT_SetDataCharacteristics(FT_HANDLE handle, UCHAR wordLength, UCHAR stopBits, UCHAR parity)
{
    return Checked("FT_SetDataCharacteristics", handle, Args({wordLength, stopBits, parity}));
}

FAKE_EXPORT FT_STATUS FT_SetFlowControl(FT_HANDLE handle, USHORT flow, UCHAR xon, UCHAR xoff)
{
    return Checked("FT_SetFlowControl", handle, Args({flow, xon, xoff}));
}

FAKE_EXPORT FT_STATUS FT_SetLatencyTimer(FT_HANDLE handle, UCHAR ms)
{
    return Checked("FT_SetLatencyTimer", handle, Args({ms}));
}

#ifndef FAKE_FTDI_WITHOUT_QUEUE_STATUS
FAKE_EXPORT FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    const FT_STATUS s = Checked("FT_GetQueueStatus", handle, "");
    if (s == FT_OK)
        *rxBytes = static_cast<DWORD>(adapter.Input.size());
    return s;
}
#endif

// Control entry points for the tests (see tests/support/FakeFtdi.h).

FAKE_EXPORT void FakeFtdi_Reset()
{
    adapter = Adapter {};
}

FAKE_EXPORT void FakeFtdi_Fail(const char* name, FT_STATUS status)
{
    if (status == FT_OK)
        adapter.Failures.erase(name);
    else
        adapter.Failures[name] = status;
}

FAKE_EXPORT void FakeFtdi_SetDevices(int count) { adapter.Devices = count; }

FAKE_EXPORT void FakeFtdi_Feed(const std::uint8_t* bytes, DWORD count)
{
    adapter.Input.insert(adapter.Input.end(), bytes, bytes + count);
}

FAKE_EXPORT const char* FakeFtdi_Log() { return adapter.Log.c_str(); }
FAKE_EXPORT void FakeFtdi_ClearLog() { adapter.Log.clear(); }
FAKE_EXPORT int FakeFtdi_IsOpen() { return adapter.Open ? 1 : 0; }

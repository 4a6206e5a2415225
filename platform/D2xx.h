#pragma once
// The FTDI adapter's D2XX library, loaded at run time. The entry-point types are our own
// declarations: handles are pointers, counts and statuses 32-bit unsigned.
//
// The 13 entry points are loaded all or none. They are published by one atomic flag, set only
// after every pointer is stored; a failed or partial load, and FreeFtdiLibrary, clear every
// pointer and unload the library, so no pointer into an unloaded library is ever left behind.
// Load and free belong to the main thread; the library is freed only while no port is open.
#include <cstdint>

namespace d2xx {

using FT_HANDLE = void*;
using FT_STATUS = std::uint32_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using USHORT = std::uint16_t;
using UCHAR = std::uint8_t;

inline constexpr FT_STATUS FT_OK = 0;
inline constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;   // what the fake library reports as well
inline constexpr FT_STATUS FT_IO_ERROR = 4;
inline constexpr ULONG FT_PURGE_RX = 1;
inline constexpr ULONG FT_PURGE_TX = 2;
inline constexpr USHORT FT_FLOW_NONE = 0;
inline constexpr DWORD FT_LIST_NUMBER_ONLY = 0x80000000u;

using TFT_ListDevices = FT_STATUS(void* arg1, void* arg2, DWORD flags);
using TFT_Open = FT_STATUS(int device, FT_HANDLE* handle);
using TFT_Close = FT_STATUS(FT_HANDLE handle);
using TFT_ResetDevice = FT_STATUS(FT_HANDLE handle);
using TFT_Purge = FT_STATUS(FT_HANDLE handle, ULONG mask);
using TFT_Read = FT_STATUS(FT_HANDLE handle, void* buffer, DWORD count, DWORD* read);
using TFT_Write = FT_STATUS(FT_HANDLE handle, void* buffer, DWORD count, DWORD* written);
using TFT_SetBaudRate = FT_STATUS(FT_HANDLE handle, ULONG baud);
using TFT_SetTimeouts = FT_STATUS(FT_HANDLE handle, ULONG readMs, ULONG writeMs);
using TFT_SetDataCharacteristics = FT_STATUS(FT_HANDLE handle, UCHAR wordLength, UCHAR stopBits,
                                             UCHAR parity);
using TFT_SetFlowControl = FT_STATUS(FT_HANDLE handle, USHORT flow, UCHAR xon, UCHAR xoff);
using TFT_SetLatencyTimer = FT_STATUS(FT_HANDLE handle, UCHAR ms);
using TFT_GetQueueStatus = FT_STATUS(FT_HANDLE handle, DWORD* rxBytes);

// Process-wide entry points: all null unless Loaded().
extern TFT_ListDevices* FT_ListDevices;
extern TFT_Open* FT_Open;
extern TFT_Close* FT_Close;
extern TFT_ResetDevice* FT_ResetDevice;
extern TFT_Purge* FT_Purge;
extern TFT_Read* FT_Read;
extern TFT_Write* FT_Write;
extern TFT_SetBaudRate* FT_SetBaudRate;
extern TFT_SetTimeouts* FT_SetTimeouts;
extern TFT_SetDataCharacteristics* FT_SetDataCharacteristics;
extern TFT_SetFlowControl* FT_SetFlowControl;
extern TFT_SetLatencyTimer* FT_SetLatencyTimer;
extern TFT_GetQueueStatus* FT_GetQueueStatus;

// True once all 13 entry points are stored (acquire: the pointers are then visible).
bool Loaded();

// The entry points in load order, with their names (for the loader and for tests).
inline constexpr int EntryPointCount = 13;
struct EntryPoint {
    const char* Name;
    void** Slot;
};
const EntryPoint* EntryPoints();

}   // namespace d2xx

inline constexpr const char* FtdiLibraryFile = "libftd2xx.so";

// Loads the library (from `file`, searched the dlopen way) and resolves the 13 entry points in
// order, all or none. Returns the module handle, or null: absent, or an entry point missing (then
// the library is unloaded again). While loaded, a further call returns the same handle.
void* LoadFtdiLibrary(const char* file = FtdiLibraryFile);
// Clears every entry point and unloads the library. Safe when nothing is loaded.
void FreeFtdiLibrary();

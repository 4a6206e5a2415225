#include "platform/D2xx.h"

#include <atomic>
#include <dlfcn.h>
#include <mutex>

namespace d2xx {

TFT_ListDevices* FT_ListDevices = nullptr;
TFT_Open* FT_Open = nullptr;
TFT_Close* FT_Close = nullptr;
TFT_ResetDevice* FT_ResetDevice = nullptr;
TFT_Purge* FT_Purge = nullptr;
TFT_Read* FT_Read = nullptr;
TFT_Write* FT_Write = nullptr;
TFT_SetBaudRate* FT_SetBaudRate = nullptr;
TFT_SetTimeouts* FT_SetTimeouts = nullptr;
TFT_SetDataCharacteristics* FT_SetDataCharacteristics = nullptr;
TFT_SetFlowControl* FT_SetFlowControl = nullptr;
TFT_SetLatencyTimer* FT_SetLatencyTimer = nullptr;
TFT_GetQueueStatus* FT_GetQueueStatus = nullptr;

namespace {

std::atomic<bool> loaded{false};
std::mutex loadMutex;
void* module = nullptr;

template <typename F>
void** SlotOf(F*& pointer)
{
    return reinterpret_cast<void**>(&pointer);
}

const EntryPoint entryPoints[EntryPointCount] = {
    {"FT_ListDevices", SlotOf(FT_ListDevices)},
    {"FT_Open", SlotOf(FT_Open)},
    {"FT_Close", SlotOf(FT_Close)},
    {"FT_ResetDevice", SlotOf(FT_ResetDevice)},
    {"FT_Purge", SlotOf(FT_Purge)},
    {"FT_Read", SlotOf(FT_Read)},
    {"FT_Write", SlotOf(FT_Write)},
    {"FT_SetBaudRate", SlotOf(FT_SetBaudRate)},
    {"FT_SetTimeouts", SlotOf(FT_SetTimeouts)},
    {"FT_SetDataCharacteristics", SlotOf(FT_SetDataCharacteristics)},
    {"FT_SetFlowControl", SlotOf(FT_SetFlowControl)},
    {"FT_SetLatencyTimer", SlotOf(FT_SetLatencyTimer)},
    {"FT_GetQueueStatus", SlotOf(FT_GetQueueStatus)},
};

void ClearEntryPoints()
{
    for (const EntryPoint& e : entryPoints)
        *e.Slot = nullptr;
}

// Caller holds loadMutex.
void Unload()
{
    loaded.store(false, std::memory_order_release);
    ClearEntryPoints();
    if (module)
        dlclose(module);
    module = nullptr;
}

bool ResolveAll(void* library)
{
    for (const EntryPoint& e : entryPoints) {
        void* symbol = dlsym(library, e.Name);
        if (!symbol)
            return false;
        *e.Slot = symbol;
    }
    return true;
}

}   // namespace

bool Loaded() { return loaded.load(std::memory_order_acquire); }

const EntryPoint* EntryPoints() { return entryPoints; }

}   // namespace d2xx

void* LoadFtdiLibrary(const char* file)
{
    using namespace d2xx;
    std::lock_guard lock(loadMutex);
    if (loaded.load(std::memory_order_relaxed))
        return module;
    if (!file)   // dlopen would hand back the program itself
        return nullptr;
    module = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return nullptr;
    if (!ResolveAll(module)) {
        Unload();
        return nullptr;
    }
    loaded.store(true, std::memory_order_release);
    return module;
}

void FreeFtdiLibrary()
{
    std::lock_guard lock(d2xx::loadMutex);
    d2xx::Unload();
}

#include "model/Host.h"

#include <atomic>

#include "model/DeviceInfo.h"

namespace {
std::atomic<THost*> host{nullptr};
}

THost* Host() { return host.load(); }
void SetHost(THost* h) { host.store(h); }

int CountActiveDevices(const TDeviceList& devices)
{
    int count = 0;
    for (const auto& device : devices)
        if (device->SchemeObject->Mode != ModeDisabled)
            ++count;
    return count;
}

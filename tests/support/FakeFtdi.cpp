// Steers the fake FTDI library from a test: finds its control entry points by name.
#include "FakeFtdi.h"

#include <dlfcn.h>

const char* FakeFtdi::Path() { return MIRVANE_FAKE_FTDI; }
const char* FakeFtdi::NoQueuePath() { return MIRVANE_FAKE_FTDI_NOQUEUE; }

FakeFtdi::FakeFtdi(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) { Reset(); }

FakeFtdi::~FakeFtdi()
{
    if (handle_)
        dlclose(handle_);
}

template <typename F>
F* FakeFtdi::Symbol(const char* name) const
{
    return handle_ ? reinterpret_cast<F*>(dlsym(handle_, name)) : nullptr;
}

// A library that did not load steers nothing: the test's own expectations then fail.
void FakeFtdi::Reset() { if (auto* f = Symbol<void()>("FakeFtdi_Reset")) f(); }
void FakeFtdi::ClearLog() { if (auto* f = Symbol<void()>("FakeFtdi_ClearLog")) f(); }
void FakeFtdi::SetDevices(int count) { if (auto* f = Symbol<void(int)>("FakeFtdi_SetDevices")) f(count); }

void FakeFtdi::Fail(const char* entryPoint, std::uint32_t status)
{
    if (auto* f = Symbol<void(const char*, std::uint32_t)>("FakeFtdi_Fail"))
        f(entryPoint, status);
}

void FakeFtdi::Feed(const std::vector<std::uint8_t>& bytes)
{
    if (auto* f = Symbol<void(const std::uint8_t*, std::uint32_t)>("FakeFtdi_Feed"))
        f(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::string FakeFtdi::Log() const
{
    auto* f = Symbol<const char*()>("FakeFtdi_Log");
    return f ? f() : "";
}

bool FakeFtdi::IsOpen() const
{
    auto* f = Symbol<int()>("FakeFtdi_IsOpen");
    return f && f() != 0;
}

// Steers the fake FTDI library from a test: finds its state by name.
#include "FakeFtdi.h"

#include <dlfcn.h>

const char* FakeFtdi::Path() { return MIRVANE_FAKE_FTDI; }
const char* FakeFtdi::NoQueuePath() { return MIRVANE_FAKE_FTDI_NOQUEUE; }

FakeFtdi::FakeFtdi(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL))
{
    if (auto* state = handle_ ? reinterpret_cast<TFakeAdapter* (*)()>(dlsym(handle_, "FakeFtdi_Adapter")) : nullptr)
        adapter_ = state();
    Reset();
}

FakeFtdi::~FakeFtdi()
{
    if (handle_)
        dlclose(handle_);
}

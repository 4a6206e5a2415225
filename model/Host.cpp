#include "model/Host.h"

#include <atomic>

namespace {
std::atomic<THost*> host{nullptr};
}

THost* Host() { return host.load(); }
void SetHost(THost* h) { host.store(h); }

// The program's own receive thread behind the interface the port control steers, and the
// factory that makes it.
#include "ui/ReceiveControl.h"

#include "model/Host.h"

namespace {

TReceiveThreadFactory& Factory()
{
    static TReceiveThreadFactory factory;
    return factory;
}

}   // namespace

IReceiveThread* CreateReceiveThread()
{
    if (Factory())
        return Factory()();
    THost* host = Host();
    return host ? new TWindowReceiveThread(*host) : nullptr;
}

void SetReceiveThreadFactory(TReceiveThreadFactory factory) { Factory() = std::move(factory); }

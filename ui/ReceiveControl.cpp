// The program's own receive thread behind the interface the port control steers, and the
// factory that makes it.
#include "ui/ReceiveControl.h"

#include "line/ReceiveThread.h"
#include "model/Host.h"

namespace {

// The program's receive thread as the window steers it.
class TWindowReceiveThread final : public TReceiveThread, public IReceiveThread {
public:
    using TReceiveThread::TReceiveThread;
    void SetOnTerminate(std::function<void()> handler) override { TReceiveThread::SetOnTerminate(std::move(handler)); }
    void SetPriority(int pollPriority) override { TReceiveThread::SetPriority(pollPriority); }
    void Resume() override { TReceiveThread::Resume(); }
    void Terminate() override { TReceiveThread::Terminate(); }
    void RequestReconnect() override { TReceiveThread::RequestReconnect(); }
    void RequestResetStats() override { TReceiveThread::RequestResetStats(); }
    void Pause() override { TReceiveThread::Pause(); }
    void Continue() override { TReceiveThread::Continue(); }
    void StartSearch() override { TReceiveThread::StartSearch(); }
    void StopSearch() override { TReceiveThread::StopSearch(); }
};

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

#include "ui/ReceiveControl.h"

#include "line/ReceiveThread.h"
#include "model/Host.h"
#include "platform/PortList.h"

TPortList PortList;
std::unique_ptr<TMVPort> SettingsPort;
bool PortOpen = true;
std::atomic<bool> PortAutoDetect{true};
int PollPriority = 2;
IReceiveThread* ReceiveThread = nullptr;
void* FtdiLibrary = nullptr;
unsigned LastFtdiCount = 0;

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

} // namespace

IReceiveThread* CreateReceiveThread()
{
    if (Factory())
        return Factory()();
    THost* host = Host();
    return host ? new TWindowReceiveThread(*host) : nullptr;
}

void SetReceiveThreadFactory(TReceiveThreadFactory factory) { Factory() = std::move(factory); }

std::mutex& PortListMutex()
{
    static std::mutex mutex;
    return mutex;
}

namespace {
QStringList NamesOfPortList()
{
    QStringList names;
    for (const auto& port : PortList)
        names << port->Name;
    return names;
}
}

QStringList PortListNames()
{
    std::lock_guard lock(PortListMutex());
    return NamesOfPortList();
}

TPortSettings PortSettingsSnapshot()
{
    std::lock_guard lock(PortListMutex());
    return {PortAutoDetect.load(), SettingsPort ? SettingsPort->Name : QString(), NamesOfPortList()};
}

QString SettingsPortName()
{
    std::lock_guard lock(PortListMutex());
    return SettingsPort ? SettingsPort->Name : QString();
}

QStringList BuildPortNames(bool ftdiLoaded)
{
    QStringList names = EnumerateSerialPorts(TtyClassDir());
    SortPortNames(names);
    if (ftdiLoaded)
        names << QStringLiteral("USB");
    return names;
}

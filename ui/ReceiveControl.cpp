#include "ui/ReceiveControl.h"

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
    return nullptr;   // no receive thread is built into the program yet
}

void SetReceiveThreadFactory(TReceiveThreadFactory factory) { Factory() = std::move(factory); }

std::mutex& PortListMutex()
{
    static std::mutex mutex;
    return mutex;
}

QStringList PortListNames()
{
    std::lock_guard lock(PortListMutex());
    QStringList names;
    for (const auto& port : PortList)
        names << port->Name;
    return names;
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

// The port control's rules: building the port list, the port switches, the choice of a port and
// of the poll priority, and the life of the receive thread.
#include "ui/PortControl.h"

#include "platform/D2xx.h"
#include "platform/PortList.h"

namespace {

// The serial ports sorted, then "USB" when the FTDI library is loaded.
QStringList BuildPortNames(bool ftdiLoaded)
{
    QStringList names = EnumerateSerialPorts(TtyClassDir());
    SortPortNames(names);
    if (ftdiLoaded)
        names << QStringLiteral("USB");
    return names;
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}   // namespace

TPortControl::TPortControl(TReceiveThreadFactory createThread) : createThread_(std::move(createThread)) {}

void TPortControl::Attach(std::unique_ptr<IPortView> view)
{
    view_ = std::move(view);
    std::lock_guard lock(listMutex_);
    PortList.clear();
    SettingsPort = std::make_unique<TMVPort>(QString());
}

void TPortControl::Detach()
{
    {
        std::lock_guard lock(listMutex_);
        PortList.clear();
        SettingsPort.reset();
    }
    if (FtdiLibrary) {
        FreeFtdiLibrary();
        FtdiLibrary = nullptr;
    }
    view_.reset();
}

void TPortControl::UpdatePortList()
{
    // A library that was missing may have been installed since: it is tried at every build.
    if (!FtdiLibrary)
        FtdiLibrary = LoadFtdiLibrary();
    const QStringList names = BuildPortNames(FtdiLibrary != nullptr);
    bool reconnect = false;
    if (FtdiLibrary && d2xx::Loaded()) {
        d2xx::DWORD count = 0;
        if (d2xx::FT_ListDevices(&count, nullptr, d2xx::FT_LIST_NUMBER_ONLY) == d2xx::FT_OK && count != LastFtdiCount) {
            LastFtdiCount = count;
            reconnect = true;
        }
    }
    bool changed = names.size() != qsizetype(PortList.size());
    for (qsizetype i = 0; !changed && i < names.size(); ++i)
        changed = !SameName(names[i], PortList[std::size_t(i)]->Name);
    if (changed) {
        TPortList fresh;
        for (const QString& name : names)
            fresh.push_back(std::make_unique<TMVPort>(name));
        {
            std::lock_guard lock(listMutex_);
            PortList.swap(fresh);
        }
        view_->ShowPortList();
        reconnect = true;
    }
    if (reconnect)
        Reconnect();
}

void TPortControl::SwitchPortOpen()
{
    PortOpen = !PortOpen;
    view_->ShowPortOpen(PortOpen);
    if (!PortOpen) {
        RestartReceiveThread = false;
        if (ReceiveThread)
            ReceiveThread->Terminate();
    } else if (!ReceiveThread) {
        StartReceiveThread();
    } else {
        // Switched on again before the thread asked to end has ended: a fresh one starts from
        // its end handler, so that the port the user switched on does not stay off.
        RestartReceiveThread = true;
    }
}

void TPortControl::SwitchAutoDetect()
{
    PortAutoDetect = !PortAutoDetect;
    view_->ShowAutoDetect(PortAutoDetect);
    Reconnect();
}

void TPortControl::ChoosePort(int tag)
{
    if (tag < 0 || std::size_t(tag) >= PortList.size())
        return;
    const TMVPort& port = *PortList[std::size_t(tag)];
    // Choosing the configured port again only puts the click's own check mark back.
    const bool configured = SameName(port.Name, SettingsPortName());
    view_->CheckPort(tag);
    if (configured)
        return;
    {
        std::lock_guard lock(listMutex_);
        SettingsPort->Assign(port);
    }
    Reconnect();
}

void TPortControl::ConfigurePort(const QString& name)
{
    // Tty names keep their case: the configured name takes the spelling of the listed port.
    QString listed = name;
    for (std::size_t j = 0; j < PortList.size(); ++j)
        if (SameName(PortList[j]->Name, name)) {
            listed = PortList[j]->Name;
            view_->CheckPort(int(j));
        }
    std::lock_guard lock(listMutex_);
    SettingsPort->SetName(listed);
}

void TPortControl::ChoosePriority(int priority)
{
    if (PollPriority == priority)
        return;
    PollPriority = priority;
    if (ReceiveThread) {
        ReceiveThread->SetPriority(PollPriority);
        ReceiveThread->RequestResetStats();
    }
}

void TPortControl::StartReceiveThread()
{
    IReceiveThread* thread = createThread_ ? createThread_() : nullptr;
    if (!thread) {
        view_->ShowPortClosed();   // no receive thread is built into the program
        return;
    }
    ReceiveThread = thread;
    thread->SetOnTerminate([this] { ReceiveThreadTerminate(); });
    thread->SetPriority(PollPriority);
    thread->Resume();
}

void TPortControl::ReceiveThreadTerminate()
{
    ReceiveThread = nullptr;
    if (view_->IsClosing()) {
        view_->CompleteClose();
        return;
    }
    if (PortOpen && RestartReceiveThread) {
        RestartReceiveThread = false;
        StartReceiveThread();
        return;
    }
    PortOpen = false;
    view_->ShowPortOpen(false);
    view_->ShowPortClosed();
}

void TPortControl::Reconnect()
{
    if (ReceiveThread) {
        // The user changed the port: a running search belongs to the line it began on, and ends
        // as at a change of scheme or line mode. Only the thread's own reconnect keeps it.
        ReceiveThread->StopSearch();
        ReceiveThread->RequestReconnect();
        view_->ShowReconnect();
    }
}

QStringList TPortControl::NamesOfPortList() const
{
    QStringList names;
    for (const auto& port : PortList)
        names << port->Name;
    return names;
}

TPortSettings TPortControl::Settings() const
{
    std::lock_guard lock(listMutex_);
    return {PortAutoDetect.load(), SettingsPort ? SettingsPort->Name : QString(), NamesOfPortList()};
}

QString TPortControl::SettingsPortName() const
{
    std::lock_guard lock(listMutex_);
    return SettingsPort ? SettingsPort->Name : QString();
}

QStringList TPortControl::PortListNames() const
{
    std::lock_guard lock(listMutex_);
    return NamesOfPortList();
}

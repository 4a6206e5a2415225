// The port list and the two port menus that show it, kept in step with the machine's serial
// devices as they come and go, and the port commands: the port switch, automatic detection, the
// choice of a port and the priority of the receive thread.
#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include "platform/Abort.h"
#include "platform/D2xx.h"
#include "platform/PortList.h"
#include "ui/Hints.h"
#include "ui/Main.h"
#include "ui/ReceiveControl.h"

namespace {

// Device nodes appear under /dev when a serial device is plugged in; a test that points the
// scan at a folder of its own watches that folder instead.
QString WatchedPortDir()
{
    return qEnvironmentVariableIsEmpty("MIRVANE_TTY_CLASS_DIR") ? QStringLiteral("/dev") : TtyClassDir();
}

// A burst of node changes (a device brings several) settles before the list is built again.
constexpr int PortChangeSettleMs = 300;
// The FTDI adapter makes no tty node; its device count is looked at on this beat.
constexpr int PortRescanMs = 3000;

// The kernel driver behind a tty ("ftdi_sio", "cdc_acm", "serial8250"), or empty.
QString PortDriver(const QString& name)
{
    const QFileInfo driver(TtyClassDir() + QLatin1Char('/') + name + QLatin1String("/device/driver"));
    return driver.isSymLink() ? QFileInfo(driver.symLinkTarget()).fileName() : QString();
}

// The port name with its last character as the accelerator, then where it comes from.
QString PortCaption(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("(?)");
    QString caption = name;
    caption.replace(u'&', QLatin1String("&&"));
    caption.insert(caption.size() - 1, u'&');
    const QString origin = name == QLatin1String("USB") ? QStringLiteral("Direct") : PortDriver(name);
    return origin.isEmpty() ? caption : caption + QStringLiteral(" (") + origin + u')';
}

QAction* Named(const QObject& form, const QString& name) { return form.findChild<QAction*>(name); }

// The items after a port menu's delimiter: the ports.
QList<QAction*> PortItems(QMenu* menu, const QString& delimiterName)
{
    const QList<QAction*> all = menu->actions();
    for (qsizetype i = 0; i < all.size(); ++i)
        if (all[i]->objectName() == delimiterName)
            return all.mid(i + 1);
    return {};
}

struct TPortMenu {
    QMenu* Menu;
    QString Delimiter;
    char Prefix;
};

} // namespace

void TMirvane2Form::WatchPorts()
{
    auto* settle = new QTimer(this);
    settle->setObjectName(QStringLiteral("PortChangeTimer"));
    settle->setSingleShot(true);
    settle->setInterval(PortChangeSettleMs);
    connect(settle, &QTimer::timeout, this, [this] { GuardUi([this] { WMDeviceChange(); }); });

    auto* watcher = new QFileSystemWatcher(this);
    watcher->setObjectName(QStringLiteral("PortWatcher"));
    watcher->addPath(WatchedPortDir());
    connect(watcher, &QFileSystemWatcher::directoryChanged, settle, qOverload<>(&QTimer::start));

    auto* rescan = new QTimer(this);
    rescan->setObjectName(QStringLiteral("PortRescanTimer"));
    rescan->setInterval(PortRescanMs);
    connect(rescan, &QTimer::timeout, this, [this] { GuardUi([this] { WMDeviceChange(); }); });
    rescan->start();
}

void TMirvane2Form::WMDeviceChange() { UpdatePortList(); }

void TMirvane2Form::UpdatePortList()
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
        changed = names[i].compare(PortList[std::size_t(i)]->Name, Qt::CaseInsensitive) != 0;
    if (changed) {
        TPortList fresh;
        for (const QString& name : names)
            fresh.push_back(std::make_unique<TMVPort>(name));
        {
            std::lock_guard lock(PortListMutex());
            PortList.swap(fresh);
        }
        RebuildPortMenus();
        reconnect = true;
    }
    if (reconnect && ReceiveThread) {
        ReceiveThread->RequestReconnect();
        SetStatusText(1, ReadyText);
    }
}

void TMirvane2Form::RebuildPortMenus()
{
    const QString configured = ::SettingsPortName();
    const TPortMenu menus[] = {{LPortNameItem->menu(), QStringLiteral("LPrePortNameDelimiter"), 'L'},
                               {PortNamePopupMenu, QStringLiteral("PPrePortNameDelimiter"), 'P'}};
    for (const TPortMenu& m : menus) {
        const QList<QAction*> old = PortItems(m.Menu, m.Delimiter);
        for (auto it = old.rbegin(); it != old.rend(); ++it)
            delete *it;
        auto* group = findChild<QActionGroup*>(QLatin1Char(m.Prefix) + QStringLiteral("PortGroup"));
        for (std::size_t j = 0; j < PortList.size(); ++j) {
            const QString& name = PortList[j]->Name;
            QAction* item = m.Menu->addAction(PortCaption(name));
            item->setObjectName(QStringLiteral("%1PortCOM%2Item").arg(QLatin1Char(m.Prefix)).arg(j + 1));
            SetHint(item, QStringLiteral(" Порт ") + name);
            item->setCheckable(true);
            item->setChecked(!configured.isEmpty() && name.compare(configured, Qt::CaseInsensitive) == 0);
            item->setEnabled(!PortAutoDetect);
            item->setProperty("Tag", int(j));
            if (group)
                group->addAction(item);
            connect(item, &QAction::triggered, this, [this, item] { GuardUi([&] { LPortCOMItemClick(item); }); });
        }
    }
}

void TMirvane2Form::CheckPortItems(int tag)
{
    const TPortMenu menus[] = {{LPortNameItem->menu(), QStringLiteral("LPrePortNameDelimiter"), 'L'},
                               {PortNamePopupMenu, QStringLiteral("PPrePortNameDelimiter"), 'P'}};
    for (const TPortMenu& m : menus)
        for (QAction* item : PortItems(m.Menu, m.Delimiter))
            if (item->property("Tag").toInt() == tag) {
                item->setChecked(true);
                break;
            }
}

void TMirvane2Form::LPortOpenItemClick()
{
    PortOpen = !PortOpen;
    for (const char* name : {"LPortOpenItem", "PPortOpenItem"})
        if (QAction* item = Named(*this, QLatin1String(name)))
            item->setChecked(PortOpen);
    PortOpenButton->setChecked(PortOpen);
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

void TMirvane2Form::LPortAutoDetectItemClick()
{
    PortAutoDetect = !PortAutoDetect;
    for (const char* name : {"LPortAutoDetectItem", "PPortAutoDetectItem"})
        if (QAction* item = Named(*this, QLatin1String(name)))
            item->setChecked(PortAutoDetect);
    const TPortMenu menus[] = {{LPortNameItem->menu(), QStringLiteral("LPrePortNameDelimiter"), 'L'},
                               {PortNamePopupMenu, QStringLiteral("PPrePortNameDelimiter"), 'P'}};
    for (const TPortMenu& m : menus) {
        if (QAction* delimiter = Named(*this, m.Delimiter))
            delimiter->setEnabled(!PortAutoDetect);
        for (QAction* item : PortItems(m.Menu, m.Delimiter))
            item->setEnabled(!PortAutoDetect);
    }
    if (ReceiveThread) {
        ReceiveThread->RequestReconnect();
        SetStatusText(1, ReadyText);
    }
}

void TMirvane2Form::LPortCOMItemClick(QObject* Sender)
{
    const int tag = Sender ? Sender->property("Tag").toInt() : -1;
    if (tag < 0 || std::size_t(tag) >= PortList.size())
        return;
    const TMVPort& port = *PortList[std::size_t(tag)];
    if (port.Name.compare(::SettingsPortName(), Qt::CaseInsensitive) == 0) {
        CheckPortItems(tag);   // the click's own check mark stays where it was
        return;
    }
    CheckPortItems(tag);
    {
        std::lock_guard lock(PortListMutex());
        SettingsPort->Assign(port);
    }
    if (ReceiveThread) {
        ReceiveThread->RequestReconnect();
        SetStatusText(1, ReadyText);
    }
}

void TMirvane2Form::LPriorityItemClick(QObject* Sender)
{
    const QList<QAction*> items = LPriorityItem->menu()->actions();
    const qsizetype i = items.indexOf(qobject_cast<QAction*>(Sender));
    if (i < 0 || i > 6)
        return;
    items[i]->setChecked(true);
    // The checked item is always the one of PollPriority: choosing it again changes nothing.
    if (PollPriority == 6 - int(i))
        return;
    PollPriority = 6 - int(i);
    if (ReceiveThread) {
        ReceiveThread->SetPriority(PollPriority);
        ReceiveThread->RequestResetStats();
    }
}

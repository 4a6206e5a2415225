// The window's side of the port control: the two port menus that show the port list, kept in
// step with the machine's serial devices as they come and go, the port switch's items and
// button, and the port commands, which forward to the port control.
#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include "platform/Abort.h"
#include "platform/PortList.h"
#include "ui/Hints.h"
#include "ui/Main.h"
#include "ui/PortControl.h"

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

std::array<TPortMenu, 2> PortMenus(const TMirvane2Form& form)
{
    return {{{form.LPortNameItem->menu(), QStringLiteral("LPrePortNameDelimiter"), 'L'},
             {form.PortNamePopupMenu, QStringLiteral("PPrePortNameDelimiter"), 'P'}}};
}

void CheckBoth(const QObject& form, const char* itemName, bool checked)
{
    for (const char* prefix : {"L", "P"})
        if (QAction* item = Named(form, QLatin1String(prefix) + QLatin1String(itemName)))
            item->setChecked(checked);
}

// What the port control shows in this window.
class TWindowPortView final : public IPortView {
public:
    explicit TWindowPortView(TMirvane2Form& form) : form_(form) {}
    void ShowPortList() override { form_.RebuildPortMenus(); }
    void CheckPort(int tag) override { form_.CheckPortItems(tag); }
    void ShowPortOpen(bool open) override
    {
        CheckBoth(form_, "PortOpenItem", open);
        form_.PortOpenButton->setChecked(open);
    }
    void ShowAutoDetect(bool on) override
    {
        CheckBoth(form_, "PortAutoDetectItem", on);
        for (const TPortMenu& m : PortMenus(form_)) {
            if (QAction* delimiter = Named(form_, m.Delimiter))
                delimiter->setEnabled(!on);
            for (QAction* item : PortItems(m.Menu, m.Delimiter))
                item->setEnabled(!on);
        }
    }
    void ShowReconnect() override { form_.SetStatusText(1, ReadyText); }
    void ShowPortClosed() override
    {
        form_.SetStatusText(1, ReadyText);
        form_.SetStatusText(2, PortClosedText);
    }
    bool IsClosing() const override { return form_.IsClosing(); }
    void CompleteClose() override { form_.close(); }

private:
    TMirvane2Form& form_;
};

}   // namespace

void TMirvane2Form::AttachPorts() { Ports.Attach(std::make_unique<TWindowPortView>(*this)); }

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

void TMirvane2Form::UpdatePortList() { Ports.UpdatePortList(); }

void TMirvane2Form::RebuildPortMenus()
{
    const QString configured = Ports.SettingsPortName();
    for (const TPortMenu& m : PortMenus(*this)) {
        const QList<QAction*> old = PortItems(m.Menu, m.Delimiter);
        for (auto it = old.rbegin(); it != old.rend(); ++it)
            delete *it;
        auto* group = findChild<QActionGroup*>(QLatin1Char(m.Prefix) + QStringLiteral("PortGroup"));
        for (std::size_t j = 0; j < Ports.PortList.size(); ++j) {
            const QString& name = Ports.PortList[j]->Name;
            QAction* item = m.Menu->addAction(PortCaption(name));
            item->setObjectName(QStringLiteral("%1PortCOM%2Item").arg(QLatin1Char(m.Prefix)).arg(j + 1));
            SetHint(item, QStringLiteral(" Порт ") + name);
            item->setCheckable(true);
            item->setChecked(!configured.isEmpty() && name.compare(configured, Qt::CaseInsensitive) == 0);
            item->setEnabled(!Ports.PortAutoDetect);
            item->setProperty("Tag", int(j));
            if (group)
                group->addAction(item);
            connect(item, &QAction::triggered, this, [this, item] { GuardUi([&] { LPortCOMItemClick(item); }); });
        }
    }
}

void TMirvane2Form::CheckPortItems(int tag)
{
    for (const TPortMenu& m : PortMenus(*this))
        for (QAction* item : PortItems(m.Menu, m.Delimiter))
            if (item->property("Tag").toInt() == tag) {
                item->setChecked(true);
                break;
            }
}

void TMirvane2Form::LPortOpenItemClick() { Ports.SwitchPortOpen(); }

void TMirvane2Form::LPortAutoDetectItemClick() { Ports.SwitchAutoDetect(); }

void TMirvane2Form::LPortCOMItemClick(QObject* Sender) { Ports.ChoosePort(Sender ? Sender->property("Tag").toInt() : -1); }

void TMirvane2Form::LPriorityItemClick(QObject* Sender)
{
    const QList<QAction*> items = LPriorityItem->menu()->actions();
    const qsizetype i = items.indexOf(qobject_cast<QAction*>(Sender));
    if (i < 0 || i > 6)
        return;
    items[i]->setChecked(true);
    Ports.ChoosePriority(6 - int(i));
}

void TMirvane2Form::StartReceiveThread() { Ports.StartReceiveThread(); }

void TMirvane2Form::ReceiveThreadTerminate() { Ports.ReceiveThreadTerminate(); }

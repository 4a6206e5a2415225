#pragma once
// The port control: what the program owns and steers of the line apart from the window that
// shows it. It holds the port list, the configured port, the port switches, the poll priority
// and the FTDI library, starts and ends the receive thread, and tells a view (the main window's
// port menus, port button and status bar) what to show. The program makes one and hands it to
// the window, which knows it as `Ports`.
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "line/Port.h"
#include "model/Host.h"
#include "ui/ReceiveControl.h"

// What the port control needs of the window.
class IPortView {
public:
    virtual ~IPortView() = default;
    // Both port menus rebuilt from the port list.
    virtual void ShowPortList() = 0;
    // The port item of that Tag checked in both port menus.
    virtual void CheckPort(int tag) = 0;
    virtual void ShowPortOpen(bool open) = 0;
    // The auto-detection items checked, and the port items enabled exactly when it is off.
    virtual void ShowAutoDetect(bool on) = 0;
    // The receive thread was asked to reconnect: status-bar panel 1 shows ReadyText.
    virtual void ShowReconnect() = 0;
    // No receive thread: status-bar panel 1 ReadyText, panel 2 ":Закр.".
    virtual void ShowPortClosed() = 0;
    // The window's close questions have run; it waits for the thread to end.
    virtual bool IsClosing() const = 0;
    // The thread the pending close waited for has ended.
    virtual void CompleteClose() = 0;
};

// The available ports, sorted, the FTDI entry last; owned.
using TPortList = std::vector<std::unique_ptr<TMVPort>>;

class TPortControl {
public:
    explicit TPortControl(TReceiveThreadFactory createThread = CreateReceiveThread);
    TPortControl(const TPortControl&) = delete;
    TPortControl& operator=(const TPortControl&) = delete;

    // The window takes the ports over: an empty list and a configured port with no name.
    void Attach(std::unique_ptr<IPortView> view);
    // The window goes: the list, the configured port and the FTDI library are released.
    void Detach();

    // Builds the list from the machine's ports; a changed list, or a changed number of FTDI
    // devices, makes a running thread reconnect (and end its search).
    void UpdatePortList();
    void SwitchPortOpen();
    void SwitchAutoDetect();
    // The listed port of that index becomes the configured one, unless it already is.
    void ChoosePort(int tag);
    // The configured port as the settings name it, in the spelling of the listed port it names.
    void ConfigurePort(const QString& name);
    // 0..6; choosing the present one changes nothing.
    void ChoosePriority(int priority);
    void StartReceiveThread();
    // The receive thread's end handler.
    void ReceiveThreadTerminate();

    // Read at once under the list's lock (any thread).
    TPortSettings Settings() const;
    QString SettingsPortName() const;
    QStringList PortListNames() const;

    // Replaced (the list) or renamed (the configured port) on the main thread under the lock;
    // other threads read them only through the three reads above.
    TPortList PortList;
    std::unique_ptr<TMVPort> SettingsPort;
    bool PortOpen = true;                      // the port is switched on
    std::atomic<bool> PortAutoDetect{true};    // the thread tries every listed port
    int PollPriority = 2;                      // 0..6, default 2 (below normal)
    IReceiveThread* ReceiveThread = nullptr;   // the running receive thread, or none

private:
    // A running thread ends its search, closes its port and detects or opens again.
    void Reconnect();
    QStringList NamesOfPortList() const;

    void* FtdiLibrary = nullptr;   // the FTDI library's module handle, or none
    unsigned LastFtdiCount = 0;    // FTDI devices at the last list build
    // The port was switched on again while the thread asked to end had not ended yet.
    bool RestartReceiveThread = false;
    TReceiveThreadFactory createThread_;
    std::unique_ptr<IPortView> view_;
    mutable std::mutex listMutex_;
};

#pragma once
// What the main window owns and steers of the line: the port list, the configured port, the
// port switches, the poll priority, the FTDI library, and the receive thread through one narrow
// interface. The receive thread is made by a factory, so that the window does not depend on
// how the thread is built and tests can run a thread of their own.
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "line/Port.h"

// A receive thread as the window sees it. Made suspended: nothing runs before Resume.
// Contract of an implementation: once its loop has ended (after Terminate, or on its own), it
// runs the OnTerminate handler on the main thread, exactly once, and then deletes itself; the
// window never deletes it and drops its pointer in that handler.
class IReceiveThread {
public:
    virtual ~IReceiveThread() = default;
    virtual void SetOnTerminate(std::function<void()> handler) = 0;
    // 0 idle .. 6 time-critical (the QThread priority scale).
    virtual void SetPriority(int pollPriority) = 0;
    virtual void Resume() = 0;
    // Asks the loop to end; returns at once.
    virtual void Terminate() = 0;
    // The thread closes its port and detects or opens again.
    virtual void RequestReconnect() = 0;
    // The poll statistics start over.
    virtual void RequestResetStats() = 0;
    // Opening a scheme holds the thread off the devices until it is done.
    virtual void Pause() = 0;
    virtual void Continue() = 0;
    // The search for new devices on the line.
    virtual void StartSearch() = 0;
    virtual void StopSearch() = 0;
};

using TReceiveThreadFactory = std::function<IReceiveThread*()>;
// A new receive thread from the installed factory: by default the program's own, working for
// the host (the main window).
IReceiveThread* CreateReceiveThread();
// Installs the factory (an empty one restores the built-in).
void SetReceiveThreadFactory(TReceiveThreadFactory factory);

// The available ports, sorted, the FTDI entry last; owned. Replaced on the main thread under
// PortListMutex; other threads read it only under that lock, or take PortListNames().
using TPortList = std::vector<std::unique_ptr<TMVPort>>;
extern TPortList PortList;
// The configured port; its name changes on the main thread under PortListMutex.
extern std::unique_ptr<TMVPort> SettingsPort;
std::mutex& PortListMutex();
QStringList PortListNames();
// The port switches, the configured port and the list, read at once (any thread).
struct TPortSettings;
TPortSettings PortSettingsSnapshot();
QString SettingsPortName();

extern bool PortOpen;                       // the port is switched on
extern std::atomic<bool> PortAutoDetect;    // the thread tries every listed port
extern int PollPriority;                    // 0..6, default 2 (below normal)
extern IReceiveThread* ReceiveThread;       // the running receive thread, or none
extern void* FtdiLibrary;                   // the FTDI library's module handle, or none
extern unsigned LastFtdiCount;              // FTDI devices at the last list build

// The port names of the machine as the port list takes them: the serial ports sorted, then
// "USB" when the FTDI library is loaded.
QStringList BuildPortNames(bool ftdiLoaded);

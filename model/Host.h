#pragma once
// The host: what the scheme model and the line engine need of the main window. The window
// implements it; tests install a fake (tests/support/FakeHost.h).
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

#include "model/Catalogue.h"

class QWidget;
class TDeviceInfo;

// The open scheme's device objects in grid-row order (owned), and the same objects by line
// address (not owned; none where no device is).
using TDeviceList = std::vector<std::unique_ptr<TDeviceInfo>>;
using TDevicesByAddr = std::array<TDeviceInfo*, LineAddressCount>;

// The port switches as the receive thread reads them while it detects a port: one snapshot,
// taken at once, so that a list the window rebuilds meanwhile is never read half-changed.
struct TPortSettings {
    bool AutoDetect = false;   // try the configured port, then every listed one
    QString SettingsPort;      // the configured port's name
    QStringList PortList;      // the listed ports' names, in list order
};

class THost {
public:
    virtual ~THost() = default;

    virtual TDeviceList& Devices() = 0;
    virtual TDevicesByAddr& DevicesByAddr() = 0;
    // The selected device of the open scheme, or none.
    virtual TDeviceInfo* CurrentDevice() const = 0;
    // The scheme panel: parent of every device frame.
    virtual QWidget* SchemePanel() const = 0;

    // A device's watchdog expired (or the line engine treats the device as silent): the
    // window's no-answer handling for that device. Main thread; the device is alive.
    virtual void WMTimer(TDeviceInfo* device) = 0;

    // Status bar: the widths of panels 0 and 1 (W0, W1), the x of the progress slit of a
    // scheme being opened (-1 none) and its redraw.
    virtual int StatusPanelWidth(int index) const = 0;
    virtual int ProgressX() const = 0;
    virtual void SetProgressX(int x) = 0;
    virtual void UpdateStatusBarRegion() = 0;

    // True while the open-scheme walk builds the devices of a scheme.
    virtual bool OpeningScheme() const = 0;

    // What the exchange hand-off and the line log use of the window (main thread).
    // The display refresh interval in ms (0, 250, 500 or 1000) and whether the line log records.
    virtual int UpdateTime() const = 0;
    virtual bool LineLogOn() const = 0;
    // Shows the selected device's request and answer in the hex fields.
    virtual void ShowHexTexts(const QString& request, const QString& answer) = 0;
    // The line monitor's list, a virtual list drawn from LineLog: its top index, selected index
    // (-1 none), client height and item height in pixels, and item count, all in log indexes.
    // Selecting an item scrolls it into view. Begin/End bracket one update of the list: the
    // window may show it later, at the screen's pace, but reads back what the update set.
    virtual int LineListTopIndex() const = 0;
    virtual int LineListItemIndex() const = 0;
    virtual void SetLineListItemIndex(int index) = 0;
    virtual int LineListHeight() const = 0;
    virtual int LineListItemHeight() const = 0;
    virtual int LineListCount() const = 0;
    virtual void SetLineListCount(int count) = 0;
    virtual void BeginLineListUpdate() = 0;
    virtual void EndLineListUpdate() = 0;
    // The decoding panel shows the selected record (inside an update: once it is shown, and
    // only if it is another record than the panel shows).
    virtual void ShowLineRecordInfo() = 0;

    // What the receive thread and the poll scheduler use of the window. Every member has a
    // harmless default, so that a window that does not run a receive thread need not care.
    // The port switches: called on the receive thread, so the window takes them under its lock.
    virtual TPortSettings PortSettings() const { return {}; }
    // Devices of Devices() that are not disabled (main thread).
    virtual int CountActiveDevices();
    // Status-bar panel text: 1 the status (" Готов", the poll period), 2 the connection glyph
    // and port name (main thread).
    virtual void SetStatusPanelText(int /*panel*/, const QString& /*text*/) {}
    // A device search has ended: post the notice that lists the new devices and return at
    // once; it is called inside a synchronized step, so the notice must run later, from the
    // event loop (it opens a dialog).
    virtual void PostSearchEnded() {}
    // True while the window is closing: no more messages to the devices.
    virtual bool IsClosing() const { return false; }
};

// The program's host (the main window), or none before it exists and after it is gone.
THost* Host();
void SetHost(THost* host);

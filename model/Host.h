#pragma once
// The host: what the scheme walk and the line engine need of the open scheme and the window,
// and the two views of the window they write to. The line engine gets no pixel geometry through
// it: the list's extent comes in items.
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

#include "model/Catalogue.h"

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

// The line monitor's list as the line log fills it, in log indexes: a virtual list drawn from
// LineLog. The window's list implements it; tests fake it.
class ILineListView {
public:
    virtual ~ILineListView() = default;
    // The top index and the selected index (-1 none); selecting an item scrolls it into view.
    virtual int TopIndex() const = 0;
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
    // How many items the list shows at once (at least 0).
    virtual int VisibleCount() const = 0;
    virtual void SetCount(int count) = 0;
    // Bracket one update of the list: the window may show it later, at the screen's pace, but
    // reads back what the update set.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    // The decoding panel shows the selected record (inside an update: once it is shown, and only
    // if it is another record than the panel shows).
    virtual void ShowRecordInfo() = 0;
    // The line log records (the monitor's start button is down).
    virtual bool Recording() const = 0;
};

// What the window shows of the line beside the list: the status bar's panels and the progress
// slit of a scheme being opened, the selected device's hex texts, and how often a device's
// values are shown. The window implements it; tests fake it.
class IStatusView {
public:
    virtual ~IStatusView() = default;
    // Status-bar panel text: 1 the status (" Готов", the poll period), 2 the connection glyph
    // and port name (main thread).
    virtual void SetPanelText(int panel, const QString& text) = 0;
    // The widths of panels 0 and 1 (W0, W1), which the progress slit runs across.
    virtual int PanelWidth(int index) const = 0;
    // The progress slit at x (-1 none), redrawn when it moved.
    virtual void ShowProgress(int x) = 0;
    // A device's request and answer, shown in the hex fields when it is the selected one.
    virtual void ShowDeviceTexts(const TDeviceInfo& device, const QString& request, const QString& answer) = 0;
    // The display refresh interval in ms (0, 250, 500 or 1000).
    virtual int UpdateTime() const = 0;
};

// The host: what the scheme walk and the line engine need of the open scheme and the window
// (main thread unless said otherwise). The window implements it over the session
// (model/Session.h); tests install a fake (tests/support/FakeHost.h).
class THost {
public:
    virtual ~THost() = default;

    virtual TDeviceList& Devices() = 0;
    virtual TDevicesByAddr& DevicesByAddr() = 0;
    // True while the open-scheme walk builds the devices of a scheme.
    virtual bool OpeningScheme() const = 0;
    // A device's watchdog expired (or the line engine treats the device as silent): the
    // window's no-answer handling for that device. The device is alive.
    virtual void WMTimer(TDeviceInfo* device) = 0;
    // A device search has ended: post the notice that lists the new devices and return at
    // once; it is called inside a synchronized step, so the notice must run later, from the
    // event loop (it opens a dialog).
    virtual void PostSearchEnded() = 0;
    // True while the window is closing: no more messages to the devices.
    virtual bool IsClosing() const = 0;
    // The port switches as the receive thread reads them while it detects a port: called on
    // the receive thread, so they are taken under the port list's lock.
    virtual TPortSettings PortSettings() const = 0;

    virtual ILineListView& LineList() = 0;
    virtual IStatusView& Status() = 0;
};

// Devices that are not disabled.
int CountActiveDevices(const TDeviceList& devices);

// The program's host (the main window), or none before it exists and after it is gone.
THost* Host();
void SetHost(THost* host);

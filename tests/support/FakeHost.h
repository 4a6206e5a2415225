#pragma once
// A host standing in for the main window: device lists, a scheme panel, status-bar widths and
// progress, and a record of every watchdog message; it is its own line list and status view.
// Installs itself as the program's host for its lifetime.
#include <QString>
#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "frames/shared/FrameBinding.h"
#include "model/DeviceInfo.h"
#include "model/Host.h"

class FakeHost : public THost, public ILineListView, public IStatusView {
public:
    FakeHost() { SetHost(this); }
    ~FakeHost() override
    {
        ClearDevices();   // devices go before the widget tree
        if (Host() == this)
            SetHost(nullptr);
    }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    TDeviceList& Devices() override { return devices; }
    TDevicesByAddr& DevicesByAddr() override { return byAddr; }
    TDeviceInfo* CurrentDevice() const { return current; }
    QWidget* SchemePanel() const { return panel.get(); }
    // Records the device and, like the window, stops its watchdog.
    void WMTimer(TDeviceInfo* device) override
    {
        timerMessages.push_back(device);
        device->StopTimer();
    }
    int PanelWidth(int index) const override { return index == 0 ? 300 : index == 1 ? 106
                                                                                    : 220; }
    // Records each position the progress moves to; then runs OnRedraw.
    void ShowProgress(int x) override
    {
        if (x == progressX)
            return;
        progressX = x;
        redraws.push_back(progressX);
        if (OnRedraw)
            OnRedraw();
    }
    bool OpeningScheme() const override { return opening; }
    int UpdateTime() const override { return updateTime; }
    bool Recording() const override { return lineLogOn; }
    // The hex fields show the selected device's texts.
    void ShowDeviceTexts(const TDeviceInfo& device, const QString& request, const QString& answer) override
    {
        if (&device != current)
            return;
        hexOut->SetText(request);
        hexIn->SetText(answer);
    }
    int TopIndex() const override { return listTop; }
    int ItemIndex() const override { return listIndex; }
    // Selects and, like a list box, scrolls the item into view.
    void SetItemIndex(int index) override
    {
        listIndex = index;
        const int visible = listHeight / (listItemHeight > 0 ? listItemHeight : 1);
        if (index >= 0 && index < listTop)
            listTop = index;
        else if (index >= 0 && visible > 0 && index >= listTop + visible)
            listTop = index - visible + 1;
    }
    // A list box of listHeight pixels with items of listItemHeight.
    int VisibleCount() const override { return listHeight / (listItemHeight > 0 ? listItemHeight : 1); }
    void SetCount(int count) override { listCount = count; }
    void BeginUpdate() override { ++listUpdateDepth; }
    void EndUpdate() override { --listUpdateDepth; }
    void ShowRecordInfo() override { ++recordInfoShown; }
    // Receive thread: the port settings are read under a lock.
    TPortSettings PortSettings() const override
    {
        std::lock_guard lock(portMutex_);
        return portSettings_;
    }
    void SetPortSettings(const TPortSettings& settings)
    {
        std::lock_guard lock(portMutex_);
        portSettings_ = settings;
    }
    void SetPanelText(int index, const QString& text) override
    {
        if (index < 0 || index >= static_cast<int>(statusTexts.size()))
            return;
        statusTexts[static_cast<std::size_t>(index)] = text;
        statusHistory[static_cast<std::size_t>(index)].push_back(text);
    }
    void PostSearchEnded() override { ++searchEndPosts; }
    bool IsClosing() const override { return false; }
    ILineListView& LineList() override { return *this; }
    IStatusView& Status() override { return *this; }

    TFrameHandlers Handlers() const
    {
        TFrameHandlers handlers;
        handlers.Owner = handlers.Parent = panel.get();
        return handlers;
    }
    // Destroys the devices and empties both lists, as the window does when a scheme closes.
    void ClearDevices()
    {
        current = nullptr;
        byAddr.fill(nullptr);
        devices.clear();
    }

    TDeviceList devices;
    TDevicesByAddr byAddr{};
    TDeviceInfo* current = nullptr;
    std::unique_ptr<QWidget> panel = std::make_unique<QWidget>();
    int progressX = -1;
    bool opening = false;
    std::vector<TDeviceInfo*> timerMessages;   // identifiers only: never dereferenced later
    std::vector<int> redraws;                  // the progress position at each redraw
    int updateTime = 0;
    bool lineLogOn = false;
    std::unique_ptr<TEdit> hexOut = std::make_unique<TEdit>();
    std::unique_ptr<TEdit> hexIn = std::make_unique<TEdit>();
    int listTop = 0;
    int listIndex = -1;
    int listHeight = 160;
    int listItemHeight = 16;
    int listCount = 0;
    int listUpdateDepth = 0;   // open Begin/End brackets
    int recordInfoShown = 0;
    std::array<QString, 3> statusTexts;                  // the panels' present texts
    std::array<std::vector<QString>, 3> statusHistory;   // every text each panel was given
    std::atomic<int> searchEndPosts{0};
    std::function<void()> OnRedraw;

private:
    mutable std::mutex portMutex_;
    TPortSettings portSettings_;
};

#pragma once
// A host standing in for the main window: device lists, a scheme panel, status-bar widths and
// progress, and a record of every watchdog message. Installs itself as the program's host for
// its lifetime.
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

class FakeHost : public THost {
public:
    FakeHost();
    ~FakeHost() override;
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    TDeviceList& Devices() override { return devices; }
    TDevicesByAddr& DevicesByAddr() override { return byAddr; }
    TDeviceInfo* CurrentDevice() const override { return current; }
    QWidget* SchemePanel() const override { return panel.get(); }
    // Records the device and, like the window, stops its watchdog.
    void WMTimer(TDeviceInfo* device) override;
    int StatusPanelWidth(int index) const override { return index == 0 ? 300 : index == 1 ? 106 : 220; }
    int ProgressX() const override { return progressX; }
    void SetProgressX(int x) override { progressX = x; }
    // Records the progress position it is drawn at; then runs OnRedraw.
    void UpdateStatusBarRegion() override;
    bool OpeningScheme() const override { return opening; }
    int UpdateTime() const override { return updateTime; }
    bool LineLogOn() const override { return lineLogOn; }
    void ShowHexTexts(const QString& request, const QString& answer) override
    {
        hexOut->SetText(request);
        hexIn->SetText(answer);
    }
    int LineListTopIndex() const override { return listTop; }
    int LineListItemIndex() const override { return listIndex; }
    // Selects and, like a list box, scrolls the item into view.
    void SetLineListItemIndex(int index) override;
    int LineListHeight() const override { return listHeight; }
    int LineListItemHeight() const override { return listItemHeight; }
    int LineListCount() const override { return listCount; }
    void SetLineListCount(int count) override { listCount = count; }
    void BeginLineListUpdate() override { ++listUpdateDepth; }
    void EndLineListUpdate() override { --listUpdateDepth; }
    void ShowLineRecordInfo() override { ++recordInfoShown; }
    // Receive thread: the port settings are read under a lock.
    TPortSettings PortSettings() const override;
    void SetPortSettings(const TPortSettings& settings);
    void SetStatusPanelText(int panel, const QString& text) override;
    void PostSearchEnded() override { ++searchEndPosts; }
    bool IsClosing() const override { return false; }

    TFrameHandlers Handlers() const;
    // Destroys the devices and empties both lists, as the window does when a scheme closes.
    void ClearDevices();

    TDeviceList devices;
    TDevicesByAddr byAddr{};
    TDeviceInfo* current = nullptr;
    std::unique_ptr<QWidget> panel;
    int progressX = -1;
    bool opening = false;
    std::vector<TDeviceInfo*> timerMessages;   // identifiers only: never dereferenced later
    std::vector<int> redraws;                  // the progress position at each redraw
    int updateTime = 0;
    bool lineLogOn = false;
    std::unique_ptr<TEdit> hexOut;
    std::unique_ptr<TEdit> hexIn;
    int listTop = 0;
    int listIndex = -1;
    int listHeight = 160;
    int listItemHeight = 16;
    int listCount = 0;
    int listUpdateDepth = 0;   // open Begin/End brackets
    int recordInfoShown = 0;
    std::array<QString, 3> statusTexts;               // the panels' present texts
    std::array<std::vector<QString>, 3> statusHistory;    // every text each panel was given
    std::atomic<int> searchEndPosts{0};
    std::function<void()> OnRedraw;

private:
    mutable std::mutex portMutex_;
    TPortSettings portSettings_;
};

#include "support/FakeHost.h"

FakeHost::FakeHost()
    : panel(std::make_unique<QWidget>()), hexOut(std::make_unique<TEdit>()), hexIn(std::make_unique<TEdit>())
{
    panel->setObjectName("SchemePanel");
    hexOut->setObjectName("HexOutStrEdit");
    hexIn->setObjectName("HexInStrEdit");
    SetHost(this);
}

FakeHost::~FakeHost()
{
    ClearDevices();   // devices go before the widget tree
    if (Host() == this)
        SetHost(nullptr);
}

void FakeHost::WMTimer(TDeviceInfo* device)
{
    timerMessages.push_back(device);
    device->StopTimer();
}

void FakeHost::UpdateStatusBarRegion()
{
    redraws.push_back(progressX);
    if (OnRedraw)
        OnRedraw();
}

TFrameHandlers FakeHost::Handlers() const
{
    TFrameHandlers handlers;
    handlers.Owner = panel.get();
    handlers.Parent = panel.get();
    return handlers;
}

void FakeHost::ClearDevices()
{
    current = nullptr;
    byAddr.fill(nullptr);
    devices.clear();
}

void FakeHost::SetLineListItemIndex(int index)
{
    listIndex = index;
    if (index < 0)
        return;
    const int visible = listHeight / (listItemHeight > 0 ? listItemHeight : 1);
    if (index < listTop)
        listTop = index;
    else if (visible > 0 && index >= listTop + visible)
        listTop = index - visible + 1;
}

TPortSettings FakeHost::PortSettings() const
{
    std::lock_guard lock(portMutex_);
    return portSettings_;
}

void FakeHost::SetPortSettings(const TPortSettings& settings)
{
    std::lock_guard lock(portMutex_);
    portSettings_ = settings;
}

void FakeHost::SetStatusPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= static_cast<int>(statusTexts.size()))
        return;
    statusTexts[static_cast<std::size_t>(panel)] = text;
    statusHistory[static_cast<std::size_t>(panel)].push_back(text);
}

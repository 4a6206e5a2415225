// The devices of the open scheme: adding one from the catalogue list, removing, selecting and
// moving one, its comment, and its no-answer handling.
#include <QAbstractItemView>
#include <QAction>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "model/Helpers.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"
#include "model/Session.h"
#include "ui/Main.h"
#include "ui/MainParts.h"
#include "ui/PortControl.h"
#include "ui/SchemeGrid.h"

// ---------------------------------------------------------------------------------------------
// Adding and removing.

void TMirvane2Form::DAddDeviceItemClick()
{
    const auto* item = static_cast<TCatalogueItem*>(DevicesListView->currentItem());
    if (!Session.ConstructorMode || !Session.CurrentScheme || !item || Session.DevicesByAddr[item->Info().Address])
        return;
    // From the menu with the catalogue collapsed the user cannot see the row this would add: the
    // panel opens on it instead, for the user to confirm or choose another.
    if (!RightPanel->Visible()) {
        RightPanelButtonClick(ShowRightButton);
        DevicesListView->scrollToItem(DevicesListView->currentItem());
        DevicesListView->setFocus();
        return;
    }
    const TFrameInfo& info = item->Info();
    const QString name = NewDeviceName(info);
    AddDeviceRow(DevicesListView->currentItem(), Session.AddObject(name, item->Row()));
    GridControl->SelectCurrentCell();
    ShowLineRecordInfo();
}

TDeviceInfo* TMirvane2Form::AddDeviceRow(QTreeWidgetItem* item, TSchemeObject* object)
{
    TDeviceInfo* device = Session.AddDevice(object, &FrameHandlers, this);
    GridControl->RebuildKeepingTexts();
    GridControl->SetCurrentRow(GridControl->DeviceRow(device));

    FormItem(this, "SClearSchemeItem")->setEnabled(true);
    if (item) {
        DevicesListView->setUpdatesEnabled(false);
        delete item;
        DevicesListView->setUpdatesEnabled(true);
        if (DevicesListView->currentItem())
            SelectFreeCatalogueItem();
    }
    PaintCatalogueItems();
    UpdateAddDeviceItems();
    SetModified(true);
    if (Ports.ReceiveThread)
        Ports.ReceiveThread->RequestResetStats();
    return device;
}

void TMirvane2Form::DDeleteDeviceItemClick()
{
    if (Session.ConstructorMode && Session.CurrentDevice)
        RemoveDevice(Session.CurrentDevice);
}

void TMirvane2Form::RemoveDevice(TDeviceInfo* device)
{
    if (std::none_of(Session.Devices.begin(), Session.Devices.end(), [device](const auto& d) { return d.get() == device; }))
        return;
    Session.DevicesByAddr[device->FrameInfo->Address] = nullptr;   // before its row is listed again

    // Back into the catalogue list, focused.
    auto* item = new TCatalogueItem(int(device->SchemeObject->Type), &DevicesSortColumn);
    DevicesListView->addTopLevelItem(item);
    DevicesListView->sortItems(0, Qt::AscendingOrder);
    DevicesListView->setCurrentItem(item);
    DevicesListView->clearSelection();
    item->setSelected(true);

    // The neighbour to select: the device before it, or the last one for the first.
    const bool wasCurrent = device == Session.CurrentDevice;
    TDeviceInfo* neighbour = wasCurrent ? Session.NeighbourOf(device) : nullptr;
    if (wasCurrent)
        SelectDevice(nullptr);   // while its frame still exists

    GridControl->HideEditor();
    Session.RemoveDevice(device);
    GridControl->RebuildKeepingTexts();

    FormItem(this, "SClearSchemeItem")->setEnabled(!Session.Devices.empty());
    if (wasCurrent) {
        if (neighbour) {
            GridControl->SetCurrentRow(GridControl->DeviceRow(neighbour));
            SelectDevice(neighbour);
        } else if (RightPanel->isVisible()) {
            DevicesListView->setFocus();
        }
        GridControl->SelectCurrentCell();
    }
    PaintCatalogueItems();
    UpdateAddDeviceItems();
    SetModified(true);
    ShowLineRecordInfo();
    if (Ports.ReceiveThread)
        Ports.ReceiveThread->RequestResetStats();
    if (Session.CountActiveDevices() == 0)
        SetStatusText(1, ReadyText);
}

// ---------------------------------------------------------------------------------------------
// Selecting.

void TMirvane2Form::SelectDevice(TDeviceInfo* device)
{
    if (device == Session.CurrentDevice)
        return;
    TDeviceInfo* previous = Session.CurrentDevice;
    if (device) {
        const TFrameInfo& info = *device->FrameInfo;
        DeviceNameInfo->SetCaption(QString::fromUtf8(info.Model));
        DeviceAddrInfo->SetCaption(QStringLiteral("0x") + HexByte(info.Address));
        DeviceDescInfo->SetCaption(QString::fromUtf8(info.Description));
        if (device->Frame) {
            device->Frame->SetVisible(true);
            SchemePanel_->verticalScrollBar()->setValue(0);   // a frame is first seen from its top
        }
        SetCommentText(device->SchemeObject->Comment);
        HexOutStrEdit_->SetText(device->RequestText);
        HexInStrEdit_->SetText(device->AnswerText);
    } else {
        for (TPanel* panel : {DeviceNameInfo, DeviceAddrInfo, DeviceDescInfo})
            panel->SetCaption(NoValueText);
        SetCommentText(FileComment);
        HexOutStrEdit_->SetText(QString());
        HexInStrEdit_->SetText(QString());
    }
    if (previous && previous->Frame)
        previous->Frame->SetVisible(false);
    FormItem(this, "DDeleteDeviceItem")->setEnabled(device != nullptr);
    DeleteDeviceButton->setEnabled(device != nullptr);

    Session.CurrentDevice = device;
    if ((previous == nullptr) != (device == nullptr))
        SchemeGrid->viewport()->update();
    // The line list greys the records of other devices.
    LineDataListBox->viewport()->update();
}

void TMirvane2Form::CommentMemoChange(QObject*)
{
    if (Session.CurrentDevice)
        Session.CurrentDevice->SchemeObject->Comment = CommentMemo->Text();
    else
        FileComment = CommentMemo->Text();
    SetModified(true);
}

// ---------------------------------------------------------------------------------------------
// Moving.

void TMirvane2Form::DeviceMoveButtonClick(QObject* Sender)
{
    if (!Session.ConstructorMode || !Session.CurrentScheme)
        return;
    const int row = SchemeGrid->currentRow();
    const int other = row + (Sender == DeviceMoveUpButton ? -1 : 1);
    const TDeviceInfo* moved = GridControl->RowDevice(row);
    const TDeviceInfo* neighbour = GridControl->RowDevice(other);
    if (!moved || !neighbour)
        return;
    if (!Session.SwapDevices(moved, neighbour))
        return;
    GridControl->RebuildKeepingTexts();
    GridControl->SetCurrentRow(other);
    SetModified(true);
}

// ---------------------------------------------------------------------------------------------
// No answer in time.

void TMirvane2Form::WMTimerBody(TDeviceInfo* device)
{
    ForgetExchanges(device);
    const std::uint8_t mode = device->SchemeObject->Mode;
    if (LineMode.load() == LineModeMaster || mode == ModeDisabled)
        device->ClearEditors(true);
    if (mode != ModeEmulate)
        device->ClearEditors(false);
    UpdateDeviceRowStatus(device);
    if (device == Session.CurrentDevice) {
        HexOutStrEdit_->SetText(QString());
        HexInStrEdit_->SetText(QString());
    }
    device->StopTimer();
}

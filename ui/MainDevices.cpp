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
#include "ui/Main.h"
#include "ui/MainParts.h"
#include "ui/PortControl.h"
#include "ui/SchemeGrid.h"

namespace {

int IndexOf(const TDeviceList& devices, const TDeviceInfo* device)
{
    for (std::size_t i = 0; i < devices.size(); ++i)
        if (devices[i].get() == device)
            return int(i);
    return -1;
}

void RemoveObject(TDeviceScheme* scheme, const TSchemeObject* object)
{
    if (scheme)
        std::erase_if(scheme->Objects, [object](const auto& o) { return o.get() == object; });
}

}   // namespace

// ---------------------------------------------------------------------------------------------
// Adding and removing.

void TMirvane2Form::DAddDeviceItemClick()
{
    const auto* item = static_cast<TCatalogueItem*>(DevicesListView->currentItem());
    if (!ConstructorMode || !CurrentScheme || !item || DevicesByAddr_[item->Info().Address])
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
    CurrentScheme->Objects.push_back(
        std::make_unique<TSchemeObject>(name, std::uint32_t(item->Row()), std::uint8_t(1 - LineMode.load())));
    AddDeviceRow(DevicesListView->currentItem(), CurrentScheme->Objects.back().get());
    GridControl->SelectCurrentCell();
    ShowLineRecordInfo();
}

TDeviceInfo* TMirvane2Form::AddDeviceRow(QTreeWidgetItem* item, TSchemeObject* object)
{
    auto created = std::make_unique<TDeviceInfo>(object, &FrameHandlers, this);
    TDeviceInfo* device = created.get();
    Devices_.push_back(std::move(created));
    DevicesByAddr_[device->FrameInfo->Address] = device;
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
    if (ReceiveThread)
        ReceiveThread->RequestResetStats();
    return device;
}

void TMirvane2Form::DDeleteDeviceItemClick()
{
    if (ConstructorMode && CurrentDevice_)
        RemoveDevice(CurrentDevice_);
}

void TMirvane2Form::RemoveDevice(TDeviceInfo* device)
{
    const int index = IndexOf(Devices_, device);
    if (index < 0)
        return;
    DevicesByAddr_[device->FrameInfo->Address] = nullptr;

    // Back into the catalogue list, focused.
    auto* item = new TCatalogueItem(int(device->SchemeObject->Type), &DevicesSortColumn);
    DevicesListView->addTopLevelItem(item);
    DevicesListView->sortItems(0, Qt::AscendingOrder);
    DevicesListView->setCurrentItem(item);
    DevicesListView->clearSelection();
    item->setSelected(true);

    // The neighbour to select: the device before it, or the last one for the first.
    const bool wasCurrent = device == CurrentDevice_;
    TDeviceInfo* neighbour = nullptr;
    if (wasCurrent && Devices_.size() > 1)
        neighbour = index > 0 ? Devices_[std::size_t(index) - 1].get() : Devices_.back().get();
    if (wasCurrent)
        SelectDevice(nullptr);   // while its frame still exists

    GridControl->HideEditor();
    RemoveObject(CurrentScheme, device->SchemeObject);
    device->SchemeObject = nullptr;
    Devices_.erase(Devices_.begin() + index);
    GridControl->RebuildKeepingTexts();

    FormItem(this, "SClearSchemeItem")->setEnabled(!Devices_.empty());
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
    if (ReceiveThread)
        ReceiveThread->RequestResetStats();
    if (CountActiveDevices() == 0)
        SetStatusText(1, ReadyText);
}

// ---------------------------------------------------------------------------------------------
// Selecting.

void TMirvane2Form::SelectDevice(TDeviceInfo* device)
{
    if (device == CurrentDevice_)
        return;
    TDeviceInfo* previous = CurrentDevice_;
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

    CurrentDevice_ = device;
    if ((previous == nullptr) != (device == nullptr))
        SchemeGrid->viewport()->update();
    // The line list greys the records of other devices.
    LineDataListBox->viewport()->update();
}

void TMirvane2Form::CommentMemoChange(QObject*)
{
    if (CurrentDevice_)
        CurrentDevice_->SchemeObject->Comment = CommentMemo->Text();
    else
        FileComment = CommentMemo->Text();
    SetModified(true);
}

// ---------------------------------------------------------------------------------------------
// Moving.

void TMirvane2Form::DeviceMoveButtonClick(QObject* Sender)
{
    if (!ConstructorMode || !CurrentScheme)
        return;
    const int row = SchemeGrid->currentRow();
    const int other = row + (Sender == DeviceMoveUpButton ? -1 : 1);
    const TDeviceInfo* moved = GridControl->RowDevice(row);
    const TDeviceInfo* neighbour = GridControl->RowDevice(other);
    if (!moved || !neighbour)
        return;
    // The two objects change places in the file as their rows do in the grid, also where the
    // file holds objects that got no device between them. Devices keeps its creation order
    // (the poll order) until the scheme is opened again.
    auto& objects = CurrentScheme->Objects;
    const auto at = [&objects](const TSchemeObject* o) {
        return std::find_if(objects.begin(), objects.end(), [o](const auto& p) { return p.get() == o; });
    };
    const auto a = at(moved->SchemeObject);
    const auto b = at(neighbour->SchemeObject);
    if (a == objects.end() || b == objects.end())
        return;
    std::iter_swap(a, b);
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
    if (device == CurrentDevice_) {
        HexOutStrEdit_->SetText(QString());
        HexInStrEdit_->SetText(QString());
    }
    device->StopTimer();
}

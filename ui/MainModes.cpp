// The line modes ("Диагностика БИ", "Диагностика датчиков"), the device modes with the static
// flag, a device's exchange state, and the scheme editor's switch with its user interface.
#include <QAction>
#include <QCompleter>
#include <QMenu>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include "model/Helpers.h"
#include "model/LineMode.h"
#include "model/Session.h"
#include "ui/Main.h"
#include "ui/MainParts.h"
#include "ui/PortControl.h"
#include "ui/SchemeGrid.h"

namespace {

void WriteCell(TDeviceInfo* device, int column, const QString& text)
{
    TUpdatingControls updating;
    device->SetGridCell(column, text);
}

bool IsDisabled(const TDeviceInfo* device) { return device->SchemeObject->Mode == ModeDisabled; }

// In "Диагностика БИ" the period column of a static device shows that it has no period.
void WritePeriodMark(TDeviceInfo* device)
{
    if (LineMode.load() == LineModeMaster && !IsDisabled(device))
        WriteCell(device, 8, device->SchemeObject->Static ? NoValueText : QString());
}

}   // namespace

void TMirvane2Form::ClearHexEditsOf(const TDeviceInfo* device)
{
    if (device != Session.CurrentDevice)
        return;
    HexOutStrEdit_->SetText(QString());
    HexInStrEdit_->SetText(QString());
}

void TMirvane2Form::UpdateDeviceRowStatus(TDeviceInfo* device)
{
    const bool staticMark = LineMode.load() == LineModeMaster && device->SchemeObject->Static && !IsDisabled(device);
    WriteCell(device, 7, QString());
    WriteCell(device, 8, staticMark ? NoValueText : QString());
    WriteCell(device, 9, QString());
}

void TMirvane2Form::ResetDeviceExchange(TDeviceInfo* device)
{
    device->LastAnswerTick = 0;
    device->IntervalSum = 0;
    device->AnswerIntervals->Clear();
    ForgetExchanges(device);
    UpdateDeviceRowStatus(device);
    ClearHexEditsOf(device);
    device->StopTimer();
}

// ---------------------------------------------------------------------------------------------
// Line mode.

void TMirvane2Form::BIModeItemClick(QObject* Sender)
{
    auto* item = qobject_cast<QAction*>(Sender);
    if (!item)
        return;
    item->setChecked(true);
    const int mode = item->property("Tag").toInt();
    if (mode == LineMode.load())
        return;
    GridControl->HideEditor(2);   // a value typed for the old mode is not applied
    Session.ChangeLineMode(mode);
    for (const auto& owned : Session.Devices) {
        TDeviceInfo* device = owned.get();
        if (IsDisabled(device))
            continue;
        ForgetExchanges(device);
        if (mode == LineModeSensors)
            device->ShowData(true);
        else
            device->ClearDisplay(true);
        if (device->SchemeObject->Mode != ModeReceive)
            device->ShowData(false);
        else
            device->ClearDisplay(false);
        UpdateDeviceRowStatus(device);
        ClearHexEditsOf(device);
        if (mode == LineModeSensors)
            device->StopTimer();
        WriteCell(device, 0, ModeCellText(*device->SchemeObject));
    }
    GridControl->SelectCurrentCell(false);
    (mode == LineModeSensors ? BIMode2Button : BIMode1Button)->setChecked(true);
    if (mode == LineModeMaster)
        SetStatusText(1, ReadyText);
    if (Ports.ReceiveThread) {
        Ports.ReceiveThread->RequestResetStats();
        Ports.ReceiveThread->StopSearch();
    }
}

// ---------------------------------------------------------------------------------------------
// Device mode and static flag.

void TMirvane2Form::ModeItemClick(QObject* Sender)
{
    const int mode = Sender ? Sender->property("Tag").toInt() : -1;
    if (Session.SetDeviceMode(mode))
        ApplyDeviceMode(mode);
}

void TMirvane2Form::ApplyDeviceMode(int)
{
    TDeviceInfo* device = Session.CurrentDevice;
    if (!device)
        return;
    const int mode = device->SchemeObject->Mode;
    if (LineMode.load() == LineModeSensors && mode != ModeDisabled)
        device->ShowData(true);
    else
        device->ClearDisplay(true);
    if (mode == ModeEmulate)
        device->ShowData(false);
    else
        device->ClearDisplay(false);
    if (mode != ModeDisabled)
        device->NextPollTick = 0;   // due at once
    else
        ResetDeviceExchange(device);
    WriteCell(device, 0, ModeCellText(*device->SchemeObject));
    WritePeriodMark(device);
    if (Ports.ReceiveThread)
        Ports.ReceiveThread->RequestResetStats();
    if (mode == ModeDisabled && Session.CountActiveDevices() == 0)
        SetStatusText(1, ReadyText);
}

void TMirvane2Form::DeviceStaticPopupItemClick()
{
    TDeviceInfo* device = Session.CurrentDevice;
    if (!device)
        return;
    TSchemeObject& object = *device->SchemeObject;
    object.Static = object.Static ? 0 : 1;
    if (QAction* item = FormItem(this, "DeviceStaticPopupItem"))
        item->setChecked(object.Static != 0);
    // A static device is polled rarely: its silence is no failure. A disabled one is watched
    // by nothing.
    if (LineMode.load() == LineModeMaster) {
        if (object.Static)
            device->StopTimer();
        else if (!IsDisabled(device))
            device->StartTimer();
    }
    WriteCell(device, 0, ModeCellText(object));
    WritePeriodMark(device);
}

// ---------------------------------------------------------------------------------------------
// Scheme editor.

void TMirvane2Form::FormKeyDown(QObject*, int& Key, TShiftState Shift)
{
    if (Key != Qt::Key_K || !(Shift & Qt::ControlModifier) || !(Shift & Qt::AltModifier))
        return;
    Session.ToggleConstructorMode();
    GridControl->HideEditor();
    GridControl->SelectCurrentCell(false);
    ApplyConstructorMode();
    Key = 0;
}

void TMirvane2Form::ApplyConstructorMode()
{
    const bool on = Session.ConstructorMode != 0;
    FormItem(this, "FCreateFileItem")->setVisible(on);
    SetToolButtonVisible(CreateFileButton, on);
    const bool save = on || Modified;
    FormItem(this, "FSaveFileItem")->setVisible(save);
    FormItem(this, "FSaveAsFileItem")->setVisible(save);
    SetToolButtonVisible(SaveFileButton, save);
    for (const char* menu : {"SchemeMenu", "DeviceMenu"})
        if (auto* m = findChild<QMenu*>(QLatin1String(menu)))
            m->menuAction()->setVisible(on);
    AsControl(DeviceMoveToolBar)->SetVisible(on);

    // Completing typed names would fight the typing of new ones.
    if (on) {
        CurrSchemeComboBox->setCompleter(nullptr);
    } else if (!CurrSchemeComboBox->completer()) {
        auto* completer = new QCompleter(CurrSchemeComboBox->model(), CurrSchemeComboBox);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setCompletionMode(QCompleter::InlineCompletion);
        CurrSchemeComboBox->setCompleter(completer);
    }

    CommentMemo->SetReadOnly(!on);
    if (on) {
        CommentMemo->SetParentColor(false);
        CommentMemo->SetColor(CommentMemo->palette().color(QPalette::Active, QPalette::Base));
    } else {
        CommentMemo->SetParentColor(true);
    }
    DevicePanel->SetVisible(on);
    DescPanel->SetVisible(on);
    LineDataPanel->SetVisible(!on);
    InfoPanel->SetVisible(!on);
}

void ForgetExchanges(TDeviceInfo* device)
{
    device->AnswerHistory->Clear();
    device->AnswerCount = 0;
    device->ExchangeCounter = 0;
    device->NextShowTick = 0;
    device->NextPollTick = 0;
    device->RequestText.clear();
    device->AnswerText.clear();
}

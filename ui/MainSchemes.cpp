// The schemes of the open file: the scheme combo box with its create, rename, delete and clear
// commands, and the opening of a scheme (the previous devices torn down, the receive thread held
// off, the open-scheme walk, and what the window shows once the walk has ended).
#include <QAbstractItemView>
#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "model/Helpers.h"
#include "model/LineMode.h"
#include "model/OpenSchemeThread.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "ui/Main.h"
#include "ui/MainParts.h"
#include "ui/PortControl.h"
#include "ui/SchemeGrid.h"
#include "ui/StatusBar.h"

QString ModeCellText(const TSchemeObject& object) { return QString::number(object.Mode) + QString::number(object.Static); }

namespace {

const QString OpeningSchemeText = QStringLiteral(" Создание схемы…");

TDeviceScheme* SchemeOfItem(const TComboBox* combo, int index)
{
    return index < 0 ? nullptr : static_cast<TDeviceScheme*>(combo->itemData(index).value<void*>());
}

int FindSchemeItem(const TComboBox* combo, const QString& name)
{
    for (int i = 0; i < combo->count(); ++i)
        if (SameSchemeName(combo->itemText(i), name))
            return i;
    return -1;
}

}   // namespace

QAction* FormItem(const QObject* form, const char* name) { return form->findChild<QAction*>(QLatin1String(name)); }

// ---------------------------------------------------------------------------------------------
// The scheme combo box.

int TMirvane2Form::InsertSchemeItem(TDeviceScheme* scheme)
{
    // The list is kept sorted by name, without regard to case.
    int index = 0;
    while (index < CurrSchemeComboBox->count() && CompareNames(CurrSchemeComboBox->itemText(index), scheme->Name) <= 0)
        ++index;
    CurrSchemeComboBox->insertItem(index, scheme->Name, QVariant::fromValue(static_cast<void*>(scheme)));
    return index;
}

void TMirvane2Form::CurrSchemeComboBoxSelect(QObject*)
{
    const int index = CurrSchemeComboBox->ItemIndex();
    TDeviceScheme* scheme = SchemeOfItem(CurrSchemeComboBox, index);
    if (index < 0)
        SelectScheme(nullptr);
    else if (scheme != Session.CurrentScheme)
        SelectScheme(scheme);
}

void TMirvane2Form::SCreateSchemeItemClick()
{
    if (!Session.ConstructorMode)
        return;
    const QString first = CurrSchemeComboBox->count() > 0 ? CurrSchemeComboBox->itemText(0) : QString();
    TDeviceScheme* scheme = Session.CreateScheme(Session.FreeSchemeName(CurrSchemeComboBox->Text(), first));
    CurrSchemeComboBox->SetItemIndex(InsertSchemeItem(scheme));
    SetModified(true);
    ShowLineRecordInfo();
    CurrSchemeComboBoxSelect(CurrSchemeComboBox);
    // A new scheme is offered the devices heard on the line.
    if (Ports.ReceiveThread)
        StartDeviceSearch(0);
}

// An empty name restores the shown scheme's name, selected whole.
static void RestoreSchemeText(TComboBox* combo, const TDeviceScheme* shown)
{
    combo->SetText(shown ? shown->Name : QString());
    if (combo->lineEdit())
        combo->lineEdit()->selectAll();
}

void TMirvane2Form::SRenameSchemeItemClick()
{
    if (!Session.ConstructorMode || !Session.CurrentScheme)
        return;
    const QString name = CurrSchemeComboBox->Text().trimmed();
    if (name.isEmpty()) {
        RestoreSchemeText(CurrSchemeComboBox, Session.CurrentScheme);
        return;
    }
    if (CurrSchemeComboBox->ItemIndex() < 0)
        CurrSchemeComboBox->SetItemIndex(FindSchemeItem(CurrSchemeComboBox, name));
    // The name of another scheme selects that scheme instead.
    if (CurrSchemeComboBox->ItemIndex() < 0) {
        CurrSchemeComboBox->setUpdatesEnabled(false);
        for (int i = 0; i < CurrSchemeComboBox->count(); ++i)
            if (SchemeOfItem(CurrSchemeComboBox, i) == Session.CurrentScheme) {
                CurrSchemeComboBox->removeItem(i);
                break;
            }
        Session.RenameCurrentScheme(name);
        CurrSchemeComboBox->SetItemIndex(InsertSchemeItem(Session.CurrentScheme));
        CurrSchemeComboBox->setUpdatesEnabled(true);
        SetModified(true);
    }
    CurrSchemeComboBoxSelect(CurrSchemeComboBox);
}

void TMirvane2Form::SDeleteSchemeItemClick()
{
    if (!Session.ConstructorMode)
        return;
    const QString name = CurrSchemeComboBox->Text().trimmed();
    if (name.isEmpty()) {
        RestoreSchemeText(CurrSchemeComboBox, Session.CurrentScheme);
        return;
    }
    int index = CurrSchemeComboBox->ItemIndex();
    if (index < 0)
        index = FindSchemeItem(CurrSchemeComboBox, name);
    if (index >= 0)
        DeleteSchemeAt(index);
}

void TMirvane2Form::DeleteSchemeAt(int index)
{
    TDeviceScheme* scheme = SchemeOfItem(CurrSchemeComboBox, index);
    if (!scheme)
        return;
    // Devices never outlive the objects they show: the window lets go of them first.
    if (scheme == Session.CurrentScheme || scheme == Session.PendingScheme)
        ReleaseDevices(nullptr);
    CurrSchemeComboBox->removeItem(index);
    Session.DeleteScheme(scheme);
    CurrSchemeComboBox->SetItemIndex(std::min(index, CurrSchemeComboBox->count() - 1));
    CurrSchemeComboBoxSelect(CurrSchemeComboBox);
    SetModified(true);
}

void TMirvane2Form::CurrSchemeComboBoxKeyDown(QObject*, int& Key, TShiftState)
{
    switch (Key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Session.ConstructorMode) {
            Key = 0;
            if (Schemes.empty())
                SCreateSchemeItemClick();
            else if (FormItem(this, "SRenameSchemeItem")->isEnabled())
                SRenameSchemeItemClick();
        } else if (CurrSchemeComboBox->ItemIndex() < 0) {
            Key = 0;
            const int index = FindSchemeItem(CurrSchemeComboBox, CurrSchemeComboBox->Text().trimmed());
            if (index >= 0) {
                CurrSchemeComboBox->SetItemIndex(index);
                CurrSchemeComboBoxSelect(CurrSchemeComboBox);
            }
        }
        break;
    case Qt::Key_Insert:
        Key = 0;
        SCreateSchemeItemClick();
        break;
    case Qt::Key_Delete: {
        const QAbstractItemView* list = CurrSchemeComboBox->view();
        if (Session.ConstructorMode && list->isVisible() && list->currentIndex().isValid()) {
            Key = 0;
            const int index = list->currentIndex().row();
            CurrSchemeComboBox->hidePopup();
            DeleteSchemeAt(index);
        }
        break;
    }
    default:
        break;
    }
}

void TMirvane2Form::SClearSchemeItemClick()
{
    TDeviceScheme* scheme = Session.CurrentScheme;
    if (!scheme)
        return;
    ReleaseDevices(scheme);
    scheme->Objects.clear();
    SetModified(true);
    SelectScheme(scheme);
}

// ---------------------------------------------------------------------------------------------
// Opening a scheme.

void TMirvane2Form::ReleaseDevices(TDeviceScheme* next)
{
    SelectDevice(nullptr);
    if (Ports.ReceiveThread)
        Ports.ReceiveThread->StopSearch();
    Session.ReleaseDevices(next);
    GridControl->Rebuild();
}

void TMirvane2Form::SelectScheme(TDeviceScheme* scheme)
{
    const bool opening = Session.OpenSchemeThread != nullptr;
    ReleaseDevices(scheme);
    if (opening)
        return;
    // The receive thread stays off the devices until the new ones are complete.
    if (Ports.ReceiveThread)
        Ports.ReceiveThread->Pause();
    if (Session.PendingScheme && !Session.PendingScheme->Objects.empty())
        SetStatusText(1, OpeningSchemeText);
    StartOpenSchemeThread();
}

void TMirvane2Form::ApplyPendingLineMode()
{
    if (Session.PendingLineMode >= 0)
        BIModeItemClick(FormItem(this, Session.PendingLineMode != 0 ? "LBIMode2Item" : "LBIMode1Item"));
}

void TMirvane2Form::StartOpenSchemeThread()
{
    ApplyPendingLineMode();
    if (Session.PendingScheme && !Session.PendingScheme->Objects.empty())
        SetLineModeItemsEnabled(false);
    Session.StartWalk(this, this, &FrameHandlers, [this] { GuardUi([this] { OpenSchemeThreadTerminate(); }); });
}

void TMirvane2Form::SetLineModeItemsEnabled(bool enabled)
{
    FormItem(this, "LBIMode1Item")->setEnabled(enabled);
    FormItem(this, "LBIMode2Item")->setEnabled(enabled);
    BIMode1Button->setEnabled(enabled);
    BIMode2Button->setEnabled(enabled);
}

void TMirvane2Form::OpenSchemeThreadTerminate()
{
    if (!Session.OpenSchemeThread)
        return;
    if (!Session.TakeWalkedScheme()) {
        if (!Closing) {
            StartOpenSchemeThread();   // the scheme chosen meanwhile
            return;
        }
        Session.OpenSchemeThread = nullptr;
        if (Ports.ReceiveThread)
            Ports.ReceiveThread->Continue();
        close();   // the close waited for the walk
        return;
    }
    try {
        RebuildCatalogueList();
        Session.OpenSchemeThread = nullptr;
        ShowOpenedScheme();
    } catch (...) {
        EndSchemeOpening();   // what fails in the showing still ends the opening's hold
        throw;
    }
    EndSchemeOpening();
}

void TMirvane2Form::ShowOpenedScheme()
{
    GridControl->Rebuild();
    GridControl->SelectCurrentCell(false);

    FormItem(this, "SRenameSchemeItem")->setEnabled(Session.CurrentScheme != nullptr);
    FormItem(this, "SDeleteSchemeItem")->setEnabled(Session.CurrentScheme != nullptr);
    FormItem(this, "SClearSchemeItem")->setEnabled(!Session.Devices.empty());
    if (!Session.CurrentScheme)
        CurrSchemeComboBox->SetText(QString());
    UpdateAddDeviceItems();
    FormItem(this, "DFindDeviceItem")->setEnabled(Session.CurrentScheme != nullptr);
}

void TMirvane2Form::EndSchemeOpening()
{
    Session.OpenSchemeThread = nullptr;
    ProgressX_ = -1;
    UpdateStatusBarRegion();
    SetStatusText(1, ReadyText);
    ShowLineRecordInfo();
    if (Ports.ReceiveThread) {
        Ports.ReceiveThread->RequestResetStats();
        Ports.ReceiveThread->Continue();
    }
    SetLineModeItemsEnabled(true);
    if (Closing)
        close();
}

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
#include "platform/Abort.h"
#include "ui/Main.h"
#include "ui/MainParts.h"
#include "ui/PortControl.h"
#include "ui/SchemeGrid.h"
#include "ui/StatusBar.h"

TDeviceScheme* CurrentScheme = nullptr;
TDeviceScheme* PendingScheme = nullptr;
std::uint8_t ConstructorMode = 0;
std::uint8_t SearchByUser = 0;

QString ModeCellText(const TSchemeObject& object) { return QString::number(object.Mode) + QString::number(object.Static); }

namespace {

const QString OpeningSchemeText = QStringLiteral(" Создание схемы…");

TDeviceScheme* SchemeOfItem(const TComboBox* combo, int index)
{
    return index < 0 ? nullptr : static_cast<TDeviceScheme*>(combo->itemData(index).value<void*>());
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

int FindSchemeItem(const TComboBox* combo, const QString& name)
{
    for (int i = 0; i < combo->count(); ++i)
        if (SameName(combo->itemText(i), name))
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
    else if (scheme != CurrentScheme)
        SelectScheme(scheme);
}

void TMirvane2Form::SCreateSchemeItemClick()
{
    if (!ConstructorMode)
        return;
    QString name = CurrSchemeComboBox->Text().trimmed();
    if (name.isEmpty())
        name = CurrSchemeComboBox->count() > 0 ? CurrSchemeComboBox->itemText(0) : QStringLiteral("Схема 1");
    while (FindSchemeItem(CurrSchemeComboBox, name) >= 0)
        name = MakeNextName(name);
    Schemes.push_back(std::make_unique<TDeviceScheme>(name));
    CurrSchemeComboBox->SetItemIndex(InsertSchemeItem(Schemes.back().get()));
    SetModified(true);
    ShowLineRecordInfo();
    CurrSchemeComboBoxSelect(CurrSchemeComboBox);
    // A new scheme is offered the devices heard on the line.
    if (ReceiveThread)
        StartDeviceSearch(0);
}

// An empty name restores the shown scheme's name, selected whole.
static void RestoreSchemeText(TComboBox* combo)
{
    combo->SetText(CurrentScheme ? CurrentScheme->Name : QString());
    if (combo->lineEdit())
        combo->lineEdit()->selectAll();
}

void TMirvane2Form::SRenameSchemeItemClick()
{
    if (!ConstructorMode || !CurrentScheme)
        return;
    const QString name = CurrSchemeComboBox->Text().trimmed();
    if (name.isEmpty()) {
        RestoreSchemeText(CurrSchemeComboBox);
        return;
    }
    if (CurrSchemeComboBox->ItemIndex() < 0)
        CurrSchemeComboBox->SetItemIndex(FindSchemeItem(CurrSchemeComboBox, name));
    // The name of another scheme selects that scheme instead.
    if (CurrSchemeComboBox->ItemIndex() < 0) {
        CurrSchemeComboBox->setUpdatesEnabled(false);
        for (int i = 0; i < CurrSchemeComboBox->count(); ++i)
            if (SchemeOfItem(CurrSchemeComboBox, i) == CurrentScheme) {
                CurrSchemeComboBox->removeItem(i);
                break;
            }
        CurrentScheme->Name = name;
        CurrSchemeComboBox->SetItemIndex(InsertSchemeItem(CurrentScheme));
        CurrSchemeComboBox->setUpdatesEnabled(true);
        SetModified(true);
    }
    CurrSchemeComboBoxSelect(CurrSchemeComboBox);
}

void TMirvane2Form::SDeleteSchemeItemClick()
{
    if (!ConstructorMode)
        return;
    const QString name = CurrSchemeComboBox->Text().trimmed();
    if (name.isEmpty()) {
        RestoreSchemeText(CurrSchemeComboBox);
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
    // Devices never outlive the objects they show.
    if (scheme == CurrentScheme || scheme == PendingScheme)
        ReleaseDevices(nullptr);
    CurrSchemeComboBox->removeItem(index);
    std::erase_if(Schemes, [scheme](const auto& s) { return s.get() == scheme; });
    CurrSchemeComboBox->SetItemIndex(std::min(index, CurrSchemeComboBox->count() - 1));
    CurrSchemeComboBoxSelect(CurrSchemeComboBox);
    SetModified(true);
}

void TMirvane2Form::CurrSchemeComboBoxKeyDown(QObject*, int& Key, TShiftState)
{
    switch (Key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ConstructorMode) {
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
        if (ConstructorMode && list->isVisible() && list->currentIndex().isValid()) {
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
    TDeviceScheme* scheme = CurrentScheme;
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
    CurrentScheme = nullptr;
    PendingScheme = next;
    if (OpenSchemeThread)
        OpenSchemeThread->Terminate();   // its end handler opens the pending scheme
    if (ReceiveThread)
        ReceiveThread->StopSearch();
    Devices_.clear();
    DevicesByAddr_.fill(nullptr);
    GridControl->Rebuild();
}

void TMirvane2Form::SelectScheme(TDeviceScheme* scheme)
{
    const bool opening = OpenSchemeThread != nullptr;
    ReleaseDevices(scheme);
    if (opening)
        return;
    // The receive thread stays off the devices until the new ones are complete.
    if (ReceiveThread)
        ReceiveThread->Pause();
    if (PendingScheme && !PendingScheme->Objects.empty())
        SetStatusText(1, OpeningSchemeText);
    StartOpenSchemeThread();
}

void TMirvane2Form::ApplyPendingLineMode()
{
    if (PendingLineMode >= 0)
        BIModeItemClick(FormItem(this, PendingLineMode != 0 ? "LBIMode2Item" : "LBIMode1Item"));
}

void TMirvane2Form::StartOpenSchemeThread()
{
    ApplyPendingLineMode();
    if (PendingScheme && !PendingScheme->Objects.empty())
        SetLineModeItemsEnabled(false);
    auto* thread = new TOpenSchemeThread;
    thread->setParent(this);   // no step of it runs once the window is gone
    thread->FreeOnTerminate = true;
    thread->OnTerminate = [this](TOpenSchemeThread*) { GuardUi([this] { OpenSchemeThreadTerminate(); }); };
    thread->Scheme = PendingScheme;
    thread->MainWindow = this;
    thread->Handlers = &FrameHandlers;
    OpenSchemeThread = thread;
    thread->Resume();
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
    TOpenSchemeThread* thread = OpenSchemeThread;
    if (!thread)
        return;
    if (thread->Terminated()) {
        if (!Closing) {
            StartOpenSchemeThread();   // the scheme chosen meanwhile
            return;
        }
        OpenSchemeThread = nullptr;
        if (ReceiveThread)
            ReceiveThread->Continue();
        close();   // the close waited for the walk
        return;
    }
    CurrentScheme = thread->Scheme;
    try {
        RebuildCatalogueList();
        OpenSchemeThread = nullptr;
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

    FormItem(this, "SRenameSchemeItem")->setEnabled(CurrentScheme != nullptr);
    FormItem(this, "SDeleteSchemeItem")->setEnabled(CurrentScheme != nullptr);
    FormItem(this, "SClearSchemeItem")->setEnabled(!Devices_.empty());
    if (!CurrentScheme)
        CurrSchemeComboBox->SetText(QString());
    UpdateAddDeviceItems();
    FormItem(this, "DFindDeviceItem")->setEnabled(CurrentScheme != nullptr);
}

void TMirvane2Form::EndSchemeOpening()
{
    OpenSchemeThread = nullptr;
    ProgressX_ = -1;
    UpdateStatusBarRegion();
    SetStatusText(1, ReadyText);
    ShowLineRecordInfo();
    if (ReceiveThread) {
        ReceiveThread->RequestResetStats();
        ReceiveThread->Continue();
    }
    SetLineModeItemsEnabled(true);
    if (Closing)
        close();
}

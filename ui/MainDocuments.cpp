// The document commands: new, open, reopen, save and save as of a scheme file with its state
// file, the questions asked before a document is left, the modified flag with the visibility of
// the save commands, and the list of the five most recent files with its two menus.
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QToolBar>
#include <QToolButton>

#include "model/Helpers.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "platform/Files.h"
#include "ui/Ask.h"
#include "ui/DocumentNames.h"
#include "ui/Main.h"
#include "ui/PortControl.h"

namespace {

constexpr int LastFileCaptionWidth = 150;   // pixels of the form's font

QAction* Item(const QObject* form, const QString& name) { return form->findChild<QAction*>(name); }

void ShowError(QWidget* parent, const QString& text)
{
    MessageBox(parent, text, ErrorCaption, TButtons::Ok, TBoxIcon::Error);
}

}   // namespace

// ---------------------------------------------------------------------------------------------
// Reading a document.

bool TMirvane2Form::LoadDocument(const QString& fileName)
{
    std::optional<TDocument::TRead> read = TDocument::Read(fileName);
    if (!read)
        return false;
    const int leftLineMode = LineMode.load();
    const TDeviceScheme* leftScheme = Session.CurrentScheme ? Session.CurrentScheme : Session.PendingScheme;
    const QString leftSchemeName = leftScheme ? leftScheme->Name : QString();
    TDocument other = Document.Opened(fileName, *read);
    std::swap(Document, other);   // `other` holds the document left until the new one shows
    try {
        ShowDocument(read->LineMode, read->SchemeName, read->StateRead);
    } catch (...) {
        // An open takes effect whole or not at all: the document left comes back with its name,
        // schemes, comment, modified flag and recent files, and shows as it did.
        std::swap(Document, other);
        try {
            ShowDocument(leftLineMode, leftSchemeName, true);
        } catch (...) {
        }
        throw;
    }
    return true;
}

void TMirvane2Form::ShowDocument(int lineMode, const QString& schemeName, bool storedModes)
{
    // Applying the line mode leaves stored device modes as stored.
    Session.ApplyModeToSchemes = storedModes ? 0 : 1;
    Session.PendingLineMode = lineMode;
    try {
        // The devices of the schemes left go before those schemes do.
        ReleaseDevices(nullptr);
        // Applied here as well: an opening that was still running restarts later, after the
        // pending mode is gone.
        ApplyPendingLineMode();
        FillSchemeComboBox(schemeName);
    } catch (...) {
        Session.ApplyModeToSchemes = 1;
        Session.PendingLineMode = -1;
        throw;
    }
    Session.ApplyModeToSchemes = 1;
    Session.PendingLineMode = -1;
    ShowFileCaption();
    SetCommentText(FileComment);
    UpdateLastFilesMenu();
}

void TMirvane2Form::FillSchemeComboBox(const QString& schemeName)
{
    CurrSchemeComboBox->setUpdatesEnabled(false);
    CurrSchemeComboBox->clear();
    for (const auto& scheme : Schemes)
        InsertSchemeItem(scheme.get());
    int selected = -1;
    for (int i = 0; i < CurrSchemeComboBox->count() && selected < 0; ++i)
        if (CurrSchemeComboBox->itemText(i).compare(schemeName, Qt::CaseInsensitive) == 0)
            selected = i;
    if (selected < 0 && CurrSchemeComboBox->count() > 0)
        selected = 0;
    CurrSchemeComboBox->SetItemIndex(selected);
    CurrSchemeComboBox->setUpdatesEnabled(true);
    CurrSchemeComboBoxSelect(CurrSchemeComboBox);
}

// ---------------------------------------------------------------------------------------------
// Leaving a document.

void TMirvane2Form::AskReopenFile()
{
    if (!Modified)
        return;
    if (MessageBox(this, QStringLiteral("Открыть заново файл:\n") + CurrentFileName + QLatin1Char('?'), QuestionCaption,
                   TButtons::YesNo, TBoxIcon::Question) != TAnswer::Yes)
        Abort();
}

void TMirvane2Form::AskSaveChanges()
{
    if (!Modified)
        return;
    const QString text = Document.HasFile()
                             ? QStringLiteral("Сохранить изменения в файле:\n") + CurrentFileName + QLatin1Char('?')
                             : QStringLiteral("Сохранить изменения?");
    switch (MessageBox(this, text, QuestionCaption, TButtons::YesNoCancel, TBoxIcon::Question)) {
    case TAnswer::Yes:
        FSaveFileItemClick();   // its own failure aborts in turn
        break;
    case TAnswer::No:
        break;
    default:
        Abort();
    }
}

void TMirvane2Form::LeaveDocument()
{
    const bool wasModified = Modified != 0;
    AskSaveChanges();
    if (Document.KeepsStateOnLeave(wasModified))
        SaveStateFile();
}

void TMirvane2Form::SaveStateFile()
{
    Document.WriteState(std::uint8_t(LineMode.load()), Session.CurrentScheme ? Session.CurrentScheme->Name : QString());
}

// ---------------------------------------------------------------------------------------------
// The commands.

void TMirvane2Form::FCreateFileItemClick()
{
    if (!Session.ConstructorMode)
        return;
    LeaveDocument();
    ReleaseDevices(nullptr);
    Document.StartNew();
    FillSchemeComboBox(QString());
    ShowFileCaption();
    SetCommentText(FileComment);
    SetModified(false);
    ShowLineRecordInfo();
    // The devices heard on the line are offered for the new scheme.
    if (Ports.ReceiveThread)
        StartDeviceSearch(0);
}

void TMirvane2Form::FOpenFileItemClick() { ExecuteOpenDialog(CurrentFileName); }

void TMirvane2Form::ExecuteOpenDialog(const QString& path)
{
    const QFileInfo info(path.isEmpty() ? StartDir : path);
    BuildDialogs();
    OpenSchemesDialog->setDirectory(path.isEmpty() ? StartDir : info.absolutePath());
    OpenSchemesDialog->selectFile(path.isEmpty() ? QString() : info.fileName());
    const QString chosen = ChooseFile(OpenSchemesDialog);
    if (!chosen.isEmpty())
        OpenFile(chosen);
}

void TMirvane2Form::OpenFile(const QString& fileName)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    if (SameFile(path, CurrentFileName))
        AskReopenFile();
    else
        LeaveDocument();
    if (!LoadDocument(path)) {
        ShowError(this, QStringLiteral("Ошибка при открытии файла:\n") + path);
        return;
    }
    SetModified(false);
}

void TMirvane2Form::FLastFileItemClick(QObject* Sender)
{
    const int tag = Sender ? Sender->property("Tag").toInt() : -1;
    const QString name = Document.LastFile(tag);
    if (name.isEmpty())
        return;
    if (FileExists(name)) {
        OpenFile(name);
        return;
    }
    // A file that is gone leaves the list without a message; the dialog opens at its old place.
    RemoveLastFile(tag);
    UpdateLastFilesMenu();
    ExecuteOpenDialog(name);
}

void TMirvane2Form::FSaveFileItemClick()
{
    if (!Document.HasFile()) {
        FSaveAsFileItemClick();
        return;
    }
    if (!Document.Save()) {
        ShowError(this, QStringLiteral("Ошибка при сохранении файла:\n") + CurrentFileName);
        Abort();
    }
    SaveStateFile();
    SetModified(false);
}

void TMirvane2Form::FSaveAsFileItemClick()
{
    const QString proposed = ProposeFreeFileName(CurrentFileName);
    BuildDialogs();
    SaveSchemesDialog->setDirectory(proposed.isEmpty() ? StartDir : QFileInfo(proposed).absolutePath());
    SaveSchemesDialog->selectFile(proposed.isEmpty() ? QString() : QFileInfo(proposed).fileName());
    const QString chosen = ChooseFile(SaveSchemesDialog);
    if (chosen.isEmpty())
        Abort();
    const QString path = QFileInfo(chosen).absoluteFilePath();
    if (!Document.SaveAs(path)) {
        ShowError(this, QStringLiteral("Ошибка при создании файла:\n") + path);
        Abort();
    }
    ShowFileCaption();
    SaveStateFile();
    SetModified(false);
    AddLastFile(CurrentFileName);
}

// ---------------------------------------------------------------------------------------------
// Modified flag, caption and comment.

void TMirvane2Form::SetModified(bool value)
{
    Modified = value ? 1 : 0;
    QAction* save = Item(this, QStringLiteral("FSaveFileItem"));
    save->setEnabled(value);
    SaveFileButton->setEnabled(value);
    // Outside the scheme editor the save commands appear only with something to save; once
    // hidden, only the editor's switch shows them again.
    if (!value && !Session.ConstructorMode) {
        save->setVisible(false);
        Item(this, QStringLiteral("FSaveAsFileItem"))->setVisible(false);
        SetToolButtonVisible(SaveFileButton, false);
    }
}

void TMirvane2Form::ShowFileCaption()
{
    setWindowTitle(Document.Caption(VersionDescription));
}

void TMirvane2Form::SetCommentText(const QString& text)
{
    const TNotifyEvent handler = std::move(CommentMemo->OnChange);
    CommentMemo->OnChange = nullptr;
    CommentMemo->SetText(text);
    CommentMemo->OnChange = handler;
}

void TMirvane2Form::SetToolButtonVisible(QWidget* button, bool visible)
{
    // A tool bar shows and hides its widgets through their actions.
    for (QAction* a : ToolBar->actions())
        if (ToolBar->widgetForAction(a) == button)
            a->setVisible(visible);
}

// ---------------------------------------------------------------------------------------------
// The recent files.

void TMirvane2Form::AddLastFile(const QString& fileName)
{
    Document.AddLastFile(fileName);
    UpdateLastFilesMenu();
}

void TMirvane2Form::RemoveLastFile(int index) { Document.RemoveLastFile(index); }

void TMirvane2Form::UpdateLastFilesMenu()
{
    const QFontMetrics metrics(font());
    for (std::size_t i = 0; i < LastFiles.size(); ++i) {
        const QString number = QString::number(i + 1);
        QAction* fileItem = Item(this, QStringLiteral("FLastFileItem") + number);
        QAction* popupItem = Item(this, QStringLiteral("LastFilePopupItem") + number);
        const bool shown = !LastFiles[i].isEmpty();
        fileItem->setVisible(shown);
        popupItem->setVisible(shown);
        if (!shown)
            continue;
        QString name = ShortenPath(LastFileDisplayName(LastFiles[i], StartDir), metrics, LastFileCaptionWidth);
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));   // a file's '&' is no accelerator
        const QString caption = QLatin1Char('&') + number + QStringLiteral(". ") + name;
        fileItem->setText(caption);
        popupItem->setText(caption);
    }
}

#pragma once
// A main window with scheme files in a temporary folder, its questions and file dialogs
// answered by the test, and helpers to write scheme files and wait for a scheme to open.
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <initializer_list>
#include <utility>
#include <vector>

#include "MainWindowFixture.h"
#include "model/Catalogue.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"
#include "platform/Abort.h"
#include "ui/Ask.h"
#include "ui/DocumentNames.h"

class SchemeWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        LineMode = LineModeMaster;
        ConstructorMode = 0;
        CurrentScheme = nullptr;
        PendingScheme = nullptr;
        CurrentFileName.clear();
        FileComment.clear();
        SetMessageBoxHook([this](const QString& text, const QString& caption, TButtons, TBoxIcon) {
            Messages << caption + QLatin1Char('|') + text;
            return Answers.empty() ? TAnswer::Cancel : Answers.takeFirst();
        });
        SetFileDialogHook([this](QFileDialog* dialog) {
            DialogFolders << dialog->directory().absolutePath();
            return Chosen.isEmpty() ? QString() : Chosen.takeFirst();
        });
        Make();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        SetMessageBoxHook({});
        SetFileDialogHook({});
        LineMode = LineModeMaster;
        ConstructorMode = 0;
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    // Catalogue row k at a line address.
    static int RowAt(int address, std::size_t k = 0)
    {
        return int(FrameInfoVectors[std::size_t(address)].at(k) - DeviceCatalogue);
    }

    using TSchemeSpec = std::pair<QString, std::vector<int>>;   // name, catalogue rows
    static TSchemeList MakeSchemes(std::initializer_list<TSchemeSpec> specs)
    {
        TSchemeList schemes;
        for (const auto& [name, rows] : specs) {
            schemes.push_back(std::make_unique<TDeviceScheme>(name));
            for (int row : rows)
                schemes.back()->Objects.push_back(std::make_unique<TSchemeObject>(
                    QString::fromUtf8(DeviceCatalogue[row].Model), std::uint32_t(row), ModeEmulate));
        }
        return schemes;
    }
    QString WriteSchemeFile(const QString& name, std::initializer_list<TSchemeSpec> specs,
                            const QString& comment = QString())
    {
        const QString saved = FileComment;
        FileComment = comment;
        const QString path = Path(name);
        EXPECT_TRUE(SaveSchemeFile(path, MakeSchemes(specs)));
        FileComment = saved;
        return path;
    }

    bool WaitOpened()
    {
        return RunEventsUntil([this] { return !form->OpeningScheme(); });
    }
    // Runs a command as the window's event loop does: a silent abort ends it. False if it did.
    template <class F> bool Run(F&& command)
    {
        const bool completed = GuardUi(std::forward<F>(command));
        WaitOpened();
        return completed;
    }
    void Open(const QString& path)
    {
        ASSERT_TRUE(Run([&] { form->OpenFile(path); }));
    }
    QStringList ComboItems() const { return form->CurrSchemeComboBox->Items(); }
    QAction* Action(const char* name) const { return form->findChild<QAction*>(QLatin1String(name)); }

    QTemporaryDir dir;
    QStringList Messages;
    QList<TAnswer> Answers;
    QStringList Chosen;
    QStringList DialogFolders;
};

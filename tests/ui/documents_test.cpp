// The document commands: opening, reopening, saving and leaving a scheme file with its state
// file, the questions on the way and the recent-file list.
#include <QFile>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <sys/stat.h>

#include "WindowFixture.h"
#include "support/HostileFiles.h"

// The numbered free name is the open document's test, the recent files' stored form the
// settings test's.
TEST(DocumentNames, ExtensionsSameFilesAndDisplayNames)
{
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a/b.c.mvs"), StateFileExt), QStringLiteral("/a/b.c.mvi"));
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a.b/plain"), StateFileExt), QStringLiteral("/a.b/plain.mvi"));
    EXPECT_TRUE(SameFile(QStringLiteral("/s/sub/../Кран.mvs"), QStringLiteral("/s/Кран.mvs")));
    EXPECT_FALSE(SameFile(QString(), QString()));

    const QFontMetrics metrics(QFont(QStringLiteral("DejaVu Sans"), 8));
    const QString shortened =
        ShortenPath(QStringLiteral("/very/long/folder/names/that/never/fit/in/the/menu/Кран.mvs"), metrics, 150);
    EXPECT_TRUE(shortened.startsWith(QStringLiteral(".../")) && shortened.endsWith(QStringLiteral("/Кран.mvs")));
    EXPECT_LE(metrics.horizontalAdvance(shortened), 150);

    // However deep the path, its characters are measured a few times over, not once per folder.
    qsizetype measured = 0;
    const auto width = [&measured](const QString& text) {
        measured += text.size();
        return 6 * int(text.size());
    };
    const QString deep = QStringLiteral("/d").repeated(8000) + QStringLiteral("/Кран.mvs");
    EXPECT_EQ(ShortenPath(deep, width, 150), QStringLiteral(".../d/d/d/d/d/d/Кран.mvs"));
    EXPECT_LE(measured, 3 * deep.size());
}

TEST_F(SchemeWindowTest, AFileShowsItsSchemesCaptionAndCommentAndItsStateFileComesBack)
{
    const QString path = WriteSchemeFile(QStringLiteral("Кран.mvs"),
                                         {{QStringLiteral("Б"), {RowAt(2), RowAt(3)}}, {QStringLiteral("а"), {RowAt(1)}}},
                                         QStringLiteral("о файле"));
    Open(path);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Mirvane2 - Кран"));
    EXPECT_EQ(form->CurrSchemeComboBox->Items(), (QStringList{QStringLiteral("а"), QStringLiteral("Б")}));   // no case
    ASSERT_TRUE(CurrentScheme && CurrentScheme->Name == QStringLiteral("а"));                                // no state file: the first item
    EXPECT_EQ(form->Devices().size(), 1u);
    EXPECT_EQ(form->CommentMemo->Text(), QStringLiteral("о файле"));

    // Sensor diagnostics on scheme Б with its first device disabled: rewritten on leaving,
    // since the file is unmodified and the most recent one.
    form->CurrSchemeComboBox->SetItemIndex(1);
    Run([&] { form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox); });
    Run([&] { form->BIModeItemClick(Action("LBIMode2Item")); });
    CurrentScheme->Objects[0]->Mode = ModeDisabled;
    Run([&] { form->LeaveDocument(); });
    ASSERT_TRUE(QFileInfo::exists(ChangeFileExt(path, StateFileExt)));
    Run([&] { form->BIModeItemClick(Action("LBIMode1Item")); });
    Open(path);
    EXPECT_EQ(LineMode.load(), LineModeSensors);
    ASSERT_TRUE(CurrentScheme && CurrentScheme->Name == QStringLiteral("Б"));
    EXPECT_EQ(CurrentScheme->Objects[0]->Mode, ModeDisabled);   // the stored mode, not the line mode's
    EXPECT_EQ(CurrentScheme->Objects[1]->Mode, ModeReceive);

    // Outside the scheme editor the save items hide; an edit enables without showing them.
    form->SetModified(true);
    EXPECT_TRUE(form->SaveFileButton->isEnabled());
    EXPECT_FALSE(Action("FSaveFileItem")->isVisible());
}

// Save writes what the window holds: the schemes, their devices with their rows and comments and
// the file's comment into the scheme file; the line mode, the scheme shown and each device's mode,
// static flag and answer into the state file.
TEST_F(SchemeWindowTest, SaveWritesTheSchemeFileAndItsStateFile)
{
    const ScopedFrameClass answerFrame(RowAt(1), CreateTestAnswerFrame);
    const QString path = WriteSchemeFile(QStringLiteral("save.mvs"), {{QStringLiteral("А"), {RowAt(3)}}, {QStringLiteral("Б"), {RowAt(1), RowAt(2)}}});
    Open(path);
    ConstructorMode = 1;
    form->ApplyConstructorMode();
    form->show();   // the frame the user types into is on screen
    form->CurrSchemeComboBox->SetItemIndex(1);
    Run([&] { form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox); });
    Run([&] { form->BIModeItemClick(Action("LBIMode2Item")); });   // every device received
    form->SelectDevice(Device(0));
    Run([&] { form->ModeItemClick(Action("DeviceMode2PopupItem")); });   // "Эмуляция"
    static_cast<TTestAnswerFrame*>(Device(0)->Frame.data())->ValueEdit->SetText(QStringLiteral("42"));
    form->CommentMemo->SetText(QStringLiteral("у крюка"));
    form->SelectDevice(Device(1));
    Run([&] { form->DeviceStaticPopupItemClick(); });
    Run([&] { form->ModeItemClick(Action("DeviceMode3PopupItem")); });   // "Отключен"
    form->SelectDevice(nullptr);
    form->CommentMemo->SetText(QStringLiteral("о кране"));
    ASSERT_TRUE(Run([&] { form->FSaveFileItemClick(); }));
    EXPECT_FALSE(form->Modified);

    // The heads as bytes: magic, the file's comment; magic, line mode, the scheme shown (cp1251).
    EXPECT_TRUE(FileBytes(path).startsWith(QByteArray("MV02\xEE \xEA\xF0\xE0\xED\xE5\0", 12)));
    const QString state = ChangeFileExt(path, StateFileExt);
    EXPECT_TRUE(FileBytes(state).startsWith(QByteArray("MI02\x01\xC1\0", 7)));
    TSchemeList schemes;
    QString comment, shown;
    int lineMode = -1;
    ASSERT_TRUE(LoadSchemeFile(path, schemes, comment) && LoadInfoFile(state, schemes, lineMode, shown));
    QStringList objects;
    for (const auto& scheme : schemes)
        for (const auto& o : scheme->Objects)
            objects << QStringLiteral("%1/%2 %3 %4%5 %6 %7").arg(scheme->Name, o->Name).arg(o->Type).arg(o->Mode).arg(o->Static).arg(o->Answer[1]).arg(o->Comment);
    const auto model = [](int row) { return QString::fromUtf8(DeviceCatalogue[row].Model); };
    const QStringList expected{QStringLiteral("А/%1 %2 00 0 ").arg(model(RowAt(3))).arg(RowAt(3)),
                               QStringLiteral("Б/%1 %2 10 42 у крюка").arg(model(RowAt(1))).arg(RowAt(1)),
                               QStringLiteral("Б/%1 %2 21 0 ").arg(model(RowAt(2))).arg(RowAt(2))};
    EXPECT_EQ(objects.join(" | ").toStdString(), expected.join(" | ").toStdString());   // name, row, mode and static, answer, comment
    EXPECT_EQ(std::tuple(comment, lineMode, shown), std::tuple(QStringLiteral("о кране"), LineModeSensors, QStringLiteral("Б")));
}

TEST_F(SchemeWindowTest, AFileThatCannotBeReadLeavesThePreviousDocumentAndNothingBlocks)
{
    const QString good = WriteSchemeFile(QStringLiteral("good.mvs"), {{QStringLiteral("S"), {RowAt(1)}}},
                                         QStringLiteral("kept"));
    Open(good);
    std::vector<THostileFile> files = MakeHostileFiles(dir.path());
    const TFifoGuard guard({files[1].Path, Path(QStringLiteral("doc.mvi"))});
    ASSERT_TRUE(ReplaceFile(Path(QStringLiteral("bad.mvs")), "MVS?garbage"));
    files.push_back({"garbage", Path(QStringLiteral("bad.mvs")), true, true});
    for (const THostileFile& file : files) {
        Messages.clear();
        Open(file.Path);
        EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|Ошибка при открытии файла:\n") + file.Path}) << file.Kind;
        EXPECT_EQ(CurrentFileName, good) << file.Kind;
        EXPECT_EQ(FileComment, QStringLiteral("kept")) << file.Kind;
        EXPECT_EQ(form->CurrSchemeComboBox->Items(), QStringList{QStringLiteral("S")}) << file.Kind;
    }
    // A FIFO for a state file: the document opens as without one, and saving its state keeps it.
    const QString doc = WriteSchemeFile(QStringLiteral("doc.mvs"), {{QStringLiteral("D"), {RowAt(1)}}});
    ASSERT_TRUE(MakeFifo(Path(QStringLiteral("doc.mvi"))));
    Messages.clear();
    Open(doc);
    EXPECT_EQ(CurrentFileName, doc);
    form->SaveStateFile();
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(FileType(Path(QStringLiteral("doc.mvi"))), unsigned(S_IFIFO));
    EXPECT_FALSE(guard.Released()) << "a reader waited on a FIFO";
}

// Each call the open makes of the receive thread fails in turn, until an open completes.
TEST_F(MainWindowTest, AFailureAtAnyStepOfAnOpenLeavesTheOpenDocumentAsItWas)
{
    StartUp();
    WaitOpened();
    const QString a = WriteSchemeFile(QStringLiteral("a.mvs"), {{QStringLiteral("A"), {RowAt(1)}}}, QStringLiteral("про a"));
    const QString b = WriteSchemeFile(QStringLiteral("b.mvs"), {{QStringLiteral("B1"), {RowAt(2)}}, {QStringLiteral("B2"), {}}},
                                      QStringLiteral("про b"));
    TSchemeList stored;
    ASSERT_TRUE(LoadSchemeFile(b, stored, FileComment));
    ASSERT_TRUE(SaveInfoFile(ChangeFileExt(b, StateFileExt), stored, LineModeSensors, QStringLiteral("B2")));
    Open(a);
    const auto lastFiles = form->LastFiles;
    int failAt = 1;
    for (;; ++failAt) {
        int calls = 0;
        LoggingReceiveThread::OnCall = [&](const QString&) {
            if (++calls == failAt)
                throw std::runtime_error("сбой");
        };
        form->SetModified(true);
        Answers = {TAnswer::No};   // not saved
        bool failed = false;
        try {
            form->OpenFile(b);
        } catch (const std::runtime_error&) {
            failed = true;
        }
        LoggingReceiveThread::OnCall = nullptr;
        WaitOpened();
        if (!failed)
            break;
        EXPECT_EQ(CurrentFileName, a) << failAt;
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Mirvane2 - a")) << failAt;
        EXPECT_EQ(FileComment, QStringLiteral("про a")) << failAt;
        EXPECT_TRUE(form->Modified) << failAt;
        EXPECT_EQ(form->LastFiles, lastFiles) << failAt;
        EXPECT_EQ(form->CurrSchemeComboBox->Items(), QStringList{QStringLiteral("A")}) << failAt;
        EXPECT_TRUE(CurrentScheme && CurrentScheme->Name == QStringLiteral("A")) << failAt;
        EXPECT_EQ(LineMode.load(), LineModeMaster) << failAt;
    }
    EXPECT_GT(failAt, 3) << "the open reached the thread at several steps";
    EXPECT_EQ(CurrentFileName, b);
    EXPECT_EQ(form->CurrSchemeComboBox->Items(), (QStringList{QStringLiteral("B1"), QStringLiteral("B2")}));
    EXPECT_EQ(LineMode.load(), LineModeSensors);
}

TEST_F(SchemeWindowTest, ReopeningOrLeavingAModifiedDocumentAsksFirstAndADeletedRecentFileDoesNot)
{
    const QString a = WriteSchemeFile(QStringLiteral("a.mvs"), {{QStringLiteral("A"), {RowAt(1)}}});
    const QString b = WriteSchemeFile(QStringLiteral("b.mvs"), {{QStringLiteral("B"), {}}});
    Open(a);
    Open(a);   // unmodified: reread without a question
    EXPECT_TRUE(Messages.isEmpty());
    form->SetModified(true);
    Answers = {TAnswer::No};
    EXPECT_FALSE(Run([&] { form->OpenFile(a); }));
    EXPECT_EQ(Messages.takeFirst(), QStringLiteral("Вопрос|Открыть заново файл:\n") + a + QLatin1Char('?'));
    EXPECT_TRUE(form->Modified);

    CurrentScheme->Name = QStringLiteral("A2");
    Answers = {TAnswer::Cancel};
    EXPECT_FALSE(Run([&] { form->OpenFile(b); }));
    EXPECT_EQ(Messages.takeFirst(), QStringLiteral("Вопрос|Сохранить изменения в файле:\n") + a + QLatin1Char('?'));
    EXPECT_EQ(CurrentFileName, a);
    Answers = {TAnswer::Yes};
    Open(b);
    EXPECT_EQ(CurrentFileName, b);
    // Both recent-file menus, the newest first, numbered as their accelerators.
    for (const auto& [number, file] : {std::pair{"1", "b.mvs"}, {"2", "a.mvs"}}) {
        const QString caption = Action((QByteArray("FLastFileItem") + number).constData())->text();
        EXPECT_TRUE(caption.startsWith(QLatin1Char('&') + QLatin1String(number) + ". ") && caption.endsWith(QLatin1String(file)))
            << caption.toStdString();
        EXPECT_EQ(Action((QByteArray("LastFilePopupItem") + number).constData())->text(), caption);
    }
    TSchemeList saved;
    ASSERT_TRUE(LoadSchemeFile(a, saved, FileComment));
    EXPECT_EQ(saved.at(0)->Name, QStringLiteral("A2"));

    // No file dialog, and so nothing listing or watching a folder, before the first is asked for.
    EXPECT_TRUE(form->findChildren<QFileSystemModel*>().isEmpty());

    // A deleted recent file leaves both menus silently; the dialog opens at its folder instead.
    ASSERT_TRUE(QFile::remove(a));
    Messages.clear();
    Run([&] { form->FLastFileItemClick(Action("LastFilePopupItem2")); });
    EXPECT_TRUE(form->LastFiles[1].isEmpty());   // how the list closes up is the document's test
    EXPECT_FALSE(Action("FLastFileItem2")->isVisible() || Action("LastFilePopupItem2")->isVisible());
    EXPECT_EQ(DialogFolders, QStringList{dir.path()});
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(SchemeWindowTest, ANewDocumentIsWrittenWhenSavedAndAFailedSaveKeepsFileAndChanges)
{
    Open(WriteSchemeFile(QStringLiteral("Кран.mvs"), {{QStringLiteral("S"), {RowAt(1)}}}));
    ConstructorMode = 1;
    form->ApplyConstructorMode();
    Run([&] { form->FCreateFileItemClick(); });
    EXPECT_EQ(CurrentFileName, Path(QStringLiteral("Кран1.mvs")));
    EXPECT_FALSE(QFileInfo::exists(CurrentFileName));

    // Saving a file that is not on disk runs save as, its dialog at the file's folder.
    form->SetModified(true);
    const QString nowhere = Path(QStringLiteral("missing/x.mvs"));
    Chosen = {nowhere, Path(QStringLiteral("new.mvs"))};
    EXPECT_FALSE(Run([&] { form->FSaveFileItemClick(); }));
    EXPECT_EQ(Messages.takeFirst(), QStringLiteral("Ошибка|Ошибка при создании файла:\n") + nowhere);
    EXPECT_TRUE(form->Modified);
    EXPECT_TRUE(Run([&] { form->FSaveFileItemClick(); }));
    EXPECT_EQ(DialogFolders, (QStringList{dir.path(), dir.path()}));
    EXPECT_EQ(form->LastFiles[0], Path(QStringLiteral("new.mvs")));
    EXPECT_TRUE(QFileInfo::exists(CurrentFileName) && QFileInfo::exists(ChangeFileExt(CurrentFileName, StateFileExt)));
    EXPECT_FALSE(form->Modified);

    // What cannot be replaced: a folder of that name, a file the user protected, a writable file
    // in a folder the user may not write (never written in place, where a cut-off write would
    // leave half a file). The bytes stay, and so do the changes.
    ASSERT_TRUE(SetMode(dir.path(), 0777));
    const QString folder = Path(QStringLiteral("folder.mvs")), shut = Path(QStringLiteral("shut"));
    ASSERT_TRUE(MakeFolders(folder) && MakeFolders(shut));
    const QString locked = WriteSchemeFile(QStringLiteral("locked.mvs"), {{QStringLiteral("L"), {RowAt(1)}}});
    const QString inShut = WriteSchemeFile(QStringLiteral("shut/open.mvs"), {{QStringLiteral("O"), {RowAt(1)}}});
    const QString lockedState = ChangeFileExt(locked, StateFileExt);
    ASSERT_TRUE(ReplaceFile(lockedState, "MI02") && SetMode(lockedState, 0444) && SetMode(locked, 0444));
    ASSERT_TRUE(SetMode(inShut, 0666) && SetMode(shut, 0555));
    for (const QString& file : {folder, locked, inShut}) {
        const QByteArray before = FileBytes(file);
        CurrentFileName = file;
        form->SetModified(true);
        {
            const TOrdinaryUser user;
            EXPECT_FALSE(Run([&] { form->FSaveFileItemClick(); })) << qPrintable(file);
            form->SaveStateFile();   // as on leaving: silent
        }
        EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|Ошибка при сохранении файла:\n") + file});
        Messages.clear();
        EXPECT_TRUE(form->Modified) << qPrintable(file);
        EXPECT_EQ(FileBytes(file), before) << qPrintable(file);
    }
    EXPECT_EQ(FileBytes(lockedState), "MI02");
    EXPECT_EQ(QDir(shut).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"open.mvs"});
}

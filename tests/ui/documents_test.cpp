// The document commands: opening, reopening, saving and leaving a scheme file with its state
// file, the questions on the way, the save items' visibility and the recent-file list.
#include <QFile>
#include <QFontMetrics>
#include <QAction>
#include <QToolButton>

#include "SchemeWindowFixture.h"

namespace {
void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}
}

TEST(DocumentNames, ExtensionsFreeNamesAndDisplayNames)
{
    struct { const char* name; const char* state; } const ext[] = {
        {"/a/Кран.mvs", "/a/Кран.mvi"}, {"/a/b.c.mvs", "/a/b.c.mvi"}, {"/a.b/plain", "/a.b/plain.mvi"}, {"/a/.mvs", "/a/.mvs.mvi"}};
    for (const auto& e : ext)
        EXPECT_EQ(ChangeFileExt(QString::fromUtf8(e.name), StateFileExt), QString::fromUtf8(e.state)) << e.name;

    QTemporaryDir dir;
    const QString crane = dir.filePath(QStringLiteral("Кран.mvs"));
    EXPECT_EQ(ProposeFreeFileName(crane), crane);   // not on disk: kept
    Touch(crane);
    Touch(dir.filePath(QStringLiteral("Кран1.mvs")));
    EXPECT_EQ(ProposeFreeFileName(crane), dir.filePath(QStringLiteral("Кран2.mvs")));
    EXPECT_EQ(ProposeFreeFileName(QString()), QString());

    const QString start = dir.path() + QLatin1Char('/');
    EXPECT_EQ(LastFileDisplayName(crane, start), QStringLiteral("Кран.mvs"));
    EXPECT_EQ(LastFileDisplayName(dir.filePath(QStringLiteral("sub/x.mvs")), start), QStringLiteral("./sub/x.mvs"));
    EXPECT_EQ(LastFileDisplayName(QStringLiteral("/elsewhere/x.mvs"), start), QStringLiteral("/elsewhere/x.mvs"));
    EXPECT_TRUE(SameFile(start + QStringLiteral("sub/../Кран.mvs"), crane));
    EXPECT_FALSE(SameFile(QString(), QString()));

    const QFontMetrics metrics(QFont(QStringLiteral("DejaVu Sans"), 8));
    const QString longPath = QStringLiteral("/very/long/folder/names/that/never/fit/in/the/menu/Кран.mvs");
    const QString shortened = ShortenPath(longPath, metrics, 150);
    EXPECT_TRUE(shortened.startsWith(QStringLiteral(".../")));
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("/Кран.mvs")));
    EXPECT_LE(metrics.horizontalAdvance(shortened), 150);
    EXPECT_EQ(ShortenPath(QStringLiteral("/a/b.mvs"), metrics, 150), QStringLiteral("/a/b.mvs"));
}

TEST_F(SchemeWindowTest, OpeningAFileShowsItsSchemesCaptionAndComment)
{
    const QString path = WriteSchemeFile(QStringLiteral("Кран.mvs"),
                                         {{QStringLiteral("Б"), {RowAt(1)}}, {QStringLiteral("а"), {RowAt(2), RowAt(3)}}},
                                         QStringLiteral("о файле"));
    Open(path);
    EXPECT_EQ(CurrentFileName, path);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Mirvane2 - Кран"));
    EXPECT_EQ(ComboItems(), (QStringList{QStringLiteral("а"), QStringLiteral("Б")}));   // sorted without case
    ASSERT_NE(CurrentScheme, nullptr);
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("а"));   // no state file: the first item
    EXPECT_EQ(form->Devices().size(), 2u);
    EXPECT_EQ(form->CommentMemo->Text(), QStringLiteral("о файле"));
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(form->LastFiles[0], path);
    // Outside the scheme editor the save items hide; an edit enables without showing them.
    EXPECT_FALSE(Action("FSaveFileItem")->isVisible());
    form->SetModified(true);
    EXPECT_TRUE(form->SaveFileButton->isEnabled());
    EXPECT_FALSE(Action("FSaveFileItem")->isVisible());
}

TEST_F(SchemeWindowTest, AnUnreadableFileLeavesThePreviousDocument)
{
    const QString good = WriteSchemeFile(QStringLiteral("good.mvs"), {{QStringLiteral("S"), {RowAt(1)}}},
                                         QStringLiteral("kept"));
    Open(good);
    const QString bad = Path(QStringLiteral("bad.mvs"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("MVS?garbage");
    file.close();
    Open(bad);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|Ошибка при открытии файла:\n") + bad});
    EXPECT_EQ(CurrentFileName, good);
    EXPECT_EQ(FileComment, QStringLiteral("kept"));
    EXPECT_EQ(ComboItems(), QStringList{QStringLiteral("S")});
    EXPECT_EQ(form->LastFiles[0], good);
}

TEST_F(SchemeWindowTest, ReopeningTheModifiedFileAsksFirst)
{
    const QString path = WriteSchemeFile(QStringLiteral("k.mvs"), {{QStringLiteral("S"), {RowAt(1)}}});
    Open(path);
    Open(path);   // unmodified: reread without a question
    EXPECT_TRUE(Messages.isEmpty());

    form->SetModified(true);
    Answers = {TAnswer::No};
    EXPECT_FALSE(Run([&] { form->OpenFile(path); }));
    EXPECT_EQ(Messages.value(0), QStringLiteral("Вопрос|Открыть заново файл:\n") + path + QLatin1Char('?'));
    EXPECT_TRUE(form->Modified);

    Answers = {TAnswer::Yes};
    EXPECT_TRUE(Run([&] { form->OpenFile(path); }));
    EXPECT_FALSE(form->Modified);
}

TEST_F(SchemeWindowTest, LeavingAModifiedDocumentAsksToSave)
{
    const QString a = WriteSchemeFile(QStringLiteral("a.mvs"), {{QStringLiteral("A"), {}}});
    const QString b = WriteSchemeFile(QStringLiteral("b.mvs"), {{QStringLiteral("B"), {}}});
    Open(a);
    CurrentScheme->Name = QStringLiteral("A2");
    form->SetModified(true);

    Answers = {TAnswer::Cancel};
    EXPECT_FALSE(Run([&] { form->OpenFile(b); }));
    EXPECT_EQ(Messages.takeFirst(), QStringLiteral("Вопрос|Сохранить изменения в файле:\n") + a + QLatin1Char('?'));
    EXPECT_EQ(CurrentFileName, a);

    Answers = {TAnswer::Yes};
    Open(b);
    EXPECT_EQ(CurrentFileName, b);
    TSchemeList saved;
    ASSERT_TRUE(LoadSchemeFile(a, saved));
    EXPECT_EQ(saved.at(0)->Name, QStringLiteral("A2"));
    EXPECT_TRUE(QFileInfo::exists(ChangeFileExt(a, StateFileExt)));
}

TEST_F(SchemeWindowTest, StateFileKeepsLineModeSchemeAndDeviceModes)
{
    const QString path = WriteSchemeFile(QStringLiteral("s.mvs"),
                                         {{QStringLiteral("A"), {RowAt(1)}}, {QStringLiteral("B"), {RowAt(2), RowAt(3)}}});
    Open(path);
    EXPECT_FALSE(QFileInfo::exists(ChangeFileExt(path, StateFileExt)));
    // Sensor diagnostics on scheme B with its first device disabled: rewritten on leaving,
    // since the file is unmodified and the most recent one.
    form->CurrSchemeComboBox->SetItemIndex(1);
    Run([&] { form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox); });
    Run([&] { form->BIModeItemClick(Action("LBIMode2Item")); });
    CurrentScheme->Objects[0]->Mode = ModeDisabled;
    Run([&] { form->LeaveDocument(); });
    ASSERT_TRUE(QFileInfo::exists(ChangeFileExt(path, StateFileExt)));

    Run([&] { form->BIModeItemClick(Action("LBIMode1Item")); });
    Open(Path(QStringLiteral("s.mvs")));
    EXPECT_EQ(LineMode.load(), LineModeSensors);
    EXPECT_TRUE(Action("LBIMode2Item")->isChecked());
    ASSERT_NE(CurrentScheme, nullptr);
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("B"));
    EXPECT_EQ(CurrentScheme->Objects[0]->Mode, ModeDisabled);   // the stored mode, not the line mode's
    EXPECT_EQ(CurrentScheme->Objects[1]->Mode, ModeReceive);
}

TEST_F(SchemeWindowTest, NewDocumentProposesAFreeNameAndIsNotWritten)
{
    const QString path = WriteSchemeFile(QStringLiteral("Кран.mvs"), {{QStringLiteral("S"), {RowAt(1)}}});
    Open(path);
    Run([&] { form->FCreateFileItemClick(); });
    EXPECT_EQ(CurrentFileName, path);   // outside the scheme editor nothing happens

    ConstructorMode = 1;
    form->ApplyConstructorMode();
    Run([&] { form->FCreateFileItemClick(); });
    EXPECT_EQ(CurrentFileName, Path(QStringLiteral("Кран1.mvs")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Mirvane2 - Кран1"));
    EXPECT_EQ(ComboItems(), QStringList{QStringLiteral("Схема 1")});
    EXPECT_TRUE(form->Devices().empty());
    EXPECT_FALSE(QFileInfo::exists(CurrentFileName));
    EXPECT_EQ(form->LastFiles[0], path);
    EXPECT_TRUE(QFileInfo::exists(ChangeFileExt(path, StateFileExt)));   // the old file was left

    // Saving a file that is not on disk runs save as; a cancelled dialog changes nothing.
    form->SetModified(true);
    EXPECT_FALSE(Run([&] { form->FSaveFileItemClick(); }));
    EXPECT_EQ(DialogFolders.value(0), dir.path());
    EXPECT_TRUE(form->Modified);
    EXPECT_FALSE(QFileInfo::exists(CurrentFileName));

    Chosen = {Path(QStringLiteral("new.mvs"))};
    EXPECT_TRUE(Run([&] { form->FSaveFileItemClick(); }));
    EXPECT_EQ(CurrentFileName, Path(QStringLiteral("new.mvs")));
    EXPECT_TRUE(QFileInfo::exists(CurrentFileName));
    EXPECT_TRUE(QFileInfo::exists(ChangeFileExt(CurrentFileName, StateFileExt)));
    EXPECT_EQ(form->LastFiles[0], CurrentFileName);
    EXPECT_FALSE(form->Modified);
}

TEST_F(SchemeWindowTest, SaveFailuresReportTheFileAndKeepTheChanges)
{
    ConstructorMode = 1;
    Run([&] { form->FCreateFileItemClick(); });
    form->SetModified(true);
    const QString nowhere = Path(QStringLiteral("missing/x.mvs"));
    Chosen = {nowhere};
    EXPECT_FALSE(Run([&] { form->FSaveAsFileItemClick(); }));
    EXPECT_EQ(Messages.takeFirst(), QStringLiteral("Ошибка|Ошибка при создании файла:\n") + nowhere);
    EXPECT_TRUE(form->Modified);

    // The current file that cannot be replaced (a folder of that name).
    const QString folder = Path(QStringLiteral("folder.mvs"));
    ASSERT_TRUE(QDir().mkpath(folder));
    CurrentFileName = folder;
    EXPECT_FALSE(Run([&] { form->FSaveFileItemClick(); }));
    EXPECT_EQ(Messages.takeFirst(), QStringLiteral("Ошибка|Ошибка при сохранении файла:\n") + folder);
    EXPECT_TRUE(form->Modified);
}

TEST_F(SchemeWindowTest, RecentFilesMoveUpDropTheOldestAndForgetDeletedOnes)
{
    QStringList files;
    for (int i = 1; i <= 6; ++i)
        files << WriteSchemeFile(QStringLiteral("f%1.mvs").arg(i), {{QStringLiteral("S"), {}}});
    for (const QString& f : files)
        Open(f);
    const auto entries = [this] { return QStringList(form->LastFiles.begin(), form->LastFiles.end()); };
    EXPECT_EQ(entries(), (QStringList{files[5], files[4], files[3], files[2], files[1]}));
    Open(files[2]);
    EXPECT_EQ(entries(), (QStringList{files[2], files[5], files[4], files[3], files[1]}));
    EXPECT_TRUE(Action("FLastFileItem1")->text().startsWith(QStringLiteral("&1. ")));
    EXPECT_TRUE(Action("LastFilePopupItem2")->text().endsWith(QStringLiteral("/f6.mvs")));

    // A deleted file leaves both menus; the dialog opens at its folder.
    ASSERT_TRUE(QFile::remove(files[4]));
    Run([&] { form->FLastFileItemClick(Action("LastFilePopupItem3")); });
    EXPECT_EQ(entries(), (QStringList{files[2], files[5], files[3], files[1], QString()}));
    EXPECT_FALSE(Action("FLastFileItem5")->isVisible());
    EXPECT_FALSE(Action("LastFilePopupItem5")->isVisible());
    EXPECT_TRUE(Action("LastFilePopupItem4")->isVisible());
    EXPECT_EQ(DialogFolders, QStringList{dir.path()});
    EXPECT_TRUE(Messages.isEmpty());
}
